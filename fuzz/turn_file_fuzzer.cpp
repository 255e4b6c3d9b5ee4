// libFuzzer entry for the e-mail turn files and order files: every input is opened as the
// opponent's turn on a machine of an e-mail game, and read as an order file (see
// tests/fuzz/turn_file_harness.h). Run from the source folder with a real turn file as the
// seed (the plain test writes one: build/tests/turn_file_seed.sav):
//   build-fuzz/fuzz/turn_file_fuzzer -max_total_time=300 WORK_DIR SEED_DIR

#include "fuzz/turn_file_harness.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static vezer::fuzz::TurnFileTarget target(VEZER_FUZZ_GAME_DIR);
    const std::string fault = target.Run(std::span<const std::uint8_t>(data, size));
    if (!fault.empty()) {
        std::fprintf(stderr, "turn file fuzzer: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
