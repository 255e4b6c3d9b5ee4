#pragma once
// Every sound file the game plays, with the recipe that makes it.

#include "ogg_io.h"

#include <string_view>
#include <vector>

namespace mksound {

struct Recipe {
    std::string_view name; // the game's name, "Wave\\vonat"
    bool loops;            // sounds on in a loop: made seamless
    bool music;            // stereo at the full rate
    PcmSound (*make)();
};

const std::vector<Recipe>& Recipes();

// Loudness every file is brought to, and the highest a sample may reach (dB of full scale).
inline constexpr double kTargetLoudnessDb = -20.0;
inline constexpr double kCeilingDb = -1.0;

} // namespace mksound
