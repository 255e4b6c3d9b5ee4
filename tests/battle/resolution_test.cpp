// The fight: battle-time figures, initiative, who fights each round, the rounds, breaking off,
// the winner and the pursuit.

#include "battle/battle.h"
#include "battle/battle_fixture.h"
#include "battle/battle_internal.h"

#include "core/geometry.h"
#include "forces/strength.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

using testing::At;
using testing::CorpsOptions;
using testing::Reg;

constexpr Hex kHome{10, 10};
const Hex kTarget = Neighbour(kHome, 2);

struct Fight : ::testing::Test, testing::BattleGame {
    int attacker = 0, defender = 0;
    // With fog of war the levels of knowledge stay as set (0): no side fights better for it.
    Fight() { st().FogOfWar = 1; }

    // Generals rated 0, so the day's rating is 0 when the first draw gives 1.
    int Plain(int side) { return b.General(side, {.attack = 0, .defence = 0, .initiative = 3}); }
    int Corps(int side, Hex at, std::initializer_list<Reg> regs, CorpsOptions o = {}) {
        if (o.general == 0) o.general = Plain(side);
        return b.Corps(side, At{at.x, at.y}, regs, o);
    }
    // Both forces built for a battle of the mode on the target, the report open.
    void Set(int mode = kFieldAttack) {
        b.RecomputeAll();
        BattleState& bs = st().Battle;
        bs.BattleMode = mode;
        bs.AttackerSide = 1;
        bs.DefenderSide = 2;
        bs.TargetX = kTarget.x;
        bs.TargetY = kTarget.y;
        bs.TargetEntrenchment = mode == kAssault ? 0 : st().Cell(kTarget.x, kTarget.y).Entrenchment;
        bs.ReportOpen = 1;
        ScriptDraws({});
        BuildDefendingForce(g(), 2, kTarget, bs.DefendingForce);
        BuildAttackingForce(g(), 1, attacker, kTarget, bs.AttackingForce);
    }
    TEzred& Att(int slot) {
        return st().Regiment(1, st().Battle.AttackingForce.Units[static_cast<std::size_t>(slot)]);
    }
    TEzred& Def(int slot) {
        return st().Regiment(2, st().Battle.DefendingForce.Units[static_cast<std::size_t>(slot)]);
    }
};

TEST_F(Fight, TheRoundsFollowTheGunsAndTheSizes) {
    struct Case {
        int gunsA, gunsD, unitsA, unitsD;
        int maxRounds, fireRounds;
        bool opening;
    } cases[] = {{16, 8, 3, 3, 5, 4, true},  {16, 4, 3, 3, 4, 3, false}, {4, 16, 5, 5, 4, 3, false},
                 {16, 8, 2, 2, 4, 3, false}, {0, 0, 1, 2, 3, 2, false},  {16, 8, 2, 3, 5, 4, true}};
    for (const Case& c : cases) {
        BattleState& bs = st().Battle;
        bs.AttackingForce.Guns = c.gunsA;
        bs.DefendingForce.Guns = c.gunsD;
        bs.AttackingForce.UnitCount = c.unitsA;
        bs.DefendingForce.UnitCount = c.unitsD;
        SetRoundLimits(st());
        EXPECT_EQ(bs.MaxRounds, c.maxRounds);
        EXPECT_EQ(bs.FireRounds, c.fireRounds);
        EXPECT_EQ(bs.OpeningBombardment != 0, c.opening);
    }
}

TEST_F(Fight, TheShiftedTalliesDecideTheWinnerOrADraw) {
    struct Case {
        int attackerTally, defenderTally;
        int winner;
        bool draw;
        int shownAttacker, shownDefender;
    } cases[] = {
        {-10, -4, 2, false, -10, -4}, // q = 2.5, the higher tally holds
        {-5, -5, 2, true, -5, -5},    // even: the defender holds the field
        {0, -2, 2, true, -1, -2},     // a tally of 0 is shown as -1; 1 apart is a draw
        {4, -6, 1, false, 4, -6},     // both shifted below 0: -1 against -11
        {-8, -7, 2, true, -8, -7},    // q = 8 / 7 lies within 0.8..1.2
        {-4, -10, 1, false, -4, -10},
    };
    for (const Case& c : cases) {
        BattleState& bs = st().Battle;
        bs.MoraleTally[1] = c.attackerTally;
        bs.MoraleTally[2] = c.defenderTally;
        battle::DecideWinner(st(), 1, false, 0);
        EXPECT_EQ(bs.Winner, c.winner) << c.attackerTally << " / " << c.defenderTally;
        EXPECT_EQ(bs.Draw != 0, c.draw) << c.attackerTally << " / " << c.defenderTally;
        EXPECT_EQ(bs.MoraleTally[1], c.shownAttacker);
        EXPECT_EQ(bs.MoraleTally[2], c.shownDefender);
    }
    // A force that broke off loses, whatever the tallies say.
    st().Battle.MoraleTally = {0, -2, -20};
    battle::DecideWinner(st(), 1, true, 2);
    EXPECT_EQ(st().Battle.Winner, 1);
    EXPECT_FALSE(st().Battle.Draw);
    EXPECT_EQ(st().Battle.AdjustedTally[2], -20);
}

