// The bombardment of a fortress and the assault.

#include "battle/battle.h"
#include "battle/battle_fixture.h"

#include "forces/invariants.h"
#include "orders/orders.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

using testing::At;
using testing::Reg;

constexpr At kFort{20, 14};

struct Bombardment : ::testing::Test, testing::BattleGame {
    int besieger = 0, garrison = 0;
    Bombardment() { st().FogOfWar = 1; }

    // A fortress of side 2 with its garrison, and a corps of side 1 with `guns` siege batteries
    // of attack `power` each (at full readiness and experience) and a battalion in its hex.
    void Fortress(int fortMax, int fortStrength, std::initializer_list<Reg> garrisonRegs, int guns,
                  int power) {
        b.City(3, kFort,
               {.owner = 2,
                .kind = 3,
                .garrisonCapacity = 5000,
                .gunCapacity = 60,
                .fortMax = fortMax,
                .fortStrength = fortStrength});
        garrison = b.Corps(2, kFort, garrisonRegs, {.general = b.General(2, {.defence = 0}), .garrison = 1});
        st().Types[13].BaseCombatValue = power;
        besieger = b.Corps(1, kFort, {{}}, {.general = b.General(1, {.attack = 0}), .formation = 5});
        for (int i = 0; i < guns; ++i) b.Regiment(1, besieger, {.type = 13, .experience = 100});
        b.RecomputeAll();
    }
    int Strength() const { return t.game->state.Cities[3].FortStrength; }
};

TEST_F(Bombardment, TheWallsFallToGunPowerAgainstTheirResistance) {
    struct Case {
        int fortMax, guns, power, hitDraw;
        bool hit;
    } cases[] = {
        // FortMax 10 (W 800) and power 100: p = round(7000 / 801) = 9, a hit needs R(100) <= 8.
        {10, 5, 20, 8, true},
        {10, 5, 20, 9, false},
        // FortMax 1 (W 60): power 88 always hits; 87 (p = 100) misses on a draw of 100.
        {1, 1, 88, 100, true},
        {1, 1, 87, 100, false},
        {1, 1, 87, 99, true},
    };
    for (const Case& c : cases) {
        testing::BattleGame fresh;
        State& s = fresh.st();
        s.FogOfWar = 1;
        fresh.b.City(3, kFort,
                     {.owner = 2,
                      .kind = 3,
                      .garrisonCapacity = 5000,
                      .fortMax = c.fortMax,
                      .fortStrength = c.fortMax == 1 ? 2 : c.fortMax});
        fresh.b.Corps(2, kFort, {{}}, {.garrison = 1}); // no batteries: no answer
        s.Types[13].BaseCombatValue = c.power;
        const int corps =
            fresh.b.Corps(1, kFort, {{}}, {.general = fresh.b.General(1, {.attack = 0}), .formation = 5});
        for (int i = 0; i < c.guns; ++i) fresh.b.Regiment(1, corps, {.type = 13, .experience = 100});
        fresh.b.RecomputeAll();
        const int before = s.Cities[3].FortStrength;
        // Five supporter entries, two ratings, the answer's k: the ninth draw is the hit; a
        // tenth decides the fire (none at 16).
        fresh.ScriptDraws({{9, c.hitDraw}, {10, 16}});
        const int from = s.RandPos;
        ASSERT_TRUE(BombardFortress(fresh.g(), 1, corps));
        EXPECT_EQ(fresh.DrawsSince(from), c.hit ? 10 : 9);
        EXPECT_EQ(s.Cities[3].FortStrength, before - (c.hit ? 1 : 0)) << c.fortMax << " " << c.power;
        EXPECT_EQ(fresh.Logged(1, "Az eröd lövetése hatástalan!"), !c.hit);
        EXPECT_EQ(s.Battle.BattleMode, kFieldAttack);
    }
}

