#include "core/binary_io.h"
#include "core/calendar.h"
#include "core/errors.h"
#include "core/random.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <set>

namespace vezer {
namespace {

using testing::FillRandTableWithPositions;
using testing::TempDir;
using testing::TestGame;

TEST(RandomDraw, WrapsAroundTheEndOfTheTable) {
    TestGame t;
    FillRandTableWithPositions(t.st());
    t.st().RandPos = 9998;
    t.st().RandStep = 5;
    // Position 9998 + 5 wraps to 3; the table holds the position, so R(1000) = 3 mod 1000 + 1.
    EXPECT_EQ(R(t.st(), 1000), 4);
    EXPECT_EQ(t.st().RandPos, 3);
    t.st().RandPos = 9995;
    EXPECT_EQ(R(t.st(), 100000), 10001);  // lands exactly on 10000: no wrap
    EXPECT_EQ(t.st().RandPos, 10000);
}

TEST(RandomDraw, NonPositiveRangesActAsOneAndStillAdvance) {
    TestGame t;
    FillRandTableWithPositions(t.st());
    t.st().RandPos = 100;
    t.st().RandStep = 7;
    EXPECT_EQ(R(t.st(), 0), 1);
    EXPECT_EQ(t.st().RandPos, 107);
    EXPECT_EQ(R(t.st(), -5), 1);
    EXPECT_EQ(t.st().RandPos, 114);
    EXPECT_EQ(R(t.st(), 1), 1);
    EXPECT_EQ(t.st().RandPos, 121);
}

TEST(RandomDraw, ResultIsRemainderPlusOne) {
    TestGame t;
    t.st().RandTable[11] = 250;
    t.st().RandPos = 10;
    t.st().RandStep = 1;
    EXPECT_EQ(R(t.st(), 100), 51);
}

TEST(RandomTableCheck, ReducesOnlyAbove500000) {
    // 500000 exactly stays; the final reduction gives 500000 mod 2000 = 0.
    std::vector<int> exact = {250000, 250000, 7};
    EXPECT_EQ(RandomTableCheck(exact), (500000 + 7) % 2000);
    // 500001 is reduced at once to 1, then 7 is added.
    std::vector<int> over = {250000, 250001, 7};
    EXPECT_EQ(RandomTableCheck(over), 8);
}

void WriteTable(const std::filesystem::path& dir, const std::vector<int>& values, int check) {
    BinaryWriter w;
    for (int v : values) w.WriteInt(v);
    w.WriteInt(check);
    std::filesystem::create_directories(dir / "Data");
    WriteFileAtomic(dir / "Data" / "core.dat", w.bytes());
}

TEST(LoadRandomTable, ReadsTheCompiledTable) {
    TestGame t;
    LoadRandomTable(t.g());
    int nonZero = 0;
    for (int i = 1; i <= kRandTableSize; ++i) {
        ASSERT_GE(t.st().RandTable[static_cast<std::size_t>(i)], 0);
        nonZero += t.st().RandTable[static_cast<std::size_t>(i)] != 0;
    }
    EXPECT_GT(nonZero, 9000);
}

TEST(LoadRandomTable, RejectsBrokenFilesWithTheCapitalisedName) {
    TempDir dir;
    std::vector<int> values(kRandTableSize, 3);
    int good = RandomTableCheck(values);

    struct Case {
        const char* what;
        std::vector<int> values;
        int check;
    };
    std::vector<int> negative = values;
    negative[500] = -1;
    std::vector<Case> cases = {
        {"wrong check value", values, good + 1},
        {"negative value", negative, RandomTableCheck(negative)},
        {"short file", std::vector<int>(values.begin(), values.begin() + 9999), good},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteTable(dir.path(), c.values, c.check);
        TestGame t{GameDir(dir.path())};
        try {
            LoadRandomTable(t.g());
            ADD_FAILURE() << "accepted";
        } catch (const DataError& e) {
            EXPECT_EQ(e.PlayerMessage(), "Corrupt file / Hibás file! Data\\Core.dat");
        }
    }
    WriteTable(dir.path(), values, good);
    TestGame ok{GameDir(dir.path())};
    EXPECT_NO_THROW(LoadRandomTable(ok.g()));
    EXPECT_EQ(ok.st().RandTable[kRandTableSize], 3);
}

TEST(LoadRandomTable, MissingFileIsAnInputOutputError) {
    TempDir dir;
    TestGame t{GameDir(dir.path())};
    EXPECT_THROW(LoadRandomTable(t.g()), FileIoError);
}

TEST(SeedRandom, EverySeedGivesACursorInRangeAndEachPairComesFromOneSeed) {
    TestGame t;
    std::set<std::pair<int, int>> seen;
    for (std::uint32_t seed = 0; seed < 150000; ++seed) {
        SeedRandom(t.st(), seed);
        ASSERT_GE(t.st().RandPos, 1);
        ASSERT_LE(t.st().RandPos, kRandTableSize);
        ASSERT_GE(t.st().RandStep, 1);
        ASSERT_LE(t.st().RandStep, 15);
        seen.insert({t.st().RandPos, t.st().RandStep});
    }
    EXPECT_EQ(seen.size(), 150000u);
    for (std::uint32_t seed : {150000u, 4294967295u}) {
        SeedRandom(t.st(), seed);
        EXPECT_GE(t.st().RandPos, 1);
        EXPECT_LE(t.st().RandStep, 15);
    }
    SeedRandom(t.st(), 7);
    EXPECT_EQ(t.st().RandPos, 8);
    EXPECT_EQ(t.st().RandStep, 1);
}

TEST(StepWeek, CrossesMonthAndYearBothWays) {
    struct Case {
        Date from;
        int delta;
        Date to;
    };
    const Case cases[] = {
        {{1848, 12, 4}, 1, {1849, 1, 1}},  {{1849, 1, 1}, -1, {1848, 12, 4}}, {{1848, 9, 1}, 4, {1848, 10, 1}},
        {{1848, 9, 3}, 50, {1849, 10, 1}}, {{1849, 3, 2}, -9, {1849, 1, 1}},  {{1848, 5, 2}, 0, {1848, 5, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.from.year << "-" << c.from.month << "-" << c.from.week << " + " << c.delta);
        EXPECT_EQ(StepWeek(c.from, c.delta), c.to);
    }
}

TEST(RandomShiftDate, DrawsOnceAndShiftsWithinTheSpread) {
    TestGame t;
    FillRandTableWithPositions(t.st());
    t.st().Year = 1848;
    t.st().Month = 9;
    t.st().Week = 1;
    t.st().RandStep = 1;
    // R(9) with RandTable[p] = p gives p mod 9 + 1; d = R(9) - 5 runs over -4..+4.
    for (int start = 0; start < 9; ++start) {
        t.st().RandPos = 100 + start;
        int draw = (101 + start) % 9 + 1;
        int y = 1849, m = 1, w = 1;
        RandomShiftDate(t.st(), y, m, w, 4);
        EXPECT_EQ(t.st().RandPos, 101 + start);
        EXPECT_EQ(StepWeek(Date{1849, 1, 1}, draw - 5), (Date{y, m, w}));
    }
}

TEST(RandomShiftDate, ComparesEachPartOnItsOwn) {
    TestGame t;
    t.st().RandStep = 1;
    t.st().RandPos = 1;
    t.st().RandTable[2] = 3;  // R(3) = 1: d = 1 - 1 - 1 = -1
    t.st().Year = 1849;
    t.st().Month = 1;
    t.st().Week = 1;
    int y = 1849, m = 1, w = 1;
    RandomShiftDate(t.st(), y, m, w, 1);
    // 1848-12-4: the year is smaller but month and week are not, so the date stands.
    EXPECT_EQ((Date{y, m, w}), (Date{1848, 12, 4}));

    // A date smaller in every part becomes today.
    t.st().Year = 1849;
    t.st().Month = 6;
    t.st().Week = 3;
    t.st().RandPos = 1;
    y = 1848, m = 3, w = 2;
    RandomShiftDate(t.st(), y, m, w, 1);
    EXPECT_EQ((Date{y, m, w}), (Date{1849, 6, 3}));
}

} // namespace
} // namespace vezer
