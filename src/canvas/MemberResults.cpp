#include "canvas/MemberResults.h"

#include "model/Prut.h"

// The results table along a member comes with the analysis; until it is linked in, members
// are drawn as in the model view.
bool ComputeMemberResults(TPrut& member) { return !member.Results.empty() && member.Results.size() >= 7; }
void ReleaseMemberResults(TPrut&) {}
