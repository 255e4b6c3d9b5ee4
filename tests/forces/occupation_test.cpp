#include "core/fingerprint.h"
#include "forces/invariants.h"
#include "forces/occupation.h"
#include "orders/orders.h"
#include "forces/stacks.h"
#include "support/state_builder.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

using testing::StateBuilder;
using testing::TestGame;

struct Occupation : ::testing::Test, testing::BuiltGame {
    std::vector<std::string> Log(int side) {
        std::vector<std::string> lines;
        for (int i = 0; i < st().Logs[side].Count; ++i) lines.push_back(st().Logs[side].Entries[static_cast<std::size_t>(i)].Text.str());
        return lines;
    }
};

TEST_F(Occupation, ATownIsTakenOnlyWhenUndefended) {
    struct Case {
        const char* what;
        int owner, garrisonCapacity, value;
        bool enemyCorps, enemyGarrison;
        bool taken;
    };
    for (const Case& c : {Case{"an enemy town", 2, 0, 100, false, false, true},
                          Case{"a fortress", 2, 1, 100, false, false, false},
                          Case{"an enemy corps inside", 2, 0, 100, true, false, false},
                          Case{"even a garrison", 2, 0, 100, false, true, false},
                          Case{"our own town", 1, 0, 100, false, false, false},
                          Case{"a town of no value", 2, 0, 0, false, false, false}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        sb.City(12, {20, 20}, {.owner = c.owner, .victoryValue = c.value, .garrisonCapacity = c.garrisonCapacity,
                               .name = "Győr"});
        int general = sb.General(1, {.family = "Klapka"});
        if (c.enemyCorps) sb.Corps(2, {20, 20}, {{.type = 9}});
        if (c.enemyGarrison) sb.Corps(2, {20, 20}, {{.type = 14}}, {.garrison = 1});
        const PerSide<int> points = fresh.st().CityPoints;
        OccupyHex(fresh.g(), 1, 1, general, 20, 20);
        const TVaros& v = fresh.st().Cities[12];
        EXPECT_EQ(v.Owner == 1, c.taken || c.owner == 1) << c.what;
        if (c.taken) {
            EXPECT_EQ(v.FlagClass, 1);
            EXPECT_EQ(v.CaptureCounter, 4);
            EXPECT_EQ(fresh.st().CityPoints[1], points[1] + 100);
            EXPECT_EQ(fresh.st().CityPoints[2], points[2] - 100);
            ASSERT_EQ(fresh.st().Logs[1].Count, 1);
            EXPECT_EQ(fresh.st().Logs[1].Entries[0].Text.str(), "Klapka occupies Győr");
            EXPECT_EQ(fresh.st().Logs[1].Entries[0].Colour, 0x4EBCF8);
        } else {
            EXPECT_EQ(fresh.st().CityPoints, points) << c.what;
        }
    }
}

TEST_F(Occupation, ATakenTownStopsRecruitingAndFliesTheCorpsFlag) {
    struct Case {
        int side, nation, flagClass;
    };
    // Polish and Hungarian corps fly class 1; a corps of no nation flies its side's flag.
    for (Case c : {Case{1, 1, 1}, Case{1, 9, 1}, Case{2, 3, 3}, Case{2, 6, 2}, Case{2, 0, 2}, Case{1, 0, 1},
                   Case{1, 11, 1}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        sb.City(12, {20, 20}, {.owner = 3 - c.side});
        fresh.st().Cities[12].RecruitType = 9;
        fresh.st().Cities[12].RecruitWeeksLeft = 3;
        OccupyHex(fresh.g(), c.side, c.nation, 0, 20, 20);
        EXPECT_EQ(fresh.st().Cities[12].FlagClass, c.flagClass) << c.side << " " << c.nation;
        EXPECT_EQ(fresh.st().Cities[12].RecruitType, 0);
        EXPECT_EQ(fresh.st().Cities[12].RecruitWeeksLeft, 0);
    }
}

TEST_F(Occupation, LargerTownsMoveZeal) {
    struct Case {
        int kind, value, draws, zeal1, zeal2;
    };
    // RandTable[i] = i: the draws read 2 and 3 (R(100) = 3 and 4), well below the room.
    for (Case c : {Case{1, 400, 0, 65, 65}, Case{2, 400, 2, 67, 63}, Case{2, 199, 0, 65, 65}, Case{3, 400, 2, 67, 63}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        sb.City(12, {20, 20}, {.owner = 2, .kind = c.kind, .victoryValue = c.value});
        OccupyHex(fresh.g(), 1, 1, 0, 20, 20);
        EXPECT_EQ(fresh.st().RandPos, 1 + c.draws) << c.kind << " " << c.value;
        EXPECT_EQ(fresh.st().Zeal[1], c.zeal1);
        EXPECT_EQ(fresh.st().Zeal[2], c.zeal2);
    }
}

TEST_F(Occupation, ZealChange) {
    struct Case {
        int zeal, floor, difficulty, amount, draw, after, draws;
    };
    // The change needs room x 3/2 (x 3/2 again on easy) not below the draw R(100).
    for (Case c : {Case{65, 40, 2, 0, 1, 65, 0}, Case{100, 40, 2, 5, 1, 100, 1}, Case{90, 40, 2, 3, 15, 93, 1},
                   Case{90, 40, 2, 3, 16, 90, 1}, Case{90, 40, 1, 3, 22, 93, 1}, Case{90, 40, 1, 3, 23, 90, 1},
                   Case{42, 40, 2, -5, 3, 37, 1}, Case{42, 40, 2, -5, 4, 42, 1}, Case{30, 40, 2, -5, 1, 30, 1}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        State& s = fresh.st();
        s.Zeal[2] = c.zeal;
        s.ZealFloor[2] = c.floor;
        s.Difficulty = c.difficulty;
        s.RandTable[2] = c.draw - 1;
        ZealChange(fresh.g(), 2, c.amount);
        EXPECT_EQ(s.Zeal[2], c.after) << c.zeal << " " << c.amount << " " << c.draw;
        EXPECT_EQ(s.RandPos, 1 + c.draws);
    }
    TestGame logged;
    StateBuilder sb(logged.g());
    logged.st().Zeal[1] = 50;
    ZealChange(logged.g(), 1, -2);
    EXPECT_EQ(logged.st().Logs[1].Entries[0].Text.str(), "Hungarian zeal: -2");
}

TEST_F(Occupation, EnemyEntrenchmentsAreLevelledOrTakenOver) {
    struct Case {
        int level, builder, levelAfter, sideAfter, marks;
    };
    for (Case c : {Case{1, 2, 0, 0, 0}, Case{2, 2, 2, 1, 1}, Case{1, 1, 1, 1, 1}, Case{2, 1, 2, 1, 1}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        sb.Entrench({20, 20}, c.level, c.builder);
        ASSERT_EQ(fresh.st().EntrenchmentMarkCount, 1);
        OccupyHex(fresh.g(), 1, 1, 0, 20, 20);
        EXPECT_EQ(fresh.st().Cell(20, 20).Entrenchment, c.levelAfter) << c.level << " " << c.builder;
        EXPECT_EQ(fresh.st().Cell(20, 20).EntrenchmentSide, c.sideAfter);
        EXPECT_EQ(fresh.st().EntrenchmentMarkCount, c.marks);
    }
}

TEST_F(Occupation, LosingTheirHomeTownWeakensANationsTroops) {
    // Nagyszeben, a Romanian town held by side 2.
    b.City(62, {46, 26}, {.owner = 2, .nation = 5, .name = "Nagyszeben"});
    b.Corps(2, {50, 30}, {{.type = 9, .nation = 5, .morale = 50, .supply = 5}, {.type = 9, .nation = 2, .morale = 50}});
    OccupyHex(g(), 1, 1, 0, 46, 26);
    EXPECT_EQ(st().Regiment(2, 1).Morale, 40);
    EXPECT_EQ(st().Regiment(2, 1).Supply, 0);
    EXPECT_EQ(st().Regiment(2, 2).Morale, 50);
    EXPECT_EQ(Log(2).back(), "Román  units: -10 morale and supply");

    // The Viennese and the three great nations are spared; so is a nation of the occupier.
    for (int nation : {7, 2, 3}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        sb.City(3, {6, 9}, {.owner = 2, .nation = nation});
        sb.Corps(2, {50, 30}, {{.type = 9, .nation = nation, .morale = 50}});
        OccupyHex(fresh.g(), 1, 1, 0, 6, 9);
        EXPECT_EQ(fresh.st().Regiment(2, 1).Morale, 50) << nation;
    }
    TestGame fresh;
    StateBuilder sb(fresh.g());
    sb.City(40, {30, 30}, {.owner = 1, .nation = 9});  // a Polish town taken back by side 2
    sb.Corps(1, {50, 30}, {{.type = 9, .nation = 9, .morale = 50}});
    OccupyHex(fresh.g(), 2, 2, 0, 30, 30);
    EXPECT_EQ(fresh.st().Regiment(1, 1).Morale, 40);
}

TEST_F(Occupation, TheComputerCrossesAHexOffItsReconnaissanceList) {
    st().PlayerType[2] = 2;
    for (auto [x, y] : {std::pair{20, 20}, std::pair{5, 5}, std::pair{20, 20}}) {
        TReconTarget& entry = st().ReconTargets[static_cast<std::size_t>(++st().ReconTargetCount)];
        entry.X = x;
        entry.Y = y;
        st().Cell(x, y).ReconListed = 1;
    }
    OccupyHex(g(), 2, 2, 0, 20, 20);
    EXPECT_EQ(st().ReconTargetCount, 1);
    EXPECT_EQ(st().ReconTargets[1].X, 5);
    EXPECT_EQ(st().Cell(20, 20).ReconListed, 0);
    EXPECT_EQ(st().Cell(5, 5).ReconListed, 1);
}

struct Stacks : Occupation {};

TEST_F(Stacks, TheTopVisibleCorpsRespectsTheFogOfWar) {
    struct Case {
        int fog, network, level, top;
    };
    // Side 2's corps 1 (order 1, unseen) and corps 2 (order 3, seen) share a hex.
    for (Case c : {Case{0, 0, 0, 1}, Case{1, 0, 0, 2}, Case{1, 1, 0, 1}, Case{1, 0, 1, 1}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        fresh.st().FogOfWar = c.fog;
        fresh.st().NetworkGame = c.network;
        sb.Corps(2, {20, 20}, {{.type = 9}}, {.recon = c.level, .stackOrder = 1});
        sb.Corps(2, {20, 20}, {{.type = 9}}, {.recon = 1, .stackOrder = 3});
        EXPECT_EQ(TopVisibleCorps(fresh.st(), 2, 20, 20).corps, c.top) << c.fog << c.network << c.level;
    }
}

TEST_F(Stacks, TopAndBottomTakeTheFirstOfEquals) {
    b.Corps(1, {20, 20}, {{.type = 9}}, {.stackOrder = 5});
    b.Corps(1, {20, 20}, {{.type = 9}}, {.stackOrder = 3});
    b.Corps(1, {20, 20}, {{.type = 9}}, {.stackOrder = 3});
    b.Corps(1, {20, 20}, {{.type = 9}}, {.stackOrder = 5});
    b.Corps(1, {20, 20}, {{.type = 9}}, {.stackOrder = 10000});
    b.Corps(1, {21, 20}, {{.type = 9}}, {.stackOrder = 1});
    EXPECT_EQ(TopVisibleCorps(st(), 1, 20, 20).corps, 2);
    EXPECT_EQ(TopVisibleCorps(st(), 1, 20, 20).stackOrder, 3);
    EXPECT_EQ(BottomCorps(st(), 1, 20, 20).corps, 5);
    EXPECT_EQ(BottomCorps(st(), 1, 20, 20).stackOrder, 10000);
    EXPECT_EQ(TopVisibleCorps(st(), 1, 22, 20).corps, 0);
    EXPECT_EQ(BottomCorps(st(), 1, 22, 20).corps, 0);
}

TEST_F(Stacks, RefreshingPushesTheOthersDownAndSharesWhatIsKnown) {
    st().FogOfWar = 1;
    int a = b.Corps(2, {20, 20}, {{.type = 9}}, {.recon = 0, .stackOrder = 1});
    int c = b.Corps(2, {20, 20}, {{.type = 9}}, {.recon = 1, .stackOrder = 4});
    int d = b.Corps(2, {20, 20}, {{.type = 9}}, {.recon = 0, .stackOrder = 8999});
    RefreshHexStack(g(), 2, c, 20, 20);
    EXPECT_EQ(st().CorpsRec(2, c).StackOrder, 1);
    EXPECT_EQ(st().CorpsRec(2, a).StackOrder, 3);
    EXPECT_EQ(st().CorpsRec(2, d).StackOrder, 9000);  // sinks no further: it stays selectable
    EXPECT_EQ(st().CorpsRec(2, a).ReconLevel, 1);
    EXPECT_EQ(st().CorpsRec(2, d).ReconLevel, 1);
}

TEST_F(Stacks, AnUnseenEnemyCorpsIsNotBroughtToTheTopExceptInANetworkGame) {
    for (int network : {0, 1}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        fresh.st().FogOfWar = 1;
        fresh.st().NetworkGame = network;
        int seen = sb.Corps(2, {20, 20}, {{.type = 9}}, {.recon = 0, .stackOrder = 1});
        int hidden = sb.Corps(2, {20, 20}, {{.type = 9}}, {.recon = 0, .stackOrder = 3});
        RefreshHexStack(fresh.g(), 2, hidden, 20, 20);
        // Without the network the fog hides both, so nothing changes; with it, both machines
        // bring the named corps up.
        EXPECT_EQ(fresh.st().CorpsRec(2, hidden).StackOrder, network ? 1 : 3);
        EXPECT_EQ(fresh.st().CorpsRec(2, seen).StackOrder, network ? 3 : 1);
    }
}

TEST_F(Stacks, AnEmptyCorpsIsNeverTheTop) {
    int full = b.Corps(1, {20, 20}, {{.type = 9}}, {.stackOrder = 3});
    int empty = b.Corps(1, {20, 20}, {}, {.stackOrder = 1});
    RefreshHexStack(g(), 1, full, 20, 20);
    EXPECT_EQ(st().CorpsRec(1, full).StackOrder, 1);
    EXPECT_EQ(st().CorpsRec(1, empty).StackOrder, 3);
    auto before = FullStateHash(st());
    RefreshHexStack(g(), 1, empty, 21, 20);  // nothing there
    EXPECT_EQ(FullStateHash(st()), before);
}

struct Selection : Occupation {
    // Clicks the hex and returns the selection as side * 100 + corps.
    int Click(int x, int y) {
        SelectAtHex(g(), x, y);
        EXPECT_EQ(st().SelectedHexX, x);
        EXPECT_EQ(st().SelectedHexY, y);
        return st().SelectedCorpsSide * 100 + st().SelectedCorps;
    }
};

TEST_F(Selection, ClicksOnAStackOfThreeCycleThroughIt) {
    int a = b.Corps(1, {20, 20}, {{.type = 9}}, {.stackOrder = 1});
    int c = b.Corps(1, {20, 20}, {{.type = 9}}, {.stackOrder = 3});
    int d = b.Corps(1, {20, 20}, {{.type = 9}}, {.stackOrder = 5});
    b.RecomputeAll();
    EXPECT_EQ(Click(20, 20), 100 + a);
    EXPECT_EQ(Click(20, 20), 100 + c);
    EXPECT_EQ(Click(20, 20), 100 + d);
    EXPECT_EQ(Click(20, 20), 100 + a);
    EXPECT_EQ(st().CorpsRec(1, a).StackOrder, 1);
    // A click elsewhere and back starts again at the top without cycling.
    EXPECT_EQ(Click(30, 30), 100);
    EXPECT_EQ(Click(20, 20), 100 + a);
    EXPECT_EQ(CheckInvariants(st()), std::vector<std::string>{});
}

TEST_F(Selection, TheClickOrderSelectsThroughTheOrderExecutor) {
    int a = b.Corps(1, {20, 20}, {{.type = 9}}, {.stackOrder = 1});
    int c = b.Corps(1, {20, 20}, {{.type = 9}}, {.stackOrder = 3});
    b.RecomputeAll();
    ExecuteOrder(g(), TParancs{kOrderClickHex, 20, 20, 1, 0, 0});
    EXPECT_EQ(st().SelectedCorpsSide * 100 + st().SelectedCorps, 100 + a);
    ExecuteOrder(g(), TParancs{kOrderClickHex, 20, 20, 1, 0, 0});
    EXPECT_EQ(st().SelectedCorpsSide * 100 + st().SelectedCorps, 100 + c);
}

TEST_F(Selection, AnEnemyFortressAlternatesBetweenTheBesiegerAndTheGarrison) {
    b.City(20, {20, 20}, {.owner = 2, .kind = 3, .garrisonCapacity = 6000, .gunCapacity = 48, .fortMax = 8, .fortStrength = 8});
    int garrison = b.Corps(2, {20, 20}, {{.type = 14}, {.type = 9}}, {.garrison = 1, .recon = 1});
    int field = b.Corps(1, {20, 20}, {{.type = 9}});
    b.RecomputeAll();
    EXPECT_EQ(Click(20, 20), 100 + field);
    EXPECT_EQ(Click(20, 20), 200 + garrison);
    EXPECT_EQ(Click(20, 20), 100 + field);
    EXPECT_EQ(Click(20, 20), 200 + garrison);
}

TEST_F(Selection, AnOwnGarrisonGivesWayToAnEnemyFieldCorpsInItsTown) {
    st().FogOfWar = 1;
    b.City(20, {20, 20}, {.owner = 1, .kind = 3, .garrisonCapacity = 6000, .gunCapacity = 48, .fortMax = 8, .fortStrength = 8});
    int garrison = b.Corps(1, {20, 20}, {{.type = 14}, {.type = 9}}, {.garrison = 1});
    int enemy = b.Corps(2, {20, 20}, {{.type = 9}}, {.recon = 1});
    b.RecomputeAll();
    EXPECT_EQ(Click(20, 20), 100 + garrison);
    EXPECT_EQ(Click(20, 20), 200 + enemy);
}

TEST_F(Selection, AHexWithOnlyAnEnemyOrNobody) {
    int enemy = b.Corps(2, {20, 20}, {{.type = 9}}, {.recon = 1});
    b.RecomputeAll();
    EXPECT_EQ(Click(20, 20), 200 + enemy);
    EXPECT_EQ(Click(25, 25), 100);  // an empty hex clears the selection for the active side
    // A second own field corps beside an enemy fortress's garrison is cycled, not switched.
    b.City(21, {30, 30}, {.owner = 2, .kind = 3, .garrisonCapacity = 6000, .gunCapacity = 48, .fortMax = 8, .fortStrength = 8});
    int g2 = b.Corps(2, {30, 30}, {{.type = 14}}, {.garrison = 1, .recon = 1});
    int f1 = b.Corps(1, {30, 30}, {{.type = 9}}, {.stackOrder = 1});
    int f2 = b.Corps(1, {30, 30}, {{.type = 9}}, {.stackOrder = 3});
    b.RecomputeAll();
    (void)g2;
    EXPECT_EQ(Click(30, 30), 100 + f1);
    EXPECT_EQ(Click(30, 30), 100 + f2);
}

} // namespace
} // namespace vezer