TEST_F(Fight, ARiverCrossingWeakensTheAttackerAndStrengthensTheDefender) {
    b.River(At{kHome.x, kHome.y}, 2, 1);
    attacker = Corps(1, kHome, {{}, {.type = 4}}, {.formation = 4});
    defender = Corps(2, kTarget, {{}, {.type = 4}});
    Set();
    const int attDefence = Att(2).DefenceValue, defCombat = Def(2).CombatValueFull,
              defHorse = Def(1).CombatValueFull;
    ApplyBattleModifiers(g(), st().Battle.AttackingForce, st().Battle.DefendingForce);
    EXPECT_EQ(st().Battle.RiverCrossing, 1);
    EXPECT_EQ(Att(2).DefenceValue, RoundHalfEvenRatio(attDefence * 50LL, 100));
    EXPECT_EQ(Def(2).CombatValueFull, RoundHalfEvenRatio(defCombat * 160LL, 100));
    EXPECT_EQ(Def(1).CombatValueFull, defHorse); // horse does not hold a river bank
    EXPECT_TRUE(Reported("General1-1 teljesítmény: 0"));

    // A frozen river is no obstacle.
    st().RiverState = 4;
    Set();
    ApplyBattleModifiers(g(), st().Battle.AttackingForce, st().Battle.DefendingForce);
    EXPECT_EQ(st().Battle.RiverCrossing, 0);
    EXPECT_EQ(Att(2).DefenceValue, attDefence);
}

TEST_F(Fight, EntrenchmentsTerrainAndTheRearAttack) {
    attacker = Corps(1, kHome, {{}, {.type = 4}}, {.formation = 4, .direction = 2});
    defender = Corps(2, kTarget, {{}, {.type = 4}}, {.direction = 1});
    b.Terrain(At{kTarget.x, kTarget.y}, 3);
    Set();
    const int defCombat = Def(2).CombatValueFull, defDefence = Def(2).DefenceValue;
    const int attHorse = Att(1).CombatValueFull, defHorseDefence = Def(1).DefenceValue;
    ApplyBattleModifiers(g(), st().Battle.AttackingForce, st().Battle.DefendingForce);
    // Facing within one step of the defenders' front: the blow falls on their rear.
    EXPECT_TRUE(st().Battle.RearAttack);
    EXPECT_TRUE(Reported("Hátba támadás!"));
    EXPECT_EQ(Def(2).DefenceValue,
              RoundHalfEvenRatio(RoundHalfEvenRatio(defDefence * 30LL, 100) * 230LL, 100));
    EXPECT_EQ(Def(1).DefenceValue, RoundHalfEvenRatio(defHorseDefence * 30LL, 100));
    EXPECT_EQ(Att(1).CombatValueFull, RoundHalfEvenRatio(attHorse * 70LL, 100));
    EXPECT_EQ(Def(2).CombatValueFull, defCombat);

    // Earthworks of level 2 cancel the rear attack and add their own factors.
    b.Entrench(At{kTarget.x, kTarget.y}, 2, 2);
    t.screen.Clear();
    Set();
    ApplyBattleModifiers(g(), st().Battle.AttackingForce, st().Battle.DefendingForce);
    EXPECT_FALSE(st().Battle.RearAttack);
    EXPECT_FALSE(Reported("Hátba támadás!"));
    EXPECT_EQ(Def(2).CombatValueFull, RoundHalfEvenRatio(defCombat * 200LL, 100));
    EXPECT_EQ(Def(2).DefenceValue,
              RoundHalfEvenRatio(RoundHalfEvenRatio(defDefence * 210LL, 100) * 230LL, 100));
}

