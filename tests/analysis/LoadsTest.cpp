#include <gtest/gtest.h>

#include <cmath>

#include "analysis/Frames.h"

namespace {
struct TBeam {
    TFrame F;
    TPrut* M;
    explicit TBeam(TReal l, bool ha = false, bool hb = false, TReal angle = 0) {
        TUzel* a = F.Node(0, 0);
        TUzel* b = F.Node(l * std::cos(DegToRad(angle)), -l * std::sin(DegToRad(angle)));
        M = F.Member(a, b, ha, hb);
    }
    std::vector<double> MabL() {
        M->SestavMatice();
        std::vector<double> v;
        for (int i = 0; i < 6; ++i) v.push_back(D(M->MabL[i][1]));
        M->UvolniMatice();
        return v;
    }
};

void ExpectVector(const std::vector<double>& got, const std::vector<double>& want, const char* what) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-12 * (1 + std::fabs(want[i]))) << what << " row " << i;
}
} // namespace

TEST(MemberLoads, FixedEndForcesOfSingleLoads) {
    const double l = 4, q = 3, p = 10, m = 6;
    struct Row {
        const char* what;
        bool ha, hb;
        std::uint8_t kind;
        double a, c, q1, q2, angle;
        std::vector<double> want;
    } rows[] = {
        {"uniform, rigid", false, false, KLoadDistributed, 0, l, q, q, 90,
         {-q * l * l / 12, 0, -q * l / 2, q * l * l / 12, 0, -q * l / 2}},
        {"uniform, hinge at b", false, true, KLoadDistributed, 0, l, q, q, 90,
         {-q * l * l / 8, 0, -5 * q * l / 8, 0, 0, -3 * q * l / 8}},
        {"uniform, pin-pin", true, true, KLoadDistributed, 0, l, q, q, 90, {0, 0, -q * l / 2, 0, 0, -q * l / 2}},
        {"point force at mid", false, false, KLoadForce, l / 2, 0, p, 0, 90, {-p * l / 8, 0, -p / 2, p * l / 8, 0, -p / 2}},
        {"axial point force at L/4", false, false, KLoadForce, l / 4, 0, p, 0, 0, {0, -3 * p / 4, 0, 0, -p / 4, 0}},
        {"moment at mid", false, false, KLoadMoment, l / 2, 0, m, 0, 0,
         {m / 4, 0, 3 * m / (2 * l), m / 4, 0, -3 * m / (2 * l)}},
        {"moment, hinge at b", false, true, KLoadMoment, 1, 0, m, 0, 0,
         {(l * l - 3 * 9) * m / (2 * l * l), 0, m / l + (l * l - 27) * m / (2 * l * l * l), 0, 0,
          -m / l - (l * l - 27) * m / (2 * l * l * l)}},
        // Triangular load rising to q at b: qL²/30 and qL²/20.
        {"triangular, rigid", false, false, KLoadDistributed, 0, l, 0, q, 90,
         {-q * l * l / 30, 0, -q * l / 6 + q * l / 60, q * l * l / 20, 0, -q * l / 3 - q * l / 60}},
        // A load of no length contributes nothing (and divides by nothing).
        {"zero length", false, false, KLoadDistributed, 1, 0, q, q, 90, {0, 0, 0, 0, 0, 0}},
    };
    for (const Row& r : rows) {
        TBeam b(l, r.ha, r.hb);
        b.M->PridejZatizeni(r.kind, nullptr, r.a, r.c, r.q1, r.q2, r.angle);
        ExpectVector(b.MabL(), r.want, r.what);
    }
}

TEST(MemberLoads, PartialTrapezoidMatchesTheBeamIntegrals) {
    // Ma = -∫ q x (L-x)² dx / L², Mb = ∫ q x² (L-x) dx / L² over the loaded part, by Simpson.
    const double l = 7, a = 1.5, c = 3, q1 = 2, q2 = 9;
    TBeam b(l);
    b.M->PridejZatizeni(KLoadDistributed, nullptr, a, c, q1, q2, 90);
    auto v = b.MabL();
    double ma = 0, mb = 0, va = 0;
    const int n = 2000;
    for (int i = 0; i <= n; ++i) {
        double x = a + c * i / n, q = q1 + (q2 - q1) * (x - a) / c;
        double w = (i == 0 || i == n) ? 1 : (i % 2 ? 4 : 2);
        ma -= w * q * x * (l - x) * (l - x) / (l * l);
        mb += w * q * x * x * (l - x) / (l * l);
        va -= w * q * (l - x) / l;
    }
    const double h = c / n / 3;
    EXPECT_NEAR(v[0], ma * h, 1e-9);
    EXPECT_NEAR(v[3], mb * h, 1e-9);
    EXPECT_NEAR(v[2], va * h + (ma * h + mb * h) / l, 1e-9);
}

