#pragma once
// Load cases and combinations: the combination factors of the variable categories, the texts
// that name kinds and categories, user and generated combinations, and the factors with which
// the loads act in one state of results.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/ObjectList.h"
#include "base/Types.h"
#include "model/Zatizeni.h"

// The combination factors of a variable action (recommended values of EN 1990, Table A1.1).
struct TPsi {
    TReal Psi0 = 0, Psi1 = 0, Psi2 = 0;
};
TPsi Psi(TCaseCategory category);

// Every category, in the order of the table.
const std::vector<TCaseCategory>& AllCategories();
// The code of a kind or a category in the project file ("G", "Q", "A"; "-", "a" to "h", "s1",
// "s2", "s3", "w", "t") and the kind or category of a code (false when it names none).
std::string KindCode(TCaseKind kind);
bool KindFromCode(const std::string& code, TCaseKind& kind);
std::string CategoryCode(TCaseCategory category);
bool CategoryFromCode(const std::string& code, TCaseCategory& category);
// Czech names for lists and reports: "stálý", "proměnný", "mimořádný"; "kategorie B – kanceláře", "sníh (… )".
std::string KindName(TCaseKind kind);
std::string CategoryName(TCaseCategory category);

// What a combination is: the user's own, or one generated from the cases: ultimate (6.10 or
// 6.10a/b), serviceability characteristic, frequent or quasi-permanent, accidental (6.11).
enum class TCombinationKind : std::uint8_t { User, Ultimate, Characteristic, Frequent, QuasiPermanent, Accidental };
std::string CombinationKindCode(TCombinationKind kind); // "user", "uls", "sls-c", "sls-f", "sls-qp", "acc"
bool CombinationKindFromCode(const std::string& code, TCombinationKind& kind);
std::string CombinationKindName(TCombinationKind kind); // Czech, for lists and reports
// Ultimate and accidental combinations are ultimate limit states; the three others serviceability.
bool IsUltimate(TCombinationKind kind);

struct TCombinationTerm {
    TZatezovaciStav* Case; // not owned
    TReal Factor;
    bool operator==(const TCombinationTerm&) const = default;
};

// A combination: a name and the cases it sums with their factors. Generated combinations also
// say how they were formed (Formula, e.g. "6.10b, vedoucí Sníh").
class TKombinace {
public:
    TKombinace(std::string name, TCombinationKind kind, std::vector<TCombinationTerm> terms, std::string formula = {})
        : Name(std::move(name)), Kind(kind), Terms(std::move(terms)), Formula(std::move(formula)) {}
    std::string Name;
    TCombinationKind Kind;
    std::vector<TCombinationTerm> Terms;
    std::string Formula;
    // "1.35·G1 + 1.5·Užitné" with the given decimal separator.
    std::string TermsText(char separator) const;
};

class TKombinaceList : public TObjectList<TKombinace> {
public:
    using TObjectList<TKombinace>::TObjectList;
    TKombinace* NajdiKombinaci(const std::string& name) const;
};

// The loads that act in one state of results (a case, a combination) and the factor of each.
// A load acts when its case has a factor here (loads without a case: when the unassigned factor
// is set); a self-weight load acts with that factor times its case's Factor (the self-weight
// coefficient). Nodes and members hold the table of the state their results describe; without
// one every load acts once, as in a model that has a single case.
class TLoadFactors {
public:
    // Sets (or replaces) the factor of a case's loads; add: adds to the factor already there.
    void Set(const TZatezovaciStav* loadCase, TReal factor);
    void Add(const TZatezovaciStav* loadCase, TReal factor);
    void SetUnassigned(TReal factor);
    // The factor the load acts with; false when it does not act in this state.
    bool Of(const TZatizeni& load, TReal& factor) const;
    // The factor of a case, 0 when its loads do not act.
    TReal CaseFactor(const TZatezovaciStav* loadCase) const;
    const std::vector<std::pair<const TZatezovaciStav*, TReal>>& Cases() const { return mCases; }
    // Names other cases: each case c becomes to(c) (a table formed on a copy of the model, handed
    // to the model it was copied from).
    template <class F> void Repoint(F to) {
        for (auto& c : mCases) c.first = to(c.first);
    }

private:
    std::vector<std::pair<const TZatezovaciStav*, TReal>> mCases;
    bool mUnassignedActs = false;
    TReal mUnassigned = 0;
};

// The factor of a load under a table (none: every load once, self-weight times its case's Factor).
bool LoadActs(const TLoadFactors* factors, const TZatizeni& load, TReal& factor);
