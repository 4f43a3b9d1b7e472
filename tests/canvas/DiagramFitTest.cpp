// Fitting the diagram scale: the largest ordinate takes its share of the model and everything
// drawn stays inside the canvas, for every bundled example, result mode and canvas size.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/ProfileMatrix.h"
#include "base/NumberText.h"
#include "canvas/DiagramFit.h"
#include "canvas/RecordingPainter.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"

namespace {
const char* const KExamples[] = {"portal-frame", "continuous-beam", "three-hinged-frame", "truss"};

std::string Example(const std::string& name) {
    return std::string(KORVAN_SOURCE_DIR) + "/examples/" + name + ".inp";
}

// The example read and computed, shown whole on a canvas of the given size.
void Load(TMKPSpace& space, const std::string& name, int width, int height) {
    SetDecimalSeparator('.');
    space.NactiProjekt(Example(name));
    space.TraceEnabled = false;
    TRecordingDialogs quiet;
    TDialogsGuard guard(quiet);
    ASSERT_EQ(space.Vypocet().Result, TSolveResult::Ok) << name;
    space.Width = width;
    space.Height = height;
    space.ShowAll();
}

bool Inside(const TPixelRect& box, const TMKPSpace& s, int margin) {
    return box.Left >= margin && box.Top >= margin && box.Right <= s.Width - margin &&
           box.Bottom <= s.Height - margin;
}
} // namespace

// The bundled portal frame's M diagram at the default scale runs off the canvas; that is what the
// fit is for.
TEST(DiagramFitTest, DefaultScaleRunsOffThePortalFrame) {
    TMKPSpace space;
    Load(space, "portal-frame", 765, 520);
    space.SetTypZobrazeni(3);
    EXPECT_FALSE(Inside(RozsahKresby(space), space, 0));
}

TEST(DiagramFitTest, EveryExampleModeAndSizeFitsInside) {
    const struct {
        int Width, Height;
    } sizes[] = {{765, 520}, {400, 300}, {1200, 400}, {450, 700}};
    for (const char* name : KExamples)
        for (int mode = 1; mode <= 4; ++mode)
            for (const auto& size : sizes) {
                TMKPSpace space;
                Load(space, name, size.Width, size.Height);
                space.SetTypZobrazeni(std::uint8_t(mode));
                const TReal largest = NejvetsiPoradnice(space, mode);
                const std::string what = std::string(name) + " mode " + std::to_string(mode) + " " +
                                         std::to_string(size.Width) + "x" + std::to_string(size.Height);
                TReal otherForces = 0;
                for (int other = 1; other <= 3; ++other)
                    if (other != mode) otherForces = std::max(otherForces, NejvetsiPoradnice(space, other));
                if (!(largest > 0) || (mode <= 3 && largest <= 1e-9L * otherForces)) {
                    // Nothing to scale (no moments in a truss, rounding noise for the normal force of
                    // a beam): the command leaves the scale.
                    const TReal scale = space.ScaleIF();
                    EXPECT_FALSE(PrizpusobMeritko(space)) << what;
                    EXPECT_EQ(space.ScaleIF(), scale) << what;
                    continue;
                }
                int repaints = 0;
                space.OnRepaint = [&] { ++repaints; };
                ASSERT_TRUE(PrizpusobMeritko(space)) << what;
                EXPECT_EQ(repaints, 1) << what;
                EXPECT_TRUE(Inside(RozsahKresby(space), space, KFitMargin)) << what;
                // The largest ordinate is the fixed share of the model's larger extent.
                TReal minX, maxX, minY, maxY;
                space.Rozsah(minX, maxX, minY, maxY);
                const TReal extent = std::max(maxX - minX, maxY - minY) * space.Zoom();
                const TReal ordinate = largest * space.ScaleIF();
                if (space.Zoom() > 10) EXPECT_NEAR(double(ordinate / extent), double(KFitShare), 1e-9) << what;
                EXPECT_GT(double(ordinate), 10.0) << what; // a readable diagram, not a flat line
            }
}

TEST(DiagramFitTest, ModelModeAndMissingResultsLeaveTheScale) {
    TMKPSpace space;
    Load(space, "portal-frame", 765, 520);
    const TReal before = space.ScaleIF();
    space.SetTypZobrazeni(0);
    EXPECT_FALSE(PrizpusobMeritko(space));
    space.SetTypZobrazeni(3);
    for (TPrut* m : space.Members)
        m->UvolniKoncoveSily();
    EXPECT_EQ(NejvetsiPoradnice(space, 3), 0);
    EXPECT_FALSE(PrizpusobMeritko(space));
    EXPECT_EQ(space.ScaleIF(), before);
}
