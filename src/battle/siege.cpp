// The bombardment of a fortress by the siege guns of a corps standing in its hex.

#include "battle/battle.h"
#include "battle/battle_internal.h"

#include "core/index_watch.h"
#include "core/log.h"
#include "core/random.h"
#include "forces/markers.h"
#include "forces/strength.h"

#include <array>

namespace vezer {

using namespace battle;

namespace {

// The walls' resistance W by the level of the fortress as built.
int WallResistance(int fortMax) {
    constexpr std::array<int, 11> kW = {0, 60, 90, 100, 200, 300, 400, 500, 600, 700, 800};
    return fortMax >= 0 && fortMax <= 10 ? kW[static_cast<std::size_t>(fortMax)] : 0;
}

bool HasSiegeGuns(const State& st, int side, const THad& h) {
    for (int i = 1; i <= UnitsOf(h); ++i) {
        const int r = UnitAt(h, i);
        if (IsRegiment(st, side, r) && st.Regiment(side, r).Type == kTypeSiegeBattery &&
            st.Regiment(side, r).Men > 0)
            return true;
    }
    return false;
}

void Log(Game& game, int side, int hidden, const std::string& text) {
    AddLogEntry(game, side, hidden, kLogKindRules, text, kColourLightYellow);
}

std::string Signed(int v) {
    return (v > 0 ? "+" : "") + std::to_string(v);
}

// Steps 10 and 11: what fire and shot do to the garrison.
void GarrisonSuffers(Game& game, int side, int garrison, bool fire, bool answered, int H, int LA) {
    State& st = game.state;
    const int other = 3 - side;
    const bool exists = IsCorps(st, other, garrison);
    if (fire) {
        game.screen.PlaySound(kSoundFire);
        Log(game, other, 0, "Tüz a várban!  A védök ellátmánya csökken.");
        const int f = 100 - (R(game, 10) + 10);
        if (exists)
            for (int i = 1; i <= UnitsOf(st.CorpsRec(other, garrison)); ++i) {
                const int r = UnitAt(st.CorpsRec(other, garrison), i);
                if (IsRegiment(st, other, r))
                    st.Regiment(other, r).Supply =
                        RoundHalfEvenRatio(1LL * st.Regiment(other, r).Supply * f, 100);
            }
        Pause(game, 10);
    }
    int M = answered ? 0 : -3;
    if (fire) M -= 5;
    M -= 3 * H;
    M += LA;
    if (exists)
        for (int i = 1; i <= UnitsOf(st.CorpsRec(other, garrison)); ++i) {
            const int r = UnitAt(st.CorpsRec(other, garrison), i);
            if (IsRegiment(st, other, r))
                st.Regiment(other, r).Morale = ClampAdd(st.Regiment(other, r).Morale, M);
        }
    if (M != 0) Log(game, other, 1, "Védök morálja: " + Signed(M));
}

// Step 14: firing wears the guns out.
void Wear(State& st, const THad& f, int side) {
    for (int i = 1; i <= UnitsOf(f); ++i) {
        const int r = UnitAt(f, i);
        if (!IsRegiment(st, side, r)) continue;
        TEzred& e = st.Regiment(side, r);
        e.Supply = ClampSub(e.Supply, 8);
        e.Readiness = ClampSub(e.Readiness, 10);
        e.MovementPoints = ClampSub(e.MovementPoints, 15);
    }
}

} // namespace

bool BombardFortress(Game& game, int side, int corps) {
    State& st = game.state;
    BattleState& b = st.Battle;
    if (!IsSide(side) || !IsCorps(st, side, corps)) return false;
    const int other = 3 - side;
    const Hex hex{st.CorpsRec(side, corps).X, st.CorpsRec(side, corps).Y};
    const int city = CityAt(st, hex.x, hex.y);
    if (city == 0 || CityRec(st, city).Kind != 3 || CityRec(st, city).Owner != other) return false;
    if (!HasSiegeGuns(st, side, st.CorpsRec(side, corps))) return false;

    ForceIndexGuard guard(game);
    HeldIndex held(game.watches, RecordKind::Corps, side, corps);
    ResetBattleState(game);
    b.BattleMode = kBombardment;
    b.AttackerSide = side;
    b.DefenderSide = other;
    b.TargetX = hex.x;
    b.TargetY = hex.y;
    b.TargetEntrenchment = st.Cell(hex.x, hex.y).Entrenchment;
    b.TargetCityKind = CityRec(st, city).Kind;
    st.CorpsRec(side, corps).StackOrder = 10;
    game.screen.ShowCannonMarker(hex.x, hex.y);
    Log(game, side, 0,
        GeneralOf(st, side, st.CorpsRec(side, corps).General).FamilyName.str() +
            " parancsot ad az eröd ágyúzására!");
    game.screen.PlaySound(kSoundBombardment);
    if (st.PlayerType[side] == 2) Pause(game, 30);

    THad& A = b.AttackingForce;
    THad& D = b.DefendingForce;
    BuildAttackingForce(game, side, corps, hex, A);
    BuildDefendingForce(game, other, hex, D);
    ApplyBattleModifiers(game, A, D);

    const int garrison = CityRec(st, city).GarrisonCorps;
    const std::string defenderName =
        IsCorps(st, other, garrison)
            ? GeneralOf(st, other, st.CorpsRec(other, garrison).General).FamilyName.str()
            : "";
    const int k = R(game, 4);
    const bool answered =
        D.UnitCount > 0 && D.AvgMorale > 40 && D.AvgSupply > 50 && D.CombatValue * k > A.CombatValue;
    Log(game, other, 0, defenderName + (answered ? " viszonozza tüzelést." : " visszavonja az ágyúkat."));
    if (!answered) D.UnitCount = 0; // the guns are withdrawn
    Pause(game, 10);

    int P = 0, LA = 0, LD = 0;
    for (int i = 1; i <= UnitsOf(A); ++i) {
        const int u = UnitAt(A, i);
        if (!IsRegiment(st, side, u)) continue;
        if (answered && R(game, 100) < 2 * A.UnitCount + 40) {
            const int v = UnitAt(D, std::clamp(R(game, D.UnitCount), 1, std::max(1, UnitsOf(D))));
            if (IsRegiment(st, other, v)) LD += InflictLosses(game, side, u, v);
        } else {
            const TEzred& e = st.Regiment(side, u);
            P += RoundHalfEvenRatio(1LL * e.CombatValueFull * e.FillPercent, 100);
        }
    }
    if (answered)
        for (int i = 1; i <= UnitsOf(D); ++i) {
            const int v = UnitAt(D, i);
            if (!IsRegiment(st, other, v)) continue;
            const int u = UnitAt(A, std::clamp(R(game, A.UnitCount), 1, std::max(1, UnitsOf(A))));
            if (IsRegiment(st, side, u)) LA += InflictLosses(game, other, v, u);
        }

    TVaros& v = CityRec(st, city);
    const int p = RoundHalfEvenRatio(70LL * P, WallResistance(v.FortMax) + 1);
    int H = R(game, 100) < p ? 1 : 0;
    // Walls at their lowest level cannot be lowered further.
    if (v.FortStrength <= 1) H = 0;
    v.FortStrength = std::max(v.FortStrength - H, 0);
    const bool fire = H == 1 && R(game, 100) <= 15;

    if (answered) {
        if (LA > 0)
            Log(game, side, 0, NationName(st, A.Nation) + " veszteség: -" + std::to_string(LA) + " löveg");
        if (LD > 0)
            Log(game, side, 0, NationName(st, D.Nation) + " veszteség: -" + std::to_string(LD) + " löveg");
    }
    Pause(game, 10);
    GarrisonSuffers(game, side, garrison, fire, answered, H, LA);

    int B = H == 1 ? 3 : -3;
    B -= LA / 2;
    if (!held.gone()) {
        const THad& h = st.CorpsRec(side, held.get());
        for (int i = 1; i <= UnitsOf(h); ++i)
            if (IsRegiment(st, side, UnitAt(h, i)))
                st.Regiment(side, UnitAt(h, i)).Morale = ClampAdd(st.Regiment(side, UnitAt(h, i)).Morale, B);
    }
    if (B != 0) Log(game, side, 1, "Ostromlók morálja: " + Signed(B));
    Pause(game, 10);
    Log(game, side, 0,
        H == 0 ? std::string("Az eröd lövetése hatástalan!")
               : "Az eröd szintje csökken: -" + std::to_string(H) +
                     "  Jelenlegi szint: " + std::to_string(v.FortStrength));

    Wear(st, A, side);
    if (answered) Wear(st, D, other);
    HeldIndex garrisonHeld(game.watches, RecordKind::Corps, other,
                           IsCorps(st, other, garrison) ? garrison : 0);
    if (!held.gone()) RecomputeCorps(game, side, held.get());
    if (!garrisonHeld.gone()) RecomputeCorps(game, other, garrisonHeld.get());
    Pause(game, 30);
    game.screen.HideCannonMarker();
    if (!held.gone()) st.CorpsRec(side, held.get()).StackOrder = 1;
    b.BattleMode = kFieldAttack;
    if (v.FortStrength < v.FortMax) RefreshFortressDamage(game, city);
    return true;
}

} // namespace vezer
