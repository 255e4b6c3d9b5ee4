// Before the first round: supporters, the forces, the odds, the attack order and the kind of
// battle.

#include "battle/battle.h"
#include "battle/battle_fixture.h"
#include "battle/battle_internal.h"

#include "core/fingerprint.h"
#include "core/geometry.h"
#include "forces/strength.h"
#include "orders/orders.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

using testing::At;
using testing::CorpsOptions;
using testing::GeneralOptions;
using testing::Reg;

constexpr Hex kHome{10, 10};
const Hex kTarget = Neighbour(kHome, 2);

struct Trigger : ::testing::Test, testing::BattleGame {
    // A corps of n regiments of the same kind.
    int Corps(int side, Hex at, int n, CorpsOptions o = {}, Reg reg = {}) {
        const int c = b.Corps(side, At{at.x, at.y}, {}, o);
        for (int i = 0; i < n; ++i) b.Regiment(side, c, reg);
        return c;
    }
    int Attacker(int n = 5, CorpsOptions o = {.formation = 4}, Reg reg = {}) {
        return Corps(1, kHome, n, o, reg);
    }
    int Defender(int n = 5, CorpsOptions o = {}, Reg reg = {}) { return Corps(2, kTarget, n, o, reg); }
    OrderOutcome Order(int code, Hex hex, int side, int corps, int param = 0) {
        return ExecuteOrder(g(), TParancs{code, hex.x, hex.y, side, corps, param});
    }
};

TEST_F(Trigger, AnAttackTheEstimateWouldRefuseIsRefusedBeforeAnyDraw) {
    struct Case {
        const char* what;
        CorpsOptions options;
        Reg reg;
        int attackerSide = 1;
        bool computer = false;
        bool enemy = true;
        bool empty = false;
        bool refused = true;
    };
    const Reg artillery{.type = 11};
    const Case cases[] = {
        {"a person's corps at rest may not attack", {.formation = 1}, {}},
        {"the computer's corps at rest may", {.formation = 1}, {}, 1, true, true, false, false},
        {"guns alone cannot attack", {.formation = 4}, artillery},
        {"16 movement points where 9 + 8 are needed", {.formation = 4}, {.movement = 16}},
        {"17 are enough", {.formation = 4}, {.movement = 17}, 1, false, true, false, false},
        {"a corps without regiments", {.formation = 4}, {}, 1, false, true, true},
        {"no enemy on the hex", {.formation = 4}, {}, 1, false, false},
        {"a side whose turn it is not", {.formation = 4}, {}, 2},
    };
    for (const Case& c : cases) {
        testing::BattleGame fresh;
        State& st = fresh.st();
        const int side = c.attackerSide;
        const Hex at = side == 1 ? kHome : kTarget;
        const Hex target = side == 1 ? kTarget : kHome;
        const int corps = fresh.b.Corps(side, At{at.x, at.y}, {}, c.options);
        if (!c.empty) fresh.b.Regiment(side, corps, c.reg);
        if (c.enemy) fresh.b.Corps(3 - side, At{target.x, target.y}, {Reg{}});
        if (c.computer) st.PlayerType[side] = 2;
        fresh.b.RecomputeAll();
        const int before = st.RandPos;
        const OrderOutcome outcome = ExecuteOrder(fresh.g(), TParancs{1, target.x, target.y, side, corps, 0});
        EXPECT_EQ(outcome == OrderOutcome::Refused, c.refused) << c.what;
        if (c.refused) {
            EXPECT_EQ(st.RandPos, before) << c.what;
            EXPECT_TRUE(fresh.ReportLines().empty()) << c.what;
        } else {
            EXPECT_GT(fresh.DrawsSince(before), 0) << c.what;
        }
    }
}

