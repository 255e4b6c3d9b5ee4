// The window's scale steps and the harness's script reader: no window needed.

#include "ui/scale.h"
#include "ui/script.h"

#include <gtest/gtest.h>

namespace vezer::ui {
namespace {

TEST(WindowScale, TakesTheLargestStepThatFitsAndShrinksBelowOne) {
    struct Case {
        int w, h, lw, lh;
        double scale;
    } cases[] = {
        {1024, 768, 1024, 768, 1.0},
        {1279, 959, 1024, 768, 1.0},
        {1280, 960, 1024, 768, 1.25},
        {1536, 1152, 1024, 768, 1.5},
        {2048, 1536, 1024, 768, 2.0},
        {3840, 2160, 1024, 768, 2.0},
        {1920, 1080, 1280, 1024, 1.0},
        {2560, 1440, 1280, 1024, 1.25},
        {800, 600, 1024, 768, 800.0 / 1024},
        // A wide window is limited by its height.
        {1920, 768, 1024, 768, 1.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(ScaleFor(c.w, c.h, c.lw, c.lh), c.scale) << c.w << "x" << c.h;
}

TEST(WindowScale, CentresTheScreenAndMapsWindowPointsBack) {
    const Placement p = PlaceLogical(1400, 1000, 1024, 768);
    EXPECT_EQ(p.w, 1280); // 1.25
    EXPECT_EQ(p.h, 960);
    EXPECT_EQ(p.x, 60);
    EXPECT_EQ(p.y, 20);
    int lx = 0, ly = 0;
    ASSERT_TRUE(WindowToLogical(p, 1024, 768, 60, 20, lx, ly));
    EXPECT_EQ(lx, 0);
    EXPECT_EQ(ly, 0);
    ASSERT_TRUE(WindowToLogical(p, 1024, 768, 60 + 1279, 20 + 959, lx, ly));
    EXPECT_EQ(lx, 1023);
    EXPECT_EQ(ly, 767);
    EXPECT_FALSE(WindowToLogical(p, 1024, 768, 59, 500, lx, ly)); // the margin
    EXPECT_FALSE(WindowToLogical(p, 1024, 768, 700, 980, lx, ly));
    // The game starts on an 800 x 600 display: everything scaled down, nothing cut.
    const Placement small = PlaceLogical(800, 600, 1024, 768);
    EXPECT_EQ(small.w, 800);
    EXPECT_EQ(small.h, 600);
    ASSERT_TRUE(WindowToLogical(small, 1024, 768, 799, 599, lx, ly));
    EXPECT_EQ(lx, 1022);
    EXPECT_EQ(ly, 766);
}

TEST(HarnessScript, ReadsEveryCommandWithItsLine) {
    const ScriptParse s = ParseScript("# a comment\n"
                                      "click 10 20\n"
                                      "\n"
                                      "right-click-hex 31 24\n"
                                      "key Return\n"
                                      "type Görgei Artúr\n"
                                      "wait 5\r\n"
                                      "wait-idle\n"
                                      "shot main_1\n"
                                      "save out.sav\n"
                                      "quit");
    ASSERT_EQ(s.error, "");
    ASSERT_EQ(s.commands.size(), 9u);
    using K = ScriptCommand::Kind;
    EXPECT_EQ(s.commands[0].kind, K::Click);
    EXPECT_EQ(s.commands[0].a, 10);
    EXPECT_EQ(s.commands[0].b, 20);
    EXPECT_EQ(s.commands[0].line, 2);
    EXPECT_EQ(s.commands[1].kind, K::RightClickHex);
    EXPECT_EQ(s.commands[1].line, 4);
    EXPECT_EQ(s.commands[2].text, "Return");
    EXPECT_EQ(s.commands[3].text, "Görgei Artúr");
    EXPECT_EQ(s.commands[4].a, 5);
    EXPECT_EQ(s.commands[5].kind, K::WaitIdle);
    EXPECT_EQ(s.commands[6].text, "main_1");
    EXPECT_EQ(s.commands[7].kind, K::Save);
    EXPECT_EQ(s.commands[7].text, "out.sav");
    EXPECT_EQ(s.commands[8].kind, K::Quit);
}

TEST(HarnessScript, RefusesMalformedLinesNamingThem) {
    struct Case {
        const char* source;
        const char* error;
    } cases[] = {
        {"click 10\n", "line 1: click needs 2 numbers"},
        {"wait 1\nclick 10 x\n", "line 2: 'x' is not a number"},
        {"jump 1 2\n", "line 1: unknown command 'jump'"},
        {"shot ../escape\n", "line 1: a shot name is letters, digits, '-' and '_'"},
        {"type\n", "line 1: type needs a text"},
        {"wait -1\n", "line 1: wait takes 0..100000 frames"},
        {"key\n", "line 1: key needs one name"},
    };
    for (const Case& c : cases) {
        const ScriptParse s = ParseScript(c.source);
        EXPECT_EQ(s.error, c.error) << c.source;
        EXPECT_TRUE(s.commands.empty());
    }
}

} // namespace
} // namespace vezer::ui
