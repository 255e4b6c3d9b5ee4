#include "sound/mixer_output.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <map>
#include <set>
#include <string>

namespace vezer::sound {

namespace {

// The background music sits under the effects; the menu's title music is the menu's only sound.
constexpr int kMusicVolume = MIX_MAX_VOLUME * 5 / 8;

class MixerOutput : public AudioOutput {
public:
    explicit MixerOutput(SoundLog log) : log_(std::move(log)) {
        Mix_AllocateChannels(2);
        Mix_VolumeMusic(kMusicVolume);
    }
    ~MixerOutput() override {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        for (auto& [file, chunk] : chunks_) Mix_FreeChunk(chunk);
        if (music_ != nullptr) Mix_FreeMusic(music_);
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    void PlayWave(WavePlayer player, const std::filesystem::path& file, bool loop) override {
        const int channel = static_cast<int>(player);
        Mix_Chunk* chunk = Chunk(file);
        if (chunk == nullptr) {
            Mix_HaltChannel(channel);
            return;
        }
        Mix_PlayChannel(channel, chunk, loop ? -1 : 0);
    }
    void StopWave(WavePlayer player) override { Mix_HaltChannel(static_cast<int>(player)); }
    void FadeOutWave(WavePlayer player, int ms) override { Mix_FadeOutChannel(static_cast<int>(player), ms); }

    bool OpenMusic(const std::filesystem::path& file) override {
        CloseMusic();
        music_ = Mix_LoadMUS(file.c_str());
        if (music_ == nullptr) Unreadable(file);
        return music_ != nullptr;
    }
    void PlayMusic() override {
        if (music_ != nullptr) Mix_PlayMusic(music_, -1);
    }
    void PauseMusic() override { Mix_PauseMusic(); }
    void ResumeMusic() override {
        if (music_ == nullptr) return;
        if (Mix_PausedMusic() != 0)
            Mix_ResumeMusic();
        else if (Mix_PlayingMusic() == 0)
            Mix_PlayMusic(music_, -1);
    }
    void StopMusic() override { Mix_HaltMusic(); }
    void CloseMusic() override {
        if (music_ == nullptr) return;
        Mix_HaltMusic();
        Mix_FreeMusic(music_);
        music_ = nullptr;
    }

private:
    // Effects are decoded once and kept: they are short and played again and again.
    Mix_Chunk* Chunk(const std::filesystem::path& file) {
        const auto found = chunks_.find(file.string());
        if (found != chunks_.end()) return found->second;
        Mix_Chunk* chunk = Mix_LoadWAV(file.c_str());
        if (chunk == nullptr) {
            Unreadable(file);
            return nullptr;
        }
        chunks_.emplace(file.string(), chunk);
        return chunk;
    }
    void Unreadable(const std::filesystem::path& file) {
        if (unreadable_.insert(file.string()).second)
            log_("cannot play " + file.string() + ": " + Mix_GetError());
    }

    SoundLog log_;
    std::map<std::string, Mix_Chunk*> chunks_;
    std::set<std::string> unreadable_;
    Mix_Music* music_ = nullptr;
};

} // namespace

std::unique_ptr<AudioOutput> OpenSpeakers(SoundLog log) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        log(std::string("no sound device (") + SDL_GetError() + "): the game plays without sound");
        return std::make_unique<SilentOutput>();
    }
    Mix_Init(MIX_INIT_OGG);
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        log(std::string("no sound device (") + Mix_GetError() + "): the game plays without sound");
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return std::make_unique<SilentOutput>();
    }
    return std::make_unique<MixerOutput>(std::move(log));
}

} // namespace vezer::sound
