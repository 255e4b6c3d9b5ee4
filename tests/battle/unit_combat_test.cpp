// One unit's action: its target, the losses of an exchange, the morale tests and the fighting
// spirit, each draw where the rules put it.

#include "battle/battle.h"
#include "battle/battle_fixture.h"
#include "battle/battle_internal.h"

#include "core/geometry.h"
#include "core/texts.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

using testing::At;
using testing::CorpsOptions;
using testing::Reg;

constexpr Hex kHome{10, 10};
const Hex kTarget = Neighbour(kHome, 2);

struct Combat : ::testing::Test, testing::BattleGame {
    Combat() { st().FogOfWar = 1; }
    // A battle of the mode between the two corps, forces built, the report open.
    void Set(std::initializer_list<Reg> att, std::initializer_list<Reg> def, int mode = kFieldAttack,
             CorpsOptions defOptions = {}) {
        const int a =
            b.Corps(1, At{kHome.x, kHome.y}, att, {.general = b.General(1, {.attack = 0}), .formation = 4});
        defOptions.general = b.General(2, {.defence = 0});
        b.Corps(2, At{kTarget.x, kTarget.y}, def, defOptions);
        b.RecomputeAll();
        BattleState& bs = st().Battle;
        bs.BattleMode = mode;
        bs.AttackerSide = 1;
        bs.DefenderSide = 2;
        bs.TargetX = kTarget.x;
        bs.TargetY = kTarget.y;
        bs.ReportOpen = 1;
        ScriptDraws({});
        BuildDefendingForce(g(), 2, kTarget, bs.DefendingForce);
        BuildAttackingForce(g(), 1, a, kTarget, bs.AttackingForce);
    }
    int A(int slot) const {
        return t.game->state.Battle.AttackingForce.Units[static_cast<std::size_t>(slot)];
    }
    int D(int slot) const {
        return t.game->state.Battle.DefendingForce.Units[static_cast<std::size_t>(slot)];
    }
};

TEST_F(Combat, AnExchangeOfFireAgainstAThousandMen) {
    Set({{}}, {{}});
    TEzred& u = st().Regiment(1, A(1));
    TEzred& t = st().Regiment(2, D(1));
    u.CombatValueFull = 60;
    u.Experience = 60; // A = 60
    struct Case {
        int defence, severityDraw, defenceDraw, lossDraw;
        int loss, morale, hits;
    } cases[] = {
        // Severity 2 (6 <= r < 20): round(1000 x 2 x 0.015 x 100 x 60 / 10000) = 18, plus 0..3;
        // 2 % of the men costs 4 morale.
        {0, 10, 50, 1, 18, 4, 2}, {0, 10, 50, 4, 21, 4, 2}, {0, 5, 50, 1, 36, 4, 4}, // r < A / 10: severity 4
        {0, 20, 50, 1, 9, 2, 1},  // r < A: severity 1; 0.9 % costs 2
        {0, 60, 50, 1, 0, 1, 0},  // a miss still costs a point of morale
        {60, 10, 19, 2, 1, 1, 0}, // r < D / 3: severity 2 / 4 = 0
        {60, 10, 59, 1, 9, 2, 1}, // r < D: halved
    };
    for (const Case& c : cases) {
        t.Men = 1000;
        t.Morale = 70;
        t.DefenceValue = c.defence;
        st().Battle.MoraleTally = {};
        st().Battle.HitTally = {};
        const int lost = st().Losses[2][2];
        ScriptDraws({{1, c.severityDraw}, {2, c.defenceDraw}, {3, c.lossDraw}});
        const int before = st().RandPos;
        const int m = InflictLosses(g(), 1, A(1), D(1));
        EXPECT_EQ(DrawsSince(before), 3);
        EXPECT_EQ(1000 - t.Men, c.loss) << c.severityDraw << " " << c.defenceDraw;
        EXPECT_EQ(m, c.morale) << c.severityDraw << " " << c.defenceDraw;
        EXPECT_EQ(t.Morale, 70 - c.morale);
        EXPECT_EQ(st().Battle.MoraleTally[2], -c.morale);
        EXPECT_EQ(st().Battle.HitTally[2], c.hits);
        EXPECT_EQ(st().Losses[2][2] - lost, c.loss);
        EXPECT_EQ(t.FillPercent, (t.Men + 5) / 10);
    }
    EXPECT_EQ(ReportLines().back(), "1. Osztrák line battalion veszteség - Morál: -2 Gyalogos: 9");
    EXPECT_TRUE(st().Regiment(1, A(1)).FoughtInBattle);
    EXPECT_TRUE(t.FoughtInBattle);
}

