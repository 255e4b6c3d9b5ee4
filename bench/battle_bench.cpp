// One battle of two corps of fifty regiments each on the plain by Pest, fought from the prepared
// forces to the winner, headless and with no display delay: the report's lines, the rounds and
// every unit's exchanges.

#include "battle/battle.h"
#include "campaign/setup.h"
#include "core/headless.h"
#include "core/transport.h"
#include "forces/forces.h"
#include "forces/organisation.h"
#include "forces/strength.h"
#include "map/queries.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace vezer;

// A corps of fifty: thirty battalions, ten squadrons of horse, ten batteries.
int FiftyRegiments(Game& game, int side, Hex hex) {
    State& st = game.state;
    int general = 0;
    for (int g = 1; g <= st.GeneralCount[side] && general == 0; ++g)
        if (st.General(side, g).Available == 1 && st.General(side, g).Corps == 0) general = g;
    const int index = st.CorpsCount[side] + 1;
    for (int i = 0; i < 50; ++i) {
        TEzred t{};
        t.Type = i < 30 ? 9 : i < 40 ? 4 : 11;
        t.Nation = side;
        t.Corps = index;
        t.Morale = 70;
        t.Experience = 50;
        t.Readiness = 90;
        t.Supply = 90;
        t.FillPercent = 100;
        t.BattleLine = 1;
        CreateRegiment(game, side, 0, t);
    }
    THad h = EmptyCorpsRecord();
    h.General = general;
    h.Nation = side;
    h.X = hex.x;
    h.Y = hex.y;
    h.Formation = side == 1 ? 4 : 3;
    h.Tactic = 2;
    h.Direction = side == 1 ? 2 : 5;
    CreateCorps(game, side, index, h);
    RecomputeCorps(game, side, index);
    return index;
}

void BM_ResolveBattle(benchmark::State& bench) {
    HeadlessPresentation screen;
    NoTransport link;
    auto game = MakeGame(screen, link, GameDir(VEZER_BENCH_GAME_DIR));
    State& st = game->state;
    st.DataSet = 1;
    st.Language = 1;
    SetUpGame(*game, 1, 1);
    st.TerrainCostBase = kTerrainCostBase;
    st.GroundState = 1;
    RecomputeMoveCosts(st);
    st.PlayerType[1] = st.PlayerType[2] = 1;
    st.Difficulty = 2;
    st.RandPos = st.RandStep = 1;
    const Hex home{21, 15};
    const Hex target = Neighbour(home, 2);
    const int attacker = FiftyRegiments(*game, 1, home);
    FiftyRegiments(*game, 2, target);
    st.ActiveSide = 1;
    st.OtherSide = 2;
    st.Battle.BattleMode = kFieldAttack;
    const auto start = std::make_unique<State>(st);
    long long lines = 0, rounds = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        st = *start;
        screen.Clear();
        // What the attack order sets up before the fight.
        ResetBattleState(*game);
        BattleState& b = st.Battle;
        b.AttackerSide = 1;
        b.DefenderSide = 2;
        b.AttackCost = kAttackCost;
        BuildDefendingForce(*game, 2, target, b.DefendingForce);
        BuildAttackingForce(*game, 1, attacker, target, b.AttackingForce);
        b.ReportOpen = 1;
        bench.ResumeTiming();
        benchmark::DoNotOptimize(ResolveBattle(*game, 1, attacker, target));
        lines += screen.Count(HeadlessPresentation::Kind::ReportLine);
        rounds += st.Battle.Round;
    }
    bench.counters["report lines"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
    bench.counters["rounds"] =
        benchmark::Counter(static_cast<double>(rounds), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ResolveBattle)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
