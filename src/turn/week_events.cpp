#include "turn/week_events.h"

#include "core/arith.h"
#include "core/calendar.h"
#include "core/index_watch.h"
#include "core/random.h"
#include "core/texts.h"
#include "forces/forces.h"
#include "forces/generals.h"
#include "forces/markers.h"
#include "forces/occupation.h"
#include "forces/organisation.h"
#include "forces/strength.h"
#include "battle/battle.h"
#include "turn/recruitment.h"
#include "turn/turn.h"

#include <algorithm>
#include <string>

namespace vezer {

namespace {

constexpr int kRevolutionKind = 20;
constexpr int kRevolutionGeneral = 3; // back from Vienna with the revolution
constexpr int kViennese = 7;
constexpr int kTypeVolunteerHorse = 2;
constexpr int kTypeHussars = 4;
constexpr int kTypeNationalGuard = 7;
constexpr int kTypeHonved = 10;
constexpr int kFortress = 3;
constexpr int kFormationDisorder = 7;

std::string Num(long long v) {
    return std::to_string(v);
}

std::string FamilyNameOf(const State& st, int side, int general) {
    return IsGeneral(st, side, general) ? st.General(side, general).FamilyName.str() : std::string();
}

// The corps' regiments in slot order.
template <typename F> void ForEachRegimentOf(State& st, int side, int c, F f) {
    THad& h = st.CorpsRec(side, c);
    for (int i = 1; i <= h.UnitCount && i <= kCorpsUnitSlots; ++i) {
        const int r = h.Units[static_cast<std::size_t>(i)];
        if (IsRegiment(st, side, r)) f(st.Regiment(side, r));
    }
}

// Every corps of side s in index order; a recompute that removed the corps (no regiment had
// men any more) leaves the corps moved into its slot to be examined next.
template <typename F> void ForEachCorps(Game& game, int side, F f) {
    State& st = game.state;
    for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps;) {
        const int count = st.CorpsCount[side];
        f(c);
        if (st.CorpsCount[side] >= count) ++c;
    }
}

void WeakenNation(State& st, int nation, int supply, int morale) {
    for (int r = 1; r <= st.RegimentCount[2] && r <= kMaxRegiments; ++r) {
        TEzred& e = st.Regiment(2, r);
        if (e.Nation != nation) continue;
        e.Supply = ClampSub(e.Supply, supply);
        e.Morale = ClampSub(e.Morale, morale);
    }
}

bool HeldByHungary(const State& st, int city) {
    return CityRec(st, city).Owner == 1;
}

// --- The revolution in Vienna --------------------------------------------------------------

// Steps 4 and 5: general 3 leaves his corps to a defender and takes the side's last corps.
void GeneralReturns(Game& game) {
    State& st = game.state;
    if (!IsGeneral(st, 1, kRevolutionGeneral)) return;
    TTabornok& returning = st.General(1, kRevolutionGeneral);
    if (const int c = returning.Corps; IsCorps(st, 1, c) && st.CorpsRec(1, c).General == kRevolutionGeneral) {
        const int g = PickDefensiveGeneral(game, 1, 1);
        if (g == 0) return; // nobody to take over: he stays with his corps
        st.CorpsRec(1, c).General = g;
        st.General(1, g).Corps = c;
    }
    const int last = st.CorpsCount[1];
    if (!IsCorps(st, 1, last)) return;
    THad& h = st.CorpsRec(1, last);
    if (IsGeneral(st, 1, h.General)) st.General(1, h.General).Corps = 0;
    h.General = kRevolutionGeneral;
    st.General(1, kRevolutionGeneral).Corps = last;
    st.General(1, kRevolutionGeneral).Available = 1;
}

void Revolution(Game& game, const THistoricalEvent& h) {
    State& st = game.state;
    const int s = h.Side;
    if (!IsSide(s) || !IsCity(h.City)) return;
    const Hex hex{h.HexX, h.HexY};
    RetreatFromHex(game, hex, 3 - s);
    for (int type :
         {kTypeLevy, kTypeLevy, kTypeLevy, kTypeNationalGuard, kTypeNationalGuard, kTypeNationalGuard}) {
        const int fill = R(st, 9) + 90;
        CreateRecruit(game, s, h.City, type, fill, kViennese);
    }
    SetEntrenchment(game, hex.x, hex.y, 1, 1);
    GeneralReturns(game);
    const TVaros& city = CityRec(st, h.City);
    OccupyHex(game, s, kViennese, kRevolutionGeneral, city.X, city.Y);
    AddTurnEvent(game, s, false, "Forradalom Bécsben!");
}

// --- Besieged fortresses -------------------------------------------------------------------

struct Besiegers {
    bool any = false;
    int cavalry = 0, infantry = 0;
    int gunCorps = 0, gunRegiment = 0; // the last battery of the last corps with guns
};

Besiegers BesiegersOf(const State& st, int side, const TVaros& city) {
    Besiegers b;
    for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c) {
        const THad& h = st.CorpsRec(side, c);
        if (!StandsOn(h, city.X, city.Y)) continue;
        b.any = true;
        b.cavalry += h.CavalryMen;
        b.infantry += h.InfantryMen;
        if (h.Guns <= 0) continue;
        for (int i = 1; i <= h.UnitCount && i <= kCorpsUnitSlots; ++i) {
            const int r = h.Units[static_cast<std::size_t>(i)];
            if (IsRegiment(st, side, r) && st.Regiment(side, r).Arm == 3) {
                b.gunCorps = c;
                b.gunRegiment = r;
            }
        }
    }
    return b;
}

