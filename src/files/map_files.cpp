#include "files/map_files.h"

#include "core/binary_io.h"
#include "core/errors.h"
#include "core/field_walk.h"
#include "core/random.h"
#include "core/textfile.h"
#include "core/geometry.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace vezer {

namespace {

constexpr int kTerrainCheckModulus = 200;
constexpr int kCityCheckModulus = 2000;
constexpr int kRoadEnd = 250;        // a byte of 250 or more ends the road stream
constexpr int kRoadChainBreak = 100; // a byte above 100 starts a new chain
constexpr int kRoadClassOne = 111;
constexpr int kRoadClassTwo = 222;
// The three great fortresses feed any army that holds them.
constexpr std::array<int, 3> kGreatFortresses = {28, 42, 46};

std::string Numbered(const char* base, int number) {
    return base + std::to_string(number) + ".dat";
}

std::string HexText(Hex h) {
    return "(" + std::to_string(h.x) + ", " + std::to_string(h.y) + ")";
}

// One hex side to be written on both hexes that share it.
struct SideMark {
    Hex a;
    Hex b;
    int value = 0;
};

// The side a -> b, checked: both hexes on the map and neighbours.
int CheckedSide(const State& st, const std::string& name, Hex a, Hex b, const char* what) {
    if (!OnMap(st, a)) throw DataError(name, std::string(what) + " point " + HexText(a) + " lies off the map");
    if (!OnMap(st, b)) throw DataError(name, std::string(what) + " point " + HexText(b) + " lies off the map");
    const int d = DirectionTo(a, b);
    if (d == kNoDirection)
        throw DataError(name, std::string(what) + " joins " + HexText(a) + " and " + HexText(b) +
                                  ", which are not neighbours");
    return d;
}

void CommitSides(State& st, const std::vector<SideMark>& marks, bool roads) {
    for (const SideMark& m : marks) {
        const auto da = static_cast<std::size_t>(DirectionTo(m.a, m.b));
        const auto db = static_cast<std::size_t>(DirectionTo(m.b, m.a));
        THex& ca = st.Cell(m.a.x, m.a.y);
        THex& cb = st.Cell(m.b.x, m.b.y);
        (roads ? ca.Road : ca.River)[da] = m.value;
        (roads ? cb.Road : cb.River)[db] = m.value;
    }
}

// --- The mask picture: an uncompressed Windows bitmap -----------------------------------

class BmpBytes {
public:
    BmpBytes(const Bytes& bytes, std::string name) : bytes_(bytes), name_(std::move(name)) {}
    std::uint32_t U16(std::size_t at) const { return Get(at, 2); }
    std::uint32_t U32(std::size_t at) const { return Get(at, 4); }
    std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(Get(at, 4)); }
    std::uint8_t U8(std::size_t at) const { return static_cast<std::uint8_t>(Get(at, 1)); }
    [[noreturn]] void Fail(const std::string& reason) const { throw DataError(name_, reason); }

private:
    std::uint32_t Get(std::size_t at, std::size_t n) const {
        if (at > bytes_.size() || bytes_.size() - at < n) Fail("the picture ends early");
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < n; ++i) v |= std::uint32_t{bytes_[at + i]} << (8 * i);
        return v;
    }
    const Bytes& bytes_;
    std::string name_;
};

struct Rgb {
    std::uint8_t r, g, b;
};

// The mask's meaning of a colour: pure red, yellow, blue and magenta point to the neighbours
// in directions 5, 1, 4 and 2; every other colour is the block's own hex.
Byte MaskMark(Rgb c) {
    if (c.r == 255 && c.g == 0 && c.b == 0) return 5 + 1;
    if (c.r == 255 && c.g == 255 && c.b == 0) return 1 + 1;
    if (c.r == 0 && c.g == 0 && c.b == 255) return 4 + 1;
    if (c.r == 255 && c.g == 0 && c.b == 255) return 2 + 1;
    return 0;
}

// --- The walks ------------------------------------------------------------------------------

constexpr int kAny = kNoLowerBound, kAll = kNoUpperBound;

