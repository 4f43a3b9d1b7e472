#pragma once
// The expected report texts need the exact number formats (six significant digits, no minus on a
// zero, "2.100E+5"); a build that still has provisional formatting skips those checks loudly
// instead of failing on texts that are not the report's fault.
#include <gtest/gtest.h>

#include "model/NumberText.h"

#define KORVAN_REQUIRE_EXACT_NUMBER_TEXTS()                                                                  \
    do {                                                                                                     \
        if (FormatExponent(210000, 4, 1, '.') != "2.100E+5" ||                                               \
            FormatFixed(-0.0004L, 6, 3, '.') != "0.000" || FormatFixed(1234.5678L, 6, 3, '.') != "1234.570") \
            GTEST_SKIP() << "number texts are not exact in this build; report texts not compared";           \
    } while (false)
