#include "core/arith.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

TEST(Clamp, KeepsFiguresWithinZeroToHundred) {
    EXPECT_EQ(ClampAdd(95, 10), 100);
    EXPECT_EQ(ClampAdd(5, -10), 0);
    EXPECT_EQ(ClampSub(5, 10), 0);
    EXPECT_EQ(ClampSub(50, -70), 100);
    EXPECT_EQ(ClampAdd(2147483000, 2000), 100);  // no overflow on hostile values
    EXPECT_EQ(ClampSub(-2147483000, 2000), 0);
}

TEST(ParseIntOrZero, ReadsDecimalAndTreatsEmptyAsZero) {
    EXPECT_EQ(ParseIntOrZero(""), 0);
    EXPECT_EQ(ParseIntOrZero("42"), 42);
    EXPECT_EQ(ParseIntOrZero(" -7\r"), -7);
    EXPECT_EQ(ParseIntOrZero("12abc"), 0);
    EXPECT_EQ(ParseIntOrZero("99999999999"), 0);
    int v = 5;
    EXPECT_FALSE(ParseInt("x", v));
    EXPECT_EQ(v, 5);
}

TEST(RoundHalfEven, SendsHalvesToTheEvenNeighbour) {
    const std::pair<double, int> cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.5, 0}, {1.5, 2},
                                            {2.4999, 2}, {2.6, 3}, {8 * 1.3, 10}, {15 * 1.5, 22}, {8 * 0.55, 4}};
    for (auto [in, out] : cases) EXPECT_EQ(RoundHalfEven(in), out) << in;
    EXPECT_EQ(RoundHalfEvenRatio(5, 2), 2);
    EXPECT_EQ(RoundHalfEvenRatio(7, 2), 4);
    EXPECT_EQ(RoundHalfEvenRatio(-5, 2), -2);
    EXPECT_EQ(RoundHalfEvenRatio(-7, 2), -4);
    EXPECT_EQ(RoundHalfEvenRatio(10, 3), 3);
    EXPECT_EQ(RoundHalfEvenRatio(-10, -4), 2);
}

} // namespace
} // namespace vezer
