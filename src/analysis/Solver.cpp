// The computation: global assembly by equation numbers, supports, elimination without pivoting,
// back substitution, end results, reactions, and the trace files of every stage.
#include <algorithm>
#include <cassert>
#include <cmath>

#include "analysis/ModelCheck.h"
#include "analysis/TraceFile.h"
#include "model/MKPSpace.h"
#include "model/NumberText.h"
#include "model/UserDialogs.h"

namespace {
const char* const KZeroPivotMessage =
    "Na diagonále matice tuhosti byla nalezena nulová hodnota. Zkontrolujte, prosím, podepření soustavy,";
const char* const KMechanismMessage =
    "Zkontrolujte podepření soustavy, prosím. Konstrukce je pravděpodobně pohyblivým mechanismem.";
const char* const KTraceFailureMessage = "Soubor výpočtu se nepodařilo zapsat: ";
// "Uzel číslo " in windows-1250, the code page of the program's text files.
const char* const KNodeNumber1250 = "Uzel \xE8\xEDslo ";

// The envelope of the stiffness matrix: equation i can be coupled only to the equations of the
// nodes of the members at its node, so row and column i start at the smallest of those.
std::vector<int> Envelope(const TMKPSpace& space) {
    const int n = 3 * space.Nodes.Count();
    std::vector<int> first(std::size_t(n) + 1);
    for (int i = 0; i <= n; ++i) first[std::size_t(i)] = std::max(i, 1);
    for (const TPrut* m : space.Members) {
        const int codes[6] = {m->NodeA->DofRot.Code, m->NodeA->DofU.Code, m->NodeA->DofW.Code,
                              m->NodeB->DofRot.Code, m->NodeB->DofU.Code, m->NodeB->DofW.Code};
        const int low = *std::min_element(codes, codes + 6);
        for (int c : codes) {
            assert(c >= 1 && c <= n);
            first[std::size_t(c)] = std::min(first[std::size_t(c)], low);
        }
    }
    return first;
}

int Code(TReal v) { return int(std::lround(v)); }

// A load left on a degree of freedom without stiffness; what the trigonometry of a load at right
// angles to it leaves behind does not count.
bool Unresisted(const TVector& fg, int k) {
    TReal largest = 1;
    for (TReal v : fg) largest = std::max(largest, std::fabs(v));
    return std::fabs(fg[std::size_t(k)]) > 1e-12L * largest;
}

// Opens a trace file, lets write() fill it, and notes the file when it could not be written.
template <class F> void WriteTrace(TMKPSpace& space, const char* name, F write) {
    if (!space.TraceEnabled) return;
    TTraceFile file(space.TracePath(name));
    if (file.IsOpen()) write(file);
    if (!file.Close() &&
        std::find(space.TraceFailures.begin(), space.TraceFailures.end(), file.Path()) ==
            space.TraceFailures.end())
        space.TraceFailures.push_back(file.Path());
}

// "[p,q]:value" for every p and q of the dense matrix; entries outside the profile are 0.
void WriteMatrix(TTraceFile& f, const TProfileMatrix& k) {
    const char sep = DecimalSeparator();
    const int n = k.Size();
    auto entry = [&](int p, int q) {
        f.Put('[');
        f.PutInt(p);
        f.Put(',');
        f.PutInt(q);
        f.Put(std::string_view("]:"));
    };
    for (int p = 1; p <= n; ++p) {
        const int first = k.First(p);
        for (int q = 1; q < first; ++q) {
            entry(p, q);
            f.Put('0');
            f.EndLine();
        }
        for (int q = first; q <= p; ++q) {
            entry(p, q);
            f.PutGeneral(k.At(p, q), sep);
            f.EndLine();
        }
        for (int q = p + 1; q <= n; ++q) {
            entry(p, q);
            if (k.First(q) <= p)
                f.PutGeneral(k.At(p, q), sep);
            else
                f.Put('0');
            f.EndLine();
        }
    }
}

// "[p]:value" for p = 1..3N.
void WriteVector(TTraceFile& f, const TVector& v) {
    const char sep = DecimalSeparator();
    for (std::size_t p = 1; p < v.size(); ++p) {
        f.Put('[');
        f.PutInt(static_cast<long long>(p));
        f.Put(std::string_view("]:"));
        f.PutGeneral(v[p], sep);
        f.EndLine();
    }
}
} // namespace

std::string TMKPSpace::TracePath(const std::string& name) const {
    if (TraceDir.empty()) return name;
    if (TraceDir.back() == '/') return TraceDir + name;
    return TraceDir + "/" + name;
}

