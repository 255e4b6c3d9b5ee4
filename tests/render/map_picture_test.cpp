#include "core/geometry.h"
#include "render/map_picture.h"
#include "render/png_file.h"
#include "support/test_game.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cmath>

namespace vezer::render {
namespace {

// A small map: plain ground, a river, the Danube, a road, a railway and two towns.
std::unique_ptr<State> SmallMap() {
    auto st = std::make_unique<State>();
    st->MapMaxX = 7;
    st->MapMaxY = 5;
    auto side = [&](Hex a, int d, bool river, int value) {
        const Hex b = Neighbour(a, d);
        (river ? st->Cell(a.x, a.y).River : st->Cell(a.x, a.y).Road)[static_cast<std::size_t>(d)] = value;
        (river ? st->Cell(b.x, b.y).River : st->Cell(b.x, b.y).Road)[static_cast<std::size_t>(Opposite(d))] =
            value;
    };
    side({2, 2}, 2, true, 1);  // river on the south-east side of (2, 2)
    side({5, 1}, 3, true, 2);  // the Danube south of (5, 1)
    side({1, 3}, 0, false, 1); // a road north from (1, 3)
    side({4, 4}, 1, false, 2); // a railway north-east from (4, 4)
    st->Cities[1] = {};
    st->Cities[1].X = 3;
    st->Cities[1].Y = 1;
    st->Cities[1].Kind = 2;
    st->Cities[1].Owner = 1;
    st->Cities[1].Name = "Pest";
    st->Cell(3, 1).City = 1;
    st->Cities[2].X = 6;
    st->Cities[2].Y = 4;
    st->Cities[2].Kind = 3;
    st->Cities[2].Owner = 2;
    st->Cities[2].Name = "Temesvár";
    st->Cell(6, 4).City = 2;
    return st;
}

bool Bluish(Rgba c) {
    return c.b > c.r + 60 && c.b > c.g + 20;
}

TEST(MapPicture, SizeCoversEveryHexOfTheMap) {
    State st;
    st.MapMaxX = 62;
    st.MapMaxY = 35;
    EXPECT_EQ(MapPictureWidth(st), 3990);
    EXPECT_EQ(MapPictureHeight(st), 2628);
}

TEST(MapPicture, DrawsRiversOnTheirSidesAndRoadsAcrossThem) {
    auto st = SmallMap();
    const Image img = DrawMapPicture(*st, {.gridLabels = false, .cityNames = false, .legend = false});
    auto at = [&](PointF p) { return img.Get(int(p.x), int(p.y)); };
    auto middle = [](Hex a, Hex b) {
        const Pixel p = HexToPixel(a), q = HexToPixel(b);
        return PointF{(p.X + q.X) / 2.0, (p.Y + q.Y) / 2.0};
    };
    // The middle of a river side is water; the middle of a side without one is not.
    EXPECT_TRUE(Bluish(at(middle({2, 2}, {3, 2}))));
    EXPECT_TRUE(Bluish(at(middle({5, 1}, {5, 2}))));
    EXPECT_FALSE(Bluish(at(middle({2, 2}, {2, 3}))));
    EXPECT_FALSE(Bluish(at(middle({5, 1}, {6, 1}))));
    // The Danube is wider than a river: 3 pixels off its line it is still water.
    const PointF danube = middle({5, 1}, {5, 2});
    EXPECT_TRUE(Bluish(at({danube.x, danube.y + 3})));
    const PointF river = middle({2, 2}, {3, 2});
    EXPECT_FALSE(Bluish(at({river.x + 3 * 0.86, river.y + 3 * 0.5}))); // across the side
    // A road runs from hex centre to hex centre; a railway is black with white dashes.
    const Rgba road = at(middle({1, 3}, {1, 2}));
    EXPECT_GT(road.r, 200);
    EXPECT_LT(road.b, 170);
    const Pixel rail = HexToPixel({4, 4});
    int dark = 0, light = 0;
    const Pixel railEnd = HexToPixel(Neighbour({4, 4}, 1));
    for (int k = 1; k < 20; ++k) {
        const Rgba c =
            img.Get(rail.X + (railEnd.X - rail.X) * k / 20, rail.Y + (railEnd.Y - rail.Y) * k / 20);
        dark += c.r < 60;
        light += c.r > 230 && c.g > 230 && c.b > 230;
    }
    EXPECT_GT(dark, 3);
    EXPECT_GT(light, 3);
}

TEST(MapPicture, ColoursTownsByTheirOwner) {
    auto st = SmallMap();
    const Image img = DrawMapPicture(*st, {.gridLabels = false, .cityNames = true, .legend = false});
    // Just beside the centre dot: the owner's colour, red for the Hungarian side, gold for the imperial one.
    const Pixel pest = HexToPixel({3, 1});
    const Rgba red = img.Get(pest.X + 6, pest.Y);
    EXPECT_GT(red.r, 150);
    EXPECT_LT(red.g, 80);
    const Pixel temesvar = HexToPixel({6, 4});
    const Rgba gold = img.Get(temesvar.X + 7, temesvar.Y);
    EXPECT_GT(gold.r, 200);
    EXPECT_GT(gold.g, 150);
    EXPECT_LT(gold.b, 100);
}

// Reads a PNG back through libpng.
struct DecodedPng {
    png_uint_32 width = 0, height = 0;
    int colourType = 0;
    std::vector<std::vector<std::uint8_t>> rows;
};

DecodedPng Decode(const std::filesystem::path& file) {
    DecodedPng out;
    FILE* f = std::fopen(file.c_str(), "rb");
    if (f == nullptr) return out;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, f);
        png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
        out.width = png_get_image_width(png, info);
        out.height = png_get_image_height(png, info);
        out.colourType = png_get_color_type(png, info);
        png_bytepp rows = png_get_rows(png, info);
        for (png_uint_32 y = 0; y < out.height; ++y) out.rows.emplace_back(rows[y], rows[y] + out.width * 4);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    return out;
}

TEST(WritePng, KeepsEveryPixel) {
    Image img(5, 3, {10, 20, 30, 255});
    img.Set(4, 2, {200, 100, 50, 128});
    img.Set(0, 1, {1, 2, 3, 255});
    testing::TempDir dir;
    WritePng(dir.path() / "t.png", img);
    const DecodedPng png = Decode(dir.path() / "t.png");
    ASSERT_EQ(png.width, 5u);
    ASSERT_EQ(png.height, 3u);
    EXPECT_EQ(png.colourType, PNG_COLOR_TYPE_RGBA);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const Rgba c = img.Get(x, y);
            const auto* p = png.rows[static_cast<std::size_t>(y)].data() + 4 * x;
            EXPECT_EQ((std::array<int, 4>{p[0], p[1], p[2], p[3]}), (std::array<int, 4>{c.r, c.g, c.b, c.a}))
                << x << "," << y;
        }
}

} // namespace
} // namespace vezer::render