// The terrain row by row, then the check byte.
template <class Io, class F> void WalkTerrainFile(Io& io, F& file) {
    const int columns = file.maxX + 1;
    for (int y = 0; y <= file.maxY; ++y) {
        for (int x = 0; x <= file.maxX; ++x) {
            io.AboutHex(x, y);
            io.Byte(file.codes.at(static_cast<std::size_t>(y * columns + x)), 0, kTerrainImpassable, "terrain code");
        }
    }
    io.About(nullptr);
    io.Reduce();
    io.CheckByte();
    io.End("the file is longer than the map");
}

// A stream of bytes: a road class (111 road, 222 railway; any other byte above 100 only breaks
// the chain), or a point as its column and row. A byte of 250 or more ends the stream; one more
// byte and the check byte follow.
template <class Io, class F> void WalkRoadFile(Io& io, F& file) {
    for (std::size_t n = 0; !io.Exhausted(); ++n) {
        if constexpr (Io::kReading) file.items.emplace_back();
        auto& item = file.items.at(n);
        io.About("road item", static_cast<int>(n) + 1);
        io.Byte(item.code, 0, 255, "code");
        if (item.code >= kRoadEnd) break;
        if (item.code <= kRoadChainBreak) io.Byte(item.row, 0, 255, "row");
        io.Reduce();
    }
    io.About(nullptr);
    io.Byte(file.tail, 0, 255, "the byte after the end mark");
    io.Reduce();
    io.CheckByte();
    io.End("data after the check byte");
}

// River sides of five bytes each (two hexes and the river's value) up to the check byte.
template <class Io, class F> void WalkRiverFile(Io& io, F& file, Hex mapMax) {
    int sides = 0;
    if constexpr (Io::kReading) {
        sides = io.RecordsLeft(5, 1, "the file is not whole records and a check byte");
        file.sides.resize(static_cast<std::size_t>(sides));
    } else {
        sides = static_cast<int>(file.sides.size());
    }
    for (int i = 0; i < sides; ++i) {
        auto& s = file.sides.at(static_cast<std::size_t>(i));
        io.About("river side", i + 1);
        io.Byte(s.ax, 0, mapMax.x, "column of the first hex");
        io.Byte(s.ay, 0, mapMax.y, "row of the first hex");
        io.Byte(s.bx, 0, mapMax.x, "column of the second hex");
        io.Byte(s.by, 0, mapMax.y, "row of the second hex");
        io.Byte(s.value, 0, 3, "value");
        io.Reduce();
    }
    io.About(nullptr);
    io.CheckByte();
}

// A staging link names a city of a side: side x 100 + city, or 0 for none.
bool IsStagingLink(int link) {
    return link == 0 || (link / 100 >= 1 && link / 100 <= 2 && link % 100 >= 1 && link % 100 <= kCityCount);
}

// The nineteen values of a city in the order of the city file.
template <class Io, class V> void WalkCity(Io& io, V& v, Hex mapMax) {
    io.Field(v.X, 0, mapMax.x, "x");
    io.Field(v.Y, 0, mapMax.y, "y");
    io.Field(v.Kind, 0, 3, "kind");
    io.Field(v.SupplyCapacity[1], kAny, kAll, "supply of side 1");
    io.Field(v.SupplyCapacity[2], kAny, kAll, "supply of side 2");
    io.Field(v.Owner, 0, kAll, "owner");
    io.Field(v.GarrisonCapacity, kAny, kAll, "garrison capacity");
    io.Field(v.GarrisonGunCapacity, kAny, kAll, "garrison gun capacity");
    io.Field(v.FortMax, kAny, kAll, "fortress strength when intact");
    io.Field(v.FortStrength, kAny, kAll, "fortress strength");
    io.Field(v.GarrisonCorps, 0, kMaxCorps, "garrison corps");
    io.Field(v.HomeSide, 0, 2, "home side");
    io.Field(v.Nation, 0, kNationCount, "nation");
    io.Field(v.FlagClass, 0, kNationCount, "flag class");
    io.Field(v.VictoryValue, kAny, kAll, "victory value");
    io.Field(v.Importance[2], kAny, kAll, "importance to side 2");
    io.Field(v.Importance[1], kAny, kAll, "importance to side 1");
    io.Field(v.CaptureCounter, 0, kAll, "capture counter");
    io.Field(v.StagingLink, kAny, kAll, "staging link");
    io.Require(IsStagingLink(v.StagingLink), [&] {
        return "staging link" + io.Context() + " is " + std::to_string(v.StagingLink) +
               ", not 0 nor a side 1..2 x 100 + a city";
    });
    io.Reduce();
}

