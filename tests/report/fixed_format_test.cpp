#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "report/fixed_format.h"

namespace veltrix {
namespace {

std::string Printf(double value, int width, int precision) {
    char text[512];
    std::snprintf(text, sizeof text, "%*.*f", width, precision, value);
    return text;
}

std::string Fast(double value, int width, int precision) {
    std::string out = "x";
    AppendFixed(out, value, width, precision);
    return out.substr(1);
}

TEST(FixedFormatTest, MatchesPrintfOnTheHardCases) {
    const double cases[] = {0.0,
                            -0.0,
                            0.075,
                            0.125,
                            0.25,
                            2.5,
                            -2.5,
                            0.05,
                            1.005,
                            -0.04,
                            0.5,
                            1.5,
                            0.045,
                            -0.125,
                            8.9e15,
                            9.1e13,
                            4503599627370495.5,
                            21.955,
                            940.0,
                            1e-300,
                            -1e-9,
                            123456789.125,
                            1e22,
                            DBL_MAX,
                            -DBL_MAX,
                            std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN()};
    for (double value : cases) {
        for (int precision : {0, 1, 2, 3}) {
            for (int width : {6, 7, 8}) {
                EXPECT_EQ(Fast(value, width, precision), Printf(value, width, precision))
                    << value << " " << width << "." << precision;
            }
        }
    }
    EXPECT_EQ(Fast(0.075, 0, 2), "0.07");  // the binary value lies below the tie
}

TEST(FixedFormatTest, MatchesPrintfOnReportLikeValues) {
    std::mt19937_64 random(20261210);
    std::uniform_real_distribution<double> frequency(90.0, 4000.0);
    std::uniform_real_distribution<double> decibels(-1.0, 200.0);
    for (int i = 0; i < 200000; ++i) {
        const double f = frequency(random);
        const double db = decibels(random);
        ASSERT_EQ(Fast(f, 8, 2), Printf(f, 8, 2)) << f;
        ASSERT_EQ(Fast(db, 7, 1), Printf(db, 7, 1)) << db;
        ASSERT_EQ(Fast(-db / 1000.0, 7, 2), Printf(-db / 1000.0, 7, 2)) << db;
        // Values on the printed grid, where ties are decided by the binary value.
        const double grid = std::round(db * 1000.0) / 1000.0 + 0.005;
        ASSERT_EQ(Fast(grid, 7, 2), Printf(grid, 7, 2)) << grid;
    }
}

}  // namespace
}  // namespace veltrix
