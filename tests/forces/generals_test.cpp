#include "core/fingerprint.h"
#include "files/scenario_files.h"
#include "forces/generals.h"
#include "forces/invariants.h"
#include "forces/organisation.h"
#include "support/state_builder.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

using testing::StateBuilder;
using testing::TestGame;
using Kind = HeadlessPresentation::Kind;

struct Generals : ::testing::Test, testing::BuiltGame {};

TEST_F(Generals, AddGeneralReadsTheTableWithoutDrawing) {
    // RandTable[i] = i; the new general is number 43: ratings from entries 43..45, names from
    // 46 and 47, portrait from 43.
    st().GeneralCount[1] = 42;
    st().RandPos = 777;
    int gen = AddGeneral(g(), 1, 1, false);
    ASSERT_EQ(gen, 43);
    const TTabornok& n = st().General(1, 43);
    EXPECT_EQ(n.Attack, 43 % 3 + 1);
    EXPECT_EQ(n.Defence, 44 % 3 + 1);
    EXPECT_EQ(n.Initiative, 45 % 3 + 1);
    EXPECT_EQ(n.FamilyName.str(), "Family1-22");  // 46 mod 25 + 1
    EXPECT_EQ(n.GivenName.str(), "Given1-23");
    EXPECT_EQ(n.Portrait, 100 + 43 % 7);
    EXPECT_EQ(n.Nation, 1);
    EXPECT_EQ(n.Available, 1);
    EXPECT_EQ(n.Corps, 0);
    EXPECT_EQ(st().RandPos, 777);
}

