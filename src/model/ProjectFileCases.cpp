#include "model/ProjectFileCases.h"

#include "base/Cp1250.h"
#include "base/Errors.h"
#include "model/MKPSpace.h"
#include "base/NumberText.h"
#include "model/ProjectFileLines.h"

namespace {
constexpr char KProtect = '\'';
} // namespace

std::string CaseSectionsText(TMKPSpace& space, std::string (*encode)(const std::string&, const std::string&)) {
    std::string out;
    const auto line = [&out](const std::string& s) {
        out += s;
        out += "\r\n";
    };
    const auto text = [&](const std::string& s, const char* what) { line(KProtect + encode(s, what)); };
    if (!space.LoadCases.Empty()) {
        for (const TZatezovaciStav* c : space.LoadCases)
            if (!space.ChybaNazvuStavu(c->Name, c).empty())
                throw TKorvanError(space.ChybaNazvuStavu(c->Name, c) + " Projekt nelze uložit.");
        line("*LoadCases");
        for (const TZatezovaciStav* c : space.LoadCases) {
            line("ZS");
            text(c->Name, "Název zatěžovacího stavu");
            line(KindCode(c->Kind));
            line(CategoryCode(c->Category));
            text(c->Group, "Skupina zatěžovacích stavů");
            line(c->BothValues ? "1" : "0");
        }
        // The runs follow the writer's order of the load records: member loads without the
        // self-weight loads, then nodal loads.
        const TZatezovaciStav* current = nullptr;
        long count = 0;
        const auto flush = [&] {
            if (!count) return;
            line("ZL");
            text(current->Name, "Název zatěžovacího stavu");
            line(std::to_string(count));
        };
        const auto record = [&](const TZatizeni& z) {
            const TZatezovaciStav* c = space.StavZatizeni(z);
            if (c != current) {
                flush();
                current = c;
                count = 0;
            }
            ++count;
        };
        for (const TPrut* m : space.Members)
            for (const TZatizeni* z : m->Loads)
                if (z->Kind != KLoadSelfWeight) record(*z);
        for (const TUzel* n : space.Nodes)
            for (const TZatizeni* z : n->Loads) record(*z);
        flush();
    }
    if (!space.Combinations.Empty()) {
        line("*Combinations");
        for (const TKombinace* k : space.Combinations) {
            if (std::string fault = space.ChybaNazvuKombinace(k->Name, k); !fault.empty())
                throw TKorvanError(fault + " Projekt nelze uložit.");
            line("ZK");
            text(k->Name, "Název kombinace");
            line(CombinationKindCode(k->Kind));
            text(k->Formula, "Popis kombinace");
            line(std::to_string(k->Terms.size()));
            for (const TCombinationTerm& t : k->Terms) {
                if (!t.Case || space.NajdiZatezovaciStav(t.Case->Name) != t.Case)
                    throw TKorvanError("Kombinace „" + k->Name + "“ odkazuje na stav, který model nemá; projekt nelze uložit.");
                text(t.Case->Name, "Název zatěžovacího stavu");
                line(FormatRoundTrip(t.Factor));
            }
        }
    }
    return out;
}

// A name, group or formula: the line after its apostrophe.
std::string TCaseSectionReader::ProtectedText(const char* what) {
    std::string value = mLines.Name();
    if (value.empty() || value[0] != KProtect)
        mLines.Refuse(std::string(what) + " musí začínat apostrofem, nalezeno „" + ShownInMessage(value) + "“.",
                      mLines.LineNumber());
    return value.substr(1);
}

