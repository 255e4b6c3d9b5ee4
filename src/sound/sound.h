#pragma once
// The game's sound: the effects the rules ask for by number, the background music of the game
// and the menu's title music, each switched by the settings ("Hangok", "Zene").
//
// Two wave players and one music stream, as the game has always had them: the game's wave
// player sounds one effect at a time (a new one cuts off the last; some loop until replaced
// or stopped), the menu's wave player sounds the title music and the farewell, and the music
// stream plays the background music in a loop, with pause and resume.
//
// `SoundPlayer` keeps what the game expects of them (which file each player holds, whether it
// loops, whether the music is loaded and playing) and drives an `AudioOutput`: the speakers
// through SDL_mixer (mixer_output.h), or silence when there is no sound device.

#include "core/paths.h"

#include <filesystem>
#include <string>

namespace vezer::sound {

enum class WavePlayer { Game = 0, Menu = 1 };

// What the speakers do. Every call returns at once; the sound goes on by itself.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Sounds the file on the player, cutting off what it sounded; a file that cannot be read
    // sounds nothing.
    virtual void PlayWave(WavePlayer player, const std::filesystem::path& file, bool loop) = 0;
    virtual void StopWave(WavePlayer player) = 0;
    // A looping wave stops looping: it fades out over `ms` instead of starting again.
    virtual void FadeOutWave(WavePlayer player, int ms) = 0;
    // The music stream. Open returns false when the file cannot be had.
    virtual bool OpenMusic(const std::filesystem::path& file) = 0;
    virtual void PlayMusic() = 0;   // from its beginning, in a loop
    virtual void PauseMusic() = 0;  // keeps the place
    virtual void ResumeMusic() = 0; // from the place it was paused, or from the beginning when stopped
    virtual void StopMusic() = 0;
    virtual void CloseMusic() = 0;
};

// No sound device: everything is accepted and nothing sounds.
class SilentOutput : public AudioOutput {
public:
    void PlayWave(WavePlayer, const std::filesystem::path&, bool) override {}
    void StopWave(WavePlayer) override {}
    void FadeOutWave(WavePlayer, int) override {}
    bool OpenMusic(const std::filesystem::path&) override { return true; }
    void PlayMusic() override {}
    void PauseMusic() override {}
    void ResumeMusic() override {}
    void StopMusic() override {}
    void CloseMusic() override {}
};

// The file of a game sound name ("Wave\\vonat" → GAMEDIR/Wave/vonat.ogg).
std::filesystem::path SoundFile(const GameDir& dir, std::string_view name);

class SoundPlayer {
public:
    SoundPlayer(GameDir dir, AudioOutput& output);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // The settings' switches: effects (line 16) and music (line 14).
    void SetEffectsOn(bool on) { effectsOn_ = on; }
    bool EffectsOn() const { return effectsOn_; }
    void SetMusicOn(bool on) { musicOn_ = on; }
    bool MusicOn() const { return musicOn_; }

    // --- Effects (the game's wave player) ---
    // The effect of that number; a number outside the table sounds the last effect again, as
    // it was (looping or not). Nothing while effects are off.
    void PlayEffect(int code);
    void StopEffect();
    // The battle is over: a looping battle sound stops looping and dies away.
    void EndEffectLoop();
    // What the game's wave player holds (empty before the first effect).
    const std::string& CurrentEffect() const { return currentEffect_; }
    bool CurrentEffectLoops() const { return currentLoops_; }

    // --- Background music (the stream) ---
    // The game screen is prepared: load the background music and play it when music is on.
    // When it cannot be loaded the game goes on without music; the next start tries again.
    void StartMusic();
    // These act only while the music is loaded.
    void PauseMusic();
    void ResumeMusic();
    void StopMusic();
    // The game screen is gone: the stream is released.
    void ShutdownMusic();
    bool MusicLoaded() const { return musicLoaded_; }
    bool MusicPlaying() const { return musicPlaying_; }

    // The settings screen confirmed during a game: take the switches, then resume the music,
    // start it, or pause it.
    void ApplySettings(bool musicOn, bool effectsOn);
    // Around the battle report: with effects and music both on, the music makes way for the
    // battle and comes back after it.
    void BeforeBattleReport();
    void AfterBattleReport();

    // --- The menu (its own wave player) ---
    // The menu is shown: the title music once, when music is on.
    void PlayTitleMusic();
    void StopTitleMusic();
    // The player leaves the game: the closing cadence, when music is on.
    void PlayFarewell();

private:
    GameDir dir_;
    AudioOutput& out_;
    bool effectsOn_ = true;
    bool musicOn_ = true;
    std::string currentEffect_;
    bool currentLoops_ = false;
    bool musicLoaded_ = false;
    bool musicPlaying_ = false;
};

} // namespace vezer::sound
