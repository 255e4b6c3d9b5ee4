#include "core/order_record.h"
#include "forces/forces.h"
#include "forces/strength.h"
#include "orders/orders.h"
#include "support/draws.h"
#include "support/state_builder.h"
#include "turn/recruitment.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vezer {
namespace {

using testing::At;
using testing::DrawsSince;
using testing::QueueDraws;

// A fresh game for each case: May 1849 in the whole war, the turn-start screen open, a town of
// side 1 (city 5, "Szeged") at (12, 12).
struct Recruits : ::testing::Test, testing::FreshGame {
    void SetUp() override {
        Fresh();
        st().Campaign = 5;
        st().TurnStartScreenOpen = 1;
        st().Year = 1849;
        st().Month = 5;
        st().Week = 2;
        st().Zeal[1] = 60;
        st().AutoRecruit = 1;
        b().City(5, {12, 12}, {.owner = 1, .name = "Szeged"});
    }
    std::vector<std::string> Listed() {
        std::vector<std::string> out;
        for (int i = 1; i <= st().TurnEventCount; ++i)
            out.push_back(st().TurnEventList[static_cast<std::size_t>(i)].Text.str());
        return out;
    }
    int LogCount(int side) { return st().Logs[static_cast<std::size_t>(side)].Count; }
};

// --- A person's choice ---------------------------------------------------------------------

TEST_F(Recruits, OrderTwentyOneTrainsTheChosenTypeForItsPresentWeeksInsteadOfWhatWasUnderWay) {
    st().ActiveSide = 1;
    st().OtherSide = 2;
    st().Types[10].RecruitWeeks = 7; // lengthened by a shortage since the table was read
    TVaros& szeged = st().Cities[5];
    szeged.RecruitType = 9;
    szeged.RecruitWeeksLeft = 1;
    const int before = st().RandPos;
    EXPECT_EQ(ExecuteOrder(g(), TParancs{kOrderCityRecruitment, 0, 0, 1, 10, 5}), OrderOutcome::Executed);
    EXPECT_EQ(szeged.RecruitType, 10);
    EXPECT_EQ(szeged.RecruitWeeksLeft, 7);
    EXPECT_EQ(st().RandPos, before);
    // "Semmi": the city stops training, and its countdown makes nobody.
    EXPECT_EQ(ExecuteOrder(g(), TParancs{kOrderCityRecruitment, 0, 0, 1, 0, 5}), OrderOutcome::Executed);
    EXPECT_EQ(szeged.RecruitType, 0);
    for (int week = 0; week < 8; ++week) CompleteCityRecruitment(g());
    EXPECT_EQ(st().RegimentCount[1], 0);
    EXPECT_EQ(st().TurnEventCount, 0);
}

// --- The countdown ------------------------------------------------------------------------

TEST_F(Recruits, ACityRecruitsWhenItsWeeksRunOutOrHavePassedZero) {
    struct Case {
        int type, weeksLeft, owner;
        bool made;
        int fill;
    } cases[] = {
        {9, 2, 1, false, 0},   {9, 1, 1, true, 80}, // the zeal's fill: (60 + 100) / 2
        {9, -3, 1, true, 80},                       // a count that passed zero still finishes
        {11, 1, 1, true, 100},                      // guns come whole
        {9, 1, 3, false, 0},                        // a city of neither side trains nobody
        {16, 1, 1, false, 0},                       // nor one training a type the table lacks
    };
    for (const Case& c : cases) {
        SetUp();
        TVaros& city = st().Cities[5];
        city.Owner = c.owner;
        city.RecruitType = c.type;
        city.RecruitWeeksLeft = c.weeksLeft;
        const int before = st().RandPos;
        CompleteCityRecruitment(g());
        EXPECT_EQ(st().RegimentCount[1], c.made ? 1 : 0) << c.type << " " << c.weeksLeft << " " << c.owner;
        EXPECT_EQ(city.RecruitType, c.made || c.owner == 3 || c.type == 16 ? 0 : c.type);
        EXPECT_EQ(city.RecruitWeeksLeft, c.weeksLeft - 1);
        if (!c.made) {
            EXPECT_EQ(st().RandPos, before);
            continue;
        }
        EXPECT_EQ(st().Regiment(1, 1).FillPercent, c.fill);
        EXPECT_EQ(st().Regiment(1, 1).Nation, 1); // the city's flag
        EXPECT_EQ(DrawsSince(st(), before), 4);
    }
}

TEST_F(Recruits, ARecruitFormsACorpsAtItsCityWithDrawnFigures) {
    st().PlayerType[1] = 1;
    QueueDraws(st(), {5, 15, 20, 1});
    const int before = st().RandPos;
    const int r = CreateRecruit(g(), 1, 5, 9, 80, 1);
    EXPECT_EQ(DrawsSince(st(), before), 4);
    ASSERT_EQ(r, 1);
    const TEzred& e = st().Regiment(1, r);
    EXPECT_EQ(e.Morale, 55);     // zeal 60 + 5 - 10
    EXPECT_EQ(e.Experience, 45); // 15 + 40 - 10
    EXPECT_EQ(e.Readiness, 85);  // 20 + 75 - 10
    EXPECT_EQ(e.Supply, 66);     // 1 + 75 - 10
    EXPECT_EQ(e.Men, 800);
    ASSERT_EQ(st().CorpsCount[1], 1);
    const THad& h = H(1, 1);
    EXPECT_EQ(e.Corps, 1);
    EXPECT_EQ(h.X, 12);
    EXPECT_EQ(h.Y, 12);
    EXPECT_EQ(h.Nation, 1);
    EXPECT_EQ(h.Formation, 3);
    EXPECT_EQ(h.Tactic, 2);
    EXPECT_EQ(h.Direction, 5);
    EXPECT_EQ(h.ObjectiveX, 12);
    EXPECT_EQ(h.ObjectiveY, 12);
    EXPECT_EQ(h.Task, 2);
    EXPECT_EQ(h.Role, 4);
    // The side had no general: one was made (CorpsCount + 1 >= GeneralCount) and leads it.
    ASSERT_GE(st().GeneralCount[1], 1);
    EXPECT_EQ(st().General(1, h.General).Corps, 1);
    EXPECT_EQ(Listed(),
              (std::vector<std::string>{"Szeged toborzás:  the 1. Magyar line battalion készen áll"}));
}

TEST_F(Recruits, ARecruitJoinsTheCorpsThatHoldsItsTypeAndTheComputerSparesItsGarrisons) {
    struct Case {
        int player, type;
        bool secondIsGarrison;
        int expectedCorps;
    } cases[] = {
        {1, 11, false, 2}, // the corps that already has a battery
        {1, 2, false, 1},  // nobody has volunteer horse: the first corps
        {2, 9, false, 2},  // both hold line battalions: the last one examined
        {1, 9, true, 2},   // a person's garrison takes recruits like any corps
        {2, 9, true, 1},   // the computer's garrison clears the claim: back to the first
    };
    for (const Case& c : cases) {
        SetUp();
        st().PlayerType[1] = c.player;
        const int first = b().Corps(1, {12, 12}, {{.type = 9}, {.type = 9}});
        const int second = c.secondIsGarrison
                               ? b().Corps(1, {12, 12}, {{.type = 14}, {.type = 9}}, {.garrison = 1})
                               : b().Corps(1, {12, 12}, {{.type = 9}, {.type = 11}});
        b().RecomputeAll();
        H(1, first).Role = 3;
        if (!c.secondIsGarrison) H(1, second).Role = 3;
        const int r = CreateRecruit(g(), 1, 5, c.type, 100, 1);
        ASSERT_NE(r, 0);
        EXPECT_EQ(st().Regiment(1, r).Corps, c.expectedCorps)
            << c.player << " " << c.type << " " << c.secondIsGarrison;
        EXPECT_EQ(st().CorpsCount[1], 2);
    }
    // A computer's city held only by its garrison forms a new corps; a person's joins it.
    for (int player : {2, 1}) {
        SetUp();
        st().PlayerType[1] = player;
        b().Corps(1, {12, 12}, {{.type = 14}, {.type = 9}}, {.garrison = 1});
        b().RecomputeAll();
        const int r = CreateRecruit(g(), 1, 5, 9, 100, 1);
        EXPECT_EQ(st().Regiment(1, r).Corps, player == 2 ? 2 : 1);
    }
}

TEST_F(Recruits, LeviesCountAndTheVienneseComeUnannounced) {
    CreateRecruit(g(), 1, 5, 6, 60, 1);
    EXPECT_EQ(st().LevyMen[1], 5000);
    CreateRecruit(g(), 1, 5, 10, 90, 7);
    EXPECT_EQ(st().TurnEventCount, 0);
    EXPECT_EQ(st().RegimentCount[1], 2);
}

TEST_F(Recruits, ASideWithoutRoomIsRefusedBeforeAnyDrawAndNothingIsLeftHalfMade) {
    struct Case {
        const char* what;
        bool logged;
    } cases[] = {{"regiments", true}, {"corps", false}, {"generals", true}, {"full corps", true}};
    for (const Case& c : cases) {
        SetUp();
        const std::string what = c.what;
        if (what == "regiments") st().RegimentCount[1] = kMaxRegiments;
        if (what == "corps") st().CorpsCount[1] = kRecruitCorpsLimit + 1;
        if (what == "generals") {
            st().GeneralCount[1] = kMaxGenerals;
            for (int g = 1; g <= kMaxGenerals; ++g) st().General(1, g).Available = 0;
        }
        if (what == "full corps") {
            const int full = b().Corps(1, {12, 12}, {});
            for (int i = 0; i < kMaxUnitsPerCorps; ++i) b().Regiment(1, full, {.type = 9});
        }
        const int regiments = st().RegimentCount[1], corps = st().CorpsCount[1],
                  generals = st().GeneralCount[1];
        const int before = st().RandPos;
        const int logs = LogCount(1);
        EXPECT_EQ(CreateRecruit(g(), 1, 5, 11, 100, 1), 0) << what;
        EXPECT_EQ(st().RandPos, before) << what;
        EXPECT_EQ(st().RegimentCount[1], regiments) << what;
        EXPECT_EQ(st().CorpsCount[1], corps) << what;
        EXPECT_EQ(st().GeneralCount[1], generals) << what;
        EXPECT_EQ(LogCount(1), logs + (c.logged ? 1 : 0)) << what;
        EXPECT_EQ(st().TurnEventCount, 0);
    }
}

// --- The automatic choice -----------------------------------------------------------------

TEST_F(Recruits, TheAutomaticChoiceScoresEveryTypeWithItsDraws) {
    // Every type takes 6 weeks: three draws each (13 types; the fortress battery and the siege
    // guns score without drawing). With every draw 1 the score is d / 2 + 11, d the rounded
    // root of the combat value: the heavy horse (75: d 9) is the first of the best.
    for (int t = 1; t <= 15; ++t) st().Types[static_cast<std::size_t>(t)].RecruitWeeks = 6;
    QueueDraws(st(), std::vector<int>(39, 1));
    int before = st().RandPos;
    ChooseCityRecruitment(g(), 1);
    EXPECT_EQ(DrawsSince(st(), before), 39);
    EXPECT_EQ(st().Cities[5].RecruitType, 3);
    EXPECT_EQ(st().Cities[5].RecruitWeeksLeft, 6);

    // The heavy horse's week draw (its 8th) at 6 leaves the hussars (70: d 8) first.
    SetUp();
    for (int t = 1; t <= 15; ++t) st().Types[static_cast<std::size_t>(t)].RecruitWeeks = 6;
    std::vector<int> draws(39, 1);
    draws[7] = 6;
    QueueDraws(st(), draws);
    ChooseCityRecruitment(g(), 1);
    EXPECT_EQ(st().Cities[5].RecruitType, 4);

    // In 1848 a type slower than the volunteer horse costs one draw more.
    SetUp();
    st().Year = 1848;
    for (int t = 1; t <= 15; ++t) st().Types[static_cast<std::size_t>(t)].RecruitWeeks = 6;
    st().Types[9].RecruitWeeks = 7;
    before = st().RandPos;
    ChooseCityRecruitment(g(), 1);
    EXPECT_EQ(DrawsSince(st(), before), 40);
}

TEST_F(Recruits, OnlyIdleHomeCitiesChooseAndNeverInTheTutorial) {
    b().City(6, {14, 12}, {.owner = 1});
    st().Cities[6].HomeSide = 2; // an Austrian town in Hungarian hands: its people do not enlist
    b().City(7, {16, 12}, {.owner = 1});
    st().Cities[7].RecruitType = 9;
    st().Cities[7].RecruitWeeksLeft = 3;
    b().City(8, {18, 12}, {.owner = 2});
    ChooseCityRecruitment(g(), 1);
    EXPECT_NE(st().Cities[5].RecruitType, 0);
    EXPECT_EQ(st().Cities[6].RecruitType, 0);
    EXPECT_EQ(st().Cities[7].RecruitType, 9);
    EXPECT_EQ(st().Cities[7].RecruitWeeksLeft, 3);
    EXPECT_EQ(st().Cities[8].RecruitType, 0);
    for (int campaign : {0, 5}) {
        SetUp();
        st().Campaign = campaign;
        st().AutoRecruit = 0;
        st().PlayerType[1] = 1;
        ChooseCityRecruitment(g(), 1);
        EXPECT_EQ(st().Cities[5].RecruitType, 0); // a person chooses for himself
        st().PlayerType[1] = 2;
        const int before = st().RandPos;
        ChooseCityRecruitment(g(), 1);
        EXPECT_EQ(st().Cities[5].RecruitType != 0, campaign != 0);
        if (campaign == 0) {
            EXPECT_EQ(st().RandPos, before);
        }
    }
}

TEST_F(Recruits, ASiegeCorpsShortOfHeavyGunsGetsThemFirst) {
    struct Case {
        int year, month, posture, siegeMen, x;
        bool siegeGuns;
    } cases[] = {
        {1849, 5, 0, 16, 20, true},  {1849, 5, 0, 32, 20, false},
        {1849, 2, 0, 16, 20, false}, {1848, 11, 0, 16, 20, false},
        {1849, 5, 1, 16, 20, false}, {1849, 5, 0, 16, 60, false}, // 48 hexes: 192 away
    };
    for (const Case& c : cases) {
        SetUp();
        st().TerrainCostBase = {8, 10, 15, 15};
        st().TerrainCost = {8, 10, 15, 15, 255};
        st().DistanceFactor = 4;
        st().Year = c.year;
        st().Month = c.month;
        st().AiPosture[1] = c.posture;
        const int siege = b().Corps(1, {c.x, 12}, {{.type = 9}, {.type = 13, .men = c.siegeMen}});
        b().RecomputeAll();
        st().AiSiegeCorps[1] = siege;
        ChooseCityRecruitment(g(), 1);
        EXPECT_EQ(st().Cities[5].RecruitType == 13, c.siegeGuns)
            << c.year << "-" << c.month << " " << c.siegeMen;
    }
}

// --- The weapon shortage ------------------------------------------------------------------

TEST_F(Recruits, TheHungarianDemandForWeaponsLengthensEveryRecruitment) {
    struct Case {
        int demand, weeks;
        const char* message;
    } cases[] = {
        {100000, 0, nullptr},
        {100001, 1, "Magyar fegyverhiány! Toborzási idö +1 hét"},
        {130000, 1, "Magyar fegyverhiány! Toborzási idö +1 hét"},
        {130001, 2, "Súlyos magyar fegyverhiány! Toborzási idö +2 hét"},
        {160000, 2, "Súlyos magyar fegyverhiány! Toborzási idö +2 hét"},
        {160001, 4, "Kritikus magyar fegyverhiány! Toborzási idö +4 hét"},
    };
    for (const Case& c : cases) {
        SetUp();
        for (int t = 1; t <= 15; ++t) st().BaseRecruitWeeks[static_cast<std::size_t>(t)] = t;
        // A battery counts 200 whatever its guns; levies, guards and foreign troops count nothing.
        const int corps =
            b().Corps(1, {12, 12}, {{.type = 9, .men = c.demand - 200}, {.type = 11, .men = 3}});
        b().Regiment(1, corps, {.type = 6, .men = 50000});
        b().Regiment(1, corps, {.type = 7, .men = 50000});
        b().Regiment(1, corps, {.type = 9, .men = 50000, .nation = 9});
        b().Corps(2, {20, 20}, {{.type = 9, .men = 90000}});
        UpdateWeaponShortage(g());
        EXPECT_EQ(st().WeaponDemand, c.demand);
        EXPECT_EQ(st().Types[9].RecruitWeeks, 9 + c.weeks + 1) << c.demand; // + 1 for normal difficulty
        EXPECT_EQ(st().Types[1].RecruitWeeks, 1 + c.weeks + 1);
        if (c.message) {
            EXPECT_EQ(st().TurnEventCount, 1);
            EXPECT_EQ(st().TurnEventList[1].Text.str(), c.message);
            EXPECT_EQ(st().TurnEventList[1].Side, 1);
            EXPECT_EQ(st().TurnEventList[1].Hidden, 1);
        } else {
            EXPECT_EQ(st().TurnEventCount, 0);
        }
    }
}

TEST_F(Recruits, TheDifficultyAndTheRecruitingTourSetTheWeeksToo) {
    struct Case {
        int difficulty, network, pbem, penaltyWeeks, penaltyTurns;
        int weeks, turnsAfter, penaltyAfter;
    } cases[] = {
        {1, 0, 0, 0, 0, 5, 0, 0},   {2, 0, 0, 0, 0, 6, 0, 0},
        {3, 0, 0, 0, 0, 7, 0, 0},   {10, 0, 0, 0, 0, 5, 0, 0}, // the tutorial adds nothing
        {1, 1, 0, 0, 0, 7, 0, 0},   {1, 0, 1, 0, 0, 7, 0, 0},  // two machines: always 2
        {2, 0, 0, -1, 5, 5, 4, -1},                            // the tour's week off, four weeks more
        {2, 0, 0, -1, 1, 6, 0, 0},                             // its last week is over
    };
    for (const Case& c : cases) {
        SetUp();
        st().BaseRecruitWeeks[9] = 5;
        st().Difficulty = c.difficulty;
        st().NetworkGame = c.network;
        st().PbemGame = c.pbem;
        st().RecruitPenaltyWeeks = c.penaltyWeeks;
        st().RecruitPenaltyTurns = c.penaltyTurns;
        UpdateWeaponShortage(g());
        EXPECT_EQ(st().Types[9].RecruitWeeks, c.weeks) << c.difficulty << " " << c.penaltyTurns;
        EXPECT_EQ(st().RecruitPenaltyTurns, c.turnsAfter);
        EXPECT_EQ(st().RecruitPenaltyWeeks, c.penaltyAfter);
    }
}

// --- Levies -------------------------------------------------------------------------------

TEST_F(Recruits, LevyMenAreCountedAtTheirFill) {
    const int c = b().Corps(1, {12, 12}, {{.type = 6, .men = 2500}, {.type = 6, .men = 1000}, {.type = 9}});
    (void)c;
    b().Corps(2, {20, 20}, {{.type = 6, .men = 5000}});
    CountLevyMen(g());
    EXPECT_EQ(st().LevyMen[1], 3500);
    EXPECT_EQ(st().LevyMen[2], 5000);
}

TEST_F(Recruits, TheChanceOfAnUprisingFallsInWinterIn1849AndWithManyLevies) {
    struct Case {
        int year, month, zeal, levyMen, chance;
    } cases[] = {
        {1848, 9, 60, 0, 8},      {1848, 12, 60, 0, 4},    {1849, 1, 90, 0, 4},     {1849, 5, 79, 0, 2},
        {1849, 5, 80, 0, 8},      {1850, 5, 10, 0, 8},     {1848, 9, 60, 40000, 8}, {1848, 9, 60, 40001, 2},
        {1848, 12, 60, 60000, 2}, {1848, 9, 60, 60001, 0},
    };
    for (const Case& c : cases) {
        st().Year = c.year;
        st().Month = c.month;
        st().Zeal[1] = c.zeal;
        st().LevyChance[1] = 8;
        st().LevyLimit[1] = 40000;
        st().LevyMen[1] = c.levyMen;
        EXPECT_EQ(LevyChanceOf(st(), 1), c.chance)
            << c.year << "-" << c.month << " zeal " << c.zeal << " " << c.levyMen;
    }
}

struct Levies : Recruits {
    void SetUp() override {
        Recruits::SetUp();
        st().Year = 1848;
        st().Month = 9;
        st().Zeal[1] = 65;
        st().LevyChance = {0, 8, 8};
        st().LevyLimit = {0, 40000, 40000};
        st().Cities[5].Nation = 1;
    }
};

TEST_F(Levies, ANationRisesInItsTownsAndTwoAndAHalfTimesAsReadilyUnderTheEnemy) {
    struct Case {
        int owner, draw;
        bool rises;
    } cases[] = {{1, 8, true}, {1, 9, false}, {2, 20, true}, {2, 21, false}};
    for (const Case& c : cases) {
        SetUp();
        st().Cities[5].Owner = c.owner;
        if (c.owner == 2) {
            st().CityPoints[1] -= 100;
            st().CityPoints[2] += 100;
        }
        QueueDraws(st(), {c.draw, 30});
        const int before = st().RandPos;
        RaiseLevies(g());
        EXPECT_EQ(DrawsSince(st(), before), c.rises ? 6 : 1) << c.owner << " " << c.draw;
        if (!c.rises) continue;
        // A levy of R(60) + zeal - 30 percent forms a corps and takes the town for its side.
        ASSERT_EQ(st().RegimentCount[1], 1);
        EXPECT_EQ(st().Regiment(1, 1).Type, 6);
        EXPECT_EQ(st().Regiment(1, 1).FillPercent, 65);
        EXPECT_EQ(st().Cities[5].Owner, 1);
        EXPECT_EQ(st().LevyMen[1], 5000);
        EXPECT_EQ(Listed(), (std::vector<std::string>{"Szeged: Magyar népfelkelés "}));
        EXPECT_EQ(st().TurnEventList[1].Hidden, 0);
    }
}

TEST_F(Levies, AWeakEnemyInTheTownFallsBackBeforeTheRising) {
    for (int strength : {4, 5}) {
        SetUp();
        const int enemy = b().Corps(2, {12, 12}, {{.type = 9, .men = 100}});
        b().RecomputeAll();
        H(2, enemy).CombatValue = strength;
        QueueDraws(st(), {1, 30});
        RaiseLevies(g());
        const THad& h = H(2, enemy);
        if (strength == 5) {
            // Strength 5 keeps the town quiet: no rising and nobody moves.
            EXPECT_EQ(st().RegimentCount[1], 0);
            EXPECT_TRUE(h.X == 12 && h.Y == 12);
            continue;
        }
        EXPECT_FALSE(h.X == 12 && h.Y == 12) << "the enemy stayed in the risen town";
        EXPECT_EQ(FirstCorpsAt(st(), 2, 12, 12), 0);
        ASSERT_EQ(st().RegimentCount[1], 1);
        EXPECT_EQ(st().Regiment(1, 1).Type, 6);
        EXPECT_EQ(st().Cities[5].Owner, 1);
        EXPECT_EQ(Listed(), (std::vector<std::string>{"Szeged: Magyar népfelkelés "}));
    }
}

TEST_F(Levies, NoDrawWhereNoSideRisesOrTheEnemyStandsStrong) {
    b().City(6, {14, 12}, {.owner = 1, .nation = 3});  // Russians rise for nobody
    b().City(7, {16, 12}, {.owner = 1, .nation = 10}); // nor do the Slovaks
    b().City(8, {18, 12}, {.owner = 1, .nation = 11}); // nor the Italians
    b().City(9, {20, 12}, {.owner = 1, .nation = 0});
    b().Corps(2, {12, 12}, {{.type = 9}}); // a strong enemy in Szeged
    b().RecomputeAll();
    const int before = st().RandPos;
    RaiseLevies(g());
    EXPECT_EQ(st().RandPos, before);
    // Past 240 corps a side's uprisings end the whole pass, later towns included.
    SetUp();
    st().CorpsCount[1] = kRecruitCorpsLimit + 1;
    b().City(6, {14, 12}, {.owner = 2, .nation = 2});
    RaiseLevies(g());
    EXPECT_EQ(st().RandPos, 1);
}

TEST_F(Levies, WithoutRoomTheUprisingIsRefusedBeforeTheLevysDraws) {
    st().RegimentCount[1] = kMaxRegiments;
    QueueDraws(st(), {1});
    const int before = st().RandPos;
    RaiseLevies(g());
    EXPECT_EQ(DrawsSince(st(), before), 1);
    EXPECT_EQ(st().TurnEventCount, 0);
    EXPECT_EQ(st().Logs[1].Count, 1);
}

} // namespace
} // namespace vezer
