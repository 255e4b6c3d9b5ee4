#include "support/draws.h"
#include "support/state_builder.h"
#include "turn/activation.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

using Kind = HeadlessPresentation::Kind;

TEST(Activation, ALoadedGameAtItsFirstWeekIsANewGameOtherwiseOnlyAnEmailGameStartsAWeek) {
    struct Case {
        int activeSide, week, pbem;
        int turnStart, newWeek, sideTwo;
    } cases[] = {
        {1, 1, 0, 1, 1, 0},                     // side 1 to move on the campaign's first week
        {1, 1, 1, 1, 1, 0}, {1, 2, 0, 0, 0, 0}, // a game saved later: nothing is due
        {1, 2, 1, 1, 0, 0},                     // an e-mail game opened for side 1
        {2, 1, 0, 0, 0, 1}, {2, 2, 1, 0, 0, 1},
    };
    for (const Case& c : cases) {
        State st;
        st.StartYear = 1849;
        st.StartMonth = 3;
        st.StartWeek = 1;
        st.Year = 1849;
        st.Month = 3;
        st.Week = c.week;
        st.ActiveSide = c.activeSide;
        st.PbemGame = c.pbem;
        st.TurnStartDue = st.NewGameWeek = st.SideTwoStartDue = 7;
        SetTurnStartFlagsAfterLoad(st);
        EXPECT_EQ(st.TurnStartDue, c.turnStart) << c.activeSide << " " << c.week << " " << c.pbem;
        EXPECT_EQ(st.NewGameWeek, c.newWeek) << c.activeSide << " " << c.week << " " << c.pbem;
        EXPECT_EQ(st.SideTwoStartDue, c.sideTwo) << c.activeSide << " " << c.week << " " << c.pbem;
    }
}

struct Activate : ::testing::Test, testing::FreshGame {
    HeadlessPresentation& screen() { return w->t.screen; }
    void SetUp() override {
        Fresh();
        st().TerrainCostBase = {8, 10, 15, 15};
        st().GroundState = st().RiverState = st().DanubeState = st().Temperature = st().Weather = 1;
        for (auto& m : st().WeatherTable) m = TWeatherMonth{{0, 101, 0, 0, 0}, {0, 0, 101, 0}, 0};
        st().EndYear = 1900;
        b().City(1, {5, 5}, {.owner = 1}).City(2, {50, 30}, {.owner = 2});
        b().Corps(1, {10, 10}, {{.type = 9, .movement = 60}});
        b().RecomputeAll();
    }
};

TEST_F(Activate, ANewGameShowsItsTurnStartScreenOnce) {
    MarkNewGameTurnStart(st());
    ActivateMainScreen(g());
    EXPECT_EQ(screen().Count(Kind::TurnStartScreen), 1);
    EXPECT_EQ(st().TurnStartDue, 0);
    ActivateMainScreen(g());
    EXPECT_EQ(screen().Count(Kind::TurnStartScreen), 1);
}

TEST_F(Activate, AnEmailGameOpenedForSideOneRunsTheWeeksUpkeepFirst) {
    for (int newWeek : {0, 1}) {
        SetUp();
        st().PbemGame = 1;
        st().ActiveSide = 1;
        st().TurnStartDue = 1;
        st().NewGameWeek = newWeek;
        st().Regiment(1, 1).MovementUsed = 40;
        st().Regiment(1, 1).MovementPoints = 0;
        const int before = st().RandPos;
        ActivateMainScreen(g());
        // The upkeep rests the regiment and draws the week's weather; the turn start renews its
        // movement. The first week of a new e-mail game has neither.
        EXPECT_EQ(st().Regiment(1, 1).MovementUsed, newWeek ? 40 : 0);
        EXPECT_EQ(testing::DrawsSince(st(), before), newWeek ? 0 : 3);
        EXPECT_EQ(st().Regiment(1, 1).MovementPoints, newWeek ? 0 : st().Regiment(1, 1).MovementAllowance);
        EXPECT_EQ(screen().Count(Kind::TurnStartScreen), 1);
    }
}

TEST_F(Activate, SideTwosTurnStartIsRunOnlyInAnEmailGame) {
    for (int pbem : {0, 1}) {
        SetUp();
        st().PbemGame = pbem;
        st().ActiveSide = 2;
        st().OtherSide = 1;
        st().SideTwoStartDue = 1;
        b().Corps(2, {30, 30}, {{.type = 9}});
        st().Regiment(2, 1).MovementPoints = 0;
        ActivateMainScreen(g());
        EXPECT_EQ(st().SideTwoStartDue, 0);
        EXPECT_EQ(st().Regiment(2, 1).MovementPoints != 0, pbem == 1);
        EXPECT_EQ(screen().Count(Kind::TurnStartScreen), 0);
    }
}

} // namespace
} // namespace vezer
