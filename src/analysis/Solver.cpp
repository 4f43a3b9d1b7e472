// The computation: global assembly by equation numbers, supports, elimination without pivoting,
// back substitution, end results, reactions, and the trace files of every stage.
#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>
#include <optional>
#include <unordered_map>

#include "analysis/Cancel.h"
#include "analysis/CaseResults.h"
#include "analysis/Diagnostics.h"
#include "analysis/EquationOrder.h"
#include "analysis/MemberMatrices.h"
#include "analysis/ModelCheck.h"
#include "analysis/ProfileMatrix.h"
#include "analysis/SparseMatrix.h"
#include "analysis/TraceFile.h"
#include "base/NumberText.h"
#include "model/MKPSpace.h"
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

// Whether node v owns equations 3v+1 .. 3v+3 (the numbering invariant, which the editing commands
// keep and the reader checks); another order, and the sparse matrix, move whole nodes.
bool NumberedByNodes(const TMKPSpace& space) {
    const int nodes = space.Nodes.Count();
    for (int v = 0; v < nodes; ++v) {
        const TUzel* u = space.Nodes[v];
        if (!(u->Number == v + 1 && u->DofRot.Code == 3 * v + 1 && u->DofU.Code == 3 * v + 2 &&
              u->DofW.Code == 3 * v + 3))
            return false;
    }
    return true;
}

std::vector<std::pair<int, int>> NodeLinks(const TMKPSpace& space) {
    std::vector<std::pair<int, int>> links;
    links.reserve(std::size_t(space.Members.Count()));
    for (const TPrut* m : space.Members) links.emplace_back(m->NodeA->Number - 1, m->NodeB->Number - 1);
    return links;
}

// The profile the model's matrix takes: in the model's order or (when it pays, or is asked for) in
// the profile-reducing order of the nodes (Position empty: the model's order).
struct TProfilePlan {
    std::vector<int> First, Position;
    double Terms = 0;
};

TProfilePlan PlanProfile(const TMKPSpace& space, TEquationOrder order) {
    TProfilePlan plan;
    plan.First = Envelope(space);
    plan.Terms = ProfileTerms(plan.First);
    if (order == TEquationOrder::Model || !NumberedByNodes(space)) return plan;
    const int nodes = space.Nodes.Count();
    const std::vector<std::pair<int, int>> links = NodeLinks(space);
    const std::vector<int> sequence = ProfileReducingOrder(nodes, links);
    std::vector<int> place(std::size_t(nodes), 0);
    for (int i = 0; i < nodes; ++i) place[std::size_t(sequence[std::size_t(i)])] = i;
    std::vector<int> reduced = EnvelopeStarts(nodes, links, place);
    const double reducedTerms = ProfileTerms(reduced);
    if (order == TEquationOrder::Automatic && !ReorderPays(plan.Terms, reducedTerms)) return plan;
    // Equation 3v + k of node v (k = 1..3) goes to position 3·place[v] + k.
    plan.Position.assign(std::size_t(3 * nodes) + 1, 0);
    for (int v = 0; v < nodes; ++v)
        for (int k = 1; k <= 3; ++k) plan.Position[std::size_t(3 * v + k)] = 3 * place[std::size_t(v)] + k;
    plan.First = std::move(reduced);
    plan.Terms = reducedTerms;
    return plan;
}

// The bytes the profile of a plan takes (both triangles and the diagonal).
double ProfileBytes(const TProfilePlan& plan) {
    double entries = 0;
    for (std::size_t p = 1; p < plan.First.size(); ++p) entries += 2.0 * double(int(p) - plan.First[p]) + 1;
    return entries * double(sizeof(TProfileMatrix::TEntry));
}

// The sparse matrix (analysed) when the frame takes the sparse path: asked for, or the profile's
// elimination would cost KSparseGain times the sparse factorization's operations or more. The
// model's order and a frame numbered otherwise than by nodes keep the profile.
std::unique_ptr<TSparseMatrix> ChooseSparse(const TMKPSpace& space, TEquationOrder order, const TProfilePlan& plan) {
    if (order == TEquationOrder::Model || space.SolverPath == TSolverPath::Profile || space.Nodes.Count() == 0 ||
        !NumberedByNodes(space))
        return nullptr;
    if (space.SolverPath == TSolverPath::Automatic && plan.Terms < KSparseMinTerms) return nullptr;
    auto sparse = std::make_unique<TSparseMatrix>(space.Nodes.Count(), NodeLinks(space));
    const double operations = sparse->Analyse();
    if (space.SolverPath == TSolverPath::Automatic && plan.Terms < KSparseGain * operations) return nullptr;
    return sparse;
}

