// Solutions the computation cannot stand behind are refused, with the reason and the place:
// mechanisms whose pivots keep rounding residue, solutions that miss their equations, members far
// shorter than the rest, loads past a member's end, structures without support.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/Diagnostics.h"
#include "analysis/Frames.h"
#include "model/UserDialogs.h"

namespace {
const char* const KMechanism =
    "Zkontrolujte podepření soustavy, prosím. Konstrukce je pravděpodobně pohyblivým mechanismem.";

struct TOutcome {
    TSolveStatus Status;
    std::string Message; // the one message shown; empty when none
    std::string Place;
};

TOutcome Compute(TFrame& f) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    TOutcome o;
    o.Status = f.Space.Vypocet();
    EXPECT_LE(sink.Messages.size(), 1u);
    if (!sink.Messages.empty()) o.Message = sink.Messages[0];
    o.Place = PopisMista(MistoOdmitnuti(o.Status));
    return o;
}

// Four nodes, three pin-ended bars, both feet pinned, a horizontal force at the top: it sways.
void Linkage(TFrame& f, TReal x2, TReal y2, TReal x3, TReal y3, TReal x4) {
    TUzel* n[4] = {f.Node(0, 0), f.Node(x2, y2), f.Node(x3, y3), f.Node(x4, 0)};
    for (int i = 0; i < 3; ++i) f.Member(n[i], n[i + 1], true, true);
    TFrame::Support(n[0], true, true, false);
    TFrame::Support(n[3], true, true, false);
    n[1]->PridejZatizeni(KLoadForce, nullptr, 15, 0);
}

// A fixed portal 4 m high and 6 m wide, a distributed load on the beam and a horizontal force.
void Portal(TFrame& f) {
    TUzel* n[4] = {f.Node(0, 0), f.Node(0, 4), f.Node(6, 4), f.Node(6, 0)};
    for (int i = 0; i < 3; ++i) f.Member(n[i], n[i + 1]);
    TFrame::Support(n[0], true, true, true);
    TFrame::Support(n[3], true, true, true);
    f.Space.Members[1]->PridejZatizeni(KLoadDistributed, nullptr, 0, 6, 10, 10, 90);
    n[1]->PridejZatizeni(KLoadForce, nullptr, 15, 0);
}
} // namespace

// With stiff bars the elimination leaves rounding residue far above 1e-15 on the sway's diagonal;
// measured against the row's own diagonal it is a mechanism whatever the area. A mechanism whose
// residue is larger still misses its equations and is refused by the residual.
TEST(Refusal, SwayMechanismsAreRefusedWhateverTheirStiffness) {
    for (TReal area : {1.0L, 18.88L, 21.56L, 100.0L}) {
        TFrame f(210000, area);
        Linkage(f, -1.2L, 4.8L, 3.7L, 4.1L, 3);
        const TOutcome o = Compute(f);
        EXPECT_EQ(o.Status.Result, TSolveResult::Mechanism) << D(area);
        EXPECT_EQ(o.Message, KMechanism);
        EXPECT_EQ(o.Place, "Uzel 3: posun w");
        EXPECT_FALSE(f.Space.ResultsValid);
    }
    TFrame tall(210000, 1.95); // double values: the sway found by a search over such frames
    Linkage(tall, -1.7, 44.5, 4.6, 44.4, 4.68);
    const TOutcome o = Compute(tall);
    EXPECT_EQ(o.Status.Result, TSolveResult::Unbalanced);
    EXPECT_EQ(o.Message.rfind("Výsledek výpočtu nesplňuje rovnováhu: ‖K·u − f‖/‖f‖ = ", 0), 0u) << o.Message;
    EXPECT_EQ(o.Place, "Uzel 3: posun u");
    EXPECT_NE(o.Message.find("(" + o.Place + ")"), std::string::npos) << o.Message;
}

