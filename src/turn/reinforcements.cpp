#include "turn/reinforcements.h"

#include "core/arith.h"
#include "core/calendar.h"
#include "core/log.h"
#include "core/random.h"
#include "forces/forces.h"
#include "forces/generals.h"
#include "forces/occupation.h"
#include "forces/organisation.h"
#include "forces/strength.h"
#include "forces/threat.h"
#include "map/queries.h"
#include "turn/turn.h"

#include <algorithm>
#include <string>

namespace vezer {

namespace {

constexpr int kVeteranOffset = 20; // a listed type above TypeCount: type - 20, seasoned troops
constexpr int kRoleIndependent = 3;
constexpr int kTaskDefend = 2;

bool OptionAllows(int option, const TErosites& record) {
    return option == 2 || (option == 1 && record.LimitedIntervention == 1);
}

// The type of entry j of the record's list and whether it comes seasoned; type 0 for an entry
// the type table lacks, which brings nobody.
int ListedType(const State& st, const TErosites& r, int j, bool& veteran) {
    int type = r.Template.Units[static_cast<std::size_t>(j)];
    veteran = type > st.TypeCount;
    if (veteran) type -= kVeteranOffset;
    return type >= 1 && type <= st.TypeCount && IsType(type) ? type : 0;
}

int ListedCount(const TErosites& r) {
    return std::clamp(r.Template.UnitCount, 0, kReinforcementUnits);
}

int RegimentsListed(const State& st, const TErosites& r) {
    int n = 0;
    bool veteran = false;
    for (int j = 1; j <= ListedCount(r); ++j) n += ListedType(st, r, j, veteran) != 0;
    return n;
}

// The general the record names, when it is one of the side's.
int NamedGeneral(const State& st, const TErosites& r) {
    return IsGeneral(st, r.Side, r.Template.General) ? r.Template.General : 0;
}

// The corps other than `except` that general g commands, or 0.
int CommandOf(const State& st, int side, int g, int except) {
    const int m = st.General(side, g).Corps;
    return m != except && IsCorps(st, side, m) && st.CorpsRec(side, m).General == g ? m : 0;
}

// Whether the side has room for the whole corps: its regiments, the corps, and a general for
// it or for the corps its named general leaves.
bool RoomForArrival(const State& st, const TErosites& r) {
    const int side = r.Side, nation = r.Template.Nation;
    if (st.RegimentCount[side] + RegimentsListed(st, r) > kMaxRegiments) return false;
    if (st.CorpsCount[side] >= kMaxCorps) return false;
    const int g = NamedGeneral(st, r);
    if (g == 0) return CanPickDefensiveGeneral(st, side, nation);
    return CommandOf(st, side, g, st.CorpsCount[side] + 1) == 0 || CanPickOrdinaryGeneral(st, side, nation);
}

// The side whose record is placed moves while it is placed.
void SwapPerspective(State& st) {
    st.ActiveSide = 3 - st.ActiveSide;
    st.SelectedCorpsSide = st.ActiveSide;
    st.OtherSide = 3 - st.OtherSide;
}

// Step 3: a corps arriving lifts the nation; a person's more, the computer's by difficulty.
void ArrivalZeal(State& st, int side, int regiments) {
    const bool small = regiments < 10;
    int rise = 0;
    if (st.PlayerType[side] != 2)
        rise = small ? 1 : 3;
    else
        rise = small ? st.Difficulty - 1 : 3 * st.Difficulty - 3;
    st.Zeal[side] = ClampAdd(st.Zeal[side], rise);
}

// Step 4: the listed regiments, made for corps n.
void ArrivingRegiments(Game& game, const TErosites& r, int n) {
    State& st = game.state;
    const int side = r.Side, nation = r.Template.Nation;
    for (int j = 1; j <= ListedCount(r); ++j) {
        bool veteran = false;
        const int type = ListedType(st, r, j, veteran);
        if (type == 0) continue;
        const TEzredAlap& t = st.Types[static_cast<std::size_t>(type)];
        TEzred e;
        e.Type = type;
        e.Experience = std::clamp(R(st, 20) + t.BaseExperience - 10 + (veteran ? 15 : 0), 0, 100);
        e.Morale = std::min(R(st, 20) + 60, 100);
        e.Readiness = 95;
        e.Supply = nation == kRussianNation ? 100 : 95;
        e.FillPercent = r.UnitFill[static_cast<std::size_t>(j)];
        e.Nation = nation;
        e.Corps = n;
        CreateRegiment(game, side, 0, e);
    }
}

// Step 5: the named general leaves any other command to an ordinary general; a record that
// names none gets a defender.
int ArrivingGeneral(Game& game, const TErosites& r, int n) {
    State& st = game.state;
    const int side = r.Side, nation = r.Template.Nation;
    const int g = NamedGeneral(st, r);
    if (g == 0) return PickDefensiveGeneral(game, side, nation);
    if (const int m = CommandOf(st, side, g, n)) {
        const int successor = PickOrdinaryGeneral(game, side, nation);
        if (successor == 0) return 0; // (never: the room was checked) the corps is not made
        st.CorpsRec(side, m).General = successor;
        st.General(side, successor).Corps = m;
        st.General(side, g).Corps = 0;
    }
    return g;
}

// Step 9: "Pest:Magyar erösítés. Lovas:800 gyalogos:4000ágyú:16".
std::string ArrivalText(const State& st, const THad& h) {
    const int city = CityAt(st, h.X, h.Y);
    const std::string place =
        city != 0 ? CityRec(st, city).Name.str() : std::to_string(h.X) + "," + std::to_string(h.Y) + " ";
    const std::string nation = h.Nation >= 1 && h.Nation <= kNationCount
                                   ? st.Texts.NationName[static_cast<std::size_t>(h.Nation)].str()
                                   : "";
    return place + ":" + nation + " erösítés. Lovas:" + std::to_string(h.CavalryMen) +
           " gyalogos:" + std::to_string(h.InfantryMen) + "ágyú:" + std::to_string(h.Guns);
}

void Arrive(Game& game, TErosites& r) {
    State& st = game.state;
    const int side = r.Side, n = st.CorpsCount[side] + 1;
    THad h = r.Template;
    if (const int g = NamedGeneral(st, r)) st.General(side, g).Available = 1;
    ArrivalZeal(st, side, RegimentsListed(st, r));
    h.Tactic = 2;
    ArrivingRegiments(game, r, n);
    h.General = ArrivingGeneral(game, r, n);
    // An enemy field corps on the arrival hex: the corps comes in one column to the west.
    if (FirstCorpsAt(st, 3 - side, h.X, h.Y, true) != 0) --h.X;
    h.ObjectiveX = h.ObjectiveY = -1;
    h.TargetCorps = h.SuperiorCorps = h.GuardCorps = 0;
    h.Task = kTaskDefend;
    h.Role = kRoleIndependent;
    h.Garrison = 0;
    if (!CreateCorps(game, side, n, h)) return;
    THad& made = st.CorpsRec(side, n);
    made.Direction = 3;
    UpdateCorpsThreat(game, side, n);
    if (made.ThreatPercent > 0 && IsCorps(st, 3 - side, made.ThreatCorps)) {
        const THad& threat = st.CorpsRec(3 - side, made.ThreatCorps);
        made.Direction = FarDirection(Hex{made.X, made.Y}, Hex{threat.X, threat.Y});
    }
    RecomputeCorps(game, side, n);
    if (!IsCorps(st, side, n)) return;
    st.CorpsRec(side, n).StackOrder = 1;
    game.screen.RefreshCorpsMarker(side, n);
    const THad& arrived = st.CorpsRec(side, n);
    if (CityAt(st, arrived.X, arrived.Y) != 0)
        OccupyHex(game, side, arrived.Nation, arrived.General, arrived.X, arrived.Y);
    AddTurnEvent(game, NationFlagOf(arrived.Nation), true, ArrivalText(st, st.CorpsRec(side, n)));
}

} // namespace

bool InterventionAllows(const State& state, const TErosites& record) {
    if (record.Template.Nation == kRussianNation) return OptionAllows(state.RussianIntervention, record);
    if (record.Template.Nation == kPolishNation) return OptionAllows(state.PolishIntervention, record);
    return true;
}

bool ReinforcementDue(const State& state, int k) {
    if (state.Campaign == 0) return false; // the tutorial keeps to its own small war
    if (k < 1 || k > state.ReinforcementCount || k > kMaxReinforcements) return false;
    const TErosites& r = state.Reinforcements[static_cast<std::size_t>(k)];
    const Date arrival{r.Year, r.Month, r.Week};
    if (r.Arrived != 0) return false;
    if (DateBefore(Today(state), arrival)) return false;
    if (DateBefore(arrival, Date{state.StartYear, state.StartMonth, state.StartWeek})) return false;
    return InterventionAllows(state, r);
}

void ArriveReinforcements(Game& game) {
    State& st = game.state;
    if (st.Campaign == 0) return;
    const int active = st.ActiveSide, other = st.OtherSide;
    const int selected = st.SelectedCorps, selectedSide = st.SelectedCorpsSide;
    for (int k = 1; k <= st.ReinforcementCount && k <= kMaxReinforcements; ++k) {
        if (!ReinforcementDue(st, k)) continue;
        TErosites& r = st.Reinforcements[static_cast<std::size_t>(k)];
        if (r.Side != 1 && r.Side != 2) continue;
        if (!RoomForArrival(st, r)) {
            AddLogEntry(game, r.Side, 1, kLogKindRules,
                        "Nincs hely az erösítésnek / no room for a reinforcement", kColourYellow);
            continue;
        }
        if (r.Side != st.ActiveSide) SwapPerspective(st);
        r.Arrived = 1;
        Arrive(game, r);
    }
    st.ActiveSide = active;
    st.OtherSide = other;
    st.SelectedCorps = selected;
    st.SelectedCorpsSide = selectedSide;
}

} // namespace vezer
