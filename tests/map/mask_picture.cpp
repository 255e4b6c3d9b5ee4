#include "map/mask_picture.h"

#include <array>
#include <vector>

namespace vezer::testing {

MaskColour NearestCentreMaskColour(int x, int y, MaskColour own) {
    struct Centre {
        int x, y;
        MaskColour colour;
    };
    const std::array<Centre, 5> centres = {{{42, 36, own},
                                            {-21, 0, {255, 0, 0}},
                                            {-21, 72, {0, 0, 255}},
                                            {105, 0, {255, 255, 0}},
                                            {105, 72, {255, 0, 255}}}};
    const Centre* best = &centres[0];
    long bestD = -1;
    for (const Centre& c : centres) {
        const long d = long(x - c.x) * (x - c.x) + long(y - c.y) * (y - c.y);
        if (bestD < 0 || d < bestD) best = &c, bestD = d;
    }
    return best->colour;
}

namespace {
void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
} // namespace

Bytes MaskBmp(BmpLayout layout, int width, int height) {
    const bool palette = layout == BmpLayout::Palette8;
    const int bits = palette ? 8 : 24;
    const std::size_t stride = (static_cast<std::size_t>(width) * bits / 8 + 3) / 4 * 4;
    const std::vector<MaskColour> colours = {
        {0, 128, 0}, {255, 0, 0}, {0, 0, 255}, {255, 255, 0}, {255, 0, 255}};
    const std::size_t paletteSize = palette ? colours.size() * 4 : 0;
    const std::size_t pixelsAt = 54 + paletteSize;
    Bytes b(pixelsAt + stride * static_cast<std::size_t>(height), 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, 10, static_cast<std::uint32_t>(pixelsAt));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(layout == BmpLayout::Rgb24TopDown ? -height : height));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<std::uint32_t>(bits));
    Put32(b, 46, palette ? static_cast<std::uint32_t>(colours.size()) : 0);
    for (std::size_t i = 0; palette && i < colours.size(); ++i) {
        b[54 + 4 * i] = colours[i].b;
        b[54 + 4 * i + 1] = colours[i].g;
        b[54 + 4 * i + 2] = colours[i].r;
    }
    for (int y = 0; y < height; ++y) {
        const int row = layout == BmpLayout::Rgb24TopDown ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const MaskColour c = NearestCentreMaskColour(x, y);
            const std::size_t at = pixelsAt + static_cast<std::size_t>(row) * stride;
            if (palette) {
                std::size_t index = 0;
                for (std::size_t i = 0; i < colours.size(); ++i)
                    if (colours[i].r == c.r && colours[i].g == c.g && colours[i].b == c.b) index = i;
                b[at + static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(index);
            } else {
                b[at + 3 * static_cast<std::size_t>(x)] = c.b;
                b[at + 3 * static_cast<std::size_t>(x) + 1] = c.g;
                b[at + 3 * static_cast<std::size_t>(x) + 2] = c.r;
            }
        }
    }
    return b;
}

} // namespace vezer::testing
