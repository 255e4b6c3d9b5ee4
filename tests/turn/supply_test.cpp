#include "support/draws.h"
#include "support/state_builder.h"
#include "turn/supply.h"
#include "turn/weather.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace vezer {
namespace {

using testing::At;
using testing::Reg;

// Plain firm ground: a step costs 8, a town's reach of 50 covers six steps.
struct Supply : ::testing::Test, testing::BuiltGame {
    void SetUp() override {
        st().TerrainCostBase = {8, 10, 15, 15};
        st().GroundState = st().RiverState = st().DanubeState = 1;
        DrawWeather(g(), false);
    }
    void Town(int index, At at, int owner, int capacity, int captureCounter = 1) {
        b.City(index, at, {.owner = owner, .captureCounter = captureCounter});
        st().Cities[static_cast<std::size_t>(index)].SupplyCapacity = {0, capacity, capacity};
    }
    // A corps of `count` full line battalions at the given supply.
    int Corps(int side, At at, int count, int supply, int ability = 0) {
        int g = b.General(side, {.ability = ability});
        int c = b.Corps(side, at, {}, {.general = g});
        for (int i = 0; i < count; ++i) b.Regiment(side, c, {.type = 9, .supply = supply});
        return c;
    }
    std::vector<int> Supplies(int side, int corps) {
        std::vector<int> out;
        const THad& h = st().CorpsRec(side, corps);
        for (int i = 1; i <= h.UnitCount; ++i)
            out.push_back(st().Regiment(side, h.Units[static_cast<std::size_t>(i)]).Supply);
        return out;
    }
};

TEST(SupplyShare, IsTheDemandScaledByWhatReachedTheHexInSupplyPoints) {
    struct Case {
        int demand, reach, hexDemand, fill, expected;
    } cases[] = {
        {30, 100, 300, 100, 10}, // a third of the hex's demand arrived: a third each
        {30, 300, 300, 100, 30},
        {15, 45, 45, 50, 30}, // half a battalion asks 15 and that is 30 of its supply
        {15, 30, 45, 50, 20},
        {5, 1, 2, 100, 2},    // 2.5 goes to 2
        {3, 1, 2, 100, 2},    // 1.5 goes to 2
        {7, 1, 2, 100, 4},    // 3.5 goes to 4
        {30, 50, 50, 50, 30}, // 60 points are cut to 30
        {30, 0, 300, 100, 0}, // cut off
        {0, 100, 300, 100, 0},
        {30, 100, 0, 100, 0}, // no divisor is ever 0
        {30, 100, 300, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SupplyShare(c.demand, c.reach, c.hexDemand, c.fill), c.expected)
            << c.demand << " " << c.reach << " " << c.hexDemand << " " << c.fill;
}

TEST_F(Supply, WhenLessArrivesThanTheHexNeedsEveryRegimentGetsItsShare) {
    Town(1, {10, 10}, 1, 100);
    int c = Corps(1, {10, 10}, 10, 1);
    b.RecomputeAll();
    ASSERT_EQ(st().CorpsRec(1, c).SupplyDemand, 300);
    DistributeSupply(g());
    EXPECT_EQ(Supplies(1, c), std::vector<int>(10, 11)); // 100 of 300: 10 points each
}

TEST_F(Supply, WhenEnoughArrivesEveryRegimentGetsItsWholeDemand) {
    Town(1, {10, 10}, 1, 1000);
    int c = Corps(1, {10, 10}, 3, 1);
    int half = b.Regiment(1, c, {.type = 9, .men = 500, .supply = 1});
    b.RecomputeAll();
    DistributeSupply(g());
    EXPECT_EQ(Supplies(1, c), (std::vector<int>{31, 31, 31, 31}));
    EXPECT_EQ(st().Regiment(1, half).Supply, 31);
}

TEST_F(Supply, CorpsSharingAHexShareWhatReachesIt) {
    Town(1, {10, 10}, 1, 150);
    int a = Corps(1, {10, 10}, 10, 1);
    int c = Corps(1, {10, 10}, 5, 1);
    b.RecomputeAll();
    DistributeSupply(g());
    EXPECT_EQ(Supplies(1, a), std::vector<int>(10, 11)); // 150 of 450
    EXPECT_EQ(Supplies(1, c), std::vector<int>(5, 11));
}

TEST_F(Supply, TheReachFallsWithTheRoadAndTheCaptureCounter) {
    Town(1, {10, 10}, 1, 100);
    Town(2, {30, 10}, 2, 100, 4);
    int near = Corps(1, {10, 13}, 10, 1);  // three steps: 100 x (50 - 24) / 50 = 52 of 300
    int far = Corps(1, {10, 20}, 10, 1);   // out of reach
    int taken = Corps(2, {30, 10}, 10, 1); // a town taken lately shares a quarter: 25 of 300
    b.RecomputeAll();
    DistributeSupply(g());
    EXPECT_EQ(Supplies(1, near), std::vector<int>(10, 6));
    EXPECT_EQ(Supplies(1, far), std::vector<int>(10, 1));
    EXPECT_EQ(Supplies(2, taken), std::vector<int>(10, 3));
}

TEST_F(Supply, EachSideIsSuppliedAsTheSideThatMovesAndTheTurnIsRestoredAfterwards) {
    // Each side's corps stands three steps from its town. Reckoned from the wrong side, a
    // corps' own hex would count as the enemy's and no road would lead into it.
    Town(1, {10, 10}, 1, 100);
    Town(2, {40, 10}, 2, 100);
    int one = Corps(1, {10, 13}, 10, 1);
    int two = Corps(2, {40, 13}, 10, 1);
    b.RecomputeAll();
    for (int active : {1, 2}) {
        for (int side = 1; side <= 2; ++side)
            for (int r = 1; r <= st().RegimentCount[side]; ++r) st().Regiment(side, r).Supply = 1;
        st().ActiveSide = active;
        st().OtherSide = 3 - active;
        st().SelectedCorps = 3;
        st().SelectedCorpsSide = 1;
        DistributeSupply(g());
        EXPECT_EQ(Supplies(1, one), std::vector<int>(10, 6)) << "active " << active;
        EXPECT_EQ(Supplies(2, two), std::vector<int>(10, 6)) << "active " << active;
        EXPECT_EQ(st().ActiveSide, active);
        EXPECT_EQ(st().OtherSide, 3 - active);
        EXPECT_EQ(st().SelectedCorps, 0);
        EXPECT_EQ(st().SelectedCorpsSide, active);
    }
}

TEST_F(Supply, AQuartermasterBringsFiveMoreEvenWithoutReach) {
    int c = Corps(1, {10, 20}, 3, 50, 6);
    int other = Corps(1, {12, 20}, 3, 50, 7);
    b.RecomputeAll();
    const int before = st().RandPos;
    DistributeSupply(g());
    EXPECT_EQ(Supplies(1, c), (std::vector<int>{55, 55, 55}));
    EXPECT_EQ(Supplies(1, other), (std::vector<int>{50, 50, 50}));
    EXPECT_EQ(testing::DrawsSince(st(), before), 0);
}

} // namespace
} // namespace vezer
