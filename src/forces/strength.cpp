#include "forces/strength.h"

#include "core/arith.h"
#include "forces/forces.h"
#include "forces/markers.h"
#include "forces/organisation.h"
#include "forces/recon.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vezer {

namespace {

// The readiness and experience factors are kept as exact fractions, so the same figures come
// out on every machine: RF = ReadinessFactorPercent / 100, EF = ExperienceFactorPpm / 10000.
long long ExperienceFactor(int experience) {
    long long e = 100 - experience;
    return 10000 - e * e;
}
constexpr long long kFactorScale = 100LL * 10000LL;

// An artillery ratio as the fraction num / den.
struct Ratio {
    long long num = 1;
    long long den = 1;
};

Ratio ArtilleryFraction(const State& st, const THad& h) {
    if (h.Garrison == 1) return {};
    int full = st.Types[kTypeFootBattery].FullStrength > 0 ? st.Types[kTypeFootBattery].FullStrength : 1;
    long long c = RoundHalfEvenRatio(h.CavalryMen, 700);
    long long i = RoundHalfEvenRatio(h.InfantryMen, 700);
    long long g = RoundHalfEvenRatio(h.Guns, full);
    if (g == 0) return {};
    Ratio r = i + c > 0 ? Ratio{g, i + c} : Ratio{5, 1};
    if (r.num < r.den) return {};
    return r;
}

int FormationMovementFactor(const State& st, int formation) {
    if (formation < 1 || formation > kFormationCount) return 100;
    return st.Formations[static_cast<std::size_t>(formation)].MovementFactor;
}

int AbilityOfCorpsGeneral(const State& st, int side, const THad& h) {
    return IsGeneral(st, side, h.General) ? st.General(side, h.General).SpecialAbility : 0;
}

// Step 0: regiments with no men leave the corps before anything is counted. Returns false
// when the corps itself went with them.
bool RemoveRegimentsWithoutMen(Game& game, int side, int corps) {
    State& st = game.state;
    THad& h = st.CorpsRec(side, corps);
    int slot = 1;
    while (slot <= h.UnitCount && slot <= kCorpsUnitSlots) {
        int r = h.Units[static_cast<std::size_t>(slot)];
        if (IsRegiment(st, side, r) && st.Regiment(side, r).Men <= 0) {
            DeleteRegimentRecord(game, side, r);  // the slot now holds another regiment
            continue;
        }
        ++slot;
    }
    if (h.UnitCount > 0) return true;
    RemoveCorps(game, side, corps);
    return false;
}

struct Tally {
    std::array<int, 5> perClass{};
    long long morale = 0, readiness = 0, supply = 0, defence = 0, visibility = 0, movement = 0;
};

void CountRegiment(const State& st, THad& h, const TEzred& e, Tally& t) {
    const TEzredAlap& type = TypeOf(st, e);
    int cls = NationFlagOf(e.Nation);
    if (cls >= 0 && cls <= 4) ++t.perClass[static_cast<std::size_t>(cls)];
    if (type.ArmClass == 1) h.AllClassZero = 0;
    if (type.ArmClass == 0) h.AllClassOne = 0;
    if (e.Arm != 3) h.ArtilleryOnly = 0;
    h.MovementPoints = std::min(h.MovementPoints, e.MovementPoints);
    h.MovementAllowance = std::min(h.MovementAllowance, e.MovementAllowance);
    h.MinObservation = std::min(h.MinObservation, e.Observation);
    t.morale += e.Morale;
    t.readiness += e.Readiness;
    t.supply += e.Supply;
    t.defence += e.DefenceValue;
    t.visibility += e.Visibility;
    t.movement += e.MovementAllowance;
    if (e.Arm == 1) h.CavalryMen += e.Men;
    if (e.Arm == 2) h.InfantryMen += e.Men;
    if (e.Arm == 3) h.Guns += e.Men;
    if (e.Type == kTypeSiegeBattery) h.Type13Men += e.Men;
    if (e.Type == kTypeLevy) h.Type6Men += e.Men;
}

void ResetAggregates(THad& h) {
    h.AvgMorale = h.AvgReadiness = h.AvgSupply = 0;
    h.SumVisibility = h.SumDefenceValue = h.AvgMovementAllowance = 0;
    h.CavalryMen = h.InfantryMen = h.Guns = h.Type13Men = h.Type6Men = 0;
    h.CombatValue = 1;
    h.MinObservation = 1000;
    h.MovementPoints = h.MovementAllowance = 255;
    h.AllClassOne = h.AllClassZero = h.ArtilleryOnly = 1;
}

// Step 8: the corps' "Harcérték".
int CorpsCombatValue(const State& st, int side, const THad& h) {
    Ratio ratio = ArtilleryFraction(st, h);
    long long total = 1;
    for (int i = 1; i <= h.UnitCount; ++i) {
        const TEzred& e = st.Regiment(side, h.Units[static_cast<std::size_t>(i)]);
        if (e.Type == kTypeSiegeBattery) continue;
        if (e.Type == kTypeFortressBattery) {
            if (h.Garrison == 1) total += e.CombatValue / 4;
        } else if (e.Arm == 3) {
            total += RoundHalfEvenRatio(e.CombatValue * ratio.den, ratio.num);
        } else {
            total += e.CombatValue;
        }
    }
    return total < 1 ? 1 : static_cast<int>(total);
}

int DominantClass(int side, const std::array<int, 5>& perClass) {
    int best = 0;
    for (int cls = 1; cls <= 3; ++cls)
        if (perClass[static_cast<std::size_t>(cls)] > (best ? perClass[static_cast<std::size_t>(best)] : 0)) best = cls;
    return best ? best : NameClassFor(side, 0);
}

void SetMarkerLooks(THad& h, int side) {
    h.MarkerKind = h.AllClassOne ? 11 : (h.AllClassZero && h.Guns < 9) ? 7 : 9;
    int lowest = std::min({h.AvgMorale, h.AvgReadiness, h.AvgSupply});
    h.MarkerColor = lowest < 31 ? kMarkerRed : lowest < 51 ? kMarkerYellow : kMarkerGreen;
    int picture = h.Garrison == 1                              ? kMarkerPictureGarrison
                  : h.MovementPoints != h.MovementAllowance ? kMarkerPictureMoved
                                                            : kMarkerPictureNormal;
    h.MarkerPicture = side * 10 + picture;
}

// Who else stands on the corps' hex.
struct HexCompany {
    bool enemyField = false;    // an enemy corps that is not a garrison
    bool ownOther = false;      // another own corps
    bool ownEntrenching = false;  // another own corps that is entrenching
};

HexCompany CompanyOf(const State& st, int side, int corps) {
    const THad& h = st.CorpsRec(side, corps);
    HexCompany company;
    for (int s = 1; s <= 2; ++s)
        for (int c = 1; c <= st.CorpsCount[s] && c <= kMaxCorps; ++c) {
            const THad& o = st.CorpsRec(s, c);
            if (!StandsOn(o, h.X, h.Y) || (s == side && c == corps)) continue;
            if (s != side && o.Garrison != 1) company.enemyField = true;
            if (s == side) {
                company.ownOther = true;
                if (o.Activity == 11) company.ownEntrenching = true;
            }
        }
    return company;
}

// Step 14: which corps actions the menus offer and the computer considers.
void SetPermissionFlags(State& st, int side, int corps) {
    THad& h = st.CorpsRec(side, corps);
    const int other = 3 - side;
    const bool easy = st.Difficulty == 1;
    const int cityIndex = CityAt(st, h.X, h.Y);
    const TVaros& city = CityRec(st, cityIndex);
    const bool enemyCity = cityIndex != 0 && city.Owner == other;
    const bool enemyFortress = enemyCity && city.Kind == 3;
    const HexCompany company = CompanyOf(st, side, corps);

    h.CanAttack = (h.Formation == 2 || h.Formation == 4 || h.Formation == 5 || easy) && !h.ArtilleryOnly &&
                  h.AvgMorale >= 31;
    h.CanBombard = enemyCity && city.FortStrength > 1 && (h.Formation == 5 || easy) && h.Type13Men > 0 &&
                   h.AvgSupply > 30 && h.MovementPoints >= 15;
    bool weakGarrison = false;
    if (enemyFortress) {
        int g = city.GarrisonCorps;
        int defenders = IsCorps(st, other, g) ? st.CorpsRec(other, g).CavalryMen + st.CorpsRec(other, g).InfantryMen : 0;
        weakGarrison = defenders < 301 && h.InfantryMen >= 1000;
    }
    h.CanStorm = h.MovementPoints > 15 && enemyFortress && h.InfantryMen > 1000 &&
                 (city.FortStrength < 2 || weakGarrison);
    h.FlagAlwaysCleared = 0;
    h.FlagAlwaysSet = 1;
    h.CanFormNewCorps = h.UnitCount > 1 && !company.enemyField;
    h.CanTransferRegiments = company.ownOther;
    h.MayChangeFormation =
        !easy && ((h.SizeClass - 1) * 20 * h.MovementAllowance / 100) * h.MovementAllowance / 100 < h.MovementPoints;
    h.CanChangeTactic = !easy;
    h.CanChangeGeneral = 1;
    const THex& hex = st.Cell(h.X, h.Y);
    h.CanEntrench = st.EntrenchmentMarkCount < 80 && (h.Formation == 3 || easy) && h.InfantryMen >= 3000 &&
                    h.AvgSupply > 70 && hex.Entrenchment < 2 && !(cityIndex != 0 && city.Kind == 3) &&
                    h.MovementPoints >= 30 && !company.ownEntrenching;
    h.CanRepairFort = cityIndex != 0 && city.GarrisonCapacity > 0 && city.FortStrength < city.FortMax &&
                      city.Owner == st.ActiveSide && h.AvgSupply > 30 && !company.enemyField;
    h.SiegeGunsAtEnemyFort = enemyFortress && h.Type13Men > 0;
}

} // namespace

