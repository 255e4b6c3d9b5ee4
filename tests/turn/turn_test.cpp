#include "ai/ai_turn.h"
#include "core/calendar.h"
#include "core/errors.h"
#include "core/log.h"
#include "files/email_files.h"
#include "orders/orders.h"
#include "turn/turn.h"
#include "support/state_builder.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

using testing::TestGame;
using Kind = HeadlessPresentation::Kind;

struct TurnTest : ::testing::Test {
    TestGame t;
    void Start(int player1, int player2, int pbem = 0) {
        State& st = t.st();
        ResetEventLogs(st);
        st.PlayerType[1] = player1;
        st.PlayerType[2] = player2;
        st.PbemGame = pbem;
        st.ActiveSide = 1;
        st.OtherSide = 2;
        st.LocalSide = player1 == 1 ? 1 : 2;
        st.LocalOtherSide = 3 - st.LocalSide;
        st.Year = 1848;
        st.Month = 12;
        st.Week = 4;
        st.FogOfWar = 1;
        // An e-mail turn records its orders from the start.
        if (pbem) CreateOrderFile(t.g());
    }
    void EndTurnOrder() { ExecuteOrder(t.g(), TParancs{kOrderEndTurn, 0, 0, t.st().ActiveSide, 0, 0}); }
    // The end of a turn, then whoever plays the next side plays it, as the screen's loop does.
    void EndTurnAndPlay() {
        t.g().players = &computer;
        EndTurnOrder();
        PlayTurns(t.g());
    }
    ComputerPlayers computer;
    Date Now() const { return vezer::Today(t.game->state); }
};

TEST_F(TurnTest, HotSeatFlipsTheLocalSideAndOnlySideTwoAdvancesTheWeek) {
    Start(1, 1);
    t.st().SelectedCorps = 3;
    t.st().SelectedCorpsSide = 1;
    EndTurnOrder();
    EXPECT_EQ(t.st().ActiveSide, 2);
    EXPECT_EQ(t.st().OtherSide, 1);
    EXPECT_EQ(t.st().LocalSide, 2);
    EXPECT_EQ(t.st().LocalOtherSide, 1);
    EXPECT_EQ(t.st().SelectedCorps, 0);
    EXPECT_EQ(t.st().SelectedCorpsSide, 0);
    EXPECT_EQ(Now(), (Date{1848, 12, 4}));
    EXPECT_EQ(t.screen.Count(Kind::TurnStartScreen), 0);
    EXPECT_EQ(t.screen.Texts(Kind::Message),
              std::vector<std::string>{"Az osztrák seregek parancsára várnak. A Császárért elöre!"});

    t.screen.Clear();
    EndTurnOrder();
    EXPECT_EQ(t.st().ActiveSide, 1);
    EXPECT_EQ(t.st().LocalSide, 1);
    EXPECT_EQ(Now(), (Date{1849, 1, 1}));  // December's fourth week gives way to January
    EXPECT_EQ(t.screen.Count(Kind::TurnStartScreen), 1);
    EXPECT_EQ(t.screen.Texts(Kind::Message),
              std::vector<std::string>{"A magyar seregek parancsára várnak. A hazáért és a szabadságért elôre!!"});
    // The week's header is in both logs, whatever the fog of war.
    ASSERT_EQ(t.st().Logs[2].Count, 1);
    EXPECT_EQ(t.st().Logs[2].Entries[0].Text.str(), "--------- 1849-1-1 ---------");
    EXPECT_EQ(t.st().Logs[1].Entries[0].Colour, kColourWhite);
    EXPECT_EQ(t.st().TickerLine[1].str(), "--------- 1849-1-1 ---------");
}

TEST_F(TurnTest, AgainstTheComputerTheLocalSideNeverChanges) {
    Start(1, 2);
    EndTurnOrder();
    // The end of the turn only hands over: side 2 is active until its player plays it.
    EXPECT_EQ(t.st().ActiveSide, 2);
    EXPECT_EQ(Now(), (Date{1848, 12, 4}));
    t.g().players = &computer;
    PlayTurns(t.g());
    // The computer's side took its turn (it ends with order 30), and the week stepped.
    EXPECT_EQ(t.st().ActiveSide, 1);
    EXPECT_EQ(t.st().LocalSide, 1);
    EXPECT_EQ(Now(), (Date{1849, 1, 1}));
    EXPECT_EQ(t.screen.Count(Kind::TurnStartScreen), 1);
    // No message for side 2's turn: nobody at this machine plays it.
    EXPECT_EQ(t.screen.Count(Kind::Message), 1);
}

TEST_F(TurnTest, ComputerAsSideOnePlaysAfterTheWeekStep) {
    Start(2, 1);
    EXPECT_EQ(t.st().LocalSide, 2);
    t.st().ActiveSide = 2;
    t.st().OtherSide = 1;
    EndTurnAndPlay();
    // Side 2 ended, the week stepped, side 1 (computer) passed, and side 2 moves again.
    EXPECT_EQ(t.st().ActiveSide, 2);
    EXPECT_EQ(t.st().LocalSide, 2);
    EXPECT_EQ(Now(), (Date{1849, 1, 1}));
}