template <class Io, class F> void WalkCityFile(Io& io, F& file, Hex mapMax) {
    for (int c = 1; c <= kCityCount; ++c) {
        io.About("city", c);
        WalkCity(io, file.cities[static_cast<std::size_t>(c)], mapMax);
    }
    io.About(nullptr);
    io.CheckInt();
    io.End();
}

Hex MapMaxOf(const State& st) {
    return {st.MapMaxX, st.MapMaxY};
}

} // namespace

std::string TerrainFileName(int dataSet) {
    return Numbered("Data\\Terep", dataSet);
}
std::string RoadFileName(int dataSet) {
    return Numbered("Data\\Ut", dataSet);
}
std::string RiverFileName(int dataSet) {
    return Numbered("Data\\Folyo", dataSet);
}
std::string CityFileName(int dataSet, int campaign) {
    return "Data\\Varos" + std::to_string(dataSet) + std::to_string(campaign) + ".dat";
}
std::string CityNameFileName(int dataSet) {
    return Numbered("Data\\Varnev", dataSet);
}

TerrainFile ParseTerrainFile(const Bytes& bytes, const std::string& name, int maxX, int maxY) {
    // The ring around the map must fit the cell array too.
    if (maxX < 0 || maxY < 0 || maxX + 1 > kHexMax || maxY + 1 > kHexMax)
        throw std::invalid_argument("map size out of range");
    TerrainFile file{maxX, maxY, std::vector<int>(static_cast<std::size_t>((maxX + 1) * (maxY + 1)))};
    FieldReader io(bytes, name, kTerrainCheckModulus);
    WalkTerrainFile(io, file);
    return file;
}
Bytes TerrainFileBytes(const TerrainFile& file) {
    FieldWriter io(kTerrainCheckModulus);
    WalkTerrainFile(io, file);
    return io.Take();
}
FileMap TerrainFileMap(const Bytes& bytes, int maxX, int maxY) {
    TerrainFile file{maxX, maxY, std::vector<int>(static_cast<std::size_t>((maxX + 1) * (maxY + 1)))};
    FieldMapper io(bytes, kTerrainCheckModulus);
    WalkTerrainFile(io, file);
    return io.Take();
}

void PutTerrain(State& st, const TerrainFile& file) {
    const int maxX = file.maxX, maxY = file.maxY;
    st.MapMaxX = maxX;
    st.MapMaxY = maxY;
    for (int y = 0; y <= maxY; ++y)
        for (int x = 0; x <= maxX; ++x) st.Cell(x, y).Terrain = file.codes[static_cast<std::size_t>(y * (maxX + 1) + x)];
    for (int y = -1; y <= maxY + 1; ++y) {
        st.Cell(-1, y).Terrain = kTerrainImpassable;
        st.Cell(maxX + 1, y).Terrain = kTerrainImpassable;
    }
    for (int x = -1; x <= maxX + 1; ++x) {
        st.Cell(x, -1).Terrain = kTerrainImpassable;
        st.Cell(x, maxY + 1).Terrain = kTerrainImpassable;
    }
}

void LoadTerrain(Game& game, int dataSet, int maxX, int maxY) {
    const std::string name = TerrainFileName(dataSet);
    PutTerrain(game.state, ParseTerrainFile(ReadFileBytes(game.dir.Resolve(name), name), name, maxX, maxY));
}

RoadFile ParseRoadFile(const Bytes& bytes, const std::string& name) {
    RoadFile file;
    FieldReader io(bytes, name, kTerrainCheckModulus);
    WalkRoadFile(io, file);
    return file;
}
Bytes RoadFileBytes(const RoadFile& file) {
    FieldWriter io(kTerrainCheckModulus);
    WalkRoadFile(io, file);
    return io.Take();
}
FileMap RoadFileMap(const Bytes& bytes) {
    RoadFile file;
    FieldMapper io(bytes, kTerrainCheckModulus);
    WalkRoadFile(io, file);
    return io.Take();
}

