#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "model/Trig.h"

namespace {
// Bit for bit, zeros with their sign, NaN as NaN.
void ExpectSame(TReal got, TReal want) {
    if (std::isnan(want)) {
        EXPECT_TRUE(std::isnan(got));
        return;
    }
    EXPECT_EQ(got, want);
    EXPECT_EQ(std::signbit(got), std::signbit(want));
}
} // namespace

// Signed zeros, NaN, huge and tiny angles and more distinct angles than are remembered at once,
// visited forwards, backwards and interleaved, each answer that of std::cos and std::sin.
TEST(Trig, CosSinEqualsTheLibraryWhateverCameBefore) {
    std::vector<TReal> angles{0.0L, -0.0L, std::numeric_limits<TReal>::quiet_NaN(), 1e300L, -1e-4000L,
                              DegToRad(90), DegToRad(270), DegToRad(180), DegToRad(-90)};
    for (int k = 1; k <= 30; ++k) angles.push_back(DegToRad(TReal(k) * 13.25L));
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < angles.size(); ++i) order.push_back(i);
    for (std::size_t i = angles.size(); i-- > 0;) order.push_back(i);
    for (std::size_t i = 0; i < angles.size(); ++i) {
        order.push_back(i);
        order.push_back(1); // -0 right after each angle, +0 kept apart from it
        order.push_back(0);
    }
    for (std::size_t i : order) {
        const TReal rad = angles[i];
        SCOPED_TRACE(testing::Message() << "angle " << i);
        TReal c = 7, s = 7;
        CosSin(rad, c, s);
        ExpectSame(c, std::cos(rad));
        ExpectSame(s, std::sin(rad));
        ExpectSame(CosRad(rad), std::cos(rad));
        ExpectSame(SinRad(rad), std::sin(rad));
    }
}