TEST_F(Trigger, TheKindOfBattleFollowsTheSizesOfTheForces) {
    struct Case {
        int attackers, supporters, defenders;
        const char* kind;
    } cases[] = {{5, 5, 11, "Ütközet"}, {10, 0, 11, "Csata"}, {1, 0, 30, "Csetepaté"},
                 {2, 0, 2, "Ütközet"},  {9, 0, 12, "Csata"},  {9, 0, 8, "Ütközet"}};
    for (const Case& c : cases) {
        testing::BattleGame fresh;
        const int a = fresh.b.Corps(1, At{kHome.x, kHome.y}, {}, {.formation = 4});
        for (int i = 0; i < c.attackers; ++i) fresh.b.Regiment(1, a, {});
        if (c.supporters) {
            const int s = fresh.b.Corps(1, At{kHome.x, kHome.y}, {}, {.formation = 4, .stackOrder = 2});
            for (int i = 0; i < c.supporters; ++i) fresh.b.Regiment(1, s, {});
        }
        const int d = fresh.b.Corps(2, At{kTarget.x, kTarget.y}, {});
        for (int i = 0; i < c.defenders; ++i) fresh.b.Regiment(2, d, {});
        fresh.b.RecomputeAll();
        ExecuteOrder(fresh.g(), TParancs{25, kTarget.x, kTarget.y, 1, a, 0});
        ASSERT_EQ(ExecuteOrder(fresh.g(), TParancs{1, kTarget.x, kTarget.y, 1, a, 0}),
                  OrderOutcome::Executed);
        const auto lines = fresh.ReportLines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front(), c.kind)
            << c.attackers << " + " << c.supporters << " against " << c.defenders;
    }
}

TEST_F(Trigger, SupportersAroundTheTargetAndTheirChanceToJoin) {
    const int a = Attacker();
    // In the attacker's hex, ready to attack: always joins.
    const int own = Corps(1, kHome, 2, {.formation = 4, .stackOrder = 2});
    // Beside the target, led by a bold general: Attack 5 x (readiness 60 - cost 8 - 12) / 10.
    const Hex beside = Neighbour(kTarget, 4);
    ASSERT_NE(beside, kHome);
    const int bold = b.General(1, {.attack = 5});
    const int near = Corps(1, beside, 2, {.general = bold, .formation = 2}, {.readiness = 60});
    // Not ready to attack, and a garrison: neither is asked.
    Corps(1, Neighbour(kTarget, 3), 2, {.formation = 3});
    b.City(5, At{Neighbour(kTarget, 1).x, Neighbour(kTarget, 1).y}, {.kind = 3, .garrisonCapacity = 3000});
    Corps(1, Neighbour(kTarget, 1), 2, {.formation = 4, .garrison = 1});
    Defender();
    b.RecomputeAll();
    ASSERT_EQ(st().CorpsRec(1, near).AvgReadiness, 60);

    const int before = st().RandPos;
    ASSERT_EQ(Order(25, kTarget, 1, a), OrderOutcome::Executed);
    EXPECT_EQ(DrawsSince(before), 0);
    const auto& list = st().Battle.SupportList;
    EXPECT_EQ(list[1].Corps, own);
    EXPECT_EQ(list[1].JoinChance, 100);
    EXPECT_EQ(list[1].SupportMoveCost, 8);
    EXPECT_EQ(list[2].Corps, near);
    EXPECT_EQ(list[2].JoinChance, 20);
    EXPECT_EQ(list[2].X, beside.x);
    EXPECT_EQ(list[3].Corps, 0);

    // Every entry draws, the empty ones too; 20 joins on a draw of 20, not of 21.
    for (int roll : {20, 21}) {
        ScriptDraws({{1, 100}, {2, roll}});
        const int from = st().RandPos;
        BuildAttackingForce(g(), 1, a, kTarget, st().Battle.AttackingForce);
        EXPECT_EQ(DrawsSince(from), 5);
        EXPECT_TRUE(list[1].Joins);
        EXPECT_EQ(list[2].Joins != 0, roll == 20);
        EXPECT_EQ(st().Battle.AttackingForce.UnitCount, roll == 20 ? 9 : 7);
    }

    // Order 26 drops an entry; the estimate keeps the list it was given.
    ASSERT_EQ(Order(26, Hex{0, 0}, 1, 0, 1), OrderOutcome::Executed);
    EXPECT_EQ(list[1].Corps, 0);
    EXPECT_GE(PrepareBattle(g(), 1, a, kTarget, false), 0);
    EXPECT_EQ(list[2].Corps, near);
}

TEST_F(Trigger, ACrowdOfSupportersTakesOnlyCorpsOfAComparableStrength) {
    const int a = Attacker();
    // Six corps ready to attack around the target: only those between a quarter and four times
    // the enemy's strength are asked.
    Defender(2);
    for (int d : {1, 3, 4}) Corps(1, Neighbour(kTarget, d), 1, {.formation = 4}, {.readiness = 100});
    const int big = Corps(1, Neighbour(kTarget, 0), 30, {.formation = 4});
    Corps(1, kHome, 1, {.formation = 4, .stackOrder = 2});
    b.RecomputeAll();
    Order(25, kTarget, 1, a);
    for (int i = 1; i <= 5; ++i) EXPECT_NE(st().Battle.SupportList[static_cast<std::size_t>(i)].Corps, big);
}

