#pragma once
// The logic of the load cases dialog ("Zatížení" ▸ "Zatěžovací stavy ..."), without widgets: the
// rows of its list, the fields of one case, adding, changing and deleting cases through the
// model space's operations. The dialog only moves texts between these functions and its
// controls; every change is one edit of the model (one undo step).
#include <string>
#include <vector>

class TMKPSpace;
class TZatezovaciStav;

// The fields of one case. Kind is the index of CaseKindEntries, Category that of
// CaseCategoryEntries (the order of AllCategories).
struct TCaseFields {
    std::string Name;
    int Kind = 0;
    int Category = 0;
    std::string Group;
    bool BothValues = false;
    bool operator==(const TCaseFields&) const = default;
};

// The texts of the kind and category choices.
std::vector<std::string> CaseKindEntries();
std::vector<std::string> CaseCategoryEntries();
// Whether the fields of that kind take a category (variable) or both values (permanent).
bool KindTakesCategory(int kind);
bool KindTakesBothValues(int kind);

// One row of the list: name, kind, category, group, both values ("ano" or empty), loads.
struct TCaseRow {
    std::string Name, Kind, Category, Group, BothValues, Loads;
    bool operator==(const TCaseRow&) const = default;
};
std::vector<TCaseRow> CaseRows(TMKPSpace& space);

// The loads (nodal and member loads, self-weight not counted) that belong to the case.
int CaseLoadCount(TMKPSpace& space, const TZatezovaciStav* loadCase);
// The same for every case of LoadCases, in their order, in one pass over the loads.
std::vector<int> CaseLoadCounts(TMKPSpace& space);
TCaseFields CaseFieldsOf(const TZatezovaciStav& loadCase);
// A name no case has: "ZS 1", "ZS 2", ...
std::string NewCaseName(const TMKPSpace& space);

// Adds a case from the fields (the first one takes over every load of the model), or changes the
// case at a position of LoadCases. The refusal in Czech, or empty when done. A category is kept
// only for a variable case and both values only for a permanent one; the name and the group are
// taken without the spaces around them.
std::string AddCase(TMKPSpace& space, const TCaseFields& fields);
std::string ChangeCase(TMKPSpace& space, int position, const TCaseFields& fields);

// What to ask before deleting the case at a position: empty when it holds no loads. The loads of a
// deleted case go with it; those of the last case stay, in a model without cases again.
std::string DeleteCaseQuestion(TMKPSpace& space, int position);
// False when there is no case at the position.
bool DeleteCase(TMKPSpace& space, int position);
