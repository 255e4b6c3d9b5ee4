#include "files/map_files.h"

#include "core/binary_io.h"
#include "core/errors.h"
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
int CheckedSide(const State& st, const BinaryReader& in, Hex a, Hex b, const char* what) {
    if (!OnMap(st, a)) in.Fail(std::string(what) + " point " + HexText(a) + " lies off the map");
    if (!OnMap(st, b)) in.Fail(std::string(what) + " point " + HexText(b) + " lies off the map");
    const int d = DirectionTo(a, b);
    if (d == kNoDirection)
        in.Fail(std::string(what) + " joins " + HexText(a) + " and " + HexText(b) +
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

void LoadTerrain(Game& game, int dataSet, int maxX, int maxY) {
    // The ring around the map must fit the cell array too.
    if (maxX < 0 || maxY < 0 || maxX + 1 > kHexMax || maxY + 1 > kHexMax)
        throw std::invalid_argument("map size out of range");
    const std::string name = TerrainFileName(dataSet);
    const Bytes bytes = ReadFileBytes(game.dir.Resolve(name), name);
    BinaryReader in(bytes, name);
    std::vector<Byte> terrain(static_cast<std::size_t>((maxX + 1) * (maxY + 1)));
    int sum = 0;
    for (int y = 0; y <= maxY; ++y) {
        for (int x = 0; x <= maxX; ++x) {
            const Byte t = in.ReadByte();
            if (t > kTerrainImpassable)
                in.Fail("terrain code " + std::to_string(t) + " at " + HexText({x, y}));
            terrain[static_cast<std::size_t>(y * (maxX + 1) + x)] = t;
            sum += t;
        }
    }
    const Byte check = in.ReadByte();
    if (!in.AtEnd()) in.Fail("the file is longer than the map");
    VerifyChecksum(sum % kTerrainCheckModulus, check, name);

    State& st = game.state;
    st.MapMaxX = maxX;
    st.MapMaxY = maxY;
    for (int y = 0; y <= maxY; ++y)
        for (int x = 0; x <= maxX; ++x)
            st.Cell(x, y).Terrain = terrain[static_cast<std::size_t>(y * (maxX + 1) + x)];
    for (int y = -1; y <= maxY + 1; ++y) {
        st.Cell(-1, y).Terrain = kTerrainImpassable;
        st.Cell(maxX + 1, y).Terrain = kTerrainImpassable;
    }
    for (int x = -1; x <= maxX + 1; ++x) {
        st.Cell(x, -1).Terrain = kTerrainImpassable;
        st.Cell(x, maxY + 1).Terrain = kTerrainImpassable;
    }
}

void LoadRoads(Game& game, int dataSet) {
    const std::string name = RoadFileName(dataSet);
    const Bytes bytes = ReadFileBytes(game.dir.Resolve(name), name);
    BinaryReader in(bytes, name);
    const State& st = game.state;
    std::vector<SideMark> marks;

    int c = in.ReadByte();
    int s = c;
    int value = 0;
    bool broken = true;
    Hex previous = kNoHex;
    while (c < kRoadEnd) {
        if (c > kRoadChainBreak) {
            broken = true;
            if (c == kRoadClassOne) value = 1;
            if (c == kRoadClassTwo) value = 2;
        } else {
            const int row = in.ReadByte();
            s += row;
            const Hex point{c, row};
            if (value == 0) in.Fail("the road point " + HexText(point) + " comes before any road class");
            if (!OnMap(st, point)) in.Fail("road point " + HexText(point) + " lies off the map");
            if (!broken) {
                CheckedSide(st, in, previous, point, "a road");
                marks.push_back({previous, point, value});
            }
            previous = point;
            broken = false;
        }
        c = in.ReadByte();
        s = (s + c) % kTerrainCheckModulus;
    }
    s = (s + in.ReadByte()) % kTerrainCheckModulus;
    const int check = in.ReadByte();
    if (!in.AtEnd()) in.Fail("data after the check byte");
    VerifyChecksum(s % kTerrainCheckModulus, check, name);

    CommitSides(game.state, marks, true);
}

void LoadRivers(Game& game, int dataSet) {
    const std::string name = RiverFileName(dataSet);
    const Bytes bytes = ReadFileBytes(game.dir.Resolve(name), name);
    BinaryReader in(bytes, name);
    const State& st = game.state;
    const std::size_t records = bytes.size() / 5;
    if (bytes.size() != records * 5 + 1) in.Fail("the file is not whole records and a check byte");
    std::vector<SideMark> marks;
    int s = 0;
    for (std::size_t i = 0; i < records; ++i) {
        const int ax = in.ReadByte(), ay = in.ReadByte(), bx = in.ReadByte(), by = in.ReadByte();
        const int value = in.ReadByte();
        s = (s + ax + ay + bx + by + value) % kTerrainCheckModulus;
        CheckedSide(st, in, {ax, ay}, {bx, by}, "a river");
        if (value > 3)
            in.Fail("river value " + std::to_string(value) + " between " + HexText({ax, ay}) + " and " +
                    HexText({bx, by}));
        marks.push_back({{ax, ay}, {bx, by}, value});
    }
    const int check = in.ReadByte();
    VerifyChecksum(s, check, name);

    CommitSides(game.state, marks, false);
}

namespace {

// The fields of a city in the order of the city file.
enum CityField {
    kX,
    kY,
    kKind,
    kSupply1,
    kSupply2,
    kOwner,
    kGarrisonCapacity,
    kGarrisonGunCapacity,
    kFortMax,
    kFortStrength,
    kGarrisonCorps,
    kHomeSide,
    kNation,
    kFlagClass,
    kVictoryValue,
    kImportance2,
    kImportance1,
    kCaptureCounter,
    kStagingLink,
    kCityFieldCount
};

struct CityRecord {
    std::array<int, kCityFieldCount> v{};
};

// The checks that keep a city from pointing outside the tables the rules index with it.
void CheckCity(const State& st, const BinaryReader& in, int c, const CityRecord& r) {
    auto fail = [&](const std::string& what) { in.Fail("city " + std::to_string(c) + ": " + what); };
    const Hex at{r.v[kX], r.v[kY]};
    if (!OnMap(st, at)) fail("hex " + HexText(at) + " lies off the map");
    auto inRange = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
    if (!inRange(r.v[kKind], 0, 3)) fail("kind " + std::to_string(r.v[kKind]));
    if (r.v[kOwner] < 0) fail("owner " + std::to_string(r.v[kOwner]));
    if (!inRange(r.v[kGarrisonCorps], 0, kMaxCorps))
        fail("garrison corps " + std::to_string(r.v[kGarrisonCorps]));
    if (!inRange(r.v[kHomeSide], 0, 2)) fail("home side " + std::to_string(r.v[kHomeSide]));
    if (!inRange(r.v[kNation], 0, kNationCount)) fail("nation " + std::to_string(r.v[kNation]));
    if (!inRange(r.v[kFlagClass], 0, kNationCount)) fail("flag class " + std::to_string(r.v[kFlagClass]));
    if (r.v[kCaptureCounter] < 0) fail("capture counter " + std::to_string(r.v[kCaptureCounter]));
    const int link = r.v[kStagingLink];
    if (link != 0 && !(inRange(link / 100, 1, 2) && inRange(link % 100, 1, kCityCount)))
        fail("staging link " + std::to_string(link));
}

} // namespace

void LoadCities(Game& game, int dataSet, int campaign) {
    State& st = game.state;
    if (st.DataSet > 1) return;
    const std::string name = CityFileName(dataSet, campaign);
    const std::string namesFile = CityNameFileName(dataSet);
    const Bytes bytes = ReadFileBytes(game.dir.Resolve(name), name);
    const std::vector<std::string> names = ReadTextLines(game.dir, namesFile);
    if (names.size() < static_cast<std::size_t>(kCityCount))
        throw DataError(namesFile, "fewer than " + std::to_string(kCityCount) + " city names");

    BinaryReader in(bytes, name);
    std::array<CityRecord, kCityCount + 1> staged{};
    std::array<bool, kHexSpan * kHexSpan> taken{};
    int s = 0;
    for (int c = 1; c <= kCityCount; ++c) {
        CityRecord& r = staged[static_cast<std::size_t>(c)];
        int sum = 0;
        for (int& field : r.v) {
            field = in.ReadInt();
            sum = WrapAdd(sum, field);
        }
        s = WrapAdd(s, sum) % kCityCheckModulus;
        CheckCity(st, in, c, r);
        auto& mark = taken[static_cast<std::size_t>((r.v[kY] - kHexMin) * kHexSpan + (r.v[kX] - kHexMin))];
        if (mark) in.Fail("city " + std::to_string(c) + " shares its hex with another city");
        mark = true;
    }
    const int check = in.ReadInt();
    if (!in.AtEnd()) in.Fail("data after the check value");
    VerifyChecksum(s, check, name);

    // A city never moves, but clear every mark so a hex names exactly the city standing on it.
    for (THex& cell : st.Hexes) cell.City = 0;
    for (int c = 1; c <= kCityCount; ++c) {
        const auto& v = staged[static_cast<std::size_t>(c)].v;
        TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        city.X = v[kX];
        city.Y = v[kY];
        city.Kind = v[kKind];
        city.SupplyCapacity[1] = v[kSupply1];
        city.SupplyCapacity[2] = v[kSupply2];
        city.Owner = v[kOwner];
        city.GarrisonCapacity = v[kGarrisonCapacity];
        city.GarrisonGunCapacity = v[kGarrisonGunCapacity];
        city.FortMax = v[kFortMax];
        city.FortStrength = v[kFortStrength];
        city.GarrisonCorps = v[kGarrisonCorps];
        city.HomeSide = v[kHomeSide];
        city.Nation = v[kNation];
        city.FlagClass = v[kFlagClass];
        city.VictoryValue = v[kVictoryValue];
        city.Importance[2] = v[kImportance2];
        city.Importance[1] = v[kImportance1];
        city.CaptureCounter = v[kCaptureCounter];
        city.StagingLink = v[kStagingLink];
        city.Name = names[static_cast<std::size_t>(c - 1)];
        st.Cell(city.X, city.Y).City = c;
    }
    for (int c : kGreatFortresses) {
        st.Cities[static_cast<std::size_t>(c)].SupplyCapacity[1] = 300;
        st.Cities[static_cast<std::size_t>(c)].SupplyCapacity[2] = 300;
    }
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
