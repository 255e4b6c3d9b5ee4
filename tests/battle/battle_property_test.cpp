// Random battles, bombardments and assaults on the real campaigns: nothing crashes, every
// cross-reference holds, every figure stays in its range, and a battle fought twice from the
// same cursor ends in the same state.

#include "battle/battle.h"

#include "campaign/setup.h"
#include "core/fingerprint.h"
#include "core/geometry.h"
#include "forces/forces.h"
#include "forces/invariants.h"
#include "forces/organisation.h"
#include "forces/strength.h"
#include "orders/orders.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace vezer {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kBattles = 400;
#else
constexpr int kBattles = 2000;
#endif

class Dice {
public:
    explicit Dice(unsigned seed) : rng_(seed) {}
    int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Chance(int percent) { return Between(1, 100) <= percent; }

private:
    std::mt19937 rng_;
};

void StartCampaignGame(testing::TestGame& t, int campaign, int fog) {
    CampaignChoices choices;
    choices.playerType1 = choices.playerType2 = 1;
    choices.fogOfWar = fog;
    t.st().DataSet = 1;
    t.st().Language = 1;
    SetUpGame(t.g(), 1, testing::kTestSeed);
    StartCampaign(t.g(), 1, campaign, choices);
    // The set-up seeds the cursor from the clock: a property test walks the same table every run.
    t.st().RandPos = 1;
    t.st().RandStep = 7;
}

// What must hold after every battle.
std::vector<std::string> Broken(const State& st, bool battleOver = true) {
    std::vector<std::string> bad = CheckInvariants(st);
    auto within = [&](const char* what, int side, int r, int v, int lo, int hi) {
        if (v < lo || v > hi)
            bad.push_back(std::string(what) + " " + std::to_string(v) + " of regiment " +
                          std::to_string(side) + "/" + std::to_string(r));
    };
    for (int side = 1; side <= 2; ++side) {
        for (int r = 1; r <= st.RegimentCount[side]; ++r) {
            const TEzred& e = st.Regiment(side, r);
            within("morale", side, r, e.Morale, 0, 100);
            within("experience", side, r, e.Experience, 0, 100);
            // A march of the computer's corps at the hardest level adds a point of readiness
            // without the clamp (the movement rule says so), which a battle's march may leave.
            within("readiness", side, r, e.Readiness, 0, 101);
            within("supply", side, r, e.Supply, 0, 100);
            within("fill", side, r, e.FillPercent, 0, 100);
            within("men", side, r, e.Men, 0, TypeOf(st, e).FullStrength);
            within("movement points", side, r, e.MovementPoints, 0, 255);
            within("battle line", side, r, e.BattleLine, 1, 1);
        }
        if (st.Zeal[side] < 0 || st.Zeal[side] > 100) bad.push_back("zeal " + std::to_string(st.Zeal[side]));
    }
    for (int c = 1; c <= kCityCount; ++c) {
        const TVaros& v = st.Cities[static_cast<std::size_t>(c)];
        if (v.Kind == 3 && v.FortMax > 0 && (v.FortStrength < 1 || v.FortStrength > v.FortMax))
            bad.push_back("fortress " + std::to_string(c) + " at level " + std::to_string(v.FortStrength));
    }
    if (st.Battle.BattleMode != kFieldAttack || st.Battle.ReportOpen)
        bad.push_back("the battle mode or the report was left behind");
    if (battleOver && st.Battle.AttackingForce.UnitCount != 0)
        bad.push_back("the battle state was not cleared");
    return bad;
}

std::vector<int> FieldCorps(const State& st, int side) {
    std::vector<int> list;
    for (int c = 1; c <= st.CorpsCount[side]; ++c)
        if (st.CorpsRec(side, c).Garrison == 0 && st.CorpsRec(side, c).UnitCount > 0) list.push_back(c);
    return list;
}

// Puts a corps on a hex as a march would leave it (counts kept), without the march's rules.
void Place(State& st, int side, int corps, Hex to) {
    THad& h = st.CorpsRec(side, corps);
    st.Cell(h.X, h.Y).CorpsCount -= 1;
    h.X = to.x;
    h.Y = to.y;
    st.Cell(to.x, to.y).CorpsCount += 1;
}

