#include "turn/recruitment.h"

#include "core/arith.h"
#include "core/log.h"
#include "core/random.h"
#include "core/texts.h"
#include "forces/forces.h"
#include "forces/generals.h"
#include "forces/occupation.h"
#include "forces/organisation.h"
#include "forces/strength.h"
#include "map/queries.h"
#include "battle/battle.h"
#include "turn/turn.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vezer {

namespace {

constexpr int kTypeNationalGuard = 7;
constexpr int kTypeVolunteerHorse = 2;
constexpr int kSilentNation = 7; // the Viennese revolutionaries: their recruits come unannounced
constexpr int kTaskDefend = 2;
constexpr int kRoleReinforcement = 4;
constexpr int kRoleGarrison = 5;

bool IsRecruitType(const State& st, int type) {
    return type >= 1 && type <= st.TypeCount && IsType(type);
}

// Step 3 of a recruit: the own corps on the city's hex it joins, or 0 for a new corps there.
// A corps that already holds the type is preferred; the computer keeps its garrisons apart.
int RecruitTarget(const State& st, int side, const TVaros& city, int type) {
    const bool computer = st.PlayerType[side] == 2;
    int first = 0, choice = 0;
    bool anyField = false;
    for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c) {
        const THad& h = st.CorpsRec(side, c);
        if (!StandsOn(h, city.X, city.Y)) continue;
        if (first == 0) first = c;
        if (h.Role != kRoleGarrison) anyField = true;
    }
    if (first == 0 || (computer && !anyField)) return 0;
    for (int c = first; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c) {
        const THad& h = st.CorpsRec(side, c);
        if (!StandsOn(h, city.X, city.Y)) continue;
        bool holdsType = false;
        for (int i = 1; i <= h.UnitCount && i <= kCorpsUnitSlots; ++i) {
            const int r = h.Units[static_cast<std::size_t>(i)];
            holdsType = holdsType || (IsRegiment(st, side, r) && st.Regiment(side, r).Type == type);
        }
        if (h.UnitCount < kMaxUnitsPerCorps && holdsType) choice = c;
        if (computer && h.Role == kRoleGarrison) choice = 0;
    }
    return choice != 0 ? choice : first;
}

// Whether the side has room for the recruit: a regiment, a place in its corps and, for a new
// corps, the corps and a general for it.
bool RoomForRecruit(const State& st, int side, int target, int nation) {
    if (st.RegimentCount[side] >= kMaxRegiments) return false;
    if (target != 0) return st.CorpsRec(side, target).UnitCount < kMaxUnitsPerCorps;
    return st.CorpsCount[side] < kMaxCorps && CanPickOrdinaryGeneral(st, side, nation);
}

TEzred DrawRecruit(State& st, int side, int type, int fill, int nation) {
    const TEzredAlap& t = st.Types[static_cast<std::size_t>(type)];
    TEzred e;
    e.Type = type;
    e.Arm = t.Arm;
    // The figures stay within 0..100 whatever the type table says.
    e.Morale = std::clamp(std::min(100, st.Zeal[side] + R(st, 20) - 10), 0, 100);
    e.Experience = std::clamp(R(st, 20) + t.BaseExperience - 10, 0, 100);
    e.Readiness = std::clamp(R(st, 20) + t.BaseReadiness - 10, 0, 100);
    e.Supply = std::clamp(R(st, 20) + t.BaseSupply - 10, 0, 100);
    e.FillPercent = fill;
    e.Nation = nation;
    return e;
}