TEST_F(Generals, NationsWithoutANameClassBorrowTheirSidesOwn) {
    struct Case {
        int side, asked, nation, portraitBase, portraitSpan;
    };
    // A nation above 3 asks for its flag class (Serbian: 2), a class outside 1..3 for the side's.
    for (Case c : {Case{1, 1, 1, 100, 7}, Case{2, 2, 2, 100, 5}, Case{2, 3, 3, 200, 3}, Case{2, 5, 2, 100, 5},
                   Case{1, 9, 1, 100, 7}, Case{1, 11, 1, 100, 7}, Case{2, 11, 2, 100, 5}, Case{1, 10, 1, 100, 7},
                   Case{2, 0, 2, 100, 5}, Case{1, 4, 2, 100, 5}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        fresh.st().RandTable[1] = 12345;
        int gen = AddGeneral(fresh.g(), c.side, c.asked, false);
        ASSERT_EQ(gen, 1);
        const TTabornok& n = fresh.st().General(c.side, 1);
        EXPECT_EQ(n.Nation, c.nation) << c.side << " " << c.asked;
        EXPECT_EQ(n.Portrait, c.portraitBase + 12345 % c.portraitSpan);
        EXPECT_FALSE(n.FamilyName.empty());
    }
}

TEST_F(Generals, GeneratedRatingsAreOneToThree) {
    for (int i = 1; i <= 250; ++i) st().RandTable[static_cast<std::size_t>(i)] = i * 7919 % 1000;
    for (int i = 0; i < 250; ++i) ASSERT_NE(AddGeneral(g(), 2, 2, false), 0);
    for (int gen = 1; gen <= 250; ++gen)
        for (int rating : {st().General(2, gen).Attack, st().General(2, gen).Defence, st().General(2, gen).Initiative})
            EXPECT_TRUE(rating >= 1 && rating <= 3) << gen;
}

TEST_F(Generals, AFullRosterAddsNobody) {
    st().GeneralCount[1] = kMaxGenerals;
    auto before = FullStateHash(st());
    EXPECT_EQ(AddGeneral(g(), 1, 1, true), 0);
    EXPECT_EQ(FullStateHash(st()), before);
    EXPECT_EQ(t.screen.Texts(Kind::Message), std::vector<std::string>{"Hiba! Beteltek a tabornok helyek!"});
    // A pick with nobody free to give returns none, and no corps is made without a general.
    EXPECT_EQ(PickDefensiveGeneral(g(), 1, 1), 0);
    EXPECT_EQ(PickStrongestGeneral(g(), 1, 1), 0);
    st().PlayerType[1] = 2;
    THad corps = EmptyCorpsRecord();
    corps.General = PickOrdinaryGeneral(g(), 1, 1);
    EXPECT_FALSE(CreateCorps(g(), 1, 1, corps));
    EXPECT_EQ(st().CorpsCount[1], 0);
}

TEST_F(Generals, GenericPortraits) {
    struct Case {
        int nation, entry, portrait;
    };
    // 100..106 for class 1, 100..104 for class 2, 200..202 for class 3, by the nation's class.
    for (Case c : {Case{1, 6, 106}, Case{1, 7, 100}, Case{2, 4, 104}, Case{2, 5, 100}, Case{3, 2, 202},
                   Case{3, 3, 200}, Case{4, 3, 103}, Case{9, 13, 106}, Case{10, 3, 0}, Case{11, 3, 0}}) {
        st().RandTable[9] = c.entry;
        EXPECT_EQ(GenericPortrait(st(), c.nation, 9), c.portrait) << c.nation << " " << c.entry;
    }
}

TEST_F(Generals, FindGeneralOfNationTakesTheHighestFree) {
    b.General(2, {.nation = 5});
    b.General(2, {.nation = 5});
    b.General(2, {.nation = 5, .available = 0});
    b.General(2, {.nation = 6});
    EXPECT_EQ(FindGeneralOfNation(st(), 2, 5), 2);
    st().General(2, 2).Corps = 9;
    EXPECT_EQ(FindGeneralOfNation(st(), 2, 5), 1);
    EXPECT_EQ(FindGeneralOfNation(st(), 2, 4), 0);
}

TEST_F(Generals, PickDefensiveSkipsAttackersAndDefenceZero) {
    b.General(1, {.attack = 6, .defence = 9});
    b.General(1, {.attack = 5, .defence = 4});
    b.General(1, {.attack = 2, .defence = 4});  // a tie: the first stays
    b.General(1, {.attack = 1, .defence = 3, .available = 0});
    EXPECT_EQ(PickDefensiveGeneral(g(), 1, 1), 2);

    TestGame other;
    StateBuilder sb(other.g());
    sb.General(1, {.attack = 1, .defence = 0});
    sb.General(1, {.attack = 7, .defence = 8});
    const int randPos = other.st().RandPos;
    EXPECT_EQ(PickDefensiveGeneral(other.g(), 1, 1), 3);  // a new one is generated
    EXPECT_EQ(other.st().GeneralCount[1], 3);
    EXPECT_EQ(other.st().RandPos, randPos);
}

TEST_F(Generals, PicksForSmallNationsTakeTheirOwnFirst) {
    b.General(2, {.attack = 9, .defence = 9, .nation = 6});
    b.General(2, {.attack = 1, .defence = 1, .nation = 2});
    EXPECT_EQ(PickDefensiveGeneral(g(), 2, 6), 1);  // attack 9, but of the nation itself
    EXPECT_EQ(PickOrdinaryGeneral(g(), 2, 6), 1);
    EXPECT_EQ(PickStrongestGeneral(g(), 2, 6), 1);
}

TEST_F(Generals, PickStrongestTakesTheBestSum) {
    b.General(1, {.attack = 5, .defence = 5, .initiative = 5});
    b.General(1, {.attack = 8, .defence = 8, .initiative = 8, .available = 0});
    b.General(1, {.attack = 9, .defence = 4, .initiative = 4});
    b.General(1, {.attack = 3, .defence = 6, .initiative = 8});
    EXPECT_EQ(PickStrongestGeneral(g(), 1, 1), 3);
}

TEST_F(Generals, PickOrdinaryKeepsFamousCommandersWhileTheRosterHasRoom) {
    struct Case {
        int otherGenerals;
        int sum;
        bool historicalTaken;
    };
    for (Case c : {Case{0, 16, false}, Case{0, 15, true}, Case{199, 16, true}, Case{198, 16, false}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        for (int i = 0; i < c.otherGenerals; ++i) sb.General(1, {.available = 0});
        int famous = sb.General(1, {.attack = c.sum - 10, .defence = 5, .initiative = 5});
        int picked = PickOrdinaryGeneral(fresh.g(), 1, 1);
        EXPECT_EQ(picked == famous, c.historicalTaken) << c.otherGenerals << " " << c.sum;
        if (!c.historicalTaken) {
            EXPECT_EQ(picked, famous + 1);
        }
    }
}

TEST_F(Generals, ReplacingAGeneralCostsFiveReadinessAndMorale) {
    int c = b.Corps(1, {10, 10}, {{.type = 9, .morale = 3, .readiness = 50}, {.type = 9, .morale = 60, .readiness = 4}});
    int old = st().CorpsRec(1, c).General;
    int fresh = b.General(1);
    ASSERT_TRUE(ReplaceGeneral(g(), 1, c, fresh));
    EXPECT_EQ(st().CorpsRec(1, c).General, fresh);
    EXPECT_EQ(st().General(1, fresh).Corps, c);
    EXPECT_EQ(st().General(1, old).Corps, 0);
    EXPECT_EQ(st().Regiment(1, 1).Readiness, 45);
    EXPECT_EQ(st().Regiment(1, 2).Readiness, 0);
    // Morale 3 - 5 stops at 0 (the recompute then lifts it to its floor of 10).
    EXPECT_EQ(st().Regiment(1, 1).Morale, 10);
    EXPECT_EQ(st().Regiment(1, 2).Morale, 55);
    EXPECT_EQ(CheckInvariants(st()), std::vector<std::string>{});
}

TEST_F(Generals, ReplaceGeneralRefusesAGeneralWhoIsNotFree) {
    int c = b.Corps(1, {10, 10}, {{.type = 9}});
    int d = b.Corps(1, {11, 10}, {{.type = 9}});
    int away = b.General(1, {.available = 0});
    auto before = FullStateHash(st());
    EXPECT_FALSE(ReplaceGeneral(g(), 1, c, st().CorpsRec(1, d).General));
    EXPECT_FALSE(ReplaceGeneral(g(), 1, c, away));
    EXPECT_FALSE(ReplaceGeneral(g(), 1, c, 99));
    EXPECT_EQ(FullStateHash(st()), before);
}

TEST_F(Generals, DisplayNamesAndFiles) {
    b.General(1, {.ability = 9, .family = "Bem", .given = "József"});
    b.General(2, {.family = "Haynau", .given = "Julius"});
    EXPECT_EQ(GeneralDisplayName(st(), 1, 1), "Bem József (ability 9)");
    EXPECT_EQ(GeneralDisplayName(st(), 2, 1), "Julius Haynau");
    EXPECT_EQ(PortraitFileName(2, 104), "tabornok\\2104.bmp");
    EXPECT_EQ(SmallPortraitFileName(1, 3), "tabornok\\13K.bmp");
    EXPECT_EQ(BiographyFileName(1, 2, 15), "tabornok\\er1215.txt");
}

} // namespace
} // namespace vezer
