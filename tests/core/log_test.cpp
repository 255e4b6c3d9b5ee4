#include "core/log.h"
#include "core/texts.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

using testing::TestGame;

struct LogTest : ::testing::Test {
    TestGame t;
    void SetUp() override {
        ResetEventLogs(t.st());
        t.st().LocalSide = 1;
        t.st().FogOfWar = 1;
    }
    std::string Entry(int side, int k) { return t.st().Logs[side].Entries[static_cast<std::size_t>(k)].Text.str(); }
    void Add(int side, int hidden, const std::string& text) { AddLogEntry(t.g(), side, hidden, 0, text, 7); }
};

TEST_F(LogTest, HiddenEntriesStayWithTheirSideUnderFogOfWar) {
    Add(1, 1, "secret");
    EXPECT_EQ(t.st().Logs[1].Count, 1);
    EXPECT_EQ(t.st().Logs[2].Count, 0);
    EXPECT_EQ(t.st().TickerPos[1], 0);
    EXPECT_EQ(t.st().TickerPos[2], -1);
    t.st().FogOfWar = 0;
    Add(1, 1, "open");
    EXPECT_EQ(t.st().Logs[2].Count, 1);
    EXPECT_EQ(t.st().Logs[2].Entries[0].FogOfWarAtEntry, 0);
    EXPECT_EQ(t.st().Logs[1].Entries[0].FogOfWarAtEntry, 1);
    t.st().FogOfWar = 1;
    Add(2, 0, "seen by both");
    EXPECT_EQ(t.st().Logs[1].Count, 3);
    EXPECT_EQ(t.st().Logs[2].Count, 2);
}

TEST_F(LogTest, KeepsFortyNineEntriesAndCutsTextsAt120Characters) {
    for (int i = 1; i <= 50; ++i) Add(1, 0, "entry " + std::to_string(i));
    EXPECT_EQ(t.st().Logs[1].Count, 49);
    EXPECT_EQ(Entry(1, 0), "entry 2");
    EXPECT_EQ(Entry(1, 48), "entry 50");
    EXPECT_EQ(t.st().TickerPos[1], 48);
    std::string longText, cut;
    for (int i = 0; i < 130; ++i) longText += "ő";
    for (int i = 0; i < 120; ++i) cut += "ő";
    Add(1, 0, longText);
    EXPECT_EQ(Entry(1, 48), cut);
}

TEST_F(LogTest, AScrolledBackTickerStaysBehindTheNewestEntry) {
    for (int i = 1; i <= 20; ++i) Add(1, 0, "e" + std::to_string(i));
    ScrollTickerOlder(t.g());
    ScrollTickerOlder(t.g());
    EXPECT_EQ(t.st().TickerLine[1].str(), "e18");
    Add(1, 0, "e21");
    EXPECT_EQ(t.st().TickerLine[1].str(), "e19");  // two behind the newest, e21
    for (int i = 22; i <= 60; ++i) Add(1, 0, "e" + std::to_string(i));
    EXPECT_EQ(t.st().Logs[1].Count, 49);
    EXPECT_EQ(t.st().TickerLine[1].str(), "e58");  // still two behind after removals
    ScrollTickerNewer(t.g());
    ScrollTickerNewer(t.g());
    ScrollTickerNewer(t.g());  // cannot pass the newest
    EXPECT_EQ(t.st().TickerLine[1].str(), "e60");
}

TEST_F(LogTest, ShortLogShowsNewestFirstAndCannotScrollOlder) {
    for (int i = 1; i <= 3; ++i) Add(1, 0, "e" + std::to_string(i));
    EXPECT_EQ(t.st().TickerLine[1].str(), "e3");
    EXPECT_EQ(t.st().TickerLine[3].str(), "e1");
    EXPECT_TRUE(t.st().TickerLine[4].empty());
    EXPECT_TRUE(t.st().TickerLine[6].empty());
    ScrollTickerOlder(t.g());
    EXPECT_EQ(t.st().TickerPos[1], 2);
    for (int i = 4; i <= 7; ++i) Add(1, 0, "e" + std::to_string(i));
    ScrollTickerOlder(t.g());
    EXPECT_EQ(t.st().TickerPos[1], 5);
    ScrollTickerOlder(t.g());  // the oldest view shows entries 5..0
    EXPECT_EQ(t.st().TickerPos[1], 5);
    EXPECT_EQ(t.st().TickerLine[6].str(), "e1");
}

