// What a battle leaves behind: results, surrender, captured guns, retreat, capture of a
// fortress, knowledge and experience.

#include "battle/battle.h"
#include "battle/battle_fixture.h"
#include "battle/battle_internal.h"

#include "core/geometry.h"
#include "forces/invariants.h"
#include "forces/movement.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

using testing::At;
using testing::CorpsOptions;
using testing::Reg;

constexpr Hex kHome{10, 10};
const Hex kTarget = Neighbour(kHome, 2);

struct After : ::testing::Test, testing::BattleGame {
    int a = 0, d = 0;

    void Forces(std::initializer_list<Reg> att, std::initializer_list<Reg> def,
                CorpsOptions defOptions = {}) {
        a = b.Corps(1, At{kHome.x, kHome.y}, att, {.formation = 4});
        d = b.Corps(2, At{kTarget.x, kTarget.y}, def, defOptions);
    }
    // The state a fight leaves: both forces in the target hex, the winner decided.
    void Fought(int winner, bool draw, int kind = kEngagement, int mode = kFieldAttack) {
        b.RecomputeAll();
        BattleState& bs = st().Battle;
        bs.BattleMode = mode;
        bs.AttackerSide = 1;
        bs.DefenderSide = 2;
        bs.TargetX = kTarget.x;
        bs.TargetY = kTarget.y;
        bs.AttackCost = mode == kAssault ? kAssaultCost : kAttackCost;
        ScriptDraws({});
        BuildDefendingForce(g(), 2, kTarget, bs.DefendingForce);
        BuildAttackingForce(g(), 1, a, kTarget, bs.AttackingForce);
        if (mode != kAssault) MoveCorpsStep(g(), 1, a, 8, true, kTarget);
        bs.AttackingForce.X = kHome.x;
        bs.AttackingForce.Y = kHome.y;
        bs.Winner = winner;
        bs.Loser = 3 - winner;
        bs.Draw = draw;
        bs.BattleKind = kind;
        bs.BattleValue = kind == kFullBattle ? 500 : kind == kEngagement ? 200 : 0;
        bs.WinnerForce = winner == 1 ? bs.AttackingForce : bs.DefendingForce;
        bs.LoserForce = winner == 1 ? bs.DefendingForce : bs.AttackingForce;
    }
    const THad& Corps(int side, int c) { return st().CorpsRec(side, c); }
};

TEST_F(After, ADrawSendsTheAttackerBackAndCountsOnlyTheDraw) {
    Forces({{}, {}}, {{}, {}});
    Fought(2, true);
    const int zeal1 = st().Zeal[1], zeal2 = st().Zeal[2];
    const int morale = st().Regiment(2, 1).Morale;
    BattleAftermath(g(), 1, a);
    EXPECT_EQ(Corps(1, a).X, kHome.x);
    EXPECT_EQ(Corps(1, a).Y, kHome.y);
    EXPECT_EQ(Corps(1, a).Direction, DirectionTo(kHome, kTarget)); // facing the enemy again
    EXPECT_EQ(Corps(2, d).X, kTarget.x);
    EXPECT_EQ(st().DrawnEngagements, 1);
    EXPECT_EQ(st().DrawnBattles, 0);
    EXPECT_EQ(st().EngagementsWon, (PerSide<int>{}));
    EXPECT_EQ(st().BattlePoints, (PerSide<int>{}));
    EXPECT_EQ(st().Zeal[1], zeal1);
    EXPECT_EQ(st().Zeal[2], zeal2);
    EXPECT_EQ(st().Regiment(2, 1).Morale, morale);
    EXPECT_EQ(Corps(1, a).LastBattleResult, 0);
    EXPECT_EQ(Corps(2, d).TurnsSinceBattle, 1);
    EXPECT_EQ(st().Battle.SupportList[1].Corps, 0);
    EXPECT_EQ(st().Battle.AttackingForce.UnitCount, 0);
    EXPECT_EQ(CheckInvariants(st()), std::vector<std::string>{});
}