TEST_F(Bombardment, MoraleOfBothSidesWithoutReturnFire) {
    Fortress(4, 3, {{}}, 2, 20);
    const int garrisonMorale = st().Regiment(2, 1).Morale;
    const int besiegerMorale = st().Regiment(1, 1).Morale;
    // A miss: the defenders still lose 3, the besiegers 3.
    ScriptDraws({{9, 100}});
    BombardFortress(g(), 1, besieger);
    EXPECT_EQ(st().Regiment(2, 1).Morale, garrisonMorale - 3);
    EXPECT_EQ(st().Regiment(1, 1).Morale, besiegerMorale - 3);
    EXPECT_TRUE(Logged(2, "General2-1 visszavonja az ágyúkat."));
    EXPECT_TRUE(Logged(2, "Védök morálja: -3"));
    EXPECT_TRUE(Logged(1, "Ostromlók morálja: -3"));
    // A hit that sets the castle on fire: the defenders lose 3 + 5 + 3, the besiegers gain 3,
    // and the garrison's supply burns to 80..89 %.
    ScriptDraws({{9, 1}, {10, 15}, {11, 3}});
    BombardFortress(g(), 1, besieger);
    EXPECT_EQ(st().Regiment(2, 1).Morale, garrisonMorale - 3 - 11);
    EXPECT_EQ(st().Regiment(1, 1).Morale, besiegerMorale - 3 + 3);
    EXPECT_EQ(st().Regiment(2, 1).Supply, 87); // 100 x (100 - (3 + 10)) / 100
    EXPECT_EQ(Strength(), 2);
    EXPECT_TRUE(Logged(2, "Tüz a várban!  A védök ellátmánya csökken."));
    EXPECT_TRUE(Logged(1, "Az eröd szintje csökken: -1  Jelenlegi szint: 2"));
    EXPECT_EQ(st().FortressDamage[3], 1);
    // The guns wear: 8 supply, 10 readiness, 15 movement points a bombardment (then recomputed).
    EXPECT_EQ(st().Regiment(1, 2).Readiness, 80);
}

TEST_F(Bombardment, TheBombardmentIsToldInTheLogsAndPacedByPauses) {
    Fortress(4, 3, {{}}, 2, 20);
    st().PlayerType[1] = 2; // the computer's siege: a pause before the guns open
    // A hit that sets the castle on fire.
    ScriptDraws({{9, 1}, {10, 15}, {11, 3}});
    t.screen.Clear();
    ASSERT_TRUE(BombardFortress(g(), 1, besieger));
    std::vector<int> pauses;
    for (const auto& call : t.screen.Calls())
        if (call.kind == HeadlessPresentation::Kind::Pause) pauses.push_back(call.value);
    // The order, the answer, the losses, the fire, the besiegers' morale, the end.
    EXPECT_EQ(pauses, (std::vector<int>{10, 3, 3, 3, 3, 10}));
    // Fog of war is on: what each side's morale did stays in its own log; the rest both read.
    struct Line {
        int side;
        std::string text;
        bool otherSees;
    } lines[] = {
        {1, "General1-1 parancsot ad az eröd ágyúzására!", true},
        {2, "General2-1 visszavonja az ágyúkat.", true},
        {2, "Tüz a várban!  A védök ellátmánya csökken.", true},
        {2, "Védök morálja: -11", false},
        {1, "Ostromlók morálja: +3", false},
        {1, "Az eröd szintje csökken: -1  Jelenlegi szint: 2", true},
    };
    for (const Line& l : lines) {
        EXPECT_TRUE(Logged(l.side, l.text)) << l.text;
        EXPECT_EQ(Logged(3 - l.side, l.text), l.otherSees) << l.text;
    }
    for (int side = 1; side <= 2; ++side) {
        const EventLog& log = st().Logs[side];
        for (int i = 0; i < log.Count; ++i)
            EXPECT_EQ(log.Entries[static_cast<std::size_t>(i)].Colour, 0x99FFFF)
                << log.Entries[static_cast<std::size_t>(i)].Text.str();
    }
    EXPECT_EQ(st().CorpsRec(1, besieger).StackOrder, 1);
    EXPECT_EQ(st().Battle.BattleMode, kFieldAttack);
}

TEST_F(Bombardment, AFortressAtItsLowestLevelTakesNoDamageAndDoesNotBurn) {
    Fortress(6, 1, {{}}, 5, 100);
    ScriptDraws({}); // every draw 1: the hit draw would hit
    const int from = st().RandPos;
    BombardFortress(g(), 1, besieger);
    EXPECT_EQ(DrawsSince(from), 9); // the hit is drawn; no fire draw
    // The cannon cursor stands over the fortress while the guns fire, and goes after.
    EXPECT_EQ(t.screen.Texts(HeadlessPresentation::Kind::CannonMarker),
              (std::vector<std::string>{std::to_string(kFort.x) + "," + std::to_string(kFort.y), ""}));
    EXPECT_EQ(Strength(), 1);
    EXPECT_TRUE(Logged(1, "Az eröd lövetése hatástalan!"));
    EXPECT_FALSE(Logged(2, "Tüz a várban!"));
    EXPECT_EQ(st().FortressDamage[3], 2);
}

