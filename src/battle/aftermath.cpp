// What a battle leaves behind: disorder, morale, experience, booty, surrender, captured guns,
// the retreat of the beaten side or the capture of a fortress, the computer's battle memory
// and the war's result counters.

#include "battle/battle.h"
#include "battle/battle_internal.h"

#include "core/index_watch.h"
#include "core/log.h"
#include "core/random.h"
#include "core/texts.h"
#include "forces/generals.h"
#include "forces/markers.h"
#include "forces/movement.h"
#include "forces/occupation.h"
#include "forces/organisation.h"
#include "forces/recon.h"
#include "forces/stacks.h"
#include "forces/strength.h"
#include "map/queries.h"

#include <cmath>
#include <optional>
#include <vector>

namespace vezer {

using namespace battle;

namespace {

int ExperienceBuildUpGain(int experience) {
    if (experience < 50) return 80;
    if (experience < 60) return 45;
    if (experience < 70) return 35;
    if (experience < 80) return 25;
    if (experience < 90) return 15;
    return 1;
}

int RoundedRoot(int v) {
    return RoundHalfEven(std::sqrt(static_cast<double>(std::max(0, v))));
}

std::vector<int> ForceRegiments(const State& st, const THad& f, int side) {
    std::vector<int> list;
    for (int i = 1; i <= UnitsOf(f); ++i)
        if (IsRegiment(st, side, UnitAt(f, i))) list.push_back(UnitAt(f, i));
    return list;
}

void ExperienceLine(Game& game, int side, int r, int gain) {
    AddLogEntry(game, side, 1, kLogKindRules,
                RegimentSubject(game.state, side, r) + " tapasztalata nö: +" + std::to_string(gain),
                kColourLightGreen);
}

// Steps 4 and 5: regiments that fought may grow more seasoned.
void GainExperience(Game& game) {
    State& st = game.state;
    BattleState& b = st.Battle;
    for (int r : ForceRegiments(st, b.WinnerForce, b.Winner)) {
        TEzred& e = st.Regiment(b.Winner, r);
        if (!e.FoughtInBattle) continue;
        const int x = e.Experience;
        e.ExperienceBuildUp += ExperienceBuildUpGain(x);
        if (R(game, 100) > e.ExperienceBuildUp) continue;
        int g = R(game, RoundedRoot(100 - x) * 2 / 3);
        g = std::min(g, 100 - x);
        if (g <= 0) continue;
        e.Experience = ClampAdd(e.Experience, g);
        ExperienceLine(game, b.Winner, r, g);
    }
    if (b.BattleMode == kAssault) return;
    for (int r : ForceRegiments(st, b.LoserForce, b.Loser)) {
        TEzred& e = st.Regiment(b.Loser, r);
        if (!e.FoughtInBattle || e.Morale <= 20) continue;
        const int x = e.Experience;
        e.ExperienceBuildUp += ExperienceBuildUpGain(x);
        if (R(game, 100) > e.ExperienceBuildUp) continue;
        const int g = R(game, RoundedRoot(100 - x) / 2);
        e.Experience = ClampAdd(e.Experience, g);
        ExperienceLine(game, b.Loser, r, g);
    }
}

// Step 6: after a crushing defeat the victor carries off the beaten force's supplies.
void TakeBooty(Game& game) {
    State& st = game.state;
    BattleState& b = st.Battle;
    if (!b.Crushing) return;
    int booty = 0;
    for (int r : ForceRegiments(st, b.LoserForce, b.Loser)) {
        TEzred& e = st.Regiment(b.Loser, r);
        if (e.Supply <= 30 || e.Men <= 0 || e.FillPercent <= 0) continue;
        const int k = e.BattleLine == 3 ? 4 : 6;
        const int d = e.Supply / (R(game, k) + k / 2);
        e.Supply -= d;
        booty += e.FillPercent * d / 100;
    }
    if (booty <= 0) return;
    const int share = booty / std::max(1, UnitsOf(b.WinnerForce));
    for (int r : ForceRegiments(st, b.WinnerForce, b.Winner))
        st.Regiment(b.Winner, r).Supply = ClampAdd(st.Regiment(b.Winner, r).Supply, share);
    AddLogEntry(game, b.Winner, 0, kLogKindRules,
                GeneralOf(st, b.Winner, b.WinnerForce.General).FamilyName.str() + " zsákmányol " +
                    std::to_string(booty) + " ellátmányt",
                kColourOrange);
}

int SurrenderScore(const State& st, const TEzred& e) {
    const BattleState& b = st.Battle;
    int s = e.Nation == 7 ? 100 : 0;
    if (e.Readiness < 30) s += 30 - e.Readiness;
    if (e.Supply < 30) s += 30 - e.Supply;
    if (e.Morale < 30) s += 2 * (30 - e.Morale);
    if (e.Men <= 0) s += 1000;
    if (b.Overrun) s += 20;
    if (e.Type == kTypeLevy) {
        s += 10;
        const THad& W = b.WinnerForce;
        const THad& L = b.LoserForce;
        if (W.CavalryMen + W.InfantryMen > 5 * (L.CavalryMen + L.InfantryMen)) s += 10;
    }
    if (b.LoserForce.ArtilleryOnly) s += 20;
    if (st.PlayerType[b.Loser] == 2) {
        if (st.Difficulty == 1) s += 10;
        if (st.Difficulty == 3) s -= 10;
    }
    return s;
}

// Step 7: beaten defenders may lay down their arms; after a stormed fortress all but its
// batteries do.
void Surrender(Game& game) {
    State& st = game.state;
    BattleState& b = st.Battle;
    if (b.Loser != b.DefenderSide || b.Draw) return;
    const int loser = b.Loser;
    std::vector<int> list = ForceRegiments(st, b.LoserForce, loser);
    // Highest number first, so a deletion never renumbers a regiment still to come.
    std::sort(list.rbegin(), list.rend());
    for (int r : list) {
        if (!IsRegiment(st, loser, r)) continue;
        const TEzred& e = st.Regiment(loser, r);
        bool yields;
        if (b.BattleMode == kAssault)
            yields = e.Type != kTypeFortressBattery;
        else
            yields = SurrenderScore(st, e) >= R(game, 90) + 10;
        if (!yields) continue;
        if (e.Men > 0) {
            AddLogEntry(game, loser, 0, kLogKindRules, RegimentSubject(st, loser, r) + " megadja magát.",
                        kColourOrange);
            if (IsArtillery(e) && !(e.Type == kTypeFortressBattery && b.BattleMode == kAssault) &&
                e.Type >= 11 && e.Type <= 15)
                b.CapturedGuns[static_cast<std::size_t>(e.Type - 10)] += e.Men;
            if (e.Arm >= 1 && e.Arm <= 3) st.Losses[loser][static_cast<std::size_t>(e.Arm)] += e.Men;
        }
        RemoveRegiment(game, loser, r);
    }
}

int NewRegimentFigure(Game& game, int base) {
    return std::clamp(R(game, 40) + base - 20, 0, 100);
}

// The receiving corps of the captured guns: the winning general's own, or a new corps on its
// hex when that one is (nearly) full. 0 when no corps can take them.
int ReceivingCorps(Game& game, int total) {
    State& st = game.state;
    BattleState& b = st.Battle;
    const int side = b.Winner;
    const int general = b.WinnerForce.General;
    int receiving = IsGeneral(st, side, general) ? st.General(side, general).Corps : 0;
    if (!IsCorps(st, side, receiving) || st.CorpsRec(side, receiving).General != general) receiving = 0;
    if (receiving != 0 && st.CorpsRec(side, receiving).UnitCount <= 45 - total / 8) return receiving;
    const Hex hex = receiving ? Hex{st.CorpsRec(side, receiving).X, st.CorpsRec(side, receiving).Y}
                              : Hex{b.TargetX, b.TargetY};
    const int nation = receiving ? st.CorpsRec(side, receiving).Nation : side;
    if (st.CorpsCount[side] >= kMaxCorps) return receiving;
    THad t = EmptyCorpsRecord();
    t.Nation = side;
    t.Formation = 3;
    t.Tactic = 2;
    t.Direction = side == 1 ? 5 : 2;
    t.Task = 2;
    t.Role = 4;
    t.ObjectiveX = hex.x;
    t.ObjectiveY = hex.y;
    // The guns' new corps stands where the corps that took them stands.
    t.X = hex.x;
    t.Y = hex.y;
    if (st.CorpsCount[side] + 1 >= st.GeneralCount[side]) AddGeneral(game, side, nation, true);
    t.General = PickOrdinaryGeneral(game, side, nation);
    const int index = st.CorpsCount[side] + 1;
    if (t.General == 0 || !CreateCorps(game, side, index, t)) return receiving;
    RecomputeCorps(game, side, index);
    return index;
}

// Step 8: the guns the beaten side left behind become batteries of the victor.
void CaptureGuns(Game& game) {
    State& st = game.state;
    BattleState& b = st.Battle;
    if (b.Draw || b.BattleMode == kAssault) return;
    for (int type : {11, 12, 13, 15}) {
        const int n = b.BattleLossesByType[b.Loser][static_cast<std::size_t>(type)];
        b.CapturedGuns[static_cast<std::size_t>(type - 10)] += R(game, n + 1) - 1;
    }
    int total = 0;
    for (int i = 1; i <= 5; ++i) total += b.CapturedGuns[static_cast<std::size_t>(i)];
    if (total <= 0) return;
    const int side = b.Winner;
    AddLogEntry(game, side, 0, kLogKindRules,
                GeneralOf(st, side, b.WinnerForce.General).FamilyName.str() + " zsákmányol " +
                    std::to_string(total) + " ágyút.",
                kColourOrange);
    HeldIndex receiving(game.watches, RecordKind::Corps, side, ReceivingCorps(game, total));
    for (int type = 11; type <= 15; ++type) {
        const int n = b.CapturedGuns[static_cast<std::size_t>(type - 10)];
        const TEzredAlap& kind = st.Types[static_cast<std::size_t>(type)];
        const int full = std::max(1, kind.FullStrength);
        const int batteries = (n + full - 1) / full;
        for (int k = 1; k <= batteries; ++k) {
            TEzred t{};
            t.BattleLine = 1;
            t.Type = type;
            t.Arm = kind.Arm;
            t.Morale = NewRegimentFigure(game, kind.BaseMorale);
            t.Experience = NewRegimentFigure(game, kind.BaseExperience);
            t.Readiness = NewRegimentFigure(game, kind.BaseReadiness);
            t.Supply = NewRegimentFigure(game, kind.BaseSupply);
            t.FillPercent =
                k == batteries && n % full != 0 ? RoundHalfEvenRatio(100LL * (n % full), full) : 100;
            if (receiving.gone()) continue;
            t.Nation = st.CorpsRec(side, receiving.get()).Nation;
            const int r = CreateRegiment(game, side, 0, t);
            if (r == 0) continue;
            // A regiment no corps can take is not left standing nowhere.
            if (!MoveRegiment(game, side, r, receiving.get(), false)) DeleteRegimentRecord(game, side, r);
        }
    }
}

// A corps marches back one hex, facing the way it goes, then turns to face `facing`.
void MarchBack(Game& game, int side, int corps, Hex to, Hex facing) {
    State& st = game.state;
    if (!IsCorps(st, side, corps)) return;
    HeldIndex held(game.watches, RecordKind::Corps, side, corps);
    THad& h = st.CorpsRec(side, corps);
    const Hex from{h.X, h.Y};
    if (from == to || DirectionTo(from, to) > 5) return;
    game.screen.PlaySound(h.MarkerKind);
    h.Direction = DirectionTo(from, to);
    h.MarkerState = 1;
    const int cost = StepCostFor(st, side, corps, from, to, false, true);
    MoveCorpsStep(game, side, corps, cost, false, to);
    if (held.gone()) return;
    THad& now = st.CorpsRec(side, held.get());
    if (DirectionTo(to, facing) <= 5) now.Direction = DirectionTo(to, facing);
    now.MarkerState = 0;
    game.screen.RefreshCorpsMarker(side, held.get());
}

using Supporters = std::array<std::optional<HeldIndex>, 6>;

// Step 9: the loser leaves the hex, or the fortress changes hands.
void MoveAfterBattle(Game& game, int side, HeldIndex& attacker, Supporters& supporters) {
    State& st = game.state;
    BattleState& b = st.Battle;
    const Hex target{b.TargetX, b.TargetY};
    if (b.Loser == b.DefenderSide && !b.Draw) {
        if (b.BattleMode == kAssault) {
            if (!attacker.gone()) CaptureFortress(game, side, attacker.get(), target);
            return;
        }
        RetreatFromHex(game, target, b.DefenderSide);
        if (b.RetreatCollision) RetreatFromHex(game, Hex{b.RetreatHexX, b.RetreatHexY}, b.Winner);
        OccupyHex(game, b.Winner, b.AttackingForce.Nation, b.AttackingForce.General, target.x, target.y);
        return;
    }
    if (b.BattleMode == kAssault) return; // a repulsed assault stays before the walls
    const Hex origin{b.AttackingForce.X, b.AttackingForce.Y};
    if (!attacker.gone()) MarchBack(game, side, attacker.get(), origin, target);
    for (int i = 1; i <= 5; ++i) {
        const TSupportEntry& e = b.SupportList[static_cast<std::size_t>(i)];
        if (!e.Joins || !supporters[static_cast<std::size_t>(i)] ||
            supporters[static_cast<std::size_t>(i)]->gone())
            continue;
        MarchBack(game, side, supporters[static_cast<std::size_t>(i)]->get(), Hex{e.X, e.Y}, target);
    }
}

void RecomputeHeld(Game& game, const HeldIndex& h) {
    if (!h.gone()) RecomputeCorps(game, h.side(), h.get());
}

// Step 10: the computer remembers how its corps fared.
void RememberBattle(Game& game, HeldIndex& attacker, Supporters& supporters) {
    State& st = game.state;
    BattleState& b = st.Battle;
    int L = b.Draw ? 0 : b.Winner == b.AttackerSide ? -1 : 1;
    if (b.Crushing) L *= 2;
    const bool counts = b.BattleKind != kSkirmish;
    const int defender = b.DefenderSide;
    int c = 1;
    while (c <= st.CorpsCount[defender] && c <= kMaxCorps) {
        THad& h = st.CorpsRec(defender, c);
        if (StandsOn(h, b.TargetX, b.TargetY)) {
            if (counts) {
                h.LastBattleResult = L;
                h.TurnsSinceBattle = 1;
                h.LastBattleEnemyStrength = b.DefendingForce.LastBattleEnemyStrength;
            }
            const int before = st.CorpsCount[defender];
            RecomputeCorps(game, defender, c);
            if (st.CorpsCount[defender] < before) continue;
        }
        ++c;
    }
    if (!attacker.gone()) {
        st.CorpsRec(attacker.side(), attacker.get()).LastBattleResult = -L;
        RecomputeHeld(game, attacker);
    }
    for (int i = 1; i <= 5; ++i) {
        auto& held = supporters[static_cast<std::size_t>(i)];
        if (!b.SupportList[static_cast<std::size_t>(i)].Joins || !held || held->gone()) continue;
        RecomputeHeld(game, *held);
        if (!counts || held->gone()) continue;
        THad& h = st.CorpsRec(held->side(), held->get());
        h.LastBattleResult = -L;
        h.TurnsSinceBattle = 1;
        h.LastBattleEnemyStrength = b.AttackingForce.LastBattleEnemyStrength;
    }
}

// Step 11: the war's counters, points and the nations' zeal.
void CountResult(Game& game) {
    State& st = game.state;
    BattleState& b = st.Battle;
    if (b.Draw) {
        if (b.BattleKind == kEngagement) st.DrawnEngagements += 1;
        if (b.BattleKind == kFullBattle) st.DrawnBattles += 1;
        return;
    }
    const int r = R(game, 100);
    const int w = b.Winner, l = b.Loser;
    if (b.BattleKind == kEngagement && r <= 33) {
        ZealChange(game, w, 1);
        ZealChange(game, l, -1);
        st.EngagementsWon[w] += 1;
        st.BattlePoints[w] += b.BattleValue;
    } else if (b.BattleKind == kFullBattle) {
        ZealChange(game, w, 3);
        ZealChange(game, l, -3);
        st.BattlesWon[w] += 1;
        st.BattlePoints[w] += b.BattleValue;
    }
}

} // namespace

namespace battle {

void EndOfFight(Game& game, int side, int corps) {
    State& st = game.state;
    BattleState& b = st.Battle;
    const int units = UnitsOf(b.LoserForce);
    b.Crushing = units > 0 && 100 * b.RoutedCount[b.Loser] > 55 * units;
    if (b.Crushing) {
        if (b.Loser == b.AttackerSide) {
            if (IsCorps(st, side, corps)) st.CorpsRec(side, corps).Formation = 7;
        } else {
            for (int c = 1; c <= st.CorpsCount[b.Loser] && c <= kMaxCorps; ++c) {
                THad& h = st.CorpsRec(b.Loser, c);
                if (StandsOn(h, b.TargetX, b.TargetY) && h.Garrison != 1) h.Formation = 7;
            }
        }
    }
    if (b.Draw) return;
    const int gain = b.Crushing ? 12 : 6;
    for (int r : ForceRegiments(st, b.WinnerForce, b.Winner))
        st.Regiment(b.Winner, r).Morale = ClampAdd(st.Regiment(b.Winner, r).Morale, gain);
    int shown = b.Crushing ? 6 : 3;
    if (b.BattleKind == kSkirmish) shown /= 3;
    AddLogEntry(game, b.AttackerSide, 0, kLogKindRules,
                b.WinnerForce.Name.str() + " morál +" + std::to_string(shown), kColourOrange);
}

} // namespace battle

void BattleAftermath(Game& game, int side, int corps) {
    State& st = game.state;
    BattleState& b = st.Battle;
    ForceIndexGuard guard(game);
    HeldIndex attacker(game.watches, RecordKind::Corps, side, IsCorps(st, side, corps) ? corps : 0);
    Supporters supporters;
    for (int i = 1; i <= 5; ++i) {
        const TSupportEntry& e = b.SupportList[static_cast<std::size_t>(i)];
        if (e.Joins && IsCorps(st, side, e.Corps))
            supporters[static_cast<std::size_t>(i)].emplace(game.watches, RecordKind::Corps, side, e.Corps);
    }
    game.screen.RefreshMainScreen();

    // Both sides now know the corps they fought.
    for (const auto& [force, s] : {std::pair<const THad*, int>{&b.AttackingForce, b.AttackerSide},
                                   std::pair<const THad*, int>{&b.DefendingForce, b.DefenderSide}})
        for (int r : ForceRegiments(st, *force, s)) {
            const int c = st.Regiment(s, r).Corps;
            if (!IsCorps(st, s, c)) continue;
            THad& h = st.CorpsRec(s, c);
            h.ReconLevel = h.ReconLevel < 2 ? 2 : 3;
            RefreshEstimates(game, s, c);
        }
    for (int r : ForceRegiments(st, b.AttackingForce, b.AttackerSide))
        st.Regiment(b.AttackerSide, r).MovementPoints =
            ClampSub(st.Regiment(b.AttackerSide, r).MovementPoints, b.AttackCost);

    GainExperience(game);
    TakeBooty(game);
    Surrender(game);
    CaptureGuns(game);
    MoveAfterBattle(game, side, attacker, supporters);
    RememberBattle(game, attacker, supporters);
    CountResult(game);

    b.BattleMode = kFieldAttack;
    ResetBattleState(game);
}

int FindNearestOwnCity(const State& st, int side, Hex hex) {
    int best = 0, bestDistance = 999;
    for (int c = 1; c <= kCityCount; ++c) {
        const TVaros& v = st.Cities[static_cast<std::size_t>(c)];
        if (v.Owner != side || (v.X == hex.x && v.Y == hex.y)) continue;
        const int d = Distance(st, Hex{v.X, v.Y}, hex);
        if (d < bestDistance) {
            best = c;
            bestDistance = d;
        }
    }
    return best;
}

namespace {

// RetreatFromHex step 2: lower is better.
long long RetreatScore(Game& game, int side, Hex hex, int d, int homeward) {
    State& st = game.state;
    const Hex n = Neighbour(hex, d);
    long long score = MoveCost(st, hex, n, true, false);
    if (d == homeward) score -= 25;
    if (n == Hex{st.Battle.AttackingForce.X, st.Battle.AttackingForce.Y}) score += 1'000'000;
    if (!OnMap(st, n)) score += 15'000'000;
    const THex& cell = st.Cell(n.x, n.y);
    if (cell.Entrenchment > 0 && cell.EntrenchmentSide == side) score -= 35;
    if (FirstCorpsAt(st, side, n.x, n.y) != 0)
        score -= 30;
    else
        score += 50LL * EnemyStrength(st, 3 - side, n, true);
    if (const int city = CityAt(st, n.x, n.y)) score += CityRec(st, city).Owner == side ? -30 : 100'000;
    return score;
}

// A retreat into impassable ground costs guns and supplies.
void RetreatLosses(Game& game, int side, int corps) {
    State& st = game.state;
    THad& h = st.CorpsRec(side, corps);
    int guns = 0, supply = 0;
    for (int i = 1; i <= UnitsOf(h); ++i) {
        const int r = UnitAt(h, i);
        if (!IsRegiment(st, side, r)) continue;
        TEzred& e = st.Regiment(side, r);
        if (IsArtillery(e)) {
            guns += e.Men / 3;
            e.Men -= e.Men / 3;
        }
        if (e.Supply > 30) {
            supply += e.Supply / 3;
            e.Supply -= e.Supply / 3;
        }
    }
    const std::string name = h.Name.str();
    if (guns > 0)
        AddLogEntry(game, side, 0, kLogKindRules,
                    name + " veszít " + " " + std::to_string(guns) + " löveget a visszavonulás során.",
                    kColourOrange);
    if (supply > 0)
        AddLogEntry(game, side, 0, kLogKindRules,
                    name + " veszít " + " " + std::to_string(supply) + " ellátmányt a visszavonulás során.",
                    kColourOrange);
}

} // namespace

void RetreatFromHex(Game& game, Hex hex, int side) {
    State& st = game.state;
    BattleState& b = st.Battle;
    if (b.BattleMode == kAssault || !IsSide(side)) return;
    b.RetreatCollision = 0;
    const int active = st.ActiveSide, selectedSide = st.SelectedCorpsSide, other = st.OtherSide;
    const int selected = st.SelectedCorps;
    st.ActiveSide = st.SelectedCorpsSide = side;
    st.OtherSide = 3 - side;
    EnterEntrenchment(game, 3 - side, hex.x, hex.y);

    std::vector<std::unique_ptr<HeldIndex>> listed;
    for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c)
        if (StandsOn(st.CorpsRec(side, c), hex.x, hex.y))
            listed.push_back(std::make_unique<HeldIndex>(game.watches, RecordKind::Corps, side, c));
    st.SelectedCorps = listed.empty() ? 0 : listed.front()->get();

