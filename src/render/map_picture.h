#pragma once
// The map of the theatre of war drawn at the game's pixel geometry: hex (x, y) has its centre
// where HexToPixel puts it, so the picture lies under the corps markers of the game screen.

#include "core/state.h"
#include "render/image.h"

namespace vezer::render {

struct MapPictureOptions {
    bool gridLabels = false; // "column,row" in every hex, for checking the data
    bool cityNames = true;
    bool legend = true; // title and key; off for the game screen's background
    // The town and fortress symbols; off for the game screen, whose city markers change owner.
    bool citySymbols = true;
};

// A town (kind 1), city (2) or fortress (3) symbol in its owner's colour (1, 2; else neutral),
// centred on `centre`; the same symbol the map picture and the game screen's markers show.
void DrawCitySymbol(Image& img, PointF centre, int kind, int owner);

// The picture size that holds every hex of the map.
int MapPictureWidth(const State& state);
int MapPictureHeight(const State& state);

// Terrain, rivers, roads, railways, towns and fortresses of the loaded map. The cities are
// coloured by their owner in the state.
Image DrawMapPicture(const State& state, const MapPictureOptions& options);

} // namespace vezer::render
