#include "core/transport.h"
#include "orders/orders.h"
#include "support/test_game.h"
#include "turn/upkeep.h"
#include "turn/victory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace vezer {
namespace {

using Kind = HeadlessPresentation::Kind;
using testing::TempDir;
using testing::TestGame;

TEST(Verdict, EachGradeBeginsJustAboveItsRatio) {
    struct Case {
        int total1, total2, grade;
    } cases[] = {
        // R = total1 / (total2 + 1), exactly on each boundary and one point beyond, from both sides.
        {200, 99, 2},  {201, 99, 1},  {400, 199, 2}, {400, 198, 1}, {115, 99, 3},  {116, 99, 2},
        {230, 199, 3}, {230, 198, 2}, {87, 99, 4},   {88, 99, 3},   {87, 99, 4},   {87, 98, 3},
        {50, 99, 5},   {51, 99, 4},   {100, 199, 5}, {100, 198, 4}, {100, 100, 3}, // equal totals: 100 / 101,
                                                                                   // a draw
        {0, 0, 5},     {1, 0, 3},     {2, 0, 2},     {3, 0, 1},     {0, 500, 5},   {2000000, 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VerdictGrade(c.total1, c.total2), c.grade) << c.total1 << " : " << c.total2;
    EXPECT_EQ(VerdictText(1), "Totális magyar gyözelem!");
    EXPECT_EQ(VerdictText(2), "Magyar gyözelem!");
    EXPECT_EQ(VerdictText(3), "Döntetlen");
    EXPECT_EQ(VerdictText(4), "Osztrák gyözelem!");
    EXPECT_EQ(VerdictText(5), "Totális osztrák gyözelem!");
    EXPECT_EQ(VerdictText(0), "");
    EXPECT_EQ(VerdictText(6), "");
    EXPECT_EQ(VerdictPicture(2), "gy1.bmp");
    EXPECT_EQ(VerdictPicture(3), "gy3.bmp");
    EXPECT_EQ(VerdictPicture(4), "gy5.bmp");
    EXPECT_EQ(OutcomeStoryFileName(1, 2, 4), "data\\gy124.txt");
}

TEST(Verdict, ANegativeOrZeroDivisorNeverDividesByZero) {
    EXPECT_EQ(VerdictGrade(10, -1), 1); // an endless ratio
    EXPECT_EQ(VerdictGrade(0, -1), 5);
    EXPECT_EQ(VerdictGrade(-10, -3), 1); // -10 / -2 = 5
    EXPECT_EQ(VerdictGrade(10, -3), 5);
    // The boundaries hold with a negative divisor too: -4 / -2 is exactly 2, a Hungarian victory.
    EXPECT_EQ(VerdictGrade(-4, -3), 2);
    EXPECT_EQ(VerdictGrade(-5, -3), 1);
    EXPECT_EQ(VerdictGrade(-2, -3), 3);
    EXPECT_EQ(VerdictGrade(-1, -3), 5); // exactly 0.5: a total Austrian victory
}

struct Ending : ::testing::Test {
    TestGame t;
    State& st() { return t.st(); }
    void SetUp() override {
        st().Language = 1;
        st().LocalSide = 1;
        st().Year = 1849;
        st().Month = 3;
        st().Week = 1;
        st().EndYear = 1849;
        st().EndMonth = 6;
        st().EndWeek = 1;
        st().CityPoints = {0, 500, 400};
        st().TotalPoints = {0, 500, 400};
        for (auto& m : st().WeatherTable) m = TWeatherMonth{{0, 30, 20, 30, 20}, {0, 40, 40, 20}, 0};
    }
};

TEST_F(Ending, TheCampaignEndsOnItsDateOnNewYear1850OrWithoutValuedTowns) {
    EXPECT_FALSE(CampaignOver(st()));
    st().Month = 6;
    EXPECT_TRUE(CampaignOver(st()));
    st().Week = 2;
    EXPECT_FALSE(CampaignOver(st())); // the date holds for one week only
    st().EndYear = 1851;
    st().Year = 1850;
    st().Month = 1;
    st().Week = 1;
    EXPECT_TRUE(CampaignOver(st())); // the war ends with 1849 whatever the campaign
    st().Week = 2;
    EXPECT_FALSE(CampaignOver(st()));
    st().CityPoints[2] = 0;
    EXPECT_TRUE(CampaignOver(st()));
    st().CityPoints = {0, 0, 100};
    EXPECT_TRUE(CampaignOver(st()));
}

TEST_F(Ending, TheVerdictShowsTheSidesOwnStoryAndTheGameGoesOn) {
    st().Month = 6;
    st().TotalPoints = {0, 600, 400}; // 600 / 401: a Hungarian victory
    CheckVictory(t.g());
    ASSERT_EQ(t.screen.Count(Kind::EndOfGame), 1);
    const EndOfGameView v = t.screen.LastEndOfGame();
    EXPECT_EQ(v.grade, 2);
    EXPECT_EQ(v.verdict, "Magyar gyözelem!");
    EXPECT_EQ(v.picture, "gy1.bmp");
    EXPECT_FALSE(v.story.empty());
    EXPECT_TRUE(t.screen.MainScreenExists());
    // The other side reads its own account.
    st().LocalSide = 2;
    CheckVictory(t.g());
    EXPECT_NE(t.screen.LastEndOfGame().story, v.story);
    // Not over: nothing is shown.
    st().Month = 5;
    CheckVictory(t.g());
    EXPECT_EQ(t.screen.Count(Kind::EndOfGame), 2);
}

TEST(EndOfGame, AMissingStoryStillEndsTheCampaignAndMenuLeavesWithTheAutomaticSave) {
    TempDir dir;
    TestGame t{GameDir(dir.path())};
    State& st = t.st();
    st.CityPoints = {0, 0, 100};
    st.TotalPoints = {0, 0, 100};
    st.Language = 1;
    st.LocalSide = 1;
    t.screen.SetEndOfGameChoice(EndOfGameChoice::Menu);
    CheckVictory(t.g());
    ASSERT_EQ(t.screen.Count(Kind::EndOfGame), 1);
    EXPECT_EQ(t.screen.LastEndOfGame().verdict, "Totális osztrák gyözelem!");
    EXPECT_EQ(t.screen.LastEndOfGame().story, "");
    EXPECT_FALSE(t.screen.MainScreenExists());
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "save" / "autosave.sav"));
    EXPECT_EQ(t.screen.Count(Kind::Error), 0);
}

