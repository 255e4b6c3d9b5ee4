#include "ui/run.h"

#include "ui/app.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace vezer::ui {

namespace {

bool ParseSize(const std::string& s, int& w, int& h) {
    char tail = 0;
    if (std::sscanf(s.c_str(), "%dx%d%c", &w, &h, &tail) != 2) return false;
    return w >= 320 && h >= 240 && w <= 16384 && h <= 16384;
}

bool HaveDisplay() {
    for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
        const char* v = std::getenv(var);
        if (v != nullptr && *v != 0) return true;
    }
    return false;
}

} // namespace

int RunWindowGame(const std::string& gameDir, const std::vector<std::string>& args, const SoundMaker& makeSound) {
    AppOptions options;
    options.gameDir = gameDir;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--script" && hasValue) {
            options.script = args[++i];
        } else if (a == "--shots" && hasValue) {
            options.shotsDir = args[++i];
        } else if (a == "--size" && hasValue) {
            if (!ParseSize(args[++i], options.windowW, options.windowH)) {
                std::fprintf(stderr, "vezer: --size takes WIDTHxHEIGHT, e.g. 1280x960\n");
                return 2;
            }
        } else if (a == "--seed" && hasValue) {
            const std::string v = args[++i];
            if (v.empty() || v.size() > 10 || v.find_first_not_of("0123456789") != std::string::npos ||
                std::stoull(v) > 0xFFFFFFFFull) {
                std::fprintf(stderr, "vezer: --seed takes a number 0..4294967295\n");
                return 2;
            }
            options.fixedSeed = true;
            options.seed = static_cast<std::uint32_t>(std::stoull(v));
        } else if (a == "--fullscreen") {
            options.fullscreen = true;
        } else {
            std::fprintf(stderr, "vezer: unknown argument '%s'; try 'vezer --help'\n", a.c_str());
            return 2;
        }
    }
    if (!options.script.empty() && options.shotsDir.empty()) options.shotsDir.push_back('.');
    if (!options.shotsDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(options.shotsDir, ec);
    }
    if (!HaveDisplay()) {
        std::fprintf(stderr, "vezer: no display found (DISPLAY is not set); the windowed game needs one.\n"
                             "Try 'vezer --help' for the commands that run without a display.\n");
        return 1;
    }
    try {
        App app(options);
        const std::unique_ptr<SoundSink> sound = makeSound ? makeSound(app) : nullptr;
        app.SetSoundSink(sound.get());
        const int code = app.Run();
        app.SetSoundSink(nullptr);
        return code;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vezer: %s\n", e.what());
        return 1;
    }
}

} // namespace vezer::ui
