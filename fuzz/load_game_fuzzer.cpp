// libFuzzer entry for the saved-game loader: every input is loaded into a game that holds a
// started campaign (see tests/fuzz/load_game_harness.h). Run from the source folder:
//   build-fuzz/fuzz/load_game_fuzzer -max_total_time=300 WORK_DIR tests/fuzz/corpus/load_game
//
// Besides libFuzzer's own byte mutations, half the inputs are made by changing whole values of
// a save, often a checked count or index to just inside or outside its range, and making the
// checksum right again: the loader's checks and the rebuild behind them are reached far more
// often than by flipping bytes.

#include "fuzz/load_game_harness.h"
#include "fuzz/save_layout.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace {

int ValueNear(std::minstd_rand& rng, int now, const vezer::fuzz::CheckedValue* checked) {
    if (checked != nullptr && rng() % 2 == 0) {
        const long long choices[] = {static_cast<long long>(checked->lo) - 1, checked->lo, checked->hi,
                                     static_cast<long long>(checked->hi) + 1};
        const long long v = choices[rng() % 4];
        return v < INT_MIN || v > INT_MAX ? now : static_cast<int>(v);
    }
    const int small = static_cast<int>(rng() % 2001) - 1000;
    // Wrapping, as a file may hold anything.
    const auto wrapped = [](long long v) { return static_cast<int>(static_cast<std::uint32_t>(v)); };
    const int choices[] = {0,     1,   -1,   wrapped(now + 1LL), wrapped(now - 1LL), wrapped(now * 2LL),
                           small, 100, 1000, 10000,              INT_MAX,            INT_MIN};
    return choices[rng() % std::size(choices)];
}

} // namespace

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
    std::minstd_rand rng(seed);
    if (size < 4 * 64 || rng() % 2 == 0) return LLVMFuzzerMutate(data, size, maxSize);
    std::vector<std::uint8_t> bytes(data, data + size);
    std::vector<std::int32_t> ints = vezer::fuzz::IntsOf(bytes);
    const vezer::fuzz::SaveLayout layout = vezer::fuzz::ReadSaveLayout(ints);
    const int changes = 1 + static_cast<int>(rng() % 3);
    for (int i = 0; i < changes; ++i) {
        const vezer::fuzz::CheckedValue* checked = nullptr;
        std::size_t at = rng() % ints.size();
        if (!layout.checked.empty() && rng() % 4 != 0) {
            checked = &layout.checked[rng() % layout.checked.size()];
            at = checked->at;
        }
        ints[at] = ValueNear(rng, ints[at], checked);
    }
    vezer::fuzz::RepairChecksum(ints);
    const std::vector<std::uint8_t> changed = vezer::fuzz::BytesOf(ints);
    std::memcpy(data, changed.data(), changed.size()); // the bytes after the last whole value stay
    return size;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static vezer::fuzz::LoadGameTarget target(VEZER_FUZZ_GAME_DIR);
    const std::string fault = target.Run(std::span<const std::uint8_t>(data, size));
    if (!fault.empty()) {
        std::fprintf(stderr, "load fuzzer: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
