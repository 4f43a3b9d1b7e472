// The bundled examples are built here and written by the program's own writer, so every example
// reads back to its own bytes. Run with KORVAN_WRITE_EXAMPLES=1 to write them into examples/
// (after a change of the file format or of the number texts); otherwise the test checks that
// the files in the repository are exactly what the writer makes of these models.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "analysis/ProfileMatrix.h"
#include "model/AtomicFile.h"
#include "model/MKPSpace.h"
#include "model/ProjectFileSupport.h"
#include "model/UserDialogs.h"

using namespace projecttest;

// Every test starts from a point as both the program's and the system's decimal separator, so the
// results do not depend on the locale the tests run under.
class ProjectFileExamples : public ::testing::Test {
    TSeparators mSeparators{'.', "."};
};

namespace {
TProfil* Section(TMKPSpace& s, const char* name, TReal a, TReal iy, TReal iz) {
    return s.PridejProfil(name, s.Materials[0], a, iy, iz);
}
TUzel* Node(TMKPSpace& s, TReal x, TReal y) {
    return s.PridejUzel(s.Nodes.Count() + 1, x, y);
}
TPrut* Member(TMKPSpace& s, int a, int b, TProfil* p, bool hingeA = false, bool hingeB = false) {
    return s.PridejPrut(s.Nodes[a - 1], s.Nodes[b - 1], p, false, s.Members.Count() + 1, hingeA, hingeB);
}
void Support(TUzel* n, bool u, bool w, bool rotation) {
    n->DofU.Fixed = u;
    n->DofW.Fixed = w;
    n->DofRot.Fixed = rotation;
}

// Portal frame 6 m × 4 m: fixed and pinned feet, a uniform load on the beam, a horizontal force.
void PortalFrame(TMKPSpace& s) {
    s.PridejMaterial("S235", 210000, 7850);
    TProfil* heb = Section(s, "HEB 200", 0.00781L, 0.0000569L, 0.00002L);
    TProfil* ipe = Section(s, "IPE 300", 0.00538L, 0.0000836L, 0.000006038L);
    Node(s, 0, 0), Node(s, 0, 4), Node(s, 6, 4), Node(s, 6, 0);
    Member(s, 1, 2, heb);
    Member(s, 2, 3, ipe);
    Member(s, 3, 4, heb);
    Support(s.Nodes[0], true, true, true);
    Support(s.Nodes[3], true, true, false);
    s.Members[1]->PridejZatizeni(KLoadDistributed, nullptr, 0, 6, 10, 10, 90);
    s.Nodes[1]->PridejZatizeni(KLoadForce, nullptr, 15, 0);
}

// Continuous beam over three spans 5 + 6 + 5 m: a uniform load, a point force, a partial
// trapezoidal load and a concentrated moment.
void ContinuousBeam(TMKPSpace& s) {
    s.PridejMaterial("S235", 210000, 7850);
    TProfil* ipe = Section(s, "IPE 300", 0.0053812L, 0.0000835611L, 0.00000603779L);
    Node(s, 0, 0), Node(s, 5, 0), Node(s, 11, 0), Node(s, 16, 0);
    Member(s, 1, 2, ipe);
    Member(s, 2, 3, ipe);
    Member(s, 3, 4, ipe);
    Support(s.Nodes[0], true, true, false);
    for (int i = 1; i < 4; ++i)
        Support(s.Nodes[i], false, true, false);
    s.Members[0]->PridejZatizeni(KLoadDistributed, nullptr, 0, 5, 12, 12, 90);
    s.Members[1]->PridejZatizeni(KLoadForce, nullptr, 2.5L, 0, 40, 0, 90);
    s.Members[2]->PridejZatizeni(KLoadDistributed, nullptr, 1, 3, 5, 15, 90);
    s.Members[2]->PridejZatizeni(KLoadMoment, nullptr, 4, 0, 20, 0, 0);
}

// Pratt truss, span 12 m in four panels, height 2 m: every member hinged at both ends, loads at
// the nodes only.
void Truss(TMKPSpace& s) {
    s.PridejMaterial("S355", 210000, 7850);
    TProfil* chord = Section(s, "TCAR 100x5", 0.001888L, 0.000002828L, 0.000002828L);
    TProfil* web = Section(s, "TRON 76x4", 0.000906035L, 0.000000590554L, 0.000000590554L);
    for (int i = 0; i <= 4; ++i)
        Node(s, 3 * i, 0);
    for (int i = 1; i <= 3; ++i)
        Node(s, 3 * i, 2);
    for (int i = 1; i <= 4; ++i)
        Member(s, i, i + 1, chord, true, true); // bottom chord
    Member(s, 1, 6, chord, true, true);         // end posts of the top chord
    Member(s, 6, 7, chord, true, true);
    Member(s, 7, 8, chord, true, true);
    Member(s, 8, 5, chord, true, true);
    for (int i = 2; i <= 4; ++i)
        Member(s, i, i + 4, web, true, true); // verticals
    Member(s, 6, 3, web, true, true);         // diagonals towards mid-span
    Member(s, 8, 3, web, true, true);
    Support(s.Nodes[0], true, true, false);
    Support(s.Nodes[4], false, true, false);
    for (int i = 5; i <= 7; ++i)
        s.Nodes[i]->PridejZatizeni(KLoadForce, nullptr, 20, 90);
    s.Nodes[2]->PridejZatizeni(KLoadForce, nullptr, 10, 90);
    s.Nodes[5]->PridejZatizeni(KLoadForce, nullptr, 5, 0);
}

// Three-hinged gable frame: pinned feet and a hinge at the ridge; snow on both rafters straight
// down, wind on the left column.
void ThreeHingedFrame(TMKPSpace& s) {
    s.PridejMaterial("S235", 210000, 7850);
    TProfil* column = Section(s, "HE 240 B", 0.0105986L, 0.000112593L, 0.0000392266L);
    TProfil* rafter = Section(s, "IPE 360", 0.00727292L, 0.000162656L, 0.0000104345L);
    // Rafters of 10 m (a rise of 6 m over 8 m), so the loaded lengths are exact in the file.
    Node(s, 0, 0), Node(s, 0, 5), Node(s, 8, 11), Node(s, 16, 5), Node(s, 16, 0);
    Member(s, 1, 2, column);
    Member(s, 2, 3, rafter, false, true); // the ridge hinge
    Member(s, 3, 4, rafter);
    Member(s, 4, 5, column);
    Support(s.Nodes[0], true, true, false);
    Support(s.Nodes[4], true, true, false);
    // A member load's angle is measured from the member axis: 90 − member angle points down. The
    // file keeps 15 digits of it; the model takes the angle as the file holds it.
    for (int i : {1, 2}) {
        TPrut* m = s.Members[i];
        m->PridejZatizeni(KLoadDistributed, nullptr, 0, m->Length, 6, 6,
                          StrToFloat(FloatToStr(90 - m->Angle, '.'), '.'));
    }
    s.Members[0]->PridejZatizeni(KLoadDistributed, nullptr, 0, 5, 2.4L, 2.4L, 90); // pushes towards +x
}

struct TExample {
    const char* file;
    std::function<void(TMKPSpace&)> build;
};
const TExample KExamples[] = {{"portal-frame.inp", PortalFrame},
                              {"continuous-beam.inp", ContinuousBeam},
                              {"truss.inp", Truss},
                              {"three-hinged-frame.inp", ThreeHingedFrame}};
} // namespace