// Step 4: a new corps at the city, led by an ordinary general of the recruits' nation, to hold it.
int FormCorpsAtCity(Game& game, int side, const TVaros& city, TEzred recruit) {
    State& st = game.state;
    const int index = st.CorpsCount[side] + 1;
    recruit.Corps = index;
    const int r = CreateRegiment(game, side, 0, recruit);
    if (r == 0) return 0;
    if (index >= st.GeneralCount[side]) AddGeneral(game, side, recruit.Nation, true);
    THad h = EmptyCorpsRecord();
    h.General = PickOrdinaryGeneral(game, side, recruit.Nation);
    h.Nation = side;
    h.X = city.X;
    h.Y = city.Y;
    h.Formation = 3;
    h.Tactic = 2;
    h.Direction = side == 1 ? 5 : 2;
    h.ObjectiveX = city.X;
    h.ObjectiveY = city.Y;
    h.Task = kTaskDefend;
    h.Role = kRoleReinforcement;
    if (!CreateCorps(game, side, index, h)) return 0;
    RecomputeCorps(game, side, index);
    return IsRegiment(st, side, r) ? r : 0;
}

// The fill of a finished recruitment: guns come whole, men as the nation's zeal allows.
int RecruitFill(const State& st, int owner, int type) {
    return st.Types[static_cast<std::size_t>(type)].Arm == 3 ? 100 : (st.Zeal[owner] + 100) / 2;
}

// --- Automatic choice ------------------------------------------------------------------

bool SiegeGunsWanted(const State& st, int side, const TVaros& city) {
    if (st.Year == kFirstWarYear || (st.Year == kFirstWarYear + 1 && st.Month <= 2) ||
        st.AiPosture[side] == 1)
        return false;
    const int siege = st.AiSiegeCorps[side];
    if (!IsCorps(st, side, siege)) return false;
    const THad& h = st.CorpsRec(side, siege);
    return Distance(st, Hex{h.X, h.Y}, Hex{city.X, city.Y}) < 80 && h.Type13Men < 30;
}

// The score of type i for the city; the draws in the rules' order.
int TypeScore(State& st, int side, const TVaros& city, int i) {
    const TEzredAlap& t = st.Types[static_cast<std::size_t>(i)];
    if (!(t.SideOnly == 0 || t.SideOnly == side) || t.RecruitWeeks >= 90 || i == kTypeFortressBattery)
        return 0;
    if (i == kTypeSiegeBattery) return SiegeGunsWanted(st, side, city) ? 10000 : 0;
    const int d = RoundHalfEven(std::sqrt(static_cast<double>(std::max(t.BaseCombatValue, 0))));
    int score = R(st, d / 2) + d / 2 + 10;
    score -= R(st, t.RecruitWeeks);
    if ((city.CityThreatPercent > 1 || st.Year == kFirstWarYear) &&
        t.RecruitWeeks > st.Types[static_cast<std::size_t>(kTypeVolunteerHorse)].RecruitWeeks)
        score -= R(st, 5) + 1;
    if (t.RecruitWeeks > 8) score -= R(st, 5);
    if (t.Arm == 1)
        score += R(st, 2);
    else if (t.Arm == 2)
        score += R(st, 5);
    else if (t.Arm == 3)
        score += R(st, 2);
    return score;
}

// The weeks of a weapon shortage, from the Hungarian army's demand for weapons.
int ShortageWeeks(int demand) {
    if (demand > 160000) return 4;
    if (demand >= 130001) return 2;
    if (demand >= 100001) return 1;
    return 0;
}

int DifficultyWeeks(const State& st) {
    if (st.NetworkGame || st.PbemGame) return 2;
    switch (st.Difficulty) {
    case 2:
        return 1;
    case 3:
        return 2;
    default:
        return 0; // easy, and the tutorial
    }
}

// The general credited with the city: the one of the side's last corps (the levy's own when
// it formed one).
int LastCorpsGeneral(const State& st, int side) {
    const int c = st.CorpsCount[side];
    return IsCorps(st, side, c) ? st.CorpsRec(side, c).General : 0;
}

std::string NationName(const State& st, int nation) {
    return nation >= 1 && nation <= kNationCount ? st.Texts.NationName[static_cast<std::size_t>(nation)].str()
                                                 : "";
}

