#include "ui/dialogs/LoadCasesLogic.h"

#include <unordered_map>

#include "analysis/En1990.h"
#include "model/MKPSpace.h"

namespace {
const TCaseKind KKinds[] = {TCaseKind::Permanent, TCaseKind::Variable, TCaseKind::Accidental};
constexpr int KKindCount = 3;

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

int KindIndex(TCaseKind kind) {
    for (int i = 0; i < KKindCount; ++i)
        if (KKinds[i] == kind) return i;
    return 0;
}

// The checks common to adding and changing; the refusal or empty.
std::string Refusal(const TMKPSpace& space, const TCaseFields& f, const TZatezovaciStav* renamed) {
    if (std::string fault = space.ChybaNazvuStavu(Trimmed(f.Name), renamed); !fault.empty()) return fault;
    if (f.Kind < 0 || f.Kind >= KKindCount) return "Neznámý druh zatěžovacího stavu.";
    if (f.Category < 0 || f.Category >= int(AllCategories().size()))
        return "Neznámá kategorie zatěžovacího stavu.";
    if (f.Group.find_first_of("\r\n") != std::string::npos)
        return "Název skupiny nesmí obsahovat konec řádku.";
    return {};
}

void Apply(TZatezovaciStav& c, const TCaseFields& f) {
    c.Name = Trimmed(f.Name);
    c.Kind = KKinds[f.Kind];
    c.Category = KindTakesCategory(f.Kind) ? AllCategories()[std::size_t(f.Category)] : TCaseCategory::None;
    c.Group = Trimmed(f.Group);
    c.BothValues = KindTakesBothValues(f.Kind) && f.BothValues;
}
} // namespace

std::vector<std::string> CaseKindEntries() {
    std::vector<std::string> entries;
    for (TCaseKind k : KKinds)
        entries.push_back(KindName(k));
    return entries;
}

std::vector<std::string> CaseCategoryEntries() {
    std::vector<std::string> entries;
    for (TCaseCategory c : AllCategories())
        entries.push_back(CategoryName(c));
    return entries;
}

bool KindTakesCategory(int kind) {
    return kind == KindIndex(TCaseKind::Variable);
}
bool KindTakesBothValues(int kind) {
    return kind == KindIndex(TCaseKind::Permanent);
}

int CaseLoadCount(TMKPSpace& space, const TZatezovaciStav* loadCase) {
    int count = 0;
    for (const TUzel* n : space.Nodes)
        for (const TZatizeni* z : n->Loads)
            count += space.StavZatizeni(*z) == loadCase;
    for (const TPrut* m : space.Members)
        for (const TZatizeni* z : m->Loads)
            count += z->Kind != KLoadSelfWeight && space.StavZatizeni(*z) == loadCase;
    return count;
}

std::vector<int> CaseLoadCounts(TMKPSpace& space) {
    std::unordered_map<const TZatezovaciStav*, int> counts;
    for (const TUzel* n : space.Nodes)
        for (const TZatizeni* z : n->Loads)
            ++counts[space.StavZatizeni(*z)];
    for (const TPrut* m : space.Members)
        for (const TZatizeni* z : m->Loads)
            if (z->Kind != KLoadSelfWeight) ++counts[space.StavZatizeni(*z)];
    std::vector<int> out;
    for (const TZatezovaciStav* c : space.LoadCases)
        out.push_back(counts[c]);
    return out;
}

std::vector<TCaseRow> CaseRows(TMKPSpace& space) {
    std::vector<TCaseRow> rows;
    const std::vector<int> counts = CaseLoadCounts(space);
    for (const TZatezovaciStav* c : space.LoadCases) {
        TCaseRow r;
        r.Name = c->Name;
        r.Kind = KindName(c->Kind);
        r.Category = c->Category == TCaseCategory::None ? std::string() : CategoryName(c->Category);
        r.Group = c->Group;
        r.BothValues = c->BothValues ? "ano" : "";
        r.Loads = std::to_string(counts[rows.size()]);
        rows.push_back(std::move(r));
    }
    return rows;
}

TCaseFields CaseFieldsOf(const TZatezovaciStav& c) {
    TCaseFields f;
    f.Name = c.Name;
    f.Kind = KindIndex(c.Kind);
    const auto& all = AllCategories();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i] == c.Category) f.Category = int(i);
    f.Group = c.Group;
    f.BothValues = c.BothValues;
    return f;
}

std::string NewCaseName(const TMKPSpace& space) {
    for (int i = 1;; ++i) {
        std::string name = "ZS " + std::to_string(i);
        if (space.ChybaNazvuStavu(name).empty()) return name;
    }
}

std::string AddCase(TMKPSpace& space, const TCaseFields& fields) {
    if (std::string fault = Refusal(space, fields, nullptr); !fault.empty()) return fault;
    TZatezovaciStav* c = space.PridejZatezovaciStav(Trimmed(fields.Name), KKinds[fields.Kind]);
    Apply(*c, fields);
    ObnovGenerovaneKombinace(space);
    return {};
}

std::string ChangeCase(TMKPSpace& space, int position, const TCaseFields& fields) {
    if (position < 0 || position >= space.LoadCases.Count()) return "Vyberte zatěžovací stav.";
    TZatezovaciStav* c = space.LoadCases[position];
    if (std::string fault = Refusal(space, fields, c); !fault.empty()) return fault;
    Apply(*c, fields);
    ObnovGenerovaneKombinace(space);
    return {};
}

std::string DeleteCaseQuestion(TMKPSpace& space, int position) {
    if (position < 0 || position >= space.LoadCases.Count()) return {};
    const TZatezovaciStav* c = space.LoadCases[position];
    const int loads = CaseLoadCount(space, c);
    if (loads == 0) return {};
    const std::string name = "„" + c->Name + "“";
    if (space.LoadCases.Count() == 1)
        return "Zatěžovací stav " + name + " je poslední. Jeho zatížení (" + std::to_string(loads) +
               ") zůstanou v modelu bez zatěžovacích stavů. Smazat stav?";
    return "Zatěžovací stav " + name + " obsahuje zatížení (" + std::to_string(loads) +
           "). Smazat stav i s jeho zatíženími?";
}

bool DeleteCase(TMKPSpace& space, int position) {
    if (position < 0 || position >= space.LoadCases.Count()) return false;
    TZatezovaciStav* c = space.LoadCases[position];
    space.SmazZatezovaciStav(c, space.LoadCases.Count() == 1 ? &space.DefaultCase : nullptr);
    ObnovGenerovaneKombinace(space);
    return true;
}
