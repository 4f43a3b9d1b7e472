// Result modes drawn from a real computation.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "analysis/ProfileMatrix.h"
#include "CanvasFixture.h"
#include "cli/Calc.h"
#include "model/UserDialogs.h"

namespace {
// A cantilever of 2 m fixed at (0, 0) with 10 kN downward at its free end.
struct TCantilever : TCanvasModel {
    TPrut* bar;
    TCantilever() : TCanvasModel(488, 398) {
        TUzel* a = Node(0, 0);
        TUzel* b = Node(2, 0);
        a->DofU.Fixed = a->DofW.Fixed = a->DofRot.Fixed = true;
        b->PridejZatizeni(KLoadForce, nullptr, 10, 90);
        bar = Member(a, b);
        bar->NastavDeleni(10);
        space.TraceEnabled = false;
        TRecordingDialogs messages;
        TDialogsGuard guard(messages);
        EXPECT_EQ(space.Vypocet().Result, TMKPSpace::TSolveResult::Ok);
    }
};

std::vector<TPaintOp> GreenLines(const TRecordingPainter& p) {
    std::vector<TPaintOp> r;
    for (const TPaintOp& op : p.OfKind(TPaintKind::Line))
        if (op.Pen.Color == KGreen) r.push_back(op);
    return r;
}
} // namespace

TEST(ResultModes, MomentOfACantileverIsLinearAndLabelledAtItsEnds) {
    TCantilever c;
    c.space.SetTypZobrazeni(3);
    auto p = c.Paint();
    auto lines = GreenLines(p);
    ASSERT_GE(lines.size(), 12u); // A → 11 stations → B
    EXPECT_EQ(lines.front().Points[0], (TPixel{40, 358}));
    EXPECT_EQ(lines.back().Points[1], (TPixel{240, 358}));
    // |M| = 20 kNm at the support, 3 px per kNm: the diagram stands 60 px off the axis there.
    EXPECT_EQ(std::abs(lines.front().Points[1].Y - 358), 60);
    EXPECT_EQ(lines.back().Points[0], (TPixel{240, 358}));
    std::vector<std::string> labels;
    for (const TPaintOp& t : p.OfKind(TPaintKind::Text))
        if (t.Font.Color == KGreen) labels.push_back(t.Text);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_TRUE(labels[0] == "20.000" || labels[0] == "-20.000") << labels[0];
    // The black axis over the diagram, no supports or dots in a result mode.
    const TPaintOp* axis = p.FindLine({40, 358}, {240, 358});
    ASSERT_TRUE(axis);
    EXPECT_EQ(axis->Pen, (TPen{KBlack, 2, TPenStyle::Solid}));
    EXPECT_TRUE(p.OfKind(TPaintKind::Ellipse).empty());
}

TEST(ResultModes, ShearAndNormalForceOfTheCantilever) {
    TCantilever c;
    c.space.SetTypZobrazeni(1);
    auto t = GreenLines(c.Paint());
    ASSERT_GE(t.size(), 12u);
    for (std::size_t i = 1; i + 1 < t.size(); ++i)
        EXPECT_EQ(std::abs(t[i].Points[1].Y - 358), 30) << i;
    c.space.SetTypZobrazeni(2);
    for (const TPaintOp& op : GreenLines(c.Paint()))
        EXPECT_EQ(op.Points[1].Y, 358); // no axial force
}

TEST(ResultModes, DeformedCantileverHangsDownAtItsTip) {
    TCantilever c;
    c.space.SetTypZobrazeni(4);
    c.space.SetScaleIF(1);
    auto p = c.Paint();
    auto lines = GreenLines(p);
    ASSERT_GE(lines.size(), 12u);
    // Tip deflection PL³/3EI in mm, downward on the screen.
    const TReal ei = 210000.0L * 1000 * 0.0000194L;
    const int tip = static_cast<int>(std::nearbyint(10.0L * 8 / (3 * ei) * 1000));
    EXPECT_EQ(lines.back().Points[0], (TPixel{240, 358 + tip}));
    EXPECT_EQ(lines.back().Pen.Width, 1);
    EXPECT_EQ(lines[1].Pen.Width, 2);
    EXPECT_TRUE(p.FindLine({40, 358}, {240, 358}));
    EXPECT_EQ(p.FindLine({40, 358}, {240, 358})->Pen.Color, KSilver);
}

TEST(ResultModes, MemberAddedAfterTheComputationIsDrawnAsInTheModelView) {
    TCantilever c;
    TUzel* d = c.Node(2, 2);
    TPrut* late = c.Member(c.space.Nodes[1], d);
    c.space.SelectedMembers.Add(c.bar);
    c.space.SetTypZobrazeni(3);
    auto p = c.Paint();
    const TPaintOp* line = p.FindLine({240, 355}, {240, 161});
    ASSERT_TRUE(line);
    EXPECT_EQ(line->Pen.Color, KBlack);
    EXPECT_FALSE(late->HasResults());
    for (const TPaintOp& op : p.OfKind(TPaintKind::Line))
        EXPECT_NE(op.Pen.Color, KRed); // no red in diagrams
    // The direct drawing of the computed member uses the short labels.
    TRecordingPainter visible(488, 398);
    c.space.CurrentMember = c.bar;
    c.space.KresliPrut(visible);
    bool shortLabel = false;
    for (const TPaintOp& t : visible.OfKind(TPaintKind::Text))
        shortLabel |= t.Text == "20.00" || t.Text == "-20.00";
    EXPECT_TRUE(shortLabel);
    EXPECT_TRUE(c.bar->Results.empty()); // released after the drawing
}

TEST(ResultModes, PictureOfARefusedStructureIsNotWritten) {
    // A beam without supports: a mechanism.
    const auto dir =
        std::filesystem::temp_directory_path() / ("korvan-refused-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "free.inp")
        << "*Materials\nM\nS235\n210000\n7850\n*Shapes\nC\nIPE\nS235\n0.005\n0.00008\n"
           "0.000006\n*Nodes\nU\n1\n0\n0\nU\n2\n4\n0\n*Members\nP\nIPE\n1\n0\n1\n2\n0\n0\n";
    std::ostringstream out, err;
    const int rc = RunCalc(
        {"--picture", (dir / "free.png").string(), "--mode", "M", (dir / "free.inp").string()}, out, err);
    EXPECT_EQ(rc, 1) << err.str();
    EXPECT_FALSE(std::filesystem::exists(dir / "free.png"));
    EXPECT_NE(err.str().find("Výsledky nelze zobrazit"), std::string::npos);
    std::ostringstream out2, err2;
    EXPECT_EQ(RunCalc({"--picture", (dir / "free.wmf").string(), (dir / "free.inp").string()}, out2, err2),
              0);
    std::filesystem::remove_all(dir);
}
