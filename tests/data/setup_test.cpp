// The two stages of a game's start on the compiled data: what the set-up clears, keeps and
// sets, and what the campaign stage makes of the new-game screen's choices.

#include "core/calendar.h"
#include "core/errors.h"
#include "core/fingerprint.h"
#include "core/log.h"
#include "campaign/load_game.h"
#include "files/savegame.h"
#include "files/scenario_files.h"
#include "campaign/setup.h"
#include "support/draws.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace vezer {
namespace {

using testing::TestGame;
using testing::DrawsSince;
using testing::QueueDraws;

// One set-up, copied into each game that starts a campaign from it.
const State& SetUpOnce() {
    static const std::unique_ptr<State> setUp = [] {
        TestGame t;
        t.st().DataSet = 1;
        t.st().Language = 1;
        SetUpGame(t.g(), 1, testing::kTestSeed);
        return std::make_unique<State>(t.st());
    }();
    return *setUp;
}

void Start(TestGame& t, int campaign, const CampaignChoices& choices, int network = 0) {
    t.st() = SetUpOnce();
    t.st().NetworkGame = network;
    StartCampaign(t.g(), 1, campaign, choices);
}

TEST(SetUpGame, ClearsThePreviousGameAndKeepsWhatTheMenuChose) {
    TestGame t;
    Start(t, 3, CampaignChoices{});
    ASSERT_GT(t.st().CorpsCount[1], 0);
    AddLogEntry(t.g(), 1, 0, kLogKindRules, "a line of the game before", kColourWhite);
    t.st().Language = 2;
    t.st().NetworkGame = 1;
    t.st().EnteredPassword = "Klapka";
    SetUpGame(t.g(), 1, testing::kTestSeed);
    const State& st = t.st();

    // Kept: the menu's language and network flag, the typed password.
    EXPECT_EQ(st.Language, 2);
    EXPECT_EQ(st.NetworkGame, 1);
    EXPECT_EQ(st.EnteredPassword.view(), "Klapka");
    // Cleared: the armies, the logs, the results.
    EXPECT_EQ(st.CorpsCount[1] + st.CorpsCount[2] + st.RegimentCount[1] + st.RegimentCount[2], 0);
    EXPECT_EQ(st.Logs[1].Count + st.Logs[2].Count, 0);
    EXPECT_EQ(st.TickerPos[1], -1);
    EXPECT_EQ(st.BattlesWon[1] + st.BattlesWon[2] + st.CityPoints[1] + st.CityPoints[2], 0);
    EXPECT_EQ(st.SelectedHexX, -1);
    EXPECT_EQ(st.SelectedHexY, -1);
    // The defaults.
    EXPECT_EQ(st.ActiveSide, 1);
    EXPECT_EQ(st.OtherSide, 2);
    EXPECT_EQ(st.LocalSide, 1);
    EXPECT_EQ(st.LocalOtherSide, 2);
    EXPECT_EQ(st.Battle.BattleMode, 1);
    EXPECT_EQ(st.KeepReinforcementDates, 1);
    EXPECT_EQ(st.LevyChance[1], 8);
    EXPECT_EQ(st.LevyChance[2], 8);
    EXPECT_EQ(st.LevyLimit[1], 40000);
    EXPECT_EQ(st.LevyLimit[2], 40000);
    EXPECT_EQ(st.MayRecruit[1], 1);
    EXPECT_EQ(st.MayRecruit[2], 0);
    EXPECT_EQ(st.MapMaxX, 62);
    EXPECT_EQ(st.MapMaxY, 35);
    EXPECT_EQ(st.TerrainCostBase, (std::array<int, 4>{8, 10, 15, 15}));
    EXPECT_EQ(st.TerrainCost[4], 255);
    EXPECT_EQ(st.TypeCount, 15);
    EXPECT_EQ(st.NationFlag, (std::array<int, 12>{0, 1, 2, 3, 2, 2, 2, 1, 2, 1, 0, 4}));
    EXPECT_EQ(st.GeneralCount[1], 42);
    EXPECT_EQ(st.GeneralCount[2], 60);
    EXPECT_EQ(st.InitialGeneralCount[2], 60);
    EXPECT_EQ(st.AutoRecruit, 1);
    EXPECT_EQ(st.ZealFloor[1], 40);
    EXPECT_EQ(st.ZealFloor[2], 40);
    // The revolution in Vienna is the one historical event, in October 1848.
    EXPECT_EQ(st.HistoricalEventIndex, 1);
    const THistoricalEvent& vienna = st.HistoricalEvents[1];
    EXPECT_EQ(vienna.Kind, 20);
    EXPECT_EQ(vienna.HexX, 6);
    EXPECT_EQ(vienna.HexY, 9);
    EXPECT_EQ(vienna.City, 3);
    EXPECT_EQ(vienna.Side, 1);
    EXPECT_EQ(vienna.Year * 10000 + vienna.Month * 100 + vienna.Week, 18481001);
    EXPECT_EQ(st.HistoricalEvents[2].Year, 0);
    // A fresh chance cursor, and the tutorial from its first line.
    EXPECT_GE(st.RandPos, 1);
    EXPECT_LE(st.RandPos, 10000);
    EXPECT_GE(st.RandStep, 1);
    EXPECT_LE(st.RandStep, 15);
    EXPECT_EQ(st.Texts.TutorialCursor, 0);
}

TEST(StartCampaign, EachCampaignsDateWeatherZealAndVictoryValues) {
    struct Expected {
        int temperature, zeal1, zeal2; // zeal 0: as the start file has it
        int battle, engagement;
    } expected[7] = {{2, 65, 65, 500, 200}, {3, 0, 60, 500, 200}, {2, 70, 60, 500, 200}, {2, 65, 65, 500, 200},
                     {3, 0, 60, 500, 200},  {3, 0, 60, 250, 100}, {2, 65, 65, 500, 200}};
    TestGame t;
    for (int c = 0; c <= 6; ++c) {
        SCOPED_TRACE("campaign " + std::to_string(c));
        CampaignChoices choices;
        if (c == kCampaignTutorial) choices.difficulty = kTutorialDifficulty;
        Start(t, c, choices);
        const State& st = t.st();
        const Expected& e = expected[c];
        EXPECT_EQ(st.Temperature, e.temperature);
        if (e.zeal1) {
            EXPECT_EQ(st.Zeal[1], e.zeal1);
        }
        EXPECT_EQ(st.Zeal[2], e.zeal2);
        EXPECT_EQ(st.BattleVictoryValue, e.battle);
        EXPECT_EQ(st.EngagementVictoryValue, e.engagement);
        EXPECT_EQ(st.Weather, 1);
        EXPECT_EQ(st.RiverState, 1);
        EXPECT_EQ(st.DanubeState, 1);
        EXPECT_EQ(st.GroundState, 1);
        EXPECT_EQ(st.PrevTemperature, st.Temperature);
        EXPECT_EQ(st.PrevWeather, 1);
        EXPECT_EQ(st.PrevGround, 1);
        for (int type = 1; type <= st.TypeCount; ++type) EXPECT_EQ(st.Types[type].RecruitWeeks, st.BaseRecruitWeeks[type]);
        EXPECT_EQ(st.Tutorial, c == kCampaignTutorial ? 1 : 0);
        EXPECT_EQ(st.NewGameWeek, 0);
        // Bem reaches Hungary only in the autumn of 1848, and commands in Transylvania.
        EXPECT_EQ(st.Generals[1][3].Available == 0, c == 1 || c == 5) << "Bem";
    }
}

TEST(StartCampaign, TheSummerCampaignsImperialZealFallsWithTheFullRussianIntervention) {
    TestGame t;
    for (int russian = 0; russian <= 2; ++russian) {
        CampaignChoices choices;
        choices.russianIntervention = russian;
        Start(t, 4, choices);
        EXPECT_EQ(t.st().Zeal[2], russian == 2 ? 55 : 60) << "russian " << russian;
    }
}

TEST(StartCampaign, WhoPlaysWhereAndHow) {
    TestGame t;
    CampaignChoices computerHungary;
    computerHungary.playerType1 = 2;
    computerHungary.playerType2 = 1;
    Start(t, 2, computerHungary);
    EXPECT_EQ(t.st().LocalSide, 2);
    EXPECT_EQ(t.st().LocalOtherSide, 1);
    EXPECT_EQ(t.st().PlayerType[1], 2);

    // An e-mail game: two persons, no passwords yet, and the first week still to be opened.
    CampaignChoices email;
    email.pbem = 1;
    email.playerType2 = 2;
    Start(t, 2, email);
    EXPECT_EQ(t.st().PbemGame, 1);
    EXPECT_EQ(t.st().PlayerType[1], 1);
    EXPECT_EQ(t.st().PlayerType[2], 1);
    EXPECT_EQ(t.st().PasswordSet[1] + t.st().PasswordSet[2], 0);
    EXPECT_EQ(t.st().NewGameWeek, 1);
    EXPECT_EQ(t.st().LocalSide, 1);
}

TEST(StartCampaign, BothMachinesOfANetworkGameStartTheSameGameAtTheMiddleDifficulty) {
    CampaignChoices hard;
    hard.playerType2 = 3;
    hard.difficulty = 3;
    hard.fogOfWar = 1;
    TestGame a, b;
    Start(a, 3, hard, 1);
    b.st() = SetUpOnce();
    // The other machine's set-up drew its own cursor; the network start sets both to 1.
    b.st().RandPos = a.st().RandPos % 9973 + 17;
    b.st().RandStep = a.st().RandStep % 15 + 1;
    b.st().NetworkGame = 1;
    StartCampaign(b.g(), 1, 3, hard);
    EXPECT_EQ(a.st().Difficulty, 2);
    EXPECT_EQ(a.st().RandStep, 1);
    EXPECT_EQ(FullStateHash(a.st()), FullStateHash(b.st()));
    EXPECT_EQ(a.st().RandPos, b.st().RandPos);
    // Played alone, the hardest level stays.
    Start(a, 3, hard);
    EXPECT_EQ(a.st().Difficulty, 3);
}

TEST(StartCampaign, TransylvaniaKeepsItsOwnCommandersAndReinforcementsAlsoAfterALoad) {
    const std::set<int> away1 = {1, 4, 5, 6, 12, 13, 16, 17, 18, 19, 20, 25, 27, 30, 33, 34, 35, 39, 42};
    const std::set<int> away2 = {1,  2,  4,  5,  6,  7,  8,  10, 11, 12, 15, 16, 18, 20, 22, 23, 26, 30,
                                 31, 35, 37, 38, 39, 40, 42, 43, 45, 46, 47, 49, 50, 51, 54, 55, 57, 58};
    TestGame t;
    Start(t, kCampaignTransylvania, CampaignChoices{});
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "started" : "saved and loaded");
        const State& st = t.st();
        for (int g : away1) EXPECT_EQ(st.Generals[1][g].Available, 0) << "general " << g << " of side 1";
        for (int g : away2) EXPECT_EQ(st.Generals[2][g].Available, 0) << "general " << g << " of side 2";
        EXPECT_EQ(st.Generals[1][3].Available, 1) << "Bem";
        ASSERT_GT(st.ReinforcementCount, 7);
        for (int k = 1; k <= st.ReinforcementCount; ++k)
            EXPECT_EQ(st.Reinforcements[k].Arrived, k == 6 || k == 7 ? 0 : 1) << "record " << k;
        // The loader applies the campaign's adjustments again: a save in which every general
        // is available and no record has come loads as the campaign wants it.
        auto tampered = std::make_unique<State>(st);
        for (int side = 1; side <= 2; ++side)
            for (int g = 1; g <= tampered->GeneralCount[side]; ++g) tampered->Generals[side][g].Available = 1;
        for (int k = 1; k <= tampered->ReinforcementCount; ++k) tampered->Reinforcements[k].Arrived = 0;
        const Bytes saved = SaveGameBytes(*tampered);
        t.st() = SetUpOnce();
        LoadGameFromBytes(t.g(), saved, "save\\erdely.sav");
    }
}