// KG from the members' matrices in the node systems, each entry summed in member order: the
// profile, or the sparse matrix where that pays or is asked for (unless allowSparse is off).
void AssembleKG(TMKPSpace& space, TEquationOrder order, bool allowSparse = true) {
    space.KG = TProfileMatrix(); // the old matrix goes before the new one is allocated
    space.SparseKG.reset();
    TProfilePlan plan = PlanProfile(space, order);
    if (allowSparse) space.SparseKG.reset(ChooseSparse(space, order, plan).release());
    if (!space.SparseKG) space.KG = TProfileMatrix(plan.First, std::move(plan.Position));
    const auto assemble = [&](auto& matrix) {
        // One set of member matrices passes from member to member.
        TPrut* last = nullptr;
        for (TPrut* m : space.Members) {
            if (last) last->PredejMatice(*m);
            m->SestavMatice();
            for (int i = 1; i <= 6; ++i) {
                const int ci = Code(m->kabG[i][0]);
                for (int j = 1; j <= 6; ++j) matrix.Ref(ci, Code(m->kabG[0][j])) += m->kabG[i][j];
            }
            last = m;
        }
        if (last) last->UvolniMatice();
    };
    if (space.SparseKG)
        assemble(*space.SparseKG);
    else
        assemble(space.KG);
}

// Supports and degrees of freedom without stiffness, as the elimination needs them; held[k] marks
// both kinds (their equations become the identity). Returns the first degree of freedom without
// stiffness that a load acts on (a mechanism), 0 when none.
template <class TMatrix> int ApplySupports(TMKPSpace& space, TMatrix& kg, std::vector<char>& held) {
    const int n = kg.Size();
    held.assign(std::size_t(n) + 1, 0);
    for (TUzel* node : space.Nodes)
        for (TNodeDof* dof : {&node->DofRot, &node->DofU, &node->DofW})
            if (dof->Fixed) {
                kg.ClearRowAndColumn(dof->Code);
                space.FG[std::size_t(dof->Code)] = 0;
                held[std::size_t(dof->Code)] = 1;
            }
    int unresisted = 0;
    for (int k = 1; k <= n; ++k)
        if (kg.At(k, k) == 0) {
            if (!unresisted && Unresisted(space.FG, k)) unresisted = k;
            kg.ClearRowAndColumn(k);
            held[std::size_t(k)] = 1;
        }
    return unresisted;
}

TReal Norm(const TVector& v) {
    TReal sum = 0;
    for (std::size_t k = 1; k < v.size(); ++k) sum += v[k] * v[k];
    return std::sqrt(sum);
}

// K·u for every equation, K from the members' matrices in the node systems (those formed once
// for all cases, else formed here). The sums are those of the equilibrium check
// (KontrolaRovnovahy): per member the row times u in column order, added up in member order, so
// that the residual measured here is the one the check reports.
TVector StiffnessTimes(TMKPSpace& space, const TVector& u, const std::vector<TMemberMatrix>& matrices) {
    TVector ku(u.size(), 0.0L);
    if (!matrices.empty()) {
        for (const TMemberMatrix& c : matrices)
            AddMemberTimes([&c](int i, int j) { return c.KabG[i][j]; }, c.Codes, u, ku);
        return ku;
    }
    ForEachMemberMatrices(space, [&](TPrut& m) {
        std::size_t codes[6] = {};
        for (int j = 0; j < 6; ++j) codes[j] = std::size_t(Code(m.kabG[0][std::size_t(j + 1)]));
        AddMemberTimes([&m](int i, int j) { return m.kabG[std::size_t(i + 1)][std::size_t(j + 1)]; }, codes, u, ku);
    });
    return ku;
}

// The residual ku − f + R over every equation (R: the reactions where reactions[k] is given, else
// 0) as ‖·‖ / loadNorm (‖·‖ itself without load); worst names the equation of the largest term.
// Equations marked in restrained count f in place of ku (their term is f − f + R).
TReal Residual(const TVector& ku, const TVector& f, const TVector& reactions, TReal loadNorm, int& worst,
               const std::vector<char>* restrained = nullptr) {
    TReal sum = 0, largest = -1;
    worst = 0;
    for (std::size_t k = 1; k < ku.size(); ++k) {
        const TReal r = (restrained && (*restrained)[k] ? f[k] : ku[k]) - f[k] + reactions[k];
        sum += r * r;
        if (std::fabs(r) > largest) {
            largest = std::fabs(r);
            worst = int(k);
        }
    }
    const TReal norm = std::sqrt(sum);
    return loadNorm > 0 ? norm / loadNorm : norm;
}

bool Showable(TReal x) { return std::fabs(x) <= TReal(std::numeric_limits<double>::max()); }
bool AllShowable(const TVector& v) {
    for (TReal x : v)
        if (!Showable(x)) return false;
    return true;
}

// Names the fault through the message sink and marks the results invalid.
TSolveStatus Refuse(TMKPSpace& space, const std::string& message, TSolveStatus status) {
    Dialogs().Inform(message);
    space.ResultsValid = false;
    return status;
}

// What a structure refused at an equation (a zero pivot, a mechanism, a residual above the bound)
// has to blame: a part without any support, else a member far shorter than the others. Fills the
// status and gives the message to show, or leaves both as they are.
void Diagnose(const TMKPSpace& space, TSolveStatus& status, std::string& message) {
    const TDofPlace place = MistoRovnice(status.Equation);
    status.Unsupported = NepodeprenaCast(space, place.Node);
    if (status.Unsupported != TUnsupported::No) {
        // However it was found, a structure (or a part) without support is a mechanism.
        if (status.Result == TSolveResult::Unbalanced) {
            status.Result = TSolveResult::Mechanism;
            message = KMechanismMessage;
        }
        return;
    }
    if (status.Result == TSolveResult::ZeroPivot) return;
    if (const TPrut* m = NajdiKratkyPrut(space, place.Node)) {
        status = {TSolveResult::ShortMember, status.Equation, m->Number};
        message = PopisKratkehoPrutu(space, *m);
    }
}

