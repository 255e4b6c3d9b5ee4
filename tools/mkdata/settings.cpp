// The default settings files (Data/setup.dat, Data/beallitasok.dat, Data/onesetup.dat) and the
// computer opponent's battle bonus (data\ai_bonusz.dat, installed in the one Data folder).

#include "reference_sources.h"

#include <algorithm>
#include <cstdio>

namespace mkdata {

namespace {

std::vector<SourceLine> ReadSettings(const Context& ctx, const std::string& name, std::size_t lines,
                                     bool atLeast) {
    std::filesystem::path file = ctx.assets / "settings" / name;
    std::vector<SourceLine> kept = ReadSourceLines(file);
    if (atLeast ? kept.size() < lines : kept.size() != lines)
        throw SourceError(file, 0,
                          "expected " + std::string(atLeast ? "at least " : "") + std::to_string(lines) +
                              " lines, found " + std::to_string(kept.size()));
    for (const SourceLine& l : kept) CheckGameText(file, l.line, l.text, 120, "line");
    return kept;
}

std::vector<std::string> Texts(const std::vector<SourceLine>& lines) {
    std::vector<std::string> texts;
    for (const SourceLine& l : lines) texts.push_back(l.text);
    return texts;
}

// A whole number within lo..hi, as the game reads it from the first `width` characters.
int Number(const std::filesystem::path& file, const SourceLine& l, std::size_t width, int lo, int hi,
           const std::string& what) {
    std::string head = l.text.substr(0, width);
    head.erase(0, head.find_first_not_of(' '));
    head.erase(head.find_last_not_of(' ') + 1);
    long long v = 0;
    if (!ParseWholeNumber(head, v) || v < lo || v > hi)
        throw SourceError(file, l.line,
                          what + " must be a number " + std::to_string(lo) + ".." + std::to_string(hi) +
                              ": '" + l.text + "'");
    return static_cast<int>(v);
}

void CompileSetupLine(const Context& ctx) {
    std::filesystem::path file = ctx.assets / "settings" / "setup.txt";
    std::vector<SourceLine> lines = ReadSettings(ctx, "setup.txt", 1, false);
    const SourceLine& l = lines[0];
    auto oneOf = [&](std::size_t at, std::initializer_list<const char*> codes, const char* what) {
        std::string code = l.text.size() >= at + 2 ? l.text.substr(at, 2) : "";
        if (std::none_of(codes.begin(), codes.end(), [&](const char* c) { return code == c; }))
            throw SourceError(file, l.line,
                              std::string(what) + " code '" + code +
                                  "' is not one the settings screen offers");
    };
    if (l.text.size() != 6) throw SourceError(file, l.line, "the settings line has exactly 6 characters");
    oneOf(0, {"08", "10", "20", "30"}, "scroll speed");
    oneOf(2, {"10", "12"}, "resolution");
    oneOf(4, {"02", "04", "06", "08"}, "animation speed");
    WriteTextOutput(ctx, "Data/setup.dat", Texts(lines));
}

void CompileSettingsList(const Context& ctx) {
    std::filesystem::path file = ctx.assets / "settings" / "beallitasok.txt";
    std::vector<SourceLine> lines = ReadSettings(ctx, "beallitasok.txt", 18, true);
    for (std::size_t i : {2, 4, 6, 8})
        Number(file, lines[i], 4, 0, 1000, "an animation delay (line " + std::to_string(i) + ")");
    Number(file, lines[10], 4, 1, 1000, "the drawing rate (line 10)");
    Number(file, lines[12], 1, 1, 4, "the battle speed (line 12)");
    for (std::size_t i : {14, 16}) {
        const std::string& t = lines[i].text;
        if (t != "I" && t != "N" && t != "i" && t != "n")
            throw SourceError(file, lines[i].line, "line " + std::to_string(i) + " is a switch, I or N");
    }
    if (lines[17].text.empty()) throw SourceError(file, lines[17].line, "line 17 holds the player name");
    WriteTextOutput(ctx, "Data/beallitasok.dat", Texts(lines));
}

void CompileNewGameChoices(const Context& ctx) {
    std::filesystem::path file = ctx.assets / "settings" / "onesetup.txt";
    std::vector<SourceLine> lines = ReadSettings(ctx, "onesetup.txt", 7, false);
    int side1 = Number(file, lines[0], 1, 1, 2, "side 1 (1 computer, 2 person)");
    int side2 = Number(file, lines[1], 1, 1, 2, "side 2 (1 computer, 2 person)");
    if (side1 == 1 && side2 == 1)
        throw SourceError(file, lines[1].line, "the computer cannot play both sides");
    Number(file, lines[2], 1, 1, 3, "the difficulty");
    Number(file, lines[3], 1, 1, 3, "the Russian intervention");
    Number(file, lines[4], 1, 1, 3, "the Polish intervention");
    Number(file, lines[5], 1, 1, 2, "fog of war");
    Number(file, lines[6], 1, 0, 6, "the campaign-list entry");
    for (const SourceLine& l : lines)
        if (l.text.size() != 1) throw SourceError(file, l.line, "each choice is a single digit");
    WriteTextOutput(ctx, "Data/onesetup.dat", Texts(lines));
}

void CompileAiBonus(const Context& ctx) {
    std::filesystem::path file = ctx.assets / "settings" / "ai_bonusz.txt";
    std::vector<SourceLine> lines = ReadSettings(ctx, "ai_bonusz.txt", 5, false);
    for (std::size_t i : {2, 4}) {
        if (lines[i].text.empty()) continue; // an empty line reads as 0
        Number(file, lines[i], lines[i].text.size(), -50, 50, "a morale bonus");
    }
    WriteTextOutput(ctx, "Data/ai_bonusz.dat", Texts(lines));
}

} // namespace

void CompileSettings(const Context& ctx) {
    CompileSetupLine(ctx);
    CompileSettingsList(ctx);
    CompileNewGameChoices(ctx);
    CompileAiBonus(ctx);
    std::printf("setup.dat, beallitasok.dat, onesetup.dat, ai_bonusz.dat: defaults written\n");
}

} // namespace mkdata
