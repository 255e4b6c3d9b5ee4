// Before the first round: the supporting corps, the two forces, the odds, the attack order and
// the kind of battle.

#include "battle/battle.h"
#include "battle/battle_internal.h"

#include "core/arith.h"
#include "core/index_watch.h"
#include "core/random.h"
#include "files/email_files.h"
#include "forces/movement.h"
#include "forces/stacks.h"
#include "forces/strength.h"
#include "map/queries.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace vezer {

using namespace battle;

namespace {

int AttackCostOf(int mode) {
    return mode == kAssault ? kAssaultCost : kAttackCost;
}

bool Person(const State& st, int side) {
    // A person at either machine: both machines of a network game must answer alike.
    return st.PlayerType[side] == 1 || st.PlayerType[side] == 3;
}

// The side's corps on the hex in the order the battle takes them: the stack's order on a
// single machine; index order where two machines (or a replay) must agree, because the stack
// order is each machine's own and is not saved.
std::vector<int> CorpsOnHex(const State& st, int side, Hex hex) {
    std::vector<int> list;
    for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c)
        if (StandsOn(st.CorpsRec(side, c), hex.x, hex.y)) list.push_back(c);
    if (!st.NetworkGame && !st.PbemGame)
        std::stable_sort(list.begin(), list.end(), [&](int a, int b) {
            return st.CorpsRec(side, a).StackOrder < st.CorpsRec(side, b).StackOrder;
        });
    return list;
}

bool EnemyToFight(const State& st, int side, Hex target) {
    for (int c = 1; c <= st.CorpsCount[3 - side] && c <= kMaxCorps; ++c) {
        const THad& h = st.CorpsRec(3 - side, c);
        if (StandsOn(h, target.x, target.y) && h.UnitCount > 0) return true;
    }
    return false;
}

bool Listed(const THad& f, int r) {
    for (int i = 1; i <= UnitsOf(f); ++i)
        if (UnitAt(f, i) == r) return true;
    return false;
}

void Append(THad& f, int r) {
    if (f.UnitCount >= kCorpsUnitSlots || Listed(f, r)) return;
    f.Units[static_cast<std::size_t>(++f.UnitCount)] = r;
}

// Step 2 of the attacking force: the regiments of a corps that fight on the attacker's side.
void TakeAttackingRegiments(State& st, int side, int corps, THad& f) {
    const THad& h = st.CorpsRec(side, corps);
    for (int i = 1; i <= UnitsOf(h); ++i) {
        const int r = UnitAt(h, i);
        if (!IsRegiment(st, side, r)) continue;
        TEzred& e = st.Regiment(side, r);
        e.FoughtInBattle = 0;
        if (e.Type == kTypeFortressBattery) continue;
        if (st.Battle.BattleMode == kBombardment && e.Type != kTypeSiegeBattery) continue;
        Append(f, r);
    }
}

// Step 4 of the attacking force: a sortie of the own fortress' garrison.
void TakeSortie(Game& game, int side, Hex target, THad& f) {
    State& st = game.state;
    const int city = CityAt(st, target.x, target.y);
    if (city == 0 || CityRec(st, city).Owner != side || CityRec(st, city).Kind != 3) return;
    const int garrison = CityRec(st, city).GarrisonCorps;
    if (!IsCorps(st, side, garrison)) return;
    bool firstBattery = true;
    const THad& g = st.CorpsRec(side, garrison);
    for (int i = 1; i <= UnitsOf(g); ++i) {
        const int r = UnitAt(g, i);
        if (!IsRegiment(st, side, r)) continue;
        TEzred& e = st.Regiment(side, r);
        const int roll = R(game, 100);
        bool take;
        if (e.Type == kTypeFortressBattery) {
            take = firstBattery || roll <= BatteryParticipation(st.Battle.BattleMode);
            firstBattery = false;
        } else {
            take = roll <= 80;
        }
        if (!take) continue;
        e.FoughtInBattle = 0;
        Append(f, r);
    }
}