TEST_F(Fight, AnAssaultAndTheWallsOfTheFortress) {
    b.City(3, At{kTarget.x, kTarget.y},
           {.owner = 2,
            .kind = 3,
            .garrisonCapacity = 5000,
            .gunCapacity = 40,
            .fortMax = 4,
            .fortStrength = 2});
    attacker = Corps(1, kTarget, {{}, {.type = 13}}, {.formation = 5});
    defender = Corps(2, kTarget, {{}, {.type = 14}}, {.garrison = 1});
    Set(kAssault);
    const int defCombat = Def(1).CombatValueFull, defDefence = Def(1).DefenceValue;
    const int siege = Att(2).CombatValueFull, siegeDefence = Att(2).DefenceValue;
    ApplyBattleModifiers(g(), st().Battle.AttackingForce, st().Battle.DefendingForce);
    EXPECT_EQ(Def(1).DefenceValue, RoundHalfEvenRatio(defDefence * 116LL, 100)); // FortMax² + 100
    EXPECT_EQ(Def(1).CombatValueFull, RoundHalfEvenRatio(defCombat * 250LL, 100));
    EXPECT_EQ(Att(2).CombatValueFull, siege); // siege guns keep their attack in an assault
    EXPECT_EQ(Att(2).DefenceValue, siegeDefence * 4);

    // In a field attack siege guns do not fight.
    st().CorpsRec(1, attacker).X = kHome.x;
    Set(kFieldAttack);
    ApplyBattleModifiers(g(), st().Battle.AttackingForce, st().Battle.DefendingForce);
    EXPECT_EQ(Att(2).CombatValueFull, 1);
}

TEST_F(Fight, FastHorseOverrunsASlowAndWeakEnemy) {
    attacker =
        Corps(1, kHome, {{.type = 4}, {.type = 4}, {.type = 4}, {.type = 4}, {.type = 4}}, {.formation = 4});
    defender = Corps(2, kTarget, {{}});
    Set();
    ApplyBattleModifiers(g(), st().Battle.AttackingForce, st().Battle.DefendingForce);
    EXPECT_TRUE(st().Battle.Overrun);
    EXPECT_TRUE(Reported("Lerohanás"));
    // Overrun, the battalion's defence counts nothing: a blow of severity 4 stays 4.
    const int h = st().Battle.AttackingForce.Units[1], v = st().Battle.DefendingForce.Units[1];
    auto loss = [&]() {
        st().Regiment(2, v).Men = 1000;
        ScriptDraws({});
        InflictLosses(g(), 1, h, v);
        return 1000 - st().Regiment(2, v).Men;
    };
    const int overrun = loss();
    st().Battle.Overrun = 0;
    const int defended = loss();
    EXPECT_GT(overrun, 2 * defended);
}

TEST_F(Fight, InitiativeFromSpeedGeneralFormationAndArms) {
    attacker = Corps(1, kHome, {{.experience = 50, .readiness = 100}}, {.formation = 4});
    defender = Corps(2, kTarget, {{}});
    Set();
    THad& A = st().Battle.AttackingForce;
    A.AvgMovementAllowance = 60;
    // v = 8 x 3 + 100 = 124; x 3/2 in formation 4 = 186; x (50 + 100 / 2) / 100; attacking x 1.2
    // = 223; all foot: halved.
    EXPECT_EQ(InitiativeScore(g(), 1, A, 59, true), 111);
    EXPECT_EQ(InitiativeScore(g(), 1, A, 59, false), 93);
    st().Battle.RiverCrossing = 2;
    EXPECT_EQ(InitiativeScore(g(), 1, A, 59, true), 37);
    // An enemy more than twice as fast leaves no initiative.
    EXPECT_EQ(InitiativeScore(g(), 1, A, 121, true), 0);
}