TEST_F(Combat, GunsAreLostOneToThreeAtATime) {
    Set({{.type = 4}, {.type = 13}}, {{.type = 11}, {.type = 11}});
    TEzred& horse = st().Regiment(1, A(1));
    horse.CombatValueFull = 50;
    horse.Experience = 50; // A = 50: one gun below 50, two below 6, three below 3
    TEzred& guns = st().Regiment(2, D(1));
    struct Case {
        int draw, men, lost, morale;
    } cases[] = {{50, 8, 0, 1}, {49, 8, 1, 2}, {6, 8, 1, 2}, {5, 8, 2, 2},
                 {2, 8, 3, 4},  {2, 3, 2, 2},  {2, 1, 1, 2}};
    for (const Case& c : cases) {
        guns.Men = c.men;
        guns.FillPercent = c.men * 100 / 8;
        ScriptDraws({{1, 100}, {2, 100}, {3, c.draw}});
        InflictLosses(g(), 1, A(1), D(1));
        EXPECT_EQ(c.men - guns.Men, c.lost) << "draw " << c.draw << " on " << c.men;
        EXPECT_EQ(guns.BattleLine == 7, guns.Men == 0);
    }
    // A half-empty battery loses one gun fewer; siege guns hurt morale by the share of guns lost.
    guns.Men = 3;
    guns.FillPercent = 38;
    guns.Morale = 50;
    ScriptDraws({{1, 100}, {2, 100}, {3, 2}});
    InflictLosses(g(), 1, A(1), D(1));
    EXPECT_EQ(guns.Men, 1);
    TEzred& siege = st().Regiment(1, A(2));
    siege.CombatValueFull = 100;
    siege.Experience = 50;
    guns.Men = 8;
    guns.FillPercent = 100;
    guns.Morale = 50;
    ScriptDraws({{1, 100}, {2, 100}, {3, 4}});
    InflictLosses(g(), 1, A(2), D(1));
    EXPECT_EQ(guns.Men, 5);
    EXPECT_EQ(guns.Morale, 46); // 3 of 8 is 37 %
}

TEST_F(Combat, AFortressBatteryIsNeverSilencedAndAnEmptyTargetLosesNothing) {
    b.City(3, At{kTarget.x, kTarget.y}, {.owner = 2, .kind = 3, .garrisonCapacity = 3000, .gunCapacity = 40});
    Set({{.type = 11}}, {{.type = 14, .men = 2}}, kFieldAttack, {.garrison = 1});
    TEzred& gun = st().Regiment(1, A(1));
    gun.CombatValueFull = 100;
    gun.Experience = 100;
    TEzred& battery = st().Regiment(2, D(1));
    ScriptDraws({{1, 1}, {2, 100}, {3, 1}});
    InflictLosses(g(), 1, A(1), D(1));
    EXPECT_EQ(battery.Men, 1); // three guns hit, the last stays
    ScriptDraws({{1, 1}, {2, 100}, {3, 1}});
    InflictLosses(g(), 1, A(1), D(1));
    EXPECT_EQ(battery.Men, 1);

    // A siege gun destroyed earlier: the exchange draws all it would and changes nothing.
    battery.Men = 8;
    TEzred& target = st().Regiment(1, A(1));
    target.Men = 0;
    const int morale = target.Morale;
    const auto tallies = st().Battle.MoraleTally;
    const int before = st().RandPos;
    EXPECT_EQ(InflictLosses(g(), 2, D(1), A(1)), 0);
    EXPECT_EQ(DrawsSince(before), 3);
    EXPECT_EQ(target.Morale, morale);
    EXPECT_EQ(st().Battle.MoraleTally, tallies);
}