int ReadinessFactorPercent(int readiness) {
    long long d = 100 - readiness;
    return RoundHalfEvenRatio(10000 - d * d, 200) + 50;
}

void RecomputeRegiment(State& st, int side, int r) {
    if (!IsRegiment(st, side, r)) return;
    TEzred& e = st.Regiment(side, r);
    const TEzredAlap& t = TypeOf(st, e);
    const long long full = t.FullStrength > 0 ? t.FullStrength : 1;
    e.FillPercent = RoundHalfEvenRatio(100LL * e.Men, full);
    if (e.FillPercent == 0) e.FillPercent = 1;

    const long long rf = ReadinessFactorPercent(e.Readiness);
    const long long ef = ExperienceFactor(e.Experience);
    e.CombatValueFull = RoundHalfEvenRatio(t.BaseCombatValue * rf * ef, kFactorScale);
    e.CombatValue = RoundHalfEvenRatio(1LL * e.CombatValueFull * e.FillPercent, 100);
    // A hungry regiment fights below its strength on paper; its present value stays.
    if (e.Supply < 30) e.CombatValueFull /= 2;
    if (e.Supply < 15) e.CombatValueFull /= 2;
    e.DefenceValue = RoundHalfEvenRatio(t.BaseDefenceValue * rf * ef * 2, kFactorScale * 3);

    e.Observation = t.BaseObservation * 2 / 3;
    if (e.FillPercent < 50) e.Observation = e.Observation * 5 / 4;
    if (e.FillPercent < 20) e.Observation = e.Observation * 5 / 4;
    e.Visibility = t.BaseVisibility * e.FillPercent / 100;
    if (e.Visibility < 3) e.Visibility = 3;

    int ability = 0;
    if (IsCorps(st, side, e.Corps)) {
        const THad& c = st.CorpsRec(side, e.Corps);
        e.CorpsFormation = c.Formation;
        ability = AbilityOfCorpsGeneral(st, side, c);
    }
    if (st.Difficulty == 1)
        e.MovementAllowance = RoundHalfEvenRatio(t.BaseMovement * rf, 100);
    else
        e.MovementAllowance =
            RoundHalfEvenRatio(t.BaseMovement * FormationMovementFactor(st, e.CorpsFormation) * rf, 10000);
    if (ability == 1 && e.CorpsFormation != 2) e.MovementAllowance = e.MovementAllowance * 12 / 10;
    if (e.Nation == 7) e.MovementAllowance = 0;  // the Viennese insurgents hold their city
    if (e.Morale < 10) e.Morale = 10;
    e.MovementAllowance = std::min({e.MovementAllowance, 100, t.BaseMovement * 12 / 10});
    if (e.MovementPoints > e.MovementAllowance) e.MovementPoints = e.MovementAllowance;
}

