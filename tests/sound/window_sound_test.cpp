// The window game's sound calls, heard through the scripted harness (VEZER_SOUND_LOG makes its
// silent speakers write each call down): the title music in the menu, the background music of
// a game, the march of a corps, the music switch in the menu.

#include "support/test_game.h"
#include "support/window_harness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace vezer::test {
namespace {

std::vector<std::string> HeardWith(const std::string& script) {
    testing::TempDir dir;
    const std::filesystem::path log = dir.path() / "sound.log";
    setenv("VEZER_SOUND_LOG", log.c_str(), 1);
    const ScriptRun run = RunWindowScript(script);
    unsetenv("VEZER_SOUND_LOG");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    std::vector<std::string> lines;
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::size_t Find(const std::vector<std::string>& lines, const std::string& what, std::size_t from = 0) {
    for (std::size_t k = from; k < lines.size(); ++k)
        if (lines[k] == what) return k;
    return lines.size();
}

TEST(WindowSound, AGameStopsTheTitleMusicPlaysItsOwnAndTheMarchIsHeard) {
    const std::vector<std::string> heard = HeardWith("campaign1");
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.front(), "menu play focim.ogg") << "the menu opens with the title music";
    const std::size_t stop = Find(heard, "menu stop");
    const std::size_t open = Find(heard, "music open hatterzene.ogg");
    const std::size_t play = Find(heard, "music play");
    ASSERT_LT(stop, heard.size());
    ASSERT_LT(open, heard.size());
    EXPECT_LT(stop, open) << "the title music stops before the game's music starts";
    EXPECT_EQ(play, open + 1);
    // Móga's march: one of the three marching sounds.
    std::size_t march = heard.size();
    for (const char* file :
         {"game play gyalogsagvonul.ogg", "game play hadseregvonul.ogg", "game play lovassagvonul.ogg"})
        march = std::min(march, Find(heard, file));
    EXPECT_LT(march, heard.size()) << "the march is heard";
    EXPECT_GT(march, play);
    // The script quits from the game: the screen falls silent and lets the music go.
    const std::size_t close = Find(heard, "music close", march);
    EXPECT_LT(close, heard.size());
    for (const std::string& line : heard)
        EXPECT_EQ(line.find("loop"), std::string::npos) << "no battle was fought";
}

TEST(WindowSound, TurningMusicOffInTheMenuStopsTheTitleMusic) {
    const std::vector<std::string> heard = HeardWith("settings_apply");
    ASSERT_GE(heard.size(), 2u);
    EXPECT_EQ(heard[0], "menu play focim.ogg");
    EXPECT_EQ(heard[1], "menu stop");
    // Then only the silence of leaving.
    for (std::size_t k = 2; k < heard.size(); ++k)
        EXPECT_NE(heard[k].find(" stop"), std::string::npos) << heard[k];
}

} // namespace
} // namespace vezer::test
