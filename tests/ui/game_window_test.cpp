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

TEST(WindowMainScreen, ShowsTheAttackAndAsksBeforeIt) {
    const ScriptRun run = RunWindowScript("attack");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ExpectShots(run, {"attack_odds", "attack_question"});
    SavedGame after(run.shots / "attack.sav");
    // Cancelled: both corps stand where they stood.
    EXPECT_EQ(after.st().CorpsRec(1, 9).X, 10);
    EXPECT_EQ(after.st().CorpsRec(1, 9).Y, 9);
    EXPECT_EQ(after.st().CorpsRec(2, 6).X, 9);
    EXPECT_EQ(after.st().CorpsRec(2, 6).Y, 8);
}

TEST(WindowMainScreen, GradesTheOddsAtTheirBounds) {
    const struct {
        int odds;
        const char* grade;
    } cases[] = {{0, "Csekély"}, {25, "Csekély"}, {26, "Kicsi"}, {50, "Kicsi"},
                 {51, "Jó"},     {75, "Jó"},      {76, "Kiváló"}, {100, "Kiváló"}};
    for (const auto& c : cases) EXPECT_STREQ(ui::OddsGrade(c.odds), c.grade) << c.odds;
}

} // namespace
} // namespace vezer::test