TEST_F(After, WonBattlesCountEngagementsOneTimeInThreeAndSkirmishesNever) {
    struct Case {
        int kind, draw;
        int engagements, battles, points;
    } cases[] = {{kEngagement, 33, 1, 0, 200},
                 {kEngagement, 34, 0, 0, 0},
                 {kFullBattle, 1, 0, 1, 500},
                 {kSkirmish, 1, 0, 0, 0}};
    for (const Case& c : cases) {
        testing::BattleGame fresh;
        const int att = fresh.b.Corps(1, At{kHome.x, kHome.y}, {{}, {}}, {.formation = 4});
        fresh.b.Corps(2, At{kTarget.x, kTarget.y}, {{}, {}});
        fresh.b.RecomputeAll();
        BattleState& bs = fresh.st().Battle;
        bs.BattleMode = kFieldAttack;
        bs.AttackerSide = 1;
        bs.DefenderSide = 2;
        bs.TargetX = kTarget.x;
        bs.TargetY = kTarget.y;
        fresh.ScriptDraws({});
        BuildDefendingForce(fresh.g(), 2, kTarget, bs.DefendingForce);
        BuildAttackingForce(fresh.g(), 1, att, kTarget, bs.AttackingForce);
        MoveCorpsStep(fresh.g(), 1, att, 8, true, kTarget);
        bs.AttackingForce.X = kHome.x;
        bs.AttackingForce.Y = kHome.y;
        bs.Winner = 2;
        bs.Loser = 1;
        bs.BattleKind = c.kind;
        bs.BattleValue = c.kind == kFullBattle ? 500 : c.kind == kEngagement ? 200 : 0;
        bs.WinnerForce = bs.DefendingForce;
        bs.LoserForce = bs.AttackingForce;
        // Nothing else draws here (no regiment fought): the draw decides the count.
        fresh.ScriptDraws({}, c.draw);
        BattleAftermath(fresh.g(), 1, att);
        EXPECT_EQ(fresh.st().EngagementsWon[2], c.engagements) << c.kind << " " << c.draw;
        EXPECT_EQ(fresh.st().BattlesWon[2], c.battles) << c.kind;
        EXPECT_EQ(fresh.st().BattlePoints[2], c.points) << c.kind;
        EXPECT_EQ(fresh.st().CorpsRec(1, att).LastBattleResult, -1);
        EXPECT_EQ(fresh.st().CorpsRec(2, 1).LastBattleResult, c.kind == kSkirmish ? 0 : 1);
        if (c.kind == kFullBattle) {
            EXPECT_EQ(fresh.st().Zeal[2], 68);
            EXPECT_EQ(fresh.st().Zeal[1], 62);
        }
    }
}

TEST_F(After, BeatenDefendersSurrenderByScore) {
    Forces({{}, {}}, {{.nation = 7}, {}, {.type = 11}, {}});
    Fought(1, false);
    st().Regiment(2, 4).Men = 0; // a battalion destroyed in the fight
    const int before = st().RegimentCount[2];
    // Surrender draws of R(90) + 10 = 100, highest regiment first: the destroyed battalion
    // yields, the battery and the battalion of good heart hold, the Viennese always yield.
    ScriptDraws({}, 90);
    BattleAftermath(g(), 1, a);
    EXPECT_EQ(st().RegimentCount[2], before - 2);
    EXPECT_TRUE(Logged(2, "the 1. Bécsi line battalion megadja magát."));
    EXPECT_EQ(LogLines(2).size(), 1u); // the destroyed battalion has nobody left to yield
    for (int r = 1; r <= st().RegimentCount[2]; ++r) EXPECT_NE(st().Regiment(2, r).Nation, 7);
    // The rest withdrew to a neighbouring hex, the attacker holds the field.
    EXPECT_FALSE(Corps(2, d).X == kTarget.x && Corps(2, d).Y == kTarget.y);
    EXPECT_EQ(Corps(1, a).X, kTarget.x);
    EXPECT_EQ(st().Losses[2][2], 1000);
    EXPECT_EQ(CheckInvariants(st()), std::vector<std::string>{});
}

