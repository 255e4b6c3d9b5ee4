// One week's upkeep of the summer campaign of 1849 with the full Russian and Polish intervention
// and every reinforcement of the campaign on the map (both armies at their full size): every
// regiment's upkeep, every corps' recompute and activity, and the supply network, whose reach
// at each corps' hex runs up to 75 bounded path searches.

#include "core/headless.h"
#include "core/transport.h"
#include "campaign/setup.h"
#include "turn/reinforcements.h"
#include "turn/upkeep.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace vezer;

void BM_WeeklyUpkeepSummer1849(benchmark::State& bench) {
    HeadlessPresentation screen;
    NoTransport link;
    auto game = MakeGame(screen, link, GameDir(VEZER_BENCH_GAME_DIR));
    game->state.DataSet = 1;
    game->state.Language = 1;
    SetUpGame(*game, 1, 1);
    CampaignChoices choices;
    choices.russianIntervention = 2;
    choices.polishIntervention = 2;
    StartCampaign(*game, 1, 4, choices);
    // Everything the campaign's schedule brings arrives at once, in the last week of September.
    State& st = game->state;
    const int year = st.Year, month = st.Month, week = st.Week;
    st.Month = 9;
    st.Week = 4;
    ArriveReinforcements(*game);
    st.Year = year;
    st.Month = month;
    st.Week = week;
    const auto start = std::make_unique<State>(game->state);
    int regiments = 0, corps = 0;
    for (int side = 1; side <= 2; ++side) {
        regiments += start->RegimentCount[side];
        corps += start->CorpsCount[side];
    }
    for (auto _ : bench) {
        bench.PauseTiming();
        game->state = *start;
        screen.Clear();
        bench.ResumeTiming();
        WeeklyUpkeep(*game);
    }
    bench.counters["regiments"] = regiments;
    bench.counters["corps"] = corps;
}
BENCHMARK(BM_WeeklyUpkeepSummer1849)->Unit(benchmark::kMillisecond);

} // namespace