// Opens a trace file, lets write() fill it, and notes the file, and why when it could not be
// written.
template <class F> void WriteTrace(TMKPSpace& space, const char* name, F write) {
    if (!space.TraceEnabled) return;
    TTraceFile file(space.TracePath(name));
    if (std::find(space.TraceWritten.begin(), space.TraceWritten.end(), file.Path()) ==
        space.TraceWritten.end())
        space.TraceWritten.push_back(file.Path());
    if (file.IsOpen()) write(file);
    const auto failed = [&](const TMKPSpace::TTraceFailure& f) { return f.Path == file.Path(); };
    if (!file.Close() && std::none_of(space.TraceFailures.begin(), space.TraceFailures.end(), failed))
        space.TraceFailures.push_back({file.Path(), file.Error()});
}

// "Soubor výpočtu se nepodařilo zapsat: " and the files, those that failed for one reason together:
// "00KG.out, 00MG.out (No space left on device)".
std::string TraceFailureMessage(const std::vector<TMKPSpace::TTraceFailure>& failures) {
    std::string text = KTraceFailureMessage;
    std::vector<bool> told(failures.size(), false);
    for (std::size_t i = 0; i < failures.size(); ++i) {
        if (told[i]) continue;
        std::string names;
        for (std::size_t j = i; j < failures.size(); ++j)
            if (!told[j] && failures[j].Reason == failures[i].Reason) {
                names += (names.empty() ? "" : ", ") + failures[j].Path;
                told[j] = true;
            }
        text += (i == 0 ? "" : "; ") + names;
        if (!failures[i].Reason.empty()) text += " (" + failures[i].Reason + ")";
    }
    return text;
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
    if (k.Reordered()) {
        // The profile holds the equations in another order; the file shows the model's.
        for (int p = 1; p <= n; ++p)
            for (int q = 1; q <= n; ++q) {
                entry(p, q);
                if (k.InProfile(p, q))
                    f.PutGeneral(k.At(p, q), sep);
                else
                    f.Put('0');
                f.EndLine();
            }
        return;
    }
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

// The same for the sparse matrix: entries outside its pattern are 0.
void WriteMatrix(TTraceFile& f, const TSparseMatrix& k) {
    const char sep = DecimalSeparator();
    const int n = k.Size();
    for (int p = 1; p <= n; ++p) {
        const std::vector<std::pair<int, TReal>> row = k.Row(p);
        auto next = row.begin();
        for (int q = 1; q <= n; ++q) {
            f.Put('[');
            f.PutInt(p);
            f.Put(',');
            f.PutInt(q);
            f.Put(std::string_view("]:"));
            if (next != row.end() && next->first == q)
                f.PutGeneral((next++)->second, sep);
            else
                f.Put('0');
            f.EndLine();
        }
    }
}

// The matrix of the computation, whichever it is.
void WriteKG(TTraceFile& f, const TMKPSpace& space) {
    if (space.SparseKG)
        WriteMatrix(f, *space.SparseKG);
    else
        WriteMatrix(f, space.KG);
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
    AssembleKG(*this, EquationOrder);
    if (!TraceMatricesLeftOut) WriteTrace(*this, "00KG.out", [this](TTraceFile& f) { WriteKG(f, *this); });
}

void TMKPSpace::SestavMG() {
    MG = NewVector(std::size_t(3 * Nodes.Count() + 1));
    // Only the matrices that MabG depends on; the stiffness matrices play no part here. A member
    // that carries no load of the state adds +0 (MG never holds -0: its sums start at +0), so it
    // is left out; its loads' positions are brought in step all the same.
    TPrut* last = nullptr;
    for (TPrut* m : Members) {
        if (!CarriesLoad(*m)) {
            m->UpravPolohyZatizeni();
            continue;
        }
        if (last) last->PredejMatice(*m);
        m->SestavT();
        m->SestavTI();
        m->SestavMabL();
        m->SestavMabG();
        for (int i = 0; i < 6; ++i) MG[std::size_t(Code(m->MabG[i][0]))] += m->MabG[i][1];
        last = m;
    }
    if (last) last->UvolniMatice();
    WriteTrace(*this, "00MG.out", [this](TTraceFile& f) { WriteVector(f, MG); });
}

void TMKPSpace::SestavPG() {
    PG = NewVector(std::size_t(3 * Nodes.Count() + 1));
    for (TUzel* node : Nodes) {
        if (!CarriesLoad(*node)) continue; // its load vector is +0, as PG is
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

namespace {
// A solution that misses its equations: refused, naming the equation with the largest residual
// (or what the diagnosis finds to blame).
TSolveStatus Unbalanced(TMKPSpace& space, TReal residual, int worst) {
    TSolveStatus status{TSolveResult::Unbalanced, worst};
    std::string message = "Výsledek výpočtu nesplňuje rovnováhu: ‖K·u − f‖/‖f‖ = " + FormatExponent(residual, 2, 1) +
                          " překračuje " + FormatExponent(KResidualLimit, 1, 1) + " (" +
                          PopisMista(MistoRovnice(worst)) +
                          "). Konstrukce je pravděpodobně pohyblivým mechanismem, nebo má pruty velmi rozdílných "
                          "tuhostí.";
    Diagnose(space, status, message);
    return Refuse(space, message, status);
}
} // namespace

namespace {
// What the solutions of all cases share: the rows of the restrained degrees of freedom as
// assembled, the equations held (supports, degrees of freedom without stiffness) and the
// restrained ones; KeepMatrix keeps the eliminated matrix for further cases, and Members holds
// the members' matrices formed once for all of them (empty: each solution forms them).
struct TSharedSolution {
    std::vector<std::pair<int, std::vector<std::pair<int, TReal>>>> RestrainedRows;
    std::vector<char> Held, Restrained;
    bool KeepMatrix = false;
    std::vector<TMemberMatrix> Members;
    TCompactMemberMatrices Compact; // Members without their zero entries
};
// What a solved case's checks and end results take from the members' matrices, formed for several
// cases in one pass over them (CaseProducts): K·u by the sums of StiffnessTimes, and per member the
// twelve values of LocalEndProducts.
struct TCaseProducts {
    TVector Ku;
    std::vector<TReal> Local;
};
TSolveStatus SolveFirst(TMKPSpace& s, TSharedSolution& shared);
TSolveStatus SolveRest(TMKPSpace& s, TSharedSolution& shared, const TVector& full, TReal loadNorm,
                       TCaseProducts* products = nullptr);
} // namespace

TSolveStatus TMKPSpace::Res() {
    TSharedSolution shared;
    return SolveFirst(*this, shared);
}

namespace {
TSolveStatus SolveFirst(TMKPSpace& space, TSharedSolution& shared) {
    TMKPSpace& s = space;
    const auto& Nodes = s.Nodes;
    TProfileMatrix& KG = s.KG;
    TVector& FG = s.FG;
    TVector& RG = s.RG;
    const int n = 3 * Nodes.Count();
    RG = NewVector(std::size_t(n + 1));
    // The measure of the residual: the loads less the fixed-end forces on every degree of freedom,
    // before the supports take theirs out.
    const TVector full = FG;
    const TReal loadNorm = Norm(FG);

    // The reactions need, of the matrix as assembled, only the rows of the restrained degrees of
    // freedom: they are kept before the supports clear them, and the matrix is assembled once.
    auto& restrainedRows = shared.RestrainedRows;
    restrainedRows.clear();
    for (TUzel* node : Nodes)
        for (TNodeDof* dof : {&node->DofRot, &node->DofU, &node->DofW})
            if (dof->Fixed)
                restrainedRows.emplace_back(dof->Code, s.SparseKG ? s.SparseKG->Row(dof->Code) : KG.Row(dof->Code));

    // Supports: a restrained degree of freedom keeps its row and column only on the diagonal.
    // The member matrices are expressed in the node systems, so a rotated support restrains u and
    // w along its rotated directions. Degrees of freedom without any stiffness (a rotation where
    // every member is hinged): their equation becomes RG[k] = FG[k]. That is right only while
    // nothing loads them; a load on a degree of freedom that nothing resists is a mechanism.
    std::vector<char>& held = shared.Held;
    std::vector<char>& restrained = shared.Restrained;
    restrained.assign(std::size_t(n) + 1, 0);
    for (TUzel* node : Nodes)
        for (TNodeDof* dof : {&node->DofRot, &node->DofU, &node->DofW})
            if (dof->Fixed) restrained[std::size_t(dof->Code)] = 1;
    const int unresisted = s.SparseKG ? ApplySupports(s, *s.SparseKG, held) : ApplySupports(s, KG, held);
    if (!s.TraceMatricesLeftOut) WriteTrace(s, "00KGa.out", [&](TTraceFile& f) { WriteKG(f, s); });
    WriteTrace(s, "00FGa.out", [&](TTraceFile& f) { WriteVector(f, FG); });
    if (unresisted) {
        TSolveStatus status{TSolveResult::Mechanism, unresisted};
        status.Unsupported = NepodeprenaCast(s, MistoRovnice(unresisted).Node);
        return Refuse(s, KMechanismMessage, status);
    }

    PollCancel();
    TSolveStatus result;
    if (s.SparseKG) {
        // The sparse factor; a frame it refuses, or whose refined solution still misses its
        // equations, is solved again on the profile (which decides and names the refusal as for
        // any frame), unless that profile is too large to hold.
        result = s.SparseKG->Factorize();
        TReal residual = 0;
        if (result.Result == TSolveResult::Ok) residual = s.SparseKG->Solve(FG, RG);
        if (result.Result != TSolveResult::Ok || !(residual <= KResidualLimit)) {
            TProfilePlan plan = PlanProfile(s, s.EquationOrder);
            if (s.SolverPath != TSolverPath::SparseAlone && ProfileBytes(plan) <= KSparseRecheckBytes) {
                AssembleKG(s, s.EquationOrder, false);
                ApplySupports(s, KG, held);
                result = {};
            }
        }
    }
    if (!s.SparseKG && KG.Reordered()) {
        TVector fg = KG.ToPositions(FG);
        result = KG.Eliminate(fg, s.Elimination);
        if (result.Result == TSolveResult::Ok) {
            TVector rg(RG.size(), 0.0L);
            KG.BackSubstitute(fg, rg);
            RG = KG.FromPositions(rg);
        } else {
            // A refusal is decided, and named, in the model's order.
            AssembleKG(s, TEquationOrder::Model, false);
            ApplySupports(s, KG, held);
        }
    }
    if (!s.SparseKG && !KG.Reordered()) {
        result = KG.Eliminate(FG, s.Elimination);
        if (result.Result == TSolveResult::Ok) KG.BackSubstitute(FG, RG);
    }
    if (result.Result == TSolveResult::ZeroPivot) {
        std::string message = KZeroPivotMessage;
        Diagnose(s, result, message);
        Dialogs().Inform(message);
        return result;
    }
    if (result.Result == TSolveResult::Mechanism) {
        std::string message = KMechanismMessage;
        Diagnose(s, result, message);
        return Refuse(s, message, result);
    }
    PollCancel();
    const TSolveStatus rest = SolveRest(s, shared, full, loadNorm);
    return rest.Result == TSolveResult::Ok ? result : rest;
}

// The right-hand side of a further case, formed with its loads: the fixed-end forces, the loads
// less them before the supports (the measure of the residual) and after them.
struct TFurtherCase {
    TVector MG, Full, FG;
    TReal LoadNorm = 0;
};

// A further case's right-hand side (FG, formed with its loads) meets the supports and the degrees
// of freedom without stiffness as the first case's did; a load that nothing resists refuses it.
TSolveStatus PrepareAnother(TMKPSpace& s, const TSharedSolution& shared, TFurtherCase& out) {
    const int n = 3 * s.Nodes.Count();
    out.Full = s.FG;
    out.LoadNorm = Norm(s.FG);
    for (int k = 1; k <= n; ++k)
        if (shared.Restrained[std::size_t(k)]) s.FG[std::size_t(k)] = 0;
    for (int k = 1; k <= n; ++k)
        if (shared.Held[std::size_t(k)] && !shared.Restrained[std::size_t(k)] && Unresisted(s.FG, k)) {
            TSolveStatus status{TSolveResult::Mechanism, k};
            status.Unsupported = NepodeprenaCast(s, MistoRovnice(k).Node);
            return Refuse(s, KMechanismMessage, status);
        }
    out.FG = std::move(s.FG);
    out.MG = std::move(s.MG);
    return {};
}

// The further cases on the matrix the first case eliminated, all in one pass over the stored
// factors (TProfileMatrix::SolveMany: for each case the operations the elimination applied to
// the first case's right-hand side, in the same order, so each gets the bits it would get if
// solved alone). Leaves every case's solution by model equation in its FG.
void SolveFurther(TMKPSpace& s, std::vector<TFurtherCase>& cases) {
    const std::size_t m = cases.size();
    if (s.SparseKG) {
        // By model equation; each case refined on the sparse factor as the first case was.
        const std::size_t n = std::size_t(s.SparseKG->Size());
        std::vector<TReal> x((n + 1) * m, 0.0L);
        for (std::size_t r = 0; r < m; ++r)
            for (std::size_t e = 1; e <= n; ++e) x[e * m + r] = cases[r].FG[e];
        s.SparseKG->SolveMany(x, m, s.Elimination);
        for (std::size_t r = 0; r < m; ++r)
            for (std::size_t e = 1; e <= n; ++e) cases[r].FG[e] = x[e * m + r];
        return;
    }
    const std::size_t n = std::size_t(s.KG.Size());
    std::vector<TReal> x((n + 1) * m, 0.0L);
    for (std::size_t r = 0; r < m; ++r) {
        const TVector fg = s.KG.ToPositions(cases[r].FG);
        for (std::size_t p = 1; p <= n; ++p) x[p * m + r] = fg[p];
    }
    s.KG.SolveMany(x, m, s.Elimination);
    for (std::size_t r = 0; r < m; ++r) {
        TVector rg(n + 1, 0.0L);
        for (std::size_t p = 1; p <= n; ++p) rg[p] = x[p * m + r];
        cases[r].FG = s.KG.FromPositions(rg);
    }
}

// K·u and the load-free part of the end results of the solved cases [begin, end), in one pass over
// the members' matrices (each read once for all of them, without its zero entries); every case
// gets the bits it would get alone (StiffnessTimes, EndResultsFrom).
void CaseProducts(const TMKPSpace& s, const TSharedSolution& shared, const std::vector<TFurtherCase>& cases,
                  std::size_t begin, std::size_t end, std::vector<TCaseProducts>& out) {
    const std::size_t c = end - begin, members = shared.Compact.Count(), size = cases[begin].FG.size();
    out.resize(std::max(out.size(), c)); // the memory of the pass before is used again
    for (std::size_t q = 0; q < c; ++q) out[q].Local.resize(12 * members);
    // The displacements and the sums of K·u of the cases side by side (equation e of case q at
    // e·c + q): a member reads and adds to one place for all of them.
    std::vector<TReal> u(size * c), ku(size * c, 0.0L);
    for (std::size_t e = 0; e < size; ++e)
        for (std::size_t q = 0; q < c; ++q) u[e * c + q] = cases[begin + q].FG[e];
    // A node's displacements are RG at its position among the nodes.
    std::unordered_map<const TUzel*, std::size_t> place;
    for (int p = 0; p < s.Nodes.Count(); ++p) place.emplace(s.Nodes[p], 3 * std::size_t(p) + 1);
    for (std::size_t i = 0; i < members; ++i) {
        const TPrut* m = s.Members[int(i)];
        const std::size_t a = place.at(m->NodeA) * c, b = place.at(m->NodeB) * c;
        for (std::size_t q = 0; q < c; ++q) {
            shared.Compact.AddTimes(
                i, [&](std::size_t e) { return u[e * c + q]; }, [&](std::size_t e) -> TReal& { return ku[e * c + q]; });
            const TReal d[6] = {u[a + q], u[a + c + q], u[a + 2 * c + q], u[b + q], u[b + c + q], u[b + 2 * c + q]};
            shared.Compact.LocalProducts(i, d, out[q].Local.data() + 12 * i);
        }
    }
    for (std::size_t q = 0; q < c; ++q) {
        out[q].Ku.resize(size);
        for (std::size_t e = 0; e < size; ++e) out[q].Ku[e] = ku[e * c + q];
    }
}

// What follows the solution of every case: the equilibrium of the solution (one step of
// refinement where it misses), the displacements, end results and reactions, their checks and
// their trace files. The matrix is released unless it must solve further cases.
TSolveStatus SolveRest(TMKPSpace& s, TSharedSolution& shared, const TVector& full, TReal loadNorm,
                       TCaseProducts* products) {
    const int n = 3 * s.Nodes.Count();
    auto& Nodes = s.Nodes;
    auto& Members = s.Members;
    TProfileMatrix& KG = s.KG;
    TVector& RG = s.RG;
    TVector& MG = s.MG;
    const std::vector<char>& held = shared.Held;
    const std::vector<char>& restrained = shared.Restrained;
    const auto& restrainedRows = shared.RestrainedRows;
    const auto releaseMatrix = [&] {
        if (!shared.KeepMatrix) {
            KG = TProfileMatrix();
            s.SparseKG.reset();
        }
    };
    TSolveStatus result;

    // Equilibrium: a solution that does not satisfy its equations is no result. Measured first
    // over the equations solved (the restrained ones follow with their reactions, below): above
    // the bound one step of iterative refinement (the residual solved on the same elimination) may
    // bring it under. A solution under the bound is kept as it is, bit for bit. Values that are
    // not numbers are named below, by node and member.
    TVector ku;
    const TVector noReactions(full.size(), 0.0L);
    // Without reactions the restrained equations would count their loads; they are left out here.
    // The products formed beforehand hold for RG as solved, not for a refined one.
    auto solvedResidual = [&](const TVector& u, TVector& kuOut, int& worst) {
        if (products && &u == &RG)
            kuOut.swap(products->Ku);
        else
            kuOut = StiffnessTimes(s, u, shared.Members);
        return Residual(kuOut, full, noReactions, loadNorm, worst, &restrained);
    };
    if (AllShowable(RG)) {
        int worst = 0;
        TReal residual = solvedResidual(RG, ku, worst);
        if (!(residual <= KResidualLimit)) {
            // r = f − K·u on the equations solved; the held ones are the identity there.
            TVector r(RG.size(), 0.0L), delta(RG.size(), 0.0L);
            for (std::size_t k = 1; k < r.size(); ++k)
                if (!held[k]) r[k] = full[k] - ku[k];
            if (s.SparseKG) {
                s.SparseKG->Solve(r, delta);
            } else if (KG.Reordered()) {
                TVector byPosition = KG.ToPositions(r), deltaByPosition(RG.size(), 0.0L);
                KG.Solve(byPosition, deltaByPosition);
                delta = KG.FromPositions(deltaByPosition);
            } else {
                KG.Solve(r, delta);
            }
            TVector refined = RG, kuRefined;
            for (std::size_t k = 1; k < refined.size(); ++k) refined[k] += delta[k];
            int worstRefined = 0;
            const TReal residualRefined = solvedResidual(refined, kuRefined, worstRefined);
            if (residualRefined < residual) {
                products = nullptr;
                RG = std::move(refined);
                ku = std::move(kuRefined);
                residual = residualRefined;
                worst = worstRefined;
            }
        }
        if (!(residual <= KResidualLimit)) {
            releaseMatrix();
            return Unbalanced(s, residual, worst);
        }
    }
    releaseMatrix();

    for (int p = 0; p < Nodes.Count(); ++p)
        Nodes[p]->Displacement = {RG[std::size_t(3 * p + 1)], RG[std::size_t(3 * p + 2)], RG[std::size_t(3 * p + 3)]};
    // A further case (products given) finds the reactions of the case before it, which were looked
    // at then: when its displacements and end results are numbers a double can show, so is all
    // that NajdiNekonecnyVysledek looks at.
    bool showable = products && AllShowable(RG);
    if (shared.Members.empty()) {
        for (TPrut* m : Members) m->KoncoveSily();
    } else {
        // A member that carries no load of this case has fixed-end forces of +0.
        for (int i = 0; i < Members.Count(); ++i) {
            TPrut* m = Members[i];
            TReal fixed[6] = {};
            if (CarriesLoad(*m)) {
                m->SestavMabL();
                for (int k = 0; k < 6; ++k) fixed[k] = m->MabL[std::size_t(k)][1];
                m->UvolniMabL();
            }
            if (products) {
                EndResultsFromLocal(*m, products->Local.data() + 12 * std::size_t(i), fixed);
                for (int k = 0; k < 6; ++k) showable = showable && Showable(m->Sa[std::size_t(k)]) && Showable(m->Sb[std::size_t(k)]);
                continue;
            }
            const TMemberMatrix& c = shared.Members[std::size_t(i)];
            EndResultsFrom(*m, c.T, c.KabL, fixed);
        }
    }
    if (!showable)
        if (const std::string fault = NajdiNekonecnyVysledek(s); !fault.empty()) return s.Odmitni(fault);
    WriteTrace(s, "00RG.out", [&](TTraceFile& f) { WriteVector(f, RG); });

    // At the restrained degrees of freedom, MG becomes the sum of the member end forces in the
    // node system: the fixed-end forces plus the assembled row times the displacements, its terms
    // in ascending equation order.
    for (const auto& [k, row] : restrainedRows) {
        TReal sum = MG[std::size_t(k)];
        for (const auto& [j, value] : row) sum += value * RG[std::size_t(j)];
        MG[std::size_t(k)] = sum;
    }

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
            const bool restrainedHere = (node->DofRot.Fixed && node->DofRot.Code == k) ||
                                        (node->DofU.Fixed && node->DofU.Code == k) ||
                                        (node->DofW.Fixed && node->DofW.Code == k);
            if (!restrainedHere) continue;
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
    WriteTrace(s, "00reakce.out", [&](TTraceFile& f) {
        reactions(&f);
        written = true;
    });
    if (!written) reactions(nullptr);
    // Only the reactions are new since the displacements and end results were looked at.
    if (std::string fault = NajdiNekonecnouReakci(s); !fault.empty()) return s.Odmitni(fault);
    // Every equation with the reactions: what the equilibrium check reports.
    if (!ku.empty()) {
        TVector stored(full.size(), 0.0L);
        for (TUzel* node : Nodes)
            for (TNodeDof* dof : {&node->DofRot, &node->DofU, &node->DofW})
                if (dof->Fixed) stored[std::size_t(dof->Code)] = dof->Reaction;
        int worst = 0;
        const TReal residual = Residual(ku, full, stored, loadNorm, worst);
        if (!(residual <= KResidualLimit)) return Unbalanced(s, residual, worst);
    }
    if (std::string fault = NajdiNekonecnyPrubeh(s); !fault.empty()) return s.Odmitni(fault);

    s.ResultsValid = true;
    return result;
}
} // namespace


TSolveStatus TMKPSpace::Odmitni(const std::string& fault) {
    Dialogs().Inform(fault);
    ResultsValid = false;
    return {TSolveResult::Refused, 0};
}

void TMKPSpace::UvolniKG() {
    KG = TProfileMatrix();
    SparseKG.reset();
}
void TMKPSpace::UvolniMG() { Release(MG); }
void TMKPSpace::UvolniPG() { Release(PG); }
void TMKPSpace::UvolniFG() { Release(FG); }
void TMKPSpace::UvolniRG() { Release(RG); }

namespace {
// The loads of every node and member: those of one case (none: every load once).
void GiveFactors(TMKPSpace& space, const std::shared_ptr<const TLoadFactors>& factors) {
    for (TUzel* n : space.Nodes) n->LoadFactors = factors;
    for (TPrut* m : space.Members) m->LoadFactors = factors;
}

// Every case of the model on one assembly and one elimination of the stiffness matrix. The traced
// case (the first, unless TracedCase names another) is solved as a model with its loads alone
// would be, trace files and all; the others as further right-hand sides, without trace files.
// Each case's results go to CaseResults; the model then shows ResultsChoice. A model without
// cases is computed exactly as a model of one load state.
TSolveStatus SolveCases(TMKPSpace& space) {
    space.CaseResults.Clear();
    std::vector<TZatezovaciStav*> cases = space.PocitaneStavy();
    const bool several = !space.LoadCases.Empty();
    if (TZatezovaciStav* traced = space.NajdiZatezovaciStav(space.TracedCase))
        if (const auto it = std::find(cases.begin(), cases.end(), traced); it != cases.end())
            std::rotate(cases.begin(), it, it + 1);
    GiveFactors(space, several ? space.FaktoryStavu(cases[0]) : nullptr);
    space.SestavKG();
    space.SestavMG();
    space.SestavFG();
    TSharedSolution shared;
    shared.KeepMatrix = cases.size() > 1;
    if (shared.KeepMatrix) {
        shared.Members = FormMemberMatrices(space);
        shared.Compact = TCompactMemberMatrices(shared.Members);
    }
    TSolveStatus result = SolveFirst(space, shared);
    if (result.Result != TSolveResult::Ok || !space.ResultsValid) return result;
    TCaseResults& store = space.CaseResults;
    for (const TPrut* m : space.Members) store.NodeA.push_back(m->NodeA);
    const auto keep = [&](TZatezovaciStav* c) {
        store.Cases.push_back(c);
        store.States.emplace_back();
        UlozStav(space, store.States.back());
    };
    keep(cases[0]);
    const bool traceEnabled = space.TraceEnabled;
    space.TraceEnabled = false;
    // The further cases: their right-hand sides, their solutions together, then each case's end
    // results, reactions and checks as for the first.
    std::vector<TFurtherCase> further(cases.size() - 1);
    // Every node and member holds one table while the further cases are formed, and it takes each
    // case's factors in turn (rather than a table of its own handed to every object per case).
    const auto factors = std::make_shared<TLoadFactors>();
    if (cases.size() > 1) GiveFactors(space, factors);
    const TZatezovaciStav* refused = nullptr; // a further case whose loads the structure cannot carry
    for (std::size_t i = 1; i < cases.size() && result.Result == TSolveResult::Ok; ++i) {
        PollCancel();
        *factors = *space.FaktoryStavu(cases[i]);
        space.SestavMG();
        space.SestavFG();
        result = PrepareAnother(space, shared, further[i - 1]);
        if (result.Result != TSolveResult::Ok) refused = cases[i];
    }
    if (result.Result == TSolveResult::Ok && !further.empty()) SolveFurther(space, further);
    // K·u and the end results of a few cases at a time, each pass over the members' matrices
    // serving all of them.
    constexpr std::size_t KCasesPerPass = 8;
    std::vector<TCaseProducts> products;
    for (std::size_t i = 1; i < cases.size() && result.Result == TSolveResult::Ok; ++i) {
        PollCancel();
        const std::size_t at = (i - 1) % KCasesPerPass;
        if (at == 0) CaseProducts(space, shared, further, i - 1, std::min(further.size(), i - 1 + KCasesPerPass), products);
        TFurtherCase& c = further[i - 1];
        *factors = *space.FaktoryStavu(cases[i]);
        space.RG = std::move(c.FG);
        space.MG = std::move(c.MG);
        result = SolveRest(space, shared, c.Full, c.LoadNorm, &products[at]);
        if (result.Result == TSolveResult::Ok && space.ResultsValid)
            keep(cases[i]);
        else
            refused = cases[i];
        c = TFurtherCase();
    }
    space.TraceEnabled = traceEnabled;
    space.UvolniKG();
    if (refused) Dialogs().Inform("Zatěžovací stav „" + refused->Name + "“ nelze spočítat.");
    if (result.Result != TSolveResult::Ok || !space.ResultsValid) {
        store.Clear();
        return result;
    }
    // One state shown as computed stays as it is.
    if (several || !(space.ResultsChoice == TResultsChoice{}))
        if (!space.ZobrazVysledky()) {
            space.ResultsChoice = {};
            space.ZobrazVysledky();
        }
    return result;
}
} // namespace

TSolveStatus TMKPSpace::Vypocet() {
    if (Members.Empty()) return {TSolveResult::NoMembers, 0};
    TraceFailures.clear();
    TraceWritten.clear();
    TraceMatricesLeftOut = TraceEnabled && TraceMatrixLimit != 0 &&
                           2 * DenseMatrixTraceBytes(3 * std::uint64_t(Nodes.Count())) > TraceMatrixLimit;
    // The trace files of one computation are one set: the folder stays locked until the set is
    // complete, and the files of an earlier computation that this one does not write (a refusal
    // stops before the last stages) are removed, so the folder never shows two models at once.
    std::optional<TTraceFolderLock> lock;
    if (TraceEnabled) lock.emplace(TraceDir);
    TSolveStatus result;
    int member = 0, load = 0;
    SrovnejZatizeniSPruty(*this);
    if (const std::string fault = NajdiNeplatnouHodnotu(*this); !fault.empty()) {
        result = Odmitni(fault);
    } else if (const std::string outside = NajdiZatizeniMimoPrut(*this, member, load); !outside.empty()) {
        result = Refuse(*this, outside, {TSolveResult::LoadOutside, 0, member, load});
    } else {
        OtocPrutySKloubemA();
        PollCancel();
        result = SolveCases(*this);
        UvolniKG();
        UvolniMG();
        UvolniFG();
        UvolniRG();
    }
    if (TraceEnabled)
        for (const char* name : KTraceFileNames)
            if (const std::string path = TracePath(name);
                std::find(TraceWritten.begin(), TraceWritten.end(), path) == TraceWritten.end())
                RemoveStaleTraceFile(path);
    lock.reset();
    if (!TraceFailures.empty()) Dialogs().Inform(TraceFailureMessage(TraceFailures));
    return result;
}

// End results in the member's local system (EndResultsFrom).
void TPrut::KoncoveSily() {
    SestavMabL();
    SestavKabL();
    SestavT();
    TReal t[6][6], k[6][6], fixed[6];
    for (int i = 0; i < 6; ++i) {
        fixed[i] = MabL[std::size_t(i)][1];
        for (int j = 0; j < 6; ++j) {
            t[i][j] = T[std::size_t(i)][std::size_t(j)];
            k[i][j] = kabL[std::size_t(i + 1)][std::size_t(j + 1)];
        }
    }
    EndResultsFrom(*this, t, k, fixed);
    UvolniMabL();
    UvolniKabL();
    UvolniT();
}

void TPrut::UvolniKoncoveSily() {
    Release(Sa);
    Release(Sb);
}