TEST_F(After, TheComputersViennesePlayersCanHoldAtTheHardestLevel) {
    for (int draw : {80, 81}) {
        testing::BattleGame fresh;
        const int att = fresh.b.Corps(1, At{kHome.x, kHome.y}, {{}}, {.formation = 4});
        fresh.b.Corps(2, At{kTarget.x, kTarget.y}, {{.nation = 7}, {}});
        fresh.st().PlayerType[2] = 2;
        fresh.st().Difficulty = 3;
        fresh.b.RecomputeAll();
        BattleState& bs = fresh.st().Battle;
        bs.AttackerSide = 1;
        bs.DefenderSide = 2;
        bs.TargetX = kTarget.x;
        bs.TargetY = kTarget.y;
        fresh.ScriptDraws({});
        BuildDefendingForce(fresh.g(), 2, kTarget, bs.DefendingForce);
        BuildAttackingForce(fresh.g(), 1, att, kTarget, bs.AttackingForce);
        bs.Winner = 1;
        bs.Loser = 2;
        bs.WinnerForce = bs.AttackingForce;
        bs.LoserForce = bs.DefendingForce;
        // Score 100 - 10 = 90 for the Viennese (the second draw): R(90) + 10 above 90 keeps them.
        fresh.ScriptDraws({{2, draw}});
        const int before = fresh.st().RegimentCount[2];
        BattleAftermath(fresh.g(), 1, att);
        EXPECT_EQ(fresh.st().RegimentCount[2], draw == 81 ? before : before - 1) << draw;
    }
}

TEST_F(After, CapturedGunsBecomeBatteriesOfTheWinner) {
    Forces({{}, {}}, {{.type = 11}, {}});
    Fought(1, false);
    st().Battle.BattleLossesByType[2][11] = 8;
    st().Battle.BattleLossesByType[2][15] = 3;
    const int regiments = st().RegimentCount[1];
    // Every draw reads 71: surrender R(90) + 10 = 82 (nobody yields); R(9) - 1 = 8 foot guns,
    // R(4) - 1 = 3 heavy ones.
    ScriptDraws({}, 72);
    BattleAftermath(g(), 1, a);
    EXPECT_TRUE(Logged(1, "zsákmányol 11 ágyút."));
    const THad& h = Corps(1, a);
    int guns11 = 0, guns15 = 0;
    for (int i = 1; i <= h.UnitCount; ++i) {
        const TEzred& e = st().Regiment(1, h.Units[static_cast<std::size_t>(i)]);
        if (e.Type == 11) guns11 += e.Men;
        if (e.Type == 15) guns15 += e.Men;
        EXPECT_LE(e.Morale, 100);
        EXPECT_LE(e.Supply, 100);
    }
    EXPECT_EQ(guns11, 8);
    EXPECT_EQ(guns15, 3);
    EXPECT_EQ(st().RegimentCount[1], regiments + 2);
    EXPECT_EQ(CheckInvariants(st()), std::vector<std::string>{});
}

TEST_F(After, AFullCorpsSendsTheCapturedGunsToANewCorpsOnItsHex) {
    a = b.Corps(1, At{kHome.x, kHome.y}, {}, {.formation = 4});
    for (int i = 0; i < 45; ++i) b.Regiment(1, a, {});
    d = b.Corps(2, At{kTarget.x, kTarget.y}, {{}});
    Fought(1, false);
    st().Battle.BattleLossesByType[2][12] = 16;
    ScriptDraws({}, 85); // R(17) - 1 = 16 horse guns
    const int corps = st().CorpsCount[1];
    BattleAftermath(g(), 1, a);
    ASSERT_EQ(st().CorpsCount[1], corps + 1);
    const THad& fresh = Corps(1, corps + 1);
    EXPECT_EQ(fresh.X, kTarget.x); // the winner took the field; the guns stand with it
    EXPECT_EQ(fresh.Y, kTarget.y);
    EXPECT_EQ(fresh.UnitCount, 2);
    EXPECT_EQ(fresh.Role, 4);
    EXPECT_EQ(CheckInvariants(st()), std::vector<std::string>{});
}