TEST_F(Fight, GunsWithoutCoverStayInReserveAndInfantryWaitsForTheOpeningBombardment) {
    attacker =
        Corps(1, kHome, {{}, {.type = 11}, {.type = 11}, {.type = 11}, {.type = 11}}, {.formation = 4});
    defender = Corps(2, kTarget, {{}, {}, {.type = 11}});
    Set();
    ApplyBattleModifiers(g(), st().Battle.AttackingForce, st().Battle.DefendingForce);
    SetRoundLimits(st());
    ASSERT_TRUE(st().Battle.OpeningBombardment);
    ScriptDraws({});
    SelectEngagedUnits(g(), st().Battle.AttackingForce, 1, 1);
    // 1000 foot make no cover at 2000 a unit: the ratio is 10 and one battery of four fights.
    EXPECT_EQ(st().Battle.AttackingForce.ArtilleryRatio, 10.0);
    EXPECT_TRUE(Reported("Tüzérség nincs kellöen fedezve, az ütegek egy része tartalékban marad"));
    int guns = 0;
    for (int i = 1; i <= 5; ++i) guns += Att(i).EngagedInRound && Att(i).Arm == 3;
    EXPECT_EQ(guns, 1);
    EXPECT_FALSE(Att(1).EngagedInRound); // the battalion waits for round 2
    SelectEngagedUnits(g(), st().Battle.AttackingForce, 1, 2);
    EXPECT_TRUE(Att(1).EngagedInRound);
}

TEST_F(Fight, OutnumberedDefendersLoseMoraleAndNoPenaltyInAnAssault) {
    attacker = Corps(1, kHome, {{}, {}, {}}, {.formation = 4});
    defender = Corps(2, kTarget, {{}});
    Set();
    ApplyBattleModifiers(g(), st().Battle.AttackingForce, st().Battle.DefendingForce);
    SetRoundLimits(st());
    st().Battle.AttackingForce.CombatValue = 300;
    st().Battle.DefendingForce.CombatValue = 100;
    FightBattle(g(), st().Battle.AttackingForce, st().Battle.DefendingForce, 1);
    // r = 330 / 101 = 3: a penalty of 20.
    EXPECT_TRUE(Reported("Támadó túlerö, védök -20 morál."));
    EXPECT_EQ(st().Battle.OutnumberedPenalty[2], -20);
    EXPECT_EQ(st().Battle.OutnumberedPenalty[1], 0);
    EXPECT_TRUE(Reported("General1-1 megszerzi a kezdeményezést!"));
    const auto lines = ReportLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 3], kReportSeparator);
    EXPECT_EQ(lines[lines.size() - 2].rfind("Magyar morál változás: ", 0), 0u);
    EXPECT_EQ(lines.back().rfind("Osztrák morál változás: ", 0), 0u);
}

TEST_F(Fight, AForceAtTheReadyToWithdrawSlipsAway) {
    attacker = Corps(1, kHome, {{}}, {.formation = 4});
    defender = Corps(2, kTarget, {{}, {}}, {.formation = 6, .tactic = 1});
    Set();
    ApplyBattleModifiers(g(), st().Battle.AttackingForce, st().Battle.DefendingForce);
    THad& D = st().Battle.DefendingForce;
    THad& A = st().Battle.AttackingForce;
    ASSERT_EQ(D.Formation, 6);
    D.AvgMovementAllowance = 30;
    A.AvgMovementAllowance = 40;
    // Foot on both sides: R(2 x 30 x 7/10) must beat the pursuer's 40 x 7/10.
    for (int roll : {28, 29}) {
        t.screen.Clear();
        ScriptDraws({{1, roll}});
        const int before = st().RandPos;
        const bool away = RetreatDecision(g(), false, 2, 0, D, A);
        EXPECT_EQ(away, roll == 29);
        EXPECT_EQ(DrawsSince(before), 1);
        EXPECT_EQ(Reported("General2-1  retreats"), roll == 29);
    }
    // Never from a stormed fortress, never from horsemen alone.
    st().Battle.BattleMode = kAssault;
    ScriptDraws({{1, 60}});
    EXPECT_FALSE(RetreatDecision(g(), false, 2, 0, D, A));
    st().Battle.BattleMode = kFieldAttack;
    A.AllClassOne = 1;
    EXPECT_FALSE(RetreatDecision(g(), false, 2, 0, D, A));
}

