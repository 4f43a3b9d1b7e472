// Solutions the computation cannot stand behind are refused with their reason and place: sways
// whose pivots keep rounding residue, solutions that miss their equations, members far shorter
// than the rest, loads past a member's end, structures without support, results beyond a double.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "analysis/Diagnostics.h"
#include "analysis/Frames.h"
#include "model/UserDialogs.h"

namespace {
// Nodes at the points, members between neighbours (pin-ended when pinned), the first and last node
// fixed (pinned when pinned), 15 kN along x at the second node, 10 kN/m over 6 m of the second member.
void Chain(TFrame& f, std::vector<std::pair<TReal, TReal>> points, bool pinned = false) {
    std::vector<TUzel*> n;
    for (auto [x, y] : points) n.push_back(f.Node(x, y));
    for (std::size_t i = 0; i + 1 < n.size(); ++i) f.Member(n[i], n[i + 1], pinned, pinned);
    TFrame::Support(n.front(), true, true, !pinned);
    TFrame::Support(n.back(), true, true, !pinned);
    n[1]->PridejZatizeni(KLoadForce, nullptr, 15, 0);
    if (!pinned) f.Space.Members[1]->PridejZatizeni(KLoadDistributed, nullptr, 0, 6, 10, 10, 90);
}
void Portal(TFrame& f) { Chain(f, {{0, 0}, {0, 4}, {6, 4}, {6, 0}}); }
void Sway(TFrame& f) { Chain(f, {{0, 0}, {-1.2L, 4.8L}, {3.7L, 4.1L}, {3, 0}}, true); }
// Tall and slender: more residue stays on the pivot (the values are those of doubles).
void TallSway(TFrame& f) { Chain(f, {{0, 0}, {-1.7, 44.5}, {4.6, 44.4}, {4.68, 0}}, true); }
void ShortInBeam(TFrame& f) { Chain(f, {{0, 0}, {0, 4}, {6, 4}, {6 + 1e-7L, 4}, {12, 4}, {12, 0}}); }
// The portal's right foot on a member of the given length down to the support.
std::function<void(TFrame&)> Foot(TReal l) {
    return [l](TFrame& f) { Chain(f, {{0, 0}, {0, 4}, {6, 4}, {6, 0}, {6, -l}}); };
}
// The beam's right node at x: the load of 6 m reaches past the beam's end when x < 6.
std::function<void(TFrame&)> BeamTo(TReal x) {
    return [x](TFrame& f) { Chain(f, {{0, 0}, {0, 4}, {x, 4}, {6, 0}}); };
}
void ForceBeforeA(TFrame& f) {
    Portal(f);
    f.Space.Members[1]->PridejZatizeni(KLoadForce, nullptr, -0.1L, 0, 5, 0, 90);
}
void NoSupport(TFrame& f) {
    Portal(f);
    for (TUzel* n : f.Space.Nodes) TFrame::Support(n, false, false, false);
}
void LoosePart(TFrame& f) {
    Portal(f);
    f.Member(f.Node(10, 0), f.Node(14, 0));
}
void HugeForce(TFrame& f) {
    Chain(f, {{0, 0}, {3, 0}, {9, 0}});
    f.Space.Nodes[1]->PridejZatizeni(KLoadForce, nullptr, 5e308L, 90);
}
// The beam's end pieces rigid links: their modulus raised a millionfold.
void RigidLinks(TFrame& f) {
    Chain(f, {{0, 0}, {0, 4}, {0.3L, 4}, {5.7L, 4}, {6, 4}, {6, 0}});
    TProfil* rigid = f.Space.PridejProfil("R", f.Space.PridejMaterial("R", 210000e6L, 0), 0.01, 1e-4, 5e-5);
    f.Space.Members[1]->Section = f.Space.Members[3]->Section = rigid;
    f.Space.Members[1]->Loads[0]->C = 0.3L;
}
} // namespace

TEST(Refusal, UnsoundSolutionsAreRefusedByReasonAndPlace) {
    using R = TSolveResult;
    const struct {
        TReal Area;
        std::function<void(TFrame&)> Build;
        TSolveResult Result;
        const char* Place;
    } rows[] = {
        {18.88L, Sway, R::Mechanism, "Uzel 3: posun w"},
        {100, Sway, R::Mechanism, "Uzel 3: posun w"},
        {1.95, TallSway, R::Unbalanced, "Uzel 3: posun u"},
        {0.01L, ShortInBeam, R::ShortMember, "Prut 3"},
        {0.01L, Foot(1e-14L), R::ShortMember, "Prut 4"},
        {0.01L, Foot(1e-320L), R::ShortMember, "Prut 4"},
        {0.01L, Foot(1e-7L), R::Ok, ""},
        {0.01L, BeamTo(5.5L), R::LoadOutside, "Prut 2: zatížení 1"},
        {0.01L, BeamTo(6 - 3e-12L), R::Ok, ""}, // within the load dialog's allowance
        {0.01L, ForceBeforeA, R::LoadOutside, "Prut 2: zatížení 2"},
        {0.01L, NoSupport, R::Mechanism, "Konstrukce nemá žádnou podporu."},
        {0.01L, LoosePart, R::ZeroPivot, "Uzel 6: část konstrukce bez podpory"},
        {0.01L, HugeForce, R::Refused, ""}, // reactions beyond the range of a double
        {0.01L, RigidLinks, R::Ok, ""},
    };
    int row = 0;
    for (const auto& r : rows) {
        ++row;
        TFrame f(210000, r.Area);
        r.Build(f);
        TRecordingDialogs sink;
        TDialogsGuard guard(sink);
        const TSolveStatus s = f.Space.Vypocet();
        EXPECT_EQ(s.Result, r.Result) << row << ": " << (sink.Messages.empty() ? "" : sink.Messages[0]);
        EXPECT_EQ(PopisMista(MistoOdmitnuti(s)), r.Place) << row;
        EXPECT_EQ(sink.Messages.size(), r.Result == R::Ok ? 0u : 1u) << row;
        EXPECT_EQ(f.Space.ResultsValid, r.Result == R::Ok) << row;
        TEquilibrium e;
        if (r.Result == R::Ok) EXPECT_TRUE(KontrolaRovnovahy(f.Space, e) && e.Residual < KResidualLimit / 50) << row;
    }
}
