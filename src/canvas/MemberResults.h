#pragma once
// The member's results table for one drawing: builds Results from the end results and the loads
// through SestavPrubehy (true when a table is there to draw) and releases it again.
class TPrut;
bool ComputeMemberResults(TPrut& member);
void ReleaseMemberResults(TPrut& member);
