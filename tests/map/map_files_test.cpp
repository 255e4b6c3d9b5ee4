#include "core/binary_io.h"
#include "core/errors.h"
#include "core/fingerprint.h"
#include "core/textfile.h"
#include "core/geometry.h"
#include "files/map_files.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

namespace vezer {
namespace {

using testing::TempDir;
using testing::TestGame;

// A game directory with a small map: 6 columns, 5 rows.
struct MapDir {
    TempDir dir;
    TestGame t{GameDir(dir.path())};
    MapDir() {
        std::filesystem::create_directories(dir.path() / "Data");
        t.st().MapMaxX = 5;
        t.st().MapMaxY = 4;
    }
    void Write(const std::string& name, const Bytes& bytes) {
        WriteFileAtomic(dir.path() / "Data" / name, bytes);
    }
};

int SumMod(const Bytes& b, int modulus) {
    return std::accumulate(b.begin(), b.end(), 0) % modulus;
}

// Expects the loader to refuse the file with the corrupt-file error naming `file`, and to
// leave the game state exactly as it was.
void ExpectRejected(MapDir& m, const std::function<void()>& load, const std::string& file,
                    const std::string& what) {
    const std::uint64_t before = FullStateHash(m.t.st());
    try {
        load();
        ADD_FAILURE() << what << ": accepted";
    } catch (const DataError& e) {
        EXPECT_EQ(e.PlayerMessage(), "Corrupt file / Hibás file! " + file) << what;
    }
    EXPECT_EQ(FullStateHash(m.t.st()), before) << what << ": the state changed";
}

// --- Terrain ------------------------------------------------------------------------------

Bytes TerrainBytes(int maxX, int maxY, const std::function<int(int, int)>& code) {
    Bytes b;
    for (int y = 0; y <= maxY; ++y)
        for (int x = 0; x <= maxX; ++x) b.push_back(static_cast<std::uint8_t>(code(x, y)));
    b.push_back(static_cast<std::uint8_t>(SumMod(b, 200)));
    return b;
}

TEST(LoadTerrain, ReadsRowByRowAndRingsTheMap) {
    MapDir m;
    // Codes chosen so that a column/row swap or an off-by-one in the row length shows.
    m.Write("Terep1.dat", TerrainBytes(5, 4, [](int x, int y) { return (x + 2 * y) % 4; }));
    LoadTerrain(m.t.g(), 1, 5, 4);
    State& st = m.t.st();
    EXPECT_EQ(st.MapMaxX, 5);
    EXPECT_EQ(st.MapMaxY, 4);
    for (int y = 0; y <= 4; ++y)
        for (int x = 0; x <= 5; ++x) EXPECT_EQ(st.Cell(x, y).Terrain, (x + 2 * y) % 4) << x << "," << y;
    for (int i = -1; i <= 6; ++i) {
        EXPECT_EQ(st.Cell(i, -1).Terrain, 4);
        EXPECT_EQ(st.Cell(i, 5).Terrain, 4);
    }
    for (int j = -1; j <= 5; ++j) {
        EXPECT_EQ(st.Cell(-1, j).Terrain, 4);
        EXPECT_EQ(st.Cell(6, j).Terrain, 4);
    }
    EXPECT_EQ(st.Cell(7, 2).Terrain, 0);   // beyond the ring, inside the array
    EXPECT_EQ(st.Cell(100, 2).Terrain, 4); // outside the array
    EXPECT_EQ(st.Cell(-2, -2).Terrain, 4);
}

TEST(LoadTerrain, RejectsBrokenFiles) {
    const Bytes good = TerrainBytes(5, 4, [](int x, int y) { return (x * y) % 5; });
    struct Case {
        const char* what;
        std::function<void(Bytes&)> spoil;
    };
    const Case cases[] = {
        {"wrong check byte", [](Bytes& b) { b.back() = static_cast<std::uint8_t>((b.back() + 1) % 200); }},
        {"missing check byte", [](Bytes& b) { b.pop_back(); }},
        {"short by a row", [](Bytes& b) { b.erase(b.begin(), b.begin() + 6); }},
        {"an extra byte", [](Bytes& b) { b.push_back(0); }},
        {"terrain code 5",
         [](Bytes& b) {
             b[3] = 5;
             b.back() = static_cast<std::uint8_t>(SumMod(Bytes(b.begin(), b.end() - 1), 200));
         }},
        {"empty", [](Bytes& b) { b.clear(); }},
    };
    for (const Case& c : cases) {
        MapDir m;
        Bytes b = good;
        c.spoil(b);
        m.Write("Terep1.dat", b);
        ExpectRejected(
            m, [&] { LoadTerrain(m.t.g(), 1, 5, 4); }, "Data\\Terep1.dat", c.what);
    }
}

TEST(LoadTerrain, MissingFileIsAnInputOutputError) {
    MapDir m;
    EXPECT_THROW(LoadTerrain(m.t.g(), 1, 5, 4), FileIoError);
}

// --- Roads --------------------------------------------------------------------------------

// A road stream: the given bytes, the end marker 255, one more byte and the check byte.
Bytes RoadBytes(Bytes body, std::uint8_t extra = 0) {
    body.push_back(255);
    body.push_back(extra);
    body.push_back(static_cast<std::uint8_t>(SumMod(body, 200)));
    return body;
}

TEST(LoadRoads, DrawsChainsOnBothSidesOfEachStep) {
    MapDir m;
    // A road (1,1)-(2,1)-(2,2); a railway (4,0)-(4,1) after a break; 222 before its first point.
    m.Write("Ut1.dat", RoadBytes({111, 1, 1, 2, 1, 2, 2, 222, 4, 0, 4, 1}, 7));
    LoadRoads(m.t.g(), 1);
    State& st = m.t.st();
    // (1,1) odd column: (2,1) is north-east of it.
    EXPECT_EQ(st.Cell(1, 1).Road[1], 1);
    EXPECT_EQ(st.Cell(2, 1).Road[4], 1);
    EXPECT_EQ(st.Cell(2, 1).Road[3], 1);
    EXPECT_EQ(st.Cell(2, 2).Road[0], 1);
    EXPECT_EQ(st.Cell(4, 0).Road[3], 2);
    EXPECT_EQ(st.Cell(4, 1).Road[0], 2);
    // The break: nothing joins (2,2) to (4,0), and (2,2) has no other road.
    int roadsAt22 = 0;
    for (int v : st.Cell(2, 2).Road) roadsAt22 += v != 0;
    EXPECT_EQ(roadsAt22, 1);
    int total = 0;
    for (int y = 0; y <= 4; ++y)
        for (int x = 0; x <= 5; ++x)
            for (int v : st.Cell(x, y).Road) total += v != 0;
    EXPECT_EQ(total, 6);
}

TEST(LoadRoads, AnyByteAboveOneHundredBreaksTheChainButKeepsTheClass) {
    MapDir m;
    m.Write("Ut1.dat", RoadBytes({222, 0, 0, 0, 1, 150, 0, 2, 0, 3}));
    LoadRoads(m.t.g(), 1);
    EXPECT_EQ(m.t.st().Cell(0, 0).Road[3], 2);
    EXPECT_EQ(m.t.st().Cell(0, 1).Road[3], 0); // broken by 150
    EXPECT_EQ(m.t.st().Cell(0, 2).Road[3], 2); // still railway
}

TEST(LoadRoads, AnEmptyStreamIsValid) {
    MapDir m;
    m.Write("Ut1.dat", RoadBytes({}, 3));
    EXPECT_NO_THROW(LoadRoads(m.t.g(), 1));
}

TEST(LoadRoads, RejectsBrokenStreams) {
    struct Case {
        const char* what;
        Bytes bytes;
    };
    Bytes noEnd = {111, 1, 1, 1, 2};
    Bytes wrongCheck = RoadBytes({111, 1, 1, 1, 2});
    wrongCheck.back() = static_cast<std::uint8_t>((wrongCheck.back() + 1) % 200);
    Bytes noCheck = RoadBytes({111, 1, 1, 1, 2});
    noCheck.pop_back();
    Bytes trailing = RoadBytes({111, 1, 1, 1, 2});
    trailing.push_back(0);
    const Case cases[] = {
        {"no terminator", noEnd},
        {"wrong check byte", wrongCheck},
        {"no check byte", noCheck},
        {"data after the check byte", trailing},
        {"points not adjacent", RoadBytes({111, 1, 1, 3, 1})},
        {"the same point twice", RoadBytes({111, 1, 1, 1, 1})},
        {"column above 99", RoadBytes({111, 1, 1, 100, 1})},
        {"row above 99", RoadBytes({111, 1, 1, 1, 200})},
        {"column off the map", RoadBytes({111, 6, 1})},
        {"row off the map", RoadBytes({111, 1, 5})},
        {"a point before any road class", RoadBytes({1, 1, 1, 2})},
        {"a row missing at the end", Bytes{111, 1}},
    };
    for (const Case& c : cases) {
        MapDir m;
        m.Write("Ut1.dat", c.bytes);
        ExpectRejected(
            m, [&] { LoadRoads(m.t.g(), 1); }, "Data\\Ut1.dat", c.what);
    }
}

// --- Rivers -------------------------------------------------------------------------------

Bytes RiverBytes(const std::vector<std::array<int, 5>>& records) {
    Bytes b;
    for (const auto& r : records)
        for (int v : r) b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(SumMod(b, 200)));
    return b;
}

TEST(LoadRivers, MarksBothHexesOfEachSide) {
    MapDir m;
    m.Write("Folyo1.dat", RiverBytes({{2, 2, 3, 2, 1}, {3, 2, 2, 2, 1}, {4, 3, 4, 4, 2}, {0, 0, 1, 0, 3}}));
    LoadRivers(m.t.g(), 1);
    State& st = m.t.st();
    EXPECT_EQ(st.Cell(2, 2).River[2], 1); // (3,2) is south-east of an even column's (2,2)
    EXPECT_EQ(st.Cell(3, 2).River[5], 1);
    EXPECT_EQ(st.Cell(4, 3).River[3], 2);
    EXPECT_EQ(st.Cell(4, 4).River[0], 2);
    EXPECT_EQ(st.Cell(0, 0).River[2], 3);
    EXPECT_EQ(st.Cell(1, 0).River[5], 3);
}

TEST(LoadRivers, ChecksumIsTakenModulo200) {
    MapDir m;
    m.t.st().MapMaxX = 60;
    m.t.st().MapMaxY = 60;
    // Records summing to 552: the check byte holds 152.
    const Bytes b = RiverBytes({{50, 40, 51, 40, 3}, {51, 40, 50, 40, 3}, {50, 40, 50, 41, 3}});
    ASSERT_EQ(b.back(), 152);
    m.Write("Folyo1.dat", b);
    EXPECT_NO_THROW(LoadRivers(m.t.g(), 1));
}

TEST(LoadRivers, RejectsBrokenFiles) {
    Bytes wrongCheck = RiverBytes({{2, 2, 3, 2, 1}});
    wrongCheck.back() = static_cast<std::uint8_t>(wrongCheck.back() + 1);
    Bytes partial = RiverBytes({{2, 2, 3, 2, 1}});
    partial.insert(partial.end() - 1, 4);
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        {"wrong check byte", wrongCheck},
        {"no check byte", Bytes{2, 2, 3, 2, 1}},
        {"a partial record", partial},
        {"not adjacent", RiverBytes({{2, 2, 4, 2, 1}})},
        {"off the map", RiverBytes({{5, 2, 6, 2, 1}})},
        {"above 99", RiverBytes({{1, 1, 1, 250, 1}})},
        {"value 4", RiverBytes({{2, 2, 3, 2, 4}})},
        {"empty", Bytes{}},
    };
    for (const Case& c : cases) {
        MapDir m;
        m.Write("Folyo1.dat", c.bytes);
        ExpectRejected(
            m, [&] { LoadRivers(m.t.g(), 1); }, "Data\\Folyo1.dat", c.what);
    }
}

