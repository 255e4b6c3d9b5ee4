#pragma once
// The corps of a game drawn over the map picture: one marker per corps at its hex, in its
// side's colour, with the arm that dominates it and its size (brigade, division, corps), so a
// start position can be laid beside a historical atlas.

#include "core/state.h"
#include "render/image.h"

namespace vezer::render {

struct CorpsMarkerOptions {
    bool names = true;  // the general's family name under each field corps
};

// The side colours of the markers: the Hungarian red and the imperial black-and-yellow.
inline constexpr Rgba kHungarianMarker{196, 34, 44};
inline constexpr Rgba kImperialMarker{240, 196, 36};

// The arm a corps' marker shows: 1 cavalry, 2 infantry, 3 artillery, by men (a gun counts as
// 150 men, as on the game's markers).
int DominantArm(const THad& corps);

// Draws every corps of both sides on a picture made by DrawMapPicture.
void DrawCorpsMarkers(Image& img, const State& state, const CorpsMarkerOptions& options = {});

} // namespace vezer::render
