#include "model/LoadCases.h"

#include "base/NumberText.h"

namespace {
struct TCategoryRow {
    TCaseCategory Category;
    const char* Code;
    const char* Name;
    TPsi Psi;
};

// EN 1990, Table A1.1, recommended values for buildings.
const TCategoryRow KCategories[] = {
    {TCaseCategory::None, "-", "bez kategorie", {0, 0, 0}},
    {TCaseCategory::A, "a", "kategorie A – obytné plochy", {0.7L, 0.5L, 0.3L}},
    {TCaseCategory::B, "b", "kategorie B – kancelářské plochy", {0.7L, 0.5L, 0.3L}},
    {TCaseCategory::C, "c", "kategorie C – shromažďovací plochy", {0.7L, 0.7L, 0.6L}},
    {TCaseCategory::D, "d", "kategorie D – obchodní plochy", {0.7L, 0.7L, 0.6L}},
    {TCaseCategory::E, "e", "kategorie E – skladovací plochy", {1.0L, 0.9L, 0.8L}},
    {TCaseCategory::F, "f", "kategorie F – dopravní plochy, vozidla do 30 kN", {0.7L, 0.7L, 0.6L}},
    {TCaseCategory::G, "g", "kategorie G – dopravní plochy, vozidla 30 až 160 kN", {0.7L, 0.5L, 0.3L}},
    {TCaseCategory::H, "h", "kategorie H – střechy", {0, 0, 0}},
    {TCaseCategory::SnowNordic, "s1", "sníh – Finsko, Island, Norsko, Švédsko", {0.7L, 0.5L, 0.2L}},
    {TCaseCategory::SnowHigh, "s2", "sníh – ostatní státy, nad 1000 m n. m.", {0.7L, 0.5L, 0.2L}},
    {TCaseCategory::SnowLow, "s3", "sníh – ostatní státy, do 1000 m n. m.", {0.5L, 0.2L, 0}},
    {TCaseCategory::Wind, "w", "vítr", {0.6L, 0.2L, 0}},
    {TCaseCategory::Temperature, "t", "teplota (mimo požár)", {0.6L, 0.5L, 0}},
};

const TCategoryRow& Row(TCaseCategory category) {
    for (const TCategoryRow& r : KCategories)
        if (r.Category == category) return r;
    return KCategories[0];
}

struct TKindRow {
    TCombinationKind Kind;
    const char* Code;
    const char* Name;
};
const TKindRow KCombinationKinds[] = {
    {TCombinationKind::User, "user", "uživatelská"},
    {TCombinationKind::Ultimate, "uls", "MSÚ"},
    {TCombinationKind::Characteristic, "sls-c", "MSP charakteristická"},
    {TCombinationKind::Frequent, "sls-f", "MSP častá"},
    {TCombinationKind::QuasiPermanent, "sls-qp", "MSP kvazistálá"},
    {TCombinationKind::Accidental, "acc", "mimořádná"},
};
} // namespace

TPsi Psi(TCaseCategory category) { return Row(category).Psi; }

const std::vector<TCaseCategory>& AllCategories() {
    static const std::vector<TCaseCategory> all = [] {
        std::vector<TCaseCategory> v;
        for (const TCategoryRow& r : KCategories) v.push_back(r.Category);
        return v;
    }();
    return all;
}

std::string KindCode(TCaseKind kind) {
    return kind == TCaseKind::Permanent ? "G" : kind == TCaseKind::Variable ? "Q" : "A";
}

bool KindFromCode(const std::string& code, TCaseKind& kind) {
    for (TCaseKind k : {TCaseKind::Permanent, TCaseKind::Variable, TCaseKind::Accidental})
        if (code == KindCode(k)) {
            kind = k;
            return true;
        }
    return false;
}

std::string CategoryCode(TCaseCategory category) { return Row(category).Code; }

bool CategoryFromCode(const std::string& code, TCaseCategory& category) {
    for (const TCategoryRow& r : KCategories)
        if (code == r.Code) {
            category = r.Category;
            return true;
        }
    return false;
}

std::string KindName(TCaseKind kind) {
    return kind == TCaseKind::Permanent ? "stálý" : kind == TCaseKind::Variable ? "proměnný" : "mimořádný";
}

std::string CategoryName(TCaseCategory category) { return Row(category).Name; }

std::string CombinationKindCode(TCombinationKind kind) {
    for (const TKindRow& r : KCombinationKinds)
        if (r.Kind == kind) return r.Code;
    return "user";
}

bool CombinationKindFromCode(const std::string& code, TCombinationKind& kind) {
    for (const TKindRow& r : KCombinationKinds)
        if (code == r.Code) {
            kind = r.Kind;
            return true;
        }
    return false;
}

std::string CombinationKindName(TCombinationKind kind) {
    for (const TKindRow& r : KCombinationKinds)
        if (r.Kind == kind) return r.Name;
    return {};
}

bool IsUltimate(TCombinationKind kind) {
    return kind == TCombinationKind::Ultimate || kind == TCombinationKind::Accidental;
}

std::string TKombinace::TermsText(char separator) const {
    std::string s;
    for (const TCombinationTerm& t : Terms) {
        std::string factor = FormatGeneral(t.Factor, 15, separator);
        if (s.empty())
            s = factor;
        else if (factor[0] == '-')
            s += " − " + factor.substr(1);
        else
            s += " + " + factor;
        s += "·" + (t.Case ? t.Case->Name : std::string("?"));
    }
    return s.empty() ? "0" : s;
}

TKombinace* TKombinaceList::NajdiKombinaci(const std::string& name) const {
    for (TKombinace* c : *this)
        if (c->Name == name) return c;
    return nullptr;
}

void TLoadFactors::Set(const TZatezovaciStav* loadCase, TReal factor) {
    for (auto& [c, f] : mCases)
        if (c == loadCase) {
            f = factor;
            return;
        }
    mCases.emplace_back(loadCase, factor);
}

void TLoadFactors::Add(const TZatezovaciStav* loadCase, TReal factor) {
    for (auto& [c, f] : mCases)
        if (c == loadCase) {
            f += factor;
            return;
        }
    mCases.emplace_back(loadCase, factor);
}

void TLoadFactors::SetUnassigned(TReal factor) {
    mUnassignedActs = true;
    mUnassigned = factor;
}

TReal TLoadFactors::CaseFactor(const TZatezovaciStav* loadCase) const {
    for (const auto& [c, f] : mCases)
        if (c == loadCase) return f;
    return 0;
}

bool TLoadFactors::Of(const TZatizeni& load, TReal& factor) const {
    const TZatezovaciStav* c = load.LoadCase;
    if (!c) {
        factor = mUnassigned;
        return mUnassignedActs;
    }
    for (const auto& [owner, f] : mCases)
        if (owner == c) {
            // The self-weight coefficient times the state's factor: 1 · coefficient is the
            // coefficient exactly, so a case alone gives the loads of a model without cases.
            factor = load.Kind == KLoadSelfWeight ? f * c->Factor : f;
            return true;
        }
    return false;
}

bool LoadActs(const TLoadFactors* factors, const TZatizeni& load, TReal& factor) {
    if (factors) return factors->Of(load, factor);
    factor = (load.Kind == KLoadSelfWeight && load.LoadCase) ? load.LoadCase->Factor : 1.0L;
    return true;
}
