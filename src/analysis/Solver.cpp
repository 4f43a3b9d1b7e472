// Global assembly, supports, elimination without pivoting, back substitution, end results and
// reactions, with the trace files of every stage.
#include <algorithm>
#include <cmath>

#include "analysis/TraceFile.h"
#include "model/MKPSpace.h"
#include "model/NumberText.h"
#include "model/UserDialogs.h"

namespace {
const char* const KZeroPivotMessage =
    "Na diagonále matice tuhosti byla nalezena nulová hodnota. Zkontrolujte, prosím, podepření soustavy,";
const char* const KMechanismMessage =
    "Zkontrolujte podepření soustavy, prosím. Konstrukce je pravděpodobně pohyblivým mechanismem.";

int Code(TReal v) { return static_cast<int>(std::lround(static_cast<double>(v))); }

void MemberCodes(const TPrut* m, int codes[6]) {
    codes[0] = m->NodeA->DofRot.Code;
    codes[1] = m->NodeA->DofU.Code;
    codes[2] = m->NodeA->DofW.Code;
    codes[3] = m->NodeB->DofRot.Code;
    codes[4] = m->NodeB->DofU.Code;
    codes[5] = m->NodeB->DofW.Code;
}
} // namespace

// The envelope: row i reaches down to the lowest equation of any member at i; the upper part of
// row i holds every column whose lowest equation lies at or above i (the column heights), which is
// where the elimination can fill in.
void TMKPSpace::SestavKG() {
    const int n = 3 * Nodes.Count();
    std::vector<int> first(static_cast<std::size_t>(n) + 1), last(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) first[static_cast<std::size_t>(i)] = last[static_cast<std::size_t>(i)] = i;
    for (const TPrut* m : Members) {
        int codes[6];
        MemberCodes(m, codes);
        int lo = *std::min_element(codes, codes + 6);
        for (int c : codes)
            if (c >= 1 && c <= n) first[static_cast<std::size_t>(c)] = std::min(first[static_cast<std::size_t>(c)], lo);
    }
    for (int j = 1; j <= n; ++j)
        for (int i = first[static_cast<std::size_t>(j)]; i <= j; ++i) last[static_cast<std::size_t>(i)] = j;
    KG.Allocate(n, first, last);

    for (TPrut* m : Members) {
        m->SestavMatice();
        for (int i = 1; i <= 6; ++i) {
            const int ci = Code(m->kabG[i][0]);
            for (int j = 1; j <= 6; ++j) KG.At(ci, Code(m->kabG[0][j])) += m->kabG[i][j];
        }
        m->UvolniMatice();
    }

    TTraceFile f(TraceDir, "00KG.out", TraceEnabled);
    for (int p = 1; p <= n; ++p)
        for (int q = 1; q <= n; ++q) {
            f.Put("[", 1);
            f.PutInt(p);
            f.Put(",", 1);
            f.PutInt(q);
            f.Put("]:", 2);
            f.PutReal(KG.Get(p, q));
            f.EndLine();
        }
    if (!f.Close()) TraceFailures.push_back(f.Path());
}

namespace {
void WriteVector(const std::string& dir, bool enabled, const char* name, const TVector& v, int n,
                 std::vector<std::string>& failures) {
    TTraceFile f(dir, name, enabled);
    for (int p = 1; p <= n; ++p) {
        f.Put("[", 1);
        f.PutInt(p);
        f.Put("]:", 2);
        f.PutReal(v[static_cast<std::size_t>(p)]);
        f.EndLine();
    }
    if (!f.Close()) failures.push_back(f.Path());
}

void WriteMatrix(const std::string& dir, bool enabled, const char* name, const TProfileMatrix& k,
                 std::vector<std::string>& failures) {
    TTraceFile f(dir, name, enabled);
    const int n = k.Size();
    for (int p = 1; p <= n; ++p)
        for (int q = 1; q <= n; ++q) {
            f.Put("[", 1);
            f.PutInt(p);
            f.Put(",", 1);
            f.PutInt(q);
            f.Put("]:", 2);
            f.PutReal(k.Get(p, q));
            f.EndLine();
        }
    if (!f.Close()) failures.push_back(f.Path());
}
} // namespace

