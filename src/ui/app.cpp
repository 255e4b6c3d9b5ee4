#include "ui/app.h"

#include "core/errors.h"
#include "core/game.h"
#include "files/savegame.h"
#include "ui/menu.h"
#include "ui/settings_screen.h"
#include "ui/text.h"

#include <SDL_image.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vezer::ui {

std::uint32_t App::NewGameSeed() const {
    if (options_.fixedSeed) return options_.seed;
    return static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

namespace {

// A scripted `wait-idle` that never ends is a fault of the game or the script.
constexpr int kIdleWaitLimit = 20000;

} // namespace

struct App::ScriptState {
    std::vector<ScriptCommand> commands;
    std::size_t next = 0;
    int waitFrames = 0;
    bool waitingIdle = false;
    int idleFrames = 0;
    int idleLine = 0;
    std::string pendingShot;
    int pendingShotLine = 0;
    std::vector<SDL_Keycode> keysToRelease;
};

App::App(AppOptions options) : options_(std::move(options)) {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        throw std::runtime_error(std::string("cannot start the display: ") + SDL_GetError());
    IMG_Init(IMG_INIT_PNG);
    const GameDir dir(options_.gameDir);
    setup = ReadSetupFile(dir);
    settings = ReadSettingsList(dir);
    language = StoredLanguage(settings);
    SetInterfaceLanguage(options_.gameDir, language);
    const bool large = setup.LargeScreen();
    window_ = std::make_unique<Window>(large ? 1280 : 1024, large ? 1024 : 768, options_.windowW,
                                       options_.windowH, options_.fullscreen);
    fonts_ = std::make_unique<Fonts>();
    pictures_ = std::make_unique<Pictures>(options_.gameDir);
    SDL_StopTextInput();
    if (!options_.script.empty()) {
        std::ifstream in(options_.script, std::ios::binary);
        if (!in) throw std::runtime_error("cannot read the script " + options_.script);
        std::stringstream buffer;
        buffer << in.rdbuf();
        ScriptParse parsed = ParseScript(buffer.str());
        if (!parsed.error.empty()) throw std::runtime_error(options_.script + " " + parsed.error);
        script_ = std::make_unique<ScriptState>();
        script_->commands = std::move(parsed.commands);
    }
}

App::~App() {
    pictures_.reset();
    fonts_.reset();
    window_.reset();
    IMG_Quit();
    SDL_Quit();
}

void App::SetLanguage(int lang) {
    language = lang == kEnglish ? kEnglish : kHungarian;
    SetInterfaceLanguage(options_.gameDir, language);
}

void App::SetLogicalSize(int w, int h) {
    window_->SetLogicalSize(w, h);
}

int App::FrameIntervalMs() const {
    return std::max(1, settings.FrameIntervalMs());
}

bool App::KeyHeld(SDL_Keycode key) const {
    return std::find(held_.begin(), held_.end(), key) != held_.end();
}

int App::Run() {
    MenuScreen menu(*this);
    if (sound_ != nullptr) sound_->PlayTitleMusic();
    RunModal(menu);
    return exitCode_;
}

void App::RunModal(Screen& screen) {
    stack_.push_back(&screen);
    while (!screen.closed && !quitting_) Frame();
    stack_.erase(std::remove(stack_.begin(), stack_.end(), &screen), stack_.end());
}

void App::PushScreen(Screen& screen) {
    stack_.push_back(&screen);
}

void App::RemoveScreen(Screen& screen) {
    stack_.erase(std::remove(stack_.begin(), stack_.end(), &screen), stack_.end());
}

void App::PauseFrames(int frames) {
    ++pausing_;
    for (int i = 0; i < frames && !quitting_; ++i) Frame();
    --pausing_;
}

bool App::Idle() const {
    if (pausing_ > 0) return false;
    for (const Screen* s : stack_)
        if (s->Busy()) return false;
    return true;
}

void App::ScriptFail(int line, const std::string& why) {
    std::fprintf(stderr, "vezer: script line %d: %s\n", line, why.c_str());
    exitCode_ = 3;
    quitting_ = true;
}

void App::CollectInput(std::vector<Input>& inputs) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (e.type == SDL_QUIT) {
            quitting_ = true;
            continue;
        }
        // Under the harness only the script plays.
        if (script_) continue;
        Input in;
        switch (e.type) {
        case SDL_MOUSEMOTION:
            if (!window_->ToLogical(e.motion.x, e.motion.y, in.x, in.y)) continue;
            in.kind = Input::Kind::MouseMove;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (!window_->ToLogical(e.button.x, e.button.y, in.x, in.y)) continue;
            in.kind = e.type == SDL_MOUSEBUTTONDOWN ? Input::Kind::MouseDown : Input::Kind::MouseUp;
            in.button = e.button.button == SDL_BUTTON_RIGHT ? 3 : e.button.button == SDL_BUTTON_LEFT ? 1 : 2;
            in.mod = static_cast<Uint16>(SDL_GetModState());
            break;
        case SDL_MOUSEWHEEL:
            in.kind = Input::Kind::Wheel;
            in.y = e.wheel.y;
            in.x = mouseX_;
            break;
        case SDL_KEYDOWN:
            if (e.key.repeat != 0) continue; // a held key acts once per press
            if (e.key.keysym.sym == SDLK_RETURN && (e.key.keysym.mod & KMOD_ALT) != 0) {
                window_->ToggleFullscreen();
                continue;
            }
            in.kind = Input::Kind::Key;
            in.key = e.key.keysym.sym;
            in.mod = e.key.keysym.mod;
            break;
        case SDL_KEYUP:
            in.kind = Input::Kind::KeyUp;
            in.key = e.key.keysym.sym;
            in.mod = e.key.keysym.mod;
            break;
        case SDL_TEXTINPUT:
            in.kind = Input::Kind::Text;
            in.text = e.text.text;
            break;
        default:
            continue;
        }
        inputs.push_back(std::move(in));
    }
}

