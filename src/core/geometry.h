#pragma once
// Hex coordinates, the six directions and the map picture's pixel geometry.
//
// Hexes have flat tops and stand in columns; odd columns sit half a hex lower than even ones
// (column -1 counts as odd). Directions number the sides clockwise from the top: 0 north,
// 1 north-east, 2 south-east, 3 south, 4 south-west, 5 north-west.

#include "core/state.h"

namespace vezer {

struct Hex {
    int x = 0;
    int y = 0;
    friend bool operator==(Hex, Hex) = default;
};

inline constexpr Hex kNoHex{-1, -1};
inline constexpr int kNoDirection = 9;

// Pixel geometry of the map picture: columns 63 pixels apart, rows 72; a hex is 84 x 72.
inline constexpr int kColumnPitch = 63;
inline constexpr int kRowPitch = 72;
inline constexpr int kHexWidth = 84;
inline constexpr int kHexHeight = 72;

struct Pixel {
    int X = 0;
    int Y = 0;
    friend bool operator==(Pixel, Pixel) = default;
};

inline constexpr bool IsOddColumn(int x) {
    return x % 2 != 0;
}

// The hex beyond side `direction`; a direction outside 0..5 gives the hex itself.
Hex Neighbour(Hex hex, int direction);
// The side of `from` that `to` lies beyond, or 9 when they are not neighbours (or the same hex).
int DirectionTo(Hex from, Hex to);
inline constexpr int TurnLeft(int d) {
    return d == 0 ? 5 : d - 1;
}
inline constexpr int TurnRight(int d) {
    return d == 5 ? 0 : d + 1;
}
// The direction on the far side of a hex side: how `to` sees `from`.
inline constexpr int Opposite(int d) {
    return (d + 3) % 6;
}

// True when the hex lies on the playable map 0..MapMaxX x 0..MapMaxY.
bool OnMap(const State& state, Hex hex);

// The centre of a hex on the map picture.
Pixel HexToPixel(Hex hex);
// The hex under a pixel of the map picture, resolved through the mask picture; (-1, -1) when
// the pixel lies off the playable map.
Hex PixelToHex(const State& state, int X, int Y);

} // namespace vezer
