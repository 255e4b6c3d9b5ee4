// The map queries with both armies on the map: the summer campaign of 1849 with the full
// Russian intervention and forty corps. Every step cost looks for the corps on the
// hex entered and on the two flanks, so the searches cost more here than on an empty map.

#include "core/headless.h"
#include "core/transport.h"
#include "campaign/setup.h"
#include "map/queries.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace vezer;

constexpr Hex kPest{20, 14}, kKomarom{14, 12}, kSzeged{25, 22}, kKolozsvar{43, 19};

struct SummerGame {
    HeadlessPresentation screen;
    NoTransport link;
    std::unique_ptr<Game> game = MakeGame(screen, link, GameDir(VEZER_BENCH_GAME_DIR));
    SummerGame() {
        game->state.DataSet = 1;
        game->state.Language = 1;
        SetUpGame(*game, 1, 1);
        CampaignChoices choices;
        choices.russianIntervention = 2;
        choices.polishIntervention = 2;
        choices.fogOfWar = 1;
        StartCampaign(*game, 1, 4, choices);
    }
    // The first corps of side 1 that is not a garrison moves: the rules of the moving corps apply.
    void SelectMover() {
        State& st = game->state;
        st.ActiveSide = 1;
        st.OtherSide = 2;
        st.SelectedCorpsSide = 1;
        for (int c = 1; c <= st.CorpsCount[1]; ++c)
            if (st.Corps[1][static_cast<std::size_t>(c)].Garrison == 0) {
                st.SelectedCorps = c;
                return;
            }
    }
    Hex MoverHex() const {
        const THad& h = game->state.Corps[1][static_cast<std::size_t>(game->state.SelectedCorps)];
        return Hex{h.X, h.Y};
    }
    int CorpsOnMap() const { return game->state.CorpsCount[1] + game->state.CorpsCount[2]; }
};

// A corps of the Hungarian army seeks its way to Szeged within a cost of 100, as a march does.
void BM_ArmiesShortestPathOfAMarch(benchmark::State& bench) {
    SummerGame s;
    s.SelectMover();
    const Hex from = s.MoverHex();
    for (auto _ : bench) benchmark::DoNotOptimize(ShortestPath(*s.game, from, kSzeged, 100, true, false));
    bench.counters["corps"] = s.CorpsOnMap();
}
BENCHMARK(BM_ArmiesShortestPathOfAMarch)->Unit(benchmark::kMicrosecond);

// The same corps across the map toward Kolozsvár without a bound, counting every enemy corps.
void BM_ArmiesShortestPathAcrossTheMap(benchmark::State& bench) {
    SummerGame s;
    s.SelectMover();
    const Hex from = s.MoverHex();
    for (auto _ : bench) benchmark::DoNotOptimize(ShortestPath(*s.game, from, kKolozsvar, 100000, false, true));
}
BENCHMARK(BM_ArmiesShortestPathAcrossTheMap)->Unit(benchmark::kMicrosecond);

// The supply the Hungarian cities bring to Pest and to Komárom with the armies in the way.
void BM_ArmiesMaxSupplyAtPest(benchmark::State& bench) {
    SummerGame s;
    for (auto _ : bench) benchmark::DoNotOptimize(MaxSupply(*s.game, kPest, 1, false, true));
}
BENCHMARK(BM_ArmiesMaxSupplyAtPest)->Unit(benchmark::kMicrosecond);

void BM_ArmiesMaxSupplyAtKomarom(benchmark::State& bench) {
    SummerGame s;
    for (auto _ : bench) benchmark::DoNotOptimize(MaxSupply(*s.game, kKomarom, 1, false, true));
}
BENCHMARK(BM_ArmiesMaxSupplyAtKomarom)->Unit(benchmark::kMicrosecond);

// Every step of the map once, for the moving corps: the corps scans of a step's cost alone.
void BM_ArmiesMoveCostOfEveryStep(benchmark::State& bench) {
    SummerGame s;
    s.SelectMover();
    const State& st = s.game->state;
    for (auto _ : bench) {
        long long sum = 0;
        for (int y = 0; y <= st.MapMaxY; ++y)
            for (int x = 0; x <= st.MapMaxX; ++x)
                for (int d = 0; d < 6; ++d) sum += MoveCost(st, Hex{x, y}, Neighbour(Hex{x, y}, d), false, false);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ArmiesMoveCostOfEveryStep)->Unit(benchmark::kMicrosecond);

} // namespace
