// Values the computation cannot work with are refused before it starts, and a structure whose
// results would not be numbers is refused instead of reported.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "Frames.h"
#include "analysis/ModelCheck.h"
#include "model/UserDialogs.h"

namespace {
const char* const KMechanism =
    "Zkontrolujte podepření soustavy, prosím. Konstrukce je pravděpodobně pohyblivým mechanismem.";
const TReal KInf = std::numeric_limits<TReal>::infinity();
const TReal KNaN = std::numeric_limits<TReal>::quiet_NaN();

// A cantilever of 4 m fixed at node 1 with a downward force of 10 kN at its end.
struct TCantilever : TFrame {
    TUzel* Fixed;
    TUzel* Free;
    TPrut* Beam;
    TCantilever() {
        Fixed = Node(0, 0);
        Free = Node(4, 0);
        Beam = Member(Fixed, Free);
        Support(Fixed, true, true, true);
        Free->PridejZatizeni(KLoadForce, nullptr, 10, 90);
    }
};

// A pin-jointed triangle: every member hinged at both ends, pinned at node 1, roller at node 2.
struct TTruss : TFrame {
    TTruss() {
        TUzel* a = Node(0, 0);
        TUzel* b = Node(4, 0);
        TUzel* c = Node(2, 2);
        Member(a, b, true, true);
        Member(b, c, true, true);
        Member(c, a, true, true);
        Support(a, true, true, false);
        Support(b, false, true, false);
        c->PridejZatizeni(KLoadForce, nullptr, 15, 90);
    }
};

bool ResultsAreNumbers(const TMKPSpace& space) {
    for (const TUzel* n : space.Nodes)
        for (TReal v : n->Displacement)
            if (!std::isfinite(v)) return false;
    return true;
}
} // namespace

TEST(NotANumber, ValuesThatCannotBeComputedAreRefusedByName) {
    struct TCase {
        const char* Name;
        std::function<void(TFrame&)> Spoil;
        const char* Message; // empty: the computation succeeds
    } const cases[] = {
        {"E zero", [](TFrame& f) { f.Mat->E = 0; }, "Materiál \"S\": modul pružnosti musí být kladný."},
        {"E negative", [](TFrame& f) { f.Mat->E = -210000; }, "Materiál \"S\": modul pružnosti musí být kladný."},
        {"E infinite", [](TFrame& f) { f.Mat->E = KInf; }, "Materiál \"S\": modul pružnosti musí být kladný."},
        {"E beyond a double, still a number", [](TFrame& f) { f.Mat->E = 1e400L; }, ""},
        {"E whose stiffness overflows", [](TFrame& f) { f.Mat->E = 1e4932L; },
         "Prut 1: tuhost prutu není konečné kladné číslo."},
        {"density NaN", [](TFrame& f) { f.Mat->D = KNaN; }, "Materiál \"S\": hustota není konečné číslo."},
        {"A zero", [](TFrame& f) { f.Sec->A = 0; }, "Profil \"P\": plocha musí být kladná."},
        {"A NaN", [](TFrame& f) { f.Sec->A = KNaN; }, "Profil \"P\": plocha musí být kladná."},
        {"Iy zero", [](TFrame& f) { f.Sec->Iy = 0; }, "Profil \"P\": moment setrvačnosti musí být kladný."},
        {"Iz zero, not turned", [](TFrame& f) { f.Sec->Iz = 0; }, ""},
        {"Iz zero, turned",
         [](TFrame& f) {
             f.Sec->Iz = 0;
             f.Space.Members[0]->SectionTurned = true;
         },
         "Profil \"P\": moment setrvačnosti musí být kladný."},
        {"unused section with A zero",
         [](TFrame& f) { f.Space.PridejProfil("Prázdný", f.Mat, 0, 0, 0); }, ""},
        {"load position 1e2000",
         [](TFrame& f) { f.Space.Members[0]->PridejZatizeni(KLoadForce, nullptr, 1e2000L, 0, 5, 0, 90); },
         "Prut 1: poloha nebo délka zatížení není konečné číslo."},
        {"load length infinite",
         [](TFrame& f) { f.Space.Members[0]->PridejZatizeni(KLoadDistributed, nullptr, 0, KInf, 5, 5, 90); },
         "Prut 1: poloha nebo délka zatížení není konečné číslo."},
        {"member load value NaN",
         [](TFrame& f) { f.Space.Members[0]->PridejZatizeni(KLoadDistributed, nullptr, 0, 1, KNaN, 5, 90); },
         "Prut 1: hodnota zatížení není konečné číslo."},
        {"nodal load angle infinite",
         [](TFrame& f) { f.Space.Nodes[1]->PridejZatizeni(KLoadForce, nullptr, 1, KInf); },
         "Uzel 2: úhel zatížení není konečné číslo."},
        {"self-weight factor infinite",
         [](TFrame& f) {
             f.Space.WeightCase.Factor = KInf;
             f.Space.NastavVlastniTihu(true);
         },
         "Prut 1: součinitel zatížení není konečné číslo."},
        {"load whose fixed-end forces overflow",
         [](TFrame& f) { f.Space.Members[0]->PridejZatizeni(KLoadForce, nullptr, 1, 0, 1e4932L, 0, 90); },
         "Prut 1: zatížení dává síly, které nejsou konečná čísla."},
        {"support angle NaN", [](TFrame& f) { f.Space.Nodes[0]->DofU.Angle = KNaN; },
         "Uzel 1: úhel podpory není konečné číslo."},
    };
    for (const TCase& c : cases) {
        TCantilever f;
        c.Spoil(f);
        TRecordingDialogs sink;
        TDialogsGuard guard(sink);
        const TSolveStatus status = f.Space.Vypocet();
        if (*c.Message == '\0') {
            EXPECT_EQ(status.Result, TSolveResult::Ok) << c.Name;
            EXPECT_TRUE(sink.Messages.empty()) << c.Name;
            EXPECT_TRUE(f.Space.ResultsValid) << c.Name;
            EXPECT_TRUE(ResultsAreNumbers(f.Space)) << c.Name;
            continue;
        }
        EXPECT_EQ(status.Result, TSolveResult::Refused) << c.Name;
        ASSERT_EQ(sink.Messages.size(), 1u) << c.Name;
        EXPECT_EQ(sink.Messages[0], c.Message) << c.Name;
        EXPECT_FALSE(f.Space.ResultsValid) << c.Name;
        // Refused before anything was computed: no result of this model was stored.
        EXPECT_TRUE(f.Free->Displacement.empty()) << c.Name;
    }
}