TEST(MemberLoads, HingeRulesUseHalfTheOtherEndMoment) {
    auto rigid = [](std::uint8_t kind, TReal a, TReal c, TReal q1, TReal q2) {
        TBeam b(5);
        b.M->PridejZatizeni(kind, nullptr, a, c, q1, q2, 80);
        return b.MabL();
    };
    struct Row {
        std::uint8_t kind;
        double a, c, q1, q2;
    } rows[] = {{KLoadDistributed, 0.5, 3, 2, 7}, {KLoadForce, 1.2, 0, 9, 0}, {KLoadMoment, 3.1, 0, 4, 0}};
    for (const Row& r : rows) {
        auto v = rigid(r.kind, r.a, r.c, r.q1, r.q2);
        TBeam hb(5, false, true);
        hb.M->PridejZatizeni(r.kind, nullptr, r.a, r.c, r.q1, r.q2, 80);
        auto w = hb.MabL();
        EXPECT_NEAR(w[0], v[0] - v[3] / 2, 1e-12) << int(r.kind);
        EXPECT_EQ(w[3], 0.0);
        TBeam ha(5, true, false);
        ha.M->PridejZatizeni(r.kind, nullptr, r.a, r.c, r.q1, r.q2, 80);
        auto u = ha.MabL();
        EXPECT_NEAR(u[3], v[3] - v[0] / 2, 1e-12) << int(r.kind);
        EXPECT_EQ(u[0], 0.0);
        // The end shears keep the moments in balance: rows 2 and 5 sum to the transverse load.
        EXPECT_NEAR(w[2] + w[5], v[2] + v[5], 1e-12);
    }
}

TEST(MemberLoads, TwoLoadsAddAndPointLoadsFollowTheLength) {
    TBeam one(6), two(6), both(6);
    one.M->PridejZatizeni(KLoadForce, nullptr, 2, 0, 5, 0, 70);
    two.M->PridejZatizeni(KLoadDistributed, nullptr, 1, 4, 3, 1, 100);
    both.M->PridejZatizeni(KLoadForce, nullptr, 2, 0, 5, 0, 70);
    both.M->PridejZatizeni(KLoadDistributed, nullptr, 1, 4, 3, 1, 100);
    auto a = one.MabL(), b = two.MabL(), c = both.MabL();
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(c[i], a[i] + b[i], 1e-12);
    // A point force keeps its A when the member becomes longer; B follows.
    TZatizeni* z = one.M->Loads[0];
    z->C = 1;
    z->Q2 = 4;
    one.M->NastavDelku(8);
    one.M->UpravPolohyZatizeni();
    EXPECT_EQ(D(z->B), 6.0);
    EXPECT_EQ(D(z->C), 0.0);
    EXPECT_EQ(D(z->Q2), 0.0);
    one.M->PridejZatizeni(KLoadMoment, nullptr, 1, 0, 2, 0, 33);
    one.M->UpravPolohyZatizeni();
    EXPECT_EQ(D(one.M->Loads[1]->Angle), 0.0);
}

TEST(MemberLoads, SelfWeightUsesTheCoefficientAndPointsDown) {
    TBeam vertical(3, false, false, 90);
    vertical.F.Space.NastavVlastniTihu(true);
    auto v = vertical.MabL();
    EXPECT_EQ(v[0], 0.0);
    EXPECT_NEAR(v[2], 0.0, 1e-15);
    const double q = 7850 * 0.01 / 100;
    EXPECT_NEAR(v[1], -q * 3 / 2, 1e-12); // purely axial
    TBeam beam(4);
    beam.F.Space.NastavVlastniTihu(true);
    auto w1 = beam.MabL();
    beam.F.Space.WeightCase.Factor = 1.35L;
    auto w135 = beam.MabL();
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(w135[i], 1.35 * w1[i], 1e-12);
    EXPECT_NEAR(w1[0], -q * 16 / 12, 1e-12);
}

TEST(MemberLoads, GlobalVectorCarriesCodesAndTransformsByTI) {
    TBeam b(5, false, false, 90); // pointing down: local u is global w
    b.M->PridejZatizeni(KLoadForce, nullptr, 1, 0, 8, 0, 0);
    b.M->SestavMatice();
    EXPECT_EQ(D(b.M->MabG[0][0]), 1.0);
    EXPECT_EQ(D(b.M->MabG[5][0]), 6.0);
    EXPECT_NEAR(D(b.M->MabG[2][1]), D(b.M->MabL[1][1]), 1e-15);
    EXPECT_NEAR(D(b.M->MabG[1][1]), -D(b.M->MabL[2][1]), 1e-15);
    b.M->UvolniMatice();
}

