#include "ui/common/CaseChoice.h"

#include <algorithm>

#include "model/MKPSpace.h"

const char* const KAllCasesEntry = "Všechny stavy";

std::vector<std::string> CaseChoiceEntries(const TMKPSpace& space) {
    if (space.LoadCases.Empty()) return {space.DefaultCase.Name};
    std::vector<std::string> entries;
    for (const TZatezovaciStav* c : space.LoadCases)
        entries.push_back(c->Name);
    if (space.LoadCases.Count() > 1) entries.emplace_back(KAllCasesEntry);
    return entries;
}

TCaseChoice ValidCaseChoice(const TMKPSpace& space, TCaseChoice choice) {
    const int count = space.LoadCases.Count();
    if (count == 0) return {};
    int position = -1;
    if (choice.Position >= 0 && choice.Position < count &&
        space.LoadCases[choice.Position]->Name == choice.Name)
        position = choice.Position;
    for (int i = 0; position < 0 && i < count; ++i)
        if (space.LoadCases[i]->Name == choice.Name) position = i;
    if (position < 0) position = std::clamp(choice.Position, 0, count - 1);
    choice.Position = position;
    choice.Name = space.LoadCases[position]->Name;
    choice.All = choice.All && count > 1;
    return choice;
}

int CaseChoiceEntry(const TMKPSpace& space, const TCaseChoice& choice) {
    if (space.LoadCases.Empty()) return 0;
    return choice.All ? space.LoadCases.Count() : choice.Position;
}

TCaseChoice ChooseCaseEntry(const TMKPSpace& space, const TCaseChoice& before, int entry) {
    TCaseChoice choice = ValidCaseChoice(space, before);
    const int count = space.LoadCases.Count();
    if (entry < 0 || count == 0) return choice;
    if (entry >= count) {
        choice.All = count > 1;
        return choice;
    }
    choice.Position = entry;
    choice.Name = space.LoadCases[entry]->Name;
    choice.All = false;
    return choice;
}

TZatezovaciStav* CaseForNewLoads(const TMKPSpace& space, const TCaseChoice& choice) {
    if (space.LoadCases.Empty()) return nullptr;
    return space.LoadCases[ValidCaseChoice(space, choice).Position];
}

void ShowCaseChoice(TMKPSpace& space, const TCaseChoice& choice) {
    const TCaseChoice valid = ValidCaseChoice(space, choice);
    const bool several = space.LoadCases.Count() > 1;
    space.LoadsOfCase = several && !valid.All ? valid.Position : -1;
    space.CaseColours = several && valid.All;
}