TEST_F(Combat, OneOfSeveralFortressBatteriesCanFallButNeverTheGarrisonsLastGun) {
    b.City(3, At{kTarget.x, kTarget.y}, {.owner = 2, .kind = 3, .garrisonCapacity = 3000, .gunCapacity = 40});
    Set({{.type = 11}}, {{.type = 14, .men = 2}, {.type = 14, .men = 8}}, kFieldAttack, {.garrison = 1});
    TEzred& gun = st().Regiment(1, A(1));
    gun.CombatValueFull = 100;
    gun.Experience = 100;
    TEzred& small = st().Regiment(2, D(1));
    TEzred& large = st().Regiment(2, D(2));
    ASSERT_EQ(small.Men, 2);
    // Three guns hit: the small battery is silenced, the other still has its eight.
    ScriptDraws({{1, 1}, {2, 100}, {3, 1}});
    InflictLosses(g(), 1, A(1), D(1));
    EXPECT_EQ(small.Men, 0);
    EXPECT_EQ(small.BattleLine, 7);
    // Down to two guns in all, the last battery keeps one of them.
    large.Men = 2;
    ScriptDraws({{1, 1}, {2, 100}, {3, 1}});
    InflictLosses(g(), 1, A(1), D(2));
    EXPECT_EQ(large.Men, 1);
}

TEST_F(Combat, TheMoraleTestHoldsFallsBackOrFlees) {
    Set({{}}, {{}, {}, {}, {}});
    TEzred& u = st().Regiment(2, D(1));
    struct Case {
        int morale, experience, draw, mode;
        int result, line, moraleAfter;
    } cases[] = {
        {40, 40, 39, kFieldAttack, 1, 1, 40}, {40, 40, 40, kFieldAttack, 2, 2, 38},
        {40, 40, 79, kFieldAttack, 2, 2, 38}, {40, 40, 80, kFieldAttack, 3, 3, 36},
        {40, 40, 80, kAssault, 2, 2, 38},     // a stormed garrison never runs
        {11, 40, 50, kFieldAttack, 2, 2, 10}, // a unit at 11 loses one point falling back
        {12, 40, 50, kFieldAttack, 2, 2, 10},
    };
    for (const Case& c : cases) {
        st().Battle.BattleMode = c.mode;
        u.Morale = c.morale;
        u.Experience = c.experience;
        u.BattleLine = 1;
        u.EngagedInRound = 1;
        st().Battle.MoraleTally = {};
        st().Battle.RoutedCount = {};
        ScriptDraws({{1, c.draw}, {2, 100}, {3, 100}, {4, 100}, {5, 100}});
        const int before = st().RandPos;
        EXPECT_EQ(MoraleCheck(g(), 2, D(1), true), c.result) << c.morale << " " << c.draw;
        EXPECT_EQ(u.BattleLine, c.line);
        EXPECT_EQ(u.Morale, c.moraleAfter) << c.morale << " " << c.draw;
        EXPECT_EQ(st().Battle.MoraleTally[2], c.result == 1 ? 0 : c.result == 2 ? -2 : -4);
        // A rout spreads: one draw for every regiment of the force.
        EXPECT_EQ(DrawsSince(before), c.result == 3 ? 1 + 4 : 1);
        EXPECT_EQ(st().Battle.RoutedCount[2], c.result == 3 ? 1 : 0);
        EXPECT_EQ(u.EngagedInRound != 0, c.result == 1);
    }
    // The rout's panic: each of the four regiments loses a point on a draw below 100 / 4.
    st().Battle.BattleMode = kFieldAttack;
    u.Morale = 40;
    st().Battle.MoraleTally = {};
    ScriptDraws({{1, 100}, {2, 24}, {3, 25}, {4, 1}, {5, 100}});
    MoraleCheck(g(), 2, D(1), true);
    EXPECT_EQ(st().Battle.MoraleTally[2], -4 - 2);
    EXPECT_EQ(u.Morale, 35);
    EXPECT_EQ(st().Regiment(2, D(2)).Morale, 70);
    EXPECT_EQ(st().Regiment(2, D(3)).Morale, 69);
    EXPECT_EQ(st().Regiment(2, D(4)).Morale, 70);
    EXPECT_TRUE(Reported("the 1. Osztrák line battalion megfutamodik!  Morál: -4"));
}