void TMKPSpace::SestavMG() {
    const int n = 3 * Nodes.Count();
    MG = NewVector(static_cast<std::size_t>(n) + 1);
    for (TPrut* m : Members) {
        m->SestavMatice();
        for (int i = 0; i < 6; ++i) MG[static_cast<std::size_t>(Code(m->MabG[i][0]))] += m->MabG[i][1];
        m->UvolniMatice();
    }
    WriteVector(TraceDir, TraceEnabled, "00MG.out", MG, n, TraceFailures);
}

void TMKPSpace::SestavPG() {
    const int n = 3 * Nodes.Count();
    PG = NewVector(static_cast<std::size_t>(n) + 1);
    for (TUzel* node : Nodes) {
        node->SestavVektorZatizeni();
        for (int r = 0; r < 3; ++r) PG[static_cast<std::size_t>(Code(node->LoadVector[r][0]))] = node->LoadVector[r][1];
        node->UvolniVektorZatizeni();
    }
}

void TMKPSpace::SestavFG() {
    const int n = 3 * Nodes.Count();
    FG = NewVector(static_cast<std::size_t>(n) + 1);
    SestavPG();
    for (int k = 1; k <= n; ++k) FG[static_cast<std::size_t>(k)] = PG[static_cast<std::size_t>(k)] - MG[static_cast<std::size_t>(k)];
    WriteVector(TraceDir, TraceEnabled, "00FG.out", FG, n, TraceFailures);
    UvolniPG();
}

namespace {
// Row k and column k to 0, the diagonal to 1.
void ClearRowAndColumn(TProfileMatrix& kg, int k) {
    TReal* row = kg.Row(k);
    for (int j = kg.First(k); j <= kg.Last(k); ++j) row[j - kg.First(k)] = 0;
    for (int i = kg.First(k); i <= kg.Last(k); ++i)
        if (kg.InProfile(i, k)) kg.At(i, k) = 0;
    kg.At(k, k) = 1;
}
} // namespace