TEST_F(ProjectFileExamples, RepositoryFilesAreWhatTheWriterMakes) {
    TSeparators guard('.', ".");
    const bool write = std::getenv("KORVAN_WRITE_EXAMPLES") != nullptr;
    for (const TExample& e : KExamples) {
        TMKPSpace space;
        e.build(space);
        const std::string path = std::string(KORVAN_SOURCE_DIR) + "/examples/" + e.file;
        if (write) space.UlozProjekt(path);
        EXPECT_EQ(Slurp(path), Write(space))
            << e.file
            << ": the writer makes other bytes; if the format or the number texts changed on purpose, "
               "rewrite the examples with KORVAN_WRITE_EXAMPLES=1";
        // Reading the file gives back the model it was written from.
        TMKPSpace back;
        back.NactiProjekt(path);
        EXPECT_EQ(Dump(back), Dump(space)) << e.file;
    }
}

TEST_F(ProjectFileExamples, TrussMembersAreAllHingedAndLoadsNodalOnly) {
    TMKPSpace space;
    Truss(space);
    for (const TPrut* m : space.Members) {
        EXPECT_TRUE(m->HingeA && m->HingeB) << m->Number;
        EXPECT_TRUE(m->Loads.Empty()) << m->Number;
    }
    int nodalLoads = 0;
    for (const TUzel* n : space.Nodes)
        nodalLoads += n->Loads.Count();
    EXPECT_EQ(nodalLoads, 5);
}

TEST_F(ProjectFileExamples, EveryExampleComputes) {
    TRecordingDialogs dialogs;
    TDialogsGuard guard(dialogs);
    for (const TExample& e : KExamples) {
        TMKPSpace space;
        space.TraceEnabled = false;
        space.NactiProjekt(std::string(KORVAN_SOURCE_DIR) + "/examples/" + e.file);
        EXPECT_EQ(space.Vypocet().Result, TMKPSpace::TSolveResult::Ok) << e.file;
        EXPECT_TRUE(space.ResultsValid) << e.file;
        EXPECT_TRUE(dialogs.Messages.empty()) << e.file;
    }
    // The truss carries 70 kN down and 5 kN sideways into its two supports.
    TMKPSpace truss;
    truss.TraceEnabled = false;
    truss.NactiProjekt(std::string(KORVAN_SOURCE_DIR) + "/examples/truss.inp");
    ASSERT_EQ(truss.Vypocet().Result, TMKPSpace::TSolveResult::Ok);
    TReal vertical = 0, horizontal = 0;
    for (const TUzel* n : truss.Nodes) {
        vertical += n->DofW.Reaction;
        horizontal += n->DofU.Reaction;
    }
    EXPECT_NEAR(std::fabs(double(vertical)), 70.0, 1e-9);
    EXPECT_NEAR(std::fabs(double(horizontal)), 5.0, 1e-9);
}