// A degree of freedom that nothing resists keeps its unit diagonal while unloaded (the pinned
// truss nodes' rotations); a load on one makes the structure a mechanism.
TEST(NotANumber, LoadOnADegreeOfFreedomWithoutStiffnessIsAMechanism) {
    struct TCase {
        const char* Name;
        std::function<void(TFrame&)> Change;
        bool Mechanism;
    } const cases[] = {
        {"pinned truss, load at a joint", [](TFrame&) {}, false},
        {"moment on a pinned joint",
         [](TFrame& f) { f.Space.Nodes[2]->PridejZatizeni(KLoadMoment, nullptr, 3, 0); }, true},
        {"force on a node without members",
         [](TFrame& f) { f.Node(10, 10)->PridejZatizeni(KLoadForce, nullptr, 15, 90); }, true},
        {"unloaded node without members", [](TFrame& f) { f.Node(10, 10); }, false},
        {"horizontal force at the top joint",
         [](TFrame& f) { f.Space.Nodes[2]->PridejZatizeni(KLoadForce, nullptr, 15, 0); }, false},
    };
    for (const TCase& c : cases) {
        TTruss f;
        c.Change(f);
        TRecordingDialogs sink;
        TDialogsGuard guard(sink);
        const TSolveStatus status = f.Space.Vypocet();
        if (c.Mechanism) {
            EXPECT_EQ(status.Result, TSolveResult::Mechanism) << c.Name;
            ASSERT_EQ(sink.Messages.size(), 1u) << c.Name;
            EXPECT_EQ(sink.Messages[0], KMechanism) << c.Name;
            EXPECT_FALSE(f.Space.ResultsValid) << c.Name;
        } else {
            EXPECT_EQ(status.Result, TSolveResult::Ok) << c.Name;
            EXPECT_TRUE(sink.Messages.empty()) << c.Name << ": " << (sink.Messages.empty() ? "" : sink.Messages[0]);
            EXPECT_TRUE(f.Space.ResultsValid) << c.Name;
            EXPECT_TRUE(ResultsAreNumbers(f.Space)) << c.Name;
        }
    }
}

// Results that come out as no number (here forced by a corrupted displacement) are named.
TEST(NotANumber, ResultsThatAreNotNumbersAreNamed) {
    TCantilever f;
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    ASSERT_EQ(f.Space.Vypocet().Result, TSolveResult::Ok);
    EXPECT_EQ(NajdiNekonecnyVysledek(f.Space), "");
    EXPECT_EQ(NajdiNekonecnyPrubeh(f.Space), "");
    f.Free->Displacement[2] = KNaN;
    EXPECT_EQ(NajdiNekonecnyVysledek(f.Space), "Uzel 2: výsledek výpočtu není konečné číslo.");
    f.Free->Displacement[2] = 0;
    f.Fixed->DofW.Reaction = KInf;
    EXPECT_EQ(NajdiNekonecnyVysledek(f.Space), "Uzel 1: výsledek výpočtu není konečné číslo.");
    f.Fixed->DofW.Reaction = 0;
    f.Beam->Sa[1] = -KInf;
    EXPECT_EQ(NajdiNekonecnyVysledek(f.Space), "Prut 1: výsledek výpočtu není konečné číslo.");
    EXPECT_EQ(NajdiNekonecnyPrubeh(f.Space), "Prut 1: vnitřní síly nejsou konečná čísla.");
}
