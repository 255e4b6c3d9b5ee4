#include "files/map_files.h"
#include "map/map_state.h"
#include "map/queries.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <vector>

namespace vezer {
namespace {

using testing::MakePlainMap;
using testing::PlaceCorps;
using testing::TestGame;

// Counts the repaints the search asks of the screen.
class CountingScreen : public HeadlessPresentation {
public:
    void RepaintDuringSearch() override { ++repaints; }
    int repaints = 0;
};

struct PathGame {
    CountingScreen screen;
    NoTransport link;
    std::unique_ptr<Game> game = MakeGame(screen, link);
    State& st() { return game->state; }
    PathGame() { MakePlainMap(st()); }
};

// Makes everything impassable except a corridor walked from `start` along `steps`.
std::vector<Hex> Corridor(State& st, Hex start, const std::vector<int>& steps) {
    for (int y = 0; y <= st.MapMaxY; ++y)
        for (int x = 0; x <= st.MapMaxX; ++x) st.Cell(x, y).Terrain = kTerrainImpassable;
    std::vector<Hex> hexes = {start};
    for (int d : steps) hexes.push_back(Neighbour(hexes.back(), d));
    for (Hex h : hexes) st.Cell(h.x, h.y).Terrain = 0;
    return hexes;
}

// Rings a hex with impassable ground.
void WallIn(State& st, Hex h) {
    for (int d = 0; d < 6; ++d) {
        const Hex n = Neighbour(h, d);
        st.Cell(n.x, n.y).Terrain = kTerrainImpassable;
    }
}

std::vector<int> Repeat(std::vector<int> v, int d, int n) {
    v.insert(v.end(), static_cast<std::size_t>(n), d);
    return v;
}

TEST(ShortestPath, ToItselfCostsNothing) {
    PathGame p;
    p.st().RandPos = 17;
    const PathResult r = ShortestPath(*p.game, {20, 20}, {20, 20}, 100, false, false);
    EXPECT_EQ(r[0], 0);
    EXPECT_EQ(r[1], kNoDirection);
    EXPECT_EQ(p.screen.repaints, 1);
    EXPECT_EQ(p.st().RandPos, 17); // a search draws nothing
}

TEST(ShortestPath, FollowsTheOnlyWayAndRepaintsOncePerNode) {
    PathGame p;
    const std::vector<int> steps = {3, 2, 1, 0, 1, 2, 3, 3};
    const std::vector<Hex> way = Corridor(p.st(), {20, 20}, steps);
    const PathResult r = ShortestPath(*p.game, way.front(), way.back(), 100, false, false);
    EXPECT_EQ(r[0], 8 * 8);
    for (std::size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(r[i + 1], steps[i]) << "step " << i + 1;
    EXPECT_EQ(r[steps.size() + 1], kNoDirection);
    EXPECT_EQ(p.screen.repaints, 9); // the eight hexes before the target, and the target
}

TEST(ShortestPath, ALongPathKeepsItsFirstSteps) {
    // 35 steps, cheap enough for a bounded search: it reports the first 30, an unbounded one all.
    PathGame p;
    p.st().TerrainCost[0] = 2;
    std::vector<int> steps = Repeat({2}, 3, 20);
    steps.push_back(2);
    steps.push_back(1);
    steps = Repeat(steps, 0, 12);
    const std::vector<Hex> way = Corridor(p.st(), {20, 5}, steps);
    const PathResult bounded = ShortestPath(*p.game, way.front(), way.back(), 100, false, false);
    EXPECT_EQ(bounded[0], 70);
    for (int i = 1; i <= 30; ++i)
        EXPECT_EQ(bounded[static_cast<std::size_t>(i)], steps[static_cast<std::size_t>(i - 1)]) << i;
    const PathResult unbounded = ShortestPath(*p.game, way.front(), way.back(), 101, false, false);
    EXPECT_EQ(unbounded[0], 70);
    for (int i = 1; i <= 35; ++i)
        EXPECT_EQ(unbounded[static_cast<std::size_t>(i)], steps[static_cast<std::size_t>(i - 1)]) << i;
    EXPECT_EQ(unbounded[36], kNoDirection);
}

TEST(ShortestPath, RespectsTheCostBound) {
    PathGame p;
    const std::vector<Hex> way = Corridor(p.st(), {20, 20}, {3, 3, 3, 3});
    EXPECT_EQ(ShortestPath(*p.game, way.front(), way.back(), 32, false, false)[0], 32);
    const PathResult r = ShortestPath(*p.game, way.front(), way.back(), 31, false, false);
    EXPECT_EQ(r[0], kNoPathCost);
    EXPECT_EQ(r[1], kNoDirection);
}

TEST(ShortestPath, FindsNoPathToAWalledInHex) {
    PathGame p;
    WallIn(p.st(), {30, 20});
    const PathResult r = ShortestPath(*p.game, {10, 10}, {30, 20}, 5000, false, false);
    EXPECT_EQ(r[0], kNoPathCost);
    EXPECT_EQ(r[1], kNoDirection);
}

TEST(ShortestPath, GivesUpWhenItHasClosedAThousandHexes) {
    PathGame p;
    WallIn(p.st(), {60, 30});
    const PathResult r = ShortestPath(*p.game, {2, 2}, {60, 30}, 5000, false, false);
    EXPECT_EQ(r[0], kNoPathCost);
    int closed = 0;
    for (int y = 0; y <= 35; ++y)
        for (int x = 0; x <= 62; ++x) closed += p.st().Cell(x, y).InClosedList;
    EXPECT_EQ(closed, 1000);
    EXPECT_EQ(p.screen.repaints, 1001); // one more node is taken, then the open list is emptied
}

TEST(ShortestPath, ABoundedSearchClearsOnlyItsWindow) {
    struct Case {
        int costBound;
        bool farCleared;
    };
    for (const Case c : {Case{100, false}, Case{101, true}}) {
        PathGame p;
        const Hex start{20, 20};
        auto mark = [&](Hex h) {
            THex& cell = p.st().Cell(h.x, h.y);
            cell.InClosedList = 1;
            cell.InOpenList = 1;
            cell.PathCost = 7;
        };
        // Columns 0..50 and rows 0..35: 30 each way, clipped to the map.
        const std::vector<Hex> inside = {{0, 0}, {50, 0}, {50, 35}, {0, 35}, {20, 35}};
        for (Hex h : inside) mark(h);
        mark({51, 20});
        ShortestPath(*p.game, start, {21, 20}, c.costBound, false, false);
        for (Hex h : inside) {
            EXPECT_EQ(p.st().Cell(h.x, h.y).InClosedList, 0) << c.costBound;
            EXPECT_EQ(p.st().Cell(h.x, h.y).PathCost, 5000) << c.costBound;
        }
        EXPECT_EQ(p.st().Cell(51, 20).InClosedList, c.farCleared ? 0 : 1) << c.costBound;
        EXPECT_EQ(p.st().Cell(51, 20).PathCost, c.farCleared ? 5000 : 7) << c.costBound;
    }
}

TEST(ShortestPath, SameSearchSamePathAndSameMarks) {
    // Open ground offers many paths of equal cost: the heap rules choose one, and must choose
    // the same one every time, leaving the same marks.
    PathGame a, b;
    for (PathGame* p : {&a, &b}) {
        testing::SetRiver(p->st(), {14, 12}, 2, 1);
        p->st().Cell(15, 14).Terrain = 2;
        PlaceCorps(p->st(), 2, 1, {16, 11}).ReconLevel = 1;
    }
    const PathResult ra = ShortestPath(*a.game, {10, 10}, {22, 16}, 200, false, false);
    ShortestPath(*b.game, {40, 30}, {3, 3}, 5000, false, true); // a different search first
    const PathResult rb = ShortestPath(*b.game, {10, 10}, {22, 16}, 200, false, false);
    EXPECT_EQ(ra, rb);
    for (int y = 0; y <= 35; ++y)
        for (int x = 0; x <= 62; ++x) {
            ASSERT_EQ(a.st().Cell(x, y).PathCost, b.st().Cell(x, y).PathCost) << x << "," << y;
            ASSERT_EQ(a.st().Cell(x, y).InClosedList, b.st().Cell(x, y).InClosedList) << x << "," << y;
        }
    // The path it takes, pinned: a change to the heap rules shows here.
    std::vector<int> steps;
    for (int i = 1; ra[static_cast<std::size_t>(i)] != kNoDirection; ++i)
        steps.push_back(ra[static_cast<std::size_t>(i)]);
    int cost = 0;
    Hex h{10, 10};
    for (int d : steps) {
        const Hex n = Neighbour(h, d);
        cost += MoveCost(a.st(), h, n, false, false);
        h = n;
    }
    EXPECT_EQ(h, (Hex{22, 16}));
    EXPECT_EQ(cost, ra[0]);
    EXPECT_EQ(steps, (std::vector<int>{2, 2, 2, 2, 3, 2, 2, 2, 2, 2, 2, 2, 1}));
}

// --- MaxSupply ----------------------------------------------------------------------------

TVaros& City(State& st, int c, Hex at, int owner, int supply) {
    TVaros& city = st.Cities[static_cast<std::size_t>(c)];
    city.X = at.x;
    city.Y = at.y;
    city.Owner = owner;
    city.SupplyCapacity[1] = supply;
    city.SupplyCapacity[2] = supply;
    city.CaptureCounter = 1;
    st.Cell(at.x, at.y).City = c;
    return city;
}

TEST(MaxSupply, SharesOutSupplyByPathCost) {
    PathGame p;
    City(p.st(), 1, {10, 10}, 1, 150); // two steps away: 150 x 34/50 = 102
    City(p.st(), 2, {10, 14}, 2, 150); // the other side's
    EXPECT_EQ(MaxSupply(*p.game, {10, 12}, 1, false, false), 102);
    p.st().Cities[1].CaptureCounter = 2;
    EXPECT_EQ(MaxSupply(*p.game, {10, 12}, 1, false, true), 51);
    EXPECT_EQ(MaxSupply(*p.game, {10, 12}, 1, false, false), 102);
    // A city never captured shares as one captured long ago, instead of dividing by zero.
    p.st().Cities[1].CaptureCounter = 0;
    EXPECT_EQ(MaxSupply(*p.game, {10, 12}, 1, false, true), 102);
}

TEST(MaxSupply, IgnoresCitiesBeyondDistanceFifty) {
    PathGame p;
    p.st().TerrainCost[0] = 1; // the path would be cheap
    City(p.st(), 1, {10, 10}, 1, 150);
    EXPECT_EQ(Distance(p.st(), {10, 10}, {23, 10}), 52);
    EXPECT_EQ(MaxSupply(*p.game, {23, 10}, 1, false, false), 0);
    EXPECT_EQ(Distance(p.st(), {10, 10}, {22, 10}), 48);
    EXPECT_EQ(MaxSupply(*p.game, {22, 10}, 1, false, false), 150 * 38 / 50);
}

TEST(MaxSupply, RoundsAfterEveryCity) {
    // Each city brings half a point: rounded half to even after each, the total stays 0.
    PathGame p;
    p.st().TerrainCost[0] = 49;
    City(p.st(), 1, {10, 9}, 1, 25);
    City(p.st(), 2, {10, 11}, 1, 25);
    EXPECT_EQ(MaxSupply(*p.game, {10, 10}, 1, false, false), 0);
    p.st().Cities[2].SupplyCapacity[1] = 75; // 0 + 1.5 rounds to 2
    EXPECT_EQ(MaxSupply(*p.game, {10, 10}, 1, false, false), 2);
}

TEST(MaxSupply, IgnoresTheSelectedCorpsAndRestoresIt) {
    PathGame p;
    City(p.st(), 1, {10, 10}, 1, 150);
    THad& big = PlaceCorps(p.st(), 1, 3, {10, 10});
    big.InfantryMen = 60000; // would make every step dearer
    p.st().SelectedCorps = 3;
    EXPECT_EQ(MaxSupply(*p.game, {10, 12}, 1, false, false), 102);
    EXPECT_EQ(p.st().SelectedCorps, 3);
}

TEST(MaxSupply, EnemiesBlockTheWay) {
    PathGame p;
    City(p.st(), 1, {10, 10}, 1, 150);
    PlaceCorps(p.st(), 2, 1, {10, 11}).ReconLevel = 0;
    // Unknown to the side, the enemy blocks nothing; known (or all counted) it forces a detour.
    EXPECT_EQ(MaxSupply(*p.game, {10, 12}, 1, false, false), 102);
    const int aroundIt = MaxSupply(*p.game, {10, 12}, 1, true, false);
    EXPECT_LT(aroundIt, 102);
}

} // namespace
} // namespace vezer

namespace vezer {
namespace {

// What a search leaves in the cells: how many hexes it closed and its marks, summed in a
// way that depends on where each lies.
struct Trace {
    int closed = 0;
    long long weighted = 0;
    bool operator==(const Trace&) const = default;
};

Trace TraceOf(const State& st) {
    Trace t;
    for (int y = 0; y <= st.MapMaxY; ++y)
        for (int x = 0; x <= st.MapMaxX; ++x) {
            const THex& c = st.Cell(x, y);
            t.closed += c.InClosedList;
            t.weighted +=
                (c.InClosedList * 7 + c.InOpenList * 3) * (x * 64 + y + 1) + (c.PathCost % 5000) * (y + 1);
        }
    return t;
}

TEST(ShortestPath, ExpandsHexesInTheHeapsOrder) {
    // Open ground is full of ties in f; the heaps' rules for equal keys decide which hex is
    // taken next, and so which hexes a search closes before it reaches its target.
    PathGame p;
    p.st().GroundState = 3;
    RecomputeMoveCosts(p.st()); // distance factor 6: more ties
    const std::vector<std::pair<Hex, Hex>> searches = {
        {{10, 10}, {22, 16}}, {{30, 5}, {31, 25}}, {{5, 30}, {40, 8}}};
    std::vector<Trace> traces;
    for (const auto& [from, to] : searches) {
        ShortestPath(*p.game, from, to, 5000, false, false);
        traces.push_back(TraceOf(p.st()));
    }
    const std::vector<Trace> pinned = {{81, 919884}, {320, 7215181}, {910, 15300648}};
    for (std::size_t i = 0; i < pinned.size(); ++i) {
        EXPECT_EQ(traces[i].closed, pinned[i].closed) << "search " << i;
        EXPECT_EQ(traces[i].weighted, pinned[i].weighted) << "search " << i;
    }
}

} // namespace
} // namespace vezer

namespace vezer {
namespace {

// Our own map of campaign 1 in firm ground, as the game sets it up.
struct RealMapGame {
    testing::TestGame t;
    RealMapGame() {
        State& st = t.st();
        st.DataSet = 1;
        LoadTerrain(t.g(), 1, 62, 35);
        LoadRoads(t.g(), 1);
        LoadRivers(t.g(), 1);
        LoadCities(t.g(), 1, 1);
        for (std::size_t i = 0; i < 4; ++i) st.TerrainCostBase[i] = kTerrainCostBase[i];
        st.GroundState = 1;
        st.ActiveSide = 1;
        st.OtherSide = 2;
        RecomputeMoveCosts(st);
    }
};

std::vector<int> Steps(const PathResult& r) {
    std::vector<int> steps;
    for (std::size_t i = 1; i < r.size() && r[i] != kNoDirection; ++i) steps.push_back(r[i]);
    return steps;
}

Hex Walk(Hex from, const std::vector<int>& steps) {
    for (int d : steps) from = Neighbour(from, d);
    return from;
}

TEST(ShortestPath, KnownPathsOnOurMap) {
    RealMapGame m;
    const Hex pest{20, 14}, vac{20, 12}, szolnok{26, 16}, vienna{6, 9}, kolozsvar{43, 19};
    struct Case {
        Hex from, to;
        int costBound;
        int cost;
        std::vector<int> steps; // empty: only checked to arrive
    };
    const Case cases[] = {
        // The railways of 1848 carry a corps two hexes for 4 each.
        {pest, vac, 100, 8, {0, 0}},
        {pest, szolnok, 100, 24, {2, 2, 2, 2, 1, 2}},
        // The post road down the Danube, 6 a hex: 112 is beyond a bound of 111.
        {vienna, pest, 111, kNoPathCost, {}},
        {vienna, pest, 112, 112, {2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 2, 1, 2}},
        // Over the Királyhágó into Transylvania: longer than a bounded search may report.
        {vienna, kolozsvar, 5000, 271, {}},
    };
    for (const Case& c : cases) {
        const PathResult r = ShortestPath(m.t.g(), c.from, c.to, c.costBound, false, true);
        SCOPED_TRACE(::testing::PrintToString(c.to.x) + "," + ::testing::PrintToString(c.to.y));
        EXPECT_EQ(r[0], c.cost);
        if (c.cost == kNoPathCost) {
            EXPECT_EQ(r[1], kNoDirection);
            continue;
        }
        const std::vector<int> steps = Steps(r);
        if (!c.steps.empty()) {
            EXPECT_EQ(steps, c.steps);
        }
        EXPECT_EQ(Walk(c.from, steps), c.to);
        // The same search again, after others have dirtied the marks, finds the same path.
        EXPECT_EQ(ShortestPath(m.t.g(), c.from, c.to, c.costBound, false, true), r);
    }
}

} // namespace
} // namespace vezer
