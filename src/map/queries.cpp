#include "map/queries.h"

#include "core/arith.h"

#include <cmath>
#include <numbers>

namespace vezer {

namespace {

constexpr int kCrowdingLimit = 10000;  // men (and guns) a hex holds without slowing down
constexpr int kMaxRegimentsInHex = 99; // regiments of one side a hex can hold
constexpr int kRiverCrossingAbility = 8;
constexpr int kZoneOfControlFactor = 3;

bool ValidSide(int side) {
    return side == 1 || side == 2;
}

// The moving corps, or nullptr when no corps is selected.
const THad* MovingCorps(const State& st) {
    if (st.SelectedCorps < 1 || st.SelectedCorps > kMaxCorps || !ValidSide(st.ActiveSide)) return nullptr;
    return &st.Corps[static_cast<std::size_t>(st.ActiveSide)][static_cast<std::size_t>(st.SelectedCorps)];
}

// Calls f(corps) for every corps of `side` standing on the hex.
template <typename F> void ForEachCorpsAt(const State& st, int side, Hex hex, F&& f) {
    if (!ValidSide(side) || st.Cell(hex.x, hex.y).CorpsCount <= 0) return;
    const int count = std::min(st.CorpsCount[static_cast<std::size_t>(side)], kMaxCorps);
    for (int c = 1; c <= count; ++c) {
        const THad& corps = st.Corps[static_cast<std::size_t>(side)][static_cast<std::size_t>(c)];
        if (corps.X == hex.x && corps.Y == hex.y) f(corps);
    }
}

bool Known(const THad& corps, bool knowAll) {
    return knowAll || corps.ReconLevel > 0;
}

// A field corps of `side` on the hex (garrisons do not count), known to the other side unless knowAll.
bool FieldCorpsAt(const State& st, int side, Hex hex, bool knowAll) {
    bool any = false;
    ForEachCorpsAt(st, side, hex, [&](const THad& c) { any |= c.Garrison == 0 && Known(c, knowAll); });
    return any;
}

double CrowdingFactor(int men) {
    return ((men - kCrowdingLimit) / 1000 + 100) / 100.0;
}

// Step 5: a big corps, or a hex already full of the side's men, slows the step.
double Crowding(const State& st, const THad& mover, Hex to, bool knowAll, double c) {
    const int men = mover.CavalryMen + mover.InfantryMen;
    if (men > kCrowdingLimit) c *= CrowdingFactor(men);
    int present = 0;
    int regiments = 0;
    ForEachCorpsAt(st, st.ActiveSide, to, [&](const THad& k) {
        if (knowAll || st.FogOfWar == 0 || k.ReconLevel >= 1)
            present += k.CavalryMen + k.InfantryMen + k.Guns;
        regiments += k.UnitCount;
    });
    if (present > kCrowdingLimit) c *= CrowdingFactor(present);
    if (regiments + mover.UnitCount > kMaxRegimentsInHex) c = kImpassableCost;
    return c;
}

// Step 7: enemy field corps on either flank of the step triple its cost, unless the moving
// corps is over four times their strength, or it is all horse and they are all foot.
int ZoneOfControl(const State& st, const THad* mover, Hex from, int d, bool knowAll) {
    int e = 1;
    int strength = 0;
    for (int flankDirection : {TurnLeft(d), TurnRight(d)}) {
        const Hex flank = Neighbour(from, flankDirection);
        bool enemies = false;
        bool allFoot = true;
        ForEachCorpsAt(st, st.OtherSide, flank, [&](const THad& c) {
            if (c.Garrison != 0 || !Known(c, knowAll)) return;
            enemies = true;
            allFoot &= c.AllClassZero != 0;
        });
        if (!enemies) continue;
        e = (mover != nullptr && allFoot && mover->AllClassOne != 0) ? 1 : kZoneOfControlFactor;
        strength += EnemyStrength(st, st.OtherSide, flank, knowAll);
    }
    if (mover != nullptr && mover->CombatValue > 4 * strength) e = 1;
    return e;
}

} // namespace

void RecomputeMoveCosts(State& st) {
    const auto& base = st.TerrainCostBase;
    // Each cost is a base times a factor in tenths or hundredths, rounded half to even.
    auto times = [](int b, int numerator, int denominator) {
        return RoundHalfEvenRatio(1LL * b * numerator, denominator);
    };
    switch (st.GroundState) {
    case 1:
        st.TerrainCost = {base[0], base[1], base[2], base[3], kImpassableCost};
        break;
    case 2: // mud
        st.TerrainCost = {times(base[0], 13, 10), times(base[1], 13, 10), times(base[2], 15, 10),
                          times(base[3], 12, 10), kImpassableCost};
        break;
    case 3: // snow
        st.TerrainCost = {times(base[0], 13, 10), times(base[0], 13, 10), times(base[2], 11, 10),
                          times(base[0], 13, 10), kImpassableCost};
        break;
    case 4: // frost: the marshes freeze
        st.TerrainCost = {base[0], base[1], times(base[2], 7, 10), base[3], kImpassableCost};
        break;
    default:
        break;
    }
    st.TerrainCost[kTerrainImpassable] = kImpassableCost;
    st.RiverCost1 = st.RiverState == 3 ? 30 : st.RiverState == 2 ? 25 : st.RiverState == 1 ? 15 : 5;
    st.RiverCost2 = st.DanubeState == 3 ? 50 : st.DanubeState == 2 ? 45 : st.DanubeState == 1 ? 30 : 5;
    st.DistanceFactor = times(st.TerrainCost[0], 55, 100);
}

int Distance(const State& st, Hex a, Hex b) {
    const double dx = a.x - b.x, dy = a.y - b.y;
    return RoundHalfEven(std::sqrt(dx * dx + dy * dy) * st.DistanceFactor);
}

int FarDirection(Hex from, Hex to) {
    const Pixel p = HexToPixel(from), q = HexToPixel(to);
    const double dx = q.X - p.X, dy = q.Y - p.Y;
    constexpr double pi = std::numbers::pi;
    double a = 0;
    if (dx != 0 && dy != 0) {
        a = std::atan(dy / dx);
        if (dx < 0)
            a += pi;
        else if (dy < 0)
            a += 2 * pi;
    } else if (dy == 0) {
        a = dx > 0 ? 0 : dx < 0 ? pi : 0;
    } else {
        a = dy > 0 ? pi / 2 : 3 * pi / 2;
    }
    const int g = RoundHalfEven(360 - a * 180 / pi);
    if (g >= 0 && g <= 59) return 1;
    if (g >= 60 && g <= 120) return 0;
    if (g >= 121 && g <= 180) return 5;
    if (g >= 181 && g <= 240) return 4;
    if (g >= 241 && g <= 300) return 3;
    if (g >= 301 && g <= 360) return 2;
    return 0;
}

int EnemyStrength(const State& st, int side, Hex hex, bool knowAll) {
    int sum = 0;
    ForEachCorpsAt(st, side, hex, [&](const THad& c) {
        if (!Known(c, knowAll)) return;
        int v = c.UnitCount > 0 ? c.CombatValue : 0;
        if (c.Garrison != 0) v /= 4;
        sum += v == 0 ? 1 : v;
    });
    return sum;
}

int MoveCost(const State& st, Hex from, Hex to, bool knowAll, bool enterEnemy) {
    // 1. Ground. Nothing leaves the map.
    if (!OnMap(st, to)) return kImpassableCost;
    const int t = st.Cell(to.x, to.y).Terrain;
    if (t < 0 || t > kTerrainImpassable) return kImpassableCost;
    double c = st.TerrainCost[static_cast<std::size_t>(t)];
    // 2. Only a neighbour can be entered in one step.
    const int d = DirectionTo(from, to);
    if (d == kNoDirection) return kImpassableCost;
    const THex& origin = st.Cell(from.x, from.y);
    const int river = origin.River[static_cast<std::size_t>(d)];
    const int road = origin.Road[static_cast<std::size_t>(d)];
    const THad* mover = MovingCorps(st);
    // 3. Rivers.
    if (river == 1) c += st.RiverCost1;
    if (river == 2) c += st.RiverCost2;
    if (river == 3) c = kImpassableCost;
    // 4. A road bridges half the river and speeds the march; the railway carries only a
    // corps with foot or guns in it, a corps of horse alone rides beside it as on a road.
    if (road != 0) {
        if (river == 1) c -= st.RiverCost1 / 2;
        if (river == 2) c -= st.RiverCost2 / 2;
        if (road == 1) c *= 0.75;
        if (road == 2) c *= 0.55;
        const int railSide = st.SelectedCorpsSide;
        if (road == 2 && river == 0 && st.SelectedCorps >= 1 && st.SelectedCorps <= kMaxCorps &&
            ValidSide(railSide) &&
            st.Corps[static_cast<std::size_t>(railSide)][static_cast<std::size_t>(st.SelectedCorps)]
                    .AllClassOne != 0)
            c *= 0.75 / 0.55;
    }
    if (mover != nullptr) {
        // 5. Crowding.
        c = Crowding(st, *mover, to, knowAll, c);
        // 6. A general skilled at river crossings.
        const int g = mover->General;
        if (g >= 1 && g <= kMaxGenerals && river >= 1 &&
            st.Generals[static_cast<std::size_t>(st.ActiveSide)][static_cast<std::size_t>(g)]
                    .SpecialAbility == kRiverCrossingAbility)
            c *= 0.75;
    }
    // 7. Zone of control.
    c *= ZoneOfControl(st, mover, from, d, knowAll);
    // 8. Enemy hexes.
    if (!enterEnemy && FieldCorpsAt(st, st.OtherSide, to, knowAll)) c = kImpassableCost;
    // 9. An enemy fortress doubles the cost, unless our own field corps already stand in it.
    if (!FieldCorpsAt(st, st.ActiveSide, to, true)) {
        const int city = st.Cell(to.x, to.y).City;
        if (city >= 1 && city <= kMaxCities) {
            const TVaros& v = st.Cities[static_cast<std::size_t>(city)];
            if (v.GarrisonCapacity >= 1 && v.Owner == st.OtherSide) c *= 2;
        }
    }
    // 10.
    return RoundHalfEven(c);
}

int MaxSupply(Game& game, Hex hex, int side, bool knowAll, bool divide) {
    State& st = game.state;
    if (!ValidSide(side)) return 0;
    // The cities' reach does not depend on any corps' own movement rules.
    struct RestoreSelection {
        State& st;
        int saved;
        ~RestoreSelection() { st.SelectedCorps = saved; }
    } restore{st, st.SelectedCorps};
    st.SelectedCorps = 0;
    constexpr int kReach = 50;
    int result = 0;
    for (int c = 1; c <= kCityCount; ++c) {
        const TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        const Hex at{city.X, city.Y};
        if (city.Owner != side || Distance(st, at, hex) > kReach) continue;
        const int cost = ShortestPath(game, at, hex, kReach, false, knowAll)[0];
        const int share = std::max(kReach - cost, 0); // x = share / 50
        int v = city.SupplyCapacity[static_cast<std::size_t>(side)];
        // A city never captured (counter 0) shares its supply as one captured long ago.
        if (divide) v /= std::max(city.CaptureCounter, 1);
        result = RoundHalfEvenRatio(1LL * v * share + 1LL * result * kReach, kReach);
    }
    return result;
}

int HexDemand(const State& st, int side, Hex hex) {
    int sum = 0;
    if (ValidSide(side)) {
        const int count = std::min(st.CorpsCount[static_cast<std::size_t>(side)], kMaxCorps);
        for (int c = 1; c <= count; ++c) {
            const THad& corps = st.Corps[static_cast<std::size_t>(side)][static_cast<std::size_t>(c)];
            if (corps.X == hex.x && corps.Y == hex.y) sum += corps.SupplyDemand;
        }
    }
    return sum == 0 ? 10 : sum;
}

} // namespace vezer
