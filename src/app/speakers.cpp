#include "app/speakers.h"

#include "sound/mixer_output.h"
#include "sound/sound.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vezer::app {

namespace {

// The scripted harness's speakers: silent, writing each call as a line to a file, so a test
// can hear what the window game asked for.
class LoggedOutput : public sound::AudioOutput {
public:
    explicit LoggedOutput(const char* file) : out_(std::fopen(file, "w")) {}
    ~LoggedOutput() override {
        if (out_ != nullptr) std::fclose(out_);
    }
    void PlayWave(sound::WavePlayer player, const std::filesystem::path& file, bool loop) override {
        Line(Name(player) + " play " + file.filename().string() + (loop ? " loop" : ""));
    }
    void StopWave(sound::WavePlayer player) override { Line(Name(player) + " stop"); }
    void FadeOutWave(sound::WavePlayer player, int) override { Line(Name(player) + " fade"); }
    bool OpenMusic(const std::filesystem::path& file) override {
        Line("music open " + file.filename().string());
        return true;
    }
    void PlayMusic() override { Line("music play"); }
    void PauseMusic() override { Line("music pause"); }
    void ResumeMusic() override { Line("music resume"); }
    void StopMusic() override { Line("music stop"); }
    void CloseMusic() override { Line("music close"); }

private:
    static std::string Name(sound::WavePlayer p) { return p == sound::WavePlayer::Game ? "game" : "menu"; }
    void Line(const std::string& line) {
        if (out_ == nullptr) return;
        std::fprintf(out_, "%s\n", line.c_str());
        std::fflush(out_);
    }
    std::FILE* out_;
};

class Speakers : public ui::SoundSink {
public:
    Speakers(ui::App& app, std::unique_ptr<sound::AudioOutput> output)
        : app_(app), output_(std::move(output)), player_(GameDir(app.gameDir()), *output_) {
        Follow();
    }

    void PlayEffect(int effect) override {
        Follow();
        player_.PlayEffect(effect);
    }
    void StopEffect() override { player_.StopEffect(); }
    void EndEffectLoop() override { player_.EndEffectLoop(); }
    void ApplySettings(bool inGame) override {
        const bool music = app_.settings.MusicOn(), effects = app_.settings.EffectsOn();
        if (inGame) {
            player_.ApplySettings(music, effects);
            return;
        }
        // In the menu a change of the music switch starts or stops the title music at once.
        const bool was = player_.MusicOn();
        Follow();
        if (music && !was) player_.PlayTitleMusic();
        if (!music && was) player_.StopTitleMusic();
    }
    void ShutdownMusic() override { player_.ShutdownMusic(); }
    void BeforeBattleReport() override {
        Follow();
        player_.BeforeBattleReport();
    }
    void AfterBattleReport() override {
        Follow();
        player_.AfterBattleReport();
    }
    void PlayTitleMusic() override {
        Follow();
        player_.PlayTitleMusic();
    }
    void StopTitleMusic() override { player_.StopTitleMusic(); }

private:
    // The switches as the settings hold them now.
    void Follow() {
        player_.SetMusicOn(app_.settings.MusicOn());
        player_.SetEffectsOn(app_.settings.EffectsOn());
    }

    ui::App& app_;
    std::unique_ptr<sound::AudioOutput> output_;
    sound::SoundPlayer player_;
};

} // namespace

std::unique_ptr<ui::SoundSink> MakeSpeakers(ui::App& app) {
    std::unique_ptr<sound::AudioOutput> output;
    if (app.scripted()) {
        const char* log = std::getenv("VEZER_SOUND_LOG");
        if (log != nullptr && *log != 0)
            output = std::make_unique<LoggedOutput>(log);
        else
            output = std::make_unique<sound::SilentOutput>();
    } else {
        output = sound::OpenSpeakers([](std::string_view line) {
            std::fprintf(stderr, "vezer: %.*s\n", static_cast<int>(line.size()), line.data());
        });
    }
    return std::make_unique<Speakers>(app, std::move(output));
}

} // namespace vezer::app