// Any figures a regiment may have in play.
void Shuffle(Dice& dice, State& st, int side, int corps) {
    const THad& h = st.CorpsRec(side, corps);
    for (int i = 1; i <= h.UnitCount; ++i) {
        TEzred& e = st.Regiment(side, h.Units[static_cast<std::size_t>(i)]);
        e.Morale = dice.Between(0, 100);
        e.Experience = dice.Between(0, 100);
        e.Readiness = dice.Between(0, 100);
        e.Supply = dice.Between(0, 100);
        e.Men = dice.Between(1, TypeOf(st, e).FullStrength);
        e.MovementPoints = 100;
    }
}

TEST(BattleProperty, RandomBattlesOnTheRealMapKeepEveryInvariantAndRepeatExactly) {
    testing::TestGame t;
    StartCampaignGame(t, 1, 1);
    State& st = t.st();
    const auto base = std::make_unique<State>(st);
    auto before = std::make_unique<State>();
    Dice dice(1848);
    int fought = 0, refused = 0, repeated = 0;
    for (int i = 0; i < kBattles; ++i) {
        if (i % 40 == 0) st = *base;
        const int side = dice.Chance(50) ? 1 : 2;
        st.ActiveSide = side;
        st.OtherSide = 3 - side;
        st.Difficulty = dice.Between(1, 3);
        st.PlayerType[side] = dice.Chance(70) ? 1 : 2;
        st.PlayerType[3 - side] = dice.Chance(70) ? 1 : 2;
        st.NetworkGame = dice.Chance(10);
        const auto ours = FieldCorps(st, side), theirs = FieldCorps(st, 3 - side);
        if (ours.empty() || theirs.empty()) {
            st = *base;
            continue;
        }
        const int a = ours[static_cast<std::size_t>(dice.Between(0, static_cast<int>(ours.size()) - 1))];
        const int d = theirs[static_cast<std::size_t>(dice.Between(0, static_cast<int>(theirs.size()) - 1))];
        const Hex target{st.CorpsRec(3 - side, d).X, st.CorpsRec(3 - side, d).Y};
        const int dir = dice.Between(0, 5);
        const Hex from = Neighbour(target, dir);
        if (!OnMap(st, from) || st.Cell(from.x, from.y).Terrain == kTerrainImpassable ||
            FirstCorpsAt(st, 3 - side, from.x, from.y) != 0)
            continue;
        Place(st, side, a, from);
        st.CorpsRec(side, a).Formation = dice.Chance(80) ? 4 : dice.Between(1, 7);
        st.CorpsRec(side, a).Tactic = dice.Between(1, 3);
        st.CorpsRec(3 - side, d).Formation = dice.Between(1, 7);
        st.CorpsRec(3 - side, d).Tactic = dice.Between(1, 3);
        Shuffle(dice, st, side, a);
        Shuffle(dice, st, 3 - side, d);
        // Now and then a supporter beside the target.
        if (dice.Chance(40) && ours.size() > 1) {
            const int s = ours[static_cast<std::size_t>(dice.Between(0, static_cast<int>(ours.size()) - 1))];
            const Hex beside = Neighbour(target, (dir + dice.Between(1, 5)) % 6);
            if (s != a && OnMap(st, beside) && st.Cell(beside.x, beside.y).Terrain != kTerrainImpassable &&
                FirstCorpsAt(st, 3 - side, beside.x, beside.y) == 0) {
                Place(st, side, s, beside);
                st.CorpsRec(side, s).Formation = dice.Chance(50) ? 2 : 4;
                Shuffle(dice, st, side, s);
                RecomputeCorps(t.g(), side, s);
            }
        }
        RecomputeCorps(t.g(), side, a);
        RecomputeCorps(t.g(), 3 - side, d);
        if (!IsCorps(st, side, a) || !IsCorps(st, 3 - side, d)) continue;
        ASSERT_EQ(Broken(st), std::vector<std::string>{}) << "before battle " << i;

        ExecuteOrder(t.g(), TParancs{25, target.x, target.y, side, a, 0});
        if (dice.Chance(20)) ExecuteOrder(t.g(), TParancs{26, 0, 0, side, 0, dice.Between(1, 5)});
        const bool twice = i % 10 == 0;
        if (twice) *before = st;
        const TParancs attack{1, target.x, target.y, side, a, 0};
        const OrderOutcome outcome = ExecuteOrder(t.g(), attack);
        (outcome == OrderOutcome::Executed ? fought : refused) += 1;
        ASSERT_EQ(Broken(st), std::vector<std::string>{}) << "after battle " << i;
        if (twice && outcome == OrderOutcome::Executed) {
            const std::uint64_t first = FullStateHash(st);
            st = *before;
            ExecuteOrder(t.g(), attack);
            ASSERT_EQ(FullStateHash(st), first) << "battle " << i << " fought again";
            ++repeated;
        }
    }
    EXPECT_GT(fought, kBattles / 2);
    EXPECT_GT(refused, 0);
    EXPECT_GT(repeated, kBattles / 25);
}