// An entry still names a corps of the side standing where it was collected.
bool LiveSupporter(const State& st, int side, int corps, const TSupportEntry& entry) {
    return entry.Corps != corps && IsCorps(st, side, entry.Corps) &&
           StandsOn(st.CorpsRec(side, entry.Corps), entry.X, entry.Y);
}

// Step 3 of the defending force: whether a regiment of a listed corps fights.
bool TakeDefendingRegiment(Game& game, const THad& h, const TEzred& e, bool& firstBattery) {
    const int mode = game.state.Battle.BattleMode;
    if (e.Type == kTypeFortressBattery && h.Garrison == 1) {
        const int limit = firstBattery ? 101 : BatteryParticipation(mode);
        const bool take = R(game, 100) <= limit;
        if (take) firstBattery = false;
        return take;
    }
    if (mode == kBombardment || e.Type == kTypeFortressBattery) return false;
    const int limit = mode == kAssault ? 101 : h.Garrison == 1 ? 80 : 100;
    return R(game, 100) <= limit;
}

// Movement into the target for the attacking corps: nothing when it stands there.
int AttackMoveCostOf(State& st, int side, int corps, Hex target) {
    const THad& h = st.CorpsRec(side, corps);
    if (StandsOn(h, target.x, target.y)) return 0;
    return StepCostFor(st, side, corps, Hex{h.X, h.Y}, target, true, true);
}

// Sets AttackCost, AttackMoveCost and RequiredMovement of the attack.
void SetAttackMovement(State& st, int side, int corps, Hex target) {
    BattleState& b = st.Battle;
    b.AttackCost = AttackCostOf(b.BattleMode);
    b.AttackMoveCost = AttackMoveCostOf(st, side, corps, target);
    b.RequiredMovement = b.AttackCost + b.AttackMoveCost;
}

// The figures both PrepareBattle and the attack order set without drawing.
void SetBattleSides(State& st, int side, Hex target) {
    BattleState& b = st.Battle;
    b.AttackerSide = side;
    b.DefenderSide = 3 - side;
    st.OtherSide = b.DefenderSide;
    b.Round = 0;
    b.TargetX = target.x;
    b.TargetY = target.y;
    b.TargetEntrenchment = st.Cell(target.x, target.y).Entrenchment;
    const int city = CityAt(st, target.x, target.y);
    b.TargetCityKind = city ? CityRec(st, city).Kind : 0;
    if (b.TargetCityKind == 3 && b.BattleMode == kAssault) b.TargetEntrenchment = 3;
}

// Recomputes the corps of a side standing on the hex (a recompute may remove an empty one).
void RecomputeCorpsOnHex(Game& game, int side, Hex hex) {
    State& st = game.state;
    int c = 1;
    while (c <= st.CorpsCount[side] && c <= kMaxCorps) {
        if (StandsOn(st.CorpsRec(side, c), hex.x, hex.y)) {
            const int before = st.CorpsCount[side];
            RecomputeCorps(game, side, c);
            if (st.CorpsCount[side] < before) continue;
        }
        ++c;
    }
}

double Root(double v) {
    return v > 0 ? std::sqrt(v) : 0.0;
}

// Steps 9 to 12 of the estimate: strength, initiative and numbers make the odds.
int EstimateOdds(Game& game, int side) {
    State& st = game.state;
    BattleState& b = st.Battle;
    const THad& A = b.AttackingForce;
    const THad& D = b.DefendingForce;
    const double qA = Root(static_cast<double>(A.AvgMorale) / (D.AvgMorale + 10 * b.TargetEntrenchment + 1));
    const int SA = RoundHalfEven(A.CombatValue * qA * 2 + A.SumDefenceValue) / 3;
    const double qD = Root(static_cast<double>(D.AvgMorale) / (A.AvgMorale + 1));
    const int SD = RoundHalfEven(D.CombatValue * qD * 2 + D.SumDefenceValue) / 3;
    const int iA = InitiativeScore(game, side, A, D.AvgMovementAllowance, true);
    const int iD = InitiativeScore(game, b.DefenderSide, D, A.AvgMovementAllowance, false);
    const double k = Root(Root(Root(static_cast<double>(iA) / (iA + iD + 1)) + 0.5));
    const int ea = std::max(1, b.EffectiveUnits[side]), ed = std::max(1, b.EffectiveUnits[b.DefenderSide]);
    const double m = Root(Root(static_cast<double>(ea) / ed));
    return RoundHalfEven(m * k * SA * 100 / (SD + SA + 1));
}

} // namespace

