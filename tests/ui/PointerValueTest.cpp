// The value under the pointer against the table along the member, on random frames with hinges
// at random (members the live computation turns round among them), loads of every kind and three
// load cases: the value of a case and the extremes of an envelope at every station are the
// table's and the envelope's own, bit for bit; between stations they are what a table with a
// station there gives.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "analysis/En1990.h"
#include "analysis/Envelope.h"
#include "analysis/Frames.h"
#include "analysis/MemberTable.h"
#include "canvas/PointerValue.h"
#include "model/UserDialogs.h"
#include "ui/editing/LiveResults.h"

namespace {
void Build(TFrame& f, unsigned seed) {
    RandomFrame(f, seed, true);
    TMKPSpace& s = f.Space;
    std::mt19937 rng(seed);
    for (TPrut* m : s.Members) {
        const unsigned hinges = rng() % 4;
        m->HingeA = hinges == 1 || hinges == 3;
        m->HingeB = hinges >= 2;
    }
    for (TUzel* n : s.Nodes) {
        bool rigid = false;
        for (const TPrut* m : s.Members)
            rigid = rigid || (m->NodeA == n && !m->HingeA) || (m->NodeB == n && !m->HingeB);
        if (!n->DofU.Fixed && !n->DofW.Fixed && rng() % 2) TFrame::Support(n, true, true, false, rng() % 8 * 15.0L);
        n->DofRot.Fixed = n->DofRot.Fixed || !rigid;
    }
    TZatezovaciStav* cases[3] = {s.PridejZatezovaciStav("G", TCaseKind::Permanent),
                                 s.PridejZatezovaciStav("Q", TCaseKind::Variable, TCaseCategory::B),
                                 s.PridejZatezovaciStav("W", TCaseKind::Variable, TCaseCategory::Wind)};
    for (TUzel* n : s.Nodes)
        for (TZatizeni* z : n->Loads) s.NastavStavZatizeni(*z, cases[rng() % 3]);
    for (TPrut* m : s.Members)
        for (TZatizeni* z : m->Loads)
            if (z->Kind != KLoadSelfWeight) s.NastavStavZatizeni(*z, cases[rng() % 3]);
    s.VygenerujKombinace({});
}

TMatrix Table(TPrut& m) {
    SestavPrubehy(m);
    TMatrix r = m.Results;
    m.UvolniPrubehy();
    return r;
}
} // namespace