void PutRoads(State& st, const RoadFile& file, const std::string& name) {
    std::vector<SideMark> marks;
    int value = 0;
    bool broken = true;
    Hex previous = kNoHex;
    for (const RoadItem& item : file.items) {
        if (item.code >= kRoadEnd) break;
        if (item.code > kRoadChainBreak) {
            broken = true;
            if (item.code == kRoadClassOne) value = 1;
            if (item.code == kRoadClassTwo) value = 2;
            continue;
        }
        const Hex point{item.code, item.row};
        if (value == 0) throw DataError(name, "the road point " + HexText(point) + " comes before any road class");
        if (!OnMap(st, point)) throw DataError(name, "road point " + HexText(point) + " lies off the map");
        if (!broken) {
            CheckedSide(st, name, previous, point, "a road");
            marks.push_back({previous, point, value});
        }
        previous = point;
        broken = false;
    }
    CommitSides(st, marks, true);
}

void LoadRoads(Game& game, int dataSet) {
    const std::string name = RoadFileName(dataSet);
    PutRoads(game.state, ParseRoadFile(ReadFileBytes(game.dir.Resolve(name), name), name), name);
}

RiverFile ParseRiverFile(const Bytes& bytes, const std::string& name, const State& map) {
    RiverFile file;
    FieldReader io(bytes, name, kTerrainCheckModulus);
    WalkRiverFile(io, file, MapMaxOf(map));
    return file;
}
Bytes RiverFileBytes(const RiverFile& file) {
    FieldWriter io(kTerrainCheckModulus);
    WalkRiverFile(io, file, Hex{kAll, kAll});
    return io.Take();
}
FileMap RiverFileMap(const Bytes& bytes, const State& map) {
    RiverFile file;
    FieldMapper io(bytes, kTerrainCheckModulus);
    WalkRiverFile(io, file, MapMaxOf(map));
    return io.Take();
}

void PutRivers(State& st, const RiverFile& file, const std::string& name) {
    std::vector<SideMark> marks;
    for (const RiverSide& s : file.sides) {
        CheckedSide(st, name, {s.ax, s.ay}, {s.bx, s.by}, "a river");
        marks.push_back({{s.ax, s.ay}, {s.bx, s.by}, s.value});
    }
    CommitSides(st, marks, false);
}

void LoadRivers(Game& game, int dataSet) {
    const std::string name = RiverFileName(dataSet);
    PutRivers(game.state, ParseRiverFile(ReadFileBytes(game.dir.Resolve(name), name), name, game.state), name);
}

CityFile ParseCityFile(const Bytes& bytes, const std::string& name, const State& map) {
    CityFile file;
    FieldReader io(bytes, name, kCityCheckModulus);
    WalkCityFile(io, file, MapMaxOf(map));
    return file;
}
Bytes CityFileBytes(const CityFile& file) {
    FieldWriter io(kCityCheckModulus);
    WalkCityFile(io, file, Hex{kAll, kAll});
    return io.Take();
}
FileMap CityFileMap(const Bytes& bytes, const State& map) {
    CityFile file;
    FieldMapper io(bytes, kCityCheckModulus);
    WalkCityFile(io, file, MapMaxOf(map));
    return io.Take();
}

void PutCities(State& st, const CityFile& file, const std::vector<std::string>& names, const std::string& name,
               const std::string& namesFile) {
    if (names.size() < static_cast<std::size_t>(kCityCount))
        throw DataError(namesFile, "fewer than " + std::to_string(kCityCount) + " city names");
    std::array<bool, kHexSpan * kHexSpan> taken{};
    for (int c = 1; c <= kCityCount; ++c) {
        const TVaros& v = file.cities[static_cast<std::size_t>(c)];
        auto& mark = taken[static_cast<std::size_t>((v.Y - kHexMin) * kHexSpan + (v.X - kHexMin))];
        if (mark) throw DataError(name, "city " + std::to_string(c) + " shares its hex with another city");
        mark = true;
    }
    // A city never moves, but clear every mark so a hex names exactly the city standing on it.
    for (THex& cell : st.Hexes) cell.City = 0;
    for (int c = 1; c <= kCityCount; ++c) {
        const TVaros& v = file.cities[static_cast<std::size_t>(c)];
        TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        city.X = v.X;
        city.Y = v.Y;
        city.Kind = v.Kind;
        city.SupplyCapacity[1] = v.SupplyCapacity[1];
        city.SupplyCapacity[2] = v.SupplyCapacity[2];
        city.Owner = v.Owner;
        city.GarrisonCapacity = v.GarrisonCapacity;
        city.GarrisonGunCapacity = v.GarrisonGunCapacity;
        city.FortMax = v.FortMax;
        city.FortStrength = v.FortStrength;
        city.GarrisonCorps = v.GarrisonCorps;
        city.HomeSide = v.HomeSide;
        city.Nation = v.Nation;
        city.FlagClass = v.FlagClass;
        city.VictoryValue = v.VictoryValue;
        city.Importance[2] = v.Importance[2];
        city.Importance[1] = v.Importance[1];
        city.CaptureCounter = v.CaptureCounter;
        city.StagingLink = v.StagingLink;
        city.Name = names[static_cast<std::size_t>(c - 1)];
        st.Cell(city.X, city.Y).City = c;
    }
    for (int c : kGreatFortresses) {
        st.Cities[static_cast<std::size_t>(c)].SupplyCapacity[1] = 300;
        st.Cities[static_cast<std::size_t>(c)].SupplyCapacity[2] = 300;
    }
}

