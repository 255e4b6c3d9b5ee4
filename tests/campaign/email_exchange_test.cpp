// Two machines play the autumn campaign of 1848 by e-mail, each in its own game directory, the
// turn files passed between them: both sides persons, fog of war on, a battle at Nagykanizsa,
// marches the other side cannot see and a change of week. The receiver's replay, pressed SPACE
// by SPACE, passes through the sender's states, and the two end equal.

#include "campaign/email.h"
#include "campaign/email_test_support.h"
#include "core/calendar.h"
#include "core/errors.h"
#include "core/geometry.h"
#include "files/email_files.h"
#include "files/savegame.h"
#include "orders/orders.h"
#include "support/test_game.h"
#include "turn/activation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

namespace vezer {
namespace {

using testing::EmailMachine;
using testing::SharedHash;

// Side 1's first turn: each corps away from Nagykanizsa marches one hex, every other one east.
std::vector<TParancs> HungarianMarches(const State& st) {
    std::vector<TParancs> orders;
    int moved = 0;
    for (int c = 1; c <= st.CorpsCount[1] && moved < 4; ++c) {
        const THad& h = st.CorpsRec(1, c);
        if (h.Garrison || h.UnitCount <= 0 || (h.X == 9 && h.Y == 21)) continue;
        const Hex to = Neighbour(Hex{h.X, h.Y}, moved % 2 == 0 ? 1 : 4);
        orders.push_back({kOrderSelectCorps, h.X, h.Y, 1, c, 0});
        orders.push_back({kOrderMove, to.x, to.y, 1, c, 0});
        ++moved;
    }
    orders.push_back({kOrderChangeTactic, 0, 0, 1, 1, 2});
    return orders;
}

// Side 2's first turn: Jelačić and Ottinger close on Teleki at Nagykanizsa from the north-west
// and the south-west, Ottinger is asked to support, the attack is estimated and made.
const std::vector<TParancs> kDravaCrossing = {
    {kOrderSelectCorps, 6, 22, 2, 4, 0}, {kOrderMove, 8, 21, 2, 4, 0},         {kOrderSelectCorps, 6, 22, 2, 5, 0},
    {kOrderMove, 8, 22, 2, 5, 0},        {kOrderCollectSupporters, 9, 21, 2, 4, 0},
    {kOrderBattleRecord, 9, 21, 2, 4, 0}, {kOrderAttack, 9, 21, 2, 4, 0},
};

// The states the sender passes through: after its turn start, and after each order.
struct SentTurn {
    std::uint64_t atStart = 0;
    std::vector<std::uint64_t> afterOrder; // one per order file record, order 30 excluded
    std::string file;
};

SentTurn PlayTurn(EmailMachine& m, const std::vector<TParancs>& orders, const std::string& name) {
    SentTurn sent;
    sent.atStart = SharedHash(m.st());
    for (const TParancs& o : orders) {
        const auto before = ReadOrderFile(m.OrderFileBytes(), kOrderFile).orders.size();
        GiveOrder(m.g(), o);
        const auto after = ReadOrderFile(m.OrderFileBytes(), kOrderFile).orders.size();
        // An order records itself and, for an attack's estimate, nothing more.
        EXPECT_EQ(after, before + 1) << "order " << o.Code;
        sent.afterOrder.push_back(SharedHash(m.st()));
    }
    EXPECT_EQ(ExecuteOrder(m.g(), TParancs{kOrderEndTurn, 0, 0, m.st().ActiveSide, 0, 0}), OrderOutcome::Executed);
    EXPECT_EQ(m.st().OrderFileOpen, 0);
    sent.file = WriteTurnFile(m.g(), name);
    return sent;
}

// Opens the turn file on the other machine and replays it press by press; every press ends on a
// state the sender passed through, in order. Returns the number of presses.
int ReceiveTurn(EmailMachine& from, EmailMachine& to, const SentTurn& sent, const std::string& password) {
    to.TakeFile(from, sent.file);
    const std::string plain = std::filesystem::path(from.g().dir.Resolve(sent.file)).filename().string();
    EXPECT_EQ(to.Open(plain, password), TurnFileOpening::Opened);
    ActivateMainScreen(to.g());
    EXPECT_EQ(SharedHash(to.st()), sent.atStart) << "the receiver's turn start differs";
    EXPECT_EQ(to.st().ReplayPending, 1);
    int presses = 0;
    const int records = to.st().ReplayCount;
    EXPECT_EQ(records, static_cast<int>(sent.afterOrder.size()) + 1);
    while (to.st().ReplayNext < records) {
        const int replayed = ReplayNextOrder(to.g());
        EXPECT_GE(replayed, 1);
        if (replayed == 0) break;
        ++presses;
        // The replayed order 30 ends the opponent's turn here; this machine now moves.
        if (to.st().ReplayNext == records) break;
        EXPECT_EQ(SharedHash(to.st()), sent.afterOrder[static_cast<std::size_t>(to.st().ReplayNext - 1)])
            << "after record " << to.st().ReplayNext;
    }
    EXPECT_EQ(ReplayNextOrder(to.g()), 0) << "nothing is left to replay";
    EXPECT_EQ(to.st().ReplayPending, 0);
    EXPECT_EQ(to.st().ActiveSide, to.st().LocalSide);
    EXPECT_EQ(to.st().OrderFileOpen, 1);
    return presses;
}

TEST(EmailExchange, TwoMachinesPlayTwoWeeksThroughTurnFiles) {
    EmailMachine hu, at;
    StartEmailGame(hu.g(), 1, testing::kTestSeed, 1,
                   CampaignChoices{.fogOfWar = 1, .polishIntervention = 1, .russianIntervention = 1}, "Kossuth");
    ActivateMainScreen(hu.g());
    ASSERT_EQ(hu.st().LocalSide, 1);

    // Week 1, side 1: marches Austria cannot see replay on few presses.
    const std::vector<TParancs> marches = HungarianMarches(hu.st());
    SentTurn t1 = PlayTurn(hu, marches, "osz1");
    const int presses1 = ReceiveTurn(hu, at, t1, "Windischgrätz");
    EXPECT_LT(presses1, static_cast<int>(marches.size()) / 2) << "unseen marches replay by themselves";
    EXPECT_EQ(at.st().LocalSide, 2);
    EXPECT_EQ(at.st().Password[2].str(), "Windischgrätz"); // chosen by opening the first file

    // Week 1, side 2: the battle at Nagykanizsa.
    const int battlesBefore = at.st().EngagementsWon[1] + at.st().EngagementsWon[2] + at.st().BattlesWon[1] +
                              at.st().BattlesWon[2] + at.st().DrawnBattles + at.st().DrawnEngagements;
    SentTurn t2 = PlayTurn(at, kDravaCrossing, "osz2");
    const int battlesAfter = at.st().EngagementsWon[1] + at.st().EngagementsWon[2] + at.st().BattlesWon[1] +
                             at.st().BattlesWon[2] + at.st().DrawnBattles + at.st().DrawnEngagements;
    EXPECT_EQ(battlesAfter, battlesBefore + 1) << "the attack was fought";
    const int t1Year = hu.st().Year, t1Month = hu.st().Month, week = hu.st().Week;
    ReceiveTurn(at, hu, t2, "Kossuth");
    EXPECT_NE(hu.st().Week, week) << "side 2's replayed end of turn starts the next week";

    // Week 2, both sides once more; the last receiver ends equal to the sender before order 30.
    SentTurn t3 = PlayTurn(hu, HungarianMarches(hu.st()), "osz3");
    ReceiveTurn(hu, at, t3, "Windischgrätz");
    SentTurn t4 = PlayTurn(at, {{kOrderChangeTactic, 0, 0, 2, 1, 1}}, "osz4");
    ReceiveTurn(at, hu, t4, "Kossuth");
    EXPECT_EQ(hu.st().ActiveSide, 1);
    int y = t1Year, mo = t1Month, w = week;
    StepWeek(y, mo, w, 2);
    EXPECT_EQ(Today(hu.st()), (Date{y, mo, w}));
}

TEST(EmailExchange, AWrongPasswordOrAWorkingFileNeverOpensTheGame) {
    EmailMachine hu, at;
    StartEmailGame(hu.g(), 1, testing::kTestSeed, 1, CampaignChoices{.fogOfWar = 1}, "Kossuth");
    ActivateMainScreen(hu.g());
    SentTurn t1 = PlayTurn(hu, {{kOrderChangeTactic, 0, 0, 1, 1, 3}}, "a");
    ReceiveTurn(hu, at, t1, "jelszo");
    SentTurn t2 = PlayTurn(at, {{kOrderChangeTactic, 0, 0, 2, 1, 3}}, "b");
    hu.TakeFile(at, t2.file);
    const std::uint64_t before = testing::WholeHash(hu.st());
    const Bytes orderFile = hu.OrderFileBytes();
    for (const char* wrong : {"kossuth", "Kossuth ", "", "jelszo"})
        EXPECT_EQ(hu.Open("PBEM_b.sav", wrong), TurnFileOpening::WrongPassword) << wrong;
    // The working files and names outside the save folder are no turn files.
    for (const char* working : {"PBEM.sav", "pbem.SAV", "PBEM.paf", "../PBEM_b.sav", "sub/PBEM_b.sav", ".."})
        EXPECT_THROW(hu.Open(working, "Kossuth"), FileIoError) << working;
    EXPECT_EQ(testing::WholeHash(hu.st()), before);
    EXPECT_EQ(hu.OrderFileBytes(), orderFile);
    EXPECT_EQ(hu.Open("PBEM_b.sav", "Kossuth"), TurnFileOpening::Opened);
}

TEST(EmailExchange, OpeningOnesOwnTurnFilePutsThePlayerOnTheOtherSide) {
    EmailMachine hu;
    StartEmailGame(hu.g(), 1, testing::kTestSeed, 1, CampaignChoices{}, "abc");
    ActivateMainScreen(hu.g());
    SentTurn t1 = PlayTurn(hu, {}, "own");
    // Side 2 has no password yet: whatever is typed becomes it.
    EXPECT_EQ(hu.Open("PBEM_own.sav", "xyz"), TurnFileOpening::Opened);
    EXPECT_EQ(hu.st().LocalSide, 2);
    EXPECT_EQ(hu.st().Password[2].str(), "xyz");
    EXPECT_EQ(hu.st().PasswordSet[2], 1);
    EXPECT_EQ(hu.st().PasswordLength[2], 3);
    EXPECT_EQ(hu.st().Password[1].str(), "abc");
    // The first week of a new game: the turn-start screen again, but no upkeep, no turn start.
    EXPECT_EQ(hu.st().TurnStartDue, 1);
    EXPECT_EQ(hu.st().NewGameWeek, 1);
}

TEST(EmailExchange, ANewEmailGameIsSavedWithItsPasswordAndAnEmptyOrderFile) {
    EmailMachine hu;
    StartEmailGame(hu.g(), 1, testing::kTestSeed, 2, CampaignChoices{.fogOfWar = 1}, "Görgei");
    const State& st = hu.st();
    EXPECT_EQ(st.PbemGame, 1);
    EXPECT_EQ(st.PlayerType[1], 1);
    EXPECT_EQ(st.PlayerType[2], 1);
    EXPECT_EQ(st.PasswordSet[1], 1);
    EXPECT_EQ(st.PasswordSet[2], 0);
    const OrderFileContents file = ReadOrderFile(hu.OrderFileBytes(), kOrderFile);
    EXPECT_TRUE(file.orders.empty());
    EXPECT_EQ(file.randPos, st.RandPos);
    EXPECT_EQ(file.randStep, st.RandStep);
    const Bytes save = ReadFileBytes(hu.g().dir.Resolve(kEmailSaveFile), kEmailSaveFile);
    EXPECT_EQ(save, SaveGameBytes(st));
    // A click is recorded as the selection it made.
    const THad& first = st.CorpsRec(1, 1);
    ExecuteOrder(hu.g(), TParancs{kOrderClickHex, first.X, first.Y, 0, 0, 0});
    const OrderFileContents after = ReadOrderFile(hu.OrderFileBytes(), kOrderFile);
    ASSERT_EQ(after.orders.size(), 1u);
    EXPECT_EQ(after.orders[0].order.Code, kOrderSelectCorps);
    EXPECT_EQ(after.orders[0].order.HexX, first.X);
    EXPECT_EQ(after.orders[0].order.Side, st.SelectedCorpsSide);
    EXPECT_EQ(after.orders[0].order.Corps, st.SelectedCorps);
}

TEST(EmailExchange, ATurnFileWithoutItsEndLeavesTheReplayPending) {
    EmailMachine hu, at;
    StartEmailGame(hu.g(), 1, testing::kTestSeed, 1, CampaignChoices{.fogOfWar = 1}, "Kossuth");
    ActivateMainScreen(hu.g());
    SentTurn t1 = PlayTurn(hu, {{kOrderChangeTactic, 0, 0, 1, 1, 3}, {kOrderChangeTactic, 0, 0, 1, 2, 3}}, "cut");
    // The file cut after its last order, before the end of the turn.
    Bytes bytes = ReadFileBytes(hu.g().dir.Resolve(t1.file), t1.file);
    bytes.resize(bytes.size() - kRecordedOrderBytes);
    WriteFileAtomic(at.g().dir.Resolve(t1.file), bytes);
    ASSERT_EQ(at.Open("PBEM_cut.sav", "x"), TurnFileOpening::Opened);
    ActivateMainScreen(at.g());
    EXPECT_EQ(at.st().ReplayCount, 2);
    EXPECT_EQ(ReplayNextOrder(at.g()), 2) << "nothing to watch: both orders on one press";
    EXPECT_EQ(at.st().HiddenMove, 0) << "cleared after the press";
    EXPECT_EQ(at.st().ReplayBusy, 0);
    EXPECT_EQ(SharedHash(at.st()), t1.afterOrder.back());
    EXPECT_EQ(ReplayNextOrder(at.g()), 0);
    EXPECT_EQ(ReplayNextOrder(at.g()), 0);
    EXPECT_EQ(at.st().ReplayPending, 1) << "the end-turn button stays blocked";
    EXPECT_EQ(at.st().ActiveSide, 1);
}

TEST(EmailExchange, ATurnFileThatCannotBeWrittenIsAskedForAgainAndNothingIsLost) {
    EmailMachine hu;
    StartEmailGame(hu.g(), 1, testing::kTestSeed, 1, CampaignChoices{}, "Kossuth");
    ActivateMainScreen(hu.g());
    GiveOrder(hu.g(), TParancs{kOrderChangeTactic, 0, 0, 1, 1, 3});
    ExecuteOrder(hu.g(), TParancs{kOrderEndTurn, 0, 0, 1, 0, 0});
    const Bytes orders = hu.OrderFileBytes();
    const WriteFault cut{100};
    EXPECT_THROW(WriteTurnFile(hu.g(), "t", &cut), FileIoError);
    EXPECT_FALSE(hu.g().dir.Exists("save\\PBEM_t.sav"));
    for (const char* bad : {"", "a/b", "..", "x\\y"}) EXPECT_THROW(WriteTurnFile(hu.g(), bad), FileIoError) << bad;
    EXPECT_EQ(hu.OrderFileBytes(), orders);
    const std::string written = WriteTurnFile(hu.g(), "t");
    EXPECT_EQ(written, "save\\PBEM_t.sav");
    const Bytes file = ReadFileBytes(hu.g().dir.Resolve(written), written);
    const Bytes save = ReadFileBytes(hu.g().dir.Resolve(kEmailSaveFile), kEmailSaveFile);
    ASSERT_EQ(file.size(), save.size() + orders.size());
    EXPECT_TRUE(std::equal(save.begin(), save.end(), file.begin()));
    EXPECT_TRUE(std::equal(orders.begin(), orders.end(), file.begin() + static_cast<std::ptrdiff_t>(save.size())));
    // Without its order file there is no turn to write.
    std::filesystem::remove(hu.g().dir.Resolve(kOrderFile));
    EXPECT_THROW(WriteTurnFile(hu.g(), "u"), FileIoError);
}

TEST(EmailExchange, AMarchStopsTheReplayUnlessTheCorpsIsUnknown) {
    EmailMachine hu, at;
    StartEmailGame(hu.g(), 1, testing::kTestSeed, 1, CampaignChoices{.fogOfWar = 1}, "Kossuth");
    ActivateMainScreen(hu.g());
    const THad& moga = hu.st().CorpsRec(1, 9);
    SentTurn t1 = PlayTurn(hu, {{kOrderSelectCorps, moga.X, moga.Y, 1, 9, 0}, {kOrderMove, 16, 18, 1, 9, 0},
                                {kOrderChangeTactic, 0, 0, 1, 9, 2}}, "m");
    at.TakeFile(hu, t1.file);
    ASSERT_EQ(at.Open("PBEM_m.sav", "x"), TurnFileOpening::Opened);
    ActivateMainScreen(at.g());
    // Austria knows Móga's corps: the march is watched, one press each.
    at.st().CorpsRec(1, 9).ReconLevel = 2;
    EXPECT_GE(ReplayNextOrder(at.g()), 1);
    EXPECT_LE(at.st().ReplayNext, 2) << "a known corps' march stops the replay";
    EXPECT_EQ(at.st().ActiveSide, 1);
    // A copy of the start-of-turn save is no turn: it holds no orders.
    const Bytes save = ReadFileBytes(hu.g().dir.Resolve(kEmailSaveFile), kEmailSaveFile);
    WriteFileAtomic(at.g().dir.Resolve("save\\PBEM_bare.sav"), save);
    const std::uint64_t before = testing::WholeHash(at.st());
    EXPECT_THROW(at.Open("PBEM_bare.sav", "x"), DataError);
    EXPECT_EQ(testing::WholeHash(at.st()), before);
}

} // namespace
} // namespace vezer