void CollectSupportingCorps(Game& game, int side, int corps, Hex target) {
    State& st = game.state;
    BattleState& b = st.Battle;
    for (int i = 1; i <= 5; ++i) b.SupportList[static_cast<std::size_t>(i)] = TSupportEntry{};
    if (b.BattleMode == kAssault || !IsCorps(st, side, corps)) return;
    // The movement the attack needs, reckoned afresh for this corps and target.
    SetAttackMovement(st, side, corps, target);
    const THad& attacker = st.CorpsRec(side, corps);
    if (attacker.MovementPoints < b.RequiredMovement) return;
    const Hex home{attacker.X, attacker.Y};
    const int S = EnemyStrength(st, 3 - side, target, true);

    int N = 0;
    for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c) {
        const THad& h = st.CorpsRec(side, c);
        if (h.Formation != 2 && h.Formation != 4) continue;
        bool near = StandsOn(h, home.x, home.y);
        for (int d = 0; d <= 5 && !near; ++d) {
            const Hex n = Neighbour(target, d);
            near = n != home && StandsOn(h, n.x, n.y);
        }
        N += near;
    }

    int used = 0;
    auto consider = [&](int h, int cost, bool neighbour) {
        const THad& k = st.CorpsRec(side, h);
        if (h == corps || k.UnitCount <= 0) return;
        const bool formationOk =
            k.Formation == 4 || (neighbour && k.Formation == 2) ||
            (st.PlayerType[side] == 2 && k.MovementPoints >= cost + FormationChangeCost(st, side, h, 4));
        if (!formationOk || k.Role == 5) return;
        if (k.MovementPoints < cost) return;
        if (N >= 6 && !(S / 4 < k.CombatValue && k.CombatValue < 4 * S)) return;
        if (used >= 5) return;
        if (neighbour && k.AvgReadiness - cost < 10) return;
        TSupportEntry& e = b.SupportList[static_cast<std::size_t>(++used)];
        e.Corps = h;
        e.JoinChance = neighbour ? GeneralOf(st, side, k.General).Attack * (k.AvgReadiness - cost) / 10 : 100;
        e.X = k.X;
        e.Y = k.Y;
        e.SupportMoveCost = cost - 12;
    };

    const std::vector<int> ownHex = CorpsOnHex(st, side, home);
    if (ownHex.size() > 1) {
        const int cost = StepCostFor(st, side, corps, home, target, true, true) + 12;
        for (int h : ownHex) consider(h, cost, false);
    }
    for (int d = 0; d <= 5; ++d) {
        const Hex n = Neighbour(target, d);
        if (n == home || !OnMap(st, n)) continue;
        const int cost = StepCostFor(st, side, corps, n, target, true, true) + 12;
        for (int h : CorpsOnHex(st, side, n)) consider(h, cost, true);
    }
}

void DropSupporter(Game& game, int entry) {
    if (entry < 1 || entry > 5) return;
    game.state.Battle.SupportList[static_cast<std::size_t>(entry)] = TSupportEntry{};
}