TEST_F(After, KnowledgeRisesOncePerRegimentThatFought) {
    st().FogOfWar = 1;
    Forces({{}, {}}, {{}});
    Fought(2, true);
    st().CorpsRec(1, a).ReconLevel = 0;
    st().CorpsRec(2, d).ReconLevel = 0;
    BattleAftermath(g(), 1, a);
    EXPECT_EQ(Corps(1, a).ReconLevel, 3); // two regiments: 2, then 3
    EXPECT_EQ(Corps(2, d).ReconLevel, 2); // one regiment
}

TEST_F(After, SeasonedRegimentsGainLessAndAVeteranNothing) {
    Forces({{.experience = 100}, {.experience = 64}}, {{}});
    Fought(1, false);
    for (int i = 1; i <= 2; ++i) st().Regiment(1, i).FoughtInBattle = 1;
    st().Regiment(1, 2).ExperienceBuildUp = 40;
    // Build-up draws of 1 always succeed; the gain draw R(2) for 64 (round(6) x 2 / 3 = 4 -> R(4)).
    ScriptDraws({}, 1);
    BattleAftermath(g(), 1, a);
    EXPECT_EQ(st().Regiment(1, 1).Experience, 100);
    EXPECT_EQ(st().Regiment(1, 1).ExperienceBuildUp, 1);
    EXPECT_EQ(st().Regiment(1, 2).ExperienceBuildUp, 75);
    EXPECT_EQ(st().Regiment(1, 2).Experience, 65);
    EXPECT_TRUE(Logged(1, "tapasztalata nö: +1"));
}

TEST_F(After, ARetreatIntoImpassableGroundCostsGunsAndSupplies) {
    d = b.Corps(2, At{kTarget.x, kTarget.y}, {{.type = 11}, {}});
    for (int dir = 0; dir <= 5; ++dir) b.Terrain(At{Neighbour(kTarget, dir).x, Neighbour(kTarget, dir).y}, 4);
    b.RecomputeAll();
    ASSERT_EQ(st().Regiment(2, 1).Type, 11);
    RetreatFromHex(g(), kTarget, 2);
    EXPECT_EQ((Hex{Corps(2, d).X, Corps(2, d).Y}), Neighbour(kTarget, 0));
    // A third of 8 guns and of each supply of 100.
    EXPECT_TRUE(Logged(2, " veszít  2 löveget a visszavonulás során."));
    EXPECT_TRUE(Logged(2, " veszít  66 ellátmányt a visszavonulás során."));
    EXPECT_EQ(Corps(2, d).ObjectiveX, -1);
    EXPECT_EQ(Corps(2, d).Direction, 3); // facing back where it came from
}

TEST_F(After, ARetreatGoesToFriendsNeverBackTowardsTheAttackerNorIntoEnemyTowns) {
    d = b.Corps(2, At{kTarget.x, kTarget.y}, {{}});
    const Hex friends = Neighbour(kTarget, 3);
    b.Corps(2, At{friends.x, friends.y}, {{}});
    b.City(4, At{Neighbour(kTarget, 0).x, Neighbour(kTarget, 0).y}, {.owner = 1});
    b.RecomputeAll();
    st().Battle.AttackingForce.X = Neighbour(kTarget, 4).x;
    st().Battle.AttackingForce.Y = Neighbour(kTarget, 4).y;
    RetreatFromHex(g(), kTarget, 2);
    EXPECT_EQ((Hex{Corps(2, d).X, Corps(2, d).Y}), friends);
    EXPECT_FALSE(st().Battle.RetreatCollision);
    EXPECT_EQ(st().Battle.RetreatHexX, friends.x);
    EXPECT_EQ(st().ActiveSide, 1); // the sides are put back
}