TEST(StartCampaign, ReinforcementDatesMoveByOneDrawEachUnlessKeptAndTheSameCursorFindsTheSameDates) {
    TestGame t;
    Start(t, 5, CampaignChoices{});
    State& st = t.st();
    const int count = st.ReinforcementCount;
    ASSERT_GT(count, 7);
    std::vector<TErosites> kept(st.Reinforcements.begin() + 1, st.Reinforcements.begin() + 1 + count);

    // Record k is moved by R(9) - 5 weeks: the draws run through every shift from -4 to +4.
    // The first record's week is taken as the campaign's start, so its shift of -4 falls before.
    st.KeepReinforcementDates = 0;
    st.StartYear = kept[0].Year;
    st.StartMonth = kept[0].Month;
    st.StartWeek = kept[0].Week;
    std::vector<int> draws;
    for (int k = 1; k <= count; ++k) draws.push_back((k - 1) % 9 + 1);
    std::vector<Date> first;
    for (int pass = 0; pass < 2; ++pass) {
        st.RandPos = 100;
        st.RandStep = 7;
        QueueDraws(st, draws);
        LoadReinforcements(t.g());
        EXPECT_EQ(DrawsSince(st, 100), count) << "one draw for each record";
        std::vector<Date> dates;
        for (int k = 1; k <= count; ++k)
            dates.push_back({st.Reinforcements[k].Year, st.Reinforcements[k].Month, st.Reinforcements[k].Week});
        if (first.empty()) first = dates;
        EXPECT_EQ(dates, first) << "the same cursor, the same dates";
    }
    const Date start{st.StartYear, st.StartMonth, st.StartWeek};
    int early = 0;
    for (int k = 1; k <= count; ++k) {
        const Date was{kept[k - 1].Year, kept[k - 1].Month, kept[k - 1].Week};
        // Within four weeks of the schedule, or the campaign's first week when that is later.
        const Date expected = StepWeek(was, draws[static_cast<std::size_t>(k - 1)] - 5);
        early += DateBefore(expected, start);
        EXPECT_EQ(first[static_cast<std::size_t>(k - 1)], DateBefore(expected, start) ? start : expected)
            << "record " << k;
    }
    EXPECT_GT(early, 0) << "a record moved before the start comes in the first week";

    // Kept dates draw nothing.
    st.KeepReinforcementDates = 1;
    const int before = st.RandPos;
    LoadReinforcements(t.g());
    EXPECT_EQ(st.RandPos, before);
    for (int k = 1; k <= count; ++k)
        EXPECT_EQ((Date{st.Reinforcements[k].Year, st.Reinforcements[k].Month, st.Reinforcements[k].Week}),
                  (Date{kept[k - 1].Year, kept[k - 1].Month, kept[k - 1].Week}));

    // A general who comes with a record waits for it: unavailable up to its week, then free.
    LoadReinforcements(t.g()); // the file's own dates again
    int k = 1;
    while (k <= count && (st.Reinforcements[k].Template.General == 0 || st.Reinforcements[k].Arrived)) ++k;
    ASSERT_LE(k, count) << "a record that brings a general";
    const TErosites r = st.Reinforcements[k];
    for (int weeksAfter : {-1, 0, 1}) {
        const Date today = StepWeek(Date{r.Year, r.Month, r.Week}, weeksAfter);
        st.Year = today.year;
        st.Month = today.month;
        st.Week = today.week;
        LoadReinforcements(t.g());
        EXPECT_EQ(st.Generals[r.Side][r.Template.General].Available, weeksAfter > 0 ? 1 : 0) << weeksAfter;
    }
}

TEST(StartCampaign, ACampaignThatDoesNotExistIsNotStarted) {
    TestGame t;
    t.st() = SetUpOnce();
    const std::uint64_t before = FullStateHash(t.st());
    for (int campaign : {-1, 7}) {
        EXPECT_THROW(StartCampaign(t.g(), 1, campaign, CampaignChoices{}), FileIoError) << campaign;
        EXPECT_EQ(FullStateHash(t.st()), before) << campaign;
    }
}

} // namespace
} // namespace vezer
