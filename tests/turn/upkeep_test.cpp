#include "forces/markers.h"
#include "support/draws.h"
#include "support/state_builder.h"
#include "turn/upkeep.h"
#include "turn/weather.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

using testing::At;
using testing::BuiltGame;
using testing::Reg;

// One regiment of side 1 in a corps at (10, 10), its corps' averages set by hand so that only
// the step under test moves it. The formations gain 12 readiness a week.
struct OneRegiment : BuiltGame {
    int corps = 0;
    int r = 0;
    explicit OneRegiment(Reg reg, int formation = 3) {
        corps = b.Corps(1, {10, 10}, {reg}, {.formation = formation});
        r = st().CorpsRec(1, corps).Units[1];
        for (auto& f : st().Formations) f.ReadinessGain = 12;
        THad& h = st().CorpsRec(1, corps);
        h.AvgMorale = reg.morale;
        h.AvgReadiness = reg.readiness;
        st().Zeal[1] = reg.morale;
    }
    TEzred& e() { return st().Regiment(1, r); }
    THad& h() { return st().CorpsRec(1, corps); }
    void Upkeep() { RegimentUpkeep(g(), 1, r); }
};

TEST(RegimentUpkeep, ConsumptionFollowsDifficultyPlayerTypeAndEarthworks) {
    struct Case {
        int difficulty, player, type;
        bool entrenched;
        int nation, activity, expected; // supply from 60
    } cases[] = {
        {2, 1, 9, false, 0, 0, 50},  {1, 1, 9, false, 0, 0, 55},  // easy: a person's army eats 5
        {1, 3, 9, false, 0, 0, 55},                               // ... also the other machine's person
        {1, 2, 9, false, 0, 0, 50},                               // ... the computer's 10
        {3, 2, 9, false, 0, 0, 55},                               // hard: the computer's eats 5
        {3, 1, 9, false, 0, 0, 50},  {2, 1, 14, false, 0, 0, 57}, // a fortress battery eats 10 / 3
        {1, 1, 14, false, 0, 0, 59},                              // 5 / 3
        {2, 1, 14, true, 0, 0, 59},                               // 3 / 2 behind earthworks
        {1, 1, 14, true, 0, 0, 60},                               // 1 / 2
        {3, 2, 14, true, 0, 0, 60},  {2, 1, 9, true, 0, 0, 55},
        {2, 1, 9, false, 3, 0, 60},  // the Russians bring their own train
        {2, 1, 9, false, 0, 11, 35}, // entrenching costs 15 more
        {2, 1, 9, false, 0, 12, 35}, // and so does fortifying
        {2, 1, 9, false, 0, 5, 50},  // a formation change costs nothing
    };
    for (const Case& c : cases) {
        OneRegiment w({.type = c.type, .nation = c.nation, .supply = 60, .movement = 60});
        w.st().Difficulty = c.difficulty;
        w.st().PlayerType[1] = c.player;
        w.h().Activity = c.activity;
        if (c.entrenched) w.b.Entrench({10, 10}, 1, 1);
        w.e().MovementUsed = 60;
        w.Upkeep();
        EXPECT_EQ(w.e().Supply, c.expected)
            << "difficulty " << c.difficulty << " player " << c.player << " type " << c.type << " entrenched "
            << c.entrenched << " nation " << c.nation << " activity " << c.activity;
    }
}

TEST(RegimentUpkeep, HungerCostsReadinessAndMoraleButMoraleEndsAtTenAtLeast) {
    {
        OneRegiment w({.morale = 50, .readiness = 90, .supply = 35});
        w.e().MovementUsed = 60;
        w.e().Morale = 70; // the corps and the nation stand at 50: only hunger moves it
        w.Upkeep();
        EXPECT_EQ(w.e().Supply, 25);
        EXPECT_EQ(w.e().Readiness, 80);
        EXPECT_EQ(w.e().Morale, 50);
        EXPECT_EQ(w.e().MovementUsed, 0);
    }
    {
        OneRegiment w({.morale = 5, .readiness = 90, .supply = 30});
        w.e().MovementUsed = 60;
        w.e().Morale = 25;
        w.Upkeep();
        EXPECT_EQ(w.e().Supply, 20);
        EXPECT_EQ(w.e().Morale, 10);
    }
    {
        // Supply 40 after eating: neither hungry nor well fed.
        OneRegiment w({.morale = 60, .readiness = 90, .supply = 50});
        w.e().MovementUsed = 60;
        w.Upkeep();
        EXPECT_EQ(w.e().Readiness, 90);
        EXPECT_EQ(w.e().Morale, 60);
    }
    {
        // Well fed: morale + 3 below 80, nothing at 80.
        OneRegiment w({.morale = 70, .supply = 95});
        w.e().MovementUsed = 60;
        w.h().AvgMorale = w.st().Zeal[1] = 73;
        w.Upkeep();
        EXPECT_EQ(w.e().Morale, 73);
        OneRegiment v({.morale = 80, .supply = 95});
        v.e().MovementUsed = 60;
        v.Upkeep();
        EXPECT_EQ(v.e().Morale, 80);
    }
}