TEST(NodeLoads, LoadVectorInTheSupportSystem) {
    TUzel n(2, 0, 0);
    n.DofU.Angle = n.DofW.Angle = 30;
    n.PridejZatizeni(KLoadForce, nullptr, 10, 90);
    n.PridejZatizeni(KLoadMoment, nullptr, 4, 0);
    n.PridejZatizeni(KLoadMoment, nullptr, 1, 0);
    n.PridejZatizeni(KLoadDistributed, nullptr, 99, 0); // not a nodal load kind: ignored
    n.SestavVektorZatizeni();
    EXPECT_EQ(D(n.LoadVector[0][0]), 4.0);
    EXPECT_EQ(D(n.LoadVector[2][0]), 6.0);
    EXPECT_EQ(D(n.LoadVector[0][1]), 5.0);
    EXPECT_NEAR(D(n.LoadVector[1][1]), 5.0, 1e-15);
    EXPECT_NEAR(D(n.LoadVector[2][1]), 10 * std::sqrt(0.75), 1e-14);
    n.UvolniVektorZatizeni();
    EXPECT_TRUE(n.LoadVector.empty());
}

// A frame edited after its loads were placed (a node moved, a section changed) computes as the
// same frame built that way from the start (to rounding: the turned member's angles are formed
// in another order): self-weight follows the member's length, direction
// and section, a distributed load keeps its start and length, and a member hinged at a, turned by
// the computation, keeps its self-weight pointing down the next time.
TEST(MemberLoads, LoadsFollowEditsOfTheirMembers) {
    struct TEdit {
        TReal X3, Y3;
        bool Heavier;
    } edits[] = {{8, 5, false}, {5, 4, true}, {6, 2, true}, {7.5, 6, false}};
    auto build = [](TFrame& f, TReal x3, TReal y3, bool heavier) {
        TProfil* heavy = f.Space.PridejProfil("H", f.Mat, 0.03, 4e-4, 2e-4);
        TUzel* n1 = f.Node(0, 0);
        TUzel* n2 = f.Node(0, -4);
        TUzel* n3 = f.Node(x3, -y3);
        TUzel* n4 = f.Node(6, 0);
        f.Member(n1, n2)->Section = heavier ? heavy : f.Sec;
        f.Member(n2, n3)->PridejZatizeni(KLoadDistributed, nullptr, 1, 3, 5, 8, 90);
        f.Member(n3, n4, true, false);
        TFrame::Support(n1, true, true, true);
        TFrame::Support(n4, true, true, false);
        f.Space.WeightCase.Factor = 1.35L;
        f.Space.NastavVlastniTihu(true);
    };
    auto results = [](TFrame& f) {
        EXPECT_EQ(f.Space.Vypocet().Result, TSolveResult::Ok);
        std::vector<TReal> v;
        for (TUzel* n : f.Space.Nodes) {
            for (int i = 0; i < 3; ++i) v.push_back(n->Displacement[i]);
            for (const TNodeDof* dof : {&n->DofRot, &n->DofU, &n->DofW}) v.push_back(dof->Reaction);
        }
        for (TPrut* m : f.Space.Members)
            for (int i = 0; i < 6; ++i) v.push_back(m->Sa[i]), v.push_back(m->Sb[i]);
        return v;
    };
    for (const TEdit& e : edits) {
        TFrame edited, built;
        build(edited, 6, 4, false);
        results(edited);
        edited.Space.Nodes[2]->X = e.X3, edited.Space.Nodes[2]->Y = -e.Y3;
        edited.Space.Members[0]->Section = edited.Space.Sections[e.Heavier ? 1 : 0];
        edited.Space.Members.Precisluj();
        build(built, e.X3, e.Y3, e.Heavier);
        const std::vector<TReal> want = results(built), got = results(edited);
        ASSERT_EQ(got.size(), want.size());
        TReal scale = 0;
        for (TReal v : want) scale = std::max(scale, std::fabs(v));
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(D(got[i]), D(want[i]), 1e-12 * D(scale)) << "edit to (" << D(e.X3) << ", " << D(e.Y3) << "), value " << i;
        const std::vector<TReal> again = results(edited);
        for (std::size_t i = 0; i < got.size(); ++i) EXPECT_TRUE(SameBits(again[i], got[i])) << "recomputed, value " << i;
    }
}
