#pragma once
// The readable sources of the map under assets/map/, read into plain tables with the line each
// value came from. Reading checks the form of every line (a hex in range, a step to an adjacent
// hex, a known terrain character); map.cpp checks the rules between the files.

#include "mkdata.h"

#include "core/binary_io.h"
#include "core/data_set.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace mkdata::mapsrc {

// The data set's own sizes (the game's table).
constexpr int kMaxCol = vezer::kDataSetSizes.mapMaxX, kMaxRow = vezer::kDataSetSizes.mapMaxY;
constexpr int kCities = vezer::kDataSetSizes.cityCount;
constexpr int kCampaigns = vezer::kCampaignCount;

struct Hex {
    int x = 0, y = 0;
    bool operator==(const Hex&) const = default;
    auto operator<=>(const Hex&) const = default;
};
std::string HexText(Hex h);
bool OnMap(Hex h);
Hex Neighbour(Hex h, int direction);
int DirectionTo(Hex from, Hex to);  // 0..5, or 9 when not adjacent

struct Pixel {
    double x = 0, y = 0;
};
Pixel HexCentre(Hex h);

// projection.txt: longitude and latitude to a pixel of the map picture and to the nearest hex.
struct Projection {
    double lon0 = 0, lat0 = 0, x0 = 0, y0 = 0, pxPerLon = 0, pxPerLatSouth = 0, pxPerLatNorth = 0;
    Pixel ToPixel(double lon, double lat) const;
    Hex HexOf(double lon, double lat) const;
};

struct Terrain {
    std::array<std::array<int, kMaxCol + 1>, kMaxRow + 1> code{};
    std::array<int, kMaxRow + 1> line{};  // source line of each row
    int At(Hex h) const { return OnMap(h) ? code[h.y][h.x] : 4; }
};

struct RiverSide {
    Hex a, b;
    int value = 0;
    std::string river;
    int line = 0;
};

struct ChainHex {
    Hex hex;
    int line = 0;
};
struct RoadChain {
    bool rail = false;
    std::string name;
    int line = 0;
    std::vector<ChainHex> hexes;
};

// One line of cities.tsv.
struct CitySource {
    int line = 0;
    int number = 0;
    std::string name, german;
    double lat = 0, lon = 0;
    Hex hex;
    char mark = '-';
    int kind = 0, nation = 0, victoryValue = 0, importance1 = 0, importance2 = 0, supply1 = 0, supply2 = 0;
    std::array<int, kCampaigns> owner{};
    int fortMax = 0, garrisonCapacity = 0, garrisonGunCapacity = 0, stagingLink = 0;
};

// The 19 values of one city in a city file (the file's order is the game's city walk).
struct CityRecord {
    int x = 0, y = 0, kind = 0, supply1 = 0, supply2 = 0, owner = 0, garrisonCapacity = 0,
        garrisonGunCapacity = 0, fortMax = 0, fortStrength = 0, garrisonCorps = 0, homeSide = 0, nation = 0,
        flagClass = 0, victoryValue = 0, importance2 = 0, importance1 = 0, captureCounter = 0, stagingLink = 0;
};
struct CityFile {
    std::array<CityRecord, kCities> cities{};
};

struct MapSources {
    std::filesystem::path terrainFile, riversFile, roadsFile, citiesFile, campaignsFile;
    Projection projection;
    Terrain terrain;
    std::vector<RiverSide> rivers;
    std::vector<RoadChain> roads;
    std::vector<CitySource> cities;  // exactly 75, numbered 1..75 in order
    // campaigns.txt, kept as read: a theatre (its cities), a scale (side, percent) or one field
    struct Change {
        int campaign = 0;
        std::vector<int> cities;
        std::string field;
        int value = 0;
        int line = 0;
    };
    std::vector<Change> changes;
};

MapSources ReadMapSources(const std::filesystem::path& folder);

// The seven city files: cities.tsv with each campaign's owners and the changes of campaigns.txt.
std::array<CityFile, kCampaigns> BuildCityFiles(const MapSources& src);

// The map step's files, compiled from the sources once every rule between them holds. The map
// step writes them; the steps that check campaigns against the map read them through the game's
// own readers, so every step is a function of the sources alone.
struct MapFiles {
    MapSources src;
    std::array<CityFile, kCampaigns> cityRecords;
    vezer::Bytes terrain, roads, rivers, cityNames, mask;
    std::array<vezer::Bytes, kCampaigns> cities;
};
MapFiles CompileMapFiles(const std::filesystem::path& assets);

} // namespace mkdata::mapsrc