TEST(RegimentUpkeep, RestDependsOnTheMovementUsed) {
    struct Case {
        int difficulty, used, expected; // readiness from 50, allowance 60, formation gain 12
    } cases[] = {
        {2, 0, 62}, {2, 1, 56},  {2, 29, 56}, {2, 30, 50}, {2, 60, 50}, // exactly half: no rest
        {1, 0, 75}, {1, 29, 62}, {1, 30, 50},                           // easy rests 25 / 12
        {3, 0, 67}, {3, 30, 55},                                        // hard: 5 more for all
    };
    for (const Case& c : cases) {
        OneRegiment w({.readiness = 50, .supply = 60, .movement = 60});
        w.h().AvgReadiness = 0;
        w.st().Difficulty = c.difficulty;
        w.e().MovementUsed = c.used;
        w.Upkeep();
        EXPECT_EQ(w.e().Readiness, c.expected) << "difficulty " << c.difficulty << " used " << c.used;
        EXPECT_EQ(w.e().MovementUsed, 0);
    }
    // The gain is the corps' formation's own.
    OneRegiment w({.readiness = 50, .supply = 60}, 5);
    w.h().AvgReadiness = 0;
    w.st().Formations[5].ReadinessGain = 20;
    w.Upkeep();
    EXPECT_EQ(w.e().Readiness, 70);
}

TEST(RegimentUpkeep, ReadinessIsPulledUpOnlyWhenFarBehindTheCorps) {
    struct Case {
        int readiness, expected;
    } cases[] = {{60, 75}, {67, 78}, {68, 68}, {90, 90}}; // 68 x 4 / 3 = 90: not behind
    for (const Case& c : cases) {
        OneRegiment w({.readiness = c.readiness, .supply = 60});
        w.h().AvgReadiness = 90;
        w.e().MovementUsed = 60;
        w.Upkeep();
        EXPECT_EQ(w.e().Readiness, c.expected) << c.readiness;
    }
}

TEST(RegimentUpkeep, MoraleDriftsTowardTheCorpsAndThenTheNation) {
    struct Case {
        int formation, corpsMorale, zeal, morale, expected;
    } cases[] = {
        {3, 60, 70, 60, 63},                      // 70 > 69: the nation lifts it by 10 / 3
        {3, 60, 69, 60, 60},                      // 69 is not above 60 x 1.15
        {3, 60, 40, 60, 54},                      // 40 x 1.15 < 60: down by 20 / 3
        {3, 60, 53, 60, 60},                      // 60.95 is not below 60
        {3, 60, 52, 60, 58}, {3, 90, 70, 60, 70}, // the corps first (+ 30 / 3), then 70 against 70
        {3, 30, 50, 60, 50},                      // the corps pulls down by 10
        {1, 70, 70, 60, 70},                      // a rested formation 1 adds (100 - 60) / 4
        {1, 99, 99, 98, 99},                      // ... and at least 1
    };
    for (const Case& c : cases) {
        OneRegiment w({.morale = c.morale, .supply = 60}, c.formation);
        w.h().AvgMorale = c.corpsMorale;
        w.st().Zeal[1] = c.zeal;
        w.e().MovementUsed = 60;
        w.Upkeep();
        EXPECT_EQ(w.e().Morale, c.expected) << "formation " << c.formation << " corps " << c.corpsMorale
                                            << " zeal " << c.zeal << " morale " << c.morale;
    }
}

TEST(RegimentUpkeep, ADrillmasterTrainsUpTo65) {
    for (int experience : {40, 64, 65, 80}) {
        OneRegiment w({.experience = experience, .supply = 60});
        w.st().General(1, w.h().General).SpecialAbility = 7;
        w.Upkeep();
        EXPECT_EQ(w.e().Experience, experience < 65 ? experience + 1 : experience);
    }
    OneRegiment w({.experience = 40, .supply = 60});
    w.st().General(1, w.h().General).SpecialAbility = 6;
    w.Upkeep();
    EXPECT_EQ(w.e().Experience, 40);
}