void BuildAttackingForce(Game& game, int side, int corps, Hex target, THad& f) {
    State& st = game.state;
    BattleState& b = st.Battle;
    f = st.CorpsRec(side, corps);
    b.GeneralAbility[side] = GeneralOf(st, side, f.General).SpecialAbility;
    f.UnitCount = 0;
    f.Units.fill(0);
    f.SelfIndex = 0;
    TakeAttackingRegiments(st, side, corps, f);
    if (f.CombatValue == 0) f.CombatValue = 1;
    TakeSortie(game, side, target, f);
    for (int i = 1; i <= 5; ++i) {
        TSupportEntry& e = b.SupportList[static_cast<std::size_t>(i)];
        e.Joins = 0;
        const int roll = R(game, 100);
        if (e.Corps == 0 || !LiveSupporter(st, side, corps, e) || e.JoinChance < roll) continue;
        e.Joins = 1;
        TakeAttackingRegiments(st, side, e.Corps, f);
    }
    RecomputeForce(st, side, f);
}

void BuildDefendingForce(Game& game, int side, Hex target, THad& f) {
    State& st = game.state;
    BattleState& b = st.Battle;
    f = THad{};
    f.X = target.x;
    f.Y = target.y;
    f.AllClassOne = 1;
    const std::vector<int> listed = CorpsOnHex(st, side, target);
    if (listed.empty()) return;
    const THad& first = st.CorpsRec(side, listed.front());
    f.Nation = first.Nation;
    f.Name = first.Name;

    int leader = listed.front();
    for (int c : listed)
        if (GeneralOf(st, side, st.CorpsRec(side, c).General).Defence >
            GeneralOf(st, side, st.CorpsRec(side, leader).General).Defence)
            leader = c;
    f.General = st.CorpsRec(side, leader).General;
    b.GeneralAbility[side] = GeneralOf(st, side, f.General).SpecialAbility;

    std::array<int, 6> votes{};
    long long total = 0, withdrawing = 0, recon = 0;
    bool firstBattery = true, onlyGarrisons = true;
    int firstWithRegiments = 0;
    for (int c : listed) {
        const THad& h = st.CorpsRec(side, c);
        if (h.UnitCount <= 0) continue;
        if (firstWithRegiments == 0) firstWithRegiments = c;
        onlyGarrisons = onlyGarrisons && h.Garrison == 1;
        for (int i = 1; i <= UnitsOf(h); ++i) {
            const int r = UnitAt(h, i);
            if (!IsRegiment(st, side, r)) continue;
            TEzred& e = st.Regiment(side, r);
            e.FoughtInBattle = 0;
            if (!TakeDefendingRegiment(game, h, e, firstBattery) || f.UnitCount >= kCorpsUnitSlots) continue;
            e.BattleLine = 1;
            Append(f, r);
            if (h.Direction >= 0 && h.Direction <= 5) ++votes[static_cast<std::size_t>(h.Direction)];
            if (e.Arm != 1 && e.Type != 12) f.AllClassOne = 0;
        }
        total += h.UnitCount;
        if (h.Formation == 6 || h.Formation == 7) withdrawing += h.UnitCount;
        recon += 1LL * h.ReconLevel * h.UnitCount;
    }
    // A defending stack fights with at least its first regiment; a bombarded fortress whose
    // batteries all stay silent answers with none.
    if (f.UnitCount == 0 && firstWithRegiments != 0 && b.BattleMode != kBombardment) {
        const int r = UnitAt(st.CorpsRec(side, firstWithRegiments), 1);
        if (IsRegiment(st, side, r)) {
            st.Regiment(side, r).BattleLine = 1;
            Append(f, r);
            if (st.Regiment(side, r).Arm != 1 && st.Regiment(side, r).Type != 12) f.AllClassOne = 0;
        }
    }
    f.Garrison = firstWithRegiments != 0 && onlyGarrisons ? 1 : 0;
    f.Tactic = st.CorpsRec(side, leader).Tactic;
    int direction = 0;
    for (int d = 1; d <= 5; ++d)
        if (votes[static_cast<std::size_t>(d)] > votes[static_cast<std::size_t>(direction)]) direction = d;
    f.Direction = direction;
    f.Formation = 2 * withdrawing > total + 1 ? 6 : 1;
    f.ReconLevel = RoundHalfEvenRatio(recon, total + 1);
    if (f.CombatValue == 0) f.CombatValue = 1;
    RecomputeForce(st, side, f);
}

