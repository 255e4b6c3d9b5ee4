#include "turn/upkeep.h"

#include "core/arith.h"
#include "forces/forces.h"
#include "forces/markers.h"
#include "forces/strength.h"
#include "turn/supply.h"
#include "turn/victory.h"
#include "turn/weather.h"

#include <algorithm>

namespace vezer {

namespace {

constexpr int kDrillmasterAbility = 7;
constexpr int kNationRussian = 3; // the Russian army brought its own train
constexpr int kEasyRestGain = 25;

// What a regiment outside every corps reads as its corps: no general, no activity, no formation.
const THad kNoCorps{};

const THad& CorpsOf(const State& st, int side, const TEzred& e) {
    return IsCorps(st, side, e.Corps) ? st.CorpsRec(side, e.Corps) : kNoCorps;
}

int GeneralAbility(const State& st, int side, const THad& h) {
    return IsGeneral(st, side, h.General) ? st.General(side, h.General).SpecialAbility : 0;
}

int FormationReadinessGain(const State& st, int formation) {
    return formation >= 1 && formation <= kFormationCount
               ? st.Formations[static_cast<std::size_t>(formation)].ReadinessGain
               : 0;
}

// Step 3.1: what a regiment eats in a week. A person's army on easy eats half, the computer's
// on hard likewise; fortress batteries a third; troops behind earthworks half again.
int Consumption(const State& st, int side, const TEzred& e, const THad& h, bool inCorps) {
    int a = 10;
    const int player = st.PlayerType[side];
    if (st.Difficulty == 1 && (player == 1 || player == 3)) a = 5;
    if (st.Difficulty == 3 && player == 2) a /= 2;
    if (e.Type == kTypeFortressBattery) a /= 3;
    if (inCorps && st.Cell(h.X, h.Y).Entrenchment > 0) a /= 2;
    return a;
}

// Step 3.7: a regiment that stood still rests fully, one that marched less than half its
// allowance rests half as much.
int RestGain(const State& st, const TEzred& e, const THad& h) {
    const int gain = st.Difficulty == 1 ? kEasyRestGain : FormationReadinessGain(st, h.Formation);
    if (e.MovementUsed == 0) return gain;
    if (e.MovementUsed > 0 && e.MovementUsed < e.MovementAllowance / 2) return gain / 2;
    return 0;
}

// Steps 3.10 to 3.12: morale drifts toward the corps and then toward the nation's zeal.
int MoraleDrift(const State& st, int side, int morale, const THad& h, bool inCorps) {
    if (inCorps) {
        if (h.Formation == 1) morale = ClampAdd(morale, std::max(1, (100 - morale) / 4));
        const int t = h.AvgMorale;
        if (t > morale)
            morale = ClampAdd(morale, (t - morale) / 3);
        else if (t < morale)
            morale = ClampSub(morale, (morale - t) / 3);
    }
    // The nation pulls only when it is more than 15 % away (z > 1.15 w, or 1.15 z < w).
    const int z = st.Zeal[side];
    if (z * 100 > morale * 115)
        morale = ClampAdd(morale, (z - morale) / 3);
    else if (z * 115 < morale * 100)
        morale = ClampSub(morale, (morale - z) / 3);
    return morale;
}

// Step 4.3: a computer's corps keeps fortifying its town until the walls stand whole again.
bool KeepsFortifying(const State& st, int side, const THad& h) {
    if (h.Activity != kActivityFortify || st.PlayerType[side] != 2) return false;
    const int city = CityAt(st, h.X, h.Y);
    return city != 0 && CityRec(st, city).FortStrength < CityRec(st, city).FortMax;
}

// Step 4, for one corps. Returns false when the recompute removed the corps (it had no
// regiment left), so the corps moved into its slot is examined next.
bool CorpsActivityUpkeep(Game& game, int side, int c) {
    State& st = game.state;
    const int count = st.CorpsCount[side];
    RecomputeCorps(game, side, c);
    if (st.CorpsCount[side] < count) return false;
    THad& h = st.CorpsRec(side, c);
    if (h.ActivityWeeks > 0) --h.ActivityWeeks;
    if (h.ActivityWeeks == 0 && h.Activity > 0) {
        CompleteActivity(game, side, c);
        THad& done = st.CorpsRec(side, c);
        if (KeepsFortifying(st, side, done)) {
            done.ActivityWeeks = 2;
        } else {
            done.Activity = 0;
            done.ActivityWeeks = 0;
        }
    }
    return true;
}

void CorpsActivities(Game& game) {
    State& st = game.state;
    for (int side = 1; side <= 2; ++side)
        for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps;)
            if (CorpsActivityUpkeep(game, side, c)) ++c;
}

void CountDownCaptures(State& st) {
    for (int c = 1; c <= kCityCount; ++c) {
        TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        if (city.CaptureCounter > 1) --city.CaptureCounter;
    }
}

// Step 8: what the main screen shows of the new week.
void ShowNewWeek(Game& game) {
    DrawWeather(game, true);
    game.screen.RefreshMainScreen();
    for (int c = 1; c <= kCityCount; ++c) game.screen.RefreshCityMarker(c);
}

} // namespace

