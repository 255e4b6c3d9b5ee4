#include "core/geometry.h"
#include "render/corps_markers.h"

#include <gtest/gtest.h>

#include <memory>

namespace vezer::render {
namespace {

bool Near(Rgba a, Rgba b) { return std::abs(a.r - b.r) < 12 && std::abs(a.g - b.g) < 12 && std::abs(a.b - b.b) < 12; }

TEST(CorpsMarkers, TheMarkerShowsTheArmThatDominatesByMenAndGuns) {
    struct Case {
        int cavalry, infantry, guns, arm;
    } cases[] = {
        {3000, 2000, 8, 1},   // a cavalry division
        {800, 9000, 40, 2},   // infantry, even with five batteries (6000 "men")
        {0, 1000, 8, 3},      // a garrison of one battalion and a battery: 1200 against 1000
        {0, 1200, 8, 2},      // the tie goes to the infantry
        {0, 0, 0, 2},         // nothing at all reads as infantry
    };
    for (const Case& c : cases) {
        THad corps;
        corps.CavalryMen = c.cavalry;
        corps.InfantryMen = c.infantry;
        corps.Guns = c.guns;
        EXPECT_EQ(DominantArm(corps), c.arm) << c.cavalry << " " << c.infantry << " " << c.guns;
    }
}

TEST(CorpsMarkers, EachCorpsIsDrawnOnItsHexInItsSideColour) {
    auto st = std::make_unique<State>();
    st->MapMaxX = 9;
    st->MapMaxY = 7;
    st->CorpsCount[1] = 1;
    THad& field = st->Corps[1][1];
    field.X = 2, field.Y = 2, field.InfantryMen = 9001, field.SizeClass = 3, field.General = 1;
    st->Generals[1][1].FamilyName = "Görgei";
    st->CorpsCount[2] = 1;
    THad& garrison = st->Corps[2][1];
    garrison.X = 7, garrison.Y = 5, garrison.Garrison = 1, garrison.InfantryMen = 800, garrison.Guns = 16;

    Image img(800, 700, {200, 200, 200});
    DrawCorpsMarkers(img, *st);
    // Inside the frame, clear of the arm symbol: the side's colour, white for a garrison.
    const Pixel f = HexToPixel({2, 2});
    EXPECT_TRUE(Near(img.Get(f.X - 16, f.Y), kHungarianMarker));
    const Pixel g = HexToPixel({7, 5});
    EXPECT_TRUE(Near(img.Get(g.X - 16, g.Y), {250, 246, 232}));
    EXPECT_TRUE(Near(img.Get(g.X - 22, g.Y), kImperialMarker)) << "the garrison's border is its side's colour";
    // An empty hex stays as it was.
    const Pixel e = HexToPixel({5, 1});
    EXPECT_TRUE(Near(img.Get(e.X, e.Y), {200, 200, 200}));
    // A corps off the map is not drawn at all (and does not crash the drawing).
    st->Corps[1][1].X = 70;
    Image clean(800, 700, {200, 200, 200});
    DrawCorpsMarkers(clean, *st);
    EXPECT_TRUE(Near(clean.Get(f.X - 16, f.Y), {200, 200, 200}));
}

} // namespace
} // namespace vezer::render
