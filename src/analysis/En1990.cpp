#include "analysis/En1990.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "model/MKPSpace.h"

namespace {
using TCaseSet = std::vector<const TZatezovaciStav*>;
// The factor of a case in the combination formed; 0: it does not act.
using TFactorOf = std::function<TReal(const TZatezovaciStav*)>;

bool Contains(const TCaseSet& set, const TZatezovaciStav* c) { return std::find(set.begin(), set.end(), c) != set.end(); }

// The variable cases that act together with the leading one (none: no leading case): every
// case without a group, and one case of every exclusive group (of the leading case's group, the
// leading case); one set per choice.
std::vector<TCaseSet> Selections(const TCaseSet& variable, const TZatezovaciStav* leading) {
    std::vector<TCaseSet> groups; // the cases of every group, in the order of their first case
    std::vector<std::string> names;
    for (const TZatezovaciStav* c : variable) {
        if (c->Group.empty()) continue;
        const auto it = std::find(names.begin(), names.end(), c->Group);
        if (it == names.end()) {
            names.push_back(c->Group);
            groups.push_back({c});
        } else {
            groups[std::size_t(it - names.begin())].push_back(c);
        }
    }
    for (std::size_t g = 0; g < groups.size(); ++g)
        if (leading && names[g] == leading->Group) groups[g] = {leading};
    std::vector<TCaseSet> choices{{}};
    for (const TCaseSet& group : groups) {
        std::vector<TCaseSet> next;
        for (const TCaseSet& chosen : choices)
            for (const TZatezovaciStav* c : group) {
                next.push_back(chosen);
                next.back().push_back(c);
            }
        choices = std::move(next);
    }
    std::vector<TCaseSet> out;
    for (const TCaseSet& chosen : choices) {
        TCaseSet acting;
        for (const TZatezovaciStav* c : variable)
            if (c->Group.empty() || Contains(chosen, c)) acting.push_back(c);
        out.push_back(std::move(acting));
    }
    return out;
}

// A factor as the decimal it stands for: γ·ψ and ξ·γ are decimals of a few digits, but their 80-bit
// products are not the nearest 80-bit values to them (0.6 · 1.5 is 0.9 and one unit in the last
// place), which a project file would keep as 0.90000000000000000003.
TReal Decimal(TReal f) {
    return std::fabs(f) < 1e6L ? std::round(f * 1e12L) / 1e12L : f;
}

class TBuilder {
public:
    TBuilder(const std::vector<TZatezovaciStav*>& cases, const std::vector<std::string>& taken)
        : mCases(cases), mTaken(taken) {}

    void Add(TCombinationKind kind, const TFactorOf& factorOf, const std::string& formula) {
        std::vector<TCombinationTerm> terms;
        for (TZatezovaciStav* c : mCases)
            if (const TReal f = factorOf(c); f != 0) terms.push_back({c, Decimal(f)});
        if (terms.empty()) return;
        for (const auto& k : mOut)
            if (k->Kind == kind && k->Terms == terms) return;
        mOut.push_back(std::make_unique<TKombinace>(NextName(kind), kind, std::move(terms), formula));
    }

    std::vector<std::unique_ptr<TKombinace>> Take() { return std::move(mOut); }

private:
    std::string NextName(TCombinationKind kind) {
        const char* prefix = kind == TCombinationKind::Ultimate         ? "MSÚ"
                             : kind == TCombinationKind::Characteristic ? "MSP-Ch"
                             : kind == TCombinationKind::Frequent       ? "MSP-Č"
                             : kind == TCombinationKind::QuasiPermanent ? "MSP-K"
                                                                        : "MIM";
        int& n = mNumbers[std::size_t(kind)];
        for (;;) {
            const std::string name = std::string(prefix) + " " + std::to_string(++n);
            if (std::find(mTaken.begin(), mTaken.end(), name) == mTaken.end()) return name;
        }
    }

    const std::vector<TZatezovaciStav*>& mCases;
    const std::vector<std::string>& mTaken;
    std::vector<std::unique_ptr<TKombinace>> mOut;
    int mNumbers[6] = {};
};
} // namespace

