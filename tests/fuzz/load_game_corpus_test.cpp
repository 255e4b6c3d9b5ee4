// The load fuzzer's target run as a plain test over its committed seed corpus: real saves of the
// compiled campaigns and damaged files the fuzzer once found interesting.

#include "fuzz/load_game_harness.h"
#include "fuzz/save_layout.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace vezer {
namespace {

std::filesystem::path CorpusDir() {
    return std::filesystem::path(VEZER_TEST_SOURCE_DIR) / "tests" / "fuzz" / "corpus" / "load_game";
}

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(LoadGameFuzzTarget, EveryFileOfTheSeedCorpus) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusDir()))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 6u);
    fuzz::LoadGameTarget target(testing::CompiledGameDir());
    for (const auto& file : files) EXPECT_EQ(target.Run(FileBytes(file)), "") << file.filename();
    // The corpus holds whole saves the loader takes and damaged ones it refuses.
    EXPECT_GE(target.accepted(), 3);
    EXPECT_GE(target.refused(), 3);
}

} // namespace
} // namespace vezer
