// mksound: makes every sound of the game from its recipe and writes it as Ogg Vorbis into the
// game directory, levelled to one loudness. Nothing recorded goes in: every sound is computed
// from seeded noise, filters and our own music.
//
//   mksound --out GAMEDIR [--only NAME]... [--look DIR [--look-span SECONDS]] [--quiet]
//
// Prints one line per file: length, channels, peak, RMS and loudness as decoded back.

#include "catalogue.h"
#include "look.h"
#include "loudness.h"
#include "ogg_io.h"
#include "sound/effect_table.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace mksound;

namespace {

std::string BaseName(std::string_view name) {
    const std::size_t cut = name.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? name : name.substr(cut + 1));
}

// The stream serial: the same name gives the same bytes.
int Serial(std::string_view name) {
    std::uint32_t h = 2166136261u;
    for (char c : name) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return static_cast<int>(h & 0x7FFFFFFF);
}

// Every file the game asks for has a recipe, loops as the game expects, and nothing else is made.
void CheckAgainstGame() {
    using vezer::sound::kEffectTable;
    std::set<std::string_view> wanted{vezer::sound::kTitleMusic, vezer::sound::kFarewellMusic,
                                      vezer::sound::kBackgroundMusic};
    for (const auto& e : kEffectTable) {
        wanted.insert(e.name);
        const auto r = std::find_if(Recipes().begin(), Recipes().end(),
                                    [&](const Recipe& x) { return x.name == e.name; });
        if (r == Recipes().end()) throw std::runtime_error("no recipe for effect " + std::to_string(e.code));
        if (r->loops != e.loops)
            throw std::runtime_error("effect " + std::to_string(e.code) +
                                     " loops otherwise than the game plays it");
    }
    for (const Recipe& r : Recipes())
        if (wanted.count(r.name) == 0)
            throw std::runtime_error("a recipe the game never plays: " + std::string(r.name));
}

struct Made {
    Levels levels;
    int channels = 0;
    std::string error;
};

Made MakeOne(const Recipe& r, const fs::path& folder, const std::string& look, double lookSpan) {
    const std::string base = BaseName(r.name);
    PcmSound sound = r.make();
    Master(sound.channels, sound.rate, kTargetLoudnessDb, kCeilingDb, r.loops);
    const fs::path file = folder / (base + std::string(vezer::sound::kSoundFileExtension));
    WriteOgg(file, sound, r.music ? 0.5f : 0.4f, Serial(r.name));
    // Measure what a player will hear: the file as decoded.
    const PcmSound back = ReadOgg(file);
    if (!look.empty()) WriteSoundPicture(fs::path(look) / (base + ".png"), back, lookSpan);
    return {Measure(back.channels, back.rate), static_cast<int>(back.channels.size()), {}};
}

int Usage() {
    std::fprintf(
        stderr,
        "usage: mksound --out GAMEDIR [--only NAME]... [--look DIR [--look-span SECONDS]] [--quiet]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string out, look;
    std::vector<std::string> only;
    bool quiet = false;
    double lookSpan = 0.0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--out" && i + 1 < argc)
            out = argv[++i];
        else if (a == "--look" && i + 1 < argc)
            look = argv[++i];
        else if (a == "--only" && i + 1 < argc)
            only.push_back(argv[++i]);
        else if (a == "--quiet")
            quiet = true;
        else if (a == "--look-span" && i + 1 < argc)
            lookSpan = std::atof(argv[++i]);
        else
            return Usage();
    }
    if (out.empty()) return Usage();
    try {
        CheckAgainstGame();
        const fs::path folder = fs::path(out) / "Wave";
        fs::create_directories(folder);
        if (!look.empty()) fs::create_directories(look);
        if (!quiet)
            std::printf("%-16s %7s %3s %8s %8s %9s\n", "file", "seconds", "ch", "peak dB", "RMS dB",
                        "loudness");
        std::vector<const Recipe*> todo;
        for (const Recipe& r : Recipes())
            if (only.empty() || std::find(only.begin(), only.end(), BaseName(r.name)) != only.end())
                todo.push_back(&r);
        if (todo.size() != (only.empty() ? Recipes().size() : only.size())) {
            std::fprintf(stderr, "mksound: some of the names given are no sound of the game\n");
            return 1;
        }
        // Two workers share the list; each file is made, written and measured on its own.
        std::vector<Made> made(todo.size());
        std::atomic<std::size_t> next{0};
        auto work = [&]() {
            for (std::size_t k = next++; k < todo.size(); k = next++) {
                try {
                    made[k] = MakeOne(*todo[k], folder, look, lookSpan);
                } catch (const std::exception& e) {
                    made[k].error = e.what();
                }
            }
        };
        std::thread helper(work);
        work();
        helper.join();
        for (std::size_t k = 0; k < todo.size(); ++k) {
            if (!made[k].error.empty()) throw std::runtime_error(made[k].error);
            const Levels& lv = made[k].levels;
            if (!quiet)
                std::printf("%-16s %7.2f %3d %8.1f %8.1f %9.1f%s\n", BaseName(todo[k]->name).c_str(),
                            lv.seconds, made[k].channels, lv.peakDb, lv.rmsDb, lv.loudnessDb,
                            todo[k]->loops ? "  loop" : "");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mksound: %s\n", e.what());
        return 1;
    }
    return 0;
}
