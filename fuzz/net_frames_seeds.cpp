// Writes the network decoder's seed streams into a folder, one file each, for the fuzzer.

#include "fuzz/net_frames_harness.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: net_frames_seeds DIR\n");
        return 2;
    }
    std::filesystem::create_directories(argv[1]);
    int n = 0;
    for (const auto& seed : vezer::fuzz::NetFrameSeeds()) {
        std::ofstream out(std::filesystem::path(argv[1]) / ("seed" + std::to_string(++n)), std::ios::binary);
        out.write(reinterpret_cast<const char*>(seed.data()), static_cast<std::streamsize>(seed.size()));
    }
    std::printf("%d seeds written to %s\n", n, argv[1]);
    return 0;
}