    int homeward = -1;
    if (const int city = FindNearestOwnCity(st, side, hex)) {
        const PathResult path =
            ShortestPath(game, hex, Hex{CityRec(st, city).X, CityRec(st, city).Y}, 150, true, false);
        if (path[0] < 100) homeward = path[1];
    }
    int target = 0;
    long long best = 0;
    for (int d = 0; d <= 5; ++d) {
        const long long score = RetreatScore(game, side, hex, d, homeward);
        if (d == 0 || score < best) {
            target = d;
            best = score;
        }
    }
    const Hex to = Neighbour(hex, target);
    for (const auto& held : listed) {
        if (held->gone() || st.CorpsRec(side, held->get()).Garrison == 1) continue;
        const int c = held->get();
        if (st.Cell(to.x, to.y).Terrain == kTerrainImpassable) RetreatLosses(game, side, c);
        RefreshHexStack(game, side, c, hex.x, hex.y);
        if (held->gone()) continue;
        THad& h = st.CorpsRec(side, held->get());
        game.screen.PlaySound(h.MarkerKind);
        h.Direction = target;
        h.MarkerState = 1;
        MoveCorpsStep(game, side, held->get(), 0, false, to);
        if (held->gone()) continue;
        THad& now = st.CorpsRec(side, held->get());
        now.Direction = Opposite(target);
        now.MarkerState = 0;
        game.screen.RefreshCorpsMarker(side, held->get());
        now.ObjectiveX = -1;
    }
    b.RetreatCollision = FirstCorpsAt(st, 3 - side, to.x, to.y) != 0;
    b.RetreatHexX = to.x;
    b.RetreatHexY = to.y;
    RefreshHexStack(game, side, 0, to.x, to.y);
    st.ActiveSide = active;
    st.SelectedCorpsSide = selectedSide;
    st.OtherSide = other;
    st.SelectedCorps = selected;
}