TEST_F(Trigger, TheDefendingStackAndItsGarrisonBatteries) {
    // A fortress with three batteries and two battalions in its garrison, and a field corps.
    b.City(3, At{kTarget.x, kTarget.y},
           {.owner = 2,
            .kind = 3,
            .garrisonCapacity = 5000,
            .gunCapacity = 40,
            .fortMax = 5,
            .fortStrength = 5});
    const int garrison =
        b.Corps(2, At{kTarget.x, kTarget.y}, {{.type = 14}, {.type = 14}, {.type = 14}, {}, {}},
                {.direction = 4, .garrison = 1});
    const int field =
        b.Corps(2, At{kTarget.x, kTarget.y}, {{}, {.type = 4}}, {.direction = 1, .stackOrder = 2});
    b.RecomputeAll();
    (void)field;
    const THad& gc = st().CorpsRec(2, garrison);
    ASSERT_EQ(st().Regiment(2, gc.Units[1]).Type, 9); // the recompute orders the list by type

    struct Case {
        int mode;
        std::vector<std::pair<int, int>> draws; // k-th draw, value
        int taken;
    } cases[] = {
        // Field attack: battalions of the garrison at 80, batteries at 10 after the first.
        {1, {{1, 80}, {2, 81}, {3, 100}, {4, 10}, {5, 11}, {6, 100}, {7, 100}}, 5},
        // Assault: every battalion, batteries at 20.
        {3, {{1, 100}, {2, 100}, {3, 100}, {4, 20}, {5, 21}, {6, 100}, {7, 100}}, 6},
        // Bombardment: only batteries (three draws), at 20.
        {2, {{1, 100}, {2, 20}, {3, 21}}, 2},
    };
    for (const Case& c : cases) {
        st().Battle.BattleMode = c.mode;
        ScriptDraws({});
        for (auto [k, v] : c.draws) {
            const int pos = st().RandPos + k;
            st().RandTable[static_cast<std::size_t>(pos)] = v - 1;
        }
        const int before = st().RandPos;
        THad& D = st().Battle.DefendingForce;
        BuildDefendingForce(g(), 2, kTarget, D);
        EXPECT_EQ(DrawsSince(before), static_cast<int>(c.draws.size())) << "mode " << c.mode;
        EXPECT_EQ(D.UnitCount, c.taken) << "mode " << c.mode;
        EXPECT_EQ(D.X, kTarget.x);
        EXPECT_EQ(D.SelfIndex, 0);
    }
    // Direction by votes: the garrison's three taken regiments outvote the field corps.
    EXPECT_EQ(st().Battle.DefendingForce.Direction, 4);
}

TEST_F(Trigger, TheDefendersLeaderIsTheBestDefenderAndAStackNeverFightsEmpty) {
    const int weak = b.General(2, {.defence = 2});
    const int strong = b.General(2, {.defence = 6, .ability = 5});
    b.City(3, At{kTarget.x, kTarget.y}, {.owner = 2, .kind = 3, .garrisonCapacity = 5000});
    b.Corps(2, At{kTarget.x, kTarget.y}, {{}}, {.general = weak, .garrison = 1});
    const int second =
        b.Corps(2, At{kTarget.x, kTarget.y}, {{}}, {.general = strong, .tactic = 1, .garrison = 1});
    b.RecomputeAll();
    st().Battle.BattleMode = 1;
    // Both garrison battalions stay out (draws of 81): the first one fights after all.
    ScriptDraws({{1, 81}, {2, 81}});
    THad& D = st().Battle.DefendingForce;
    BuildDefendingForce(g(), 2, kTarget, D);
    EXPECT_EQ(D.UnitCount, 1);
    EXPECT_EQ(D.General, strong);
    EXPECT_EQ(D.Tactic, 1);
    EXPECT_EQ(st().Battle.GeneralAbility[2], 5);
    EXPECT_EQ(D.Garrison, 1);
    EXPECT_NE(st().CorpsRec(2, second).UnitCount, 0);
}