void RegimentUpkeep(Game& game, int side, int r) {
    State& st = game.state;
    if (!IsRegiment(st, side, r)) return;
    TEzred& e = st.Regiment(side, r);
    const bool inCorps = IsCorps(st, side, e.Corps);
    const THad& h = CorpsOf(st, side, e);

    e.Supply = ClampSub(e.Supply, Consumption(st, side, e, h, inCorps));
    if (e.Nation == kNationRussian) e.Supply = ClampAdd(e.Supply, 10);
    if (h.Activity == kActivityEntrench || h.Activity == kActivityFortify) e.Supply = ClampSub(e.Supply, 15);
    if (GeneralAbility(st, side, h) == kDrillmasterAbility && e.Experience < 65)
        e.Experience = ClampAdd(e.Experience, 1);
    if (e.Supply < 30) {
        e.Readiness = ClampSub(e.Readiness, 10);
        e.Morale = ClampSub(e.Morale, 20);
    }
    if (e.Supply > 80 && e.Morale < 80) e.Morale = ClampAdd(e.Morale, 3);
    e.Readiness = ClampAdd(e.Readiness, RestGain(st, e, h));
    if (st.Difficulty == 3) e.Readiness = ClampAdd(e.Readiness, 5);
    // A regiment far behind its corps is pulled halfway up.
    if (inCorps && h.AvgReadiness > e.Readiness * 4 / 3)
        e.Readiness = ClampAdd(e.Readiness, (h.AvgReadiness - e.Readiness) / 2);
    e.Morale = MoraleDrift(st, side, e.Morale, h, inCorps);
    if (e.Morale < 10) e.Morale = 10;
    e.MovementUsed = 0;
}

void CompleteActivity(Game& game, int side, int corps) {
    State& st = game.state;
    if (!IsCorps(st, side, corps)) return;
    THad& h = st.CorpsRec(side, corps);
    if (h.Activity >= 1 && h.Activity <= kFormationCount) h.Formation = h.Activity;
    if (h.Activity == kActivityEntrench) {
        const THex& hex = st.Cell(h.X, h.Y);
        if (hex.Entrenchment < 2) {
            // The earthworks rise one level, if the map has a mark left for them.
            if (st.EntrenchmentMarkCount < kEntrenchmentMarkLimit)
                SetEntrenchment(game, h.X, h.Y, hex.Entrenchment + 1, side);
            h.Activity = 0;
        }
    }
    if (h.Activity == kActivityFortify) {
        if (int city = CityAt(st, h.X, h.Y); city != 0) {
            TVaros& v = CityRec(st, city);
            if (v.FortStrength < v.FortMax) ++v.FortStrength;
            RefreshFortressDamage(game, city);
        }
    }
}

void WeeklyUpkeep(Game& game) {
    State& st = game.state;
    UpdateTotalPoints(st);
    st.ActiveSide = 1;
    st.OtherSide = 2;
    for (int side = 1; side <= 2; ++side)
        for (int r = 1; r <= st.RegimentCount[side] && r <= kMaxRegiments; ++r) RegimentUpkeep(game, side, r);
    CorpsActivities(game);
    DistributeSupply(game);
    CountDownCaptures(st);
    CheckVictory(game);
    if (game.screen.MainScreenExists()) ShowNewWeek(game);
}

} // namespace vezer
