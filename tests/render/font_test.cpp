#include "render/font.h"

#include <gtest/gtest.h>

namespace vezer::render {
namespace {

// CI and a fresh install have only fonts-dejavu-core: a picture drawn with another face works
// on a developer's machine with the extra faces and fails everywhere else.
TEST(DejaVuFonts, FindsTheCoreFacesAndRefusesTheExtraOnes) {
    for (const char* face : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf"})
        EXPECT_TRUE(FindDejaVuFont(face).filename() == face) << face;
    for (const char* face : {"DejaVuSansCondensed.ttf", "DejaVuSerif-Italic.ttf", "DejaVuSansCondensed-Bold.ttf",
                             "../DejaVuSans.ttf"})
        EXPECT_THROW(FindDejaVuFont(face), FontError) << face;
}

TEST(DejaVuFonts, MeasuresWiderTextWider) {
    const Font font(FindDejaVuFont("DejaVuSerif.ttf"), 20);
    EXPECT_GT(font.Measure("Görgei Artúr").width, font.Measure("Görgei").width);
    EXPECT_GT(font.Measure("x").ascent, 10);
}

} // namespace
} // namespace vezer::render