std::vector<std::unique_ptr<TKombinace>> GenerujKombinace(const std::vector<TZatezovaciStav*>& cases,
                                                          const TGenerationOptions& options,
                                                          const std::vector<std::string>& taken) {
    TCaseSet permanent, variable, accidental, both;
    for (const TZatezovaciStav* c : cases) {
        if (c->Kind == TCaseKind::Permanent) permanent.push_back(c);
        if (c->Kind == TCaseKind::Permanent && c->BothValues) both.push_back(c);
        if (c->Kind == TCaseKind::Variable) variable.push_back(c);
        if (c->Kind == TCaseKind::Accidental) accidental.push_back(c);
    }
    // Every variable case in turn, or none when there is none.
    TCaseSet leaders = variable;
    if (leaders.empty()) leaders.push_back(nullptr);
    const auto led = [](const std::string& formula, const TZatezovaciStav* leading) {
        return leading ? formula + ", hlavní " + leading->Name : formula;
    };
    const std::size_t variants = std::size_t(1) << both.size();
    // The factor of a permanent case in variant v: the favourable value where v's bit is set.
    const auto permanentFactor = [&](const TZatezovaciStav* c, std::size_t v, TReal unfavourable) {
        const auto it = std::find(both.begin(), both.end(), c);
        return it != both.end() && (v >> (it - both.begin())) & 1 ? KGammaGInf : unfavourable;
    };

    TBuilder b(cases, taken);
    // Permanent cases at g (per variant v), the leading case at lead, the others at other(ψ).
    const auto add = [&](TCombinationKind kind, const std::string& formula, std::size_t v, TReal g,
                         const TZatezovaciStav* leading, TReal lead, const TCaseSet& acting,
                         const std::function<TReal(const TPsi&)>& other, const TZatezovaciStav* accident = nullptr) {
        b.Add(kind,
              [&](const TZatezovaciStav* c) -> TReal {
                  switch (c->Kind) {
                  case TCaseKind::Permanent:
                      return permanentFactor(c, v, g);
                  case TCaseKind::Accidental:
                      return c == accident ? 1.0L : 0.0L;
                  case TCaseKind::Variable:
                      if (c == leading) return lead;
                      return Contains(acting, c) ? other(Psi(c->Category)) : 0.0L;
                  }
                  return 0.0L;
              },
              formula);
    };
    const auto gammaPsi0 = [](const TPsi& p) { return KGammaQ * p.Psi0; };
    const auto psi0 = [](const TPsi& p) { return p.Psi0; };
    const auto psi2 = [](const TPsi& p) { return p.Psi2; };
    const auto psi1 = [](const TZatezovaciStav* c) { return c ? Psi(c->Category).Psi1 : 0.0L; };

    if (options.Ultimate) {
        if (!options.Split610) {
            for (const TZatezovaciStav* l : leaders)
                for (const TCaseSet& acting : Selections(variable, l))
                    for (std::size_t v = 0; v < variants; ++v)
                        add(TCombinationKind::Ultimate, led("6.10", l), v, KGammaGSup, l, KGammaQ, acting, gammaPsi0);
        } else {
            for (const TCaseSet& acting : Selections(variable, nullptr))
                for (std::size_t v = 0; v < variants; ++v)
                    add(TCombinationKind::Ultimate, "6.10a", v, KGammaGSup, nullptr, 0, acting, gammaPsi0);
            for (const TZatezovaciStav* l : variable)
                for (const TCaseSet& acting : Selections(variable, l))
                    for (std::size_t v = 0; v < variants; ++v)
                        add(TCombinationKind::Ultimate, led("6.10b", l), v, KXi * KGammaGSup, l, KGammaQ, acting,
                            gammaPsi0);
        }
    }
    if (options.Serviceability) {
        for (const TZatezovaciStav* l : leaders)
            for (const TCaseSet& acting : Selections(variable, l))
                add(TCombinationKind::Characteristic, led("6.14b", l), 0, 1, l, 1, acting, psi0);
        for (const TZatezovaciStav* l : leaders)
            for (const TCaseSet& acting : Selections(variable, l))
                add(TCombinationKind::Frequent, led("6.15b", l), 0, 1, l, psi1(l), acting, psi2);
        for (const TCaseSet& acting : Selections(variable, nullptr))
            add(TCombinationKind::QuasiPermanent, "6.16b", 0, 1, nullptr, 0, acting, psi2);
    }
    if (options.Accidental)
        for (const TZatezovaciStav* a : accidental)
            for (const TZatezovaciStav* l : leaders)
                for (const TCaseSet& acting : Selections(variable, l))
                    add(TCombinationKind::Accidental, led("6.11, mimořádný " + a->Name, l), 0, 1, l, psi1(l), acting,
                        psi2, a);
    return b.Take();
}

// The generated combinations of the cases computed replace those generated before; the user's
// own stay, and their names are not taken again.
void TMKPSpace::VygenerujKombinace(const TGenerationOptions& options) {
    std::vector<std::string> taken;
    for (const TKombinace* k : Combinations)
        if (k->Kind == TCombinationKind::User) taken.push_back(k->Name);
    NastavGenerovaneKombinace(GenerujKombinace(PocitaneStavy(), options, taken));
}

bool ObnovGenerovaneKombinace(TMKPSpace& space) {
    TGenerationOptions options;
    options.Ultimate = options.Serviceability = options.Accidental = false;
    bool generated = false;
    for (const TKombinace* k : space.Combinations) {
        if (k->Kind == TCombinationKind::User) continue;
        generated = true;
        switch (k->Kind) {
        case TCombinationKind::Ultimate:
            options.Ultimate = true;
            if (k->Formula.rfind("6.10a", 0) == 0 || k->Formula.rfind("6.10b", 0) == 0) options.Split610 = true;
            break;
        case TCombinationKind::Accidental:
            options.Accidental = true;
            break;
        default:
            options.Serviceability = true;
        }
    }
    if (!generated) return false;
    // A case made accidental after the generation gets its combinations as it would have then.
    options.Accidental = true;
    space.VygenerujKombinace(options);
    return true;
}