// --- Cities -------------------------------------------------------------------------------

using CityFields = std::array<int, 19>;

// City c of a test file: on a 10 x 8 map, every field different so a swapped field shows.
CityFields TestCity(int c) {
    return {c % 10, c / 10,    1 + c % 3, 100 + c,   50 + c, 1 + c % 2, 0,     0,         0, 0,
            0,      1 + c % 2, c % 7,     1 + c % 2, c * 10, c % 5,     c % 9, 1 + c % 4, 0};
}

Bytes CityBytes(const std::function<CityFields(int)>& city, int extraCheck = 0) {
    BinaryWriter w;
    int s = 0;
    for (int c = 1; c <= 75; ++c) {
        int sum = 0;
        for (int v : city(c)) {
            w.WriteInt(v);
            sum += v;
        }
        s = (s + sum) % 2000;
    }
    w.WriteInt(s + extraCheck);
    return w.bytes();
}

std::vector<std::string> CityNames() {
    std::vector<std::string> names;
    for (int c = 1; c <= 75; ++c) names.push_back("Város " + std::to_string(c));
    names[30] = "Székesfehérvári erődváros"; // 25 characters: cut to 20
    return names;
}

struct CityDir : MapDir {
    CityDir() {
        t.st().MapMaxX = 9;
        t.st().MapMaxY = 7;
        WriteTextLines(dir.path() / "Data" / "Varnev1.dat", CityNames());
    }
};

