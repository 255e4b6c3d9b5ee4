#include "sound/sound.h"

#include "sound/effect_table.h"

namespace vezer::sound {

namespace {

// How long a battle's din takes to die away when the fighting is over.
constexpr int kLoopFadeMs = 1200;

} // namespace

std::filesystem::path SoundFile(const GameDir& dir, std::string_view name) {
    std::string file(name);
    file += kSoundFileExtension;
    return dir.Resolve(file);
}

SoundPlayer::SoundPlayer(GameDir dir, AudioOutput& output) : dir_(std::move(dir)), out_(output) {}

SoundPlayer::~SoundPlayer() {
    out_.StopWave(WavePlayer::Game);
    out_.StopWave(WavePlayer::Menu);
    ShutdownMusic();
}

void SoundPlayer::PlayEffect(int code) {
    if (!effectsOn_) return;
    if (const EffectFile* e = FindEffect(code)) {
        currentEffect_ = std::string(e->name);
        currentLoops_ = e->loops;
    }
    // Outside the table the player sounds what it holds; before any effect it holds nothing.
    if (currentEffect_.empty()) return;
    out_.PlayWave(WavePlayer::Game, SoundFile(dir_, currentEffect_), currentLoops_);
}

void SoundPlayer::StopEffect() {
    out_.StopWave(WavePlayer::Game);
}

void SoundPlayer::EndEffectLoop() {
    if (currentLoops_) out_.FadeOutWave(WavePlayer::Game, kLoopFadeMs);
}

void SoundPlayer::StartMusic() {
    if (!musicOn_) return;
    if (!musicLoaded_) {
        if (!out_.OpenMusic(SoundFile(dir_, kBackgroundMusic))) return;
        musicLoaded_ = true;
    }
    out_.PlayMusic();
    musicPlaying_ = true;
}

void SoundPlayer::PauseMusic() {
    if (!musicLoaded_) return;
    out_.PauseMusic();
    musicPlaying_ = false;
}

void SoundPlayer::ResumeMusic() {
    if (!musicLoaded_) return;
    out_.ResumeMusic();
    musicPlaying_ = true;
}

void SoundPlayer::StopMusic() {
    if (!musicLoaded_) return;
    out_.StopMusic();
    musicPlaying_ = false;
}

void SoundPlayer::ShutdownMusic() {
    if (musicLoaded_) out_.CloseMusic();
    musicLoaded_ = false;
    musicPlaying_ = false;
}

void SoundPlayer::ApplySettings(bool musicOn, bool effectsOn) {
    musicOn_ = musicOn;
    effectsOn_ = effectsOn;
    if (musicOn_ && musicLoaded_ && !musicPlaying_)
        ResumeMusic();
    else if (musicOn_ && !musicLoaded_)
        StartMusic();
    else if (!musicOn_ && musicLoaded_)
        PauseMusic();
    // Effects turned off silence the one that sounds, a looping battle above all.
    if (!effectsOn_) StopEffect();
}

void SoundPlayer::BeforeBattleReport() {
    if (effectsOn_ && musicOn_) StopMusic();
}

void SoundPlayer::AfterBattleReport() {
    if (effectsOn_ && musicOn_) ResumeMusic();
}

void SoundPlayer::PlayTitleMusic() {
    if (musicOn_) out_.PlayWave(WavePlayer::Menu, SoundFile(dir_, kTitleMusic), false);
}

void SoundPlayer::StopTitleMusic() {
    out_.StopWave(WavePlayer::Menu);
}

void SoundPlayer::PlayFarewell() {
    if (musicOn_)
        out_.PlayWave(WavePlayer::Menu, SoundFile(dir_, kFarewellMusic), false);
    else
        out_.StopWave(WavePlayer::Menu);
}

} // namespace vezer::sound
