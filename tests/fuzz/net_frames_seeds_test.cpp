// The network decoder's fuzz target run as a plain test over its seed streams.

#include "fuzz/net_frames_harness.h"

#include <gtest/gtest.h>

namespace vezer::fuzz {
namespace {

TEST(NetFramesFuzzTarget, EverySeedStream) {
    const auto seeds = NetFrameSeeds();
    ASSERT_GE(seeds.size(), 6u);
    for (std::size_t i = 0; i < seeds.size(); ++i) EXPECT_EQ(RunNetFrames(seeds[i]), "") << "seed " << i + 1;
}

} // namespace
} // namespace vezer::fuzz