std::string AttackRefusal(Game& game, int side, int corps, Hex target, int mode) {
    State& st = game.state;
    if (!IsCorps(st, side, corps)) return "no such corps";
    if (side != st.ActiveSide) return "not the side's turn";
    const THad& h = st.CorpsRec(side, corps);
    if (h.UnitCount <= 0) return "the corps has no regiments";
    const bool inTarget = StandsOn(h, target.x, target.y);
    if (mode == kAssault) {
        const int city = CityAt(st, target.x, target.y);
        if (!inTarget || city == 0 || CityRec(st, city).Kind != 3 || CityRec(st, city).Owner != 3 - side)
            return "no enemy fortress on the corps' hex";
    }
    if (!EnemyToFight(st, side, target)) return "no enemy to attack there";
    if (Person(st, side) && !h.CanAttack && !(inTarget && h.CanStorm)) return "the corps may not attack";
    if (h.ArtilleryOnly) return "artillery alone cannot attack";
    const int required = AttackCostOf(mode) + AttackMoveCostOf(st, side, corps, target);
    if (st.CorpsRec(side, corps).MovementPoints < required) return "not enough movement points";
    return {};
}

int NetworkAttackCheck(Game& game, int side, int corps, Hex target, bool playSound) {
    State& st = game.state;
    if (!IsCorps(st, side, corps)) return -1;
    const THad& h = st.CorpsRec(side, corps);
    if (h.UnitCount <= 0 || h.ArtilleryOnly) return -1;
    // The person's permission PrepareBattle asks for on a single machine.
    if (Person(st, side) && !h.CanAttack && !(StandsOn(h, target.x, target.y) && h.CanStorm)) return -1;
    SetAttackMovement(st, side, corps, target);
    if (st.CorpsRec(side, corps).MovementPoints < st.Battle.RequiredMovement) return -1;
    if (playSound) game.screen.PlaySound(kSoundBattleStart);
    return 10;
}

int PrepareBattle(Game& game, int side, int corps, Hex target, bool playSound) {
    State& st = game.state;
    BattleState& b = st.Battle;
    // The supporters collected by order 25 stay: the estimate draws whether each joins.
    ResetKeepingSupporters(game);
    // The other machine of an e-mail game replays the estimate's draws from this record; it
    // carries the kind of attack estimated, which the attack screen sets for the estimate.
    if (st.PbemGame && st.ActiveSide == st.LocalSide)
        RecordOrder(game, TParancs{kOrderBattleRecord, target.x, target.y, side, corps, b.BattleMode});
    if (!IsCorps(st, side, corps)) return -1;
    {
        const THad& h = st.CorpsRec(side, corps);
        if (h.UnitCount <= 0) return -1;
        if (Person(st, side) && !h.CanAttack && !(StandsOn(h, target.x, target.y) && h.CanStorm)) return -1;
        if (h.ArtilleryOnly) return -1;
        if (!EnemyToFight(st, side, target)) return -1;
    }
    SetBattleSides(st, side, target);
    ForceIndexGuard guard(game);
    BuildDefendingForce(game, b.DefenderSide, target, b.DefendingForce);
    BuildAttackingForce(game, side, corps, target, b.AttackingForce);
    RecomputeForce(st, b.DefenderSide, b.DefendingForce);
    RecomputeForce(st, side, b.AttackingForce);
    SetAttackMovement(st, side, corps, target);
    if (st.CorpsRec(side, corps).MovementPoints < b.RequiredMovement) return -1;
    if (playSound) game.screen.PlaySound(kSoundBattleStart);

    b.AttackingForce.SelfIndex = b.DefendingForce.SelfIndex = 0;
    ApplyBattleModifiers(game, b.AttackingForce, b.DefendingForce);
    SelectEngagedUnits(game, b.AttackingForce, side, 1);
    SelectEngagedUnits(game, b.DefendingForce, b.DefenderSide, 1);
    int odds = EstimateOdds(game, side);
    if (st.PlayerType[side] != 2) {
        // What the attacker does not know of the defenders blurs the estimate.
        if (b.DefendingForce.ReconLevel == 1)
            odds = (R(game, 100) + 50) * odds / 100;
        else if (b.DefendingForce.ReconLevel == 2)
            odds = (R(game, 60) + 70) * odds / 100;
    }
    // The battle figures go back to what the regiments are.
    RecomputeForce(st, side, b.AttackingForce);
    RecomputeForce(st, b.DefenderSide, b.DefendingForce);
    HeldIndex held(game.watches, RecordKind::Corps, side, corps);
    RecomputeCorps(game, side, held.get());
    RecomputeCorpsOnHex(game, b.DefenderSide, target);
    return std::clamp(odds, 0, 99);
}