// The chance of a sortie: a garrison stronger than the besiegers in horse or foot dares more,
// one far weaker much less, and an enterprising commander more again.
int SortieChance(const State& st, int o, const THad& g, const Besiegers& b) {
    int p = 30;
    if (g.CavalryMen > b.cavalry) p *= 2;
    if (2 * g.InfantryMen > b.infantry) p *= 2;
    if (3 * (g.InfantryMen + g.CavalryMen) < b.infantry + b.cavalry) p /= 4;
    const int initiative = IsGeneral(st, o, g.General) ? st.General(o, g.General).Initiative : 0;
    return RoundHalfEvenRatio(1LL * (10 * initiative + 50) * p, 100);
}

void Sortie(Game& game, int cityIndex) {
    State& st = game.state;
    const TVaros& city = CityRec(st, cityIndex);
    const int o = city.Owner;
    if (!IsSide(o)) return; // a fortress held by neither side has no garrison to sally
    const int e = 3 - o;
    const Besiegers b = BesiegersOf(st, e, city);
    if (!b.any || !IsCorps(st, o, city.GarrisonCorps)) return;
    const THad& g = st.CorpsRec(o, city.GarrisonCorps);
    if (R(st, 100) > SortieChance(st, o, g, b)) return;
    const std::string garrison = g.Name.str();
    const int garrisonMen = g.InfantryMen + g.CavalryMen;
    if (b.gunRegiment != 0) {
        TEzred& battery = st.Regiment(e, b.gunRegiment);
        int n = R(st, battery.Men);
        if (n > 3) n = R(st, 3);
        AddTurnEvent(game, o, false, garrison + " kitörést hajt végre! ");
        AddTurnEvent(game, e, false,
                     FamilyNameOf(st, e, st.CorpsRec(e, b.gunCorps).General) + " veszít " + Num(n) +
                         " löveget.");
        battery.Men = std::max(battery.Men - n, 0);
        if (battery.Men == 0) RemoveRegiment(game, e, b.gunRegiment);
    }
    if (garrisonMen > 2 * (b.infantry + b.cavalry)) {
        RetreatFromHex(game, Hex{city.X, city.Y}, e);
        AddTurnEvent(game, e, false, garrison + " kitörést hajt végre és elüzi az ostromlókat!");
    }
}

