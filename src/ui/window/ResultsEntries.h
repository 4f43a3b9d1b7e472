#pragma once
// The entries of the results box beside the result tabs (no widgets): what the model can show of
// its results, each as its text and the choice that shows it.
#include <string>
#include <vector>

#include "model/CaseStore.h"

class TMKPSpace;

struct TResultsEntry {
    std::string Text;
    TResultsChoice Choice;
};

// Every case the computation solves, every combination, then the envelopes of the ultimate and of
// the serviceability combinations (when there are any of that kind) and of all of them. Nothing
// for a model without cases and combinations: its one state needs no choosing.
std::vector<TResultsEntry> PolozkyVysledku(TMKPSpace& space);

// The entry that shows the choice: the one equal to it, the first for the first case (a case
// without a name); -1 when none does.
int PolozkaVolby(const std::vector<TResultsEntry>& entries, const TResultsChoice& choice);
