// The speakers through SDL_mixer, on SDL's dummy sound device (it mixes and plays into
// nothing), and a machine whose sound device cannot be opened.

#include "sound/effect_table.h"
#include "sound/mixer_output.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace vezer::sound {
namespace {

// Sets SDL's sound driver for one test and puts the old one back.
class AudioDriver {
public:
    explicit AudioDriver(const char* name) {
        if (const char* old = std::getenv("SDL_AUDIODRIVER")) old_ = old, had_ = true;
        setenv("SDL_AUDIODRIVER", name, 1);
    }
    ~AudioDriver() {
        if (had_)
            setenv("SDL_AUDIODRIVER", old_.c_str(), 1);
        else
            unsetenv("SDL_AUDIODRIVER");
    }

private:
    std::string old_;
    bool had_ = false;
};

TEST(Speakers, WithoutASoundDeviceTheGameIsSilentAndSaysSoOnce) {
    AudioDriver driver("no-such-sound-device");
    std::vector<std::string> log;
    auto out = OpenSpeakers([&](std::string_view line) { log.emplace_back(line); });
    EXPECT_NE(dynamic_cast<SilentOutput*>(out.get()), nullptr);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("no sound device"), std::string::npos) << log[0];

    SoundPlayer player(GameDir(testing::CompiledGameDir()), *out);
    player.StartMusic();
    for (const EffectFile& e : kEffectTable) player.PlayEffect(e.code);
    player.EndEffectLoop();
    player.PlayTitleMusic();
    EXPECT_EQ(log.size(), 1u) << "said once, then silence";
}

TEST(Speakers, EveryEffectAndTheMusicPlayThroughTheMixer) {
    AudioDriver driver("dummy");
    std::vector<std::string> log;
    auto out = OpenSpeakers([&](std::string_view line) { log.emplace_back(line); });
    ASSERT_EQ(dynamic_cast<SilentOutput*>(out.get()), nullptr) << (log.empty() ? "" : log[0]);
    {
        SoundPlayer player(GameDir(testing::CompiledGameDir()), *out);
        for (const EffectFile& e : kEffectTable) player.PlayEffect(e.code);
        player.PlayEffect(2);
        player.EndEffectLoop();
        player.StartMusic();
        EXPECT_TRUE(player.MusicLoaded());
        player.PauseMusic();
        player.ResumeMusic();
        player.BeforeBattleReport();
        player.AfterBattleReport();
        player.PlayTitleMusic();
        player.PlayFarewell();
        player.ShutdownMusic();
        EXPECT_EQ(log, std::vector<std::string>{}) << "every file of the game is readable";
    }

    // A game directory without the sounds: each missing file is named once, the game goes on.
    testing::TempDir empty;
    SoundPlayer player(GameDir(empty.path()), *out);
    player.PlayEffect(17);
    player.PlayEffect(17);
    player.PlayEffect(2);
    player.StartMusic();
    EXPECT_FALSE(player.MusicLoaded());
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].find("vonat.ogg"), std::string::npos) << log[0];
    EXPECT_NE(log[1].find("hatterzene.ogg"), std::string::npos) << log[1];
}

} // namespace
} // namespace vezer::sound