TEST_F(LogTest, TickerFollowsTheLocalSide) {
    t.st().LocalSide = 2;
    Add(1, 1, "hidden from side 2");
    Add(2, 0, "for both");
    EXPECT_EQ(t.st().TickerLine[1].str(), "for both");
    EXPECT_TRUE(t.st().TickerLine[2].empty());
}

TEST_F(LogTest, TutorialFeedsOneBlockPerCall) {
    TextTables& tx = t.st().Texts;
    const char* lines[] = {"", "one", "two", "xxx", "three", "xxx"};
    for (int i = 1; i <= 5; ++i) tx.TutorialLines[static_cast<std::size_t>(i)] = lines[i];
    tx.TutorialLineCount = 5;
    tx.TutorialCursor = 0;
    FeedTutorialText(t.g());
    ASSERT_EQ(t.st().Logs[1].Count, 2);
    EXPECT_EQ(Entry(1, 1), "two");
    EXPECT_EQ(t.st().Logs[1].Entries[0].Colour, kColourTutorial);
    FeedTutorialText(t.g());
    ASSERT_EQ(t.st().Logs[1].Count, 3);
    EXPECT_EQ(Entry(1, 2), "three");
    FeedTutorialText(t.g());
    EXPECT_EQ(t.st().Logs[1].Count, 3);

    // A last block without a separator ends with the last line.
    ResetEventLogs(t.st());
    tx.TutorialLines[5] = "four";
    tx.TutorialCursor = 0;
    FeedTutorialText(t.g());
    FeedTutorialText(t.g());
    ASSERT_EQ(t.st().Logs[1].Count, 4);
    EXPECT_EQ(Entry(1, 3), "four");
    FeedTutorialText(t.g());
    EXPECT_EQ(t.st().Logs[1].Count, 4);
}

TEST_F(LogTest, MessagesAndPasswordGoThroughTheScreen) {
    t.st().ActiveSide = 2;
    t.st().LocalSide = 1;
    ShowMessageIfLocal(t.g(), "not shown");
    ShowMessageBox(t.g(), "shown");
    EXPECT_EQ(t.screen.Texts(HeadlessPresentation::Kind::Message), std::vector<std::string>{"shown"});
    t.screen.ScriptAnswer("");
    t.screen.ScriptAnswer("titok");
    EXPECT_EQ(AskPassword(t.g()), "titok");  // an empty answer leaves the dialog open
    EXPECT_EQ(t.st().EnteredPassword.str(), "titok");
    EXPECT_EQ(t.screen.Count(HeadlessPresentation::Kind::Ask), 2);
}

TEST_F(LogTest, PauseIsCountedInCyclesOfThree) {
    Pause(t.g(), 2);
    Pause(t.g(), 3);
    Pause(t.g(), 10);
    ASSERT_EQ(t.screen.Count(HeadlessPresentation::Kind::Pause), 2);
    EXPECT_EQ(t.screen.Calls()[0].value, 1);
    EXPECT_EQ(t.screen.Calls()[1].value, 3);
}

TEST(RegimentNames, TitleAndSubjectForms) {
    TestGame t;
    State& st = t.st();
    st.Texts.NationName[1] = "magyar";
    st.Types[2].Name = "honvéd zászlóalj";
    st.Regiment(1, 5).Ordinal = 12;
    st.Regiment(1, 5).Nation = 1;
    st.Regiment(1, 5).Type = 2;
    EXPECT_EQ(RegimentTitle(st, 1, 5), "12. magyar honvéd zászlóalj");
    EXPECT_EQ(RegimentSubject(st, 1, 5), "the 12. magyar honvéd zászlóalj");
    EXPECT_EQ(RegimentGoal(st, 1, 5), RegimentSubject(st, 1, 5));
}

} // namespace
} // namespace vezer
