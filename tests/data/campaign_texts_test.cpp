// The campaign texts: briefings, outcome stories, the tutorial and the biographies, as the
// game reads them (Windows-1250, CR LF), and the sources the compiler refuses.

#include "core/binary_io.h"
#include "core/paths.h"
#include "core/textfile.h"
#include "support/mkdata_runner.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

namespace vezer {
namespace {

using testing::CompiledGameDir;
using testing::RunMkdata;
using testing::TempDir;

TEST(CampaignTexts, EveryBriefingAndStoryTheGameAsksForIsThere) {
    GameDir dir(CompiledGameDir());
    for (int language = 1; language <= 2; ++language)
        for (int side = 1; side <= 2; ++side) {
            for (int campaign = 0; campaign <= 6; ++campaign) {
                std::string name = "Data\\" + std::to_string(language) + std::to_string(side) + std::to_string(campaign) + ".txt";
                EXPECT_GE(ReadTextLines(dir, name).size(), 3u) << name;
            }
            // The end-of-game screen spells the folder "data\\".
            for (int verdict = 1; verdict <= 5; ++verdict) {
                std::string name = "data\\gy" + std::to_string(language) + std::to_string(side) + std::to_string(verdict) + ".txt";
                EXPECT_GE(ReadTextLines(dir, name).size(), 3u) << name;
            }
        }
}

TEST(CampaignTexts, HungarianLettersAreWindows1250WithCrLf) {
    // The Hungarian briefing of campaign 1 for side 1 carries both ő and ű.
    Bytes bytes = ReadFileBytes(CompiledGameDir() / "Data/111.txt", "111.txt");
    std::string raw(bytes.begin(), bytes.end());
    EXPECT_NE(raw.find('\xF5'), std::string::npos) << "ő must be 0xF5";
    EXPECT_NE(raw.find('\xFB'), std::string::npos) << "ű must be 0xFB";
    EXPECT_EQ(raw.find("\xC5\x91"), std::string::npos) << "no UTF-8 left in the file";
    EXPECT_NE(raw.find("\r\n"), std::string::npos);
    EXPECT_EQ(raw.find("\n\n"), std::string::npos) << "every line ends CR LF";
    EXPECT_EQ(ReadTextLines(GameDir(CompiledGameDir()), "Data\\111.txt")[0],
              "A Hadügyminisztérium vezérkari jelentése, Pest, 1848. szeptember 1.");
}

TEST(CampaignTexts, TheTutorialFeedsBlocksThatFitTheMessageLines) {
    auto lines = ReadTextLines(GameDir(CompiledGameDir()), "Data\\tutorial2.txt");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "xxx");
    int blocks = 0;
    std::size_t inBlock = 0;
    for (const std::string& l : lines) {
        if (l == "xxx") {
            EXPECT_GT(inBlock, 0u);
            ++blocks;
            inBlock = 0;
        } else {
            ++inBlock;
            EXPECT_LE(inBlock, 6u);
        }
    }
    EXPECT_GE(blocks, 8);
}

// A copy of the shipped text sources to break one at a time.
std::filesystem::path CopyTexts(const std::filesystem::path& assets) {
    std::filesystem::path from = std::filesystem::path(VEZER_TEST_SOURCE_DIR) / "assets/campaigns";
    std::filesystem::create_directories(assets / "campaigns");
    for (const char* part : {"briefings", "outcomes", "biographies", "tutorial2.txt"})
        std::filesystem::copy(from / part, assets / "campaigns" / part, std::filesystem::copy_options::recursive);
    return assets / "campaigns";
}

TEST(CampaignTexts, RefusesTextsTheGameCouldNotShow) {
    struct Case {
        const char* what;
        const char* file;
        std::function<void(std::string&)> edit;  // nullptr: the file is removed
        const char* message;
    };
    const std::vector<Case> cases = {
        {"a missing briefing", "briefings/en-2-6.txt", nullptr, "missing"},
        {"a missing outcome story", "outcomes/hu-1-3.txt", nullptr, "missing"},
        {"a letter Windows-1250 has not", "outcomes/en-2-4.txt", [](std::string& s) { s += "Жизнь\n"; },
         "en-2-4.txt:6: a character Windows-1250 cannot hold"},
        {"a tutorial block of seven lines", "tutorial2.txt",
         [](std::string& s) { s.insert(0, "one\ntwo\n"); }, "tutorial2.txt:7: a block fills at most the six"},
        {"a tutorial line of 121 characters", "tutorial2.txt",
         [](std::string& s) { s.insert(0, std::string(121, 'a') + "\nxxx\n"); }, "tutorial2.txt:1: longer than"},
        {"a tutorial without its last xxx", "tutorial2.txt",
         [](std::string& s) { s.erase(s.rfind("xxx")); }, "the last block needs its xxx line"},
        {"a biography of nobody", "biographies/2-61.txt", [](std::string& s) { s = "Senki.\n"; },
         "no such general"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        std::filesystem::path root = CopyTexts(dir.path() / "assets");
        std::filesystem::path file = root / c.file;
        if (c.edit) {
            std::stringstream text;
            if (std::filesystem::exists(file)) text << std::ifstream(file).rdbuf();
            std::string s = text.str();
            c.edit(s);
            std::ofstream(file) << s;
        } else {
            std::filesystem::remove(file);
        }
        auto run = RunMkdata("campaign-texts", dir.path() / "assets", dir.path() / "out");
        EXPECT_NE(run.exitCode, 0) << c.what;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << c.what << "\n" << run.output;
    }
}

} // namespace
} // namespace vezer