void App::StepScript(std::vector<Input>& inputs) {
    ScriptState& s = *script_;
    for (SDL_Keycode k : s.keysToRelease) {
        Input up;
        up.kind = Input::Kind::KeyUp;
        up.key = k;
        inputs.push_back(up);
    }
    s.keysToRelease.clear();
    if (s.waitFrames > 0) {
        --s.waitFrames;
        return;
    }
    if (s.waitingIdle) {
        if (!Idle()) {
            if (++s.idleFrames > kIdleWaitLimit)
                ScriptFail(s.idleLine, "wait-idle: the game never came to rest");
            return;
        }
        s.waitingIdle = false;
    }
    if (s.next >= s.commands.size()) {
        quitting_ = true;
        return;
    }
    const ScriptCommand& c = s.commands[s.next++];
    using Kind = ScriptCommand::Kind;
    auto pointer = [&](int lx, int ly, int button, bool ctrl) {
        Input move;
        move.kind = Input::Kind::MouseMove;
        move.x = lx;
        move.y = ly;
        inputs.push_back(move);
        if (button == 0) return;
        Input down = move;
        down.kind = Input::Kind::MouseDown;
        down.button = button;
        down.mod = ctrl ? KMOD_LCTRL : 0;
        inputs.push_back(down);
        Input up = down;
        up.kind = Input::Kind::MouseUp;
        inputs.push_back(up);
    };
    auto windowPointer = [&](int button, bool ctrl) {
        int lx = 0, ly = 0;
        if (!window_->ToLogical(c.a, c.b, lx, ly)) {
            ScriptFail(c.line, "the point " + std::to_string(c.a) + "," + std::to_string(c.b) +
                                   " is outside the screen");
            return;
        }
        pointer(lx, ly, button, ctrl);
    };
    auto hexPointer = [&](int button, bool ctrl) {
        for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
            int lx = 0, ly = 0;
            if ((*it)->AimAtHex(c.a, c.b, lx, ly)) {
                pointer(lx, ly, button, ctrl);
                return;
            }
        }
        ScriptFail(c.line, "no map shows the hex " + std::to_string(c.a) + "," + std::to_string(c.b));
    };
    switch (c.kind) {
    case Kind::Click:
        windowPointer(1, false);
        break;
    case Kind::RightClick:
        windowPointer(3, false);
        break;
    case Kind::CtrlRightClick:
        windowPointer(3, true);
        break;
    case Kind::Move:
        windowPointer(0, false);
        break;
    case Kind::ClickHex:
        hexPointer(1, false);
        break;
    case Kind::RightClickHex:
        hexPointer(3, false);
        break;
    case Kind::CtrlRightClickHex:
        hexPointer(3, true);
        break;
    case Kind::MoveHex:
        hexPointer(0, false);
        break;
    case Kind::Key: {
        const SDL_Keycode key = SDL_GetKeyFromName(c.text.c_str());
        if (key == SDLK_UNKNOWN) {
            ScriptFail(c.line, "unknown key '" + c.text + "'");
            break;
        }
        Input in;
        in.kind = Input::Kind::Key;
        in.key = key;
        inputs.push_back(in);
        s.keysToRelease.push_back(key);
        break;
    }
    case Kind::Type: {
        Input in;
        in.kind = Input::Kind::Text;
        in.text = c.text;
        inputs.push_back(in);
        break;
    }
    case Kind::Wait:
        s.waitFrames = c.a;
        break;
    case Kind::WaitIdle:
        s.waitingIdle = true;
        s.idleFrames = 0;
        s.idleLine = c.line;
        break;
    case Kind::Shot:
        s.pendingShot = c.text;
        s.pendingShotLine = c.line;
        break;
    case Kind::Save: {
        Game* game = nullptr;
        for (auto it = stack_.rbegin(); it != stack_.rend() && game == nullptr; ++it)
            game = (*it)->RunningGame();
        if (game == nullptr) {
            ScriptFail(c.line, "save: no game is running");
            break;
        }
        try {
            // A plain name goes beside the shots.
            std::filesystem::path file(c.text);
            if (file.is_relative()) file = std::filesystem::path(options_.shotsDir) / file;
            WriteSaveFile(game->state, file);
        } catch (const std::exception& e) {
            ScriptFail(c.line, std::string("save: ") + e.what());
        }
        break;
    }
    case Kind::Quit:
        quitting_ = true;
        break;
    }
}