TEST_F(Trigger, ASortieTakesTheOwnGarrisonOnceAndTheForcesRecomputeTouchesNothingElse) {
    // The garrison itself attacks the besiegers on its own hex: its regiments are considered a
    // second time by the sortie, drawn for, and listed once.
    b.City(3, At{kHome.x, kHome.y}, {.owner = 1, .kind = 3, .garrisonCapacity = 5000, .gunCapacity = 40});
    const int garrison =
        b.Corps(1, At{kHome.x, kHome.y}, {{}, {}, {.type = 14}}, {.formation = 4, .garrison = 1});
    // A besieger with a regiment that has lost its men and was not recomputed since.
    const int besieger = b.Corps(2, At{kHome.x, kHome.y}, {{}, {}});
    b.RecomputeAll();
    st().Regiment(2, st().CorpsRec(2, besieger).Units[2]).Men = 0;
    const int corpsBefore = st().CorpsCount[2], regimentsBefore = st().RegimentCount[2];

    ScriptDraws({});
    const int before = st().RandPos;
    THad& A = st().Battle.AttackingForce;
    BuildAttackingForce(g(), 1, garrison, kHome, A);
    EXPECT_EQ(DrawsSince(before), 3 + 5); // the sortie's three, the supporter list's five
    EXPECT_EQ(A.UnitCount, 3);
    THad& D = st().Battle.DefendingForce;
    BuildDefendingForce(g(), 2, kHome, D);
    EXPECT_EQ(D.UnitCount, 2);
    const int drawn = st().RandPos;
    RecomputeForce(st(), 2, D);
    EXPECT_EQ(st().RandPos, drawn);
    EXPECT_EQ(st().CorpsCount[2], corpsBefore);
    EXPECT_EQ(st().RegimentCount[2], regimentsBefore);
    EXPECT_EQ(CityRec(st(), 3).GarrisonCorps, garrison);
    EXPECT_EQ(D.InfantryMen, 1000);
    EXPECT_EQ(D.UnitCount, 2);
}

TEST_F(Trigger, TheEstimateStaysWithinItsRangeAndLeavesTheCorpsAsTheyWere) {
    const int a = Attacker(6);
    Defender(4);
    b.RecomputeAll();
    const State snapshot = st();
    // With every draw giving 1: the defenders' four participation draws, the five supporter
    // entries, two general ratings, the round-1 picks of 3 of 6 attackers (6 + 5 + 4 draws)
    // and of 3 of 4 defenders (4 + 3 + 2); then one draw blurs what is only half known, and
    // the recompute of a defending corps at level 2 draws its estimate error.
    const struct { int recon, forceRecon, draws; } cases[] = {{0, 0, 35}, {1, 1, 36}, {2, 2, 37}, {3, 2, 36}};
    for (const auto& c : cases) {
        st().CorpsRec(2, 1).ReconLevel = c.recon;
        ScriptDraws({});
        const int before = st().RandPos;
        const int odds = PrepareBattle(g(), 1, a, kTarget, true);
        EXPECT_GE(odds, 0);
        EXPECT_LE(odds, 99);
        EXPECT_EQ(st().Battle.DefendingForce.ReconLevel, c.forceRecon);
        EXPECT_EQ(DrawsSince(before), c.draws) << "recon " << c.recon;
    }
    // The computer's estimate is never blurred.
    st().PlayerType[1] = 2;
    st().CorpsRec(2, 1).ReconLevel = 1;
    ScriptDraws({});
    const int before = st().RandPos;
    PrepareBattle(g(), 1, a, kTarget, false);
    EXPECT_EQ(DrawsSince(before), 35);
    // The regiments' figures are as the recompute makes them.
    for (int side = 1; side <= 2; ++side)
        for (int r = 1; r <= st().RegimentCount[side]; ++r) {
            EXPECT_EQ(st().Regiment(side, r).CombatValueFull, snapshot.Regiment(side, r).CombatValueFull);
            EXPECT_EQ(st().Regiment(side, r).DefenceValue, snapshot.Regiment(side, r).DefenceValue);
        }
    EXPECT_EQ(t.screen.Count(HeadlessPresentation::Kind::ReportLine), 0);
    EXPECT_EQ(t.screen.Count(HeadlessPresentation::Kind::Sound), 4);
}