TEST(LoadCities, ReadsTheNineteenFieldsInFileOrder) {
    CityDir m;
    m.Write("Varos13.dat", CityBytes(TestCity));
    LoadCities(m.t.g(), 1, 3);
    State& st = m.t.st();
    for (int c : {1, 9, 31, 74, 75}) {
        const TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        const CityFields f = TestCity(c);
        EXPECT_EQ(city.X, f[0]);
        EXPECT_EQ(city.Y, f[1]);
        EXPECT_EQ(city.Kind, f[2]);
        EXPECT_EQ(city.SupplyCapacity[1], f[3]);
        EXPECT_EQ(city.SupplyCapacity[2], f[4]);
        EXPECT_EQ(city.Owner, f[5]);
        EXPECT_EQ(city.HomeSide, f[11]);
        EXPECT_EQ(city.Nation, f[12]);
        EXPECT_EQ(city.FlagClass, f[13]);
        EXPECT_EQ(city.VictoryValue, f[14]);
        EXPECT_EQ(city.Importance[2], f[15]); // side 2 first in the file
        EXPECT_EQ(city.Importance[1], f[16]);
        EXPECT_EQ(city.CaptureCounter, f[17]);
        EXPECT_EQ(st.Cell(f[0], f[1]).City, c);
    }
    EXPECT_EQ(st.Cities[1].Name.view(), "Város 1");
    EXPECT_EQ(st.Cities[31].Name.view(), "Székesfehérvári erőd");
    // The great fortresses feed both sides with 300 whatever the file says.
    for (int c : {28, 42, 46}) {
        EXPECT_EQ(st.Cities[static_cast<std::size_t>(c)].SupplyCapacity[1], 300);
        EXPECT_EQ(st.Cities[static_cast<std::size_t>(c)].SupplyCapacity[2], 300);
    }
    EXPECT_EQ(st.Cities[27].SupplyCapacity[1], 127);
    EXPECT_EQ(st.Cell(9, 7).City, 0); // no city stands there
}

