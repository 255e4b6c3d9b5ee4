#include "core/state.h"
#include "forces/movement.h"
#include "forces/strength.h"
#include "support/state_builder.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

struct Movement : ::testing::Test, testing::BuiltGame {};

TEST_F(Movement, AStepWearsReadinessAndSupplyBySevenths) {
    struct Case {
        const char* what;
        int ground, points, cost;
        int readinessLost, supplyLost;
    };
    for (const Case& c : {Case{"a 14-point step on firm ground", 1, 60, 14, 2, 2},
                          Case{"the same step on soft ground", 2, 60, 14, 3, 3},
                          Case{"the same step on frozen ground", 3, 60, 14, 3, 3},
                          Case{"a 6-point step", 1, 60, 6, 0, 0},
                          Case{"a forced march: more than the points left", 1, 10, 14, 7, 2}}) {
        SCOPED_TRACE(c.what);
        testing::TestGame fresh;
        testing::StateBuilder builder{fresh.g()};
        fresh.st().GroundState = c.ground;
        const int corps = builder.Corps(1, {20, 20}, {{.readiness = 80, .supply = 80, .movement = c.points}});
        const TEzred& r = fresh.st().Regiments[1][static_cast<std::size_t>(fresh.st().CorpsRec(1, corps).Units[1])];
        const int usedBefore = r.MovementUsed;
        fresh.st().Undo = {};
        ApplyMoveCost(fresh.g(), 1, corps, c.cost);
        EXPECT_EQ(r.Readiness, 80 - c.readinessLost);
        EXPECT_EQ(r.Supply, 80 - c.supplyLost);
        EXPECT_EQ(r.MovementUsed, usedBefore + c.cost);
        EXPECT_EQ(fresh.st().Undo.MovementPoints, c.cost);
    }
}

TEST_F(Movement, FormationChangesCostByCorpsSize) {
    const int large = b.Corps(1, {20, 20}, {{.men = 5000}, {.men = 4001}});
    const int small = b.Corps(1, {22, 20}, {{.men = 800}});
    const int middle = b.Corps(1, {24, 20}, {{.men = 5000}, {.men = 4000}});
    b.RecomputeAll();
    ASSERT_EQ(st().CorpsRec(1, large).SizeClass, 3);
    ASSERT_EQ(st().CorpsRec(1, middle).SizeClass, 2);
    EXPECT_EQ(FormationChangeCost(st(), 1, large, 4), 16);
    EXPECT_EQ(FormationChangeCost(st(), 1, middle, 4), 8);
    EXPECT_EQ(FormationChangeCost(st(), 1, large, 6), 1);
    EXPECT_EQ(FormationChangeCost(st(), 1, small, 4), 1) << "never below one point";
}

} // namespace
} // namespace vezer
