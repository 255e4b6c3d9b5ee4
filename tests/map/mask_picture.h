#pragma once
// A click mask drawn the way the map's artwork draws it, for tests: every pixel of the
// 126 x 72 block is coloured after the nearest hex centre (the block's own hex at (42, 36), its
// north-west and south-west neighbours at the left edge, its north-east and south-east ones at
// the right), written as an uncompressed BMP.

#include "core/binary_io.h"

#include <cstdint>
#include <filesystem>

namespace vezer::testing {

struct MaskColour {
    std::uint8_t r, g, b;
};

// The colour of mask pixel (x, y) by the nearest hex centre; `own` is the base hex colour.
MaskColour NearestCentreMaskColour(int x, int y, MaskColour own = {0, 128, 0});

// A BMP of the mask: 24-bit bottom-up, or 8-bit with a palette, or 24-bit top-down.
enum class BmpLayout { Rgb24BottomUp, Rgb24TopDown, Palette8 };
Bytes MaskBmp(BmpLayout layout, int width = 126, int height = 72);

} // namespace vezer::testing