// Siege guns for a corps that has none, made as recruitment makes regiments.
void GiveSiegeGuns(Game& game, int side, int corps, int batteries) {
    for (int i = 0; i < batteries; ++i) {
        TEzred tmpl{};
        tmpl.Type = kTypeSiegeBattery;
        tmpl.Nation = game.state.CorpsRec(side, corps).Nation;
        tmpl.Corps = corps;
        tmpl.Morale = tmpl.Experience = tmpl.Readiness = tmpl.Supply = 80;
        tmpl.BattleLine = 1;
        tmpl.FillPercent = 100;
        CreateRegiment(game, side, 0, tmpl);
    }
}

TEST(SiegeProperty, BombardmentsAndAssaultsOnEveryFortressOfEveryCampaign) {
    Dice dice(1849);
    int bombardments = 0, assaults = 0, taken = 0;
    for (int campaign = 0; campaign <= 6; ++campaign) {
        testing::TestGame t;
        StartCampaignGame(t, campaign, dice.Between(0, 1));
        State& st = t.st();
        for (int c = 1; c <= kCityCount; ++c) {
            const TVaros& v = st.Cities[static_cast<std::size_t>(c)];
            if (v.Kind != 3 || (v.Owner != 1 && v.Owner != 2)) continue;
            const int side = 3 - v.Owner;
            const auto ours = FieldCorps(st, side);
            if (ours.empty()) continue;
            const int corps =
                ours[static_cast<std::size_t>(dice.Between(0, static_cast<int>(ours.size()) - 1))];
            if (st.CorpsRec(side, corps).UnitCount > 45) continue;
            st.ActiveSide = side;
            st.OtherSide = 3 - side;
            st.PlayerType[side] = dice.Chance(50) ? 1 : 2;
            Place(st, side, corps, Hex{v.X, v.Y});
            st.CorpsRec(side, corps).Formation = 5;
            GiveSiegeGuns(t.g(), side, corps, dice.Between(1, 4));
            Shuffle(dice, st, side, corps);
            if (IsCorps(st, 3 - side, v.GarrisonCorps) && dice.Chance(50))
                Shuffle(dice, st, 3 - side, v.GarrisonCorps);
            RecomputeCorps(t.g(), side, corps);
            if (!IsCorps(st, side, corps)) continue;
            ASSERT_EQ(Broken(st, false), std::vector<std::string>{})
                << "campaign " << campaign << " city " << c;
            for (int k = dice.Between(0, 6); k > 0; --k) {
                if (ExecuteOrder(t.g(), TParancs{2, 0, 0, side, corps, 0}) == OrderOutcome::Executed)
                    ++bombardments;
                ASSERT_EQ(Broken(st, false), std::vector<std::string>{})
                    << "campaign " << campaign << " city " << c;
                if (!IsCorps(st, side, corps) || st.CorpsRec(side, corps).X != v.X) break;
            }
            if (!IsCorps(st, side, corps) || st.CorpsRec(side, corps).X != v.X) continue;
            // A new turn's movement, and mostly the attack formation in which slow siege guns
            // keep the points an assault costs.
            for (int r = 1; r <= st.CorpsRec(side, corps).UnitCount; ++r)
                st.Regiment(side, st.CorpsRec(side, corps).Units[static_cast<std::size_t>(r)])
                    .MovementPoints = 100;
            if (dice.Chance(80)) st.CorpsRec(side, corps).Formation = 4;
            RecomputeCorps(t.g(), side, corps);
            const bool stormed =
                ExecuteOrder(t.g(), TParancs{3, v.X, v.Y, side, corps, 0}) == OrderOutcome::Executed;
            assaults += stormed;
            taken += st.Cities[static_cast<std::size_t>(c)].Owner == side;
            ASSERT_EQ(Broken(st, stormed), std::vector<std::string>{})
                << "campaign " << campaign << " city " << c;
        }
    }
    EXPECT_GT(bombardments, 20);
    EXPECT_GT(assaults, 20);
    EXPECT_GT(taken, 0);
}

} // namespace
} // namespace vezer