// One city's uprising for side s, its chance already won.
void Uprising(Game& game, int s, int cityIndex, int enemyStrength) {
    State& st = game.state;
    const TVaros& city = CityRec(st, cityIndex);
    const Hex hex{city.X, city.Y};
    // A side without room for the levy has no uprising: nothing of it is made.
    if (!RoomForRecruitAt(st, s, cityIndex, kTypeLevy, city.Nation)) {
        LogNoRoomForRecruit(game, s, cityIndex);
        return;
    }
    AddTurnEvent(game, s, false, city.Name.str() + ": " + NationName(st, city.Nation) + " népfelkelés ");
    if (enemyStrength > 0) RetreatFromHex(game, hex, 3 - s);
    const int fill = std::clamp(R(st, 60) + st.Zeal[s] - 30, 20, 100);
    CreateRecruit(game, s, cityIndex, kTypeLevy, fill, city.Nation);
    OccupyHex(game, s, city.Nation, LastCorpsGeneral(st, s), hex.x, hex.y);
}

} // namespace

bool RoomForRecruitAt(const State& st, int side, int cityIndex, int type, int nation) {
    if (!IsSide(side) || !IsCity(cityIndex) || !IsRecruitType(st, type)) return false;
    return RoomForRecruit(st, side, RecruitTarget(st, side, CityRec(st, cityIndex), type), nation);
}

void LogNoRoomForRecruit(Game& game, int side, int cityIndex) {
    AddLogEntry(game, side, 1, kLogKindRules,
                CityRec(game.state, cityIndex).Name.str() +
                    ": nincs hely új egységnek / no room for a new unit",
                kColourYellow);
}

int CreateRecruit(Game& game, int side, int cityIndex, int type, int fill, int nation) {
    State& st = game.state;
    if (!IsSide(side) || !IsCity(cityIndex) || !IsRecruitType(st, type)) return 0;
    if (st.CorpsCount[side] > kRecruitCorpsLimit) return 0;
    const TVaros& city = CityRec(st, cityIndex);
    const int target = RecruitTarget(st, side, city, type);
    if (!RoomForRecruit(st, side, target, nation)) {
        LogNoRoomForRecruit(game, side, cityIndex);
        return 0;
    }
    TEzred recruit = DrawRecruit(st, side, type, fill, nation);
    int r = 0;
    if (target != 0) {
        r = CreateRegiment(game, side, 0, recruit);
        if (r == 0) return 0;
        HeldIndex held(game.watches, RecordKind::Regiment, side, r);
        if (!MoveRegiment(game, side, r, target, false) || held.gone()) return 0;
        r = held.get();
    } else {
        r = FormCorpsAtCity(game, side, city, recruit);
        if (r == 0) return 0;
    }
    if (type == kTypeLevy) {
        st.LevyMen[side] += 5000;
    } else if (nation != kSilentNation) {
        AddTurnEvent(game, side, true,
                     city.Name.str() + " toborzás: " + " " + RegimentSubject(st, side, r) + " készen áll");
    }
    return r;
}

void CompleteCityRecruitment(Game& game) {
    State& st = game.state;
    for (int c = 1; c <= kCityCount; ++c) {
        TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        if (city.RecruitType <= 0) continue;
        --city.RecruitWeeksLeft;
        // A count that passed zero finishes too, or the city would never recruit again.
        if (city.RecruitWeeksLeft > 0) continue;
        const int type = city.RecruitType, owner = city.Owner;
        city.RecruitType = 0;
        // A city held by neither side, or training a type the table lacks, trains nobody.
        if (!IsSide(owner) || !IsRecruitType(st, type)) continue;
        CreateRecruit(game, owner, c, type, RecruitFill(st, owner, type), city.FlagClass);
    }
}

void ChooseCityRecruitment(Game& game, int side) {
    State& st = game.state;
    if (st.Campaign == 0 || !IsSide(side)) return;
    if (st.PlayerType[side] != 2 && st.AutoRecruit != 1) return;
    for (int c = 1; c <= kCityCount; ++c) {
        TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        if (city.Owner != side || city.HomeSide != side || city.RecruitType != 0) continue;
        int best = 0, bestScore = -999;
        for (int i = 1; i <= st.TypeCount && i <= kMaxTypes; ++i) {
            const int score = TypeScore(st, side, city, i);
            if (score > bestScore) {
                best = i;
                bestScore = score;
            }
        }
        if (best == 0) continue;
        city.RecruitType = best;
        city.RecruitWeeksLeft = st.Types[static_cast<std::size_t>(best)].RecruitWeeks;
    }
}