TEST_F(Bombardment, BatteriesAnswerAndADestroyedSiegeGunMovesBothSidesMorale) {
    Fortress(4, 3, {{}, {.type = 14}, {.type = 14}}, 0, 20);
    b.Regiment(1, besieger, {.type = 13, .men = 1, .experience = 100});
    b.RecomputeAll();
    const int garrisonMorale = st().Regiment(2, 1).Morale;
    const int besiegerMorale = st().Regiment(1, 1).Morale;
    // Draws: five supporters; two batteries (the second at 20 or less); two ratings; k = 4 lets
    // them answer; the one siege gun fires at the walls (100); each battery picks it (R(1)) and
    // fires: severity, defence, guns (1: three guns, one fewer for a battery below half, and
    // the gun has only one); the second exchange finds it destroyed and still draws three;
    // then the hit.
    ScriptDraws({{6, 1}, {7, 20}, {10, 4}, {11, 100}, {12, 1}, {13, 1}, {14, 100}, {15, 1}, {20, 100}});
    const int from = st().RandPos;
    ASSERT_TRUE(BombardFortress(g(), 1, besieger));
    EXPECT_EQ(DrawsSince(from), 20);
    EXPECT_TRUE(Logged(2, "General2-1 viszonozza tüzelést."));
    EXPECT_TRUE(Logged(1, "Magyar veszteség: -1 löveg"));
    EXPECT_EQ(st().Regiment(2, 1).Morale, garrisonMorale + 1 - 0); // 0 - 3 x 0 + LA
    EXPECT_EQ(st().Regiment(1, 1).Morale, besiegerMorale - 3);     // -3 - 1 / 2
    EXPECT_EQ(st().CorpsRec(1, besieger).UnitCount, 1);            // the destroyed gun is gone
    EXPECT_EQ(Strength(), 3);
    EXPECT_EQ(CheckInvariants(st()), std::vector<std::string>{});
}

TEST_F(Bombardment, ABombardmentNeedsAnEnemyFortressAndSiegeGuns) {
    Fortress(4, 3, {{}}, 0, 20);
    const int from = st().RandPos;
    EXPECT_FALSE(BombardFortress(g(), 1, besieger)); // no siege guns
    EXPECT_EQ(ExecuteOrder(g(), TParancs{2, 0, 0, 1, besieger, 0}), OrderOutcome::Refused);
    EXPECT_FALSE(BombardFortress(g(), 2, garrison)); // its own fortress
    EXPECT_EQ(st().RandPos, from);
}

TEST_F(Bombardment, AnAssaultEndsWithTheFortressTakenOrTheAttackerBeforeTheWalls) {
    for (int seed : {1, 2, 3, 4, 5, 6}) {
        testing::BattleGame fresh;
        State& s = fresh.st();
        fresh.b.City(3, kFort,
                     {.owner = 2,
                      .kind = 3,
                      .victoryValue = 200,
                      .garrisonCapacity = 5000,
                      .gunCapacity = 60,
                      .fortMax = 3,
                      .fortStrength = 1});
        fresh.b.Corps(2, kFort, {{.men = 200, .morale = 30}, {.type = 14}, {.type = 14, .men = 3}},
                      {.garrison = 1});
        const int corps = fresh.b.Corps(1, kFort, {{}, {}, {}, {.type = 4}}, {.formation = 5});
        fresh.b.RecomputeAll();
        ASSERT_TRUE(s.CorpsRec(1, corps).CanStorm);
        s.RandPos = seed * 997;
        s.RandStep = seed;
        ASSERT_EQ(ExecuteOrder(fresh.g(), TParancs{3, kFort.x, kFort.y, 1, corps, 0}),
                  OrderOutcome::Executed);
        EXPECT_EQ(CheckInvariants(s), std::vector<std::string>{}) << seed;
        EXPECT_EQ(s.CorpsRec(1, corps).X, kFort.x); // nobody leaves the hex
        if (s.Cities[3].Owner == 1) {
            // Every defender but the batteries laid down its arms; the batteries serve the victor.
            EXPECT_EQ(s.CorpsCount[2], 0);
            const THad& gar = s.CorpsRec(1, s.Cities[3].GarrisonCorps);
            EXPECT_EQ(gar.Garrison, 1);
            EXPECT_GE(gar.Guns, 1);
            EXPECT_LE(gar.Guns, 11);
            EXPECT_EQ(s.CityPoints[1], 200);
        } else {
            EXPECT_EQ(s.Cities[3].Owner, 2);
            EXPECT_EQ(s.CorpsCount[2], 1);
        }
        EXPECT_EQ(s.Battle.BattleMode, kFieldAttack);
    }
}

} // namespace
} // namespace vezer