TEST_F(Combat, WhatSteadiesAndWhatShakesATest) {
    Set({{}}, {{}});
    TEzred& u = st().Regiment(2, D(1));
    u.Morale = 40;
    u.Experience = 40;
    // The test against m: found by the first draw that fails.
    auto threshold = [&]() {
        for (int draw = 1; draw <= 100; ++draw) {
            ScriptDraws({{1, draw}});
            if (MoraleCheck(g(), 2, D(1), false) != 1) return draw;
        }
        return 101;
    };
    EXPECT_EQ(threshold(), 40);
    st().Battle.TargetEntrenchment = 1; // +20 for the defender: (40 + 60) / 2
    EXPECT_EQ(threshold(), 50);
    st().Battle.TargetEntrenchment = 0;
    st().Battle.OutnumberedPenalty[2] = -20;
    EXPECT_EQ(threshold(), 30);
    st().Battle.OutnumberedPenalty[2] = 0;
    st().PlayerType[2] = 2;
    st().Difficulty = 3;
    st().AiBattleBonusHard = 10;
    EXPECT_EQ(threshold(), 45);
    st().PlayerType[2] = 1;
    st().Battle.GeneralAbility[2] = 5;
    EXPECT_EQ(threshold(), 45);
}

TEST_F(Combat, ATargetIsFoundByArmAndAHopelessSearchEnds) {
    b.City(3, At{kTarget.x, kTarget.y}, {.owner = 2, .kind = 3, .garrisonCapacity = 3000, .gunCapacity = 40});
    Set({{}}, {{.type = 14}}, kFieldAttack, {.garrison = 1});
    // Foot cannot take a fortress battery: five tries of two draws, then nothing.
    st().Regiment(2, D(1)).EngagedInRound = 1;
    ScriptDraws({});
    int before = st().RandPos;
    EXPECT_EQ(PickTarget(g(), true, 1, A(1), st().Battle.DefendingForce), 0);
    EXPECT_EQ(DrawsSince(before), 12);
}

TEST_F(Combat, ACavalryChargeAndAHorsemanWhoDaresNot) {
    Set({{.type = 4}}, {{}});
    TEzred& horse = st().Regiment(1, A(1));
    TEzred& foot = st().Regiment(2, D(1));
    horse.EngagedInRound = foot.EngagedInRound = 1;
    st().Battle.FireRounds = 4;
    st().Battle.BattleSound = 2;
    // The dare fails (a draw of 100): nothing happens, but the horsemen have acted.
    ScriptDraws({{1, 1}, {2, 1}, {3, 1}, {4, 100}});
    int before = st().RandPos;
    SideActs(g(), true, 1, 2, st().Battle.DefendingForce, st().Battle.AttackingForce);
    EXPECT_TRUE(horse.ActedInRound);
    EXPECT_EQ(foot.Men, 1000);
    EXPECT_EQ(DrawsSince(before), 1 + 2 + 1); // the battle noise, the target, the dare
    EXPECT_EQ(st().Battle.BattleSound, 21);
    EXPECT_FALSE(Reported(kReportSeparator));

    // The charge: the foot lose 2 morale at once, suffer the blow, and stand and fight back.
    horse.ActedInRound = foot.ActedInRound = 0;
    foot.Morale = 70;
    ScriptDraws({});
    SideActs(g(), true, 1, 2, st().Battle.DefendingForce, st().Battle.AttackingForce);
    EXPECT_TRUE(Reported("the 1. Magyar hussars megrohamozza the 1. Osztrák line battalion."));
    EXPECT_TRUE(Reported("1. Osztrák line battalion Morál: -2"));
    EXPECT_TRUE(Reported("the 1. Osztrák line battalion állja a rohamot és harcol"));
    EXPECT_TRUE(foot.ActedInRound);
    EXPECT_LT(foot.Men, 1000);
    EXPECT_LT(horse.Men, 1000);
}

