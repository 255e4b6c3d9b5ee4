// The map of Hungary in 1848: assets/map/ compiled into Data/Terep1.dat, Ut1.dat, Folyo1.dat,
// Varos10.dat .. Varos16.dat, Varnev1.dat and Maszk.bmp. Everything is read and checked
// first; a single broken rule stops the step before any file is written.

#include "mkdata.h"
#include "map_sources.h"

#include "core/binary_io.h"
#include "files/map_files.h"
#include "core/state.h"
#include "core/text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <cstdio>
#include <deque>
#include <set>

namespace mkdata {

namespace {

using namespace mapsrc;

// ---- checks ---------------------------------------------------------------------------------

// The railways that ran in 1848, station by station (longitude, latitude). A railway of the
// map must keep within a hex of one of them, from its first station to its last.
struct RailLine {
    const char* name;
    std::vector<std::pair<double, double>> stations;
};
const std::vector<RailLine>& RailLines1848() {
    static const std::vector<RailLine> lines = {
        {"Pest–Vác", {{19.05, 47.50}, {19.13, 47.78}}},
        {"Pest–Cegléd–Szolnok", {{19.05, 47.50}, {19.80, 47.17}, {20.20, 47.17}}},
        {"Bécs–Lundenburg–Olmütz", {{16.37, 48.21}, {16.88, 48.76}, {17.45, 49.45}, {17.25, 49.59}}},
        {"Lundenburg–Brünn", {{16.88, 48.76}, {16.61, 49.20}}},
        {"Bécs–Bécsújhely–Gloggnitz", {{16.37, 48.21}, {16.24, 47.81}, {15.94, 47.68}}},
        {"Pozsony–Nagyszombat", {{17.11, 48.14}, {17.59, 48.38}}},
    };
    return lines;
}

constexpr double kRailCorridor = 90.0;  // pixels: a little more than one hex from the line

double SegmentDistance(Pixel p, Pixel a, Pixel b) {
    double vx = b.x - a.x, vy = b.y - a.y;
    double l2 = vx * vx + vy * vy;
    double t = l2 == 0 ? 0 : std::clamp(((p.x - a.x) * vx + (p.y - a.y) * vy) / l2, 0.0, 1.0);
    double qx = a.x + t * vx - p.x, qy = a.y + t * vy - p.y;
    return std::sqrt(qx * qx + qy * qy);
}

double PixelDistance(Pixel a, Pixel b) { return std::hypot(a.x - b.x, a.y - b.y); }

void CheckRoads(const MapSources& src) {
    for (const RoadChain& chain : src.roads) {
        for (const ChainHex& h : chain.hexes)
            if (src.terrain.At(h.hex) > 3)
                throw SourceError(src.roadsFile, h.line, "road through impassable ground at " + HexText(h.hex));
        if (!chain.rail) continue;
        const RailLine* line = nullptr;
        for (const RailLine& l : RailLines1848())
            if (chain.name == l.name) line = &l;
        if (line == nullptr)
            throw SourceError(src.roadsFile, chain.line, "no railway '" + chain.name + "' ran in 1848");
        std::vector<Pixel> stations;
        for (auto [lon, lat] : line->stations) stations.push_back(src.projection.ToPixel(lon, lat));
        for (const ChainHex& h : chain.hexes) {
            double best = 1e18;
            for (std::size_t i = 0; i + 1 < stations.size(); ++i)
                best = std::min(best, SegmentDistance(HexCentre(h.hex), stations[i], stations[i + 1]));
            if (best > kRailCorridor)
                throw SourceError(src.roadsFile, h.line,
                                  HexText(h.hex) + " is off the line of the " + chain.name + " railway");
        }
        if (PixelDistance(HexCentre(chain.hexes.front().hex), stations.front()) > kRailCorridor ||
            PixelDistance(HexCentre(chain.hexes.back().hex), stations.back()) > kRailCorridor)
            throw SourceError(src.roadsFile, chain.line,
                              "the " + chain.name + " railway must run from its first station to its last");
    }
}

// The hexes the rules fix: Vienna, and the fortresses that carry a picture of their walls.
struct FixedCity {
    int city;
    Hex hex;
};
constexpr std::array<FixedCity, 11> kFixedCities = {{{3, {6, 9}},
                                                     {14, {13, 7}},
                                                     {24, {39, 7}},
                                                     {28, {14, 12}},
                                                     {31, {19, 13}},
                                                     {36, {17, 27}},
                                                     {42, {24, 30}},
                                                     {46, {31, 26}},
                                                     {47, {32, 24}},
                                                     {60, {40, 25}},
                                                     {61, {43, 23}}}};
constexpr std::array<int, 3> kGreatFortresses = {28, 42, 46};

bool IsFixed(int city) {
    return std::any_of(kFixedCities.begin(), kFixedCities.end(), [&](const FixedCity& f) { return f.city == city; });
}

void CheckCityPlaces(const MapSources& src) {
    const auto& cities = src.cities;
    std::map<Hex, const CitySource*> taken;
    for (const CitySource& c : cities) {
        auto fail = [&](const std::string& what) { throw SourceError(src.citiesFile, c.line, c.name + ": " + what); };
        if (c.hex.x < 1 || c.hex.x > kMaxCol - 1 || c.hex.y < 1 || c.hex.y > kMaxRow - 1)
            fail("hex " + HexText(c.hex) + " is outside columns 1..61, rows 1..34");
        if (auto [it, fresh] = taken.emplace(c.hex, &c); !fresh)
            fail("hex " + HexText(c.hex) + " is already " + it->second->name + "'s");
        if (src.terrain.At(c.hex) > 3) fail("stands on impassable ground at " + HexText(c.hex));
    }
    for (const FixedCity& f : kFixedCities) {
        const CitySource& c = cities[f.city - 1];
        if (!(c.hex == f.hex))
            throw SourceError(src.citiesFile, c.line, c.name + ": the rules put city " + std::to_string(f.city) +
                                                          " on " + HexText(f.hex));
    }
    for (const CitySource& c : cities) {
        Hex projected = src.projection.HexOf(c.lon, c.lat);
        auto fail = [&](const std::string& what) {
            throw SourceError(src.citiesFile, c.line,
                              c.name + " (projected to " + HexText(projected) + "): " + what);
        };
        bool fixed = IsFixed(c.number);
        switch (c.mark) {
        case '-':
            if (fixed) fail("the rules fix this hex: mark it '=' or '*'");
            if (!(c.hex == projected)) fail("not on its projected hex; mark a moved city '+'");
            break;
        case '=':
            if (!fixed || !(c.hex == projected)) fail("'=' is for a hex the rules fix that is the projected one");
            break;
        case '*':
            if (!fixed || DirectionTo(c.hex, projected) == 9) fail("'*' is for a fixed hex next to the projected one");
            break;
        case '+':
            if (DirectionTo(c.hex, projected) == 9 || taken.count(projected) == 0)
                fail("'+' is for a city moved one hex off a hex another city holds");
            break;
        default: fail(std::string("unknown mark '") + c.mark + "'");
        }
    }
}

// Every city can be reached from every other over passable ground, without crossing a side
// that no army could cross.
void CheckConnected(const MapSources& src) {
    std::set<std::pair<Hex, Hex>> closed;
    for (const RiverSide& s : src.rivers)
        if (s.value == 3) {
            closed.insert({s.a, s.b});
            closed.insert({s.b, s.a});
        }
    std::set<Hex> seen{src.cities.front().hex};
    std::deque<Hex> queue{src.cities.front().hex};
    while (!queue.empty()) {
        Hex h = queue.front();
        queue.pop_front();
        for (int d = 0; d < 6; ++d) {
            Hex n = Neighbour(h, d);
            if (!OnMap(n) || src.terrain.At(n) > 3 || closed.count({h, n}) || !seen.insert(n).second) continue;
            queue.push_back(n);
        }
    }
    for (const CitySource& c : src.cities)
        if (!seen.count(c.hex))
            throw SourceError(src.citiesFile, c.line,
                              c.name + " cannot be reached from " + src.cities.front().name + " over land");
}

void CheckCityFields(const MapSources& src, const std::array<CityFile, kCampaigns>& files) {
    for (int campaign = 0; campaign < kCampaigns; ++campaign) {
        for (int i = 0; i < kCities; ++i) {
            const CitySource& c = src.cities[i];
            const CityRecord& r = files[campaign].cities[i];
            auto fail = [&](const std::string& what) {
                throw SourceError(src.citiesFile, c.line,
                                  c.name + ", campaign " + std::to_string(campaign) + ": " + what);
            };
            if (r.kind < 1 || r.kind > 3) fail("kind must be 1, 2 or 3");
            bool fortress = r.kind == 3;
            if (fortress != (r.garrisonCapacity > 0) || fortress != (r.garrisonGunCapacity > 0))
                fail("a fortress, and only a fortress, has room for a garrison and its guns");
            if (fortress && !(1 <= r.fortStrength && r.fortStrength <= r.fortMax && r.fortMax <= 10))
                fail("a fortress needs 1 <= strength <= intact strength <= 10");
            if (!fortress && (r.fortMax != 0 || r.fortStrength != 0)) fail("a town has no fortress strength");
            if (!fortress && r.garrisonCorps != 0) fail("a town has no garrison corps");
            if (r.owner != 1 && r.owner != 2) fail("the owner must be side 1 or 2");
            static constexpr std::array<int, 9> kNations = {0, 1, 2, 4, 5, 6, 7, 8, 9};
            if (std::find(kNations.begin(), kNations.end(), r.nation) == kNations.end())
                fail("nation must be one whose levies rise for a side (0, 1, 2, 4..9)");
            if (r.flagClass < 1 || r.flagClass > 11 || vezer::kNationFlag[r.flagClass] != r.owner)
                fail("the flag must be the owner's");
            if (r.captureCounter < 1 || r.captureCounter > 4) fail("capture counter must be 1..4");
            if (r.supply1 < 0 || r.supply2 < 0) fail("supply cannot be negative");
            if (r.importance1 < 0 || r.importance1 > 10 || r.importance2 < 0 || r.importance2 > 10)
                fail("importance must be 0..10");
            if (r.victoryValue < 0) fail("victory value cannot be negative");
            if (r.stagingLink != 0) {
                int side = r.stagingLink / 100, other = r.stagingLink % 100;
                if ((side != 1 && side != 2) || other < 1 || other > kCities || other == i + 1)
                    fail("staging link must be side * 100 + another city");
            }
            if (r.garrisonCorps < 0 || r.garrisonCorps > vezer::kMaxCorps) fail("garrison corps out of range");
        }
        for (int great : kGreatFortresses) {
            const CityRecord& r = files[campaign].cities[great - 1];
            if (r.supply1 != 300 || r.supply2 != 300)
                throw SourceError(src.citiesFile, src.cities[great - 1].line,
                                  src.cities[great - 1].name + ": the great fortresses supply 300 to both sides");
        }
        for (const FixedCity& f : kFixedCities) {
            const CityRecord& r = files[campaign].cities[f.city - 1];
            bool vienna = f.city == 3;
            if (vienna ? (r.kind > 2 || r.garrisonCapacity != 0) : r.kind != 3)
                throw SourceError(src.citiesFile, src.cities[f.city - 1].line,
                                  src.cities[f.city - 1].name +
                                      (vienna ? ": Vienna must be open to a rising (kind 1 or 2, no garrison room)"
                                              : ": the rules show this city's walls: it must be a fortress"));
        }
        const CityRecord& olmutz = files[campaign].cities[1];
        if (olmutz.kind > 2)
            throw SourceError(src.citiesFile, src.cities[1].line, "Olmütz must be taken by marching in (kind 1 or 2)");
    }
    if (files[1].cities[2].victoryValue <= 0)
        throw SourceError(src.citiesFile, src.cities[2].line, "Vienna must be worth victory points");
}

// ---- writers ---------------------------------------------------------------------------------

std::uint8_t Byte(int v) { return static_cast<std::uint8_t>(v); }

vezer::Bytes TerrainBytes(const Terrain& t) {
    vezer::TerrainFile file{kMaxCol, kMaxRow, {}};
    for (int y = 0; y <= kMaxRow; ++y)
        for (int x = 0; x <= kMaxCol; ++x) file.codes.push_back(t.code[y][x]);
    return vezer::TerrainFileBytes(file);
}

vezer::Bytes RoadBytes(const std::vector<RoadChain>& roads) {
    vezer::RoadFile file;
    // Post roads first, railways after: where both use a side, the railway is the faster way.
    for (bool rail : {false, true})
        for (const RoadChain& chain : roads) {
            if (chain.rail != rail) continue;
            file.items.push_back({rail ? 222 : 111, 0});
            for (const ChainHex& h : chain.hexes) file.items.push_back({h.hex.x, h.hex.y});
        }
    file.items.push_back({255, 0});
    file.tail = 0;
    return vezer::RoadFileBytes(file);
}

vezer::Bytes RiverBytes(const std::vector<RiverSide>& rivers) {
    vezer::RiverFile file;
    for (const RiverSide& s : rivers) file.sides.push_back({s.a.x, s.a.y, s.b.x, s.b.y, s.value});
    return vezer::RiverFileBytes(file);
}

vezer::Bytes CityBytes(const CityFile& source) {
    vezer::CityFile file;
    for (std::size_t i = 0; i < source.cities.size(); ++i) {
        const CityRecord& r = source.cities[i];
        vezer::TVaros& v = file.cities[i + 1];
        v.X = r.x;
        v.Y = r.y;
        v.Kind = r.kind;
        v.SupplyCapacity[1] = r.supply1;
        v.SupplyCapacity[2] = r.supply2;
        v.Owner = r.owner;
        v.GarrisonCapacity = r.garrisonCapacity;
        v.GarrisonGunCapacity = r.garrisonGunCapacity;
        v.FortMax = r.fortMax;
        v.FortStrength = r.fortStrength;
        v.GarrisonCorps = r.garrisonCorps;
        v.HomeSide = r.homeSide;
        v.Nation = r.nation;
        v.FlagClass = r.flagClass;
        v.VictoryValue = r.victoryValue;
        v.Importance[2] = r.importance2;
        v.Importance[1] = r.importance1;
        v.CaptureCounter = r.captureCounter;
        v.StagingLink = r.stagingLink;
    }
    return vezer::CityFileBytes(file);
}

vezer::Bytes CityNames(const std::vector<CitySource>& cities) {
    vezer::Bytes out;
    for (const CitySource& c : cities) {
        std::string line = vezer::Utf8ToCp1250(c.name) + "\r\n";
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

// The mask of Data/Maszk.bmp: one 126 x 72 block of the map picture. The hexagon of the block's
// own hex (centre 42, 36) is white; what lies left of it belongs to the north-west (red) and
// south-west (blue) neighbours, what lies right of it to the north-east (yellow) and south-east
// (magenta) neighbours.
vezer::Bytes MaskBitmap() {
    constexpr int kW = 126, kH = 72, kStride = (kW * 3 + 3) / 4 * 4;
    vezer::BinaryWriter out;
    auto word = [&](int v) {
        out.WriteByte(Byte(v & 0xFF));
        out.WriteByte(Byte((v >> 8) & 0xFF));
    };
    out.WriteByte('B');
    out.WriteByte('M');
    out.WriteInt(54 + kStride * kH);
    out.WriteInt(0);
    out.WriteInt(54);
    out.WriteInt(40);
    out.WriteInt(kW);
    out.WriteInt(kH);  // positive: rows stored bottom-up
    word(1);
    word(24);
    out.WriteInt(0);
    out.WriteInt(kStride * kH);
    out.WriteInt(2835);
    out.WriteInt(2835);
    out.WriteInt(0);
    out.WriteInt(0);
    for (int row = kH - 1; row >= 0; --row) {
        for (int col = 0; col < kW; ++col) {
            double dx = col + 0.5 - 42, dy = row + 0.5 - 36;
            bool upper = dy < 0;
            std::array<int, 3> rgb{255, 255, 255};
            if (std::abs(dx) > 42 - std::abs(dy) * 21.0 / 36.0) {
                if (dx < 0) rgb = upper ? std::array<int, 3>{255, 0, 0} : std::array<int, 3>{0, 0, 255};
                else rgb = upper ? std::array<int, 3>{255, 255, 0} : std::array<int, 3>{255, 0, 255};
            }
            out.WriteByte(Byte(rgb[2]));
            out.WriteByte(Byte(rgb[1]));
            out.WriteByte(Byte(rgb[0]));
        }
        for (int pad = kW * 3; pad < kStride; ++pad) out.WriteByte(0);
    }
    return out.bytes();
}

void PrintSummary(const MapSources& src, const std::array<CityFile, kCampaigns>& files) {
    std::array<int, 5> perCode{};
    for (const auto& row : src.terrain.code)
        for (int c : row) ++perCode[c];
    std::printf("map: terrain 0..4: %d %d %d %d %d hexes\n", perCode[0], perCode[1], perCode[2], perCode[3],
                perCode[4]);
    std::map<std::string, int> sides;
    for (const RiverSide& s : src.rivers) ++sides[s.river];
    std::printf("map: %zu river sides:", src.rivers.size());
    for (const auto& [name, n] : sides) std::printf(" %s %d", name.c_str(), n);
    std::printf("\n");
    std::set<Hex> road, rail;
    for (const RoadChain& chain : src.roads)
        for (const ChainHex& h : chain.hexes) (chain.rail ? rail : road).insert(h.hex);
    std::printf("map: %zu road hexes, %zu railway hexes\n", road.size(), rail.size());
    for (int campaign = 0; campaign < kCampaigns; ++campaign) {
        int points[3] = {0, 0, 0};
        for (const CityRecord& r : files[campaign].cities) points[r.owner] += r.victoryValue;
        std::printf("map: campaign %d starts with city points %d : %d (%.2f)\n", campaign, points[1], points[2],
                    points[1] / (points[2] + 1.0));
    }
}

} // namespace

MapFiles mapsrc::CompileMapFiles(const std::filesystem::path& assets) {
    MapFiles out;
    out.src = ReadMapSources(assets / "map");
    const MapSources& src = out.src;
    CheckCityPlaces(src);
    CheckConnected(src);
    CheckRoads(src);
    out.cityRecords = BuildCityFiles(src);
    const std::array<CityFile, kCampaigns>& files = out.cityRecords;
    CheckCityFields(src, files);
    out.terrain = TerrainBytes(src.terrain);
    out.roads = RoadBytes(src.roads);
    out.rivers = RiverBytes(src.rivers);
    for (int campaign = 0; campaign < kCampaigns; ++campaign) out.cities[campaign] = CityBytes(files[campaign]);
    out.cityNames = CityNames(src.cities);
    out.mask = MaskBitmap();
    return out;
}

void CompileMap(const Context& ctx) {
    const MapFiles files = CompileMapFiles(ctx.assets);
    WriteOutput(ctx, "Data/Terep1.dat", files.terrain);
    WriteOutput(ctx, "Data/Ut1.dat", files.roads);
    WriteOutput(ctx, "Data/Folyo1.dat", files.rivers);
    for (int campaign = 0; campaign < kCampaigns; ++campaign)
        WriteOutput(ctx, "Data/Varos1" + std::to_string(campaign) + ".dat", files.cities[campaign]);
    WriteOutput(ctx, "Data/Varnev1.dat", files.cityNames);
    WriteOutput(ctx, "Data/Maszk.bmp", files.mask);
    PrintSummary(files.src, files.cityRecords);
}

} // namespace mkdata