TEST(LoadCities, LoadsNothingForLaterDataSets) {
    CityDir m;
    m.t.st().DataSet = 2;
    EXPECT_NO_THROW(LoadCities(m.t.g(), 2, 1)); // no file exists for it either
    EXPECT_EQ(m.t.st().Cities[1].X, 0);
}

TEST(LoadCities, RejectsBrokenFiles) {
    struct Case {
        const char* what;
        Bytes bytes;
    };
    auto with = [](int city, int field, int value) {
        return CityBytes([=](int c) {
            CityFields f = TestCity(c);
            if (c == city) f[static_cast<std::size_t>(field)] = value;
            return f;
        });
    };
    Bytes truncated = CityBytes(TestCity);
    truncated.resize(truncated.size() - 4);
    Bytes trailing = CityBytes(TestCity);
    trailing.push_back(0);
    const Case cases[] = {
        {"wrong check value", CityBytes(TestCity, 1)},
        {"no check value", truncated},
        {"data after the check", trailing},
        {"column off the map", with(5, 0, 10)},
        {"row off the map", with(5, 1, 8)},
        {"negative column", with(5, 0, -1)},
        {"two cities on one hex", with(12, 0, 1)},
        {"nation 12", with(5, 12, 12)},
        {"flag class -1", with(5, 13, -1)},
        {"garrison corps 251", with(5, 10, 251)},
        {"staging link to city 76", with(5, 18, 176)},
        {"staging link of side 3", with(5, 18, 305)},
    };
    for (const Case& c : cases) {
        CityDir m;
        m.Write("Varos11.dat", c.bytes);
        ExpectRejected(
            m, [&] { LoadCities(m.t.g(), 1, 1); }, "Data\\Varos11.dat", c.what);
    }
}

TEST(LoadCities, RejectsANameFileShortOfSeventyFiveNames) {
    CityDir m;
    m.Write("Varos11.dat", CityBytes(TestCity));
    std::vector<std::string> names = CityNames();
    names.pop_back();
    WriteTextLines(m.dir.path() / "Data" / "Varnev1.dat", names);
    ExpectRejected(
        m, [&] { LoadCities(m.t.g(), 1, 1); }, "Data\\Varnev1.dat", "74 names");
}

} // namespace
} // namespace vezer
