// libFuzzer target: the byte stream of the other machine, cut into frames and decoded.
//
//     cmake --preset fuzz
//     cmake --build build-fuzz --target net_frames_fuzzer net_frames_seeds -j2
//     build-fuzz/fuzz/net_frames_seeds build-fuzz/corpus/net_frames
//     build-fuzz/fuzz/net_frames_fuzzer build-fuzz/corpus/net_frames -max_total_time=60

#include "fuzz/net_frames_harness.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string fault = vezer::fuzz::RunNetFrames({data, size});
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