int ResolveBattle(Game& game, int side, int corps, Hex target) {
    State& st = game.state;
    BattleState& b = st.Battle;
    ForceIndexGuard guard(game);
    HeldIndex held(game.watches, RecordKind::Corps, side, corps);
    b.BattleSound = 2;
    b.TargetX = target.x;
    b.TargetY = target.y;
    b.TargetEntrenchment = st.Cell(target.x, target.y).Entrenchment;
    b.StackStrength = EnemyStrength(st, b.DefenderSide, target, true);

    const Hex origin{st.CorpsRec(side, corps).X, st.CorpsRec(side, corps).Y};
    if (DirectionTo(origin, target) <= 5) {
        st.CorpsRec(side, corps).Direction = DirectionTo(origin, target);
        game.screen.RefreshCorpsMarker(side, corps);
    }
    b.AttackMoveCost = AttackMoveCostOf(st, side, corps, target);
    // The attackers enter the target hex; the aftermath sends the loser away.
    if (origin != target) MoveCorpsStep(game, side, corps, b.AttackMoveCost, true, target);
    for (int i = 1; i <= 5; ++i) {
        const TSupportEntry& e = b.SupportList[static_cast<std::size_t>(i)];
        if (!e.Joins || !IsCorps(st, side, e.Corps) || e.Corps == held.get()) continue;
        if (StandsOn(st.CorpsRec(side, e.Corps), target.x, target.y)) continue;
        MoveCorpsStep(game, side, e.Corps, e.SupportMoveCost, true, target);
    }

    // The size of the battle: both forces together, and the attacking corps' own regiments
    // (supporters swell a battle's numbers, not the weight of the attack).
    const int total = b.AttackingForce.UnitCount + b.DefendingForce.UnitCount;
    int a = 0;
    for (int i = 1; i <= UnitsOf(b.AttackingForce); ++i)
        a += IsRegiment(st, side, UnitAt(b.AttackingForce, i)) &&
             st.Regiment(side, UnitAt(b.AttackingForce, i)).Corps == held.get();
    const int d = b.DefendingForce.UnitCount;
    if (total > 20 && a >= 9 && d >= 9)
        b.BattleKind = kFullBattle;
    else if (a < 2 || d < 2)
        b.BattleKind = kSkirmish;
    else
        b.BattleKind = kEngagement;
    static constexpr const char* kKindName[] = {"Csetepaté", "Ütközet", "Csata"};
    Report(game, 0, kKindName[b.BattleKind]);
    b.BattleValue = b.BattleKind == kFullBattle   ? st.BattleVictoryValue
                    : b.BattleKind == kEngagement ? st.EngagementVictoryValue
                                                  : 0;
    b.AttackingForce.X = origin.x;
    b.AttackingForce.Y = origin.y;
    ApplyBattleModifiers(game, b.AttackingForce, b.DefendingForce);
    b.AttackingForce.LastBattleEnemyStrength = b.DefendingForce.CombatValue;
    b.DefendingForce.LastBattleEnemyStrength = b.AttackingForce.CombatValue;

    SetRoundLimits(st);
    const THad& A = b.AttackingForce;
    const THad& D = b.DefendingForce;
    if (A.AllClassOne && D.AllClassOne)
        b.BattleSound = kSoundCavalryFight;
    else if (A.AllClassZero && D.AllClassZero && A.Guns + D.Guns < 8)
        b.BattleSound = kSoundInfantryFight;
    else if (b.BattleKind == kFullBattle)
        b.BattleSound = kSoundLongBattle;

    if (RetreatDecision(game, false, b.DefenderSide, 0, b.DefendingForce, b.AttackingForce)) {
        // The defender slips away before the first round: the attacker wins without a fight.
        b.EndedByRetreat = 1;
        b.Draw = 0;
        b.Winner = side;
        b.Loser = b.DefenderSide;
        b.WinnerForce = b.AttackingForce;
        b.LoserForce = b.DefendingForce;
    } else {
        FightBattle(game, b.AttackingForce, b.DefendingForce, side);
    }
    EndOfFight(game, side, held.get());
    return b.Winner;
}