int RegimentSupplyDemand(const State& st, int side, int r) {
    if (!IsRegiment(st, side, r)) return 0;
    const TEzred& e = st.Regiment(side, r);
    long long cap = e.FillPercent * (e.Type == kTypeFortressBattery ? 10LL : 30LL);
    long long need = (101LL - e.Supply) * e.FillPercent;
    return RoundHalfEvenRatio(std::min(cap, need), 100);
}

int CorpsSupplyDemand(const State& st, int side, int corps) {
    if (!IsCorps(st, side, corps)) return 0;
    const THad& h = st.CorpsRec(side, corps);
    int total = 0;
    for (int i = 1; i <= h.UnitCount && i <= kCorpsUnitSlots; ++i)
        total += RegimentSupplyDemand(st, side, h.Units[static_cast<std::size_t>(i)]);
    return total;
}

void ShareCorpsSupply(State& st, int side, int corps) {
    if (!IsCorps(st, side, corps)) return;
    const THad& h = st.CorpsRec(side, corps);
    long long s = 0, w = 0;
    for (int i = 1; i <= h.UnitCount && i <= kCorpsUnitSlots; ++i) {
        int r = h.Units[static_cast<std::size_t>(i)];
        if (!IsRegiment(st, side, r)) continue;
        const TEzred& e = st.Regiment(side, r);
        s = RoundHalfEvenRatio(100 * s + 1LL * e.Supply * e.FillPercent, 100);
        w += e.FillPercent;
    }
    if (w == 0) w = 1;
    int shared = RoundHalfEvenRatio(100 * s, w);
    for (int i = 1; i <= h.UnitCount && i <= kCorpsUnitSlots; ++i) {
        int r = h.Units[static_cast<std::size_t>(i)];
        if (IsRegiment(st, side, r)) st.Regiment(side, r).Supply = shared;
    }
}

