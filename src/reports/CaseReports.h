#pragma once
// The reports of load cases and combinations: the heading that names what the results report
// shows, the envelope report, and the list of cases, their loads and the combinations that the
// protocol ends with.
#include <string>

#include "base/NumberText.h"
#include "reports/StyledDocument.h"

class TMKPSpace;

// "Zatěžovací stav: G" or "Kombinace: MSÚ 1 = 1.35·G + 1.5·Q" for the state the model shows;
// empty for the one state of a model without cases and combinations, whose report stays as it
// always was.
std::string ResultsHeading(TMKPSpace& space, char separator = DecimalSeparator());

// The envelope the model shows (TMKPSpace::Envelope): its combinations, the extremes of the
// reactions of every node, and for every member the largest and smallest M, N and T with their
// place and the combination that gives them. N and T with the signs of the results report.
void BuildEnvelopeReport(TMKPSpace& space, TStyledDocument& doc, char separator = DecimalSeparator());

// The cases (kind, category with its ψ, group), the loads of each case and the combinations;
// nothing for a model without cases and combinations.
void ListCasesAndCombinations(TMKPSpace& space, TStyledDocument& doc, char separator = DecimalSeparator());