void CaptureFortress(Game& game, int side, int corps, Hex hex) {
    State& st = game.state;
    const int city = CityAt(st, hex.x, hex.y);
    if (!IsSide(side) || !IsCorps(st, side, corps) || city == 0) return;
    TVaros& v = CityRec(st, city);
    const int other = 3 - side;
    const int oldGarrison = v.Owner == other && IsCorps(st, other, v.GarrisonCorps) ? v.GarrisonCorps : 0;
    const int general = st.CorpsRec(side, corps).General;
    const int nation = st.CorpsRec(side, corps).Nation;
    HeldIndex capturer(game.watches, RecordKind::Corps, side, corps);

    int guns = 0;
    if (oldGarrison) {
        const THad& g = st.CorpsRec(other, oldGarrison);
        for (int i = 1; i <= UnitsOf(g); ++i) {
            const int r = UnitAt(g, i);
            if (IsRegiment(st, other, r) && st.Regiment(other, r).Type == kTypeFortressBattery)
                guns += st.Regiment(other, r).Men;
        }
    }
    guns -= R(game, guns / 3);
    guns = std::max(guns, 1);
    const std::string family = GeneralOf(st, side, general).FamilyName.str();
    AddLogEntry(game, side, 0, kLogKindRules, family + " elfoglalja " + v.Name.str() + " erödjét!",
                kColourLightYellow);
    AddLogEntry(game, side, 0, kLogKindRules, family + " zsákmányol " + std::to_string(guns) + " várüteget!",
                kColourLightYellow);

    // The old batteries, fewer by up to a third, make the new garrison.
    const int index = st.CorpsCount[side] + 1;
    const TEzredAlap& kind = st.Types[kTypeFortressBattery];
    const int full = std::max(1, kind.FullStrength);
    const int batteries = (guns + full - 1) / full;
    for (int k = 1; k <= batteries; ++k) {
        TEzred t{};
        t.BattleLine = 1;
        t.Type = kTypeFortressBattery;
        t.Arm = 3;
        t.Nation = nation;
        t.Corps = index;
        t.Morale = NewRegimentFigure(game, kind.BaseMorale);
        t.Experience = NewRegimentFigure(game, kind.BaseExperience);
        t.Readiness = NewRegimentFigure(game, kind.BaseReadiness);
        t.Supply = NewRegimentFigure(game, kind.BaseSupply);
        t.FillPercent =
            k == batteries && guns % full != 0 ? RoundHalfEvenRatio(100LL * (guns % full), full) : 100;
        CreateRegiment(game, side, 0, t);
    }
    if (st.CorpsCount[side] + 1 >= st.GeneralCount[side]) AddGeneral(game, side, nation, true);
    THad g = EmptyCorpsRecord();
    g.General = PickDefensiveGeneral(game, side, nation);
    g.Nation = nation;
    g.X = v.X;
    g.Y = v.Y;
    g.Garrison = 1;
    g.Formation = 3;
    g.Tactic = 3;
    g.Direction = side == 1 ? 5 : 2;
    const bool created = g.General != 0 && CreateCorps(game, side, index, g);
    if (!created) {
        // Batteries made for a garrison that could not be formed do not stay behind.
        for (int r = st.RegimentCount[side]; r >= 1; --r)
            if (st.Regiment(side, r).Corps == index) DeleteRegimentRecord(game, side, r);
    }
    if (created) RecomputeCorps(game, side, index);

    v.Owner = side;
    v.FlagClass = nation;
    v.GarrisonCorps = created && IsCorps(st, side, index) ? index : 0;
    game.screen.RefreshCityMarker(city);
    st.CityPoints[side] += v.VictoryValue;
    st.CityPoints[other] -= v.VictoryValue;
    ZealChange(game, side, v.Importance[side] / 2);
    ZealChange(game, other, -(v.Importance[other] / 2));
    // The computer's top-up of a new garrison from the capturing corps belongs to its force
    // reorganisation, which runs in the computer's own turn.

    if (oldGarrison) {
        // The old garrison goes without being recomputed in a fortress it no longer holds.
        HeldIndex old(game.watches, RecordKind::Corps, other, oldGarrison);
        while (!old.gone() && st.CorpsRec(other, old.get()).UnitCount > 0) {
            const THad& h = st.CorpsRec(other, old.get());
            DeleteRegimentRecord(game, other, UnitAt(h, h.UnitCount));
        }
        if (!old.gone()) RemoveCorps(game, other, old.get());
    }
    if (!capturer.gone()) st.CorpsRec(side, capturer.get()).ObjectiveX = -1;
    RefreshFortressDamage(game, city);
}

} // namespace vezer