TEST_F(TurnTest, EmailGameEndsTheTurnOnlyInTheReplay) {
    Start(1, 1, 1);
    // At the machine whose side is active, order 30 only closes the order file.
    EndTurnOrder();
    EXPECT_EQ(t.st().ActiveSide, 1);
    EXPECT_EQ(Now(), (Date{1848, 12, 4}));
    // On the opponent's machine the replayed order ends the turn; LocalSide never flips.
    t.st().LocalSide = 2;
    t.st().LocalOtherSide = 1;
    EndTurnOrder();
    EXPECT_EQ(t.st().ActiveSide, 2);
    EXPECT_EQ(t.st().LocalSide, 2);
    EXPECT_EQ(Now(), (Date{1848, 12, 4}));
}

TEST_F(TurnTest, TheEndOfTheCampaignStopsTheSequence) {
    Start(1, 1);
    t.st().ActiveSide = 2;
    t.st().OtherSide = 1;
    t.screen.SetMainScreen(false);  // the victory check has closed the main screen
    EndTurnOrder();
    EXPECT_EQ(Now(), (Date{1849, 1, 1}));
    EXPECT_EQ(t.screen.Count(Kind::TurnStartScreen), 0);
    EXPECT_EQ(t.screen.Count(Kind::Message), 0);
}

TEST_F(TurnTest, StartSideTurnGivesMovementPointsHalvedByAnActivity) {
    Start(1, 1);
    State& st = t.st();
    testing::StateBuilder b(t.g());
    // Line battalions in defence formation: 60 base movement x 80 % = 48 a turn.
    b.Corps(1, {10, 10}, {{.type = 9, .movement = 3}}, {.formation = 3, .activity = 11});
    b.Corps(1, {12, 10}, {{.type = 9, .movement = 3}}, {.formation = 3});
    b.Corps(2, {14, 10}, {{.type = 9, .movement = 3}}, {.formation = 3});  // the other side waits
    StartSideTurn(t.g());
    EXPECT_EQ(st.Regiment(1, 1).MovementPoints, 24);
    EXPECT_EQ(st.Regiment(1, 2).MovementPoints, 48);
    EXPECT_EQ(st.Regiment(2, 1).MovementPoints, 3);
    EXPECT_EQ(st.CorpsRec(1, 1).MovementPoints, 24);  // the corps recompute follows the regiments
    EXPECT_EQ(st.CorpsRec(1, 2).MovementAllowance, 48);
}

TEST_F(TurnTest, UnknownOrderCodesAreReportedNotExecuted) {
    Start(1, 1);
    for (int code : {0, 31, -1}) EXPECT_THROW(ExecuteOrder(t.g(), TParancs{code, 0, 0, 1, 0, 0}), OrderError);
    EXPECT_EQ(t.st().ActiveSide, 1);
}

TEST(OrderRecord, EncodesSixLittleEndianValues) {
    TParancs order{30, -1, 35, 2, 250, 0x01020304};
    auto bytes = EncodeOrder(order);
    EXPECT_EQ(bytes[0], 30);
    EXPECT_EQ(bytes[4], 0xFF);
    EXPECT_EQ(bytes[7], 0xFF);
    EXPECT_EQ(bytes[20], 0x04);
    EXPECT_EQ(bytes[23], 0x01);
    EXPECT_EQ(DecodeOrder(bytes), order);
}

TEST(AutoSaveNames, FollowTheDateOfTheEndingTurn) {
    TestGame t;
    t.st().Year = 1849;
    t.st().Month = 3;
    t.st().Week = 2;
    EXPECT_EQ(AutoSaveName(t.st()), "save\\1849_3_2.sav");
    EXPECT_EQ(AutoSaveLatestName(t.st()), "save\\korvege.sav");
    t.st().NetworkGame = 1;
    EXPECT_EQ(AutoSaveName(t.st()), "save\\m1849_3_2.sav");
    EXPECT_EQ(AutoSaveLatestName(t.st()), "save\\multikorvege.sav");
}

struct TurnEventTest : TurnTest {
    void SetUp() override {
        Start(1, 2);
        t.st().TurnStartScreenOpen = 1;
    }
};

