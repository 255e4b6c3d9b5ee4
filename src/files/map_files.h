#pragma once
// The map data files, read when a game is set up: terrain, roads, rivers, cities and the click
// mask. Each loader stages the whole file, checks it, and only then writes the game state; a
// broken file raises DataError naming it and leaves the state as it was.

#include "core/game.h"

#include <string>

namespace vezer {

// The game's names of the map files ("Data\\Terep1.dat", "Data\\Varos12.dat", ...).
std::string TerrainFileName(int dataSet);
std::string RoadFileName(int dataSet);
std::string RiverFileName(int dataSet);
std::string CityFileName(int dataSet, int campaign);
std::string CityNameFileName(int dataSet);
inline constexpr const char* kMaskFile = "Data\\Maszk.bmp";

// Terrain of the map 0..maxX x 0..maxY, row by row, then the ring of impassable cells around
// it. Also sets MapMaxX and MapMaxY, which the other loaders check their hexes against.
void LoadTerrain(Game& game, int dataSet, int maxX, int maxY);
// Roads and railways, drawn as chains of neighbouring hexes.
void LoadRoads(Game& game, int dataSet);
// Rivers on the hex sides.
void LoadRivers(Game& game, int dataSet);
// The 75 towns and fortresses of the campaign with their names. Nothing happens when the
// game's DataSet is above 1.
void LoadCities(Game& game, int dataSet, int campaign);
// The click mask picture that resolves a pixel of the map to a hex.
void LoadMask(Game& game);

} // namespace vezer