TEST(PointerValueTest, ValueAtAPlaceIsTheTablesValueThere) {
    TRecordingDialogs quiet;
    TDialogsGuard guard(quiet);
    int stations = 0, between = 0, turned = 0, envelopes = 0;
    for (unsigned seed = 1; seed <= 150; ++seed) {
        TFrame f;
        Build(f, seed);
        TMKPSpace& s = f.Space;
        ASSERT_TRUE(s.NastavVysledky({TResultsKind::Envelope, {}, {}, TEnvelopeScope::All}));
        if (!PrubeznyVypocet(s).Ok()) continue;
        // The envelope the live computation formed: at its stations the extremes and their
        // combinations are its own (members it turned round read from their own node a).
        ASSERT_TRUE(s.Envelope) << seed;
        const TObalka& e = *s.Envelope;
        for (int i = 0; i < s.Members.Count(); ++i) {
            const TObalka::TMemberEnvelope& me = e.Members[std::size_t(i)];
            for (std::size_t j = 0; j < me.X.size(); ++j) {
                if (j > 0 && me.X[j] == me.X[j - 1]) continue;
                std::array<TExtreme, TObalka::KQuantities> at;
                ASSERT_TRUE(ObalkaVMiste(s, e, i, me.X[j], at));
                for (std::size_t q = 0; q < at.size(); ++q) {
                    const TExtreme& want = me.Values[j][q];
                    ASSERT_TRUE(SameBits(at[q].Max, want.Max) && SameBits(at[q].Min, want.Min))
                        << seed << ' ' << i << ' ' << j << ' ' << q;
                    EXPECT_EQ(at[q].MaxBy, want.MaxBy);
                    EXPECT_EQ(at[q].MinBy, want.MinBy);
                }
                ++envelopes;
            }
        }

        // A combination at random: every member's table is that state's.
        std::mt19937 rng(seed);
        const TKombinace* shown = s.Combinations[int(rng() % unsigned(s.Combinations.Count()))];
        ASSERT_TRUE(s.NastavVysledky({TResultsKind::Combination, shown->Name, {}, TEnvelopeScope::All}));
        s.SetTypZobrazeni(3);
        for (int i = 0; i < s.Members.Count(); ++i) {
            TPrut& m = *s.Members[i];
            if (!m.HasResults()) continue;
            turned += m.ResultsTurned;
            const TMatrix r = Table(m);
            const std::size_t n = r[0].size();
            for (std::size_t j = 0; j < n; ++j) {
                if (j > 0 && r[0][j] == r[0][j - 1]) continue; // the side of node a of a jump
                TVector v;
                ASSERT_TRUE(HodnotyVMiste(m, r[0][j], v));
                for (std::size_t row = 1; row < 7; ++row)
                    ASSERT_TRUE(SameBits(v[row], r[row][j])) << seed << ' ' << i << ' ' << j << ' ' << row;
                TPointerValue p;
                ASSERT_TRUE(HodnotaPodUkazatelem(s, {i, r[0][j]}, p));
                const bool rightwards = m.Angle <= 90 || m.Angle >= 270;
                EXPECT_EQ(p.Value[0], rightwards ? r[1][j] : -r[1][j]);
                ++stations;
            }
            // Halfway between two division points: a station of the table with twice the divisions.
            const int divisions = m.Divisions;
            const int k = int(rng() % unsigned(divisions));
            m.Divisions = 2 * divisions;
            const TMatrix fine = Table(m);
            m.Divisions = divisions;
            const TReal half = (m.Length * (2 * k + 1)) / (2 * divisions);
            std::size_t j = 0;
            for (std::size_t c = 1; c < fine[0].size(); ++c)
                if (std::fabs(fine[0][c] - half) < std::fabs(fine[0][j] - half)) j = c;
            const TReal x = fine[0][j];
            TVector v;
            ASSERT_TRUE(HodnotyVMiste(m, x, v));
            for (std::size_t row = 1; row < 7; ++row) {
                TReal scale = 1e-9L;
                for (const TReal e : fine[row]) scale = std::max(scale, std::fabs(e));
                EXPECT_NEAR(D(v[row]), D(fine[row][j]), D(1e-9L * scale)) << seed << ' ' << i << ' ' << row;
            }
            ++between;
        }
    }
    EXPECT_GT(stations, 2000);
    EXPECT_GT(between, 200);
    EXPECT_GT(turned, 20);
    EXPECT_GT(envelopes, 1000);
}

// The member under a point: the nearest axis within the pixels, its foot on the member.
TEST(PointerValueTest, MemberUnderAPoint) {
    TFrame f;
    TUzel *a = f.Node(0, 0), *b = f.Node(4, 0), *c = f.Node(4, 3);
    f.Member(a, b);
    f.Member(c, b); // from above: x grows downwards
    TMKPSpace& s = f.Space;
    s.Members.Precisluj();
    s.SetZoom(100); // 1 cm a pixel
    struct TCase {
        TReal X, Y;
        int Member;
        TReal At;
    } cases[] = {{1.0L, 0.04L, 0, 1.0L}, {1.0L, -0.05L, 0, 1.0L}, {1.0L, 0.07L, -1, 0}, {4.03L, 1.0L, 1, 2.0L},
                 {3.9L, 0.02L, 0, 3.9L}, {4.5L, 0.0L, -1, 0}, {-0.01L, 0.0L, -1, 0}};
    for (const TCase& t : cases) {
        const TMemberPoint p = PrutVBode(s, t.X, t.Y);
        EXPECT_EQ(p.Member, t.Member) << D(t.X) << ' ' << D(t.Y);
        if (p.Member >= 0) {
            EXPECT_NEAR(D(p.X), D(t.At), 1e-12);
        }
    }
}
