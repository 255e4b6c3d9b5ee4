// The path search and the supply reach on our own map: the computer opponent runs many
// bounded searches a turn, and every MaxSupply runs up to 75 of them.

#include "core/headless.h"
#include "core/transport.h"
#include "files/map_files.h"
#include "map/queries.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace vezer;

// A game on the compiled map of campaign 1 in firm ground, no corps selected.
struct MapGame {
    HeadlessPresentation screen;
    NoTransport link;
    std::unique_ptr<Game> game = MakeGame(screen, link, GameDir(VEZER_BENCH_GAME_DIR));
    MapGame() {
        State& st = game->state;
        st.DataSet = 1;
        LoadTerrain(*game, 1, 62, 35);
        LoadRoads(*game, 1);
        LoadRivers(*game, 1);
        LoadCities(*game, 1, 1);
        for (int t = 0; t < 4; ++t)
            st.TerrainCostBase[static_cast<std::size_t>(t)] = kTerrainCostBase[static_cast<std::size_t>(t)];
        st.GroundState = 1;
        st.ActiveSide = 1;
        st.SelectedCorps = 0;
        RecomputeMoveCosts(st);
    }
};

constexpr Hex kVienna{6, 9}, kPest{20, 14}, kSzolnok{26, 16}, kKolozsvar{43, 19}, kBrasso{54, 27};

// Pest to Szolnok within a cost of 100: the computer's everyday search.
void BM_ShortestPathBounded(benchmark::State& bench) {
    MapGame m;
    for (auto _ : bench) benchmark::DoNotOptimize(ShortestPath(*m.game, kPest, kSzolnok, 100, false, true));
}
BENCHMARK(BM_ShortestPathBounded)->Unit(benchmark::kMicrosecond);

// Pest toward Kolozsvár (144 away), out of reach of a cost of 100: the search spends its bound.
void BM_ShortestPathBoundedOutOfReach(benchmark::State& bench) {
    MapGame m;
    for (auto _ : bench) benchmark::DoNotOptimize(ShortestPath(*m.game, kPest, kKolozsvar, 100, false, true));
}
BENCHMARK(BM_ShortestPathBoundedOutOfReach)->Unit(benchmark::kMicrosecond);

// Vienna to Kolozsvár, 37 hexes over the Királyhágó.
void BM_ShortestPathAcrossTheMap(benchmark::State& bench) {
    MapGame m;
    for (auto _ : bench)
        benchmark::DoNotOptimize(ShortestPath(*m.game, kVienna, kKolozsvar, 100000, false, true));
}
BENCHMARK(BM_ShortestPathAcrossTheMap)->Unit(benchmark::kMicrosecond);

// Vienna to Brassó: the search closes its thousand hexes before it arrives and gives up.
void BM_ShortestPathGivesUp(benchmark::State& bench) {
    MapGame m;
    for (auto _ : bench)
        benchmark::DoNotOptimize(ShortestPath(*m.game, kVienna, kBrasso, 100000, false, true));
}
BENCHMARK(BM_ShortestPathGivesUp)->Unit(benchmark::kMicrosecond);

void BM_MaxSupplyAtPest(benchmark::State& bench) {
    MapGame m;
    for (auto _ : bench) benchmark::DoNotOptimize(MaxSupply(*m.game, kPest, 1, false, true));
}
BENCHMARK(BM_MaxSupplyAtPest)->Unit(benchmark::kMicrosecond);

} // namespace
