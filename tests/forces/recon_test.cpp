#include "forces/invariants.h"
#include "forces/recon.h"
#include "forces/strength.h"
#include "support/state_builder.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

using testing::StateBuilder;
using testing::TestGame;

struct Recon : ::testing::Test, testing::BuiltGame {};

TEST_F(Recon, EstimatesFollowTheLevel) {
    struct Case {
        const char* what;
        int fog, level, error, player1, player2, difficulty;
        int levelAfter, errorAfter, cavalry, infantry, guns, draws;
    };
    // The corps holds 1000 cavalry, 2000 infantry and 8 guns; RandTable[2] = 30 makes the next
    // draw R(61) = 31, an error of 0, which counts as +1 and becomes +21.
    for (const Case& c : {Case{"unseen", 1, 0, 25, 1, 1, 2, 0, 0, 0, 0, 0, 0},
                          Case{"seen", 1, 1, 25, 1, 1, 2, 1, 25, 0, 0, 0, 0},
                          Case{"estimated, new error", 1, 2, 0, 1, 1, 2, 2, 21, 1210, 2420, 10, 1},
                          Case{"estimated, kept error", 1, 2, -48, 1, 1, 2, 2, -48, 520, 1040, 4, 0},
                          Case{"known", 1, 3, 30, 1, 1, 2, 3, 0, 1000, 2000, 8, 0},
                          Case{"no fog of war", 0, 1, 30, 1, 1, 2, 3, 0, 1000, 2000, 8, 0},
                          Case{"a hard computer sees a person's corps", 1, 0, 30, 1, 2, 3, 2, 0, 1000, 2000, 8, 0},
                          Case{"an ordinary computer does not", 1, 0, 30, 1, 2, 2, 0, 0, 0, 0, 0, 0}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        State& s = fresh.st();
        s.FogOfWar = c.fog;
        s.PlayerType[1] = c.player1;
        s.PlayerType[2] = c.player2;
        s.Difficulty = c.difficulty;
        s.RandTable[2] = 30;
        int corps = sb.Corps(1, {10, 10}, {{.type = 1, .men = 800}, {.type = 2, .men = 200}, {.type = 9}, {.type = 9}, {.type = 11}},
                             {.recon = c.level});
        s.CorpsRec(1, corps).EstimateError = c.error;
        RefreshEstimates(fresh.g(), 1, corps);
        const THad& h = s.CorpsRec(1, corps);
        EXPECT_EQ(h.ReconLevel, c.levelAfter) << c.what;
        EXPECT_EQ(h.EstimateError, c.errorAfter) << c.what;
        EXPECT_EQ(h.EstimatedCavalry, c.cavalry) << c.what;
        EXPECT_EQ(h.EstimatedInfantry, c.infantry) << c.what;
        EXPECT_EQ(h.EstimatedGuns, c.guns) << c.what;
        EXPECT_EQ(s.RandPos, 1 + c.draws) << c.what;
    }
}

TEST_F(Recon, ErrorsRangeFromTwentyOneToFifty) {
    int corps = b.Corps(1, {10, 10}, {{.type = 9}}, {.recon = 2});
    st().FogOfWar = 1;
    for (int v = 0; v < 61; ++v) {
        st().RandTable[2] = v;
        st().RandPos = 1;
        st().CorpsRec(1, corps).EstimateError = 0;
        RefreshEstimates(g(), 1, corps);
        int e = st().CorpsRec(1, corps).EstimateError;
        EXPECT_TRUE((e >= 21 && e <= 50) || (e <= -21 && e >= -50)) << v << " gives " << e;
    }
}

TEST_F(Recon, RiversAndHillsHideTheEnemy) {
    struct Case {
        const char* what;
        testing::At enemyAt;
        int river, terrain, level, draws;
    };
    // Both draws of each attempt: m = 9 % 30 + 1 = 10; l = 100 % (200 / k) + 1.
    for (const Case& c : {Case{"open ground, k = 1", {11, 10}, 0, 0, 3, 4}, Case{"hills, k = 2", {11, 10}, 0, 3, 1, 2},
                          Case{"marsh, k = 2", {11, 10}, 0, 2, 1, 2}, Case{"forest, k = 1", {11, 10}, 0, 1, 3, 4},
                          Case{"a river, k = 2", {11, 10}, 1, 0, 1, 2}, Case{"the Danube and marsh, k = 4", {11, 10}, 2, 2, 1, 2},
                          Case{"the same hex", {10, 10}, 0, 0, 3, 4}, Case{"the same hex in the hills", {10, 10}, 0, 3, 1, 2}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        State& s = fresh.st();
        s.FogOfWar = 1;
        int observer = sb.Corps(1, {10, 10}, {{.type = 9}});
        int enemy = sb.Corps(2, c.enemyAt, {{.type = 9}});
        s.CorpsRec(1, observer).MinObservation = 40;
        s.CorpsRec(2, enemy).SumVisibility = 200;
        s.CorpsRec(2, enemy).EstimateError = 33;
        sb.Terrain(c.enemyAt, c.terrain);
        // (11, 10) lies beyond side 2 of (10, 10): the river is on the observer's side 2.
        sb.River({10, 10}, 2, c.river);
        s.RandPos = 0;
        for (int i = 1; i <= 8; i += 2) {
            s.RandTable[static_cast<std::size_t>(i)] = 9;
            s.RandTable[static_cast<std::size_t>(i + 1)] = 100;
        }
        ObserveCorps(fresh.g(), 1, observer, enemy);
        EXPECT_EQ(s.CorpsRec(2, enemy).ReconLevel, c.level) << c.what;
        EXPECT_EQ(s.RandPos, c.draws) << c.what;
        EXPECT_EQ(s.EnemySpotted, 1) << c.what;
        EXPECT_EQ(s.CorpsRec(1, observer).ReconLevel, 0) << c.what;  // the observer is not seen by looking
    }
}

TEST_F(Recon, AnEstimatedCorpsIsHarderToKnow) {
    struct Case {
        int l, level;
    };
    // At level 2 the visibility draw is halved: 31 / 2 = 15 beats 10, 21 / 2 = 10 does not.
    for (Case c : {Case{30, 3}, Case{20, 2}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        State& s = fresh.st();
        s.FogOfWar = 1;
        int observer = sb.Corps(1, {10, 10}, {{.type = 9}});
        int enemy = sb.Corps(2, {11, 10}, {{.type = 9}}, {.recon = 2});
        s.CorpsRec(1, observer).MinObservation = 40;
        s.CorpsRec(2, enemy).SumVisibility = 200;
        s.CorpsRec(2, enemy).EstimateError = 33;
        s.RandPos = 0;
        s.RandTable[1] = 9;
        s.RandTable[2] = c.l;
        ObserveCorps(fresh.g(), 1, observer, enemy);
        EXPECT_EQ(s.CorpsRec(2, enemy).ReconLevel, c.level);
        EXPECT_EQ(s.RandPos, 2);
        EXPECT_EQ(s.EnemySpotted, 0);  // it had been seen before
    }
}

TEST_F(Recon, ContactRunsBothWaysWithNeighboursOnly) {
    st().FogOfWar = 1;
    int ours = b.Corps(1, {10, 10}, {{.type = 9}});
    int beside = b.Corps(2, {11, 10}, {{.type = 9}});
    int here = b.Corps(2, {10, 10}, {{.type = 9}});
    int here2 = b.Corps(2, {10, 10}, {{.type = 9}});
    int far = b.Corps(2, {13, 10}, {{.type = 9}});
    b.RecomputeAll();
    ContactReconnaissance(g(), 1, ours);
    EXPECT_GE(st().CorpsRec(2, beside).ReconLevel, 1);
    EXPECT_GE(st().CorpsRec(2, here).ReconLevel, 1);
    EXPECT_GE(st().CorpsRec(2, here2).ReconLevel, 1);  // one corps of the stack seen, all seen
    EXPECT_EQ(st().CorpsRec(2, far).ReconLevel, 0);
    EXPECT_GE(st().CorpsRec(1, ours).ReconLevel, 1);  // the neighbour looked back

    // On the same hex only the observer looks.
    TestGame other;
    StateBuilder sb(other.g());
    other.st().FogOfWar = 1;
    int a = sb.Corps(1, {10, 10}, {{.type = 9}});
    int e = sb.Corps(2, {10, 10}, {{.type = 9}});
    sb.RecomputeAll();
    ContactReconnaissance(other.g(), 1, a);
    EXPECT_GE(other.st().CorpsRec(2, e).ReconLevel, 1);
    EXPECT_EQ(other.st().CorpsRec(1, a).ReconLevel, 0);
}

TEST_F(Recon, TurnStartSpottingBySize) {
    struct Case {
        int sizeClass, d, level;
        int draws;
    };
    // d = R(100) = RandTable value % 100 + 1.
    for (Case c : {Case{1, 1, 0, 0}, Case{2, 19, 1, 1}, Case{2, 20, 0, 1}, Case{2, 9, 2, 1}, Case{2, 10, 1, 1},
                   Case{3, 29, 1, 1}, Case{3, 30, 0, 1}, Case{3, 14, 2, 1}, Case{3, 15, 1, 1}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        State& s = fresh.st();
        s.FogOfWar = 1;
        s.ActiveSide = 1;
        s.OtherSide = 2;
        // A side-2 corps far from everything, of the size asked.
        int corps = sb.Corps(2, {40, 30}, {{.type = 9}});
        s.CorpsRec(2, corps).SizeClass = c.sizeClass;
        s.CorpsRec(2, corps).EstimateError = 40;
        s.RandPos = 0;
        s.RandTable[1] = c.d - 1;
        TurnStartReconnaissance(fresh.g());
        EXPECT_EQ(s.CorpsRec(2, corps).ReconLevel, c.level) << c.sizeClass << " " << c.d;
        EXPECT_EQ(s.RandPos, c.draws) << c.sizeClass << " " << c.d;
    }
}

TEST_F(Recon, TurnStartForgetsTheOtherSideAndWithoutFogKnowsAll) {
    st().FogOfWar = 1;
    int ours = b.Corps(1, {10, 10}, {{.type = 9, .men = 100}}, {.recon = 2});
    int theirs = b.Corps(2, {30, 30}, {{.type = 9, .men = 100}}, {.recon = 2});
    b.RecomputeAll();
    st().CorpsRec(2, theirs).ReconLevel = 2;
    st().CorpsRec(1, ours).ReconLevel = 2;
    TurnStartReconnaissance(g());
    EXPECT_EQ(st().CorpsRec(2, theirs).ReconLevel, 1);
    EXPECT_EQ(st().CorpsRec(1, ours).ReconLevel, 2);

    st().FogOfWar = 0;
    TurnStartReconnaissance(g());
    EXPECT_EQ(st().CorpsRec(2, theirs).ReconLevel, 3);
    EXPECT_EQ(st().CorpsRec(2, theirs).EstimatedInfantry, 100);
}

} // namespace
} // namespace vezer
