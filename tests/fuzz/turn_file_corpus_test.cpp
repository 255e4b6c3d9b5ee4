// The turn-file fuzzer's target run as a plain test: a real turn file, and the same file
// damaged byte by byte and cut short, each opened as the opponent's turn.

#include "fuzz/turn_file_harness.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vezer {
namespace {

// Positions spread over the whole file, and every byte of its last `tailBytes` (the orders).
std::vector<std::size_t> SamplePositions(std::size_t size, std::size_t spread, std::size_t tailBytes) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < spread; ++i) at.push_back(i * size / spread);
    for (std::size_t i = size - std::min(size, tailBytes); i < size; ++i) at.push_back(i);
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    return at;
}

TEST(TurnFileFuzzTarget, ARealTurnFileDamagedAndCut) {
    fuzz::TurnFileTarget target(testing::CompiledGameDir());
    const Bytes file = target.MakeTurnFile();
    ASSERT_GT(file.size(), 1000u);
    EXPECT_EQ(target.Run(file), "");
    EXPECT_EQ(target.accepted(), 1);

    // The end of the order part byte by byte (the last order and the end of the turn); the rest,
    // sampled. Every open writes files: the budget is kept small.
    const std::size_t orderBytes = 8 + 32 * 2;
    for (std::size_t at : SamplePositions(file.size(), 16, orderBytes)) {
        Bytes damaged = file;
        damaged[at] = static_cast<std::uint8_t>(damaged[at] ^ 0x5A);
        EXPECT_EQ(target.Run(damaged), "") << "damaged at byte " << at;
    }
    for (std::size_t length : SamplePositions(file.size(), 8, 12)) {
        EXPECT_EQ(target.Run(std::span<const std::uint8_t>(file.data(), length)), "") << "cut at " << length;
    }
    EXPECT_EQ(target.Run({}), "");
    // Most damage is refused; what is taken replays to its end without a fault.
    EXPECT_GT(target.refused(), target.accepted());
}

} // namespace
} // namespace vezer