void Surrender(Game& game, int cityIndex) {
    State& st = game.state;
    const TVaros& city = CityRec(st, cityIndex);
    const int o = city.Owner;
    const int f = IsSide(o) ? FirstCorpsAt(st, 3 - o, city.X, city.Y) : 0;
    const int d = R(st, 100);
    if (!IsSide(o) || !IsCorps(st, o, city.GarrisonCorps)) return;
    const THad& g = st.CorpsRec(o, city.GarrisonCorps);
    if (!(g.AvgMorale < 30 && g.AvgSupply < 30 && d < 50 && f > 0)) return;
    // The starving garrison lays down its arms; the fortress batteries stay on the walls.
    HeldIndex garrison(game.watches, RecordKind::Corps, o, city.GarrisonCorps);
    for (;;) {
        if (garrison.gone()) break;
        const THad& h = st.CorpsRec(o, garrison.get());
        int victim = 0;
        for (int i = 1; i <= h.UnitCount && i <= kCorpsUnitSlots && victim == 0; ++i) {
            const int r = h.Units[static_cast<std::size_t>(i)];
            if (IsRegiment(st, o, r) && st.Regiment(o, r).Type != kTypeFortressBattery) victim = r;
        }
        if (victim == 0) break;
        RemoveRegiment(game, o, victim);
    }
    CaptureFortress(game, 3 - o, f, Hex{city.X, city.Y});
    AddTurnEvent(game, o, false, city.Name.str() + " helyörsége megadja magát!");
}

// --- Regiments that disperse ---------------------------------------------------------------

int DispersalChance(const State& st, int side, const TEzred& e) {
    int p = e.Type == kTypeLevy ? 10 : 0;
    const int a = (e.Morale + e.Readiness + e.Supply) / 3;
    if (a > 60 && e.Men > 1500) p = 0;
    p = RoundHalfEvenRatio(1LL * (100 - a) * p, 100);
    if (IsCorps(st, side, e.Corps) && st.CorpsRec(side, e.Corps).Formation == kFormationDisorder) p *= 2;
    if (e.Men < 1000) p = p * 3 / 2;
    return p;
}

std::string DispersalPlace(const State& st, int side, const TEzred& e) {
    const THad* h = IsCorps(st, side, e.Corps) ? &st.CorpsRec(side, e.Corps) : nullptr;
    const Hex hex = h != nullptr ? Hex{h->X, h->Y} : Hex{-1, -1};
    if (const int city = h != nullptr ? CityAt(st, hex.x, hex.y) : 0)
        return CityRec(st, city).Name.str() + ": ";
    const int near = FindNearestOwnCity(st, side, hex);
    return "near " + std::string(" ") + (IsCity(near) ? CityRec(st, near).Name.str() : std::string());
}

} // namespace

void ApplyPoliticalEffects(Game& game) {
    State& st = game.state;
    int m = 0, s = 0;
    if (HeldByHungary(st, 2)) {
        m = 1;
        s = 5;
        AddTurnEvent(game, 2, false, "Olmütz magyar kézen, osztrák csapatok -1 morál, -5 ellátmány");
    }
    if (HeldByHungary(st, 3)) {
        m += 2;
        s += 10;
        AddTurnEvent(game, 2, false, "Bécs megszállva, osztrák csapatok -2 morál, -10 ellátmány");
    }
    WeakenNation(st, 2, s, m);
    if (HeldByHungary(st, 62)) {
        AddTurnEvent(game, 2, false, "Nagyszeben magyar kézen, román csapatok -2 morál, -10 ellátmány");
        WeakenNation(st, 5, 10, 2);
    }
    if (HeldByHungary(st, 9)) {
        AddTurnEvent(game, 2, false, "Zágráb magyar kézen, horvát csapatok -2 morál, -10 ellátmány");
        WeakenNation(st, 6, 10, 2);
    }
}

void RunHistoricalEvent(Game& game) {
    State& st = game.state;
    const int i = st.HistoricalEventIndex;
    if (i < 1 || i > kHistoricalEventSlots) return; // the table is spent
    const THistoricalEvent h = st.HistoricalEvents[static_cast<std::size_t>(i)];
    if (Today(st) != Date{h.Year, h.Month, h.Week}) return;
    if (h.Kind == kRevolutionKind) Revolution(game, h);
    ++st.HistoricalEventIndex;
}

