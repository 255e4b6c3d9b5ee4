#include "forces/invariants.h"
#include "support/draws.h"
#include "support/state_builder.h"
#include "turn/reinforcements.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vezer {
namespace {

using testing::At;
using testing::DrawsSince;
using testing::QueueDraws;

// The whole war in the third week of June 1849, the turn-start screen open, side 1 a person
// and side 2 the computer; a fresh game for each case.
struct Arrivals : ::testing::Test, testing::FreshGame {
    void SetUp() override {
        Fresh();
        State& s = st();
        s.Campaign = 5;
        s.TurnStartScreenOpen = 1;
        s.Year = 1849;
        s.Month = 6;
        s.Week = 3;
        s.StartYear = 1848;
        s.StartMonth = 9;
        s.StartWeek = 1;
        s.PlayerType = {0, 1, 2};
        s.Zeal = {0, 60, 60};
        s.RussianIntervention = s.PolishIntervention = 2;
    }

    // Appends a record: its types (above 15: veterans of type - 20) and fills.
    int Record(int side, int nation, int limited, At at, int general, std::vector<int> types,
               std::vector<int> fills = {}) {
        const int k = ++st().ReinforcementCount;
        TErosites& r = st().Reinforcements[static_cast<std::size_t>(k)];
        r = TErosites{};
        r.Year = 1849;
        r.Month = 6;
        r.Week = 3;
        r.Side = side;
        r.LimitedIntervention = limited;
        r.Template.X = at.x;
        r.Template.Y = at.y;
        r.Template.Nation = nation;
        r.Template.General = general;
        r.Template.Formation = 2;
        r.Template.UnitCount = static_cast<int>(types.size());
        for (std::size_t j = 0; j < types.size(); ++j) {
            r.Template.Units[j + 1] = types[j];
            r.UnitFill[j + 1] = j < fills.size() ? fills[j] : 100;
        }
        return k;
    }
    std::vector<std::string> Listed() {
        std::vector<std::string> out;
        for (int i = 1; i <= st().TurnEventCount; ++i)
            out.push_back(st().TurnEventList[static_cast<std::size_t>(i)].Text.str());
        return out;
    }
};

TEST_F(Arrivals, TheInterventionOptionsDecideWhichRussiansAndPolesCome) {
    for (int russian = 0; russian <= 2; ++russian) {
        for (int polish = 0; polish <= 2; ++polish) {
            SetUp();
            st().RussianIntervention = russian;
            st().PolishIntervention = polish;
            Record(2, 3, 1, {30, 2}, 0, {9}); // Russians of the limited intervention
            Record(2, 3, 0, {32, 2}, 0, {9}); // the main Russian army
            Record(1, 9, 1, {29, 9}, 0, {9}); // the Polish Legion
            Record(1, 9, 0, {31, 9}, 0, {9}); // Polish volunteers of the full intervention
            Record(2, 2, 0, {6, 9}, 0, {9});  // an Austrian corps always comes
            ArriveReinforcements(g());
            const bool expected[] = {false, russian >= 1, russian == 2, polish >= 1, polish == 2, true};
            for (int k = 1; k <= 5; ++k)
                EXPECT_EQ(st().Reinforcements[static_cast<std::size_t>(k)].Arrived == 1, expected[k])
                    << "record " << k << ", Russian " << russian << ", Polish " << polish;
            EXPECT_EQ(st().CorpsCount[2], (russian >= 1) + (russian == 2) + 1);
            EXPECT_EQ(st().CorpsCount[1], (polish >= 1) + (polish == 2));
            EXPECT_TRUE(CheckInvariants(st()).empty());
        }
    }
}

TEST_F(Arrivals, ACorpsArrivesWithDrawnVeteransItsGeneralAndTakesTheTown) {
    const int paskevich = b().General(2, {.nation = 3, .available = 0, .family = "Paskevich"});
    b().City(30, {32, 1}, {.owner = 1, .name = "Bártfa"});
    b().Corps(1, {33, 1}, {{.type = 9}}); // a Hungarian corps on the arrival hex
    b().RecomputeAll();
    const int k = Record(2, 3, 0, {33, 1}, paskevich, {9, 9, 31}, {90, 80, 100});
    st().SelectedCorps = 1;
    st().SelectedCorpsSide = 1;
    QueueDraws(st(), {5, 10, 12, 3, 20, 1});
    const int before = st().RandPos;
    ArriveReinforcements(g());
    EXPECT_EQ(DrawsSince(st(), before), 6);
    EXPECT_EQ(st().Reinforcements[static_cast<std::size_t>(k)].Arrived, 1);
    ASSERT_EQ(st().CorpsCount[2], 1);
    const THad& h = H(2, 1);
    EXPECT_EQ(h.X, 32); // one column to the west of the enemy
    EXPECT_EQ(h.Y, 1);
    EXPECT_EQ(h.General, paskevich);
    EXPECT_EQ(st().General(2, paskevich).Available, 1);
    EXPECT_EQ(st().General(2, paskevich).Corps, 1);
    EXPECT_EQ(h.Tactic, 2);
    EXPECT_EQ(h.Direction, 3);
    EXPECT_EQ(h.Role, 3);
    EXPECT_EQ(h.Task, 2);
    EXPECT_EQ(h.ObjectiveX, -1);
    EXPECT_EQ(h.StackOrder, 1);
    EXPECT_EQ(h.InfantryMen, 1700);
    EXPECT_EQ(h.Guns, 8);
    struct Expect {
        int type, experience, morale;
    } regiments[] = {{9, 35, 70}, {9, 42, 63}, {11, 65, 61}}; // the battery: 20 + 40 - 10 + 15
    for (int r = 1; r <= 3; ++r) {
        const TEzred& e = st().Regiment(2, r);
        EXPECT_EQ(e.Type, regiments[r - 1].type);
        EXPECT_EQ(e.Experience, regiments[r - 1].experience);
        EXPECT_EQ(e.Morale, regiments[r - 1].morale);
        EXPECT_EQ(e.Readiness, 95);
        EXPECT_EQ(e.Supply, 100); // the Russians are well provided
        EXPECT_EQ(e.Nation, 3);
    }
    EXPECT_EQ(st().Zeal[2], 61); // the computer's side at normal difficulty, fewer than 10
    EXPECT_EQ(st().Cities[30].Owner, 2);
    EXPECT_EQ(st().ActiveSide, 1);
    EXPECT_EQ(st().OtherSide, 2);
    EXPECT_EQ(st().SelectedCorps, 1);
    EXPECT_EQ(st().SelectedCorpsSide, 1);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Bártfa:Orosz erösítés. Lovas:0 gyalogos:1700ágyú:8"}));
    EXPECT_EQ(st().TurnEventList[1].Side, 2);
    EXPECT_EQ(st().TurnEventList[1].Hidden, 1);
    EXPECT_TRUE(CheckInvariants(st()).empty());
}

TEST_F(Arrivals, ANamedGeneralLeavesHisOldCommandAndARecordWithoutOneGetsADefender) {
    const int haynau = b().General(2, {.family = "Haynau"});
    const int old = b().Corps(2, {10, 10}, {{.type = 9}}, {.general = haynau});
    b().RecomputeAll();
    Record(2, 2, 0, {7, 9}, haynau, {9});
    Record(2, 2, 0, {8, 9}, 0, {9});
    ArriveReinforcements(g());
    ASSERT_EQ(st().CorpsCount[2], 3);
    EXPECT_EQ(H(2, 2).General, haynau);
    EXPECT_NE(H(2, old).General, haynau);
    EXPECT_NE(H(2, old).General, 0);
    EXPECT_NE(H(2, 3).General, 0);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"7,9 :Osztrák erösítés. Lovas:0 gyalogos:1000ágyú:0",
                                                  "8,9 :Osztrák erösítés. Lovas:0 gyalogos:1000ágyú:0"}));
    EXPECT_TRUE(CheckInvariants(st()).empty());
}

