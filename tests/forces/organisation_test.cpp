#include "core/fingerprint.h"
#include "forces/generals.h"
#include "forces/invariants.h"
#include "forces/organisation.h"
#include "forces/strength.h"
#include "support/state_builder.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

using testing::StateBuilder;
using testing::TestGame;
using Kind = HeadlessPresentation::Kind;

struct Organisation : ::testing::Test, testing::BuiltGame {
    void ExpectSound() { EXPECT_EQ(CheckInvariants(st()), std::vector<std::string>{}); }
};

TEST_F(Organisation, TheFiftyRegimentLimitCountsExactly) {
    struct Case {
        int alreadyThere;
        bool moves;
    };
    for (Case c : {Case{49, true}, Case{50, false}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        int big = sb.Corps(1, {10, 10}, {});
        for (int i = 0; i < c.alreadyThere; ++i) sb.Regiment(1, big, {.type = 9, .men = 100});
        int small = sb.Corps(1, {10, 10}, {{.type = 9}, {.type = 5}});
        sb.RecomputeAll();
        int r = fresh.st().CorpsRec(1, small).Units[1];
        auto before = FullStateHash(fresh.st());
        EXPECT_EQ(MoveRegiment(fresh.g(), 1, r, big, false), c.moves) << c.alreadyThere;
        if (c.moves) {
            EXPECT_EQ(fresh.st().CorpsRec(1, big).UnitCount, 50);
            EXPECT_EQ(fresh.st().Regiment(1, r).Corps, big);
        } else {
            EXPECT_EQ(fresh.screen.Texts(Kind::Message), std::vector<std::string>{"Hadtestek maximális egységszáma 50!"});
            EXPECT_EQ(FullStateHash(fresh.st()), before);
        }
        EXPECT_EQ(CheckInvariants(fresh.st()), std::vector<std::string>{});
    }
}

TEST_F(Organisation, AGarrisonKeepsItsLastFortressBattery) {
    for (int batteries : {1, 2}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        sb.City(28, {14, 12}, {.kind = 3, .garrisonCapacity = 5000, .gunCapacity = 40, .fortMax = 8, .fortStrength = 8});
        int garrison = sb.Corps(1, {14, 12}, {{.type = 9}}, {.garrison = 1});
        for (int i = 0; i < batteries; ++i) sb.Regiment(1, garrison, {.type = 14});
        int field = sb.Corps(1, {14, 12}, {{.type = 9}});
        sb.RecomputeAll();
        int battery = fresh.st().RegimentCount[1] - 1;  // the field corps' battalion is last
        ASSERT_EQ(fresh.st().Regiment(1, battery).Type, 14);
        bool moved = MoveRegiment(fresh.g(), 1, battery, field, false);
        EXPECT_EQ(moved, batteries == 2);
        if (!moved) {
            EXPECT_EQ(fresh.screen.Texts(Kind::Message), std::vector<std::string>{"Erõd nem maradhat várüteg nélkül"});
        }
        EXPECT_EQ(CheckInvariants(fresh.st()), std::vector<std::string>{});
    }
}

TEST_F(Organisation, AFortressTakesMenAndGunsUpToItsRoom) {
    struct Case {
        const char* what;
        testing::Reg reg;
        bool garrisonTarget;
        bool moves;
    };
    // The garrison holds 2000 infantry and 16 guns; the fortress has room for 3000 and 24.
    for (const Case& c : {Case{"fills the room", {.type = 9, .men = 1000}, true, true},
                          Case{"one man too many", {.type = 9, .men = 1001}, true, false},
                          Case{"cavalry counts with infantry", {.type = 4, .men = 1001}, true, false},
                          Case{"guns to the gun room", {.type = 11, .men = 8}, true, true},
                          Case{"one gun too many", {.type = 11, .men = 9}, true, false},
                          Case{"a field corps has no room limit", {.type = 9, .men = 5000}, false, true}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        sb.City(28, {14, 12}, {.kind = 3, .garrisonCapacity = 3000, .gunCapacity = 24, .fortMax = 8, .fortStrength = 8});
        int garrison = sb.Corps(1, {14, 12}, {{.type = 9, .men = 2000}, {.type = 14}, {.type = 14}}, {.garrison = 1});
        int field = sb.Corps(1, {14, 12}, {{.type = 9}});
        int giver = sb.Corps(1, {14, 12}, {{.type = 5}, c.reg});
        sb.RecomputeAll();
        int r = fresh.st().RegimentCount[1];
        bool moved = MoveRegiment(fresh.g(), 1, r, c.garrisonTarget ? garrison : field, false);
        EXPECT_EQ(moved, c.moves) << c.what;
        if (!c.moves) {
            EXPECT_EQ(fresh.screen.Texts(Kind::Message), std::vector<std::string>{"Ezred nem fér be az erõdbe"});
        }
        EXPECT_EQ(fresh.st().CorpsRec(1, giver).UnitCount, c.moves ? 1 : 2) << c.what;
    }
}

TEST_F(Organisation, EmptyingACorpsRenumbersTheLastCorpsEverywhere) {
    b.City(28, {14, 12}, {.kind = 3, .garrisonCapacity = 9000, .gunCapacity = 40, .fortMax = 8, .fortStrength = 8});
    int first = b.Corps(1, {10, 10}, {{.type = 9}});
    int second = b.Corps(1, {10, 10}, {{.type = 9}});
    int last = b.Corps(1, {14, 12}, {{.type = 14}, {.type = 5}}, {.garrison = 1});
    b.RecomputeAll();
    const int lastGeneral = st().CorpsRec(1, last).General;
    const int firstGeneral = st().CorpsRec(1, first).General;
    st().SelectedCorps = last;
    st().SelectedCorpsSide = 1;
    HeldIndex heldLast(g().watches, RecordKind::Corps, 1, last);
    HeldIndex heldFirst(g().watches, RecordKind::Corps, 1, first);

    ASSERT_TRUE(MoveRegiment(g(), 1, st().CorpsRec(1, first).Units[1], second, false));

    EXPECT_EQ(st().CorpsCount[1], 2);
    const THad& moved = st().CorpsRec(1, first);
    EXPECT_EQ(moved.SelfIndex, first);
    EXPECT_EQ(moved.General, lastGeneral);
    EXPECT_EQ(st().General(1, lastGeneral).Corps, first);
    EXPECT_EQ(st().General(1, firstGeneral).Corps, 0);
    for (int i = 1; i <= moved.UnitCount; ++i) EXPECT_EQ(st().Regiment(1, moved.Units[static_cast<std::size_t>(i)]).Corps, first);
    EXPECT_EQ(st().Cities[28].GarrisonCorps, first);
    EXPECT_EQ(heldLast.get(), first);
    EXPECT_TRUE(heldFirst.gone());
    EXPECT_EQ(st().Cell(10, 10).CorpsCount, 1);
    // The emptied corps' hex chose its top again and the selection went with it.
    EXPECT_EQ(st().SelectedCorps, 2);
    EXPECT_EQ(st().CorpsRec(1, 3).Formation, 1);  // the old last slot is an empty record again
    EXPECT_EQ(st().CorpsRec(1, 3).ObjectiveX, -1);
    ExpectSound();
}

TEST_F(Organisation, ARemovedGarrisonLeavesItsCityWithoutOne) {
    b.City(28, {14, 12}, {.kind = 3, .garrisonCapacity = 9000, .gunCapacity = 40, .fortMax = 8, .fortStrength = 8});
    int garrison = b.Corps(1, {14, 12}, {{.type = 14}}, {.garrison = 1});
    b.Corps(1, {10, 10}, {{.type = 9}});
    b.RecomputeAll();
    RemoveRegiment(g(), 1, st().CorpsRec(1, garrison).Units[1]);
    EXPECT_EQ(st().Cities[28].GarrisonCorps, 0);
    EXPECT_EQ(st().CorpsCount[1], 1);
    ExpectSound();
}

TEST_F(Organisation, RemoveCorpsRefusesACorpsThatStillHasRegiments) {
    int c = b.Corps(1, {10, 10}, {{.type = 9}});
    auto before = FullStateHash(st());
    EXPECT_FALSE(RemoveCorps(g(), 1, c));
    EXPECT_FALSE(RemoveCorps(g(), 1, 2));
    EXPECT_EQ(FullStateHash(st()), before);
}

TEST_F(Organisation, TheComputersReferencesFollowARenumberedCorps) {
    st().PlayerType[2] = 2;
    int gone = b.Corps(2, {20, 20}, {{.type = 9}});
    int vanguard = b.Corps(2, {21, 20}, {{.type = 4}});
    int uniting = b.Corps(2, {22, 20}, {{.type = 9}});
    int last = b.Corps(2, {23, 20}, {{.type = 9}});
    int enemy = b.Corps(1, {24, 20}, {{.type = 9}});
    b.RecomputeAll();
    st().CorpsRec(2, vanguard).SuperiorCorps = gone;
    st().CorpsRec(2, vanguard).Role = 1;
    st().CorpsRec(2, uniting).Task = 4;
    st().CorpsRec(2, uniting).TargetCorps = last;
    st().CorpsRec(2, uniting).GuardCorps = gone;
    st().CorpsRec(1, enemy).Task = 1;
    st().CorpsRec(1, enemy).TargetCorps = last;
    st().CorpsRec(1, enemy).ThreatCorps = gone;
    st().AiSiegeCorps[2] = last;

    RemoveRegiment(g(), 2, st().CorpsRec(2, gone).Units[1]);

    const THad& v = st().CorpsRec(2, vanguard);
    EXPECT_EQ(v.SuperiorCorps, 0);
    EXPECT_EQ(v.Role, 4);
    EXPECT_EQ(v.Task, 4);
    EXPECT_EQ(v.ObjectiveX, -1);
    EXPECT_EQ(st().CorpsRec(2, uniting).GuardCorps, 0);
    EXPECT_EQ(st().CorpsRec(2, uniting).TargetCorps, gone);  // the last corps now lives at `gone`
    EXPECT_EQ(st().CorpsRec(1, enemy).TargetCorps, gone);
    EXPECT_EQ(st().CorpsRec(1, enemy).ThreatCorps, 0);
    EXPECT_EQ(st().AiSiegeCorps[2], gone);
    ExpectSound();
}

TEST_F(Organisation, SplittingAThousandLeavesSixHundredSixtySevenAndMakesThreeHundredThirtyThree) {
    int c = b.Corps(1, {10, 10}, {{.type = 9, .men = 1000, .morale = 60}, {.type = 5}});
    b.RecomputeAll();
    const int r = 1;  // the line battalion (the list is sorted by type: the Jäger comes first)
    const int before = st().RegimentCount[1];
    ASSERT_TRUE(SplitRegiment(g(), 1, r));
    const int fresh = st().RegimentCount[1];
    EXPECT_EQ(fresh, before + 1);
    EXPECT_EQ(st().Regiment(1, r).Men, 667);
    EXPECT_EQ(st().Regiment(1, fresh).Men, 333);
    EXPECT_EQ(st().Regiment(1, fresh).Type, 9);
    EXPECT_EQ(st().Regiment(1, fresh).Corps, c);
    EXPECT_EQ(st().Regiment(1, r).Morale, 55);
    EXPECT_EQ(st().Regiment(1, fresh).Morale, 55);  // the old regiment's, not five less again
    EXPECT_EQ(st().Regiment(1, fresh).Ordinal, 2);
    EXPECT_EQ(st().CorpsRec(1, c).UnitCount, 3);
    EXPECT_EQ(st().CorpsRec(1, c).InfantryMen, 1000 + 800);
    ExpectSound();
}

TEST_F(Organisation, SplitRefusals) {
    struct Case {
        int type, men, othersInCorps;
        bool splits;
    };
    for (Case c : {Case{11, 1, 1, false}, Case{11, 2, 1, true}, Case{9, 299, 1, false}, Case{9, 300, 1, true},
                   Case{9, 1000, 49, false}, Case{9, 1000, 48, true}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        int corps = sb.Corps(1, {10, 10}, {{.type = c.type, .men = c.men}});
        for (int i = 0; i < c.othersInCorps; ++i) sb.Regiment(1, corps, {.type = 5, .men = 100});
        sb.RecomputeAll();
        auto before = FullStateHash(fresh.st());
        EXPECT_EQ(SplitRegiment(fresh.g(), 1, 1), c.splits) << c.type << " " << c.men << " " << c.othersInCorps;
        if (!c.splits) {
            EXPECT_EQ(FullStateHash(fresh.st()), before);
        }
        EXPECT_EQ(CheckInvariants(fresh.st()), std::vector<std::string>{});
    }
}

TEST_F(Organisation, TwoHalfRegimentsMergeAtTheEndOfTheTurnThreeAtSeventyPercentDoNot) {
    struct Case {
        std::vector<int> men;
        int regimentsAfter;
    };
    for (const Case& c : {Case{{500, 500}, 1}, Case{{700, 700, 700}, 3}, Case{{400, 601}, 2}, Case{{400, 600}, 1},
                          Case{{300, 300, 300}, 1}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        int corps = sb.Corps(1, {10, 10}, {{.type = 4}});  // another type never takes part
        for (int men : c.men) sb.Regiment(1, corps, {.type = 9, .men = men});
        sb.RecomputeAll();
        ConsolidateRegiments(fresh.g(), 1);
        EXPECT_EQ(fresh.st().CorpsRec(1, 1).UnitCount, 1 + c.regimentsAfter) << c.men.size() << " " << c.men[0];
        int infantry = 0;
        for (int men : c.men) infantry += men;
        EXPECT_EQ(fresh.st().CorpsRec(1, 1).InfantryMen, infantry);
        EXPECT_EQ(CheckInvariants(fresh.st()), std::vector<std::string>{});
    }
}

TEST_F(Organisation, AMergeGivesMenWeightedAverages) {
    int c = b.Corps(1, {10, 10}, {{.type = 9, .men = 400, .experience = 30, .morale = 55, .readiness = 90, .supply = 60},
                                  {.type = 9, .men = 600, .experience = 81, .morale = 70, .readiness = 50, .supply = 60}});
    int giver = st().CorpsRec(1, c).Units[1];
    int receiver = st().CorpsRec(1, c).Units[2];
    EXPECT_TRUE(MergeRegiment(g(), 1, giver));
    // The receiver was the last regiment, so it now lives in the giver's slot.
    receiver = giver;
    const TEzred& e = st().Regiment(1, receiver);
    EXPECT_EQ(st().RegimentCount[1], 1);
    EXPECT_EQ(e.Men, 1000);
    EXPECT_EQ(e.Experience, 61);  // (600 x 81 + 400 x 30) / 1000 = 60.6
    EXPECT_EQ(e.Morale, 64);      // (600 x 70 + 400 x 55) / 1000 = 64
    EXPECT_EQ(e.Readiness, 66);   // 66
    ExpectSound();
}

TEST_F(Organisation, AMergeNeitherMakesNorLosesMen) {
    // A receiver above full strength has no room; the other takes what it can; the rest stays.
    int c = b.Corps(1, {10, 10}, {{.type = 9, .men = 700}, {.type = 9, .men = 1200}, {.type = 9, .men = 800}});
    b.RecomputeAll();
    int giver = st().CorpsRec(1, c).Units[1];
    EXPECT_FALSE(MergeRegiment(g(), 1, giver));
    EXPECT_EQ(st().Regiment(1, 1).Men, 500);
    EXPECT_EQ(st().Regiment(1, 2).Men, 1200);
    EXPECT_EQ(st().Regiment(1, 3).Men, 1000);
    EXPECT_EQ(st().CorpsRec(1, c).InfantryMen, 2700);
}

TEST_F(Organisation, MergeCandidatesNeedRoomForAllTheirMen) {
    struct Case {
        std::vector<int> men;
        std::vector<int> marked;
    };
    // The other regiments of the type must have room for every man; exactly enough is enough.
    for (const Case& c : {Case{{500, 500}, {1, 1}}, Case{{500, 501}, {0, 0}}, Case{{0, 1000}, {1, 1}},
                          Case{{950, 950, 100}, {1, 1, 1}}, Case{{950, 951, 100}, {0, 0, 0}},
                          Case{{900, 900, 150}, {1, 1, 1}}, Case{{900, 900, 300}, {0, 0, 0}}, Case{{1200, 400}, {0, 0}}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        int corps = sb.Corps(1, {10, 10}, {{.type = 4, .men = 100}});
        for (int men : c.men) sb.Regiment(1, corps, {.type = 9, .men = men});
        MarkMergeCandidates(fresh.st(), 1, corps);
        EXPECT_EQ(fresh.st().Regiment(1, 1).MergeCandidate, 0);  // alone in its type
        for (std::size_t i = 0; i < c.men.size(); ++i)
            EXPECT_EQ(fresh.st().Regiment(1, static_cast<int>(i) + 2).MergeCandidate, c.marked[i]) << c.men[0] << " " << i;
    }
}

TEST_F(Organisation, CreateRegimentFillsFromTheTemplate) {
    b.Corps(1, {10, 10}, {{.type = 11}});
    TEzred tmpl;
    tmpl.Type = 11;
    tmpl.Nation = 1;
    tmpl.FillPercent = 44;
    tmpl.ExperienceBuildUp = 30;
    tmpl.Arm = 2;
    int r = CreateRegiment(g(), 1, 0, tmpl);
    ASSERT_EQ(r, 2);
    const TEzred& e = st().Regiment(1, r);
    EXPECT_EQ(e.Men, 4);  // 8 x 44 / 100 = 3.52 rounds to 4
    EXPECT_EQ(e.Arm, 3);
    EXPECT_EQ(e.Ordinal, 2);
    EXPECT_EQ(e.ExperienceBuildUp, 0);
    EXPECT_EQ(e.MovementPoints, 255);
    EXPECT_EQ(e.Visibility, 40);
    EXPECT_EQ(e.Name.str(), "2. Magyar foot battery");
    EXPECT_EQ(st().TypeCounter[1][11], 2);
}

TEST_F(Organisation, CreationBeyondCapacityIsRefusedBeforeAnyWrite) {
    st().RegimentCount[1] = kMaxRegiments;
    TEzred tmpl;
    tmpl.Type = 9;
    tmpl.FillPercent = 100;
    auto before = FullStateHash(st());
    EXPECT_EQ(CreateRegiment(g(), 1, 0, tmpl), 0);
    EXPECT_EQ(FullStateHash(st()), before);

    st().RegimentCount[1] = 0;
    st().CorpsCount[2] = kMaxCorps;
    int general = b.General(2);
    THad corps = EmptyCorpsRecord();
    corps.General = general;
    before = FullStateHash(st());
    EXPECT_FALSE(CreateCorps(g(), 2, kMaxCorps + 1, corps));
    EXPECT_EQ(FullStateHash(st()), before);
}

TEST_F(Organisation, NoCorpsWithoutAGeneralAndNoRegimentLeftBehind) {
    st().PlayerType[2] = 2;  // no top-up for the computer's side
    b.Corps(2, {5, 5}, {{.type = 9}});
    TEzred tmpl;
    tmpl.Type = 9;
    tmpl.FillPercent = 80;
    tmpl.Corps = 2;  // made for the corps about to be created
    ASSERT_EQ(CreateRegiment(g(), 2, 0, tmpl), 2);
    ASSERT_EQ(CreateRegiment(g(), 2, 0, tmpl), 3);
    THad corps = EmptyCorpsRecord();
    corps.X = 6;
    corps.Y = 6;
    EXPECT_FALSE(CreateCorps(g(), 2, 2, corps));
    EXPECT_EQ(st().CorpsCount[2], 1);
    EXPECT_EQ(st().RegimentCount[2], 1);
    EXPECT_EQ(st().Cell(6, 6).CorpsCount, 0);
    EXPECT_EQ(t.screen.Texts(Kind::Message), std::vector<std::string>{"Elfogyott a tabornok"});
    ExpectSound();
}

TEST_F(Organisation, CreateCorpsGathersItsRegimentsAndLinksItsGarrison) {
    b.City(28, {14, 12}, {.kind = 3, .garrisonCapacity = 9000, .gunCapacity = 40, .fortMax = 8, .fortStrength = 8});
    for (int i = 0; i < 30; ++i) b.General(1);  // enough generals: no top-up
    TEzred tmpl;
    tmpl.Type = 14;
    tmpl.FillPercent = 100;
    tmpl.Corps = 1;
    CreateRegiment(g(), 1, 0, tmpl);
    tmpl.Type = 9;
    CreateRegiment(g(), 1, 0, tmpl);
    THad corps = EmptyCorpsRecord();
    corps.General = 7;
    corps.X = 14;
    corps.Y = 12;
    corps.Garrison = 1;
    corps.Formation = 3;
    corps.EstimateError = 25;
    st().Difficulty = 1;
    const int randPos = st().RandPos;
    ASSERT_TRUE(CreateCorps(g(), 1, 1, corps));
    const THad& h = st().CorpsRec(1, 1);
    EXPECT_EQ(h.UnitCount, 2);
    EXPECT_EQ(h.Units[1], 1);
    EXPECT_EQ(h.Units[2], 2);
    EXPECT_EQ(h.SelfIndex, 1);
    EXPECT_EQ(h.EstimateError, 0);
    EXPECT_EQ(h.Formation, 4);  // easy difficulty
    EXPECT_EQ(st().General(1, 7).Corps, 1);
    EXPECT_EQ(st().Cities[28].GarrisonCorps, 1);
    EXPECT_EQ(st().Cell(14, 12).CorpsCount, 1);
    EXPECT_EQ(st().RandPos, randPos);
    EXPECT_EQ(st().GeneralCount[1], 30);
    ExpectSound();
}

TEST_F(Organisation, ThirtyGeneralsJoinWhenAvailableOnesRunShort) {
    struct Case {
        int side, generals, unavailable, playerType, added, draws;
    };
    // A person's side needs CorpsCount + 30 available generals; side 2 draws each one's class.
    for (Case c : {Case{1, 5, 0, 1, 30, 0}, Case{2, 5, 0, 1, 30, 30}, Case{2, 5, 0, 2, 0, 0}, Case{1, 30, 0, 1, 0, 0},
                   Case{1, 30, 1, 1, 30, 0}, Case{1, 199, 0, 1, 0, 0}, Case{1, 199, 175, 1, 30, 0},
                   Case{1, 200, 175, 1, 0, 0}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        fresh.st().PlayerType[c.side] = c.playerType;
        for (int i = 0; i < c.generals; ++i) sb.General(c.side, {.available = i < c.generals - c.unavailable ? 1 : 0});
        THad corps = EmptyCorpsRecord();
        corps.General = 1;
        corps.X = corps.Y = 3;
        const int before = fresh.st().RandPos;
        EXPECT_TRUE(CreateCorps(fresh.g(), c.side, 1, corps));
        EXPECT_EQ(fresh.st().GeneralCount[c.side], c.generals + c.added) << c.side << " " << c.generals;
        EXPECT_EQ(fresh.st().RandPos, before + c.draws);
        for (int g = c.generals + 1; g <= fresh.st().GeneralCount[c.side]; ++g) {
            int cls = fresh.st().General(c.side, g).Nation;
            EXPECT_TRUE(c.side == 1 ? cls == 1 : (cls == 2 || cls == 3)) << cls;
        }
    }
}

TEST_F(Organisation, CorpsNames) {
    b.City(28, {14, 12}, {.kind = 3, .garrisonCapacity = 9000, .gunCapacity = 40, .name = "Komárom"});
    int garrison = b.Corps(1, {14, 12}, {{.type = 14}}, {.garrison = 1});
    int small = b.Corps(1, {10, 10}, {{.type = 9}});
    int large = b.Corps(1, {10, 10}, {{.type = 9, .men = 1000}});
    for (int i = 0; i < 4; ++i) b.Regiment(1, large, {.type = 9});
    st().General(1, st().CorpsRec(1, small).General).FamilyName = "Görgei";
    st().General(1, st().CorpsRec(1, large).General).FamilyName = "Leiningen-Westerburg";  // keeps 15
    b.RecomputeAll();
    EXPECT_EQ(st().CorpsRec(1, garrison).Name.str(), "Komárom garrison");
    EXPECT_EQ(st().CorpsRec(1, small).Name.str(), "Görgei dandára");
    EXPECT_EQ(st().CorpsRec(1, large).Name.str(), "Leiningen-Weste hadosztál");  // cut to 25
}

TEST_F(Organisation, RemovingARegimentMovesTheLastIntoTheHole) {
    int a = b.Corps(1, {10, 10}, {{.type = 9}, {.type = 5}});
    int c = b.Corps(1, {11, 10}, {{.type = 4}, {.type = 11}});
    b.RecomputeAll();
    HeldIndex last(g().watches, RecordKind::Regiment, 1, 4);
    RemoveRegiment(g(), 1, 1);
    EXPECT_EQ(st().RegimentCount[1], 3);
    EXPECT_EQ(st().Regiment(1, 1).Type, 11);
    EXPECT_EQ(st().Regiment(1, 1).Corps, c);
    EXPECT_EQ(last.get(), 1);
    EXPECT_EQ(st().CorpsRec(1, a).UnitCount, 1);
    EXPECT_EQ(st().CorpsRec(1, a).InfantryMen, 800);
    ExpectSound();
}

TEST_F(Organisation, ATransferToAnUnknownCorpsChangesNothing) {
    b.Corps(1, {10, 10}, {{.type = 9}});
    b.RecomputeAll();
    auto before = FullStateHash(st());
    for (int target : {0, 2, -1, kMaxCorps + 1}) EXPECT_FALSE(MoveRegiment(g(), 1, 1, target, false));
    EXPECT_FALSE(MoveRegiment(g(), 1, 1, 1, false));  // into its own corps
    EXPECT_FALSE(MoveRegiment(g(), 1, 5, 1, false));
    EXPECT_EQ(FullStateHash(st()), before);
}

TEST_F(Organisation, ATransferIntoTheLastCorpsRecomputesItAtItsNewIndex) {
    // The source empties and is removed; the target, last in the array, moves into its slot
    // before its own recompute.
    st().FogOfWar = 1;
    int source = b.Corps(1, {10, 10}, {{.type = 9, .men = 1000}});
    b.Corps(1, {12, 10}, {{.type = 9}});
    int target = b.Corps(1, {10, 10}, {{.type = 5}}, {.formation = 1, .recon = 3});
    b.RecomputeAll();
    ASSERT_TRUE(MoveRegiment(g(), 1, 1, target, false));
    const THad& h = st().CorpsRec(1, source);
    EXPECT_EQ(st().CorpsCount[1], 2);
    EXPECT_EQ(h.UnitCount, 2);
    EXPECT_EQ(h.InfantryMen, 1800);
    EXPECT_EQ(h.ReconLevel, 2);  // a transfer lowers what the enemy knows of the receiver
    EXPECT_EQ(st().Regiment(1, 1).Readiness, 100);  // formation 1 costs no readiness
    ExpectSound();
    EXPECT_EQ(CheckDerivedFigures(st()), std::vector<std::string>{});
}

TEST_F(Organisation, ATransferCostsMoraleAndReadinessIntoAnotherFormation) {
    struct Case {
        int targetFormation, difficulty, readiness;
    };
    for (Case c : {Case{4, 2, 90}, Case{3, 2, 100}, Case{1, 2, 100}, Case{6, 2, 100}, Case{4, 1, 100}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        fresh.st().Difficulty = c.difficulty;
        sb.Corps(1, {10, 10}, {{.type = 9}, {.type = 9}}, {.formation = 3});
        sb.Corps(1, {10, 10}, {{.type = 5}}, {.formation = c.targetFormation});
        MoveRegiment(fresh.g(), 1, 1, 2, false);
        EXPECT_EQ(fresh.st().Regiment(1, 1).Readiness, c.readiness) << c.targetFormation << " " << c.difficulty;
        EXPECT_EQ(fresh.st().Regiment(1, 1).Morale, 65);
    }
}

TEST_F(Organisation, AKeptEmptyCorpsStaysWithNoMen) {
    int source = b.Corps(1, {10, 10}, {{.type = 6, .men = 2000}});
    int target = b.Corps(1, {10, 10}, {{.type = 9}});
    b.RecomputeAll();
    ASSERT_TRUE(MoveRegiment(g(), 1, 1, target, true));
    EXPECT_EQ(st().CorpsCount[1], 2);
    EXPECT_EQ(st().CorpsRec(1, source).UnitCount, 0);
    EXPECT_EQ(st().CorpsRec(1, source).InfantryMen, 0);
    EXPECT_EQ(st().CorpsRec(1, source).Type6Men, 0);
    ExpectSound();
    EXPECT_EQ(CheckDerivedFigures(st()), std::vector<std::string>{});
}

TEST_F(Organisation, LeavingACorpsEndsAnActivityItCanNoLongerCarry) {
    int source = b.Corps(1, {10, 10}, {{.type = 9}, {.type = 9}, {.type = 9}, {.type = 9, .men = 500}},
                         {.activity = 11});
    int target = b.Corps(1, {10, 10}, {{.type = 5}});
    b.RecomputeAll();
    st().CorpsRec(1, source).ActivityWeeks = 2;
    MoveRegiment(g(), 1, 4, target, false);  // 3000 infantry remain: still entrenching
    EXPECT_EQ(st().CorpsRec(1, source).Activity, 11);
    MoveRegiment(g(), 1, 3, target, false);  // 2000
    EXPECT_EQ(st().CorpsRec(1, source).Activity, 0);
    EXPECT_EQ(st().CorpsRec(1, source).ActivityWeeks, 0);
}

} // namespace
} // namespace vezer