TEST_F(After, ADefenderHemmedInByTheVictorsFallsBackAmongThemAndTheyMakeRoom) {
    Forces({{}, {}}, {{}, {}});
    // The victors stand on every other side of the beaten stack.
    std::vector<std::pair<Hex, int>> around;
    for (int dir = 0; dir <= 5; ++dir) {
        const Hex n = Neighbour(kTarget, dir);
        if (n == kHome) continue;
        around.emplace_back(n, b.Corps(1, At{n.x, n.y}, {{}}, {.formation = 4}));
    }
    Fought(1, false);
    ScriptDraws({}, 100); // nobody surrenders, no guns are taken
    BattleAftermath(g(), 1, a);
    const Hex fled{Corps(2, d).X, Corps(2, d).Y};
    ASSERT_NE(fled, kTarget);
    ASSERT_LE(DirectionTo(kTarget, fled), 5) << "one step away";
    for (const auto& [hex, corps] : around) {
        const Hex at{Corps(1, corps).X, Corps(1, corps).Y};
        if (hex == fled)
            EXPECT_NE(at, fled) << "the victors' corps there gave way to the beaten";
        else
            EXPECT_EQ(at, hex);
    }
    EXPECT_EQ((Hex{Corps(1, a).X, Corps(1, a).Y}), kTarget); // the attacker holds the field
    EXPECT_EQ(CheckInvariants(st()), std::vector<std::string>{});
}

TEST_F(After, ACapturedFortressYieldsItsGunsLessUpToAThird) {
    struct Case {
        int guns, draw;
        std::vector<int> batteries;
    } cases[] = {{1, 1, {1}}, {2, 1, {1}}, {3, 1, {2}}, {20, 1, {8, 8, 3}}, {20, 6, {8, 6}}};
    for (const Case& c : cases) {
        testing::BattleGame fresh;
        State& s = fresh.st();
        fresh.b.City(3, At{kTarget.x, kTarget.y},
                     {.owner = 2,
                      .kind = 3,
                      .victoryValue = 300,
                      .garrisonCapacity = 3000,
                      .gunCapacity = 40,
                      .fortMax = 6,
                      .fortStrength = 1});
        s.Cities[3].Importance = {0, 8, 6};
        const int garrison = fresh.b.Corps(2, At{kTarget.x, kTarget.y}, {}, {.garrison = 1});
        for (int left = c.guns; left > 0; left -= 8)
            fresh.b.Regiment(2, garrison, {.type = 14, .men = std::min(8, left)});
        const int capturer = fresh.b.Corps(1, At{kTarget.x, kTarget.y}, {{}}, {.nation = 9});
        fresh.b.RecomputeAll();
        s.Battle.BattleMode = kAssault;
        fresh.ScriptDraws({{1, c.draw}});
        CaptureFortress(fresh.g(), 1, capturer, kTarget);
        const TVaros& city = s.Cities[3];
        EXPECT_EQ(city.Owner, 1);
        EXPECT_EQ(city.FlagClass, 9); // the capturing corps' nation itself
        EXPECT_EQ(s.CityPoints[1], 300);
        EXPECT_EQ(s.CityPoints[2], 0);
        ASSERT_NE(city.GarrisonCorps, 0);
        const THad& gar = s.CorpsRec(1, city.GarrisonCorps);
        EXPECT_EQ(gar.Garrison, 1);
        ASSERT_EQ(gar.UnitCount, static_cast<int>(c.batteries.size())) << c.guns;
        for (std::size_t i = 0; i < c.batteries.size(); ++i) {
            const TEzred& e = s.Regiment(1, gar.Units[i + 1]);
            EXPECT_EQ(e.Type, 14);
            EXPECT_EQ(e.Men, c.batteries[i]) << c.guns << " guns, battery " << i;
            EXPECT_LE(e.FillPercent, 100);
        }
        EXPECT_EQ(s.CorpsCount[2], 0);
        EXPECT_EQ(s.CorpsRec(1, capturer).ObjectiveX, -1);
        EXPECT_TRUE(fresh.Logged(1, "elfoglalja City3 erödjét!"));
        EXPECT_EQ(CheckInvariants(s), std::vector<std::string>{});
    }
}

} // namespace
} // namespace vezer
