#pragma once
// The results table along a member as every reader shows it (result diagrams, deformed shape,
// results report, the stations check), and end results read from a member's other end.
#include "model/Types.h"

class TPrut;

// End results (Sa or Sb) of a member seen from its other end: the local axes x and z change
// sign, so do the forces and displacements along them; moments and rotations (clockwise) keep
// theirs.
TVector ReversedEndResults(const TVector& s);

// Builds member.Results (released by UvolniPrubehy). A member whose end results were formed on it
// turned round (ResultsTurned) gets the table of the turned member, formed exactly as the
// computation left that member, and read from this member's end a: the station x' of the turned
// member becomes L − x' and the columns run the other way; N, T and the rotation keep their
// sign, M (tension side measured along local z), u and w change it. The member, its loads and
// its end results are left as they were, bit for bit.
void SestavPrubehy(TPrut& member);
