// The texts of the campaigns: the 28 briefings of the new-game screen, the 20 outcome stories,
// the tutorial and the generals' biographies. UTF-8 sources under assets/campaigns, written as
// Windows-1250 text with CR LF.

#include "campaign_source.h"
#include "mkdata.h"

#include "core/text.h"
#include "core/textfile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <regex>

namespace mkdata {

namespace {

constexpr std::array<const char*, 3> kLanguageCode = {"", "hu", "en"};
constexpr std::size_t kLogLineChars = 120;  // a longer tutorial line is cut in the message log
constexpr std::size_t kTickerLines = 6;     // what the message lines at the foot of the map show at once
constexpr int kMinTutorialBlocks = 8;
constexpr int kMaxTutorialLines = 1000;

// The lines of a UTF-8 source, every one of them writable in Windows-1250.
std::vector<std::string> ReadTextSource(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw SourceError(file, 0, "missing");
    std::vector<std::string> lines;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!vezer::FitsCp1250(line)) throw SourceError(file, number, "a character Windows-1250 cannot hold");
        lines.push_back(line);
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    if (lines.empty()) throw SourceError(file, 0, "empty");
    return lines;
}

void WriteText(const Context& ctx, const std::string& relative, const std::vector<std::string>& lines) {
    std::filesystem::path target = ctx.out / relative;
    std::filesystem::create_directories(target.parent_path());
    vezer::WriteTextLines(target, lines);
}

// Blocks separated by lines that are exactly "xxx"; one T key press shows one block.
void CheckTutorial(const std::filesystem::path& file, const std::vector<std::string>& lines) {
    if (static_cast<int>(lines.size()) > kMaxTutorialLines) throw SourceError(file, kMaxTutorialLines + 1, "at most 1000 lines");
    int blocks = 0;
    std::size_t blockLines = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        int number = static_cast<int>(i) + 1;
        if (lines[i] == "xxx") {
            if (blockLines == 0) throw SourceError(file, number, "an empty block");
            ++blocks;
            blockLines = 0;
            continue;
        }
        if (lines[i].empty()) throw SourceError(file, number, "an empty line inside a block");
        if (vezer::CharCount(lines[i]) > kLogLineChars)
            throw SourceError(file, number, "longer than the 120 characters of a message line");
        if (++blockLines > kTickerLines)
            throw SourceError(file, number, "a block fills at most the six message lines at the foot of the map");
    }
    if (blockLines != 0) throw SourceError(file, static_cast<int>(lines.size()), "the last block needs its xxx line");
    if (blocks < kMinTutorialBlocks) throw SourceError(file, 0, "at least eight blocks");
}

// The portraits and the biographies share one folder, which the rules spell both "tabornok" and
// "Tabornok": use whichever spelling the game folder already has.
std::string GeneralsFolder(const Context& ctx) {
    if (std::filesystem::exists(ctx.out))
        for (const auto& entry : std::filesystem::directory_iterator(ctx.out)) {
            std::string name = entry.path().filename().string();
            std::string lower = name;
            std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
            if (entry.is_directory() && lower == "tabornok") return name;
        }
    return "tabornok";
}

} // namespace

void CompileCampaignTexts(const Context& ctx) {
    std::filesystem::path root = ctx.assets / "campaigns";
    int files = 0;
    for (int language = 1; language <= 2; ++language) {
        std::string code = kLanguageCode[static_cast<std::size_t>(language)];
        for (int side = 1; side <= 2; ++side) {
            for (int campaign = 0; campaign < kCampaignCount; ++campaign, ++files) {
                std::string name = code + "-" + std::to_string(side) + "-" + std::to_string(campaign) + ".txt";
                WriteText(ctx, "Data/" + std::to_string(language) + std::to_string(side) + std::to_string(campaign) + ".txt",
                          ReadTextSource(root / "briefings" / name));
            }
            for (int verdict = 1; verdict <= 5; ++verdict, ++files) {
                std::string name = code + "-" + std::to_string(side) + "-" + std::to_string(verdict) + ".txt";
                WriteText(ctx, "Data/gy" + std::to_string(language) + std::to_string(side) + std::to_string(verdict) + ".txt",
                          ReadTextSource(root / "outcomes" / name));
            }
        }
    }
    std::filesystem::path tutorial = root / "tutorial2.txt";
    std::vector<std::string> lines = ReadTextSource(tutorial);
    CheckTutorial(tutorial, lines);
    WriteText(ctx, "Data/tutorial2.txt", lines);
    ++files;

    // Biographies exist for language 1 only; the file name says whose: <side>-<general>.txt.
    const std::regex biography(R"(([12])-([0-9]+)\.txt)");
    std::vector<std::filesystem::path> sources;
    if (std::filesystem::exists(root / "biographies"))
        for (const auto& entry : std::filesystem::directory_iterator(root / "biographies")) sources.push_back(entry.path());
    std::sort(sources.begin(), sources.end());
    for (const std::filesystem::path& file : sources) {
        std::smatch m;
        std::string name = file.filename().string();
        if (!std::regex_match(name, m, biography)) throw SourceError(file, 0, "a biography is named <side>-<general>.txt");
        int side = std::stoi(m[1]), general = std::stoi(m[2]);
        if (general < 1 || general > (side == 1 ? 42 : 60)) throw SourceError(file, 0, "no such general on the roster");
        WriteText(ctx, GeneralsFolder(ctx) + "/er1" + std::to_string(side) + std::to_string(general) + ".txt", ReadTextSource(file));
        ++files;
    }
    std::printf("campaign texts: %d files\n", files);
}

} // namespace mkdata
