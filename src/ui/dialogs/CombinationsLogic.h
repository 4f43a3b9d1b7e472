#pragma once
// The logic of the combinations dialog ("Zatížení" ▸ "Kombinace ..."), without widgets: the rows
// of the user's combinations and of the generated ones, the factors of a user combination as
// field texts, adding, changing and deleting user combinations, and generating the EN 1990
// combinations. Every change is one edit of the model (one undo step).
#include <string>
#include <vector>

#include "base/NumberText.h"

class TMKPSpace;
class TKombinace;
class TZatezovaciStav;
struct TGenerationOptions;

// The cases a combination can name, in order: LoadCases (the default case in a model without
// cases) and the self-weight case while members carry self-weight.
std::vector<TZatezovaciStav*> CombinationCases(TMKPSpace& space);

// One row of a list: name, kind, terms ("1,35·G + 1,5·Q") and, for a generated combination, how
// it was formed (Formula).
struct TCombinationRow {
    std::string Name, Kind, Terms, Formula;
    bool operator==(const TCombinationRow&) const = default;
};
// The user's combinations, and the generated ones, each in the order of Combinations; Index()
// of a row is the position among the combinations of its list.
std::vector<TCombinationRow> UserCombinationRows(TMKPSpace& space, char separator = DecimalSeparator());
std::vector<TCombinationRow> GeneratedCombinationRows(TMKPSpace& space, char separator = DecimalSeparator());
// The user's combination at a position among the user's combinations; nullptr for none.
TKombinace* UserCombination(TMKPSpace& space, int index);

// The fields of a user combination: its name and one factor text per case of CombinationCases
// (empty or 0: the case does not take part).
struct TCombinationFields {
    std::string Name;
    std::vector<std::string> Factors;
    bool operator==(const TCombinationFields&) const = default;
};
TCombinationFields CombinationFieldsOf(TMKPSpace& space, const TKombinace& combination,
                                       char separator = DecimalSeparator());
// A name no combination has: "K 1", "K 2", ...
std::string NewCombinationName(const TMKPSpace& space);

// Adds a user combination, or changes the user's combination at an index. The refusal in Czech,
// or empty when done. A factor text left as the dialog showed it keeps its factor bit for bit.
std::string AddCombination(TMKPSpace& space, const TCombinationFields& fields,
                           char separator = DecimalSeparator());
std::string ChangeCombination(TMKPSpace& space, int index, const TCombinationFields& fields,
                              char separator = DecimalSeparator());
bool DeleteCombination(TMKPSpace& space, int index);

// Replaces the generated combinations by those of EN 1990 for the cases computed; the user's stay.
// Returns how many were generated.
int GenerateCombinations(TMKPSpace& space, const TGenerationOptions& options);
