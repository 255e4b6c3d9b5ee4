// What the game's sound does with its switches, its two wave players and its music stream,
// heard through speakers that write down every call.

#include "sound/sound.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vezer::sound {
namespace {

class RecordingOutput : public AudioOutput {
public:
    void PlayWave(WavePlayer player, const std::filesystem::path& file, bool loop) override {
        calls.push_back(Name(player) + " play " + file.filename().string() + (loop ? " loop" : ""));
    }
    void StopWave(WavePlayer player) override { calls.push_back(Name(player) + " stop"); }
    void FadeOutWave(WavePlayer player, int) override { calls.push_back(Name(player) + " fade"); }
    bool OpenMusic(const std::filesystem::path& file) override {
        calls.push_back("music open " + file.filename().string());
        return musicReadable;
    }
    void PlayMusic() override { calls.push_back("music play"); }
    void PauseMusic() override { calls.push_back("music pause"); }
    void ResumeMusic() override { calls.push_back("music resume"); }
    void StopMusic() override { calls.push_back("music stop"); }
    void CloseMusic() override { calls.push_back("music close"); }

    std::vector<std::string> Take() { return std::exchange(calls, {}); }

    std::vector<std::string> calls;
    bool musicReadable = true;

private:
    static std::string Name(WavePlayer p) { return p == WavePlayer::Game ? "game" : "menu"; }
};

using Calls = std::vector<std::string>;

struct Sound : ::testing::Test {
    RecordingOutput out;
    SoundPlayer player{GameDir("/nowhere"), out};
};

TEST_F(Sound, EffectsPlayTheirFileAndLoopOnlyTheBattles) {
    player.PlayEffect(17);
    player.PlayEffect(6);
    player.PlayEffect(20);
    player.PlayEffect(24);
    EXPECT_EQ(out.Take(), (Calls{"game play vonat.ogg", "game play gyalogcsata.ogg loop",
                                 "game play Sancepites.ogg", "game play csatazaj.ogg loop"}));
}

TEST_F(Sound, ANumberOutsideTheTableReplaysTheLastEffectAsItWas) {
    player.PlayEffect(2);
    player.PlayEffect(19);
    EXPECT_EQ(out.Take(), Calls{}) << "before any effect the player holds nothing";
    player.PlayEffect(10);
    player.PlayEffect(2);
    player.PlayEffect(99);
    EXPECT_EQ(out.Take(), (Calls{"game play lovascsata.ogg loop", "game play lovascsata.ogg loop",
                                 "game play lovascsata.ogg loop"}));
    player.PlayEffect(8);
    player.PlayEffect(19);
    EXPECT_EQ(out.Take(), (Calls{"game play gyozelemzene.ogg", "game play gyozelemzene.ogg"}));
    EXPECT_EQ(player.CurrentEffect(), "Wave\\gyozelemzene");
    EXPECT_FALSE(player.CurrentEffectLoops());
}

TEST_F(Sound, WithEffectsOffNothingSoundsWhateverTheNumber) {
    player.PlayEffect(6);
    out.Take();
    player.SetEffectsOn(false);
    for (int code : {1, 6, 17, 25, 2, 19, 0, 99}) player.PlayEffect(code);
    EXPECT_EQ(out.Take(), Calls{});
    player.SetEffectsOn(true);
    player.PlayEffect(2);
    EXPECT_EQ(out.Take(), Calls{"game play gyalogcsata.ogg loop"})
        << "the switch does not forget the last effect";
}

TEST_F(Sound, TheBattleDinDiesAwayButAShortEffectIsLeftToFinish) {
    player.PlayEffect(22);
    player.EndEffectLoop();
    player.PlayEffect(8);
    player.EndEffectLoop();
    player.StopEffect();
    EXPECT_EQ(out.Take(), (Calls{"game play Csatazaj3002.ogg loop", "game fade", "game play gyozelemzene.ogg",
                                 "game stop"}));
}

TEST_F(Sound, MusicStartsOnlyWhenWantedAndActsOnlyWhenLoaded) {
    player.PauseMusic();
    player.ResumeMusic();
    player.StopMusic();
    EXPECT_EQ(out.Take(), Calls{}) << "nothing to act on before the music is loaded";
    player.SetMusicOn(false);
    player.StartMusic();
    EXPECT_EQ(out.Take(), Calls{});
    EXPECT_FALSE(player.MusicLoaded());

    player.SetMusicOn(true);
    player.StartMusic();
    EXPECT_EQ(out.Take(), (Calls{"music open hatterzene.ogg", "music play"}));
    EXPECT_TRUE(player.MusicLoaded());
    EXPECT_TRUE(player.MusicPlaying());
    player.PauseMusic();
    EXPECT_FALSE(player.MusicPlaying());
    player.ResumeMusic();
    player.ShutdownMusic();
    player.PauseMusic();
    EXPECT_EQ(out.Take(), (Calls{"music pause", "music resume", "music close"}));
    EXPECT_FALSE(player.MusicLoaded());
    EXPECT_FALSE(player.MusicPlaying());
}

TEST_F(Sound, UnreadableMusicLeavesTheGameSilentAndIsTriedAgainNextTime) {
    out.musicReadable = false;
    player.StartMusic();
    player.PauseMusic();
    EXPECT_EQ(out.Take(), Calls{"music open hatterzene.ogg"});
    EXPECT_FALSE(player.MusicLoaded());
    player.PlayEffect(17);
    EXPECT_EQ(out.Take(), Calls{"game play vonat.ogg"}) << "the effects are not affected";
    out.musicReadable = true;
    player.StartMusic();
    EXPECT_EQ(out.Take(), (Calls{"music open hatterzene.ogg", "music play"}));
}

TEST_F(Sound, TheSettingsScreenPausesResumesOrStartsTheMusic) {
    // Music on, not yet loaded: it starts.
    player.ApplySettings(true, true);
    EXPECT_EQ(out.Take(), (Calls{"music open hatterzene.ogg", "music play"}));
    // Turned off: paused, not stopped, so turning it on again goes on from the same place.
    player.ApplySettings(false, true);
    EXPECT_EQ(out.Take(), Calls{"music pause"});
    player.ApplySettings(true, true);
    EXPECT_EQ(out.Take(), Calls{"music resume"});
    // On and playing: nothing to do.
    player.ApplySettings(true, true);
    EXPECT_EQ(out.Take(), Calls{});
    // Effects turned off silence the effect that sounds, and the switch holds.
    player.PlayEffect(16);
    out.Take();
    player.ApplySettings(true, false);
    EXPECT_EQ(out.Take(), Calls{"game stop"});
    EXPECT_FALSE(player.EffectsOn());
    player.PlayEffect(16);
    EXPECT_EQ(out.Take(), Calls{});
}

TEST_F(Sound, TheMusicMakesWayForABattleOnlyWhenEffectsAndMusicAreOn) {
    player.StartMusic();
    out.Take();
    player.BeforeBattleReport();
    player.AfterBattleReport();
    EXPECT_EQ(out.Take(), (Calls{"music stop", "music resume"}));
    player.SetEffectsOn(false);
    player.BeforeBattleReport();
    player.AfterBattleReport();
    EXPECT_EQ(out.Take(), Calls{}) << "without effects the music plays through the battle";
}

TEST_F(Sound, StoppedMusicComesBackWhenTheSettingsAskForIt) {
    player.StartMusic();
    player.BeforeBattleReport();
    EXPECT_FALSE(player.MusicPlaying());
    EXPECT_TRUE(player.MusicLoaded());
    out.Take();
    // The settings confirmed while the music is stopped: music on, loaded, not playing.
    player.ApplySettings(true, true);
    EXPECT_EQ(out.Take(), Calls{"music resume"});
    EXPECT_TRUE(player.MusicPlaying());
}

TEST(SoundPlayerEnd, LeavingSilencesBothPlayersAndReleasesTheMusic) {
    RecordingOutput out;
    {
        SoundPlayer player(GameDir("/nowhere"), out);
        player.StartMusic();
        player.PlayEffect(6);
        out.Take();
    }
    EXPECT_EQ(out.Take(), (Calls{"game stop", "menu stop", "music close"}));
}

TEST_F(Sound, TheMenuPlaysTheTitleAndTheFarewellOnItsOwnPlayer) {
    player.PlayTitleMusic();
    player.PlayEffect(14);
    player.StopTitleMusic();
    player.PlayFarewell();
    EXPECT_EQ(out.Take(),
              (Calls{"menu play focim.ogg", "game play uzenet.ogg", "menu stop", "menu play 01-reklam.ogg"}));
    player.SetMusicOn(false);
    player.PlayTitleMusic();
    player.PlayFarewell();
    EXPECT_EQ(out.Take(), Calls{"menu stop"}) << "with music off the menu is quiet";
}

TEST(SoundFile, NamesTheOggFileUnderTheGameDirectory) {
    const std::filesystem::path p = SoundFile(GameDir("/g"), "Wave\\Csatazaj3001");
    EXPECT_EQ(p.filename().string(), "Csatazaj3001.ogg");
    EXPECT_EQ(p.parent_path().filename().string(), "Wave");
}

} // namespace
} // namespace vezer::sound
