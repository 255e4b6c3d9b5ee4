// The fight of a prepared battle: the battle-time figures of every regiment, who fights in
// each round, initiative, superiority, the rounds, breaking off, the winner and the pursuit.

#include "battle/battle.h"
#include "battle/battle_internal.h"

#include "core/random.h"
#include "forces/strength.h"

#include <array>
#include <cmath>

namespace vezer {

using namespace battle;

namespace {

// Percent tables of the battle.
constexpr std::array<int, 3> kCrossingDefence = {100, 50, 30};    // attacker's DefenceValue by river class
constexpr std::array<int, 3> kCrossingCombat = {100, 160, 200};   // defender's CombatValueFull
constexpr std::array<int, 3> kEntrenchedCombat = {100, 150, 200}; // by entrenchment level
constexpr std::array<int, 3> kEntrenchedDefence = {100, 170, 210};
constexpr std::array<int, 4> kTerrainDefence = {100, 130, 180, 230}; // defender by target terrain
constexpr std::array<int, 4> kTerrainCavalry = {100, 90, 70, 70};    // cavalry of both sides

template <std::size_t N> int Table(const std::array<int, N>& t, int i) {
    return i >= 0 && i < static_cast<int>(N) ? t[static_cast<std::size_t>(i)] : 100;
}

double Root(double v) {
    return v > 0 ? std::sqrt(v) : 0.0;
}

int AttackPercentOf(const State& st, int formation) {
    return formation >= 1 && formation <= kFormationCount
               ? st.Formations[static_cast<std::size_t>(formation)].AttackPercent
               : 100;
}
int DefencePercentOf(const State& st, int formation) {
    return formation >= 1 && formation <= kFormationCount
               ? st.Formations[static_cast<std::size_t>(formation)].DefencePercent
               : 100;
}

// A general's rating as it turns out on the day.
int Jitter(Game& game, int a) {
    const int r = R(game, 100);
    if (r <= 50) return a;
    if (r <= 65) return a + R(game, 5) - 3;
    if (r <= 82) return a + R(game, 5);
    return a - R(game, 5);
}

// The river the attack crosses: the class of the attacker's hex side towards the target, none
// when frozen (or when the hexes are not neighbours).
int RiverCrossingOf(const State& st, Hex from, Hex to) {
    const int d = DirectionTo(from, to);
    if (d > 5) return 0;
    const int river = st.Cell(from.x, from.y).River[static_cast<std::size_t>(d)];
    if (river == 1 && st.RiverState == 4) return 0;
    if (river == 2 && st.DanubeState == 4) return 0;
    return river == 1 || river == 2 ? river : 0;
}

// The knowledge multiplier in percent: the side the enemy knows less well fights better.
int KnowledgePercent(int ownRecon, int enemyRecon) {
    const int d = ownRecon - enemyRecon;
    return d == 1 ? 120 : d == 2 ? 140 : 100;
}

bool WithinOneStep(int a, int b) {
    if (a < 0 || a > 5 || b < 0 || b > 5) return false;
    const int d = (a - b + 6) % 6;
    return d == 0 || d == 1 || d == 5;
}

void ReportPerformance(Game& game, int side, int general, int performance) {
    const TTabornok& g = GeneralOf(game.state, side, general);
    Report(game, NationIcon(g.Nation), g.FamilyName.str() + " teljesítmény: " + std::to_string(performance));
}

// Step 3: the attack falls on the defenders' rear.
bool RearAttackOf(const State& st, const THad& A, const THad& D) {
    const BattleState& b = st.Battle;
    bool rear = WithinOneStep(A.Direction, D.Direction);
    for (int i = 1; i <= 5 && !rear; ++i) {
        const TSupportEntry& e = b.SupportList[static_cast<std::size_t>(i)];
        if (!e.Joins || !IsCorps(st, b.AttackerSide, e.Corps)) continue;
        const THad& s = st.CorpsRec(b.AttackerSide, e.Corps);
        if (2 * s.CombatValue > b.StackStrength && WithinOneStep(s.Direction, D.Direction)) rear = true;
    }
    const int city = CityAt(st, D.X, D.Y);
    if (city && CityRec(st, city).Kind == 3 && CityRec(st, city).Owner == b.DefenderSide) rear = false;
    if (b.BattleMode == kAssault || st.Cell(D.X, D.Y).Entrenchment > 0) rear = false;
    return rear;
}

void ModifyAttacker(State& st, const THad& A, int knowledge) {
    const BattleState& b = st.Battle;
    const int side = b.AttackerSide;
    const int city = CityAt(st, b.TargetX, b.TargetY);
    for (int i = 1; i <= UnitsOf(A); ++i) {
        const int r = UnitAt(A, i);
        if (!IsRegiment(st, side, r)) continue;
        TEzred& e = st.Regiment(side, r);
        const int f = CorpsOfRegiment(st, side, e).Formation;
        if (IsArtillery(e) && f == 5 && b.BattleMode != kFieldAttack) e.DefenceValue *= 4;
        if (IsCavalry(e)) {
            e.CombatValueFull = Percent(e.CombatValueFull, Table(kTerrainCavalry, b.TargetTerrain));
            if (city) {
                e.CombatValueFull = Percent(e.CombatValueFull, 100 - 10 * CityRec(st, city).Kind);
                e.DefenceValue = Percent(e.DefenceValue, 100 - 10 * CityRec(st, city).Kind);
            }
        }
        e.CombatValueFull = Percent(e.CombatValueFull, AttackPercentOf(st, f));
        e.CombatValueFull = Percent(e.CombatValueFull, knowledge);
        e.CombatValueFull = Percent(e.CombatValueFull, b.GeneralPerformance[side] + 100);
        if (e.Type == kTypeFortressBattery && !InGarrison(st, side, e)) e.CombatValueFull = 1;
        if (e.Type == kTypeSiegeBattery && b.BattleMode == kFieldAttack) e.CombatValueFull = 1;
        if (b.RiverCrossing > 0)
            e.DefenceValue = Percent(e.DefenceValue, Table(kCrossingDefence, b.RiverCrossing));
        e.BattleLine = 1;
    }
}

void ModifyDefender(State& st, const THad& D, int knowledge) {
    const BattleState& b = st.Battle;
    const int side = b.DefenderSide;
    const int city = CityAt(st, b.TargetX, b.TargetY);
    for (int i = 1; i <= UnitsOf(D); ++i) {
        const int r = UnitAt(D, i);
        if (!IsRegiment(st, side, r)) continue;
        TEzred& e = st.Regiment(side, r);
        const int f = CorpsOfRegiment(st, side, e).Formation;
        if (IsCavalry(e))
            e.CombatValueFull = Percent(e.CombatValueFull, Table(kTerrainCavalry, b.TargetTerrain));
        e.CombatValueFull = Percent(e.CombatValueFull, AttackPercentOf(st, f));
        e.CombatValueFull = Percent(e.CombatValueFull, knowledge);
        e.DefenceValue = Percent(e.DefenceValue, DefencePercentOf(st, f));
        if (b.RearAttack) e.DefenceValue = Percent(e.DefenceValue, 30);
        if (city) {
            const TVaros& v = CityRec(st, city);
            if (b.BattleMode == kAssault)
                e.DefenceValue = Percent(e.DefenceValue, v.FortMax * v.FortMax + 100);
            if (b.BattleMode == kBombardment)
                e.DefenceValue = Percent(e.DefenceValue, v.FortStrength * v.FortMax + 100);
        }
        e.CombatValueFull = Percent(e.CombatValueFull, b.GeneralPerformance[side] + 100);
        e.BattleLine = 1;
        if (b.BattleMode == kFieldAttack && e.Type == kTypeFortressBattery && !InGarrison(st, side, e))
            e.CombatValueFull = 1;
        if (e.Type == kTypeSiegeBattery) e.CombatValueFull = 1;
        if (IsCavalry(e)) continue;
        if (b.RiverCrossing > 0)
            e.CombatValueFull = Percent(e.CombatValueFull, Table(kCrossingCombat, b.RiverCrossing));
        if (b.BattleMode == kAssault && IsInfantry(e)) e.CombatValueFull = Percent(e.CombatValueFull, 250);
        if (b.TargetEntrenchment == 1 || b.TargetEntrenchment == 2) {
            e.CombatValueFull = Percent(e.CombatValueFull, Table(kEntrenchedCombat, b.TargetEntrenchment));
            e.DefenceValue = Percent(e.DefenceValue, Table(kEntrenchedDefence, b.TargetEntrenchment));
        }
        if (b.TargetTerrain >= 1 && b.TargetTerrain <= 3)
            e.DefenceValue = Percent(e.DefenceValue, Table(kTerrainDefence, b.TargetTerrain));
    }
}

// Step 6: the force's figures from its regiments' battle figures.
void BattleFigures(State& st, int side, THad& f, bool defender) {
    const int n = UnitsOf(f);
    long long combat = 0, defence = 0, speed = 0, morale = 0, supply = 0, effective = 0;
    int cav = 0, inf = 0, guns = 0;
    f.AllClassOne = f.AllClassZero = f.ArtilleryOnly = 1;
    for (int i = 1; i <= n; ++i) {
        const int r = UnitAt(f, i);
        if (!IsRegiment(st, side, r)) continue;
        const TEzred& e = st.Regiment(side, r);
        combat += RoundHalfEvenRatio(1LL * e.CombatValueFull * e.FillPercent, 100);
        defence += e.DefenceValue;
        speed += e.MovementAllowance;
        morale += e.Morale;
        supply += e.Supply;
        if (e.CombatValueFull > 1) effective += e.FillPercent;
        if (TypeOf(st, e).ArmClass == 1)
            f.AllClassZero = 0;
        else
            f.AllClassOne = 0;
        if (!IsArtillery(e)) f.ArtilleryOnly = 0;
        if (e.Arm == 1) cav += e.Men;
        if (e.Arm == 2) inf += e.Men;
        if (e.Arm == 3) guns += e.Men;
    }
    const int divisor = n > 0 ? n : 1;
    f.CombatValue = static_cast<int>(std::clamp<long long>(combat, 1, 1'000'000'000));
    f.SumDefenceValue = static_cast<int>(defence);
    f.AvgMovementAllowance = static_cast<int>(speed / divisor);
    f.AvgMorale = static_cast<int>(morale / divisor);
    f.AvgSupply = static_cast<int>(supply / divisor);
    st.Battle.EffectiveUnits[side] = static_cast<int>(effective / 100 + 1);
    if (defender) {
        if (st.Battle.RearAttack) f.AvgMovementAllowance /= 3;
        f.CavalryMen = cav;
        f.InfantryMen = inf;
        f.Guns = guns;
    }
}

// Step 8 of the selection: the share of a class that fights.
double QuotaFraction(const State& st, int N, bool attacker) {
    const BattleState& b = st.Battle;
    double fraction = N <= 5 ? 1.0 : N <= 15 ? 0.75 : N <= 30 ? 0.6 : N <= 50 ? 0.4 : 0.3;
    if (attacker) {
        if (b.RiverCrossing == 1) fraction *= 0.7;
        if (b.RiverCrossing == 2) fraction *= 0.55;
        if (b.TargetTerrain == 2 || b.TargetTerrain == 3) fraction *= 0.8;
        if (b.BattleMode == kAssault) fraction *= 0.8;
    }
    return fraction < 0.4 ? 0.4 : fraction;
}

int SelectionClass(const TEzred& e) {
    if (e.Type == kTypeFortressBattery) return 4;
    if (e.Type == kTypeSiegeBattery) return 5;
    return e.Arm >= 1 && e.Arm <= 3 ? e.Arm : 0;
}

// Step 10: the class's units with the best readiness (and some luck) fight.
void PickEngaged(Game& game, THad& f, int side, int round, int cls, int quota) {
    State& st = game.state;
    for (int picked = 0; picked < quota; ++picked) {
        int best = 0, bestReadiness = -1;
        for (int i = 1; i <= UnitsOf(f); ++i) {
            const int r = UnitAt(f, i);
            if (!IsRegiment(st, side, r)) continue;
            const TEzred& e = st.Regiment(side, r);
            if (SelectionClass(e) != cls || e.EngagedInRound) continue;
            const int readiness = e.Type == 12 && round == 1 ? e.Readiness * 3 / 2 : e.Readiness;
            // The draw is set against the best unit's readiness as it stands, without its luck.
            if (R(game, 15) + readiness > bestReadiness) {
                best = r;
                bestReadiness = e.Readiness;
            }
        }
        if (best == 0) return;
        st.Regiment(side, best).EngagedInRound = 1;
    }
}

// Step 6 of the fight: the regiments that fought are tired.
void Fatigue(State& st, const THad& f, int side, bool defender) {
    const BattleState& b = st.Battle;
    const int k = b.BattleKind == kSkirmish ? 2 : b.Round < 3 ? 4 : 8;
    for (int i = 1; i <= UnitsOf(f); ++i) {
        const int r = UnitAt(f, i);
        if (!IsRegiment(st, side, r)) continue;
        TEzred& e = st.Regiment(side, r);
        if (!e.FoughtInBattle) continue;
        e.Readiness = ClampSub(e.Readiness, IsCavalry(e) ? k / 2 : k);
        e.Supply = ClampSub(e.Supply, k);
        if (defender) e.MovementUsed = std::clamp(e.MovementUsed + b.AttackCost, 0, 100);
    }
}

void Pursue(Game& game, THad& W, THad& L) {
    State& st = game.state;
    BattleState& b = st.Battle;
    const int winner = b.Winner, loser = b.Loser;
    double ratio = static_cast<double>(W.AvgMovementAllowance) / (L.AvgMovementAllowance + 1);
    ratio = std::clamp(ratio, 0.1, 1.7);
    const TTabornok& g = GeneralOf(st, winner, W.General);
    double p = g.Initiative * ratio * 10 * Root(static_cast<double>(W.CombatValue) / (L.CombatValue + 1));
    int chance = RoundHalfEven(p * (winner == b.AttackerSide ? 1.2 : 0.8));
    if (b.CavalrySuperiority[winner]) chance = RoundHalfEven(chance * 1.3);
    if (b.CavalrySuperiority[loser]) chance = RoundHalfEven(chance * 0.7);
    bool menLeft = false;
    for (int i = 1; i <= UnitsOf(L); ++i)
        if (IsRegiment(st, loser, UnitAt(L, i)) && st.Regiment(loser, UnitAt(L, i)).Men > 0) menLeft = true;
    if (L.AllClassOne || !menLeft) chance = 0;
    if (R(game, 100) > chance) return;
    b.Pursuit = 1;
    if (b.Round == 1) b.Round = 2;
    SelectEngagedUnits(game, W, winner, b.Round);
    SelectEngagedUnits(game, L, loser, b.Round);
    Report(game, 0, kReportSeparator);
    Report(game, NationIcon(W.Nation), g.FamilyName.str() + " üldözi az ellenséget!");
    SideActs(game, true, winner, b.Round, L, W);
}

std::string Signed(int v) {
    return (v > 0 ? "+" : "") + std::to_string(v);
}

// Steps 2 and 3 of the fight: superiority in horse and in numbers.
void Superiority(Game& game, const THad& A, const THad& D, int attacker) {
    State& st = game.state;
    BattleState& b = st.Battle;
    const int defender = 3 - attacker;
    if (b.TargetEntrenchment == 0) {
        const THad* gets = nullptr;
        int side = 0;
        if (A.CavalryMen > 500 && 2 * A.CavalryMen > 3 * D.CavalryMen)
            gets = &A, side = attacker;
        else if (D.CavalryMen > 500 && 2 * D.CavalryMen > 3 * A.CavalryMen)
            gets = &D, side = defender;
        if (gets) {
            b.CavalrySuperiority[side] = 1;
            Report(game, NationIcon(gets->Nation),
                   NationNameByFlag(st, gets->Nation) + " lovassági fölény! +10 morál a lovasságnak");
        }
    }
    if (b.BattleMode == kAssault) return;
    auto penalty = [](const THad& strong, const THad& weak) {
        int r = (11 * strong.CombatValue / 10) / (weak.CombatValue + 1);
        if (weak.CavalryMen + weak.InfantryMen > strong.CavalryMen + strong.InfantryMen) r = 0;
        return r >= 2 ? std::min(50, 10 * (r - 1)) : 0;
    };
    if (int p = penalty(A, D); p > 0) {
        b.OutnumberedPenalty[defender] = -p;
        Report(game, 0, "Támadó túlerö, védök -" + std::to_string(p) + " morál.");
    }
    if (int p = penalty(D, A); p > 0) {
        b.OutnumberedPenalty[attacker] = -p;
        Report(game, 0, "Védö túlerö, támadók -" + std::to_string(p) + " morál.");
    }
}

} // namespace

namespace battle {

// Step 8 of the fight: the tallies decide when nobody broke off.
void DecideWinner(State& st, int attacker, bool brokeOff, int breaker) {
    BattleState& b = st.Battle;
    const int defender = 3 - attacker;
    b.Draw = 0;
    auto& T = b.AdjustedTally;
    T[1] = b.MoraleTally[1];
    T[2] = b.MoraleTally[2];
    const int m = std::max(T[1], T[2]);
    if (m > 0) {
        T[1] -= m + 1;
        T[2] -= m + 1;
    }
    for (int s = 1; s <= 2; ++s)
        if (b.MoraleTally[s] == 0 && T[s] == 0) {
            b.MoraleTally[s] = -1;
            T[s] = 1;
        }
    if (brokeOff) {
        b.Winner = 3 - breaker;
        return;
    }
    const double q = static_cast<double>(T[attacker]) / T[defender];
    const int delta = std::abs(b.MoraleTally[attacker] - b.MoraleTally[defender]);
    if ((q > 0.8 && q < 1.2) || delta < 3) {
        b.Draw = 1;
        b.Winner = defender;
    } else {
        b.Winner = T[attacker] > T[defender] ? attacker : defender;
    }
}

} // namespace battle

void ApplyBattleModifiers(Game& game, THad& A, THad& D) {
    State& st = game.state;
    BattleState& b = st.Battle;
    const int attacker = b.AttackerSide, defender = b.DefenderSide;
    b.RiverCrossing = RiverCrossingOf(st, Hex{A.X, A.Y}, Hex{D.X, D.Y});
    b.TargetTerrain = st.Cell(D.X, D.Y).Terrain;

    const TTabornok& ga = GeneralOf(st, attacker, A.General);
    int performance = Jitter(game, ga.Attack);
    if (b.RiverCrossing == 2 && ga.SpecialAbility == 8) performance += 3;
    b.GeneralPerformance[attacker] = performance;
    ReportPerformance(game, attacker, A.General, performance);
    b.GeneralPerformance[defender] = Jitter(game, GeneralOf(st, defender, D.General).Defence);
    ReportPerformance(game, defender, D.General, b.GeneralPerformance[defender]);

    const int mA = KnowledgePercent(A.ReconLevel, D.ReconLevel);
    const int mD = KnowledgePercent(D.ReconLevel, A.ReconLevel);
    b.RearAttack = RearAttackOf(st, A, D);
    if (b.RearAttack) Report(game, attacker, "Hátba támadás!");

    ModifyAttacker(st, A, mA);
    ModifyDefender(st, D, mD);
    BattleFigures(st, attacker, A, false);
    BattleFigures(st, defender, D, true);

    b.Overrun = A.AvgMovementAllowance > D.AvgMovementAllowance + D.AvgMovementAllowance / 2 &&
                (D.ArtilleryOnly || A.CombatValue > 4 * D.CombatValue);
    if (b.Overrun) Report(game, st.ActiveSide, "Lerohanás");
}

int InitiativeScore(Game& game, int side, const THad& F, int enemySpeed, bool attacking) {
    State& st = game.state;
    const BattleState& b = st.Battle;
    long long experience = 0, readiness = 0;
    int n = 0;
    for (int i = 1; i <= UnitsOf(F); ++i) {
        const int r = UnitAt(F, i);
        if (!IsRegiment(st, side, r)) continue;
        experience += st.Regiment(side, r).Experience;
        readiness += st.Regiment(side, r).Readiness;
        ++n;
    }
    const int e = n > 0 ? static_cast<int>(experience / n) : 0;
    const int rd = n > 0 ? static_cast<int>(readiness / n) : 0;
    const int v = 8 * GeneralOf(st, side, F.General).Initiative + 100;
    int x = RoundHalfEven(Root(static_cast<double>(F.AvgMovementAllowance) / (enemySpeed + 1)) * v);
    if (2 * F.AvgMovementAllowance < enemySpeed) x = 0;
    if (F.Formation == 4) x = x * 3 / 2;
    if ((b.BattleMode == kAssault || b.BattleMode == 4) && attacking) x *= 2;
    int y = RoundHalfEvenRatio(1LL * x * (e + rd / 2), 100);
    if (attacking) {
        y = RoundHalfEvenRatio(1LL * y * 12, 10);
        if (b.RiverCrossing == 1) y /= 2;
        if (b.RiverCrossing == 2) y /= 3;
        if (b.RearAttack) y *= 2;
    }
    if (F.AllClassOne) y = RoundHalfEvenRatio(1LL * y * 12, 10);
    if (F.AllClassZero) y /= 2;
    return std::max(0, y);
}

void SelectEngagedUnits(Game& game, THad& f, int side, int round) {
    State& st = game.state;
    BattleState& b = st.Battle;
    const bool attacker = side == b.AttackerSide;
    f.CombatValue = f.SumDefenceValue = f.AvgMovementAllowance = 0;
    f.CavalryMen = f.InfantryMen = f.Guns = 0;
    int g = b.GeneralPerformance[side];
    if (g < 1) g = 2;
    const int commit = std::min(100, RoundHalfEven(Root(3.0 * g) * 10 + 33));
    const int d = attacker ? 2000 : 1000;

    std::array<int, 6> n{};
    int N = 0, batteryMen = 0;
    long long speed = 0;
    for (int i = 1; i <= UnitsOf(f); ++i) {
        const int r = UnitAt(f, i);
        if (!IsRegiment(st, side, r)) continue;
        TEzred& e = st.Regiment(side, r);
        e.EngagedInRound = e.ActedInRound = 0;
        const int cls = SelectionClass(e);
        f.SumDefenceValue += e.DefenceValue;
        if (e.Arm == 1) f.CavalryMen += e.Men;
        if (e.Arm == 2) f.InfantryMen += e.Men;
        if (e.Arm == 3) f.Guns += e.Men;
        speed += e.MovementAllowance;
        if (cls == 4) batteryMen += e.Men;
        bool eligible = cls != 0;
        if (cls == 2 && round == 1 && b.OpeningBombardment) eligible = false;
        if (cls == 4 && !InGarrison(st, side, e) && !(b.BattleMode == kAssault && !attacker))
            eligible = false;
        if (cls == 5 && !(b.BattleMode == kAssault && attacker)) eligible = false;
        if (eligible) {
            ++n[static_cast<std::size_t>(cls)];
            ++N;
        }
    }
    const int units = UnitsOf(f) > 0 ? UnitsOf(f) : 1;
    f.AvgMovementAllowance = RoundHalfEvenRatio(speed, units);
    if (!attacker && b.RearAttack) f.AvgMovementAllowance /= 3;

    // Artillery without enough horse and foot to cover it stays partly in reserve.
    const int cav = RoundHalfEvenRatio(f.CavalryMen, d), inf = RoundHalfEvenRatio(f.InfantryMen, d);
    const int art =
        RoundHalfEvenRatio(f.Guns - batteryMen, std::max(1, st.Types[kTypeFootBattery].FullStrength));
    double ratio = cav + inf > 0 ? static_cast<double>(art) / (cav + inf) : 10.0;
    if (art == 0 || ratio < 1) ratio = 1;
    f.ArtilleryRatio = ratio;
    if (ratio > 1 && round == 1)
        Report(game, NationIcon(f.Nation),
               "Tüzérség nincs kellöen fedezve, az ütegek egy része tartalékban marad");
    if (n[3] >= 1 && ratio > 1) n[3] = std::max(1, RoundHalfEven(n[3] / ratio));
    if (b.Pursuit) n[3] = n[4] = n[5] = 0;

    std::array<int, 6> quota{};
    const double fraction = QuotaFraction(st, N, attacker);
    for (int cls = 1; cls <= 3; ++cls) {
        const int count = n[static_cast<std::size_t>(cls)];
        int q = RoundHalfEvenRatio(1LL * count * commit, 100);
        q = RoundHalfEven(q * fraction);
        quota[static_cast<std::size_t>(cls)] = std::clamp(q, count == 0 ? 0 : 1, count);
    }
    quota[4] = n[4];
    quota[5] = n[5];
    const int opening = b.OpeningBombardment ? 1 : 0;
    if (opening < round && round <= b.FireRounds && quota[2] > 2) quota[1] /= 2;

    for (int i = 1; i <= UnitsOf(f); ++i)
        if (IsRegiment(st, side, UnitAt(f, i))) st.Regiment(side, UnitAt(f, i)).EngagedInRound = 0;
    for (int cls = 1; cls <= 5; ++cls)
        PickEngaged(game, f, side, round, cls, quota[static_cast<std::size_t>(cls)]);

    long long combat = 0;
    for (int i = 1; i <= UnitsOf(f); ++i) {
        const int r = UnitAt(f, i);
        if (!IsRegiment(st, side, r) || !st.Regiment(side, r).EngagedInRound) continue;
        combat += RoundHalfEvenRatio(
            1LL * st.Regiment(side, r).CombatValueFull * st.Regiment(side, r).FillPercent, 100);
    }
    f.CombatValue = static_cast<int>(std::clamp<long long>(combat, 1, 1'000'000'000));
}

void SetRoundLimits(State& st) {
    BattleState& b = st.Battle;
    int v = b.AttackingForce.Guns < 5 || b.DefendingForce.Guns < 5 ? 1 : 0;
    if (b.AttackingForce.UnitCount < 3 && b.DefendingForce.UnitCount < 3) v += 1;
    b.OpeningBombardment = v == 0;
    b.FireRounds = 4 - v;
    b.MaxRounds = 5 - v;
}

int FightBattle(Game& game, THad& A, THad& D, int attacker) {
    State& st = game.state;
    BattleState& b = st.Battle;
    const int defender = 3 - attacker;
    const int iA = InitiativeScore(game, attacker, A, D.AvgMovementAllowance, true) + 1;
    const int iD = InitiativeScore(game, defender, D, A.AvgMovementAllowance, false) + 1;
    const int p = RoundHalfEvenRatio(100LL * iA, iA + iD + 1);
    const bool attackerFirst = R(game, 100) <= p;
    {
        const THad& first = attackerFirst ? A : D;
        const int side = attackerFirst ? attacker : defender;
        Report(game, NationIcon(first.Nation),
               GeneralOf(st, side, first.General).FamilyName.str() + " megszerzi a kezdeményezést!");
    }
    Superiority(game, A, D, attacker);
    SelectEngagedUnits(game, A, attacker, 1);
    SelectEngagedUnits(game, D, defender, 1);

    int breaker = 0;
    do {
        b.Round += 1;
        if (attackerFirst) {
            SideActs(game, true, attacker, b.Round, D, A);
            SideActs(game, false, defender, b.Round, A, D);
        } else {
            SideActs(game, false, defender, b.Round, A, D);
            SideActs(game, true, attacker, b.Round, D, A);
        }
        SelectEngagedUnits(game, A, attacker, b.Round + 1);
        SelectEngagedUnits(game, D, defender, b.Round + 1);
        const bool defenderAsked = A.Tactic > D.Tactic;
        const int firstAsked = defenderAsked ? defender : attacker;
        auto asks = [&](int side) {
            return side == attacker ? RetreatDecision(game, true, attacker, b.Round, A, D)
                                    : RetreatDecision(game, false, defender, b.Round, D, A);
        };
        if (asks(firstAsked))
            breaker = firstAsked;
        else if (asks(3 - firstAsked))
            breaker = 3 - firstAsked;
        if (breaker) b.EndedByRetreat = 1;
    } while (!breaker && b.Round < b.MaxRounds);

    Fatigue(st, A, attacker, false);
    Fatigue(st, D, defender, true);
    DecideWinner(st, attacker, breaker != 0, breaker);
    b.Loser = 3 - b.Winner;
    b.WinnerForce = b.Winner == attacker ? A : D;
    b.LoserForce = b.Winner == attacker ? D : A;
    if (b.BattleMode == kFieldAttack) Pursue(game, b.WinnerForce, b.LoserForce);

    Report(game, 0, kReportSeparator);
    Report(game, 1, "Magyar morál változás: " + Signed(b.MoraleTally[1]));
    Report(game, 2, "Osztrák morál változás: " + Signed(b.MoraleTally[2]));
    return b.Winner;
}

bool RetreatDecision(Game& game, bool attacking, int side, int round, THad& O, THad& E) {
    State& st = game.state;
    BattleState& b = st.Battle;
    const int enemy = 3 - side;
    if (!attacking && (b.BattleMode == kAssault || O.Garrison == 1)) return false;
    if (E.AllClassOne || E.ArtilleryOnly) return false;

    int so = O.AvgMovementAllowance, se = E.AvgMovementAllowance;
    if (!attacking) so = (b.RiverCrossing + 3) * so / 3;
    if (b.CavalrySuperiority[enemy] || O.AllClassZero) so = so * 7 / 10;
    if (b.CavalrySuperiority[side] || E.AllClassZero) se = se * 7 / 10;

    int formation = O.Formation, tactic = O.Tactic;
    if ((st.PlayerType[side] == 1 || st.PlayerType[side] == 3) && st.Difficulty == 1) {
        // A beginner's force is judged as if it stood as a sensible commander would have it.
        if (E.CombatValue > 3 * O.CombatValue)
            formation = 6, tactic = 1;
        else if (E.CombatValue * 3 / 2 < O.CombatValue)
            tactic = 3;
        else
            formation = 4, tactic = 2;
    }
    const std::string name = GeneralOf(st, side, O.General).FamilyName.str();
    const int icon = NationIcon(GeneralOf(st, side, O.General).Nation);

    if (!attacking && formation == 6 && tactic == 1 && E.Formation != 3) {
        if (R(game, RoundHalfEvenRatio(2LL * so, 1)) <= se) return false;
        Report(game, icon, name + " " + " retreats");
        return true;
    }
    if (!(tactic == 1 || round >= 2 || formation == 6) || O.ArtilleryOnly) return false;

    const int ho = RoundHalfEvenRatio(b.HitTally[side], O.UnitCount + 1);
    int he = RoundHalfEvenRatio(b.HitTally[enemy], E.UnitCount + 1);
    if (he == 0) he = 1;
    const int mo = RoundHalfEvenRatio(b.MoraleTally[side], O.UnitCount + 1);
    const int me = RoundHalfEvenRatio(b.MoraleTally[enemy], E.UnitCount + 1);
    const double cr = static_cast<double>(E.CombatValue) / (O.CombatValue != 0 ? O.CombatValue : 1);
    const double hits = static_cast<double>(ho) / he;
    bool breaks = false;
    if (formation == 6 && round == 2 && mo < me) breaks = true;
    if (tactic == 1 && (cr > 1.0 || hits > 1.3 || mo < me) && ho >= 1 && mo < -4) breaks = true;
    if (tactic == 2 && (cr > 1.5 || static_cast<double>(ho) / (he + 1) > 1.5 || mo + 5 < me) && ho >= 2 &&
        mo < -8)
        breaks = true;
    if (tactic == 3 && (cr > 2.0 || hits > 2.0 || mo + 10 < me) && ho >= 3 && mo < -11) breaks = true;
    if (O.AllClassOne && cr > 2.0) breaks = true;
    if (!breaks || mo > me - 3) return false;
    int t = so;
    if (tactic == 1) t = RoundHalfEvenRatio(12LL * t, 10);
    if (formation == 6) t = RoundHalfEvenRatio(12LL * t, 10);
    if (b.CavalrySuperiority[enemy]) t /= 2;
    const int getAway = R(game, t);
    if (getAway < R(game, se)) return false;
    Report(game, icon, name + " retreats");
    b.Draw = 0;
    return true;
}

} // namespace vezer