struct ReadinessLog : Transport {
    std::vector<int> codes;
    bool HoldsTurn() const override { return true; }
    void SendOrder(const TParancs&, int, int) override {}
    void SendReadiness(int code) override { codes.push_back(code); }
    void SendChat(std::string_view) override {}
};

TEST(EndOfGame, InANetworkGameBothMachinesAreToldAndNeitherSaves) {
    for (EndOfGameChoice choice : {EndOfGameChoice::GoOn, EndOfGameChoice::Menu}) {
        TempDir dir;
        HeadlessPresentation screen;
        ReadinessLog link;
        auto game = MakeGame(screen, link, GameDir(dir.path()));
        game->state.NetworkGame = 1;
        game->state.CityPoints = {0, 100, 0};
        screen.SetEndOfGameChoice(choice);
        CheckVictory(*game);
        const bool menu = choice == EndOfGameChoice::Menu;
        EXPECT_EQ(link.codes, (std::vector<int>{33, menu ? 4 : 3}));
        EXPECT_EQ(screen.MainScreenExists(), !menu);
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "save"));
    }
}

TEST_F(Ending, OrderEighteenChecksTheEndAsTheUpkeepDoes) {
    st().CityPoints[1] = 0;
    st().TotalPoints = {0, 0, 400};
    st().ActiveSide = 1;
    st().OtherSide = 2;
    ExecuteOrder(t.g(), TParancs{18, 0, 0, 1, 0, 0});
    EXPECT_EQ(t.screen.Count(Kind::EndOfGame), 1);
    EXPECT_EQ(t.screen.LastEndOfGame().grade, 5);
}

TEST_F(Ending, PlayingOnAfterTheEndDateShowsTheScreenNoMoreButALostLastTownDoesEveryWeek) {
    st().Month = 6;
    st().PlayerType = {0, 1, 1};
    WeeklyUpkeep(t.g());
    EXPECT_EQ(t.screen.Count(Kind::EndOfGame), 1);
    st().Week = 2;
    WeeklyUpkeep(t.g());
    EXPECT_EQ(t.screen.Count(Kind::EndOfGame), 1);
    st().CityPoints[2] = 0;
    WeeklyUpkeep(t.g());
    st().Week = 3;
    WeeklyUpkeep(t.g());
    EXPECT_EQ(t.screen.Count(Kind::EndOfGame), 3);
    // The totals the verdict reads are this week's.
    st().BattlePoints[1] = 77;
    WeeklyUpkeep(t.g());
    EXPECT_EQ(st().TotalPoints[1], 577);
}

} // namespace
} // namespace vezer