void App::Dispatch(const Input& in) {
    if (in.kind == Input::Kind::MouseMove || in.kind == Input::Kind::MouseDown ||
        in.kind == Input::Kind::MouseUp) {
        mouseX_ = in.x;
        mouseY_ = in.y;
        mouseMoved_ = true;
    }
    if (in.kind == Input::Kind::Key && !KeyHeld(in.key)) held_.push_back(in.key);
    if (in.kind == Input::Kind::KeyUp)
        held_.erase(std::remove(held_.begin(), held_.end(), in.key), held_.end());
    if (stack_.empty()) return;
    stack_.back()->OnInput(in);
}

void App::Draw() {
    Painter p(window_->canvas(), *fonts_);
    std::size_t first = 0;
    for (std::size_t i = stack_.size(); i-- > 0;) {
        if (stack_[i]->Opaque()) {
            first = i;
            break;
        }
    }
    for (std::size_t i = first; i < stack_.size(); ++i) {
        p.ClearClip();
        stack_[i]->Draw(p);
    }
    p.ClearClip();
}

void App::Redraw() {
    SDL_PumpEvents();
    Draw();
    window_->Present();
}

void App::Frame() {
    std::vector<Input> inputs;
    CollectInput(inputs);
    if (script_ && !quitting_) StepScript(inputs);
    for (const Input& in : inputs) {
        if (quitting_) break;
        Dispatch(in);
    }
    if (quitting_) return;
    for (std::size_t i = 0; i < stack_.size(); ++i) stack_[i]->Tick();
    Draw();
    if (script_ && !script_->pendingShot.empty()) {
        std::string error;
        const std::string path = options_.shotsDir + "/" + script_->pendingShot + ".png";
        script_->pendingShot.clear();
        if (!window_->SaveShot(path, error))
            ScriptFail(script_->pendingShotLine, "shot " + path + ": " + error);
    }
    window_->Present();
    if (!script_) {
        // Draw at the settings' rate; the rules never see this clock.
        const Uint32 interval = static_cast<Uint32>(FrameIntervalMs());
        const Uint32 now = SDL_GetTicks();
        if (now - lastFrameTicks_ < interval) SDL_Delay(interval - (now - lastFrameTicks_));
        lastFrameTicks_ = SDL_GetTicks();
    }
}

} // namespace vezer::ui
