#pragma once
// The window game's frame loop. Screens lie on a stack; the top one takes the input and all
// are drawn from the bottom up. A modal screen runs the frame loop until it closes, so a rule
// that asks the player something, pauses or opens a screen never freezes the window.
//
// Input comes from SDL or, under the test harness, from a script fed one command a frame. The
// loop counts frames and never lets the clock reach the rules: in a scripted run it does not
// wait at all, and every animation advances by frames.

#include "files/settings.h"
#include "ui/draw.h"
#include "ui/pictures.h"
#include "ui/script.h"
#include "ui/window.h"

#include <SDL.h>

#include <memory>
#include <cstdint>
#include <string>
#include <vector>

namespace vezer {
struct Game;
}

namespace vezer::ui {

struct Input {
    enum class Kind { MouseMove, MouseDown, MouseUp, Key, KeyUp, Text, Wheel };
    Kind kind = Kind::MouseMove;
    int x = 0, y = 0; // logical pixels
    int button = 0;   // 1 left, 3 right
    SDL_Keycode key = 0;
    Uint16 mod = 0;
    std::string text;
};

class App;

// The speakers, as the window game sees them: the sound module implements it (wired by the
// application). The switches are the settings' ("Zene", "Hangok"), read when each call comes.
class SoundSink {
public:
    virtual ~SoundSink() = default;
    virtual void PlayEffect(int effect) = 0;
    // The game's wave player falls silent (the game screen closes).
    virtual void StopEffect() {}
    // The battle is over: its looping din dies away.
    virtual void EndEffectLoop() {}
    // The settings were confirmed: in a game the background music resumes, starts or pauses
    // (and starts so when the game screen is prepared); in the menu the title music follows
    // the music switch.
    virtual void ApplySettings(bool inGame) { (void)inGame; }
    // The game screen is gone: the background music is released.
    virtual void ShutdownMusic() {}
    // Around the battle report: the music makes way for the battle.
    virtual void BeforeBattleReport() {}
    virtual void AfterBattleReport() {}
    // The menu's title music: once when the menu is shown, stopped when a game starts.
    virtual void PlayTitleMusic() {}
    virtual void StopTitleMusic() {}
};

class Screen {
public:
    explicit Screen(App& app) : app_(app) {}
    virtual ~Screen() = default;
    virtual void Draw(Painter& p) = 0;
    virtual void OnInput(const Input&) {}
    // Once a frame before drawing (animations, scrolling).
    virtual void Tick() {}
    // True while something moves that a scripted `wait-idle` waits for.
    virtual bool Busy() const { return false; }
    // A screen that covers the whole screen hides those below (they are not drawn).
    virtual bool Opaque() const { return true; }
    // The map screen: where hex (hx, hy) lies on the screen, scrolling to it when needed.
    virtual bool AimAtHex(int hx, int hy, int& x, int& y) {
        (void)hx, (void)hy, (void)x, (void)y;
        return false;
    }
    virtual Game* RunningGame() { return nullptr; }

    bool closed = false;

protected:
    App& app_;
};

struct AppOptions {
    std::string gameDir;
    std::string script;   // a script file: the harness
    std::string shotsDir; // where `shot NAME` writes NAME.png
    int windowW = 0, windowH = 0;
    bool fullscreen = false;
    // The chance seed of every new game started in this run (--seed); without one the clock.
    bool fixedSeed = false;
    std::uint32_t seed = 0;
};

class App {
public:
    explicit App(AppOptions options);
    ~App();

    // The menu, until the player quits; returns the process exit code.
    int Run();

    // Runs the frame loop with `screen` on top until it closes (or the game is quitting).
    void RunModal(Screen& screen);
    // A screen shown while the caller works (the loading screen): on the stack until removed.
    void PushScreen(Screen& screen);
    void RemoveScreen(Screen& screen);
    // One frame: input, tick, draw, present.
    void Frame();
    // Draws and shows the screens without taking input or stepping the script (the loading
    // screen between the steps of a game start); the window manager is still answered.
    void Redraw();
    // Frames while a rule pauses (`frames` of them), still drawing and taking input.
    void PauseFrames(int frames);

    bool quitting() const { return quitting_; }
    void Quit() { quitting_ = true; }
    bool scripted() const { return script_ != nullptr; }

    Window& window() { return *window_; }
    Fonts& fonts() { return *fonts_; }
    Pictures& pictures() { return *pictures_; }
    const std::string& gameDir() const { return options_.gameDir; }
    // The seed of a new game's chance cursor: --seed when given, else the clock.
    std::uint32_t NewGameSeed() const;
    int mouseX() const { return mouseX_; }
    int mouseY() const { return mouseY_; }
    bool KeyHeld(SDL_Keycode key) const;
    // Whether the mouse has been over the window at all (a script starts with it nowhere).
    bool mouseMoved() const { return mouseMoved_; }
    Screen* TopScreen() const { return stack_.empty() ? nullptr : stack_.back(); }

    // The settings the menu keeps for the whole run and writes back when they change.
    SetupCodes setup;
    SettingsList settings;
    int language = 1;
    void SetLanguage(int language);
    void SetLogicalSize(int w, int h);

    // The frame interval of the settings, in milliseconds (never below 1).
    int FrameIntervalMs() const;

    // Where the sound effects go (the sound module, wired by the application); none: silence.
    void SetSoundSink(SoundSink* sink) { sound_ = sink; }
    SoundSink* sound() const { return sound_; }

private:
    struct ScriptState;
    void CollectInput(std::vector<Input>& inputs);
    void StepScript(std::vector<Input>& inputs);
    void ScriptFail(int line, const std::string& why);
    bool Idle() const;
    void Dispatch(const Input& in);
    void Draw();

    AppOptions options_;
    std::unique_ptr<Window> window_;
    std::unique_ptr<Fonts> fonts_;
    std::unique_ptr<Pictures> pictures_;
    std::vector<Screen*> stack_;
    std::unique_ptr<ScriptState> script_;
    bool quitting_ = false;
    int exitCode_ = 0;
    int mouseX_ = -1, mouseY_ = -1;
    bool mouseMoved_ = false;
    int pausing_ = 0;
    std::vector<SDL_Keycode> held_;
    Uint32 lastFrameTicks_ = 0;
    SoundSink* sound_ = nullptr;
};

} // namespace vezer::ui
