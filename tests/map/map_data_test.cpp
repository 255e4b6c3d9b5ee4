// Our map of Hungary in 1848 as the build compiled it into build/game/Data: the hexes the rules
// fix, the fortresses, the Danube, the railways of 1848, the click mask, and the data compiler
// refusing a broken source with the line it comes from.

#include "core/binary_io.h"
#include "core/text.h"
#include "core/textfile.h"
#include "core/geometry.h"
#include "files/map_files.h"
#include "support/mkdata_runner.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

namespace vezer {
namespace {

using testing::CompiledGameDir;

constexpr int kCols = 63, kRows = 36;

struct Hex {
    int x = 0, y = 0;
    auto operator<=>(const Hex&) const = default;
};

Hex Step(Hex h, int d) {
    vezer::Hex n = Neighbour(vezer::Hex{h.x, h.y}, d);
    return {n.x, n.y};
}

bool OnMap(Hex h) {
    return h.x >= 0 && h.x < kCols && h.y >= 0 && h.y < kRows;
}

Bytes ReadData(const std::string& name) {
    return ReadFileBytes(CompiledGameDir() / "Data" / name, "Data\\" + name);
}

// The compiled map files, read the way the game's loaders read them.
struct CompiledMap {
    std::array<std::array<int, kCols>, kRows> terrain{};
    std::map<std::pair<Hex, Hex>, int> river; // both directions
    std::map<std::pair<Hex, Hex>, int> road;  // both directions
    int TerrainAt(Hex h) const { return OnMap(h) ? terrain[h.y][h.x] : 4; }
};

CompiledMap ReadCompiledMap() {
    CompiledMap map;
    Bytes terrain = ReadData("Terep1.dat");
    EXPECT_EQ(terrain.size(), 2269u);
    int sum = 0;
    for (int i = 0; i < kCols * kRows; ++i) {
        map.terrain[i / kCols][i % kCols] = terrain.at(i);
        sum += terrain[i];
    }
    EXPECT_EQ(sum % 200, terrain.back()) << "terrain check byte";

    Bytes rivers = ReadData("Folyo1.dat");
    EXPECT_EQ(rivers.size() % 5, 1u);
    sum = 0;
    for (std::size_t i = 0; i + 5 <= rivers.size(); i += 5) {
        Hex a{rivers[i], rivers[i + 1]}, b{rivers[i + 2], rivers[i + 3]};
        map.river[{a, b}] = map.river[{b, a}] = rivers[i + 4];
        for (int k = 0; k < 5; ++k) sum = (sum + rivers[i + k]) % 200;
    }
    EXPECT_EQ(sum, rivers.back()) << "river check byte";

    Bytes roads = ReadData("Ut1.dat");
    int value = 0;
    bool joined = false;
    Hex last;
    std::size_t i = 0;
    sum = 0;
    for (; roads.at(i) < 250; ++i) {
        int c = roads[i];
        sum += c;
        if (c > 100) {
            joined = false;
            value = c == 111 ? 1 : c == 222 ? 2 : 0;
            EXPECT_NE(value, 0) << "road byte " << c;
            continue;
        }
        Hex h{c, roads.at(++i)};
        sum += roads[i];
        if (joined) map.road[{last, h}] = map.road[{h, last}] = value;
        last = h;
        joined = true;
    }
    sum += roads[i] + roads.at(i + 1);
    EXPECT_EQ(i + 3, roads.size());
    EXPECT_EQ(sum % 200, roads.at(i + 2)) << "road check byte";
    return map;
}

struct City {
    std::array<int, 19> v{};
    Hex hex() const { return {v[0], v[1]}; }
    int kind() const { return v[2]; }
    int supply1() const { return v[3]; }
    int supply2() const { return v[4]; }
    int owner() const { return v[5]; }
    int garrison() const { return v[6]; }
    int guns() const { return v[7]; }
    int fortMax() const { return v[8]; }
    int fortStrength() const { return v[9]; }
    int flagClass() const { return v[13]; }
    int victoryValue() const { return v[14]; }
};

std::array<City, 76> ReadCities(int campaign) {
    std::string name = "Varos1" + std::to_string(campaign) + ".dat";
    Bytes bytes = ReadData(name);
    BinaryReader in(bytes, name);
    std::array<City, 76> cities{};
    int sum = 0;
    for (int c = 1; c <= 75; ++c) {
        for (int& v : cities[c].v) {
            v = in.ReadInt();
            sum += v;
        }
        sum %= 2000;
    }
    EXPECT_EQ(in.ReadInt(), sum) << name << " check value";
    EXPECT_TRUE(in.AtEnd()) << name;
    return cities;
}

std::vector<std::string> CityNames() {
    return ReadTextLines(CompiledGameDir() / "Data" / "Varnev1.dat", "Data\\Varnev1.dat");
}

int CityNumber(const std::string& name) {
    std::vector<std::string> names = CityNames();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<int>(i) + 1;
    ADD_FAILURE() << "no city " << name;
    return 0;
}

TEST(MapData, TheRulesFixedHexesHoldTheirCitiesInEveryCampaign) {
    struct Fixed {
        int city;
        Hex hex;
        const char* name;
    };
    const Fixed fixed[] = {
        {3, {6, 9}, "Bécs"},          {47, {32, 24}, "Arad"},    {31, {19, 13}, "Buda"},
        {60, {40, 25}, "Déva"},       {36, {17, 27}, "Eszék"},   {61, {43, 23}, "Gyulafehérvár"},
        {28, {14, 12}, "Komárom"},    {14, {13, 7}, "Lipótvár"}, {24, {39, 7}, "Munkács"},
        {42, {24, 30}, "Pétervárad"}, {46, {31, 26}, "Temesvár"}};
    std::vector<std::string> names = CityNames();
    ASSERT_EQ(names.size(), 75u);
    EXPECT_EQ(names[0], "Kolozsvár");
    EXPECT_EQ(names[1], "Olmütz");
    EXPECT_EQ(names[8], "Zágráb");
    EXPECT_EQ(names[61], "Nagyszeben");
    std::array<City, 76> first = ReadCities(0);
    for (int campaign = 0; campaign <= 6; ++campaign) {
        SCOPED_TRACE("campaign " + std::to_string(campaign));
        std::array<City, 76> cities = ReadCities(campaign);
        for (const Fixed& f : fixed) {
            EXPECT_EQ(names[f.city - 1], f.name);
            EXPECT_EQ(cities[f.city].hex(), f.hex) << f.name;
            if (f.city != 3) {
                EXPECT_EQ(cities[f.city].kind(), 3) << f.name << " shows its walls: a fortress";
            }
        }
        // Vienna rises in October 1848: a city the revolution can hold without a garrison.
        EXPECT_LE(cities[3].kind(), 2);
        EXPECT_EQ(cities[3].garrison(), 0);
        EXPECT_LE(cities[2].kind(), 2) << "Olmütz is taken by marching in";
        for (int great : {28, 42, 46}) {
            EXPECT_EQ(cities[great].supply1(), 300);
            EXPECT_EQ(cities[great].supply2(), 300);
        }
        std::set<Hex> hexes;
        for (int c = 1; c <= 75; ++c) {
            EXPECT_EQ(cities[c].hex(), first[c].hex()) << "a city never moves: " << names[c - 1];
            EXPECT_EQ(cities[c].kind(), first[c].kind()) << names[c - 1];
            EXPECT_TRUE(hexes.insert(cities[c].hex()).second) << names[c - 1] << " shares its hex";
            EXPECT_TRUE(cities[c].hex().x >= 1 && cities[c].hex().x <= 61 && cities[c].hex().y >= 1 &&
                        cities[c].hex().y <= 34)
                << names[c - 1];
        }
    }
    EXPECT_GT(ReadCities(1)[3].victoryValue(), 0) << "Vienna is worth points when it rises";
}

TEST(MapData, FortressesHaveRoomForAGarrisonAndTownsHaveNone) {
    for (int campaign = 0; campaign <= 6; ++campaign) {
        std::array<City, 76> cities = ReadCities(campaign);
        int fortresses = 0;
        for (int c = 1; c <= 75; ++c) {
            const City& city = cities[c];
            SCOPED_TRACE("campaign " + std::to_string(campaign) + " city " + std::to_string(c));
            if (city.kind() == 3) {
                ++fortresses;
                EXPECT_GE(city.garrison(), 500);
                EXPECT_GE(city.guns(), 8);
                EXPECT_EQ(city.guns() % 8, 0) << "guns come in batteries of 8";
                EXPECT_GE(city.fortStrength(), 1);
                EXPECT_LE(city.fortStrength(), city.fortMax());
                EXPECT_LE(city.fortMax(), 10);
            } else {
                EXPECT_EQ(city.garrison(), 0);
                EXPECT_EQ(city.guns(), 0);
                EXPECT_EQ(city.fortMax(), 0);
                EXPECT_EQ(city.fortStrength(), 0);
            }
            static constexpr int kNationFlag[12] = {0, 1, 2, 3, 2, 2, 2, 1, 2, 1, 0, 4};
            ASSERT_TRUE(city.flagClass() >= 1 && city.flagClass() <= 11);
            EXPECT_EQ(kNationFlag[city.flagClass()], city.owner()) << "a city flies its owner's flag";
        }
        EXPECT_EQ(fortresses, 10);
    }
    // The great fortress of Komárom holds the largest garrison; Buda's walls fell in May 1849.
    std::array<City, 76> summer = ReadCities(4);
    for (int c = 1; c <= 75; ++c)
        if (c != 28) {
            EXPECT_LT(summer[c].garrison(), summer[28].garrison());
        }
    EXPECT_LT(summer[31].fortStrength(), summer[31].fortMax());
}

TEST(MapData, TheDanubeAloneIsALargeRiverFromViennaToTheIronGate) {
    CompiledMap map = ReadCompiledMap();
    std::array<City, 76> cities = ReadCities(1);
    auto between = [&](const char* a, const char* b) {
        return map.river[{cities[CityNumber(a)].hex(), cities[CityNumber(b)].hex()}];
    };
    EXPECT_EQ(between("Buda", "Pest"), 2);
    EXPECT_EQ(between("Győr", "Komárom"), 2);
    EXPECT_EQ(between("Újvidék", "Pétervárad"), 2);
    // Cities on the Tisza and its tributaries have value-1 rivers and no value-2 sides.
    for (const char* name : {"Szolnok", "Szeged", "Tokaj", "Arad", "Déva", "Eszék", "Zágráb", "Titel"}) {
        Hex h = cities[CityNumber(name)].hex();
        bool river = false;
        for (int d = 0; d < 6; ++d) {
            int v = map.river.count({h, Step(h, d)}) ? map.river.at({h, Step(h, d)}) : 0;
            river = river || v == 1;
            if (std::string(name) != "Titel") {
                EXPECT_NE(v, 2) << name;
            }
        }
        EXPECT_TRUE(river) << name << " stands on its river";
    }
    // The value-2 sides are one chain: every side meets another at a corner, and together they
    // run from beside Vienna to the Iron Gate in the south-east.
    std::vector<std::pair<Hex, Hex>> danube;
    for (const auto& [side, v] : map.river)
        if (v == 2 && side.first < side.second) danube.push_back(side);
    ASSERT_GT(danube.size(), 80u);
    auto meet = [](const std::pair<Hex, Hex>& s, const std::pair<Hex, Hex>& t) {
        std::set<Hex> all{s.first, s.second, t.first, t.second};
        return all.size() == 3;
    };
    std::set<std::size_t> reached{0};
    std::deque<std::size_t> queue{0};
    while (!queue.empty()) {
        std::size_t s = queue.front();
        queue.pop_front();
        for (std::size_t t = 0; t < danube.size(); ++t)
            if (!reached.count(t) && meet(danube[s], danube[t])) {
                reached.insert(t);
                queue.push_back(t);
            }
    }
    EXPECT_EQ(reached.size(), danube.size()) << "the Danube is one river";
    int west = kCols, east = 0;
    for (const auto& s : danube) {
        west = std::min(west, s.first.x);
        east = std::max(east, s.second.x);
    }
    EXPECT_LE(west, 6);
    EXPECT_GE(east, 37);
}

TEST(MapData, RailwaysRunOnlyOnTheLinesOf1848) {
    CompiledMap map = ReadCompiledMap();
    std::array<City, 76> cities = ReadCities(1);
    std::map<Hex, std::set<Hex>> rail;
    for (const auto& [side, v] : map.road)
        if (v == 2) rail[side.first].insert(side.second);
    // Group the railway hexes into separate networks and name the cities on each.
    std::vector<std::string> names = CityNames();
    std::map<Hex, std::string> cityAt;
    for (int c = 1; c <= 75; ++c) cityAt[cities[c].hex()] = names[c - 1];
    std::set<Hex> seen;
    std::set<std::set<std::string>> networks;
    for (const auto& [start, _] : rail) {
        if (seen.count(start)) continue;
        std::set<std::string> onLine;
        std::deque<Hex> queue{start};
        seen.insert(start);
        while (!queue.empty()) {
            Hex h = queue.front();
            queue.pop_front();
            if (cityAt.count(h)) onLine.insert(cityAt[h]);
            for (Hex n : rail[h])
                if (seen.insert(n).second) queue.push_back(n);
        }
        networks.insert(onLine);
    }
    std::set<std::set<std::string>> expected = {
        {"Bécs", "Bécsújhely", "Brünn", "Olmütz"},
        {"Pest", "Vác", "Szolnok"},
        {"Pozsony", "Nagyszombat"},
    };
    EXPECT_EQ(networks, expected);
    EXPECT_LT(seen.size(), 45u) << "the lines of 1848 were short";
}

TEST(MapData, EveryCityStandsOnARoadAndAllAreJoinedOverLand) {
    CompiledMap map = ReadCompiledMap();
    std::array<City, 76> cities = ReadCities(1);
    std::vector<std::string> names = CityNames();
    for (int c = 1; c <= 75; ++c) {
        Hex h = cities[c].hex();
        EXPECT_LE(map.TerrainAt(h), 3) << names[c - 1] << " on impassable ground";
        bool road = false;
        for (int d = 0; d < 6; ++d) road = road || map.road.count({h, Step(h, d)});
        EXPECT_TRUE(road) << names[c - 1] << " has no road";
    }
    for (const auto& [side, v] : map.road) {
        EXPECT_LE(map.TerrainAt(side.first), 3) << "road through impassable ground";
        EXPECT_TRUE(v == 1 || v == 2);
    }
    std::set<Hex> reached{cities[1].hex()};
    std::deque<Hex> queue{cities[1].hex()};
    while (!queue.empty()) {
        Hex h = queue.front();
        queue.pop_front();
        for (int d = 0; d < 6; ++d) {
            Hex n = Step(h, d);
            auto river = map.river.find({h, n});
            if (map.TerrainAt(n) <= 3 && (river == map.river.end() || river->second != 3) &&
                reached.insert(n).second)
                queue.push_back(n);
        }
    }
    for (int c = 1; c <= 75; ++c)
        EXPECT_TRUE(reached.count(cities[c].hex())) << names[c - 1] << " is cut off";
    // The edge of the map is a closed ring.
    for (int x = 0; x < kCols; ++x) EXPECT_EQ(map.terrain[0][x] * map.terrain[kRows - 1][x], 16);
    for (int y = 0; y < kRows; ++y) EXPECT_EQ(map.terrain[y][0] * map.terrain[y][kCols - 1], 16);
}

TEST(MapData, ReinforcementsAndCampaignStartsFindPassableGround) {
    // The arrival hexes of the reinforcement schedule, each with the hex west of it (where a
    // reinforcement arrives when the enemy holds its hex), and the Tisza army's start hexes.
    CompiledMap map = ReadCompiledMap();
    const Hex arrivals[] = {{5, 8},   {32, 1},  {10, 6}, {2, 17}, {16, 28}, {47, 27}, {40, 25}, {33, 13},
                            {46, 26}, {27, 16}, {41, 5}, {9, 8},  {7, 9},   {12, 9},  {31, 25}, {33, 1},
                            {31, 1},  {35, 2},  {30, 1}, {23, 2}, {53, 27}, {51, 15}, {29, 13}, {27, 17}};
    for (Hex h : arrivals) {
        EXPECT_LE(map.TerrainAt(h), 3) << h.x << "," << h.y;
        EXPECT_LE(map.TerrainAt({h.x - 1, h.y}), 3) << "west of " << h.x << "," << h.y;
    }
}

// The colour of pixel (x, y) of a 24-bit bottom-up BMP, as (r, g, b).
std::array<int, 3> BmpPixel(const Bytes& bmp, int x, int y) {
    auto le32 = [&](std::size_t at) {
        return bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 | bmp[at + 3] << 24;
    };
    int width = le32(18), height = le32(22), offset = le32(10);
    int stride = (width * 3 + 3) / 4 * 4;
    std::size_t at = offset + static_cast<std::size_t>(height - 1 - y) * stride + x * 3;
    return {bmp.at(at + 2), bmp.at(at + 1), bmp.at(at)};
}

TEST(MapData, TheMaskIsA126By72BitmapInTheFourColours) {
    Bytes bmp = ReadData("Maszk.bmp");
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(bmp[18] | bmp[19] << 8, 126);
    EXPECT_EQ(bmp[22] | bmp[23] << 8, 72);
    EXPECT_EQ(bmp[28], 24);
    EXPECT_EQ(bmp.size(), 54u + 380u * 72u);
    using Rgb = std::array<int, 3>;
    EXPECT_EQ(BmpPixel(bmp, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(BmpPixel(bmp, 0, 71), (Rgb{0, 0, 255}));
    EXPECT_EQ(BmpPixel(bmp, 125, 0), (Rgb{255, 255, 0}));
    EXPECT_EQ(BmpPixel(bmp, 125, 71), (Rgb{255, 0, 255}));
}

TEST(MapData, TheGameLoadsOurFilesAsTheyWereWritten) {
    CompiledMap map = ReadCompiledMap();
    testing::TestGame t;
    State& st = t.st();
    st.DataSet = 1;
    LoadTerrain(t.g(), 1, kCols - 1, kRows - 1);
    LoadRoads(t.g(), 1);
    LoadRivers(t.g(), 1);
    LoadMask(t.g());
    for (int x = 0; x < kCols; ++x)
        for (int y = 0; y < kRows; ++y) {
            const THex& cell = st.Cell(x, y);
            ASSERT_EQ(cell.Terrain, map.terrain[y][x]) << x << "," << y;
            for (int d = 0; d < 6; ++d) {
                Hex n = Step({x, y}, d);
                auto river = map.river.find({{x, y}, n});
                auto road = map.road.find({{x, y}, n});
                EXPECT_EQ(cell.River[d], river == map.river.end() ? 0 : river->second)
                    << x << "," << y << " side " << d;
                EXPECT_EQ(cell.Road[d], road == map.road.end() ? 0 : road->second)
                    << x << "," << y << " side " << d;
            }
            Pixel centre = HexToPixel({x, y});
            EXPECT_EQ(PixelToHex(st, centre.X, centre.Y), (vezer::Hex{x, y}));
            EXPECT_EQ(PixelToHex(st, centre.X - 38, centre.Y), (vezer::Hex{x, y}));
            EXPECT_EQ(PixelToHex(st, centre.X + 20, centre.Y + 34), (vezer::Hex{x, y}));
        }
    std::vector<std::string> names = CityNames();
    for (int campaign = 0; campaign <= 6; ++campaign) {
        LoadCities(t.g(), 1, campaign);
        std::array<City, 76> cities = ReadCities(campaign);
        for (int c = 1; c <= 75; ++c) {
            const TVaros& city = st.Cities[c];
            EXPECT_EQ(city.Name.str(), names[c - 1]);
            EXPECT_EQ((Hex{city.X, city.Y}), cities[c].hex());
            EXPECT_EQ(st.Cell(city.X, city.Y).City, c) << names[c - 1];
            EXPECT_EQ(city.Owner, cities[c].owner());
            EXPECT_EQ(city.VictoryValue, cities[c].victoryValue());
        }
    }
}

// ---- the data compiler refuses a broken source ---------------------------------------------

std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Copies the map sources, lets the test break one, runs `mkdata map` and returns what it said.
testing::MkdataRun CompileBroken(const testing::TempDir& dir, const std::string& file,
                                 const std::function<std::string(std::string)>& breakIt) {
    std::filesystem::path source = std::filesystem::path(VEZER_TEST_SOURCE_DIR) / "assets" / "map";
    std::filesystem::path assets = dir.path() / "assets";
    std::filesystem::create_directories(assets / "map");
    for (const auto& entry : std::filesystem::directory_iterator(source))
        std::filesystem::copy_file(entry.path(), assets / "map" / entry.path().filename());
    testing::WriteSource(assets / "map" / file, breakIt(ReadAll(source / file)));
    return testing::RunMkdata("map", assets, dir.path() / "out");
}

int LineOf(const std::string& text, const std::string& what) {
    auto at = text.find(what);
    EXPECT_NE(at, std::string::npos) << what;
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(MapCompiler, RefusesABrokenSourceNamingItsLineAndWritesNothing) {
    std::filesystem::path source = std::filesystem::path(VEZER_TEST_SOURCE_DIR) / "assets" / "map";
    std::string rivers = ReadAll(source / "rivers.txt");
    std::string terrain = ReadAll(source / "terrain.txt");
    std::string roads = ReadAll(source / "roads.txt");
    std::string cities = ReadAll(source / "cities.tsv");
    // The first side of the Tisza, and the Pest–Vác railway.
    std::string tiszaSide = rivers.substr(rivers.find("river Tisza"));
    tiszaSide = tiszaSide.substr(tiszaSide.find('\n') + 3);
    tiszaSide = tiszaSide.substr(0, tiszaSide.find(' '));
    std::string pestVac = "rail Pest–Vác\n";
    std::string viennaGridRow = terrain.substr(terrain.find("\n  9 |") + 1);
    viennaGridRow = viennaGridRow.substr(0, viennaGridRow.find('\n'));
    std::string brokenRow = viennaGridRow;
    brokenRow[5 + 6] = '#'; // "  9 |" then column 6

    struct Case {
        const char* what;
        std::string file;
        std::function<std::string(std::string)> breakIt;
        std::string reported; // the file the refusal names
        int line;
        std::string message;
    };
    const Case cases[] = {
        {"a river step between hexes that are not adjacent", "rivers.txt",
         [&](std::string t) { return Replace(t, tiszaSide + " ", tiszaSide + " 10,10/12,10 "); },
         "rivers.txt", LineOf(rivers, tiszaSide), "not adjacent"},
        {"a river side that does not meet the one before it", "rivers.txt",
         [&](std::string t) { return Replace(t, tiszaSide + " ", tiszaSide + " 10,10/10,11 "); },
         "rivers.txt", LineOf(rivers, tiszaSide), "does not meet"},
        {"value 2 on another river than the Danube", "rivers.txt",
         [&](std::string t) { return Replace(t, "river Tisza 1", "river Tisza 2"); }, "rivers.txt",
         LineOf(rivers, "river Tisza 1") + 1, "Danube alone"},
        {"Vienna on impassable ground", "terrain.txt",
         [&](std::string t) { return Replace(t, viennaGridRow, brokenRow); }, "cities.tsv",
         LineOf(cities, "\n3\tBécs") + 1, "impassable"},
        {"a railway that did not run in 1848", "roads.txt",
         [&](std::string t) { return Replace(t, pestVac, "rail Pest–Buda\n"); }, "roads.txt",
         LineOf(roads, pestVac), "ran in 1848"},
        {"a road step that jumps a hex", "roads.txt",
         [&](std::string t) { return Replace(t, pestVac + "  20,14 ", pestVac + "  20,14 20,16 "); },
         "roads.txt", LineOf(roads, pestVac) + 1, "not adjacent"},
        {"a fortress the rules fix moved off its hex", "cities.tsv",
         [&](std::string t) { return Replace(t, "\t14\t12\t*\t3", "\t15\t12\t*\t3"); }, "cities.tsv",
         LineOf(cities, "\n28\tKomárom") + 1, "the rules put city 28"},
        {"two cities on one hex", "cities.tsv",
         [&](std::string t) { return Replace(t, "\t13\t12\t-\t2", "\t14\t12\t-\t2"); }, "cities.tsv",
         LineOf(cities, "\n29\tGyőr") + 1, "already Komárom's"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing::TempDir dir;
        testing::MkdataRun run = CompileBroken(dir, c.file, c.breakIt);
        EXPECT_NE(run.exitCode, 0) << run.output;
        EXPECT_NE(run.output.find(c.reported + ":" + std::to_string(c.line) + ":"), std::string::npos)
            << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "out" / "Data" / "Terep1.dat"));
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "out" / "Data" / "Varos10.dat"));
    }
}

TEST(MapCompiler, AcceptsOurSourcesAsTheyStand) {
    testing::TempDir dir;
    testing::MkdataRun run = CompileBroken(dir, "campaigns.txt", [](std::string t) { return t; });
    ASSERT_EQ(run.exitCode, 0) << run.output;
    for (const char* name :
         {"Terep1.dat", "Ut1.dat", "Folyo1.dat", "Varnev1.dat", "Maszk.bmp", "Varos16.dat"})
        EXPECT_EQ(ReadAll(dir.path() / "out" / "Data" / name), ReadAll(CompiledGameDir() / "Data" / name))
            << name;
}

} // namespace
} // namespace vezer
