// libFuzzer entry for the saved-game loader: every input is loaded into a game that holds a
// started campaign (see tests/fuzz/load_game_harness.h). Run from the build directory:
//   fuzz/load_game_fuzzer -max_total_time=300 CORPUS_DIR ../tests/fuzz/corpus/load_game

#include "fuzz/load_game_harness.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static vezer::fuzz::LoadGameTarget target(VEZER_FUZZ_GAME_DIR);
    const std::string fault = target.Run(std::span<const std::uint8_t>(data, size));
    if (!fault.empty()) {
        std::fprintf(stderr, "load fuzzer: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