TEST_F(Fight, HorseSuperiorityNeedsFiveHundredAndHalfAsManyAgainOnOpenGround) {
    struct Case {
        int horseA, horseD, entrenchment;
        int superior; // side, 0 for none
    } cases[] = {
        {1000, 600, 0, 1}, // 2000 > 1800
        {1000, 667, 0, 0}, // 2000 > 2001 fails
        {500, 0, 0, 0},    // not more than 500
        {501, 0, 0, 1},
        {600, 1000, 0, 2}, // the defender's, when the attacker has none
        {1000, 0, 1, 0},   // never against earthworks
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.horseA << " against " << c.horseD << " entrenched " << c.entrenchment);
        testing::BattleGame fresh;
        State& s = fresh.st();
        s.FogOfWar = 1;
        std::vector<Reg> att{{.men = 1000}}, def{{.men = 1000}};
        if (c.horseA > 0) att.push_back({.type = 4, .men = c.horseA});
        if (c.horseD > 0) def.push_back({.type = 4, .men = c.horseD});
        const int a = fresh.b.Corps(1, At{kHome.x, kHome.y}, {}, {.formation = 4});
        for (const Reg& r : att) fresh.b.Regiment(1, a, r);
        const int d = fresh.b.Corps(2, At{kTarget.x, kTarget.y}, {});
        for (const Reg& r : def) fresh.b.Regiment(2, d, r);
        s.Cell(kTarget.x, kTarget.y).Entrenchment = c.entrenchment;
        fresh.b.RecomputeAll();
        BattleState& bs = s.Battle;
        bs.AttackerSide = 1;
        bs.DefenderSide = 2;
        bs.TargetX = kTarget.x;
        bs.TargetY = kTarget.y;
        bs.TargetEntrenchment = c.entrenchment;
        bs.ReportOpen = 1;
        fresh.ScriptDraws({});
        BuildDefendingForce(fresh.g(), 2, kTarget, bs.DefendingForce);
        BuildAttackingForce(fresh.g(), 1, a, kTarget, bs.AttackingForce);
        ApplyBattleModifiers(fresh.g(), bs.AttackingForce, bs.DefendingForce);
        SetRoundLimits(s);
        bs.MaxRounds = 1;
        const int nationA = bs.AttackingForce.Nation, nationD = bs.DefendingForce.Nation;
        FightBattle(fresh.g(), bs.AttackingForce, bs.DefendingForce, 1);
        EXPECT_EQ(bs.CavalrySuperiority[1] != 0, c.superior == 1);
        EXPECT_EQ(bs.CavalrySuperiority[2] != 0, c.superior == 2);
        const std::string tail = " lovassági fölény! +10 morál a lovasságnak";
        EXPECT_EQ(fresh.Reported(battle::NationNameByFlag(s, nationA) + tail), c.superior == 1);
        EXPECT_EQ(fresh.Reported(battle::NationNameByFlag(s, nationD) + tail), c.superior == 2);
    }
}

TEST_F(Fight, TheWinnerPursuesUnlessTheBeatenAreAllHorse) {
    for (bool horse : {false, true}) {
        testing::BattleGame fresh;
        State& s = fresh.st();
        const int ga = fresh.b.General(1, {.attack = 0, .defence = 0, .initiative = 5});
        const int gd = fresh.b.General(2, {.attack = 0, .defence = 0});
        const int a = fresh.b.Corps(1, At{kHome.x, kHome.y}, {{.type = 4}, {.type = 4}, {.type = 4}},
                                    {.general = ga, .formation = 4});
        const Reg loser = horse ? Reg{.type = 1, .morale = 20} : Reg{.morale = 20};
        fresh.b.Corps(2, At{kTarget.x, kTarget.y}, {loser, loser}, {.general = gd});
        fresh.b.RecomputeAll();
        BattleState& bs = s.Battle;
        bs.AttackerSide = 1;
        bs.DefenderSide = 2;
        bs.TargetX = kTarget.x;
        bs.TargetY = kTarget.y;
        bs.ReportOpen = 1;
        fresh.ScriptDraws({});
        BuildDefendingForce(fresh.g(), 2, kTarget, bs.DefendingForce);
        BuildAttackingForce(fresh.g(), 1, a, kTarget, bs.AttackingForce);
        ApplyBattleModifiers(fresh.g(), bs.AttackingForce, bs.DefendingForce);
        SetRoundLimits(s);
        bs.MaxRounds = 1;
        // The defenders start far behind; every draw gives 1 from here.
        bs.MoraleTally[2] = -30;
        FightBattle(fresh.g(), bs.AttackingForce, bs.DefendingForce, 1);
        ASSERT_EQ(bs.Winner, 1);
        EXPECT_EQ(bs.Pursuit != 0, !horse);
        EXPECT_EQ(fresh.Reported("General1-1 üldözi az ellenséget!"), !horse);
    }
}

} // namespace
} // namespace vezer
