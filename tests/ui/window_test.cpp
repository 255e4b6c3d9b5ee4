// The window game driven by scripts of input under SDL's dummy video driver, with its
// screenshots compared against the committed references.

#include "support/window_harness.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vezer::test {
namespace {

void ExpectShots(const ScriptRun& run, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const ShotComparison c = CompareWithReference(run, name);
        EXPECT_TRUE(c.same) << name << ": " << c.detail;
    }
}

TEST(WindowMenu, ShowsItsItemsAndLightsTheOneUnderTheMouse) {
    const ScriptRun run = RunWindowScript("menu");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ExpectShots(run, {"menu", "menu_multiplayer", "settings"});
}

TEST(WindowSettings, ApplyingWritesBothSettingsFiles) {
    const ScriptRun run = RunWindowScript("settings_apply");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::ifstream setup(run.gameDir / "Data/setup.dat");
    std::string line;
    std::getline(setup, line);
    // Fast scrolling and very fast animation chosen; the resolution kept.
    EXPECT_EQ(line.substr(0, 6), "201008");
    std::ifstream list(run.gameDir / "Data/beallitasok.dat");
    std::vector<std::string> lines;
    while (std::getline(list, line)) lines.push_back(line.substr(0, line.find('\r')));
    ASSERT_GE(lines.size(), 18u);
    EXPECT_EQ(lines[14], "N");  // music off
    EXPECT_EQ(lines[16], "I");  // effects as they were
    EXPECT_EQ(lines[10], "60"); // the lines the screen does not set are carried through
}

TEST(WindowHarness, NamesTheLineOfACommandItCannotCarryOut) {
    const ScriptRun run = RunWindowScript("bad_hex");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.output.find("script line 3"), std::string::npos) << run.output;
}

TEST(WindowHarness, ScalesTheScreenToALargerWindow) {
    // 1280 x 960 holds the 1024 x 768 screen at 1.25: a click at window pixels lands on the
    // same item as at the logical size.
    const ScriptRun run = RunWindowScript("menu_scaled", {"--size", "1280x960"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ExpectShots(run, {"settings"});
}

} // namespace
} // namespace vezer::test