void TMKPSpace::SestavKG() {
    KG = TProfileMatrix(Envelope(*this));
    for (TPrut* m : Members) {
        m->SestavMatice();
        for (int i = 1; i <= 6; ++i) {
            const int ci = Code(m->kabG[i][0]);
            for (int j = 1; j <= 6; ++j) KG.Ref(ci, Code(m->kabG[0][j])) += m->kabG[i][j];
        }
        m->UvolniMatice();
    }
    WriteTrace(*this, "00KG.out", [this](TTraceFile& f) { WriteMatrix(f, KG); });
}

void TMKPSpace::SestavMG() {
    MG = NewVector(std::size_t(3 * Nodes.Count() + 1));
    // Only the matrices that MabG depends on; the stiffness matrices play no part here.
    for (TPrut* m : Members) {
        m->SestavT();
        m->SestavTI();
        m->SestavMabL();
        m->SestavMabG();
        for (int i = 0; i < 6; ++i) MG[std::size_t(Code(m->MabG[i][0]))] += m->MabG[i][1];
        m->UvolniMatice();
    }
    WriteTrace(*this, "00MG.out", [this](TTraceFile& f) { WriteVector(f, MG); });
}

void TMKPSpace::SestavPG() {
    PG = NewVector(std::size_t(3 * Nodes.Count() + 1));
    for (TUzel* node : Nodes) {
        node->SestavVektorZatizeni();
        for (int r = 0; r < 3; ++r) PG[std::size_t(Code(node->LoadVector[r][0]))] = node->LoadVector[r][1];
        node->UvolniVektorZatizeni();
    }
}

void TMKPSpace::SestavFG() {
    const int n = 3 * Nodes.Count();
    FG = NewVector(std::size_t(n + 1));
    SestavPG();
    for (int k = 1; k <= n; ++k) FG[std::size_t(k)] = PG[std::size_t(k)] - MG[std::size_t(k)];
    WriteTrace(*this, "00FG.out", [this](TTraceFile& f) { WriteVector(f, FG); });
    UvolniPG();
}

TSolveStatus TMKPSpace::Res() {
    const int n = 3 * Nodes.Count();
    RG = NewVector(std::size_t(n + 1));

    // Supports: a restrained degree of freedom keeps its row and column only on the diagonal.
    // The member matrices are expressed in the node systems, so a rotated support restrains u and
    // w along its rotated directions.
    for (TUzel* node : Nodes)
        for (TNodeDof* dof : {&node->DofRot, &node->DofU, &node->DofW})
            if (dof->Fixed) {
                KG.ClearRowAndColumn(dof->Code);
                FG[std::size_t(dof->Code)] = 0;
            }
    // Degrees of freedom without any stiffness (a rotation where every member is hinged): their
    // equation becomes RG[k] = FG[k]. That is right only while nothing loads them; a load on a
    // degree of freedom that nothing resists makes the structure a mechanism.
    int unresisted = 0;
    for (int k = 1; k <= n; ++k)
        if (KG.At(k, k) == 0) {
            if (!unresisted && Unresisted(FG, k)) unresisted = k;
            KG.ClearRowAndColumn(k);
        }
    WriteTrace(*this, "00KGa.out", [this](TTraceFile& f) { WriteMatrix(f, KG); });
    WriteTrace(*this, "00FGa.out", [this](TTraceFile& f) { WriteVector(f, FG); });
    if (unresisted) {
        Dialogs().Inform(KMechanismMessage);
        ResultsValid = false;
        return {TSolveResult::Mechanism, unresisted};
    }

    const TSolveStatus result = KG.Eliminate(FG, Elimination);
    if (result.Result == TSolveResult::ZeroPivot) {
        Dialogs().Inform(KZeroPivotMessage);
        return result;
    }
    if (result.Result == TSolveResult::Mechanism) {
        Dialogs().Inform(KMechanismMessage);
        ResultsValid = false;
        return result;
    }
    KG.BackSubstitute(FG, RG);

    for (int p = 0; p < Nodes.Count(); ++p)
        Nodes[p]->Displacement = {RG[std::size_t(3 * p + 1)], RG[std::size_t(3 * p + 2)], RG[std::size_t(3 * p + 3)]};
    for (TPrut* m : Members) m->KoncoveSily();
    if (const std::string fault = NajdiNekonecnyVysledek(*this); !fault.empty()) return Odmitni(fault);
    WriteTrace(*this, "00RG.out", [this](TTraceFile& f) { WriteVector(f, RG); });

    // The unmodified matrix times the displacements: the sum of the member end forces at every
    // degree of freedom, in the node system.
    SestavKG();
    SestavMG();
    KG.AddProduct(RG, MG);

    // Reaction = nodal load - member end forces: the force with which the node presses on its
    // support, along the support's u and w and clockwise for the moment.
    auto reactions = [&](TTraceFile* f) {
        const char sep = DecimalSeparator();
        if (f) {
            f->Put(std::string_view("-- Reakce --"));
            f->EndLine();
        }
        for (int k = 1; k <= n; ++k) {
            TUzel* node = Nodes[(k - 1) / 3];
            node->SestavVektorZatizeni();
            struct {
                TNodeDof* dof;
                int row;
                const char* label;
                const char* unit;
            } const dofs[3] = {{&node->DofRot, 0, ": M [", " kNm"},
                               {&node->DofU, 1, ": H [", " kN"},
                               {&node->DofW, 2, ": V [", " kN"}};
            for (const auto& d : dofs) {
                if (!d.dof->Fixed || d.dof->Code != k) continue;
                d.dof->Reaction = node->LoadVector[std::size_t(d.row)][1] - MG[std::size_t(k)];
                if (!f) continue;
                f->Put(std::string_view(KNodeNumber1250));
                f->PutInt(node->Number);
                f->Put(std::string_view(d.label));
                f->PutInt(k);
                f->Put(std::string_view("]: "));
                f->PutFixed(d.dof->Reaction, 12, 3, sep);
                f->Put(std::string_view(d.unit));
                f->EndLine();
            }
            node->UvolniVektorZatizeni();
        }
        if (f) f->EndLine();
    };
    bool written = false;
    WriteTrace(*this, "00reakce.out", [&](TTraceFile& f) {
        reactions(&f);
        written = true;
    });
    if (!written) reactions(nullptr);
    if (std::string fault = NajdiNekonecnyVysledek(*this); !fault.empty()) return Odmitni(fault);
    if (std::string fault = NajdiNekonecnyPrubeh(*this); !fault.empty()) return Odmitni(fault);

    ResultsValid = true;
    return result;
}

