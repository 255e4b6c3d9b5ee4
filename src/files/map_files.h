#pragma once
// The map data files, read when a game is set up: terrain, roads, rivers, cities and the click
// mask. Each loader stages the whole file, checks it, and only then writes the game state; a
// broken file raises DataError naming it and leaves the state as it was.

#include "core/binary_io.h"
#include "core/field_walk.h"
#include "core/game.h"

#include <array>
#include <string>
#include <vector>

namespace vezer {

// The game's names of the map files ("Data\\Terep1.dat", "Data\\Varos12.dat", ...).
std::string TerrainFileName(int dataSet);
std::string RoadFileName(int dataSet);
std::string RiverFileName(int dataSet);
std::string CityFileName(int dataSet, int campaign);
std::string CityNameFileName(int dataSet);
inline constexpr const char* kMaskFile = "Data\\Maszk.bmp";

// --- The files as records: each parsed (staged and checked), written and mapped by one walk ---
// Parse* checks every value against its range and the check value; Put* checks what lies
// between the records against the map of `st` and only then changes it. Both throw DataError
// naming the file.

// Data\Terep<n>.dat: a terrain code 0..4 for each hex, row by row, and the check byte.
struct TerrainFile {
    int maxX = 0, maxY = 0;
    std::vector<int> codes; // (maxX + 1) x (maxY + 1), row by row
};
TerrainFile ParseTerrainFile(const Bytes& bytes, const std::string& name, int maxX, int maxY);
Bytes TerrainFileBytes(const TerrainFile& file);
FileMap TerrainFileMap(const Bytes& bytes, int maxX, int maxY);
// The terrain on the map of `st`, with its ring of impassable cells; sets MapMaxX and MapMaxY.
void PutTerrain(State& st, const TerrainFile& file);

// Data\Ut<n>.dat: a stream of road classes (111 road, 222 railway, any other byte above 100
// breaks the chain) and points (column, row), ended by a byte of 250 or more, one more byte and
// the check byte.
struct RoadItem {
    int code = 0; // a class or break above 100, the end mark from 250, else a point's column
    int row = 0;  // a point's row
};
struct RoadFile {
    std::vector<RoadItem> items; // the last one is the end mark
    int tail = 0;
};
RoadFile ParseRoadFile(const Bytes& bytes, const std::string& name);
Bytes RoadFileBytes(const RoadFile& file);
FileMap RoadFileMap(const Bytes& bytes);
void PutRoads(State& st, const RoadFile& file, const std::string& name);

// Data\Folyo<n>.dat: river sides of five bytes (two neighbouring hexes and the value 0..3),
// then the check byte.
struct RiverSide {
    int ax = 0, ay = 0, bx = 0, by = 0, value = 0;
};
struct RiverFile {
    std::vector<RiverSide> sides;
};
RiverFile ParseRiverFile(const Bytes& bytes, const std::string& name, const State& map);
Bytes RiverFileBytes(const RiverFile& file);
FileMap RiverFileMap(const Bytes& bytes, const State& map);
void PutRivers(State& st, const RiverFile& file, const std::string& name);

// Data\Varos<n><c>.dat: nineteen 32-bit values for each of the 75 cities, and the check value.
struct CityFile {
    std::array<TVaros, kCityCount + 1> cities{}; // the file's fields of cities 1..75
};
CityFile ParseCityFile(const Bytes& bytes, const std::string& name, const State& map);
Bytes CityFileBytes(const CityFile& file);
FileMap CityFileMap(const Bytes& bytes, const State& map);
// The cities with their names (`namesFile`'s lines); no two may share a hex.
void PutCities(State& st, const CityFile& file, const std::vector<std::string>& names, const std::string& name,
               const std::string& namesFile);

// --- The set-up's loaders ----------------------------------------------------------------

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
