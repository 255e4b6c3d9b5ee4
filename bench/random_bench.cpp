// The shared random table's draw and the network fingerprint: both run on every order.

#include "core/fingerprint.h"
#include "core/random.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace vezer;

std::unique_ptr<State> FilledState() {
    auto st = std::make_unique<State>();
    for (int i = 1; i <= kRandTableSize; ++i) st->RandTable[static_cast<std::size_t>(i)] = (i * 7919) % 32768;
    st->RandPos = 1;
    st->RandStep = 7;
    for (int side = 1; side <= 2; ++side) {
        st->RegimentCount[side] = 400;
        st->CorpsCount[side] = 60;
        st->GeneralCount[side] = 60;
        for (int c = 1; c <= 60; ++c) st->CorpsRec(side, c).UnitCount = 6;
    }
    return st;
}

void BM_R(benchmark::State& bench) {
    auto st = FilledState();
    for (auto _ : bench) benchmark::DoNotOptimize(R(*st, 100));
}
BENCHMARK(BM_R);

void BM_GameStateFingerprint(benchmark::State& bench) {
    auto st = FilledState();
    for (auto _ : bench) benchmark::DoNotOptimize(GameStateFingerprint(*st));
}
BENCHMARK(BM_GameStateFingerprint);

void BM_FullStateHash(benchmark::State& bench) {
    auto st = FilledState();
    st->MapMaxX = 62;
    st->MapMaxY = 35;
    for (auto _ : bench) benchmark::DoNotOptimize(FullStateHash(*st));
}
BENCHMARK(BM_FullStateHash);

} // namespace