namespace vezer {
namespace {

TEST(OrderFile, TheChancePositionsAtTheirBoundsAreTakenAndBeyondThemRefused) {
    const TParancs select{kOrderSelectCorps, 3, 4, 1, 2, 0};
    for (auto [pos, step, ok] : {std::tuple{1, 1, true}, {kRandTableSize, 15, true}, {0, 1, false}, {1, 0, false},
                                 {kRandTableSize + 1, 1, false}, {1, 16, false}}) {
        const Bytes header = OrderFileBytes(OrderFileContents{pos, step, {}});
        const Bytes record = OrderFileBytes(OrderFileContents{1, 1, {{select, pos, step}}});
        if (ok) {
            EXPECT_EQ(ReadOrderFile(header, "h").randPos, pos);
            EXPECT_EQ(ReadOrderFile(record, "r").orders.at(0).randStep, step);
        } else {
            EXPECT_THROW(ReadOrderFile(header, "h"), DataError) << pos << " " << step;
            EXPECT_THROW(ReadOrderFile(record, "r"), DataError) << pos << " " << step;
        }
    }
    // A click is never recorded, and nothing follows the end of the turn.
    EXPECT_THROW(ReadOrderFile(OrderFileBytes({1, 1, {{TParancs{kOrderClickHex, 1, 1, 0, 0, 0}, 1, 1}}}), "c"),
                 DataError);
    EXPECT_THROW(ReadOrderFile(OrderFileBytes({1, 1, {{TParancs{kOrderEndTurn}, 1, 1}, {select, 1, 1}}}), "e"),
                 DataError);
}

} // namespace
} // namespace vezer