TMKPSpace::TSolveStatus TMKPSpace::Res() {
    const int n = 3 * Nodes.Count();
    auto at = [](TVector& v, int i) -> TReal& { return v[static_cast<std::size_t>(i)]; };
    RG = NewVector(static_cast<std::size_t>(n) + 1);

    // Supports: node by node, rotation, u, w.
    for (TUzel* node : Nodes) {
        const TNodeDof* dofs[3] = {&node->DofRot, &node->DofU, &node->DofW};
        for (const TNodeDof* d : dofs)
            if (d->Fixed && d->Code >= 1 && d->Code <= n) {
                ClearRowAndColumn(KG, d->Code);
                at(FG, d->Code) = 0;
            }
    }
    // Degrees of freedom without stiffness (a node at which every member is hinged): fixed with
    // their load left in place, so that RG[k] = FG[k].
    for (int k = 1; k <= n; ++k)
        if (KG.At(k, k) == 0) ClearRowAndColumn(KG, k);
    WriteMatrix(TraceDir, TraceEnabled, "00KGa.out", KG, TraceFailures);
    WriteVector(TraceDir, TraceEnabled, "00FGa.out", FG, n, TraceFailures);

    // Forward elimination without pivoting. Rows below k whose envelope reaches column k.
    std::vector<std::vector<int>> startsAt(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i)
        if (KG.First(i) < i) startsAt[static_cast<std::size_t>(KG.First(i))].push_back(i);
    std::vector<int> active;
    for (int k = 1; k <= n - 1; ++k) {
        for (int i : startsAt[static_cast<std::size_t>(k)]) active.push_back(i);
        auto self = std::find(active.begin(), active.end(), k);
        if (self != active.end()) {
            *self = active.back();
            active.pop_back();
        }
        const TReal pivot = KG.At(k, k);
        if (pivot == 0) {
            Dialogs().Inform(KZeroPivotMessage);
            return {TSolveResult::ZeroPivot, k};
        }
        const int lastK = KG.Last(k);
        const TReal* rowK = KG.Row(k) + (k - KG.First(k));
        const TReal fk = at(FG, k);
        for (int i : active) {
            TReal* rowI = KG.Row(i) + (k - KG.First(i));
            const TReal f = -(rowI[0] / pivot);
            if (f == 0) continue; // adds only zeros
            for (int j = 1; j <= lastK - k; ++j) rowI[j] += f * rowK[j];
            at(FG, i) += f * fk;
        }
    }
    // A diagonal element too small to carry a load: the structure can move.
    for (int k = 1; k <= n; ++k)
        if (KG.At(k, k) < 1e-15L) {
            Dialogs().Inform(KMechanismMessage);
            ResultsValid = false;
            return {TSolveResult::Mechanism, k};
        }
    // Back substitution, columns from the right.
    at(RG, n) = at(FG, n) / KG.At(n, n);
    for (int i = n - 1; i >= 1; --i) {
        const TReal* rowI = KG.Row(i) - KG.First(i);
        for (int j = KG.Last(i); j >= i + 1; --j) at(FG, i) -= rowI[j] * at(RG, j);
        at(RG, i) = at(FG, i) / rowI[i];
    }
    for (int p = 0; p < Nodes.Count(); ++p) {
        TUzel* node = Nodes[p];
        node->Displacement = {at(RG, 3 * p + 1), at(RG, 3 * p + 2), at(RG, 3 * p + 3)};
    }
    for (TPrut* m : Members) m->KoncoveSily();
    WriteVector(TraceDir, TraceEnabled, "00RG.out", RG, n, TraceFailures);

    // Member end forces at every degree of freedom, from the matrix without the supports.
    SestavKG();
    SestavMG();
    for (int i = 1; i <= n; ++i) {
        const TReal* rowI = KG.Row(i) - KG.First(i);
        for (int j = KG.First(i); j <= KG.Last(i); ++j) at(MG, i) += rowI[j] * at(RG, j);
    }

    // Reactions: the force with which the node presses on its support, along the support's u and
    // w and clockwise for the moment.
    TTraceFile f(TraceDir, "00reakce.out", TraceEnabled);
    f.Put("-- Reakce --");
    f.EndLine();
    auto line = [&](const TUzel* node, const char* kind, int k, TReal value, const char* unit) {
        f.Put("Uzel \xE8\xEDslo "); // "Uzel číslo " in windows-1250
        f.PutInt(node->Number);
        f.Put(kind);
        f.PutInt(k);
        f.Put("]: ");
        f.Put(FormatFixed(value, 12, 3));
        f.Put(unit);
        f.EndLine();
    };
    for (int k = 1; k <= n; ++k) {
        TUzel* node = Nodes[(k - 1) / 3];
        node->SestavVektorZatizeni();
        if (node->DofRot.Fixed && k == node->DofRot.Code) {
            node->DofRot.Reaction = node->LoadVector[0][1] - at(MG, k);
            line(node, ": M [", k, node->DofRot.Reaction, " kNm");
        }
        if (node->DofU.Fixed && k == node->DofU.Code) {
            node->DofU.Reaction = node->LoadVector[1][1] - at(MG, k);
            line(node, ": H [", k, node->DofU.Reaction, " kN");
        }
        if (node->DofW.Fixed && k == node->DofW.Code) {
            node->DofW.Reaction = node->LoadVector[2][1] - at(MG, k);
            line(node, ": V [", k, node->DofW.Reaction, " kN");
        }
        node->UvolniVektorZatizeni();
    }
    f.EndLine();
    if (!f.Close()) TraceFailures.push_back(f.Path());
    ResultsValid = true;
    return {TSolveResult::Ok, 0};
}

void TMKPSpace::UvolniKG() { KG.Release(); }
void TMKPSpace::UvolniMG() { Release(MG); }
void TMKPSpace::UvolniPG() { Release(PG); }
void TMKPSpace::UvolniFG() { Release(FG); }
void TMKPSpace::UvolniRG() { Release(RG); }

TMKPSpace::TSolveStatus TMKPSpace::Vypocet() {
    if (Members.Empty()) return {TSolveResult::NoMembers, 0};
    TraceFailures.clear();
    OtocPrutySKloubemA();
    SestavKG();
    SestavMG();
    SestavFG();
    TSolveStatus status = Res();
    UvolniKG();
    UvolniMG();
    UvolniFG();
    UvolniRG();
    if (!TraceFailures.empty()) {
        std::string names;
        for (const std::string& p : TraceFailures)
            if (names.find(p) == std::string::npos) names += (names.empty() ? "" : ", ") + p;
        Dialogs().Inform("Soubory průběhu výpočtu nelze zapsat: " + names + ". Výsledky výpočtu platí.");
    }
    return status;
}