TEST_F(Trigger, AnEstimateChangesNothingButTheBattleStateAndTheCursor) {
    // An attacker with a supporter beside the target, against a stack of two corps on a river
    // crossing, everything recomputed as the game keeps it.
    const int a = Attacker(6, {.formation = 4}, {.type = 1});
    b.Regiment(1, a, {.type = 11});
    Corps(1, Neighbour(kTarget, 1), 3, {.formation = 4});
    Defender(4);
    Defender(2, {.formation = 6}, {.type = 11});
    st().Cell(kHome.x, kHome.y).River[static_cast<std::size_t>(DirectionTo(kHome, kTarget))] = 1;
    b.RecomputeAll();
    ASSERT_EQ(Order(25, kTarget, 1, a), OrderOutcome::Executed);
    ASSERT_NE(st().Battle.SupportList[1].Corps, 0);
    const State before = st();
    const int odds = PrepareBattle(g(), 1, a, kTarget, true);
    ASSERT_GE(odds, 0);
    // What an estimate may change: the battle state, the cursor, the side it reckons against,
    // the regiments' battle marks, which every battle clears first, and the order in which
    // this machine stacks the corps it recomputes.
    State after = st();
    for (int side = 1; side <= 2; ++side)
        for (int c = 1; c <= after.CorpsCount[side]; ++c)
            after.CorpsRec(side, c).StackOrder = before.CorpsRec(side, c).StackOrder;
    after.Battle = before.Battle;
    after.RandPos = before.RandPos;
    after.OtherSide = before.OtherSide;
    for (int side = 1; side <= 2; ++side)
        for (int r = 1; r <= after.RegimentCount[side]; ++r) {
            TEzred& e = after.Regiment(side, r);
            const TEzred& was = before.Regiment(side, r);
            e.EngagedInRound = was.EngagedInRound;
            e.FoughtInBattle = was.FoughtInBattle;
            e.ActedInRound = was.ActedInRound;
            e.BattleLine = was.BattleLine;
        }
    EXPECT_EQ(FullStateHash(after), FullStateHash(before));
    EXPECT_EQ(t.screen.Count(HeadlessPresentation::Kind::ReportLine), 0);
}

TEST_F(Trigger, APersonAtEitherMachineMayNotAttackFromRest) {
    const int a = Attacker(2, {.formation = 1});
    Defender(1);
    b.RecomputeAll();
    for (int type : {1, 3, 2}) {
        st().PlayerType[1] = type;
        const int before = st().RandPos;
        const int odds = PrepareBattle(g(), 1, a, kTarget, false);
        EXPECT_EQ(odds == -1, type != 2) << "player type " << type;
        EXPECT_EQ(DrawsSince(before) == 0, type != 2) << "player type " << type;
        EXPECT_EQ(NetworkAttackCheck(g(), 1, a, kTarget, false) == -1, type != 2) << "player type " << type;
    }
}

TEST_F(Trigger, NetworkGamesTakeTheDefendersInCorpsOrderNotStackOrder) {
    // Two defending corps; the second lies on top of the stack.
    const int first = Defender(1, {.stackOrder = 5}, {.type = 4});
    const int second = Defender(1, {.stackOrder = 1});
    b.RecomputeAll();
    ASSERT_EQ(st().CorpsRec(2, second).StackOrder, 1);
    THad& D = st().Battle.DefendingForce;
    st().Battle.BattleMode = 1;
    BuildDefendingForce(g(), 2, kTarget, D);
    EXPECT_EQ(D.Nation, st().CorpsRec(2, second).Nation);
    EXPECT_EQ(D.Name.str(), st().CorpsRec(2, second).Name.str());
    st().NetworkGame = 1;
    BuildDefendingForce(g(), 2, kTarget, D);
    EXPECT_EQ(D.Name.str(), st().CorpsRec(2, first).Name.str());
}

TEST_F(Trigger, TheNetworkCheckDrawsNothingAndRefusesWhatTheEstimateRefuses) {
    const int a = Attacker(2, {.formation = 1});
    Defender(1);
    b.RecomputeAll();
    const int before = st().RandPos;
    EXPECT_EQ(NetworkAttackCheck(g(), 1, a, kTarget, true), -1); // a person's corps at rest
    st().CorpsRec(1, a).Formation = 4;
    RecomputeCorps(g(), 1, a);
    EXPECT_EQ(NetworkAttackCheck(g(), 1, a, kTarget, true), 10);
    EXPECT_EQ(st().Battle.RequiredMovement, 17);
    EXPECT_EQ(st().RandPos, before);
    st().NetworkGame = 1;
    st().LocalSide = 1;
    ASSERT_EQ(Order(29, kTarget, 1, a), OrderOutcome::Executed);
    EXPECT_EQ(st().Battle.Odds, 10);
    EXPECT_EQ(st().RandPos, before);
}

} // namespace
} // namespace vezer