void RunSorties(Game& game) {
    for (int c = 1; c <= kCityCount; ++c)
        if (CityRec(game.state, c).Kind == kFortress) Sortie(game, c);
}

void RunSurrenders(Game& game) {
    for (int c = 1; c <= kCityCount; ++c)
        if (CityRec(game.state, c).Kind == kFortress) Surrender(game, c);
}

void RunRecruitingTour(Game& game) {
    State& st = game.state;
    if (st.RecruitPenaltyWeeks != 0) return;
    const int d = R(st, 100);
    const bool opening = (st.NetworkGame || st.PbemGame) && Today(st) == Date{kFirstWarYear, 9, 1};
    if (d > 5 && !opening) return;
    st.RecruitPenaltyWeeks = -1;
    st.RecruitPenaltyTurns = 5;
    AddTurnEvent(game, 1, true, "Orvandi toborzóúton! Toborzási idö -1 hét egy hónapon át.");
}

void RunLevyDispersal(Game& game) {
    State& st = game.state;
    for (int side = 1; side <= 2; ++side) {
        // A regiment moved into the place of a dispersed one waits for next week.
        for (int r = 1; r <= st.RegimentCount[side] && r <= kMaxRegiments; ++r) {
            const TEzred& e = st.Regiment(side, r);
            const int p = DispersalChance(st, side, e);
            if (R(st, 100) > p) continue;
            AddTurnEvent(game, side, true,
                         DispersalPlace(st, side, e) + RegimentSubject(st, side, r) + " feloszlik.");
            RemoveRegiment(game, side, r);
        }
    }
}

void RunLeaderVisits(Game& game) {
    State& st = game.state;
    bool visited[4] = {false, false, false, false};
    for (int side = 1; side <= 2; ++side) {
        ForEachCorps(game, side, [&](int c) {
            THad& h = st.CorpsRec(side, c);
            if (h.SizeClass != 3) return;
            const int k = NationFlagOf(h.Nation);
            const int d = R(st, 100);
            if (k < 1 || k > 3 || visited[k] || d >= 6) return;
            visited[k] = true;
            ForEachRegimentOf(st, side, c, [](TEzred& e) { e.Morale = ClampAdd(e.Morale, 15); });
            const std::string general = FamilyNameOf(st, side, h.General);
            RecomputeCorps(game, side, c);
            AddTurnEvent(game, k, true,
                         std::string(k == 1 ? "Orvandi " : "Trelmark ") + " " + general +
                             " táborában! +15 morál");
        });
    }
}

void RunConversions(Game& game) {
    State& st = game.state;
    for (int r = 1; r <= st.RegimentCount[1] && r <= kMaxRegiments; ++r) {
        TEzred& e = st.Regiment(1, r);
        if ((e.Type != kTypeNationalGuard && e.Type != kTypeVolunteerHorse) || e.Nation == kViennese)
            continue;
        if (e.Supply <= 50 || e.Experience <= 50 || e.Morale <= 50) continue;
        const int p = RoundHalfEvenRatio(e.Experience * 10LL, 100);
        if (R(st, 100) > p) continue;
        const bool guard = e.Type == kTypeNationalGuard;
        AddTurnEvent(game, 1, true,
                     RegimentSubject(st, 1, r) + (guard ? " honvéd ezreddé " : " huszár ezreddé ") +
                         "alakul, +10 morál.");
        e.Type = guard ? kTypeHonved : kTypeHussars;
        e.Morale = ClampAdd(e.Morale, 10);
        e.Ordinal = ++st.TypeCounter[1][static_cast<std::size_t>(e.Type)];
        e.Name = RegimentTitle(st, 1, r);
        RecomputeRegiment(st, 1, r);
        if (IsCorps(st, 1, e.Corps)) RecomputeCorps(game, 1, e.Corps);
    }
}