// A member far shorter than the others is named instead of a mechanism or a residual; one that
// leaves the equations solvable (a short link down to a fixed node) is computed.
TEST(Refusal, MembersFarShorterThanTheOthersAreNamed) {
    const struct {
        TReal Length;
        bool InBeam; // in the loaded beam, else a link from the portal's right foot down to the support
        int Member;  // 0: computed
    } rows[] = {{1e-7L, true, 3}, {1e-14L, false, 4}, {1e-320L, false, 4}, {1e-7L, false, 0}, {1e-3L, true, 0}};
    for (const auto& r : rows) {
        TFrame f;
        std::vector<TUzel*> n{f.Node(0, 0), f.Node(0, 4)};
        if (r.InBeam) n.insert(n.end(), {f.Node(3, 4), f.Node(3 + r.Length, 4), f.Node(6, 4), f.Node(6, 0)});
        else n.insert(n.end(), {f.Node(6, 4), f.Node(6, 0), f.Node(6, -r.Length)});
        for (std::size_t i = 0; i + 1 < n.size(); ++i) f.Member(n[i], n[i + 1]);
        TFrame::Support(n.front(), true, true, true);
        TFrame::Support(n.back(), true, true, true);
        TPrut* beam = f.Space.Members[1];
        beam->PridejZatizeni(KLoadDistributed, nullptr, 0, beam->Length, 10, 10, 90);
        n[1]->PridejZatizeni(KLoadForce, nullptr, 15, 0);
        const TOutcome o = Compute(f);
        if (r.Member == 0) {
            EXPECT_EQ(o.Status.Result, TSolveResult::Ok) << D(r.Length) << " " << o.Message;
            continue;
        }
        EXPECT_EQ(o.Status.Result, TSolveResult::ShortMember) << D(r.Length) << " " << o.Message;
        EXPECT_EQ(o.Status.Member, r.Member);
        EXPECT_EQ(o.Message.rfind("Prut " + std::to_string(r.Member) + " je příliš krátký", 0), 0u) << o.Message;
        EXPECT_EQ(o.Place, "Prut " + std::to_string(r.Member));
        EXPECT_FALSE(f.Space.ResultsValid);
    }
}

// A node move that shortens a member keeps its loads where they were; the computation refuses
// a load that now reaches past the member's end, within the load dialog's rounding allowance.
TEST(Refusal, LoadsPastTheMembersEndAreNamed) {
    const struct {
        TReal NodeX;    // node 3 moved along the beam
        TReal Position; // a force on the beam at this distance from node 2 (none: -1)
        bool Refused;
        int Load;
    } rows[] = {{6, -1, false, 0},         {5.5L, -1, true, 1}, {6 * (1 - 0.5e-12L), -1, false, 0},
                {6 * (1 - 2e-12L), -1, true, 1}, {7, 6.5L, false, 0}, {6, 6.5L, true, 2}, {6, -0.1L, true, 2}};
    for (const auto& r : rows) {
        TFrame f;
        Portal(f);
        TPrut* beam = f.Space.Members[1];
        if (r.Position != -1) beam->PridejZatizeni(KLoadForce, nullptr, r.Position, 0, 5, 0, 90);
        f.Space.Nodes[2]->X = r.NodeX;
        for (TPrut* m : f.Space.Members) m->Geometrie();
        const TOutcome o = Compute(f);
        if (!r.Refused) {
            EXPECT_EQ(o.Status.Result, TSolveResult::Ok) << D(r.NodeX) << " " << o.Message;
            continue;
        }
        EXPECT_EQ(o.Status, (TSolveStatus{TSolveResult::LoadOutside, 0, 2, r.Load})) << D(r.NodeX);
        EXPECT_EQ(o.Message.rfind("Prut 2, zatížení " + std::to_string(r.Load) + ": Zatížení přesahuje mimo prut", 0),
                  0u)
            << o.Message;
        EXPECT_EQ(o.Place, "Prut 2: zatížení " + std::to_string(r.Load));
        EXPECT_FALSE(f.Space.ResultsValid);
        EXPECT_TRUE(f.Space.Nodes[1]->Displacement.empty()); // refused before anything was computed
        EXPECT_EQ(D(beam->Loads[0]->C), 6.0);                // the load keeps what it had
    }
}

// A mechanism of a structure without any support says so instead of naming a degree of freedom;
// a part without support names its node. The message stays the elimination's.
TEST(Refusal, StructuresWithoutSupportSaySo) {
    TFrame whole;
    Portal(whole);
    for (TUzel* n : whole.Space.Nodes) TFrame::Support(n, false, false, false);
    const TOutcome o = Compute(whole);
    EXPECT_TRUE(o.Status.Result == TSolveResult::Mechanism || o.Status.Result == TSolveResult::ZeroPivot);
    EXPECT_TRUE(o.Message == KMechanism || o.Message.rfind("Na diagonále", 0) == 0) << o.Message;
    EXPECT_EQ(o.Place, "Konstrukce nemá žádnou podporu.");

    TFrame part;
    Portal(part);
    TUzel* a = part.Node(10, 0);
    TUzel* b = part.Node(14, 0);
    part.Member(a, b);
    b->PridejZatizeni(KLoadForce, nullptr, 15, 90);
    const TOutcome p = Compute(part);
    EXPECT_NE(p.Status.Result, TSolveResult::Ok);
    EXPECT_EQ(p.Status.Unsupported, TUnsupported::Part);
    EXPECT_EQ(p.Place.rfind("Uzel ", 0), 0u) << p.Place;
    EXPECT_NE(p.Place.find(": část konstrukce bez podpory"), std::string::npos) << p.Place;
}