TEST_F(TurnEventTest, StoresFiftyAndShowsByTheVisibilityRule) {
    AddTurnEvent(t.g(), 2, true, "hidden from side 1");
    AddTurnEvent(t.g(), 3, false, "side three is stored as two");
    AddTurnEvent(t.g(), 0, true, "for both");
    EXPECT_EQ(t.screen.Texts(Kind::TurnEvent),
              (std::vector<std::string>{"  side three is stored as two", "  for both"}));
    EXPECT_EQ(t.st().TurnEventList[2].Side, 2);
    for (int i = 4; i <= 51; ++i) AddTurnEvent(t.g(), 1, false, "event " + std::to_string(i));
    EXPECT_EQ(t.st().TurnEventCount, 50);
    EXPECT_EQ(t.screen.Texts(Kind::TurnEvent).back(), "  event 51");  // shown, not stored

    t.screen.Clear();
    ReviewTurnEvents(t.g());
    auto reviewed = t.screen.Texts(Kind::TurnEvent);
    EXPECT_EQ(reviewed.size(), 49u);  // the hidden one stays hidden, the 51st was never stored
    EXPECT_EQ(reviewed.back(), "  event 50");

    // Without fog of war everything is visible; the week step empties the list.
    t.st().FogOfWar = 0;
    t.screen.Clear();
    ReviewTurnEvents(t.g());
    EXPECT_EQ(t.screen.Texts(Kind::TurnEvent).size(), 50u);
    AdvanceWeek(t.g());
    EXPECT_EQ(t.st().TurnEventCount, 0);
}

TEST_F(TurnEventTest, NothingHappensWhileTheScreenIsClosed) {
    t.st().TurnStartScreenOpen = 0;
    AddTurnEvent(t.g(), 1, false, "lost");
    EXPECT_EQ(t.st().TurnEventCount, 0);
    EXPECT_EQ(t.screen.Count(Kind::TurnEvent), 0);
}

TEST_F(TurnEventTest, ReviewIsRefusedWhileTheOtherMachineActs) {
    t.st().NetworkGame = 1;
    t.st().ActiveSide = 2;
    ReviewTurnEvents(t.g());
    EXPECT_EQ(t.screen.Count(Kind::TurnStartScreen), 0);
}

} // namespace
} // namespace vezer

namespace vezer {
namespace {

// A side player that records how deep turns nest and can misbehave on purpose.
struct ProbePlayers : SidePlayers {
    int depth = 0, deepest = 0, turns = 0, stopAfter = 1000;
    bool throwOnce = false, forgetToEnd = false;
    bool PlayTurn(Game& game, int side) override {
        if (game.state.PlayerType[side] != 2) return false;  // a person's side waits for the person
        ++turns;
        deepest = std::max(deepest, ++depth);
        struct Leave {
            int& d;
            ~Leave() { --d; }
        } leave{depth};
        if (turns >= stopAfter) static_cast<HeadlessPresentation&>(game.screen).SetMainScreen(false);
        if (throwOnce) {
            throwOnce = false;
            throw std::runtime_error("a fault in the computer's turn");
        }
        if (!forgetToEnd) ExecuteOrder(game, TParancs{kOrderEndTurn, 0, 0, side, 0, 0});
        return true;
    }
};

struct DriverTest : TurnTest {
    ProbePlayers probe;
    void SetUp() override {
        Start(2, 2);
        t.g().players = &probe;
    }
};

TEST_F(DriverTest, TwoComputerSidesArePlayedInALoopThatNeverNestsAndStopsAtTheEnd) {
    probe.stopAfter = 9;  // the campaign ends during the ninth turn
    PlayTurns(t.g());
    EXPECT_EQ(probe.turns, 9);
    EXPECT_EQ(probe.deepest, 1);
    // Nine side turns from side 1's turn in the fourth week of December: four weeks and a half.
    EXPECT_EQ(Now(), (Date{1849, 1, 4}));
    EXPECT_EQ(t.st().ActiveSide, 2);
}

TEST_F(DriverTest, AFaultInAPlayersTurnIsShownAndTheTurnStillEnds) {
    probe.throwOnce = true;
    probe.stopAfter = 3;
    PlayTurns(t.g());
    EXPECT_EQ(probe.turns, 3);
    const std::vector<std::string> errors = t.screen.Texts(Kind::Error);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("a fault in the computer's turn"), std::string::npos);
    // The faulty turn was ended with order 30: three turns were played, one week passed.
    EXPECT_EQ(Now(), (Date{1849, 1, 1}));
    EXPECT_EQ(t.st().ActiveSide, 2);
}

TEST_F(DriverTest, APlayerThatForgetsToEndItsTurnHasItEnded) {
    probe.forgetToEnd = true;
    probe.stopAfter = 3;  // after the campaign has ended nothing more is ended for it
    PlayTurns(t.g());
    EXPECT_EQ(probe.turns, 3);
    EXPECT_EQ(t.st().ActiveSide, 1);
    EXPECT_EQ(Now(), (Date{1849, 1, 1}));
}

TEST_F(DriverTest, ASideWaitingForAPersonStopsTheLoop) {
    Start(2, 1);
    PlayTurns(t.g());
    EXPECT_EQ(probe.turns, 1);  // side 1 played; side 2's person is asked and waits
    EXPECT_EQ(t.st().ActiveSide, 2);
    PlayTurns(t.g());  // nothing changes until the person ends the turn
    EXPECT_EQ(probe.turns, 1);
    EXPECT_EQ(Now(), (Date{1848, 12, 4}));
}

} // namespace
} // namespace vezer