void RunCholera(Game& game) {
    State& st = game.state;
    for (int side = 1; side <= 2; ++side) {
        ForEachCorps(game, side, [&](int c) {
            const int d = R(st, 100);
            int p = st.CorpsRec(side, c).InfantryMen / 5000;
            if (st.Month > 10 || st.Month < 4) p /= 2;
            if (d > p) return;
            long long total = 0;
            ForEachRegimentOf(st, side, c, [&](TEzred& e) {
                int n = 0;
                if (e.Arm != 3) {
                    n = RoundHalfEvenRatio(1LL * R(st, 7) * e.Men, 100);
                    e.Men -= n;
                }
                total += n;
                e.Morale = ClampSub(e.Morale, 5);
                if (e.Arm >= 1 && e.Arm <= 3) st.Losses[side][static_cast<std::size_t>(e.Arm)] += n;
            });
            AddTurnEvent(game, side, false,
                         "Kolera járvány! " + st.CorpsRec(side, c).Name.str() +
                             ": -5 morál. Veszteség: " + Num(total) + " fö.");
            RecomputeCorps(game, side, c);
        });
    }
}

void RunConvoys(Game& game) {
    State& st = game.state;
    for (int side = 1; side <= 2; ++side) {
        bool done = false;
        for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c) {
            const THad& h = st.CorpsRec(side, c);
            const int d = R(st, 100);
            if (done || h.UnitCount <= 3 || d >= 5 || st.Cell(h.X, h.Y).AiSupplyMark <= 50 ||
                h.AvgSupply >= 60)
                continue;
            done = true;
            const std::string general = FamilyNameOf(st, side, h.General);
            const std::string text =
                side == 1 ? "Kormánybiztos " + std::string(" ") + general + " táborában! +20 ellátmány"
                          : "Szállítmány érkezik " + general + " táborába! +20 ellátmány";
            AddTurnEvent(game, NationFlagOf(h.Nation), true, text);
            ForEachRegimentOf(st, side, c, [](TEzred& e) { e.Supply = ClampAdd(e.Supply, 20); });
        }
    }
}

void RunDesertion(Game& game) {
    State& st = game.state;
    for (int side : {2, 1}) {
        for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c) {
            const THad& h = st.CorpsRec(side, c);
            if (h.AvgMorale >= 30) continue;
            long long total = 0;
            ForEachRegimentOf(st, side, c, [&](TEzred& e) {
                if (e.Arm == 3) return;
                // Even a steady regiment loses a man: R of nothing is 1. Nobody deserts twice.
                const int n = std::min(R(st, (40 - e.Morale) * e.Men / 100), e.Men);
                total += n;
                e.Men -= n;
            });
            if (total > 0)
                AddTurnEvent(game, NationFlagOf(h.Nation), true,
                             "Szökések! " + h.Name.str() + " - " + Num(total) + " fö megszökik");
        }
    }
}

void RunIntelligence(Game& game) {
    State& st = game.state;
    if (st.FogOfWar != 1) return;
    for (int side = 1; side <= 2; ++side) {
        for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c) {
            const THad& h = st.CorpsRec(side, c);
            int p = h.ReconLevel > 1 ? h.ReconLevel - 1 : 0;
            if (h.CombatValue < 50) p = 0;
            p *= 5;
            if (R(st, 100) > p) continue;
            const int t = R(st, 3);
            const std::string what = t == 1   ? " ellátmány: " + std::string(" ") + Num(h.AvgSupply)
                                     : t == 2 ? " morál: " + std::string(" ") + Num(h.AvgMorale)
                                              : " készenlét: " + std::string(" ") + Num(h.AvgReadiness);
            AddTurnEvent(game, 3 - side, true, "Hírszerzés! " + std::string(" ") + h.Name.str() + what);
        }
    }
}

void RunWeekEvents(Game& game) {
    if (game.state.Campaign == 0) return; // the tutorial keeps to its lessons
    RunHistoricalEvent(game);
    RunSorties(game);
    RunSurrenders(game);
    RunRecruitingTour(game);
    RunLevyDispersal(game);
    RunLeaderVisits(game);
    RunConversions(game);
    RunCholera(game);
    RunConvoys(game);
    RunDesertion(game);
    RunIntelligence(game);
}

} // namespace vezer