TEST_F(Combat, FireIsAnsweredByFootAndGunsNowAndThenButNeverByHorse) {
    // A battalion and a battery against horse, foot and guns, in a round of fire.
    Set({{}, {.type = 11}}, {{.type = 4}, {}, {.type = 11}});
    const int foot = A(1), gun = A(2);
    ASSERT_EQ(st().Regiment(1, foot).Type, 9);
    ASSERT_EQ(st().Regiment(1, gun).Type, 11);
    st().Battle.FireRounds = 4;
    st().Battle.Round = 1;
    const std::string reply = " viszonozza a tüzet.";
    struct Case {
        int shooter, slot, band, answer;
        bool answered;
        int draws;
    } cases[] = {
        // Foot fire at foot: answered on a draw of 40 or less.
        {foot, 2, 50, 40, true, 9},
        {foot, 2, 50, 41, false, 6},
        // Foot fire at guns: answered on 25 or less.
        {foot, 3, 100, 25, true, 9},
        {foot, 3, 100, 26, false, 6},
        // Horse never answers fire: no draw for it.
        {foot, 1, 1, 1, false, 5},
        // A battery firing at a battery: the target's test, then an answer on 30 or less.
        {gun, 3, 100, 30, true, 10},
        {gun, 3, 100, 31, false, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "shooter " << c.shooter << " slot " << c.slot << " draw " << c.answer);
        for (int slot = 1; slot <= 3; ++slot) {
            TEzred& e = st().Regiment(2, D(slot));
            e.EngagedInRound = 1;
            e.ActedInRound = 0;
            e.BattleLine = 1;
        }
        for (int u : {foot, gun}) {
            st().Regiment(1, u).EngagedInRound = 1;
            st().Regiment(1, u).ActedInRound = u == c.shooter ? 0 : 1;
            st().Regiment(1, u).BattleLine = 1;
        }
        const int target = D(c.slot);
        const bool gunFire = c.shooter == gun;
        // The target, its band; no blow lands (severity and guns at 100, no extra men lost);
        // a battery's target is tested and holds; then the answer, which lands nothing either.
        std::vector<std::pair<int, int>> draws = {{1, c.slot}, {2, c.band}, {3, 100}};
        int k = 6;
        if (st().Regiment(2, target).Arm == 3) draws.push_back({5, 100});
        if (gunFire) draws.push_back({k++, 1});
        draws.push_back({k, c.answer});
        draws.push_back({k + 1, 100});
        if (st().Regiment(1, c.shooter).Arm == 3) draws.push_back({k + 3, 100});
        State& s = st();
        for (int i = 1; i <= kRandTableSize; ++i) s.RandTable[static_cast<std::size_t>(i)] = 0;
        for (auto [at, v] : draws)
            s.RandTable[static_cast<std::size_t>((s.RandPos - 1 + at * s.RandStep) % kRandTableSize + 1)] = v - 1;
        t.screen.Clear();
        const int before = s.RandPos;
        SideActs(g(), true, 1, 1, s.Battle.DefendingForce, s.Battle.AttackingForce);
        EXPECT_EQ(DrawsSince(before), c.draws);
        const std::string fire = RegimentSubject(s, 1, c.shooter) + " tüzet nyit " + RegimentGoal(s, 2, target);
        EXPECT_TRUE(Reported(gunFire ? fire + "." : fire)) << fire;
        EXPECT_EQ(Reported(RegimentSubject(s, 2, target) + reply), c.answered);
        EXPECT_EQ(s.Regiment(2, target).ActedInRound != 0, c.answered);
    }
}

TEST_F(Combat, AUnitWhoseOpponentGaveWayGainsSpirit) {
    Set({{}}, {{}});
    TEzred& u = st().Regiment(1, A(1));
    u.Morale = 97;
    SpiritRise(g(), 1, A(1), 2);
    EXPECT_EQ(u.Morale, 100);
    EXPECT_EQ(st().Battle.MoraleTally[1], 3);
    SpiritRise(g(), 1, A(1), 3);
    EXPECT_EQ(st().Battle.MoraleTally[1], 9);
    EXPECT_TRUE(Reported("the 1. Magyar line battalion harci kedve nö! +6 Morál"));
}

} // namespace
} // namespace vezer
