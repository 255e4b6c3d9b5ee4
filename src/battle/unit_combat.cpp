// One unit's action in a round: its target, the charge or the fire, the losses of each
// exchange and the morale tests that follow.

#include "battle/battle.h"
#include "battle/battle_internal.h"

#include "core/random.h"
#include "core/texts.h"
#include "forces/strength.h"

namespace vezer {

using namespace battle;

namespace {

int FullStrengthOf(const State& st, const TEzred& e) {
    return std::max(1, TypeOf(st, e).FullStrength);
}

bool SideIsComputer(const State& st, int side) {
    return st.PlayerType[side] == 2;
}

// The difficulty bonus of the computer's side in every morale test.
int DifficultyBonus(const State& st, int side) {
    if (!SideIsComputer(st, side)) return 0;
    if (st.Difficulty == 1) return st.AiBattleBonusEasy;
    if (st.Difficulty == 3) return st.AiBattleBonusHard;
    return 0;
}

// The guns of all fortress batteries of a garrison corps.
int GarrisonBatteryGuns(const State& st, int side, int corps) {
    const THad& g = st.CorpsRec(side, corps);
    int guns = 0;
    for (int i = 1; i <= UnitsOf(g); ++i) {
        const int r = UnitAt(g, i);
        if (IsRegiment(st, side, r) && st.Regiment(side, r).Type == kTypeFortressBattery)
            guns += st.Regiment(side, r).Men;
    }
    return guns;
}

const char* ArmWord(const TEzred& e) {
    return IsCavalry(e) ? " Lovas: " : IsInfantry(e) ? " Gyalogos: " : " Löveg: ";
}

// The unit answers a blow: its own test, and the opponent's fighting spirit when it gives way.
void TestUnit(Game& game, int side, int u, int enemy, int t) {
    const int v = MoraleCheck(game, side, u, true);
    if (v != 1) SpiritRise(game, enemy, t, v);
}

void ChargeLine(Game& game, int side, int u, int enemy, int t) {
    const State& st = game.state;
    Report(game, NationIcon(st.Regiment(side, u).Nation),
           RegimentSubject(st, side, u) + " megrohamozza " + RegimentObject(st, enemy, t) + ".");
}

void CavalryActs(Game& game, int side, int u, int enemy, int t, const THad& E) {
    State& st = game.state;
    const bool pursuit = st.Battle.Pursuit;
    int v = 1;
    // A horseman must dare the charge.
    if (!E.ArtilleryOnly) v = MoraleCheck(game, side, u, false);
    if (v != 1 && !pursuit) return;
    ReportSeparator(game, side);
    ChargeLine(game, side, u, enemy, t);
    if (IsCavalry(st.Regiment(enemy, t))) {
        const int m = InflictLosses(game, side, u, t);
        const int c = pursuit ? 0 : InflictLosses(game, enemy, t, u);
        if (c < m && m > 3) v = MoraleCheck(game, enemy, t, true);
        if (v != 1) SpiritRise(game, side, u, v);
        if (v == 1 && m < c && c > 3) TestUnit(game, side, u, enemy, t);
        return;
    }
    TEzred& target = st.Regiment(enemy, t);
    target.Morale = ClampSub(target.Morale, 2);
    Report(game, NationIcon(target.Nation), RegimentTitle(st, enemy, t) + " Morál: -2");
    const int H = InflictLosses(game, side, u, t);
    v = MoraleCheck(game, enemy, t, true);
    if (v != 1) SpiritRise(game, side, u, v);
    if (v == 1 && !IsArtillery(st.Regiment(enemy, t)) && !pursuit) {
        Report(game, NationIcon(st.Regiment(enemy, t).Nation),
               RegimentSubject(st, enemy, t) + " állja a rohamot és harcol");
        const int c = InflictLosses(game, enemy, t, u);
        st.Regiment(enemy, t).ActedInRound = 1;
        if (c > 3 && H < c) TestUnit(game, side, u, enemy, t);
    }
}

void InfantryActs(Game& game, int side, int u, int enemy, int t, int round) {
    State& st = game.state;
    const bool pursuit = st.Battle.Pursuit;
    ReportSeparator(game, side);
    int v = 1;
    if (round > st.Battle.FireRounds) {
        ChargeLine(game, side, u, enemy, t);
        const int m = InflictLosses(game, side, u, t);
        const int c = IsArtillery(st.Regiment(enemy, t)) || pursuit ? 0 : InflictLosses(game, enemy, t, u);
        // A bayonet charge that hit hard tests the charged unit, as a clash of horse does.
        if (c < m && m > 3) v = MoraleCheck(game, enemy, t, true);
        if (v != 1) SpiritRise(game, side, u, v);
        if (v == 1 && m < c && c > 3) TestUnit(game, side, u, enemy, t);
        return;
    }
    Report(game, NationIcon(st.Regiment(side, u).Nation),
           RegimentSubject(st, side, u) + " tüzet nyit " + RegimentGoal(st, enemy, t));
    const int m = InflictLosses(game, side, u, t);
    if (m > 3) v = MoraleCheck(game, enemy, t, true);
    if (v != 1) SpiritRise(game, side, u, v);
    const TEzred& target = st.Regiment(enemy, t);
    if (v != 1 || !target.EngagedInRound || pursuit) return;
    const int chance = IsInfantry(target) ? 40 : IsArtillery(target) ? 25 : 0;
    if (chance == 0 || R(game, 100) > chance) return;
    Report(game, NationIcon(target.Nation), RegimentSubject(st, enemy, t) + " viszonozza a tüzet.");
    const int c = InflictLosses(game, enemy, t, u);
    if (c > 3 && m < c) TestUnit(game, side, u, enemy, t);
    st.Regiment(enemy, t).ActedInRound = 1;
}

void ArtilleryActs(Game& game, int side, int u, int enemy, int t) {
    State& st = game.state;
    ReportSeparator(game, side);
    Report(game, NationIcon(st.Regiment(side, u).Nation),
           RegimentSubject(st, side, u) + " tüzet nyit " + RegimentGoal(st, enemy, t) + ".");
    const int m = InflictLosses(game, side, u, t);
    int v = 1;
    if (m > 3 || IsArtillery(st.Regiment(enemy, t))) v = MoraleCheck(game, enemy, t, true);
    if (v != 1) SpiritRise(game, side, u, v);
    const TEzred& target = st.Regiment(enemy, t);
    // Horse and foot do not answer guns; a battery answers now and then.
    if (v != 1 || !target.EngagedInRound || !IsArtillery(target)) return;
    if (R(game, 100) > 30) return;
    Report(game, NationIcon(target.Nation), RegimentSubject(st, enemy, t) + " viszonozza a tüzet.");
    const int c = InflictLosses(game, enemy, t, u);
    if (c > 3) TestUnit(game, side, u, enemy, t);
    st.Regiment(enemy, t).ActedInRound = 1;
}

// PickTarget step 2: the draw bands of the three arms.
struct Bands {
    int lo = 0;
    int hi = 0;
};

Bands BandsFor(const State& st, bool attacking, const TEzred& u, const THad& E, int enemy) {
    const BattleState& b = st.Battle;
    long long cav = 0, inf = 0, art = 0;
    for (int i = 1; i <= UnitsOf(E); ++i) {
        const int r = UnitAt(E, i);
        if (!IsRegiment(st, enemy, r)) continue;
        const TEzred& e = st.Regiment(enemy, r);
        if (e.BattleLine == 3 && !b.Pursuit) continue;
        if (IsCavalry(e))
            cav += e.Men;
        else if (IsInfantry(e))
            inf += e.Men;
        else if (IsArtillery(e))
            art += e.Men;
    }
    const double a = std::min(E.ArtilleryRatio, 4.0);
    const double q = cav > 0 ? static_cast<double>(inf) / (6.0 * cav) : 3.0;
    Bands band;
    if (IsCavalry(u)) {
        band.lo = 100 - RoundHalfEven(10 * a) - RoundHalfEven(15 * q);
        band.hi = 100 - RoundHalfEven(10 * a);
    } else if (IsInfantry(u)) {
        band.lo = cav > 0 && b.Round <= b.FireRounds ? 10 : 0;
        band.hi = 100 - RoundHalfEven(a);
    } else {
        band.lo = 10;
        band.hi = attacking ? 40 : 70;
    }
    if (inf == 0) band.lo = 80;
    if (cav == 0) band.hi = 80, band.lo = 0;
    if (inf == 0 && art == 0) band.lo = 101;
    if (cav == 0 && art == 0) band.lo = 0, band.hi = 101;
    if (inf == 0 && cav == 0) band.hi = 0;
    return band;
}

bool InBand(const Bands& band, const TEzred& t, int r) {
    if (IsCavalry(t)) return r <= band.lo;
    if (IsInfantry(t)) return r > band.lo && r <= band.hi;
    return r > band.hi;
}

} // namespace

void SideActs(Game& game, bool attacking, int side, int round, THad& E, THad& O) {
    State& st = game.state;
    BattleState& b = st.Battle;
    if (b.BattleSound == 2) b.BattleSound = 20 + R(game, 4);
    if (round == 1 && attacking) game.screen.PlaySound(b.BattleSound);
    const int enemy = 3 - side;
    for (int i = 1; i <= UnitsOf(O); ++i) {
        const int u = UnitAt(O, i);
        if (!IsRegiment(st, side, u)) continue;
        const TEzred& e = st.Regiment(side, u);
        if (e.ActedInRound || !e.EngagedInRound || e.Men <= 0 || e.BattleLine != 1) continue;
        const int t = PickTarget(game, attacking, side, u, E);
        if (t == 0) continue;
        st.Regiment(side, u).ActedInRound = 1;
        if (IsCavalry(e))
            CavalryActs(game, side, u, enemy, t, E);
        else if (IsInfantry(e))
            InfantryActs(game, side, u, enemy, t, round);
        else
            ArtilleryActs(game, side, u, enemy, t);
    }
}

int PickTarget(Game& game, bool attacking, int side, int unit, const THad& E) {
    State& st = game.state;
    const BattleState& b = st.Battle;
    const int enemy = 3 - side;
    const TEzred& u = st.Regiment(side, unit);
    const Bands band = BandsFor(st, attacking, u, E, enemy);
    const int count = UnitsOf(E);
    int k = 0;
    while (true) {
        k += 2;
        const int pick = R(game, count);
        const int t = count > 0 ? UnitAt(E, pick) : 0;
        if (IsRegiment(st, enemy, t)) {
            const TEzred& e = st.Regiment(enemy, t);
            const bool fled = e.BattleLine == 3;
            const bool candidate =
                b.Pursuit || CorpsOfRegiment(st, enemy, e).ArtilleryOnly ||
                (!fled && (e.EngagedInRound || IsCavalry(u) || (IsArtillery(u) && IsInfantry(e))));
            if (candidate) {
                bool accepted = InBand(band, e, R(game, 100));
                if (IsInfantry(u) && e.Type == 12 && !E.AllClassOne) accepted = false;
                if (IsInfantry(u) && IsCavalry(e) && b.Round > b.FireRounds) accepted = false;
                // A battle whose first exchange cannot be found takes any unit.
                if (!accepted && b.CombatEvents == 0 && k > 8 * count) accepted = true;
                if (e.Type == kTypeFortressBattery && InGarrison(st, enemy, e) && !IsArtillery(u))
                    accepted = false;
                if (accepted) return e.Men > 0 ? t : 0;
            }
        }
        if (k > 10 * count) return 0;
    }
}

int InflictLosses(Game& game, int s, int unit, int target) {
    State& st = game.state;
    BattleState& b = st.Battle;
    const int e = 3 - s;
    TEzred& u = st.Regiment(s, unit);
    TEzred& t = st.Regiment(e, target);
    b.CombatEvents += 1;
    u.FoughtInBattle = 1;
    t.FoughtInBattle = 1;

    int A = (u.CombatValueFull + u.Experience) / 2;
    int D = b.Pursuit || b.Overrun ? 0 : t.DefenceValue;
    if (b.GeneralAbility[s] == 4 && IsArtillery(u)) A = 4 * A / 3;
    int r = R(game, 100);
    int severity = r < A / 10 ? 4 : r < A / 3 ? 2 : r < A ? 1 : 0;
    if (IsArtillery(t)) {
        if (!IsCavalry(u)) D *= 2;
        if (s == b.AttackerSide) D *= 2;
        if (b.BattleMode == kBombardment && b.GeneralAbility[e] == 2) D *= 2;
    }
    r = R(game, 100);
    if (r < D / 3)
        severity /= 4;
    else if (r < D)
        severity /= 2;

    const int men = t.Men;
    int L = 0;
    if (IsArtillery(t)) {
        r = R(game, 100);
        int g = 0;
        if (r < A / 3 || (IsCavalry(u) && r < A)) g = 1;
        if (r < A / 8) g = 2;
        if (r < A / 15) g = 3;
        if (t.FillPercent < 50 && g > 0) g -= 1;
        severity = g;
        L = g;
    } else {
        const double loss = men * severity * 0.015 * u.FillPercent * A / 10000.0;
        L = RoundHalfEven(loss) + R(game, 4) - 1;
    }
    if (men <= 0) {
        // A unit with no men left (a battery silenced earlier) loses nothing more.
        return 0;
    }
    L = std::clamp(L, 0, men);
    if (IsArtillery(t)) severity = std::min(severity, L);
    // A garrison is never silenced by one exchange: the blow that would take the last guns of
    // all its fortress batteries leaves this battery one.
    if (t.Type == kTypeFortressBattery && InGarrison(st, e, t) && L >= GarrisonBatteryGuns(st, e, t.Corps))
        L = men - 1;
    if (L <= 0) {
        L = 0;
        severity = 0;
    }
    int M;
    if (IsArtillery(t) && u.Type != kTypeSiegeBattery) {
        M = L == 0 ? 1 : L <= 2 ? 2 : 4;
    } else {
        const double p = 100.0 * L / men;
        M = p < 0.7 ? 1 : p < 1.5 ? 2 : 4;
    }
    t.Men -= L;
    t.Morale = ClampSub(t.Morale, M);
    t.FillPercent = RoundHalfEvenRatio(100LL * t.Men, FullStrengthOf(st, t));
    if (t.Men <= 0) {
        t.Men = 0;
        t.BattleLine = 7;
    }
    b.MoraleTally[e] -= M;
    b.HitTally[e] += severity;
    if (t.Arm >= 1 && t.Arm <= 3) {
        b.BattleLossesByArm[e][static_cast<std::size_t>(t.Arm)] += L;
        st.Losses[e][static_cast<std::size_t>(t.Arm)] += L;
    }
    if (IsType(t.Type)) b.BattleLossesByType[e][static_cast<std::size_t>(t.Type)] += L;
    Report(game, NationIcon(t.Nation),
           RegimentTitle(st, e, target) + " veszteség -" + " Morál: -" + std::to_string(M) + ArmWord(t) +
               std::to_string(L));
    return b.BattleMode == kBombardment ? L : M;
}

int MoraleCheck(Game& game, int s, int unit, bool apply) {
    State& st = game.state;
    BattleState& b = st.Battle;
    TEzred& u = st.Regiment(s, unit);
    const bool defender = s == b.DefenderSide;
    const THad& own = ForceOf(st, s);
    int c = DifficultyBonus(st, s);
    if (defender) c += 20 * b.TargetEntrenchment;
    int m = u.Morale;
    if (IsCavalry(u) && b.CavalrySuperiority[s]) m = ClampAdd(m, 10);
    if (u.Type == kTypeLevy) m = m * 2 / 3;
    if (u.Type == 7 || u.Type == 8) m = m * 9 / 10;
    if (b.BattleMode == kFieldAttack && (u.Type == kTypeSiegeBattery || u.Type == kTypeFortressBattery))
        m /= 2;
    if (b.GeneralAbility[s] == 3 && (IsArtillery(u) || u.Type == 12)) m = ClampAdd(m, 15);
    if (b.GeneralAbility[s] == 5) m = ClampAdd(m, 10);
    if (IsCavalry(u) && !apply && b.BattleMode == kAssault) m /= 2;
    if (defender && own.ArtilleryOnly) m /= 2;
    m = std::clamp(m + c + b.OutnumberedPenalty[s], 0, 100);
    m = (u.Experience + m) / 2;
    if (own.ArtilleryOnly) m /= 2;
    if (s == b.AttackerSide && b.RiverCrossing > 0) m = (b.RiverCrossing + 2) * m / 2;

    const int r = R(game, 100);
    int result;
    if (r < m) {
        result = 1;
    } else {
        const int fallBack = (200 - 2 * m) / 3 + m;
        result = r < fallBack ? 2 : 3;
        if (result == 3 && defender && b.BattleMode == kAssault) result = 2;
    }
    if (!apply) return result;
    u.BattleLine = result;
    if (result == 2) {
        const int d = u.Morale - 10 < 2 ? 1 : 2;
        Report(game, NationIcon(u.Nation),
               RegimentSubject(st, s, unit) + " retreats. " + " Morál: -" + std::to_string(d));
        u.Morale = ClampSub(u.Morale, d);
        u.Readiness = ClampSub(u.Readiness, 1);
        b.MoraleTally[s] -= 2;
        u.EngagedInRound = 0;
    } else if (result == 3) {
        const int d = u.Morale - 10 < 4 ? 1 : 4;
        Report(game, NationIcon(u.Nation),
               RegimentSubject(st, s, unit) + " megfutamodik! " + " Morál: -" + std::to_string(d));
        u.Morale = ClampSub(u.Morale, d);
        b.MoraleTally[s] -= 4;
        u.EngagedInRound = 0;
        b.RoutedCount[s] += 1;
        // Panic spreads through the side's force.
        const THad& force = ForceOf(st, s);
        const int chance = 100 / std::max(1, UnitsOf(force));
        for (int i = 1; i <= UnitsOf(force); ++i) {
            const int r2 = UnitAt(force, i);
            if (!IsRegiment(st, s, r2)) continue;
            if (R(game, 100) < chance) {
                st.Regiment(s, r2).Morale = ClampSub(st.Regiment(s, r2).Morale, 1);
                b.MoraleTally[s] -= 1;
            }
        }
    }
    return result == 3 && u.Type == kTypeFortressBattery ? 2 : result;
}

void SpiritRise(Game& game, int s, int unit, int result) {
    State& st = game.state;
    TEzred& u = st.Regiment(s, unit);
    const int g = result == 3 ? 6 : 3;
    u.Morale = ClampAdd(u.Morale, g);
    st.Battle.MoraleTally[s] += g;
    Report(game, NationIcon(u.Nation),
           RegimentSubject(st, s, unit) + " harci kedve nö! " + "+" + std::to_string(g) + " Morál");
}

} // namespace vezer