// Results beyond the range of a double (a moment of 3E308 kNm) are infinite to every picture and
// report: refused by name.
TEST(Refusal, ResultsBeyondTheRangeOfADoubleAreRefused) {
    TFrame f;
    TUzel* a = f.Node(0, 0);
    TUzel* b = f.Node(3, 0);
    f.Member(a, b);
    TFrame::Support(a, true, true, true);
    b->PridejZatizeni(KLoadForce, nullptr, 1e308L, 90);
    const TOutcome o = Compute(f);
    EXPECT_EQ(o.Status.Result, TSolveResult::Refused);
    EXPECT_NE(o.Message.find("výsledek výpočtu není konečné číslo"), std::string::npos) << o.Message;
    EXPECT_FALSE(f.Space.ResultsValid);
}

// Sound frames stay well under the bound: the bundled examples, with rigid links (a modulus raised
// a millionfold) in them, and a cantilever divided into a thousand members.
TEST(Refusal, SoundFramesIncludingRigidLinksComputeUnderTheBound) {
    auto check = [](TMKPSpace& s, const std::string& what) {
        TRecordingDialogs sink;
        TDialogsGuard guard(sink);
        s.TraceEnabled = false;
        ASSERT_EQ(s.Vypocet().Result, TSolveResult::Ok) << what << (sink.Messages.empty() ? "" : sink.Messages[0]);
        TEquilibrium e;
        ASSERT_TRUE(KontrolaRovnovahy(s, e));
        EXPECT_LT(D(e.Residual), D(KResidualLimit) / 50) << what;
    };
    for (const char* name : {"portal-frame", "continuous-beam", "three-hinged-frame", "truss"})
        for (int variant = 0; variant < 3; ++variant) {
            TMKPSpace s;
            s.NactiProjekt(std::string(KORVAN_SOURCE_DIR) + "/examples/" + name + ".inp");
            if (variant == 1)
                for (TMaterial* m : s.Materials) m->E *= 1e6L;
            if (variant == 2) {
                // The first member a rigid link: a material of its own, its modulus × 10⁶.
                TPrut* m = s.Members[0];
                TMaterial* rigid = s.PridejMaterial("R", m->Section->Material->E * 1e6L, 0);
                m->Section = s.PridejProfil("R", rigid, m->Section->A, m->Section->Iy, m->Section->Iz);
            }
            check(s, std::string(name) + " " + std::to_string(variant));
        }
    TFrame links;
    TMaterial* rigid = links.Space.PridejMaterial("R", 210000e6L, 0);
    TProfil* link = links.Space.PridejProfil("R", rigid, 0.01, 1e-4, 5e-5);
    TUzel* n[6] = {links.Node(0, 0), links.Node(0, 4), links.Node(0.3L, 4),
                   links.Node(5.7L, 4), links.Node(6, 4), links.Node(6, 0)};
    for (int i = 0; i < 5; ++i)
        links.Space.PridejPrut(n[i], n[i + 1], i == 1 || i == 3 ? link : links.Sec, false, i + 1, false, false);
    TFrame::Support(n[0], true, true, true);
    TFrame::Support(n[5], true, true, true);
    links.Space.Members[2]->PridejZatizeni(KLoadDistributed, nullptr, 0, 5.4L, 10, 10, 90);
    n[1]->PridejZatizeni(KLoadForce, nullptr, 10, 0);
    check(links.Space, "portal with rigid links");

    TFrame cantilever;
    TUzel* previous = cantilever.Node(0, 0);
    TFrame::Support(previous, true, true, true);
    for (int i = 1; i <= 1000; ++i) {
        TUzel* next = cantilever.Node(5.0L * i / 1000, 0);
        cantilever.Member(previous, next);
        previous = next;
    }
    previous->PridejZatizeni(KLoadForce, nullptr, 10, 90);
    check(cantilever.Space, "cantilever of 1000 members");
}