void TCaseSectionReader::ReadCase() {
    if (!mFirstCaseLine) mFirstCaseLine = mLines.LineNumber();
    const std::string name = ProtectedText("název zatěžovacího stavu");
    const int nameLine = mLines.LineNumber();
    if (std::string fault = mSpace.ChybaNazvuStavu(name); !fault.empty()) mLines.Refuse(fault, nameLine);
    TCaseKind kind;
    const std::string kindCode = Cp1250ToUtf8(mLines.Value());
    if (!KindFromCode(kindCode, kind))
        mLines.Refuse("neznámý druh zatěžovacího stavu „" + ShownInMessage(kindCode) + "“ (očekáváno G, Q nebo A).",
                      mLines.LineNumber());
    TCaseCategory category;
    const std::string categoryCode = Cp1250ToUtf8(mLines.Value());
    if (!CategoryFromCode(categoryCode, category))
        mLines.Refuse("neznámá kategorie zatěžovacího stavu „" + ShownInMessage(categoryCode) + "“.",
                      mLines.LineNumber());
    if (category != TCaseCategory::None && kind != TCaseKind::Variable)
        mLines.Refuse("kategorii má jen proměnný zatěžovací stav.", mLines.LineNumber());
    const std::string group = ProtectedText("skupina zatěžovacích stavů");
    const bool both = mLines.Flag();
    TZatezovaciStav* c = mSpace.PridejZatezovaciStav(name, kind, category, group);
    c->BothValues = both;
}

void TCaseSectionReader::ReadRun() {
    const std::string name = ProtectedText("název zatěžovacího stavu");
    const int nameLine = mLines.LineNumber();
    TZatezovaciStav* c = mSpace.LoadCases.Empty() ? nullptr : mSpace.NajdiZatezovaciStav(name);
    if (!c) mLines.Refuse("zatížení patří neexistujícímu zatěžovacímu stavu „" + name + "“.", nameLine);
    const int count = mLines.Int();
    mLastRunLine = mLines.LineNumber();
    if (count < 1 || std::size_t(count) > mLoads.size() - mAssigned)
        mLines.Refuse("počet zatížení stavu „" + name + "“ musí být od 1 do " +
                          std::to_string(mLoads.size() - mAssigned) + " (zbývajících záznamů zatížení).",
                      mLastRunLine);
    for (int i = 0; i < count; ++i)
        if (TZatizeni* z = mLoads[mAssigned++]) z->LoadCase = c;
}

void TCaseSectionReader::ReadCombination() {
    const std::string name = ProtectedText("název kombinace");
    if (std::string fault = mSpace.ChybaNazvuKombinace(name); !fault.empty()) mLines.Refuse(fault, mLines.LineNumber());
    TCombinationKind kind;
    const std::string kindCode = Cp1250ToUtf8(mLines.Value());
    if (!CombinationKindFromCode(kindCode, kind))
        mLines.Refuse("neznámý druh kombinace „" + ShownInMessage(kindCode) + "“.", mLines.LineNumber());
    const std::string formula = ProtectedText("popis kombinace");
    const int terms = mLines.Int();
    if (terms < 0) mLines.Refuse("počet členů kombinace nesmí být záporný.", mLines.LineNumber());
    std::vector<TCombinationTerm> list;
    for (int i = 0; i < terms; ++i) {
        const std::string caseName = ProtectedText("název zatěžovacího stavu");
        TZatezovaciStav* c = mSpace.NajdiZatezovaciStav(caseName);
        if (!c)
            mLines.Refuse("kombinace „" + name + "“ odkazuje na neexistující zatěžovací stav „" + caseName + "“.",
                          mLines.LineNumber());
        list.push_back({c, mLines.Real()});
    }
    mSpace.PridejKombinaci(name, kind, std::move(list), formula);
}

void TCaseSectionReader::Finish() {
    if (mSpace.LoadCases.Empty() || mAssigned == mLoads.size()) return;
    const int line = mLastRunLine ? mLastRunLine : mFirstCaseLine;
    mLines.Refuse(std::to_string(mLoads.size() - mAssigned) + " z " + std::to_string(mLoads.size()) +
                      " záznamů zatížení nepatří žádnému zatěžovacímu stavu.",
                  line);
}
