#pragma once
// The active load case of the window, without widgets: the case that new loads go into and what
// the canvas draws of the loads (that case's, or every case's in its own colour). The window's
// combo box "Zatěžovací stav:" lists the cases and, for a model of two or more cases, a last entry
// for all of them; a model without cases shows its one case "Výchozí". The choice is kept by the
// case's position and name, never by pointer, so that it outlives a model read anew (undo, open):
// a case that moved keeps being chosen, a case that went gives way to the one at its place.
#include <string>
#include <vector>

class TMKPSpace;
class TZatezovaciStav;

// The last entry of the combo box of a model of two or more cases.
extern const char* const KAllCasesEntry;

struct TCaseChoice {
    int Position = 0; // the case new loads go into (position in LoadCases)
    std::string Name; // its name when it was chosen
    bool All = false; // the canvas draws every case's loads
    bool operator==(const TCaseChoice&) const = default;
};

// The entries of the combo box, in order.
std::vector<std::string> CaseChoiceEntries(const TMKPSpace& space);
// The choice brought in line with the model: the case of that name (where it stands now), else
// the case at its position (the last one past the end); "all" only for two or more cases.
TCaseChoice ValidCaseChoice(const TMKPSpace& space, TCaseChoice choice);
// The entry the combo box shows for a valid choice.
int CaseChoiceEntry(const TMKPSpace& space, const TCaseChoice& choice);
// The choice after the user picked an entry: a case, or "all" keeping the case chosen before.
TCaseChoice ChooseCaseEntry(const TMKPSpace& space, const TCaseChoice& before, int entry);
// The case new loads go into: nullptr for a model without cases (its loads have none).
TZatezovaciStav* CaseForNewLoads(const TMKPSpace& space, const TCaseChoice& choice);
// Puts the choice into the model space's drawing state (LoadsOfCase, CaseColours).
void ShowCaseChoice(TMKPSpace& space, const TCaseChoice& choice);
