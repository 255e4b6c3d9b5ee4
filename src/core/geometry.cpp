#include "core/geometry.h"

#include <array>

namespace vezer {

namespace {

struct Step {
    int dx;
    int dy;
};

// Neighbour offsets by direction, for even and for odd columns.
constexpr std::array<Step, 6> kEvenSteps = {{{0, -1}, {1, -1}, {1, 0}, {0, 1}, {-1, 0}, {-1, -1}}};
constexpr std::array<Step, 6> kOddSteps = {{{0, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}}};

} // namespace

Hex Neighbour(Hex hex, int direction) {
    if (direction < 0 || direction > 5) return hex;
    const Step& s = (IsOddColumn(hex.x) ? kOddSteps : kEvenSteps)[static_cast<std::size_t>(direction)];
    return Hex{hex.x + s.dx, hex.y + s.dy};
}

int DirectionTo(Hex from, Hex to) {
    const auto& steps = IsOddColumn(from.x) ? kOddSteps : kEvenSteps;
    const int dx = to.x - from.x;
    const int dy = to.y - from.y;
    for (int d = 0; d < 6; ++d)
        if (steps[static_cast<std::size_t>(d)].dx == dx && steps[static_cast<std::size_t>(d)].dy == dy)
            return d;
    return kNoDirection;
}

bool OnMap(const State& state, Hex hex) {
    return hex.x >= 0 && hex.x <= state.MapMaxX && hex.y >= 0 && hex.y <= state.MapMaxY;
}

Pixel HexToPixel(Hex hex) {
    const int X = kColumnPitch * hex.x + 42;
    const int Y = kRowPitch * hex.y + (IsOddColumn(hex.x) ? 72 : 36);
    return Pixel{X, Y};
}

Hex PixelToHex(const State& state, int X, int Y) {
    // The map picture starts at pixel (0, 0); nothing lies to the left of it or above it.
    if (X < 0 || Y < 0) return kNoHex;
    Hex base{2 * (X / kMaskWidth), Y / kMaskHeight};
    const int mx = X % kMaskWidth;
    const int my = Y % kMaskHeight;
    const int mark = state.MaskDirection[static_cast<std::size_t>(my * kMaskWidth + mx)];
    Hex result = mark == 0 ? base : Neighbour(base, mark - 1);
    return OnMap(state, result) ? result : kNoHex;
}

} // namespace vezer
