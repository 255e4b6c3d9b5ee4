#include "core/binary_io.h"
#include "core/errors.h"
#include "core/geometry.h"
#include "files/map_files.h"
#include "map/mask_picture.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <climits>

namespace vezer {
namespace {

using testing::TempDir;
using testing::TestGame;

TEST(Neighbour, FollowsTheColumnParityTable) {
    struct Case {
        Hex from;
        int direction;
        Hex expected;
    };
    const Case cases[] = {
        // even column
        {{4, 5}, 0, {4, 4}},
        {{4, 5}, 1, {5, 4}},
        {{4, 5}, 2, {5, 5}},
        {{4, 5}, 3, {4, 6}},
        {{4, 5}, 4, {3, 5}},
        {{4, 5}, 5, {3, 4}},
        // odd column: half a hex lower
        {{5, 5}, 0, {5, 4}},
        {{5, 5}, 1, {6, 5}},
        {{5, 5}, 2, {6, 6}},
        {{5, 5}, 3, {5, 6}},
        {{5, 5}, 4, {4, 6}},
        {{5, 5}, 5, {4, 5}},
        // the border
        {{0, 0}, 5, {-1, -1}},
        {{1, 0}, 4, {0, 1}},
        {{0, 0}, 0, {0, -1}},
        // column -1 counts as odd
        {{-1, 3}, 2, {0, 4}},
        {{-1, 3}, 1, {0, 3}},
        // a direction outside 0..5 leaves the hex where it is
        {{7, 8}, 6, {7, 8}},
        {{7, 8}, -1, {7, 8}},
        {{7, 8}, 9, {7, 8}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Neighbour(c.from, c.direction), c.expected)
            << "(" << c.from.x << ", " << c.from.y << ") direction " << c.direction;
}

TEST(DirectionTo, InvertsNeighbourAndRefusesAllElse) {
    for (Hex from : {Hex{4, 5}, Hex{5, 5}, Hex{-1, 0}, Hex{0, 0}, Hex{62, 35}}) {
        for (int d = 0; d < 6; ++d) {
            const Hex to = Neighbour(from, d);
            EXPECT_EQ(DirectionTo(from, to), d);
            EXPECT_EQ(DirectionTo(to, from), Opposite(d));
        }
        EXPECT_EQ(DirectionTo(from, from), kNoDirection);
        EXPECT_EQ(DirectionTo(from, {from.x, from.y + 2}), kNoDirection);
        EXPECT_EQ(DirectionTo(from, {from.x + 2, from.y}), kNoDirection);
    }
    // Diagonals that are neighbours only for the other column parity.
    EXPECT_EQ(DirectionTo({4, 5}, {5, 6}), kNoDirection);
    EXPECT_EQ(DirectionTo({5, 5}, {6, 4}), kNoDirection);
}

TEST(TurnLeftRight, WrapAround) {
    EXPECT_EQ(TurnLeft(0), 5);
    EXPECT_EQ(TurnLeft(3), 2);
    EXPECT_EQ(TurnRight(5), 0);
    EXPECT_EQ(TurnRight(2), 3);
}

TEST(OnMap, IsThePlayableArea) {
    State st;
    st.MapMaxX = 62;
    st.MapMaxY = 35;
    EXPECT_TRUE(OnMap(st, {0, 0}));
    EXPECT_TRUE(OnMap(st, {62, 35}));
    EXPECT_FALSE(OnMap(st, {63, 0}));
    EXPECT_FALSE(OnMap(st, {0, 36}));
    EXPECT_FALSE(OnMap(st, {-1, 5}));
    EXPECT_FALSE(OnMap(st, {5, -1}));
}

TEST(HexToPixel, PlacesCentres) {
    EXPECT_EQ(HexToPixel({0, 0}), (Pixel{42, 36}));
    EXPECT_EQ(HexToPixel({1, 0}), (Pixel{105, 72}));
    EXPECT_EQ(HexToPixel({2, 0}), (Pixel{168, 36}));
    EXPECT_EQ(HexToPixel({6, 9}), (Pixel{420, 684}));
    // The last hexes of the shipped map reach 3990 x 2628 pixels.
    EXPECT_EQ(HexToPixel({62, 35}).X + kHexWidth / 2, 3990);
    EXPECT_EQ(HexToPixel({61, 35}).Y + kHexHeight / 2, 2628);
}

void InstallMask(TestGame& t, const TempDir& dir, testing::BmpLayout layout) {
    std::filesystem::create_directories(dir.path() / "Data");
    const Bytes bmp = testing::MaskBmp(layout);
    WriteFileAtomic(dir.path() / "Data" / "Maszk.bmp", bmp);
    LoadMask(t.g());
}

// The hex whose centre lies nearest to a pixel, over the whole map and its ring.
Hex NearestCentre(int X, int Y, long& margin) {
    Hex best = kNoHex;
    long first = LONG_MAX, second = LONG_MAX;
    for (int x = X / kColumnPitch - 2; x <= X / kColumnPitch + 2; ++x)
        for (int y = Y / kRowPitch - 2; y <= Y / kRowPitch + 2; ++y) {
            const Pixel p = HexToPixel({x, y});
            const long d = long(p.X - X) * (p.X - X) + long(p.Y - Y) * (p.Y - Y);
            if (d < first)
                second = first, first = d, best = {x, y};
            else if (d < second)
                second = d;
        }
    margin = second - first;
    return best;
}

TEST(PixelToHex, ResolvesEveryLayoutOfTheMaskToTheNearestHex) {
    for (auto layout : {testing::BmpLayout::Rgb24BottomUp, testing::BmpLayout::Rgb24TopDown,
                        testing::BmpLayout::Palette8}) {
        TempDir dir;
        TestGame t{GameDir(dir.path())};
        t.st().MapMaxX = 62;
        t.st().MapMaxY = 35;
        InstallMask(t, dir, layout);
        int checked = 0;
        for (int Y = 0; Y < 2628; Y += 7) {
            for (int X = 0; X < 3990; X += 11) {
                long margin = 0;
                Hex nearest = NearestCentre(X, Y, margin);
                if (margin < 200) continue; // too close to an edge to call
                if (!OnMap(t.st(), nearest)) nearest = kNoHex;
                ASSERT_EQ(PixelToHex(t.st(), X, Y), nearest) << "pixel " << X << ", " << Y;
                ++checked;
            }
        }
        EXPECT_GT(checked, 50000);
    }
}

TEST(PixelToHex, CornersAndOutsidePixels) {
    TempDir dir;
    TestGame t{GameDir(dir.path())};
    t.st().MapMaxX = 62;
    t.st().MapMaxY = 35;
    InstallMask(t, dir, testing::BmpLayout::Rgb24BottomUp);
    // (0, 0) is red on the mask: the north-west neighbour (-1, -1) is off the map.
    EXPECT_EQ(PixelToHex(t.st(), 0, 0), kNoHex);
    EXPECT_EQ(PixelToHex(t.st(), 42, 36), (Hex{0, 0}));
    EXPECT_EQ(PixelToHex(t.st(), 105, 72), (Hex{1, 0}));
    EXPECT_EQ(PixelToHex(t.st(), 105 + 126 * 30, 72 * 35), (Hex{61, 34}));
    EXPECT_EQ(PixelToHex(t.st(), -1, 40), kNoHex);
    EXPECT_EQ(PixelToHex(t.st(), 40, -1), kNoHex);
    EXPECT_EQ(PixelToHex(t.st(), 42 + 126 * 40, 36), kNoHex); // column 80
    EXPECT_EQ(PixelToHex(t.st(), 42, 36 + 72 * 36), kNoHex);  // row 36
}

TEST(LoadMask, RejectsPicturesThatAreNotTheMask) {
    TempDir dir;
    TestGame t{GameDir(dir.path())};
    std::filesystem::create_directories(dir.path() / "Data");
    const Bytes good = testing::MaskBmp(testing::BmpLayout::Rgb24BottomUp);
    struct Case {
        const char* what;
        Bytes bytes;
    };
    Bytes wrongSize = testing::MaskBmp(testing::BmpLayout::Rgb24BottomUp, 120, 72);
    Bytes truncated(good.begin(), good.end() - 10);
    Bytes notBmp = good;
    notBmp[0] = 'X';
    Bytes compressed = good;
    compressed[30] = 1;
    for (const Case& c : {Case{"wrong size", wrongSize}, Case{"truncated", truncated},
                          Case{"not a BMP", notBmp}, Case{"compressed", compressed}}) {
        WriteFileAtomic(dir.path() / "Data" / "Maszk.bmp", c.bytes);
        t.st().MaskDirection[0] = 77;
        try {
            LoadMask(t.g());
            ADD_FAILURE() << c.what << " was accepted";
        } catch (const DataError& e) {
            EXPECT_EQ(e.PlayerMessage(), "Corrupt file / Hibás file! Data\\Maszk.bmp") << c.what;
        }
        EXPECT_EQ(t.st().MaskDirection[0], 77) << c.what << " changed the mask";
    }
}

} // namespace
} // namespace vezer