void UpdateWeaponShortage(Game& game) {
    State& st = game.state;
    if (--st.RecruitPenaltyTurns < 1) {
        st.RecruitPenaltyTurns = 0;
        st.RecruitPenaltyWeeks = 0;
    }
    long long demand = 0;
    for (int r = 1; r <= st.RegimentCount[1] && r <= kMaxRegiments; ++r) {
        const TEzred& e = st.Regiment(1, r);
        if (e.Nation != 1 || e.Type == kTypeLevy || e.Type == kTypeNationalGuard) continue;
        demand += e.Arm == 3 ? 200 : e.Men;
    }
    st.WeaponDemand = static_cast<int>(std::min<long long>(demand, 2000000000));
    const int k = ShortageWeeks(st.WeaponDemand);
    const int weeks = k + DifficultyWeeks(st) + st.RecruitPenaltyWeeks;
    for (int t = 1; t <= st.TypeCount && t <= kMaxTypes; ++t)
        st.Types[static_cast<std::size_t>(t)].RecruitWeeks =
            st.BaseRecruitWeeks[static_cast<std::size_t>(t)] + weeks;
    if (k == 1) AddTurnEvent(game, 1, true, "Magyar fegyverhiány! Toborzási idö +1 hét");
    if (k == 2) AddTurnEvent(game, 1, true, "Súlyos magyar fegyverhiány! Toborzási idö +2 hét");
    if (k == 4) AddTurnEvent(game, 1, true, "Kritikus magyar fegyverhiány! Toborzási idö +4 hét");
}

void CountLevyMen(Game& game) {
    State& st = game.state;
    const long long full = st.Types[static_cast<std::size_t>(kTypeLevy)].FullStrength;
    for (int side = 1; side <= 2; ++side) {
        long long men = 0;
        for (int r = 1; r <= st.RegimentCount[side] && r <= kMaxRegiments; ++r) {
            const TEzred& e = st.Regiment(side, r);
            if (e.Type == kTypeLevy) men += RoundHalfEvenRatio(e.FillPercent * full, 100);
        }
        st.LevyMen[side] = static_cast<int>(std::min<long long>(men, 2000000000));
    }
}

int LevyChanceOf(const State& st, int side) {
    const int base = st.LevyChance[side];
    int p = base;
    if (st.Month == 12 || st.Month == 1 || st.Month == 2)
        p /= 2;
    else if (st.Year == kFirstWarYear + 1 && st.Zeal[side] < 80)
        p /= 3;
    const long long men = st.LevyMen[side], limit = st.LevyLimit[side];
    if (men > limit) p = base / 4;
    if (2 * men > 3 * limit) p = 0;
    return p;
}

void RaiseLevies(Game& game) {
    State& st = game.state;
    CountLevyMen(game);
    const int chance[3] = {0, LevyChanceOf(st, 1), LevyChanceOf(st, 2)};
    for (int c = 1; c <= kCityCount; ++c) {
        const TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        if (city.Nation <= 0) continue;
        // The Russians, the Slovaks and the Italians rise for neither side.
        const int s = NationFlagOf(city.Nation);
        if (!IsSide(s)) continue;
        if (st.CorpsCount[s] > kRecruitCorpsLimit) return;
        const int e = EnemyStrength(st, 3 - s, Hex{city.X, city.Y}, true);
        if (e >= 5) continue;
        // In a city of the other side's the nation rises two and a half times as readily.
        const int d = R(st, 100);
        if (city.Owner == s ? d > chance[s] : 2 * d > 5 * chance[s]) continue;
        Uprising(game, s, c, e);
    }
}

} // namespace vezer