TEST_F(Arrivals, TheNationIsLiftedByWhatArrives) {
    struct Case {
        int player, difficulty, regiments, rise;
    } cases[] = {{1, 2, 3, 1}, {1, 3, 10, 3}, {2, 1, 3, 0}, {2, 3, 9, 2}, {2, 3, 10, 6}, {2, 2, 10, 3}};
    for (const Case& c : cases) {
        SetUp();
        st().PlayerType[2] = c.player;
        st().Difficulty = c.difficulty;
        Record(2, 2, 0, {7, 9}, 0, std::vector<int>(static_cast<std::size_t>(c.regiments), 9));
        ArriveReinforcements(g());
        EXPECT_EQ(st().Zeal[2], 60 + c.rise) << c.player << " " << c.difficulty << " " << c.regiments;
    }
}

TEST_F(Arrivals, OnlyRecordsDueFromTheCampaignsStartArriveAndNoneInTheTutorial) {
    const int early = Record(2, 2, 0, {7, 9}, 0, {9});
    st().Reinforcements[static_cast<std::size_t>(early)].Year = 1848;
    st().Reinforcements[static_cast<std::size_t>(early)].Month = 8; // before the war's first week
    const int late = Record(2, 2, 0, {8, 9}, 0, {9});
    st().Reinforcements[static_cast<std::size_t>(late)].Week = 4;
    const int now = Record(2, 2, 0, {9, 9}, 0, {9});
    st().Campaign = 0;
    ArriveReinforcements(g());
    EXPECT_EQ(st().CorpsCount[2], 0);
    st().Campaign = 5;
    ArriveReinforcements(g());
    EXPECT_EQ(st().Reinforcements[static_cast<std::size_t>(early)].Arrived, 0);
    EXPECT_EQ(st().Reinforcements[static_cast<std::size_t>(late)].Arrived, 0);
    EXPECT_EQ(st().Reinforcements[static_cast<std::size_t>(now)].Arrived, 1);
    ArriveReinforcements(g());
    EXPECT_EQ(st().CorpsCount[2], 1); // a record comes once
}

TEST_F(Arrivals, ASideWithoutRoomKeepsTheRecordWaitingAndDrawsNothing) {
    for (const char* what : {"regiments", "corps", "generals"}) {
        SetUp();
        const std::string full = what;
        const int k = Record(2, 3, 0, {30, 2}, 0, {9, 9, 9});
        if (full == "regiments") st().RegimentCount[2] = kMaxRegiments - 2;
        if (full == "corps") st().CorpsCount[2] = kMaxCorps;
        if (full == "generals") {
            st().GeneralCount[2] = kMaxGenerals;
            for (int g = 1; g <= kMaxGenerals; ++g) st().General(2, g).Available = 0;
        }
        const int before = st().RandPos, regiments = st().RegimentCount[2];
        ArriveReinforcements(g());
        EXPECT_EQ(st().RandPos, before) << what;
        EXPECT_EQ(st().RegimentCount[2], regiments) << what;
        EXPECT_EQ(st().Reinforcements[static_cast<std::size_t>(k)].Arrived, 0) << what;
        EXPECT_EQ(st().Logs[2].Count, 1) << what;
        EXPECT_EQ(st().ActiveSide, 1);
        EXPECT_EQ(st().TurnEventCount, 0);
    }
}

} // namespace
} // namespace vezer