TSolveStatus TMKPSpace::Odmitni(const std::string& fault) {
    Dialogs().Inform(fault);
    ResultsValid = false;
    return {TSolveResult::Refused, 0};
}

void TMKPSpace::UvolniKG() { KG = TProfileMatrix(); }
void TMKPSpace::UvolniMG() { Release(MG); }
void TMKPSpace::UvolniPG() { Release(PG); }
void TMKPSpace::UvolniFG() { Release(FG); }
void TMKPSpace::UvolniRG() { Release(RG); }

TSolveStatus TMKPSpace::Vypocet() {
    if (Members.Empty()) return {TSolveResult::NoMembers, 0};
    if (const std::string fault = NajdiNeplatnouHodnotu(*this); !fault.empty()) return Odmitni(fault);
    TraceFailures.clear();
    OtocPrutySKloubemA();
    SestavKG();
    SestavMG();
    SestavFG();
    const TSolveStatus result = Res();
    UvolniKG();
    UvolniMG();
    UvolniFG();
    UvolniRG();
    if (!TraceFailures.empty()) {
        std::string names;
        for (const std::string& path : TraceFailures) names += (names.empty() ? "" : ", ") + path;
        Dialogs().Inform(KTraceFailureMessage + names);
    }
    return result;
}

// End results in the member's local system: Sa/Sb[0..2] = fixed-end forces + kab* · dl (moment,
// force along x, force along z acting on the member), Sa/Sb[3..5] = dl, the local end
// displacements T · d.
void TPrut::KoncoveSily() {
    Sa = NewVector(6);
    Sb = NewVector(6);
    SestavMabL();
    SestavKabL();
    SestavT();
    TReal d[6], dl[6] = {}, f[6] = {};
    for (int i = 0; i < 3; ++i) {
        d[i] = NodeA->Displacement[std::size_t(i)];
        d[i + 3] = NodeB->Displacement[std::size_t(i)];
    }
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j) dl[i] += T[std::size_t(i)][std::size_t(j)] * d[j];
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j) f[i] += kabL[std::size_t(i + 1)][std::size_t(j + 1)] * dl[j];
    for (int i = 0; i < 3; ++i) {
        Sa[std::size_t(i)] = MabL[std::size_t(i)][1] + f[i];
        Sb[std::size_t(i)] = MabL[std::size_t(i + 3)][1] + f[i + 3];
        Sa[std::size_t(i + 3)] = dl[i];
        Sb[std::size_t(i + 3)] = dl[i + 3];
    }
    UvolniMabL();
    UvolniKabL();
    UvolniT();
}

void TPrut::UvolniKoncoveSily() {
    Release(Sa);
    Release(Sb);
}
