#include "forces/invariants.h"
#include "forces/markers.h"
#include "forces/organisation.h"
#include "forces/strength.h"
#include "support/state_builder.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

using testing::Reg;
using testing::StateBuilder;
using testing::TestGame;

struct Strength : ::testing::Test, testing::BuiltGame {};

TEST_F(Strength, ReadinessAndExperienceScaleTheCombatValue) {
    struct Case {
        int readiness, experience, men, full, value, defence;
    };
    // Base combat 100 and defence 60. Readiness 50: RF = (round(37.5) + 50) / 100 = 0.88;
    // experience 60: EF = 1 - 0.16 = 0.84.
    for (Case c : {Case{100, 100, 1000, 100, 100, 40}, Case{0, 100, 1000, 50, 50, 20}, Case{100, 0, 1000, 0, 0, 0},
                   Case{50, 60, 1000, 74, 74, 30}, Case{50, 100, 1000, 88, 88, 35}, Case{100, 60, 1000, 84, 84, 34},
                   Case{50, 60, 500, 74, 37, 30}, Case{97, 100, 1000, 100, 100, 40}, Case{80, 100, 1000, 98, 98, 39}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        fresh.st().Types[9].BaseCombatValue = 100;
        fresh.st().Types[9].BaseDefenceValue = 60;
        sb.Corps(1, {10, 10}, {{.type = 9, .men = c.men, .experience = c.experience, .readiness = c.readiness}});
        RecomputeRegiment(fresh.st(), 1, 1);
        const TEzred& e = fresh.st().Regiment(1, 1);
        EXPECT_EQ(e.CombatValueFull, c.full) << c.readiness << " " << c.experience;
        EXPECT_EQ(e.CombatValue, c.value) << c.readiness << " " << c.experience;
        EXPECT_EQ(e.DefenceValue, c.defence) << c.readiness << " " << c.experience;
    }
    EXPECT_EQ(ReadinessFactorPercent(50), 88);
    EXPECT_EQ(ReadinessFactorPercent(0), 50);
    EXPECT_EQ(ReadinessFactorPercent(100), 100);
}

TEST_F(Strength, HungerHalvesTheValueOnPaperNotThePresentOne) {
    struct Case {
        int supply, full, value;
    };
    for (Case c : {Case{30, 60, 60}, Case{29, 30, 60}, Case{20, 30, 60}, Case{15, 30, 60}, Case{14, 15, 60},
                   Case{10, 15, 60}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        sb.Corps(1, {10, 10}, {{.type = 9, .experience = 100, .supply = c.supply}});
        RecomputeRegiment(fresh.st(), 1, 1);
        EXPECT_EQ(fresh.st().Regiment(1, 1).CombatValueFull, c.full) << c.supply;
        EXPECT_EQ(fresh.st().Regiment(1, 1).CombatValue, c.value) << c.supply;
    }
}

TEST_F(Strength, ObservationVisibilityAndFill) {
    struct Case {
        int men, fill, observation, visibility;
    };
    // Line battalion: full 1000, observation 60, visibility 40.
    for (Case c : {Case{1000, 100, 40, 40}, Case{500, 50, 40, 20}, Case{490, 49, 50, 19}, Case{200, 20, 50, 8},
                   Case{190, 19, 62, 7}, Case{50, 5, 62, 3}, Case{4, 1, 62, 3}, Case{1004, 100, 40, 40},
                   Case{1006, 101, 40, 40}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        sb.Corps(1, {10, 10}, {{.type = 9, .men = c.men}});
        RecomputeRegiment(fresh.st(), 1, 1);
        const TEzred& e = fresh.st().Regiment(1, 1);
        EXPECT_EQ(e.FillPercent, c.fill) << c.men;
        EXPECT_EQ(e.Observation, c.observation) << c.men;
        EXPECT_EQ(e.Visibility, c.visibility) << c.men;
    }
}

TEST_F(Strength, MovementFollowsFormationAbilityAndNation) {
    struct Case {
        const char* what;
        int type, formation, ability, nation, difficulty, readiness, allowance;
    };
    for (const Case& c : {Case{"defence, 80 %", 9, 3, 0, 1, 2, 100, 48}, Case{"march column, capped at 6/5", 9, 2, 0, 1, 2, 100, 72},
                          Case{"hussars capped at 100", 4, 2, 0, 1, 2, 100, 100},
                          Case{"forced marches", 9, 3, 1, 1, 2, 100, 57}, Case{"not in march column", 9, 2, 1, 1, 2, 100, 72},
                          Case{"Viennese insurgents", 9, 3, 0, 7, 2, 100, 0}, Case{"easy: no formation", 9, 3, 0, 1, 1, 100, 60},
                          Case{"tired", 9, 4, 0, 1, 2, 50, 53}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        fresh.st().Difficulty = c.difficulty;
        int gen = sb.General(1, {.ability = c.ability});
        sb.Corps(1, {10, 10}, {{.type = c.type, .nation = c.nation, .readiness = c.readiness, .movement = 90}},
                 {.general = gen, .formation = c.formation});
        RecomputeRegiment(fresh.st(), 1, 1);
        EXPECT_EQ(fresh.st().Regiment(1, 1).MovementAllowance, c.allowance) << c.what;
        EXPECT_EQ(fresh.st().Regiment(1, 1).MovementPoints, std::min(90, c.allowance)) << c.what;
    }
}

TEST_F(Strength, ArtilleryRatio) {
    struct Case {
        const char* what;
        std::vector<Reg> regiments;
        int garrison;
        double ratio;
    };
    for (const Case& c : {Case{"three batteries to 700 infantry", {{.type = 9, .men = 700}, {.type = 11}, {.type = 11}, {.type = 11}}, 0, 3.0},
                          Case{"no cavalry or infantry", {{.type = 11}, {.type = 11}, {.type = 11}}, 0, 5.0},
                          Case{"no guns", {{.type = 9}}, 0, 1.0},
                          Case{"never below one", {{.type = 9, .men = 2100}, {.type = 11}}, 0, 1.0},
                          Case{"a garrison", {{.type = 11}, {.type = 11}}, 1, 1.0},
                          Case{"halves to even", {{.type = 1, .men = 350}, {.type = 9, .men = 1050}, {.type = 11}, {.type = 11}, {.type = 11}, {.type = 11}}, 0, 2.0},
                          Case{"guns in foot-battery units", {{.type = 9, .men = 700}, {.type = 12, .men = 12}}, 0, 2.0}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        int corps = sb.Corps(1, {10, 10}, {}, {.garrison = c.garrison});
        for (const Reg& r : c.regiments) sb.Regiment(1, corps, r);
        RecomputeCorps(fresh.g(), 1, corps);
        EXPECT_DOUBLE_EQ(fresh.st().CorpsRec(1, corps).ArtilleryRatio, c.ratio) << c.what;
        EXPECT_DOUBLE_EQ(ArtilleryRatio(fresh.st(), 1, corps), c.ratio) << c.what;
    }
}

TEST_F(Strength, CorpsCombatValueWeighsEachArm) {
    struct Case {
        const char* what;
        std::vector<Reg> regiments;
        int garrison;
        int value;
    };
    // At readiness and experience 100: a line battalion of 700 is worth 42, a foot battery 60,
    // a siege battery 24, a fortress battery 40.
    for (const Case& c : {Case{"each battery a third", {{.type = 9, .men = 700}, {.type = 11}, {.type = 11}, {.type = 11}}, 0, 1 + 42 + 60},
                          Case{"a fifth without foot or horse", {{.type = 11}, {.type = 11}, {.type = 11}}, 0, 1 + 36},
                          Case{"siege guns add nothing", {{.type = 9, .men = 700}, {.type = 13}}, 0, 1 + 42},
                          Case{"fortress guns a quarter in a garrison", {{.type = 9, .men = 700}, {.type = 14}}, 1, 1 + 42 + 10},
                          Case{"and nothing elsewhere", {{.type = 9, .men = 700}, {.type = 14}}, 0, 1 + 42}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        int corps = sb.Corps(1, {10, 10}, {}, {.garrison = c.garrison});
        for (Reg r : c.regiments) {
            r.experience = 100;
            sb.Regiment(1, corps, r);
        }
        RecomputeCorps(fresh.g(), 1, corps);
        EXPECT_EQ(fresh.st().CorpsRec(1, corps).CombatValue, c.value) << c.what;
    }
}

TEST_F(Strength, VisibilityIsDividedByTheNumberOfRegiments) {
    struct Case {
        int regiments, ability, sum;
    };
    // Each full line battalion shows 40; n / 2 + 1 up to four regiments, n / 5 + 1 above.
    for (Case c : {Case{1, 0, 40}, Case{2, 0, 40}, Case{4, 0, 53}, Case{5, 0, 100}, Case{10, 0, 133},
                   Case{10, 9, 88}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        int gen = sb.General(1, {.ability = c.ability});
        int corps = sb.Corps(1, {10, 10}, {}, {.general = gen});
        for (int i = 0; i < c.regiments; ++i) sb.Regiment(1, corps, {.type = 9});
        RecomputeCorps(fresh.g(), 1, corps);
        EXPECT_EQ(fresh.st().CorpsRec(1, corps).SumVisibility, c.sum) << c.regiments;
        EXPECT_EQ(fresh.st().CorpsRec(1, corps).MinObservation, c.ability == 9 ? 26 : 40);
    }
}

TEST_F(Strength, SizeClassBoundaries) {
    struct Case {
        std::vector<int> infantry;
        int levyMen;
        int sizeClass;
    };
    for (const Case& c : {Case{{1000, 1000, 1000}, 0, 1}, Case{{1000, 1000, 1000, 1}, 0, 2},
                          Case{{1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000}, 0, 2},
                          Case{{1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1}, 0, 3},
                          Case{{1000, 1000, 1000, 1000, 1000, 1000, 500}, 5000, 2},
                          Case{{1000, 1000, 1000, 1000, 1000, 1000, 502}, 5000, 3}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        int corps = sb.Corps(1, {10, 10}, {});
        for (int men : c.infantry) sb.Regiment(1, corps, {.type = 9, .men = men});
        if (c.levyMen) sb.Regiment(1, corps, {.type = 6, .men = c.levyMen});
        RecomputeCorps(fresh.g(), 1, corps);
        EXPECT_EQ(fresh.st().CorpsRec(1, corps).SizeClass, c.sizeClass) << c.infantry.size() << " " << c.levyMen;
    }
}

TEST_F(Strength, EasyDifficultyForcesAttackFormationAndSteadyTactics) {
    st().Difficulty = 1;
    int corps = b.Corps(1, {10, 10}, {{.type = 9}}, {.formation = 1, .tactic = 3});
    RecomputeCorps(g(), 1, corps);
    const THad& h = st().CorpsRec(1, corps);
    EXPECT_EQ(h.Formation, 4);
    EXPECT_EQ(h.Tactic, 2);
    EXPECT_EQ(st().Regiment(1, 1).CorpsFormation, 4);
    EXPECT_EQ(h.MayChangeFormation, 0);
    EXPECT_EQ(h.CanChangeTactic, 0);
    EXPECT_EQ(h.CanAttack, 1);
}

TEST_F(Strength, RegimentsWithoutMenLeaveBeforeAnythingIsCounted) {
    int corps = b.Corps(1, {10, 10}, {{.type = 9, .men = 0}, {.type = 9, .men = 1000}, {.type = 5, .men = 0}});
    int other = b.Corps(1, {12, 10}, {{.type = 4}});
    RecomputeCorps(g(), 1, corps);
    EXPECT_EQ(st().RegimentCount[1], 2);
    EXPECT_EQ(st().CorpsRec(1, corps).UnitCount, 1);
    EXPECT_EQ(st().CorpsRec(1, corps).InfantryMen, 1000);
    EXPECT_EQ(st().CorpsRec(1, corps).AvgMorale, 70);
    EXPECT_EQ(st().CorpsRec(1, other).CavalryMen, 1000);
    EXPECT_EQ(CheckInvariants(st()), std::vector<std::string>{});

    // A corps of none but empty regiments goes, and the last corps takes its place.
    int empty = b.Corps(1, {14, 10}, {{.type = 9, .men = 0}});
    int last = b.Corps(1, {15, 10}, {{.type = 4, .men = 500}});
    (void)last;
    RecomputeCorps(g(), 1, empty);
    EXPECT_EQ(st().CorpsCount[1], 3);
    EXPECT_EQ(st().CorpsRec(1, empty).X, 15);
    EXPECT_EQ(st().CorpsRec(1, empty).CavalryMen, 500);  // recomputed at its new index
    EXPECT_EQ(CheckInvariants(st()), std::vector<std::string>{});
    EXPECT_EQ(CheckDerivedFigures(st()), std::vector<std::string>{});
}

TEST_F(Strength, SupplyDemand) {
    struct Case {
        int type, men, supply, demand;
    };
    for (Case c : {Case{9, 1000, 50, 30}, Case{9, 1000, 100, 1}, Case{9, 500, 90, 6}, Case{9, 500, 91, 5},
                   Case{9, 450, 95, 3}, Case{14, 8, 0, 10}, Case{14, 8, 95, 6}, Case{9, 1000, 72, 29}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        sb.Corps(1, {10, 10}, {{.type = c.type, .men = c.men, .supply = c.supply}});
        RecomputeRegiment(fresh.st(), 1, 1);
        EXPECT_EQ(RegimentSupplyDemand(fresh.st(), 1, 1), c.demand) << c.type << " " << c.men << " " << c.supply;
    }
    int corps = b.Corps(1, {10, 10}, {{.type = 9, .supply = 50}, {.type = 14, .supply = 0}});
    RecomputeCorps(g(), 1, corps);  // shares the supply first: 45 for both (weighed by fill)
    EXPECT_EQ(st().CorpsRec(1, corps).SupplyDemand, 30 + 10);
    EXPECT_EQ(CorpsSupplyDemand(st(), 1, corps), 40);
}

TEST_F(Strength, SupplyIsSharedByFill) {
    int corps = b.Corps(1, {10, 10}, {{.type = 9, .men = 1000, .supply = 80}, {.type = 9, .men = 500, .supply = 20}});
    RecomputeRegiment(st(), 1, 1);
    RecomputeRegiment(st(), 1, 2);
    ShareCorpsSupply(st(), 1, corps);
    EXPECT_EQ(st().Regiment(1, 1).Supply, 60);  // (80 + 10) / 150
    EXPECT_EQ(st().Regiment(1, 2).Supply, 60);

    // Each addition is rounded: 16.5 -> 16, 16 + 16.5 = 32.5 -> 32; 32 x 100 / 66 = 48.48.
    int halves = b.Corps(1, {11, 10}, {{.type = 9, .men = 330, .supply = 50}, {.type = 9, .men = 330, .supply = 50}});
    for (int r = 3; r <= 4; ++r) RecomputeRegiment(st(), 1, r);
    ShareCorpsSupply(st(), 1, halves);
    EXPECT_EQ(st().Regiment(1, 3).Supply, 48);
}

TEST_F(Strength, UnitsAreSortedByTypeThenIndex) {
    int corps = b.Corps(1, {10, 10}, {{.type = 11}, {.type = 9}, {.type = 4}, {.type = 9}, {.type = 1}});
    SortCorpsUnits(st(), 1, corps);
    const THad& h = st().CorpsRec(1, corps);
    std::vector<int> order(h.Units.begin() + 1, h.Units.begin() + 1 + h.UnitCount);
    EXPECT_EQ(order, (std::vector<int>{5, 3, 2, 4, 1}));
}

TEST_F(Strength, MarkersShowArmColourAndPicture) {
    int corps = b.Corps(1, {10, 10}, {{.type = 4}, {.type = 9, .men = 1001}});
    RecomputeCorps(g(), 1, corps);
    THad& h = st().CorpsRec(1, corps);
    EXPECT_EQ(h.MarkerArm, kMarkerArmInfantry);
    EXPECT_EQ(h.MarkerKind, 9);
    EXPECT_EQ(h.MarkerColor, kMarkerGreen);
    EXPECT_EQ(h.MarkerPicture, 10 + kMarkerPictureNormal);
    EXPECT_NE(h.MarkerId, 0);
    st().Regiment(1, 2).MovementPoints = 30;  // it has marched
    RecomputeCorps(g(), 1, corps);
    EXPECT_EQ(h.MarkerPicture, 10 + kMarkerPictureMoved);
    EXPECT_EQ(st().MarkerCount, 1);

    int cavalry = b.Corps(1, {11, 10}, {{.type = 4, .morale = 40}});
    RecomputeCorps(g(), 1, cavalry);
    EXPECT_EQ(st().CorpsRec(1, cavalry).MarkerKind, 11);
    EXPECT_EQ(st().CorpsRec(1, cavalry).MarkerArm, kMarkerArmCavalry);
    EXPECT_EQ(st().CorpsRec(1, cavalry).MarkerColor, kMarkerYellow);

    int guns = b.Corps(1, {12, 10}, {{.type = 9, .men = 1000, .morale = 30}, {.type = 11}});
    RecomputeCorps(g(), 1, guns);
    EXPECT_EQ(st().CorpsRec(1, guns).MarkerArm, kMarkerArmArtillery);  // 8 guns x 150 > 1000
    EXPECT_EQ(st().CorpsRec(1, guns).MarkerKind, 7);
    EXPECT_EQ(st().CorpsRec(1, guns).MarkerColor, kMarkerYellow);
    EXPECT_NE(st().CorpsRec(1, guns).MarkerId, st().CorpsRec(1, cavalry).MarkerId);
    EXPECT_EQ(st().MarkerCount, 3);
}

TEST_F(Strength, PermissionFlags) {
    b.City(30, {20, 20}, {.owner = 2, .kind = 3, .garrisonCapacity = 5000, .gunCapacity = 40, .fortMax = 6, .fortStrength = 3});
    int siege = b.Corps(1, {20, 20}, {{.type = 9}, {.type = 9}, {.type = 13}, {.type = 13}}, {.formation = 5});
    int garrison = b.Corps(2, {20, 20}, {{.type = 9, .men = 300}, {.type = 14}}, {.garrison = 1});
    int field = b.Corps(1, {25, 25}, {{.type = 9}, {.type = 9}, {.type = 9}}, {.formation = 3});
    b.RecomputeAll();
    const THad& s = st().CorpsRec(1, siege);
    EXPECT_EQ(s.CanBombard, 1);
    EXPECT_EQ(s.SiegeGunsAtEnemyFort, 1);
    EXPECT_EQ(s.CanStorm, 1);  // 300 defenders, at least 1000 infantry of our own
    EXPECT_EQ(s.CanAttack, 1);
    EXPECT_EQ(s.CanFormNewCorps, 1);  // the enemy here is only a garrison
    EXPECT_EQ(s.CanTransferRegiments, 0);
    EXPECT_EQ(s.CanEntrench, 0);
    EXPECT_EQ(s.FlagAlwaysSet, 1);
    EXPECT_EQ(s.FlagAlwaysCleared, 0);
    const THad& f = st().CorpsRec(1, field);
    EXPECT_EQ(f.CanEntrench, 1);
    EXPECT_EQ(f.CanAttack, 0);  // formation 3
    EXPECT_EQ(f.CanBombard, 0);

    // One more defender and the walls must be breached first; 80 entrenchment marks stop digging.
    st().Regiment(2, 1).Men = 301;
    RecomputeCorps(g(), 2, garrison);
    RecomputeCorps(g(), 1, siege);
    EXPECT_EQ(st().CorpsRec(1, siege).CanStorm, 0);
    st().EntrenchmentMarkCount = 80;
    RecomputeCorps(g(), 1, field);
    EXPECT_EQ(st().CorpsRec(1, field).CanEntrench, 0);
}

TEST_F(Strength, FormationChangeNeedsMovementPointsByCorpsSize) {
    struct Case {
        int regiments, movement, mayChange;
    };
    // A division (size 2) with allowance 48 needs more than (20 x 48 / 100) x 48 / 100 = 4 points.
    for (Case c : {Case{4, 5, 1}, Case{4, 4, 0}, Case{1, 1, 1}, Case{1, 0, 0}}) {
        TestGame fresh;
        StateBuilder sb(fresh.g());
        int corps = sb.Corps(1, {10, 10}, {});
        for (int i = 0; i < c.regiments; ++i) sb.Regiment(1, corps, {.type = 9, .movement = c.movement});
        RecomputeCorps(fresh.g(), 1, corps);
        EXPECT_EQ(fresh.st().CorpsRec(1, corps).MayChangeFormation, c.mayChange) << c.regiments << " " << c.movement;
    }
}

} // namespace
} // namespace vezer
