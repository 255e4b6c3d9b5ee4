#include "core/geometry.h"
#include "forces/forces.h"
#include "support/draws.h"
#include "support/state_builder.h"
#include "turn/week_events.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vezer {
namespace {

using testing::At;
using testing::DrawsSince;
using testing::QueueDraws;
using testing::Reg;

// A game of the whole war in May 1849 with the turn-start screen open, so that the week's
// events are listed.
// SetUp starts a fresh game (table-driven tests call it again for each case).
struct WeekEvents : ::testing::Test, testing::FreshGame {
    void SetUp() override {
        Fresh();
        Open(*w);
    }
    static void Open(testing::BuiltGame& w) {
        w.st().Campaign = 5;
        w.st().TurnStartScreenOpen = 1;
        w.st().Year = 1849;
        w.st().Month = 5;
        w.st().Week = 2;
    }
    struct Line {
        int side;
        bool hidden;
        std::string text;
        bool operator==(const Line&) const = default;
    };
    std::vector<Line> Listed() {
        std::vector<Line> out;
        for (int i = 1; i <= st().TurnEventCount; ++i) {
            const TTurnEvent& e = st().TurnEventList[static_cast<std::size_t>(i)];
            out.push_back({e.Side, e.Hidden != 0, e.Text.str()});
        }
        return out;
    }
};

void PrintTo(const WeekEvents::Line& l, std::ostream* os) {
    *os << "{" << l.side << ", " << l.hidden << ", \"" << l.text << "\"}";
}

// --- The political effects ----------------------------------------------------------------

TEST(PoliticalEffects, KeyCitiesInHungarianHandsWeakenTheirNationsTroops) {
    struct Case {
        int olmutz, vienna, nagyszeben, zagreb;
        int austrianMorale, austrianSupply, romanianMorale, croatianMorale, events;
    } cases[] = {
        {1, 1, 2, 2, 47, 35, 50, 50, 2}, // both: 3 morale and 15 supply, two lines
        {1, 2, 2, 2, 49, 45, 50, 50, 1}, {2, 1, 2, 2, 48, 40, 50, 50, 1},
        {2, 2, 1, 1, 50, 50, 48, 48, 2}, {2, 2, 2, 2, 50, 50, 50, 50, 0},
    };
    for (const Case& c : cases) {
        for (int campaign : {0, 5}) { // the tutorial too
            testing::BuiltGame w;
            WeekEvents::Open(w);
            w.st().Campaign = campaign;
            w.b.City(2, {4, 6}, {.owner = c.olmutz}).City(3, {6, 9}, {.owner = c.vienna});
            w.b.City(62, {46, 26}, {.owner = c.nagyszeben}).City(9, {8, 28}, {.owner = c.zagreb});
            w.b.Corps(2, {20, 20},
                      {{.nation = 2, .morale = 50, .supply = 50},
                       {.nation = 5, .morale = 50, .supply = 50},
                       {.nation = 6, .morale = 50, .supply = 50}});
            w.b.Corps(1, {30, 20}, {{.nation = 2, .morale = 50, .supply = 50}});
            const int before = w.st().RandPos;
            ApplyPoliticalEffects(w.g());
            EXPECT_EQ(w.st().Regiment(2, 1).Morale, c.austrianMorale);
            EXPECT_EQ(w.st().Regiment(2, 1).Supply, c.austrianSupply);
            EXPECT_EQ(w.st().Regiment(2, 2).Morale, c.romanianMorale);
            EXPECT_EQ(w.st().Regiment(2, 2).Supply, c.romanianMorale == 50 ? 50 : 40);
            EXPECT_EQ(w.st().Regiment(2, 3).Morale, c.croatianMorale);
            EXPECT_EQ(w.st().Regiment(1, 1).Morale, 50); // the Hungarian side's own are untouched
            EXPECT_EQ(w.st().TurnEventCount, c.events);
            EXPECT_EQ(w.st().RandPos, before);
        }
    }
    testing::BuiltGame w;
    WeekEvents::Open(w);
    w.b.City(2, {4, 6}, {.owner = 1}).City(3, {6, 9}, {.owner = 1});
    ApplyPoliticalEffects(w.g());
    EXPECT_EQ(w.st().TurnEventList[1].Text.str(),
              "Olmütz magyar kézen, osztrák csapatok -1 morál, -5 ellátmány");
    EXPECT_EQ(w.st().TurnEventList[2].Text.str(),
              "Bécs megszállva, osztrák csapatok -2 morál, -10 ellátmány");
    EXPECT_EQ(w.st().TurnEventList[2].Side, 2);
    EXPECT_EQ(w.st().TurnEventList[2].Hidden, 0);
}

TEST_F(WeekEvents, TheTutorialDrawsNoEventAtAll) {
    st().Campaign = 0;
    st().Year = 1848;
    st().Month = 10;
    st().Week = 1;
    st().HistoricalEventIndex = 1;
    st().HistoricalEvents[1] = THistoricalEvent{20, 6, 9, 3, 1, 1848, 10, 1};
    b().City(3, {6, 9}, {.owner = 2});
    b().Corps(1, {10, 10}, {{.type = 6, .men = 500}, {.type = 7}, {.type = 9}});
    b().RecomputeAll();
    const int before = st().RandPos;
    RunWeekEvents(g());
    EXPECT_EQ(st().RandPos, before);
    EXPECT_EQ(st().HistoricalEventIndex, 1);
    EXPECT_EQ(st().RegimentCount[1], 3);
    EXPECT_EQ(st().TurnEventCount, 0);
}

// --- The historical event -----------------------------------------------------------------

struct Revolution : WeekEvents {
    void SetUp() override {
        WeekEvents::SetUp();
        st().Year = 1848;
        st().Month = 10;
        st().Week = 1;
        st().HistoricalEventIndex = 1;
        st().HistoricalEvents[1] = THistoricalEvent{20, 6, 9, 3, 1, 1848, 10, 1};
        st().HistoricalEvents[2].Year = 0;
        b().City(3, {6, 9}, {.owner = 2, .name = "Bécs"});
        b().City(20, {20, 14}, {.owner = 1, .name = "Pest"});
        b().General(1);
        b().General(1);
        bem = b().General(1, {.available = 0, .family = "Bem"});
        field = b().Corps(1, {20, 14}, {{.type = 10}, {.type = 10}}, {.general = bem});
        b().Corps(2, {30, 30}, {{.type = 9}});
        b().RecomputeAll();
    }
    int bem = 0, field = 0;
};

TEST_F(Revolution, ViennaRisesOnItsDateBemTakesTheViennese) {
    const int before = st().RandPos;
    RunHistoricalEvent(g());
    EXPECT_EQ(st().HistoricalEventIndex, 2);
    // Six silent recruits of nation 7 form one corps in Vienna: three levies, three guards.
    ASSERT_EQ(st().CorpsCount[1], 2);
    const THad& vienna = H(1, 2);
    EXPECT_EQ(vienna.X, 6);
    EXPECT_EQ(vienna.Y, 9);
    ASSERT_EQ(vienna.UnitCount, 6);
    int levies = 0, guards = 0;
    for (int i = 1; i <= 6; ++i) {
        const TEzred& e = st().Regiment(1, vienna.Units[static_cast<std::size_t>(i)]);
        EXPECT_EQ(e.Nation, 7);
        EXPECT_GE(e.FillPercent, 91);
        EXPECT_LE(e.FillPercent, 99);
        levies += e.Type == 6;
        guards += e.Type == 7;
    }
    EXPECT_EQ(levies, 3);
    EXPECT_EQ(guards, 3);
    EXPECT_EQ(st().LevyMen[1], 15000);
    // A fill draw and four figures for each of the six; each of the five that join the first
    // one's corps costs the opponent's estimate of it a draw.
    EXPECT_EQ(DrawsSince(st(), before), 35);
    // Bem leaves his corps to a defender and leads the Viennese; the town is taken and dug in.
    EXPECT_EQ(vienna.General, bem);
    EXPECT_EQ(st().General(1, bem).Corps, 2);
    EXPECT_EQ(st().General(1, bem).Available, 1);
    EXPECT_NE(H(1, field).General, bem);
    EXPECT_EQ(st().General(1, H(1, field).General).Corps, field);
    EXPECT_EQ(st().General(1, 1).Corps, 0); // who first took the new corps is free again
    EXPECT_EQ(st().Cell(6, 9).Entrenchment, 1);
    EXPECT_EQ(st().Cell(6, 9).EntrenchmentSide, 1);
    EXPECT_EQ(st().Cities[3].Owner, 1);
    EXPECT_EQ(Listed(), (std::vector<Line>{{1, false, "Forradalom Bécsben!"}}));
}

TEST_F(Revolution, TheImperialTroopsInViennaFallBackBeforeTheRecruitsGather) {
    const int garrison = b().Corps(2, {6, 9}, {{.type = 9}, {.type = 9}});
    b().RecomputeAll();
    RunHistoricalEvent(g());
    const THad& imperial = H(2, garrison);
    EXPECT_FALSE(imperial.X == 6 && imperial.Y == 9) << "still in Vienna";
    EXPECT_NE(DirectionTo(Hex{6, 9}, Hex{imperial.X, imperial.Y}), kNoDirection) << "one hex away";
    // The Viennese alone hold the town, dug in.
    EXPECT_EQ(FirstCorpsAt(st(), 2, 6, 9), 0);
    EXPECT_EQ(FirstCorpsAt(st(), 1, 6, 9), 2);
    EXPECT_EQ(st().Cities[3].Owner, 1);
    EXPECT_EQ(st().Cell(6, 9).EntrenchmentSide, 1);
}

TEST_F(Revolution, FiresOnlyOnItsOwnWeekAndOnlyFromTheFirstEntry) {
    struct Case {
        int year, month, week, index;
    } cases[] = {{1848, 10, 2, 1},  {1848, 11, 1, 1}, {1848, 9, 4, 1},  {1848, 10, 1, 2},
                 {1848, 10, 1, 31}, {1848, 10, 1, 0}, {1848, 10, 1, -5}};
    for (const Case& c : cases) {
        SetUp();
        st().Year = c.year;
        st().Month = c.month;
        st().Week = c.week;
        st().HistoricalEventIndex = c.index;
        const int before = st().RandPos;
        RunHistoricalEvent(g());
        EXPECT_EQ(st().HistoricalEventIndex, c.index) << c.year << "-" << c.month << "-" << c.week;
        EXPECT_EQ(st().CorpsCount[1], 1);
        EXPECT_EQ(st().RandPos, before);
    }
}

// --- Besieged fortresses ------------------------------------------------------------------

struct Siege : WeekEvents {
    int garrison = 0, besieger = 0, battery = 0;
    // A fortress of side 1 at (30, 20), its garrison of `garrisonMen` foot under a general of
    // initiative 3, besieged by `besiegerMen` foot with a battery of `guns` guns (0: none).
    void Build(int garrisonMen, int besiegerMen, int guns, int owner = 1) {
        b().City(10, {30, 20},
                 {.owner = owner,
                  .kind = 3,
                  .garrisonCapacity = 9000,
                  .gunCapacity = 40,
                  .fortMax = 6,
                  .fortStrength = 6,
                  .name = "Komárom"});
        const int side = owner == 2 ? 2 : 1;
        const int g = b().General(side, {.initiative = 3, .family = "Guyon"});
        garrison = b().Corps(side, {30, 20}, {{.type = 14}}, {.general = g, .garrison = 1});
        b().Regiment(side, garrison, {.type = 9, .men = garrisonMen});
        const int besiegers = 3 - side;
        const int bg = b().General(besiegers, {.family = "Schlik"});
        besieger = b().Corps(besiegers, {30, 20}, {{.type = 9, .men = besiegerMen}}, {.general = bg});
        if (guns > 0) battery = b().Regiment(besiegers, besieger, {.type = 11, .men = guns});
        b().RecomputeAll();
        if (owner == 3) st().Cities[10].Owner = 3;
    }
};

TEST_F(Siege, ASortieCostsTheBesiegersGuns) {
    struct Case {
        std::vector<int> draws;
        int guns, expectedGuns, expectedDraws;
    } cases[] = {
        {{24, 2}, 8, 6, 2},    // chance 24: (10 x 3 + 50) x 30 / 100
        {{25}, 8, 8, 1},       // no sortie
        {{24, 7, 3}, 8, 5, 3}, // more than 3 is drawn again from 3
        {{24, 1}, 1, 0, 2},    // a battery without guns is gone
    };
    for (const Case& c : cases) {
        SetUp();
        Build(2000, 5000, c.guns);
        QueueDraws(st(), c.draws);
        const int before = st().RandPos;
        RunSorties(g());
        EXPECT_EQ(DrawsSince(st(), before), c.expectedDraws);
        const bool batteryLeft = c.expectedGuns > 0;
        EXPECT_EQ(st().RegimentCount[2], batteryLeft ? 2 : 1);
        if (batteryLeft) {
            EXPECT_EQ(st().Regiment(2, battery).Men, c.expectedGuns);
        }
        if (c.draws[0] == 24) {
            const int lost = c.guns - c.expectedGuns;
            EXPECT_EQ(Listed(),
                      (std::vector<Line>{{1, false, H(1, garrison).Name.str() + " kitörést hajt végre! "},
                                         {2, false, "Schlik veszít " + std::to_string(lost) + " löveget."}}));
        } else {
            EXPECT_EQ(st().TurnEventCount, 0);
        }
    }
}

TEST_F(Siege, TheSortieChanceFollowsTheStrengthsAndAStrongGarrisonDrivesTheBesiegersOff) {
    struct Case {
        int garrisonMen, besiegerMen, chance;
        bool drivenOff;
    } cases[] = {
        {2000, 5000, 24, false},
        {2000, 3999, 48, false}, // twice the garrison's foot outnumbers the besiegers
        {2000, 500, 48, true},   // more than twice the besiegers: they are driven off
        {1000, 500, 48, false},  // exactly twice is not enough
        {200, 5000, 6, false},   // three garrisons would not match them: a quarter, 7 x 80 / 100
    };
    for (const Case& c : cases) {
        for (int d : {c.chance, c.chance + 1}) {
            SetUp();
            Build(c.garrisonMen, c.besiegerMen, 0);
            QueueDraws(st(), {d});
            RunSorties(g());
            const bool sortie = d <= c.chance;
            const std::string name = H(1, garrison).Name.str();
            std::vector<Line> expected;
            if (sortie && c.drivenOff)
                expected.push_back({2, false, name + " kitörést hajt végre és elüzi az ostromlókat!"});
            EXPECT_EQ(Listed(), expected) << c.garrisonMen << " against " << c.besiegerMen << ", draw " << d;
            // Driven off, the besiegers really leave the fortress's hex; otherwise they stay.
            const THad& besiegers = H(2, besieger);
            EXPECT_EQ(besiegers.X == 30 && besiegers.Y == 20, !(sortie && c.drivenOff))
                << c.garrisonMen << " against " << c.besiegerMen << ", draw " << d;
        }
    }
}

TEST_F(Siege, NoSortieWithoutBesiegersOrFromAFortressOfNeitherSide) {
    Build(2000, 5000, 8, 3);
    int before = st().RandPos;
    RunSorties(g());
    EXPECT_EQ(st().RandPos, before);
    SetUp();
    b().City(10, {30, 20}, {.owner = 1, .kind = 3});
    b().Corps(1, {30, 20}, {{.type = 14}}, {.garrison = 1});
    b().RecomputeAll();
    before = st().RandPos;
    RunSorties(g());
    EXPECT_EQ(st().RandPos, before);
}

TEST_F(Siege, AStarvingGarrisonSurrendersWithFortyNinePercent) {
    struct Case {
        int morale, supply, draw;
        bool surrenders;
    } cases[] = {
        {29, 29, 49, true}, {29, 29, 50, false}, {30, 29, 1, false}, {29, 30, 1, false}, {0, 0, 1, true}};
    for (const Case& c : cases) {
        SetUp();
        Build(2000, 5000, 0);
        b().Regiment(1, garrison, {.type = 14});
        b().Regiment(1, garrison, {.type = 9, .men = 500});
        b().RecomputeAll();
        H(1, garrison).AvgMorale = c.morale;
        H(1, garrison).AvgSupply = c.supply;
        QueueDraws(st(), {c.draw});
        const int before = st().RandPos;
        RunSurrenders(g());
        // The capture draws the guns the besiegers take (R(16 / 3)), four figures for each of
        // the two batteries they make of them, and the class of each of the thirty generals the
        // new garrison's creation adds to the Austrian roster.
        EXPECT_EQ(DrawsSince(st(), before), c.surrenders ? 1 + 1 + 4 * 2 + 30 : 1);
        // The foot lay down their arms and the besiegers take the fortress with its batteries,
        // fewer by up to a third: nothing of the old garrison is left.
        EXPECT_EQ(st().RegimentCount[1], c.surrenders ? 0 : 4)
            << c.morale << " " << c.supply << " " << c.draw;
        if (c.surrenders) {
            EXPECT_EQ(st().Cities[10].Owner, 2);
            const THad& taken = H(2, st().Cities[10].GarrisonCorps);
            EXPECT_EQ(taken.Garrison, 1);
            EXPECT_EQ(taken.UnitCount, 2);
            EXPECT_GE(taken.Guns, 11);
            EXPECT_EQ(Listed(), (std::vector<Line>{{1, false, "Komárom helyörsége megadja magát!"}}));
        } else {
            EXPECT_EQ(st().TurnEventCount, 0);
        }
    }
}

TEST_F(Siege, EveryFortressDrawsForASurrenderEvenWithoutBesiegersOrOwner) {
    Build(2000, 5000, 0, 3);
    b().City(11, {40, 20}, {.owner = 2, .kind = 3});
    b().City(12, {45, 20}, {.owner = 2, .kind = 1}); // a town: no draw
    H(1, garrison).AvgMorale = H(1, garrison).AvgSupply = 0;
    QueueDraws(st(), {1, 1});
    const int before = st().RandPos;
    RunSurrenders(g());
    EXPECT_EQ(DrawsSince(st(), before), 2);
    EXPECT_EQ(st().RegimentCount[1], 2);
    EXPECT_EQ(st().TurnEventCount, 0);
}

// --- The recruiting tour and dispersing levies --------------------------------------------

TEST_F(WeekEvents, TheRecruitingTourStartsWithFivePercentOrOnTheWarsFirstWeekAtTwoMachines) {
    struct Case {
        int penalty, draw, network;
        int year, month, week;
        bool starts;
        int draws;
    } cases[] = {
        {0, 5, 0, 1849, 5, 2, true, 1},    {0, 6, 0, 1849, 5, 2, false, 1},  {0, 99, 1, 1848, 9, 1, true, 1},
        {0, 99, 1, 1848, 9, 2, false, 1},  {0, 99, 0, 1848, 9, 1, false, 1}, {-1, 1, 0, 1849, 5, 2, false, 0},
        {0, 100, 0, 1849, 5, 2, false, 1}, // the draw is R(100): its top value starts nothing
    };
    for (const Case& c : cases) {
        SetUp();
        st().RecruitPenaltyWeeks = c.penalty;
        st().RecruitPenaltyTurns = 3;
        st().NetworkGame = c.network;
        st().Year = c.year;
        st().Month = c.month;
        st().Week = c.week;
        QueueDraws(st(), {c.draw});
        const int before = st().RandPos;
        RunRecruitingTour(g());
        EXPECT_EQ(DrawsSince(st(), before), c.draws);
        EXPECT_EQ(st().RecruitPenaltyWeeks, c.starts ? -1 : c.penalty);
        EXPECT_EQ(st().RecruitPenaltyTurns, c.starts ? 5 : 3);
        if (c.starts) {
            EXPECT_EQ(Listed(), (std::vector<Line>{
                                    {1, true, "Orvandi toborzóúton! Toborzási idö -1 hét egy hónapon át."}}));
        }
    }
}

TEST_F(WeekEvents, WeakLeviesDisperseAndTheRegimentMovedIntoTheirPlaceWaits) {
    b().City(5, {12, 12}, {.owner = 1, .name = "Szeged"});
    // Morale, readiness and supply 30: (100 - 30) x 10 / 100 = 7, doubled in disorder, x 3/2
    // for fewer than 1000 men: 21.
    const int c = b().Corps(1, {12, 12},
                            {{.type = 6, .men = 800, .morale = 30, .readiness = 30, .supply = 30},
                             {.type = 9},
                             {.type = 6, .men = 2000, .morale = 90, .readiness = 90, .supply = 90}},
                            {.formation = 7});
    (void)c;
    QueueDraws(st(), {21, 1});
    int before = st().RandPos;
    RunLevyDispersal(g());
    // The levy went; the strong levy moved into its place and was not examined this week.
    EXPECT_EQ(DrawsSince(st(), before), 2);
    ASSERT_EQ(st().RegimentCount[1], 2);
    EXPECT_EQ(st().Regiment(1, 1).Men, 2000);
    EXPECT_EQ(Listed(), (std::vector<Line>{{1, true, "Szeged: the 1. Magyar levy feloszlik."}}));

    SetUp();
    b().Corps(1, {12, 12}, {{.type = 6, .men = 800, .morale = 30, .readiness = 30, .supply = 30}},
              {.formation = 7});
    QueueDraws(st(), {22});
    RunLevyDispersal(g());
    EXPECT_EQ(st().RegimentCount[1], 1);
    // Exactly 1000 men are not fewer than 1000: the chance stays 14 in disorder.
    for (int men : {999, 1000}) {
        SetUp();
        b().Corps(1, {12, 12}, {{.type = 6, .men = men, .morale = 30, .readiness = 30, .supply = 30}},
                  {.formation = 7});
        QueueDraws(st(), {15});
        RunLevyDispersal(g());
        EXPECT_EQ(st().RegimentCount[1], men == 1000 ? 1 : 0) << men << " men";
    }
    // A strong, large levy (over 60 and over 1500 men) never disperses; others only below their chance.
    SetUp();
    b().Corps(2, {12, 12}, {{.type = 6, .men = 1501, .morale = 61, .readiness = 61, .supply = 61}});
    QueueDraws(st(), {1});
    RunLevyDispersal(g());
    EXPECT_EQ(st().RegimentCount[2], 1);
}

// --- Visits, conversions, cholera, convoys, desertion, intelligence -----------------------

TEST_F(WeekEvents, TheLeadersVisitOneLargeArmyOfEachFlagAWeek) {
    auto Big = [&](int side, int nation, std::string family) {
        const int g = b().General(side, {.nation = nation, .family = family});
        return b().Corps(side, {10 + 2 * st().CorpsCount[side], 10 + 10 * side},
                         {{.type = 9, .nation = nation, .morale = 50},
                          {.type = 9, .nation = nation, .morale = 50},
                          {.type = 9, .nation = nation, .morale = 50},
                          {.type = 9, .nation = nation, .morale = 50},
                          {.type = 9, .nation = nation, .morale = 50},
                          {.type = 9, .nation = nation, .morale = 50},
                          {.type = 9, .nation = nation, .morale = 50},
                          {.type = 9, .nation = nation, .morale = 50},
                          {.type = 9, .nation = nation, .morale = 50},
                          {.type = 9, .nation = nation, .morale = 50}},
                         {.general = g, .nation = nation});
    };
    const int gorgei = Big(1, 1, "Görgei");
    const int klapka = Big(1, 1, "Klapka");
    b().Corps(1, {50, 5}, {{.type = 9, .morale = 50}}); // a brigade: no draw
    const int haynau = Big(2, 2, "Haynau");
    const int paskevich = Big(2, 3, "Paskevich");
    b().RecomputeAll();
    QueueDraws(st(), {5, 1, 6, 5});
    const int before = st().RandPos;
    RunLeaderVisits(g());
    EXPECT_EQ(DrawsSince(st(), before), 4);
    EXPECT_EQ(H(1, gorgei).AvgMorale, 65);
    EXPECT_EQ(H(1, klapka).AvgMorale, 50);    // the flag of class 1 is spent
    EXPECT_EQ(H(2, haynau).AvgMorale, 50);    // 6 is not below 6
    EXPECT_EQ(H(2, paskevich).AvgMorale, 65); // the Russians are a class of their own
    EXPECT_EQ(Listed(), (std::vector<Line>{{1, true, "Orvandi  Görgei táborában! +15 morál"},
                                           {2, true, "Trelmark  Paskevich táborában! +15 morál"}}));
}

TEST_F(WeekEvents, SeasonedGuardsBecomeHonvedAndVolunteerHorseHussars) {
    for (int draw : {6, 7}) {
        SetUp();
        b().Corps(1, {10, 10},
                  {{.type = 7, .experience = 60, .morale = 60},
                   {.type = 2, .experience = 60, .morale = 60},
                   {.type = 7, .nation = 7, .experience = 90, .morale = 90}, // Viennese: never
                   {.type = 7, .experience = 50, .morale = 90},              // too green: no draw
                   {.type = 10, .experience = 90, .morale = 90}});
        b().RecomputeAll();
        for (int r = 1; r <= 5; ++r) st().Regiment(1, r).Supply = r <= 2 ? 60 : 90;
        st().TypeCounter[1][10] = 12;
        // Experience 60: a chance of 6. The horse draws 7 and stays volunteers.
        QueueDraws(st(), {draw, 7});
        const int before = st().RandPos;
        RunConversions(g());
        EXPECT_EQ(DrawsSince(st(), before), 2);
        const TEzred& e = st().Regiment(1, 1);
        if (draw == 6) {
            EXPECT_EQ(e.Type, 10);
            EXPECT_EQ(e.Morale, 70);
            EXPECT_EQ(e.Ordinal, 13);
            EXPECT_EQ(e.Name.str(), "13. Magyar honvéd battalion");
            EXPECT_EQ(Listed(),
                      (std::vector<Line>{
                          {1, true, "the 1. Magyar national guard honvéd ezreddé alakul, +10 morál."}}));
        } else {
            EXPECT_EQ(e.Type, 7);
            EXPECT_EQ(st().TurnEventCount, 0);
        }
        EXPECT_EQ(st().Regiment(1, 2).Type, 2);
        EXPECT_EQ(st().Regiment(1, 3).Type, 7);
    }
    SetUp();
    b().Corps(1, {10, 10}, {{.type = 2, .experience = 60, .morale = 60, .supply = 60}});
    QueueDraws(st(), {6});
    RunConversions(g());
    EXPECT_EQ(st().Regiment(1, 1).Type, 4);
    EXPECT_EQ(Listed(), (std::vector<Line>{
                            {1, true, "the 1. Magyar volunteer horse huszár ezreddé alakul, +10 morál."}}));
}

TEST_F(WeekEvents, CholeraStrikesOnlyLargeArmiesTwiceAsOftenInTheWarmMonths) {
    struct Case {
        int month, infantry, draw;
        bool strikes;
    } cases[] = {
        {5, 10000, 2, true},  {5, 10000, 3, false},  {4, 10000, 2, true},
        {10, 10000, 2, true}, {11, 10000, 2, false}, {11, 10000, 1, true},
        {3, 10000, 1, true},  {3, 10000, 2, false},  {5, 4000, 1, false}, // fewer than 5000 foot: never
        {5, 5000, 1, true},   {1, 5000, 1, false},
    };
    for (const Case& c : cases) {
        SetUp();
        st().Month = c.month;
        const int n = c.infantry / 1000;
        const int corps = b().Corps(1, {10, 10}, {{.type = 11}});
        for (int i = 0; i < n; ++i) b().Regiment(1, corps, {.type = 9, .morale = 70});
        b().RecomputeAll();
        const std::string name = H(1, corps).Name.str();
        std::vector<int> draws = {c.draw};
        for (int i = 0; i < n; ++i) draws.push_back(3);
        QueueDraws(st(), draws);
        const int before = st().RandPos;
        RunCholera(g());
        EXPECT_EQ(DrawsSince(st(), before), c.strikes ? 1 + n : 1)
            << c.month << " " << c.infantry << " " << c.draw;
        if (!c.strikes) {
            EXPECT_EQ(st().TurnEventCount, 0);
            continue;
        }
        // Three in a hundred of every battalion; the battery loses no gun but its spirit.
        EXPECT_EQ(H(1, corps).InfantryMen, 970 * n);
        EXPECT_EQ(H(1, corps).Guns, 8);
        EXPECT_EQ(st().Regiment(1, 1).Morale, 65);
        EXPECT_EQ(st().Losses[1][2], 30 * n);
        EXPECT_EQ(st().Losses[1][3], 0);
        EXPECT_EQ(Listed(), (std::vector<Line>{{1, false,
                                                "Kolera járvány! " + name + ": -5 morál. Veszteség: " +
                                                    std::to_string(30 * n) + " fö."}}));
    }
}

TEST_F(WeekEvents, TheWorstCholeraTakesSevenInAHundred) {
    st().Month = 5;
    const int corps = b().Corps(1, {10, 10}, {{.type = 9}});
    for (int i = 0; i < 4; ++i) b().Regiment(1, corps, {.type = 9});
    b().RecomputeAll();
    ASSERT_EQ(H(1, corps).InfantryMen, 5000);
    QueueDraws(st(), {1, 7, 7, 7, 7, 7}); // the loss of each battalion is R(7) in a hundred
    RunCholera(g());
    EXPECT_EQ(H(1, corps).InfantryMen, 4650);
    EXPECT_EQ(st().Losses[1][2], 350);
}

TEST_F(WeekEvents, OneConvoyASideReachesAHungryCorpsNearSupply) {
    auto Corps = [&](int side, At at, int regiments, std::string family) {
        const int g = b().General(side, {.family = family});
        const int c = b().Corps(side, at, {}, {.general = g});
        for (int i = 0; i < regiments; ++i) b().Regiment(side, c, {.type = 9, .supply = 50});
        st().Cell(at.x, at.y).AiSupplyMark = 60;
        return c;
    };
    const int a = Corps(1, {10, 10}, 4, "Damjanich");
    const int other = Corps(1, {12, 10}, 4, "Nagysándor");
    const int c = Corps(2, {20, 10}, 4, "Schlik");
    const int small = Corps(2, {22, 10}, 3, "Ramberg");
    b().RecomputeAll();
    QueueDraws(st(), {4, 1, 4, 1});
    const int before = st().RandPos;
    RunConvoys(g());
    EXPECT_EQ(DrawsSince(st(), before), 4);
    EXPECT_EQ(st().Regiment(1, H(1, a).Units[1]).Supply, 70);
    EXPECT_EQ(H(1, a).AvgSupply, 50); // not recomputed here
    EXPECT_EQ(st().Regiment(1, H(1, other).Units[1]).Supply, 50);
    EXPECT_EQ(st().Regiment(2, H(2, c).Units[1]).Supply, 70);
    EXPECT_EQ(st().Regiment(2, H(2, small).Units[1]).Supply, 50);
    EXPECT_EQ(Listed(), (std::vector<Line>{{1, true, "Kormánybiztos  Damjanich táborában! +20 ellátmány"},
                                           {2, true, "Szállítmány érkezik Schlik táborába! +20 ellátmány"}}));
    // Well supplied, far from supply or drawn too high: no convoy.
    for (int k = 0; k < 3; ++k) {
        SetUp();
        const int x = Corps(1, {10, 10}, 4, "Damjanich");
        b().RecomputeAll();
        if (k == 0) H(1, x).AvgSupply = 60;
        if (k == 1) st().Cell(10, 10).AiSupplyMark = 50;
        QueueDraws(st(), {k == 2 ? 5 : 1});
        RunConvoys(g());
        EXPECT_EQ(st().TurnEventCount, 0) << k;
    }
}

TEST_F(WeekEvents, TheWeeksEventsIncludeTheDesertions) {
    b().Corps(2, {10, 10}, {{.type = 9, .morale = 20}});
    b().RecomputeAll();
    RunWeekEvents(g());
    EXPECT_LT(st().Regiment(2, 1).Men, 1000) << "nobody deserted";
    bool listed = false;
    for (const Line& l : Listed()) listed = listed || l.text.rfind("Szökések! ", 0) == 0;
    EXPECT_TRUE(listed);
}

TEST_F(WeekEvents, DesertersLeaveDisheartenedCorpsAustrianFirst) {
    const int z = b().Corps(1, {10, 10}, {{.type = 9, .men = 500, .morale = 40}});
    const int steady = b().Corps(1, {12, 10}, {{.type = 9, .morale = 80}});
    const int x = b().Corps(
        2, {20, 10}, {{.type = 9, .morale = 20}, {.type = 9, .morale = 45}, {.type = 11, .morale = 10}});
    b().RecomputeAll();
    H(1, z).AvgMorale = 20;
    H(1, steady).AvgMorale = 30;
    H(2, x).AvgMorale = 29;
    QueueDraws(st(), {150, 1, 1});
    const int before = st().RandPos;
    RunDesertion(g());
    EXPECT_EQ(DrawsSince(st(), before), 3);
    EXPECT_EQ(st().Regiment(2, 1).Men, 850); // R((40 - 20) x 1000 / 100) = 150
    EXPECT_EQ(st().Regiment(2, 2).Men, 999); // steady men still lose one: R of nothing is 1
    EXPECT_EQ(st().Regiment(2, 3).Men, 8);
    EXPECT_EQ(st().Regiment(1, 1).Men, 499);
    EXPECT_EQ(Listed(),
              (std::vector<Line>{{2, true, "Szökések! " + H(2, x).Name.str() + " - 151 fö megszökik"},
                                 {1, true, "Szökések! " + H(1, z).Name.str() + " - 1 fö megszökik"}}));
}

TEST_F(WeekEvents, SpiesReportOnWellObservedStrongCorpsUnderFogOfWar) {
    for (int t = 1; t <= 3; ++t) {
        SetUp();
        st().FogOfWar = 1;
        const int a = b().Corps(1, {10, 10}, {{.type = 9}}, {.recon = 3});
        b().Corps(1, {12, 10}, {{.type = 9}}, {.recon = 2});
        const int weak = b().Corps(2, {20, 10}, {{.type = 9}}, {.recon = 3});
        b().RecomputeAll();
        THad& h = H(1, a);
        h.CombatValue = 50;
        h.AvgSupply = 41;
        h.AvgMorale = 42;
        h.AvgReadiness = 43;
        H(1, 2).CombatValue = 50;
        H(2, weak).CombatValue = 49;
        H(1, 2).ReconLevel = 2;
        QueueDraws(st(), {10, t, 6, 1});
        const int before = st().RandPos;
        RunIntelligence(g());
        EXPECT_EQ(DrawsSince(st(), before), 4);
        const std::string what[] = {"", " ellátmány:  41", " morál:  42", " készenlét:  43"};
        EXPECT_EQ(Listed(), (std::vector<Line>{{2, true, "Hírszerzés!  " + h.Name.str() + what[t]}}));
    }
    SetUp();
    b().Corps(1, {10, 10}, {{.type = 9}}, {.recon = 3});
    const int before = st().RandPos;
    RunIntelligence(g());
    EXPECT_EQ(st().RandPos, before);
}

} // namespace
} // namespace vezer
