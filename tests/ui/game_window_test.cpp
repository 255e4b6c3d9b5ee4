// The new-game screen and the main game screen driven through the real window: campaigns
// started from the menu, a corps selected, marched, turned and sent to attack, the turn ended.
// The orders' effects are read back from the games the scripts save.

#include "core/binary_io.h"
#include "files/savegame.h"
#include "files/settings.h"
#include "campaign/load_game.h"
#include "campaign/setup.h"
#include "core/geometry.h"
#include "support/test_game.h"
#include "support/window_harness.h"
#include "ui/game_screen.h"

#include <gtest/gtest.h>

namespace vezer::test {
namespace {

void ExpectShots(const ScriptRun& run, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const ShotComparison c = CompareWithReference(run, name);
        EXPECT_TRUE(c.same) << name << ": " << c.detail;
    }
}

// A saved game of a script, loaded as the game loads it.
struct SavedGame {
    testing::TestGame t;
    explicit SavedGame(const std::filesystem::path& file) {
        State& st = t.st();
        st.DataSet = 1;
        st.Language = 1;
        SetUpGame(t.g(), 1, testing::kTestSeed);
        LoadGameFromBytes(t.g(), ReadFileBytes(file, file.filename().string()), file.filename().string());
    }
    const State& st() { return t.st(); }
};

int StartDirection(int campaign, int side, int corps) {
    testing::TestGame t;
    t.st().DataSet = 1;
    t.st().Language = 1;
    SetUpGame(t.g(), 1, testing::kTestSeed);
    StartCampaign(t.g(), 1, campaign, CampaignChoices{});
    return t.st().CorpsRec(side, corps).Direction;
}

TEST(WindowNewGame, KeepsTheChoiceRulesAndWritesThemBackOnCancel) {
    const ScriptRun run = RunWindowScript("new_game");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ExpectShots(run, {"new_game"});
    const OneSetupChoices c = ReadOneSetupFile(GameDir(run.gameDir));
    EXPECT_EQ(c.campaignEntry, 2);
    EXPECT_EQ(c.side1, 1) << "Hungary: the computer";
    EXPECT_EQ(c.side2, 2) << "the two sides cannot both be the computer";
    EXPECT_EQ(c.fog, 1);
}

TEST(WindowMainScreen, MarchesTurnsAndEndsTheTurnThroughOrders) {
    const ScriptRun run = RunWindowScript("campaign1");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ExpectShots(run, {"main_campaign1", "path_cost"});

    SavedGame marched(run.shots / "marched.sav");
    SavedGame moved(run.shots / "moved.sav");
    const THad& moga = moved.st().CorpsRec(1, 9);
    EXPECT_EQ(moga.X, 18);
    EXPECT_EQ(moga.Y, 17);
    EXPECT_NE(marched.st().CorpsRec(1, 9).Direction, StartDirection(1, 1, 9)) << "the march faces the way it went";
    EXPECT_EQ(moga.Direction, TurnRight(marched.st().CorpsRec(1, 9).Direction)) << "the S key turns the corps right";
    EXPECT_LT(moved.st().Regiment(1, moga.Units[1]).MovementPoints, 75) << "the march cost movement points";
    EXPECT_EQ(moved.st().Week, 1);

    SavedGame next(run.shots / "next_week.sav");
    EXPECT_EQ(next.st().Week, 2) << "the computer played Austria and the week turned";
    EXPECT_EQ(next.st().ActiveSide, 1);
    EXPECT_EQ(next.st().CorpsRec(1, 9).X, 18);
}

TEST(WindowMainScreen, OpensOnTheSummerCampaign) {
    const ScriptRun run = RunWindowScript("campaign4");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ExpectShots(run, {"main_campaign4"});
}

TEST(WindowMainScreen, FightsTheAttackOnTheReportScreenAfterTheOdds) {
    const ScriptRun run = RunWindowScript("attack");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ExpectShots(run, {"attack_odds", "odds_screen", "battle_report", "result_summary"});
    SavedGame after(run.shots / "attack.sav");
    // Cancelled on the odds screen: both corps stand where they stood, nothing was fought.
    EXPECT_EQ(after.st().CorpsRec(1, 9).X, 10);
    EXPECT_EQ(after.st().CorpsRec(1, 9).Y, 9);
    EXPECT_EQ(after.st().CorpsRec(2, 6).X, 9);
    EXPECT_EQ(after.st().CorpsRec(2, 6).Y, 8);
    EXPECT_EQ(after.st().Losses[1][2] + after.st().Losses[2][2], 0);

    // Confirmed: the battle was fought and counted, and the speed chosen on the odds screen
    // ("Nagyon gyors") was written to the settings.
    SavedGame battle(run.shots / "battle.sav");
    const State& st = battle.st();
    EXPECT_GT(st.Losses[1][1] + st.Losses[1][2], 0);
    EXPECT_GT(st.Losses[2][1] + st.Losses[2][2], 0);
    EXPECT_EQ(st.BattlesWon[1] + st.BattlesWon[2] + st.EngagementsWon[1] + st.EngagementsWon[2] + st.DrawnBattles +
                  st.DrawnEngagements,
              1);
    EXPECT_LT(st.CorpsRec(1, 9).MovementPoints, after.st().CorpsRec(1, 9).MovementPoints) << "the attack cost movement";
    EXPECT_EQ(ReadSettingsList(GameDir(run.gameDir)).Lines()[12], "4");
}

} // namespace
} // namespace vezer::test