void LoadCities(Game& game, int dataSet, int campaign) {
    State& st = game.state;
    if (st.DataSet > 1) return;
    const std::string name = CityFileName(dataSet, campaign);
    const std::string namesFile = CityNameFileName(dataSet);
    const Bytes bytes = ReadFileBytes(game.dir.Resolve(name), name);
    const std::vector<std::string> names = ReadTextLines(game.dir, namesFile);
    PutCities(st, ParseCityFile(bytes, name, st), names, name, namesFile);
}

void LoadMask(Game& game) {
    const Bytes bytes = ReadFileBytes(game.dir.Resolve(kMaskFile), kMaskFile);
    const BmpBytes bmp(bytes, kMaskFile);
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') bmp.Fail("not a BMP picture");
    const std::size_t pixelsAt = bmp.U32(10);
    const std::uint32_t headerSize = bmp.U32(14);
    if (headerSize < 40) bmp.Fail("unsupported BMP header");
    const std::int32_t width = bmp.I32(18);
    const std::int32_t rawHeight = bmp.I32(22);
    const std::uint32_t bits = bmp.U16(28);
    const std::uint32_t compression = bmp.U32(30);
    if (width != kMaskWidth || (rawHeight != kMaskHeight && rawHeight != -kMaskHeight))
        bmp.Fail("the mask must be " + std::to_string(kMaskWidth) + " x " + std::to_string(kMaskHeight) +
                 " pixels");
    if (compression != 0) bmp.Fail("compressed BMP pictures are not supported");
    if (bits != 8 && bits != 24 && bits != 32)
        bmp.Fail("unsupported BMP colour depth " + std::to_string(bits));
    const bool topDown = rawHeight < 0;

    std::vector<Rgb> palette;
    if (bits == 8) {
        std::uint32_t colours = bmp.U32(46);
        if (colours == 0 || colours > 256) colours = 256;
        const std::size_t paletteAt = 14 + headerSize;
        for (std::uint32_t i = 0; i < colours; ++i)
            palette.push_back(
                {bmp.U8(paletteAt + 4 * i + 2), bmp.U8(paletteAt + 4 * i + 1), bmp.U8(paletteAt + 4 * i)});
    }

    const std::size_t stride = (static_cast<std::size_t>(width) * bits / 8 + 3) / 4 * 4;
    std::array<Byte, kMaskWidth * kMaskHeight> staged{};
    for (int row = 0; row < kMaskHeight; ++row) {
        const int y = topDown ? row : kMaskHeight - 1 - row; // y counts from the top
        const std::size_t rowAt = pixelsAt + static_cast<std::size_t>(row) * stride;
        for (int x = 0; x < kMaskWidth; ++x) {
            Rgb c{};
            if (bits == 8) {
                const std::uint8_t index = bmp.U8(rowAt + static_cast<std::size_t>(x));
                if (index >= palette.size()) bmp.Fail("a pixel names a colour beyond the palette");
                c = palette[index];
            } else {
                const std::size_t at = rowAt + static_cast<std::size_t>(x) * (bits / 8);
                c = {bmp.U8(at + 2), bmp.U8(at + 1), bmp.U8(at)};
            }
            staged[static_cast<std::size_t>(y * kMaskWidth + x)] = MaskMark(c);
        }
    }
    game.state.MaskDirection = staged;
}

} // namespace vezer
