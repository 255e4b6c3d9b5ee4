// The sound files the build made: every effect the rules ask for is there and decodes, every
// file is as loud as the others, the looping ones loop without a seam.

#include "mksound/catalogue.h"
#include "mksound/loudness.h" // the sound tool's meter
#include "mksound/ogg_io.h"
#include "sound/effect_table.h"
#include "sound/sound.h"
#include "support/test_game.h"
#include "turn/weather.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace vezer::sound {
namespace {

// Every effect number a rule of the game asks for: the battle marker (1), the bombardment and
// the fire in the fortress (3, 18), the week's weather (12 fair, 4 rain, 13 winter wind), the
// battles' looping din (6, 10, 16, 21..24), victory and defeat (8, 15), the marching sounds
// of the three marker kinds (7, 9, 11), the train (17), entrenching and fortifying (20, 25).
constexpr int kRuleEffects[] = {1, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16, 17, 18, 20, 21, 22, 23, 24, 25};
constexpr int kLoopingEffects[] = {6, 10, 16, 21, 22, 23, 24};

std::vector<std::string> AllSoundNames() {
    std::vector<std::string> names;
    for (const EffectFile& e : kEffectTable) names.emplace_back(e.name);
    for (std::string_view music : {kTitleMusic, kFarewellMusic, kBackgroundMusic}) names.emplace_back(music);
    return names;
}

mksound::PcmSound Decoded(std::string_view name) {
    return mksound::ReadOgg(SoundFile(GameDir(testing::CompiledGameDir()), name));
}

TEST(SoundFiles, EveryEffectTheRulesUseHasAFileThatDecodes) {
    for (int code : kRuleEffects) {
        SCOPED_TRACE("effect " + std::to_string(code));
        const EffectFile* e = FindEffect(code);
        ASSERT_NE(e, nullptr) << "the rules ask for an effect the table lacks";
        const auto file = SoundFile(GameDir(testing::CompiledGameDir()), e->name);
        ASSERT_TRUE(std::filesystem::exists(file)) << file;
        const mksound::PcmSound s = mksound::ReadOgg(file);
        ASSERT_FALSE(s.channels.empty());
        const double seconds = static_cast<double>(s.channels[0].size()) / s.rate;
        EXPECT_GE(seconds, 1.0);
        // Short enough not to tire of: the longest are the looping battles and the fanfares.
        EXPECT_LE(seconds, 11.0);
        const bool loops = std::find(std::begin(kLoopingEffects), std::end(kLoopingEffects), code) !=
                           std::end(kLoopingEffects);
        EXPECT_EQ(e->loops, loops);
    }
    // The week's weather as the turn-start screen sounds it.
    for (int weather = 1; weather <= 4; ++weather) {
        const int code = WeatherSound(weather);
        if (code == 0) continue;
        EXPECT_NE(std::find(std::begin(kRuleEffects), std::end(kRuleEffects), code), std::end(kRuleEffects));
    }
    // Numbers that are no effect: they replay the last one.
    for (int code : {0, 2, 19, 26, -1}) EXPECT_EQ(FindEffect(code), nullptr) << code;
}

TEST(SoundFiles, EverySoundIsAsLoudAsTheOthersAndNeverClips) {
    double quietest = 0.0, loudest = -200.0;
    for (const std::string& name : AllSoundNames()) {
        SCOPED_TRACE(name);
        const mksound::PcmSound s = Decoded(name);
        const mksound::Levels lv = mksound::Measure(s.channels, s.rate);
        EXPECT_NEAR(lv.loudnessDb, mksound::kTargetLoudnessDb, 1.0);
        // Plain RMS counts the deep rumble of guns and wagons the ear hardly weighs, and the
        // quiet of fading ends: it agrees less closely, but still within a few dB.
        EXPECT_NEAR(lv.rmsDb, mksound::kTargetLoudnessDb, 5.0);
        EXPECT_LT(lv.peakDb, -0.5) << "no sample reaches full scale";
        quietest = std::min(quietest, lv.loudnessDb);
        loudest = std::max(loudest, lv.loudnessDb);
    }
    EXPECT_LT(loudest - quietest, 1.5);
}

// The level of `seconds` of sound from `at` on (all channels), in dB.
double LevelDb(const mksound::PcmSound& s, std::size_t at, double seconds) {
    const std::size_t n = static_cast<std::size_t>(seconds * s.rate);
    double sum = 0.0;
    for (const auto& ch : s.channels)
        for (std::size_t i = at; i < at + n && i < ch.size(); ++i) sum += static_cast<double>(ch[i]) * ch[i];
    return 10.0 * std::log10(sum / (n * s.channels.size()) + 1e-12);
}

TEST(SoundFiles, LoopsRunOnWithoutASeam) {
    std::vector<std::string> loops{std::string(kBackgroundMusic)};
    for (const EffectFile& e : kEffectTable)
        if (e.loops) loops.emplace_back(e.name);
    for (const std::string& name : loops) {
        SCOPED_TRACE(name);
        const mksound::PcmSound s = Decoded(name);
        const std::size_t n = s.channels[0].size();
        // Where the loop comes round the sound goes on at its level: no fade, no gap.
        const double end = LevelDb(s, n - static_cast<std::size_t>(0.25 * s.rate), 0.25);
        const double start = LevelDb(s, 0, 0.25);
        const double whole = mksound::Measure(s.channels, s.rate).rmsDb;
        EXPECT_GT(end, whole - 12.0);
        EXPECT_GT(start, whole - 12.0);
        // And no click: the step from the last sample to the first is an ordinary one.
        for (const auto& ch : s.channels) {
            double largest = 0.0;
            for (std::size_t i = 1; i < n; ++i)
                largest = std::max(largest, std::abs(double(ch[i]) - ch[i - 1]));
            EXPECT_LE(std::abs(double(ch.front()) - ch.back()), 0.5 * largest);
        }
    }
}

TEST(SoundFiles, OnlyTheGamesSoundsAreMadeAndEachLoopsAsTheGamePlaysIt) {
    const std::vector<std::string> names = AllSoundNames();
    ASSERT_EQ(mksound::Recipes().size(), names.size());
    for (const mksound::Recipe& r : mksound::Recipes()) {
        SCOPED_TRACE(std::string(r.name));
        EXPECT_NE(std::find(names.begin(), names.end(), std::string(r.name)), names.end());
        for (const EffectFile& e : kEffectTable)
            if (e.name == r.name) {
                EXPECT_EQ(e.loops, r.loops);
            }
    }
}

} // namespace
} // namespace vezer::sound
