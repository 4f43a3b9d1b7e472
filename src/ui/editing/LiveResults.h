#pragma once
// The quiet computation behind live results: after an edit the model is computed again as the
// compute command does, but no trace file is written, no message box appears and the model stays
// exactly as the user made it (members the computation turns round, so that single hinges stand
// at end b, are turned back with their end results). Plain C++ beside the main window.
#include <string>

#include "analysis/Diagnostics.h"
#include "analysis/ProfileMatrix.h"
#include "model/MKPSpace.h"

struct TLiveOutcome {
    TSolveStatus Status;
    std::string Message; // the refusal's message as the compute command shows it; empty on success
    TDofPlace Place;     // where a refused structure moves
    bool Ok() const { return Status.Result == TSolveResult::Ok; }
};

TLiveOutcome PrubeznyVypocet(TMKPSpace& space);

// The status bar texts: the equilibrium after a computation ("Rovnováha: 2.1E-16", with a warning
// when a member's table along it misses its end results: ", průběh na prutu 3 nesouhlasí s konci:
// 4.2E-01"), the place of a refusal ("Uzel 3: posun u"), and the reason of a refused live
// computation.
std::string TextRovnovahy(const TEquilibrium& e);
std::string TextOdmitnuti(const TLiveOutcome& outcome);