// --- The whole week ---------------------------------------------------------------------

// A quiet week: both sides far from any town (no supply reaches), fog off (no estimate drawn),
// a month whose table always gives a fair, cool week.
struct Week : ::testing::Test, BuiltGame {
    void SetUp() override {
        st().TerrainCostBase = {8, 10, 15, 15};
        st().GroundState = st().RiverState = st().DanubeState = st().Temperature = st().Weather = 1;
        for (auto& m : st().WeatherTable) m = TWeatherMonth{{0, 101, 0, 0, 0}, {0, 0, 101, 0}, 0};
        DrawWeather(g(), false);
    }
    int Corps(int side, At at, int activity, int weeks, int player = 1) {
        st().PlayerType[side] = player;
        int c = b.Corps(side, at, {{.type = 9}, {.type = 9}}, {.activity = activity});
        st().CorpsRec(side, c).ActivityWeeks = weeks;
        return c;
    }
    THad& H(int side, int c) { return st().CorpsRec(side, c); }
};

TEST_F(Week, ActivitiesCountDownAndAFormationChangeCompletes) {
    int c = Corps(1, {10, 10}, 5, 2);
    b.RecomputeAll();
    WeeklyUpkeep(g());
    EXPECT_EQ(H(1, c).ActivityWeeks, 1);
    EXPECT_EQ(H(1, c).Activity, 5);
    EXPECT_EQ(H(1, c).Formation, 3);
    WeeklyUpkeep(g());
    EXPECT_EQ(H(1, c).Formation, 5);
    EXPECT_EQ(H(1, c).Activity, 0);
    EXPECT_EQ(H(1, c).ActivityWeeks, 0);
}

TEST_F(Week, AnActivityWithoutWeeksLeftCompletesThisWeekAndFormationOneIsAFormationToo) {
    int c = Corps(1, {10, 10}, 1, 0);
    b.RecomputeAll();
    WeeklyUpkeep(g());
    EXPECT_EQ(H(1, c).Formation, 1);
    EXPECT_EQ(H(1, c).Activity, 0);
    EXPECT_EQ(H(1, c).ActivityWeeks, 0);
}

TEST_F(Week, TheLastRegimentASideMayHaveIsLookedAfterToo) {
    st().RegimentCount[1] = kMaxRegiments;
    TEzred& last = st().Regiment(1, kMaxRegiments);
    last.Supply = 60;
    last.Morale = st().Zeal[1] = 65;
    WeeklyUpkeep(g());
    EXPECT_EQ(last.Supply, 50);
}

TEST_F(Week, EarthworksRiseOneLevelWhileTheMapHasMarksLeft) {
    struct Case {
        int marks, level, expectedLevel, expectedMarks;
    } cases[] = {
        {0, 0, 1, 1},     {99, 0, 1, 100}, {100, 0, 0, 100}, // the hundredth mark is the last
        {5, 1, 2, 5},                                        // a level 2 takes no new mark
        {100, 1, 1, 100}, {5, 2, 2, 5},                      // nothing is built beyond level 2
    };
    for (const Case& k : cases) {
        BuiltGame w;
        int c = w.b.Corps(2, {20, 20}, {{.type = 9}}, {.activity = kActivityEntrench});
        if (k.level > 0) w.b.Entrench({20, 20}, k.level, 2);
        w.st().EntrenchmentMarkCount = k.marks;
        CompleteActivity(w.g(), 2, c);
        const THex& hex = w.st().Cell(20, 20);
        EXPECT_EQ(hex.Entrenchment, k.expectedLevel) << k.marks << " marks, level " << k.level;
        EXPECT_EQ(w.st().EntrenchmentMarkCount, k.expectedMarks) << k.marks << " marks, level " << k.level;
        if (k.expectedLevel > 0) {
            EXPECT_EQ(hex.EntrenchmentSide, 2);
        }
        // The order is over, built or not, below level 2.
        EXPECT_EQ(w.st().CorpsRec(2, c).Activity, k.level < 2 ? 0 : kActivityEntrench);
    }
}