bool StartBattle(Game& game, int mode, int side, int corps, Hex target) {
    State& st = game.state;
    BattleState& b = st.Battle;
    const int previousMode = b.BattleMode;
    b.BattleMode = mode;
    if (!AttackRefusal(game, side, corps, target, mode).empty()) {
        b.BattleMode = previousMode;
        return false;
    }
    ForceIndexGuard guard(game);
    HeldIndex held(game.watches, RecordKind::Corps, side, corps);
    THad& h = st.CorpsRec(side, corps);
    if (mode == kFieldAttack && DirectionTo(Hex{h.X, h.Y}, target) <= 5) {
        h.Direction = DirectionTo(Hex{h.X, h.Y}, target);
        game.screen.RefreshCorpsMarker(side, corps);
    }
    if (mode == kAssault)
        for (int i = 1; i <= 5; ++i) b.SupportList[static_cast<std::size_t>(i)] = TSupportEntry{};
    if (st.NetworkGame) {
        PrepareBattle(game, side, held.get(), target, false);
    } else {
        // What the estimate that precedes every attack leaves, drawn from nothing: a record
        // from a file or a replay starts from the same state as the player's attack.
        ResetKeepingSupporters(game);
        SetBattleSides(st, side, target);
        SetAttackMovement(st, side, held.get(), target);
    }
    b.BattleMode = mode;
    b.AttackCost = AttackCostOf(mode);
    BuildDefendingForce(game, 3 - side, target, b.DefendingForce);
    BuildAttackingForce(game, side, held.get(), target, b.AttackingForce);
    if (mode == kFieldAttack) {
        st.CorpsRec(side, held.get()).MarkerState = 1;
        RefreshHexStack(game, side, held.get(), st.CorpsRec(side, held.get()).X,
                        st.CorpsRec(side, held.get()).Y);
        for (int i = 1; i <= 5; ++i) {
            const TSupportEntry& e = b.SupportList[static_cast<std::size_t>(i)];
            if (!e.Joins || !IsCorps(st, side, e.Corps)) continue;
            THad& s = st.CorpsRec(side, e.Corps);
            s.MarkerState = 1;
            RefreshHexStack(game, side, e.Corps, s.X, s.Y);
            if (DirectionTo(Hex{s.X, s.Y}, target) <= 5) s.Direction = DirectionTo(Hex{s.X, s.Y}, target);
            game.screen.RefreshCorpsMarker(side, e.Corps);
        }
    }
    game.screen.PauseMusic();
    game.screen.OpenBattleReport();
    b.ReportOpen = 1;
    const int winner = ResolveBattle(game, side, held.get(), target);
    game.screen.EndSoundLoop();
    if (b.Draw)
        Report(game, 0, "Döntetlen");
    else
        Report(game, winner, winner == 1 ? "Magyar gyôzelem" : "Osztrák gyôzelem");
    if (!b.Draw) game.screen.PlaySound(winner == st.LocalSide ? kSoundVictory : kSoundDefeat);
    b.ReportOpen = 0;
    game.screen.CloseBattleReport();
    BattleAftermath(game, side, held.get());
    game.screen.RefreshMainScreen();
    game.screen.ResumeMusic();
    return true;
}

} // namespace vezer