void SortCorpsUnits(State& st, int side, int corps) {
    if (!IsCorps(st, side, corps)) return;
    THad& h = st.CorpsRec(side, corps);
    int n = std::min(h.UnitCount, kCorpsUnitSlots);
    if (n < 2) return;
    auto first = h.Units.begin() + 1;
    std::sort(first, first + n, [&](int a, int b) {
        int ta = IsRegiment(st, side, a) ? st.Regiment(side, a).Type : 0;
        int tb = IsRegiment(st, side, b) ? st.Regiment(side, b).Type : 0;
        return ta != tb ? ta < tb : a < b;
    });
}

double ArtilleryRatio(const State& st, int side, int corps) {
    if (!IsCorps(st, side, corps)) return 1.0;
    Ratio r = ArtilleryFraction(st, st.CorpsRec(side, corps));
    return static_cast<double>(r.num) / static_cast<double>(r.den);
}

void RecomputeCorps(Game& game, int side, int corps) {
    State& st = game.state;
    if (!IsCorps(st, side, corps) || st.CorpsRec(side, corps).UnitCount <= 0) return;
    if (!RemoveRegimentsWithoutMen(game, side, corps)) return;
    THad& h = st.CorpsRec(side, corps);
    SortCorpsUnits(st, side, corps);
    ResetAggregates(h);
    ShareCorpsSupply(st, side, corps);
    if (st.Difficulty == 1) {
        h.Formation = 4;
        h.Tactic = 2;
    }
    Tally tally;
    const int n = std::min(h.UnitCount, kCorpsUnitSlots);
    for (int i = 1; i <= n; ++i) {
        int r = h.Units[static_cast<std::size_t>(i)];
        if (!IsRegiment(st, side, r)) continue;
        RecomputeRegiment(st, side, r);
        CountRegiment(st, h, st.Regiment(side, r), tally);
    }
    h.SumVisibility = static_cast<int>(tally.visibility);
    h.SumVisibility /= n / (n > 4 ? 5 : 2) + 1;
    if (AbilityOfCorpsGeneral(st, side, h) == 9) {
        h.MinObservation = h.MinObservation * 2 / 3;
        h.SumVisibility = h.SumVisibility * 2 / 3;
    }
    h.ArtilleryRatio = ArtilleryRatio(st, side, corps);
    h.CombatValue = CorpsCombatValue(st, side, h);
    if (h.Garrison == 1) {
        // A garrison never leaves its fortress.
        h.MovementPoints = h.MovementAllowance = 0;
        h.Role = 5;
        if (int city = CityAt(st, h.X, h.Y)) CityRec(st, city).GarrisonCorps = corps;
    }
    int m = h.CavalryMen + h.InfantryMen - h.Type6Men / 2;
    h.SizeClass = m <= 3000 ? 1 : m <= 9000 ? 2 : 3;
    h.SumDefenceValue = static_cast<int>(tally.defence);
    h.AvgMorale = static_cast<int>(tally.morale / n);
    h.AvgReadiness = static_cast<int>(tally.readiness / n);
    h.AvgSupply = static_cast<int>(tally.supply / n);
    h.AvgMovementAllowance = static_cast<int>(tally.movement / n);
    if (h.ArtilleryOnly) h.AvgMovementAllowance /= 2;
    h.DominantNationClass = DominantClass(side, tally.perClass);
    SetMarkerLooks(h, side);
    SetPermissionFlags(st, side, corps);
    UpdateCorpsMarker(game, side, corps);
    if (!st.GameBeingLoaded) RefreshEstimates(game, side, corps);
    // The estimate's stack refresh may not remove corps, so the record is still this corps.
    h.SupplyDemand = CorpsSupplyDemand(st, side, corps);
    h.Name = CorpsName(st, side, corps);
}

} // namespace vezer