TEST_F(Week, AFinishedEntrenchmentOrderEndsInTheWeekItsCountdownRunsOut) {
    int c = Corps(1, {10, 10}, kActivityEntrench, 1);
    b.Entrench({10, 10}, 2, 1);
    b.RecomputeAll();
    const int supply = st().Regiment(1, 1).Supply;
    WeeklyUpkeep(g());
    EXPECT_EQ(st().Cell(10, 10).Entrenchment, 2);
    EXPECT_EQ(H(1, c).Activity, 0);
    // The order cost its 15 on top of the halved ration behind the earthworks.
    EXPECT_EQ(st().Regiment(1, 1).Supply, supply - 5 - 15);
}

TEST_F(Week, FortifyingAddsALevelAndTheComputerGoesOnUntilTheWallsAreWhole) {
    struct Case {
        int player, strength, expectedStrength, expectedActivity, expectedWeeks, damage;
    } cases[] = {
        {1, 3, 4, 0, 0, 1},   {2, 3, 4, kActivityFortify, 2, 1},
        {2, 9, 10, 0, 0, 0},                      // whole again: the computer stops
        {2, 10, 10, 0, 0, 0}, {1, 1, 2, 0, 0, 2}, // 2 <= 10 / 3: still heavily damaged
    };
    for (const Case& k : cases) {
        BuiltGame w;
        w.st().TerrainCostBase = {8, 10, 15, 15};
        w.st().GroundState = 1;
        for (auto& m : w.st().WeatherTable) m = TWeatherMonth{{0, 101, 0, 0, 0}, {0, 0, 101, 0}, 0};
        w.b.City(7, {12, 12}, {.owner = 2, .kind = 3, .fortMax = 10, .fortStrength = k.strength});
        w.st().PlayerType[2] = k.player;
        int c = w.b.Corps(2, {12, 12}, {{.type = 9}}, {.activity = kActivityFortify});
        w.st().CorpsRec(2, c).ActivityWeeks = 1;
        w.b.RecomputeAll();
        WeeklyUpkeep(w.g());
        EXPECT_EQ(w.st().Cities[7].FortStrength, k.expectedStrength) << k.player << " " << k.strength;
        EXPECT_EQ(w.st().CorpsRec(2, c).Activity, k.expectedActivity) << k.player << " " << k.strength;
        EXPECT_EQ(w.st().CorpsRec(2, c).ActivityWeeks, k.expectedWeeks) << k.player << " " << k.strength;
        EXPECT_EQ(w.st().FortressDamage[7], k.damage) << k.player << " " << k.strength;
    }
}

TEST_F(Week, TotalsCaptureCountersAndTheWeatherOnlyWhileTheMainScreenExists) {
    b.City(1, {30, 5}, {.owner = 1, .victoryValue = 300, .captureCounter = 4});
    b.City(2, {40, 5}, {.owner = 2, .victoryValue = 200, .captureCounter = 1});
    b.City(3, {50, 5}, {.owner = 2, .victoryValue = 100, .captureCounter = 0});
    Corps(1, {10, 10}, 0, 0);
    Corps(2, {10, 30}, 0, 0);
    b.RecomputeAll();
    st().BattlePoints = {0, 50, 7};
    st().Temperature = 3;
    st().Weather = 3;
    st().EndYear = 1900; // no end in sight
    int before = st().RandPos;
    WeeklyUpkeep(g());
    EXPECT_EQ(st().TotalPoints[1], 350);
    EXPECT_EQ(st().TotalPoints[2], 307);
    EXPECT_EQ(st().Cities[1].CaptureCounter, 3);
    EXPECT_EQ(st().Cities[2].CaptureCounter, 1);
    EXPECT_EQ(st().Cities[3].CaptureCounter, 0);
    // Temperature, one fitting weather, the Danube: three draws, and the side to move is 1.
    EXPECT_EQ(testing::DrawsSince(st(), before), 3);
    EXPECT_EQ(st().Temperature, 2);
    EXPECT_EQ(st().Weather, 1);
    EXPECT_EQ(st().PrevWeather, 3);
    EXPECT_EQ(st().ActiveSide, 1);
    EXPECT_EQ(st().OtherSide, 2);

    t.screen.SetMainScreen(false);
    st().Temperature = 3;
    before = st().RandPos;
    WeeklyUpkeep(g());
    EXPECT_EQ(testing::DrawsSince(st(), before), 0);
    EXPECT_EQ(st().Temperature, 3);
    EXPECT_EQ(st().Cities[1].CaptureCounter, 2);
}

} // namespace
} // namespace vezer
