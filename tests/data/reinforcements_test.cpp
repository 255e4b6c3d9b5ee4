// The reinforcement schedule compiler: the bytes of Data/Erosites1.dat, and the sources it refuses.

#include "core/binary_io.h"
#include "support/mkdata_runner.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <sstream>

namespace vezer {
namespace {

using testing::RunMkdata;
using testing::TempDir;
using testing::WriteSource;

// Seven plain records, each a line battalion at 99 % and a veteran 12-pounder battery; records 6
// and 7 belong to the Transylvanian campaign. `edit` may change any line before it is written.
std::string Schedule(const std::function<void(std::vector<std::string>&)>& edit = nullptr) {
    std::vector<std::string> lines;
    for (int n = 1; n <= 7; ++n) {
        std::string campaigns = (n == 6 || n == 7) ? "6" : "none";
        lines.push_back("record " + std::to_string(n) +
                        "  date 1849-2-1  side 2 nation 2 limited 0  hex 47,27  general 0  formation 2  campaigns " +
                        campaigns);
        lines.push_back("  1 line 99");
        lines.push_back("  1 heavy-battery 100 veteran");
    }
    if (edit) edit(lines);
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    return text;
}

std::vector<std::int32_t> Ints(const Bytes& bytes) {
    std::vector<std::int32_t> values;
    BinaryReader in(bytes, "Data\\Erosites1.dat");
    while (!in.AtEnd()) values.push_back(in.ReadInt());
    return values;
}

TEST(ReinforcementFile, LaysOutRecordsUnitsAndTheCheckValue) {
    TempDir dir;
    WriteSource(dir.path() / "assets/campaigns/reinforcements.txt", Schedule());
    testing::CopyShippedSources(dir.path() / "assets", testing::kSourcesBesideTheCampaigns);
        auto run = RunMkdata("reinforcements", dir.path() / "assets", dir.path() / "out");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    auto v = Ints(ReadFileBytes(dir.path() / "out/Data/Erosites1.dat", "Erosites1.dat"));
    // Count, 7 × (11 header values + 2 units × 2 values), check.
    ASSERT_EQ(v.size(), 1u + 7u * 15u + 1u);
    EXPECT_EQ(v[0], 7);
    const std::vector<std::int32_t> first = {1849, 2, 1, 2, 0, 47, 27, 2, 0, 2, 2, 9, 99, 35, 100};
    EXPECT_EQ(std::vector<std::int32_t>(v.begin() + 1, v.begin() + 16), first);
    // s = 7 + 7 × (1934 + 108 + 135) = 15 246, reduced after every unit: 15 246 mod 2000.
    EXPECT_EQ(v.back(), 1246);
}

TEST(ReinforcementFile, TheShippedScheduleCompilesWithTransylvanianRecordsSixAndSeven) {
    Bytes bytes = ReadFileBytes(testing::CompiledGameDir() / "Data/Erosites1.dat", "Erosites1.dat");
    auto v = Ints(bytes);
    ASSERT_GE(v.size(), 2u);
    int count = v[0];
    ASSERT_GE(count, 7);
    ASSERT_LE(count, 50);
    // Walk the records; each carries its unit count in its eleventh value.
    std::size_t pos = 1;
    std::int32_t s = count;
    for (int k = 1; k <= count; ++k) {
        ASSERT_LT(pos + 11, v.size());
        int year = v[pos], month = v[pos + 1], side = v[pos + 3], x = v[pos + 5];
        int units = v[pos + 10];
        for (int i = 0; i < 11; ++i) s += v[pos + i];
        EXPECT_TRUE(units >= 1 && units <= 50) << "record " << k;
        if (k == 6 || k == 7) {
            // Transylvania lies east of the Királyhágó; the dates fall inside the campaign.
            EXPECT_GE(x, 38) << "record " << k;
            EXPECT_TRUE((year == 1848 && month == 12) || (year == 1849 && month <= 5)) << "record " << k;
            EXPECT_TRUE(side == 1 || side == 2);
        }
        pos += 11;
        for (int u = 0; u < units; ++u, pos += 2) s = (s + v[pos] + v[pos + 1]) % 2000;
    }
    ASSERT_EQ(pos + 1, v.size()) << "trailing values after the last record";
    EXPECT_EQ(v[pos], s);
}

TEST(ReinforcementFile, RefusesBrokenSourcesNamingTheLine) {
    struct Case {
        const char* what;
        std::function<void(std::vector<std::string>&)> edit;
        int line;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"record 6 after the Transylvanian window",
         [](auto& l) { l[15] = std::regex_replace(l[15], std::regex("1849-2-1"), "1849-6-1"); }, 16,
         "records 6 and 7 arrive between"},
        {"Polish record on the Austrian side",
         [](auto& l) { l[0] = std::regex_replace(l[0], std::regex("nation 2"), "nation 9"); }, 1,
         "nation 9 cannot arrive for side 2"},
        {"limited flag on an Austrian record",
         [](auto& l) { l[3] = std::regex_replace(l[3], std::regex("limited 0"), "limited 1"); }, 4,
         "only Russian (3) and Polish (9)"},
        {"a unit at 0 %", [](auto& l) { l[4] = "  1 line 0"; }, 5, "fill is 1..100"},
        {"a unit at 101 %", [](auto& l) { l[4] = "  1 line 101"; }, 5, "fill is 1..100"},
        {"51 units", [](auto& l) { l[4] = "  50 line 90"; }, 4, "1..50 units"},
        {"numbers out of order",
         [](auto& l) { l[6] = std::regex_replace(l[6], std::regex("record 3"), "record 4"); }, 7,
         "stands in place 3"},
        {"a third record in the Transylvanian campaign",
         [](auto& l) { l[3] = std::regex_replace(l[3], std::regex("campaigns none"), "campaigns 6"); }, 4,
         "keeps only records 6 and 7"},
        {"a record dated outside its campaign",
         [](auto& l) { l[0] = std::regex_replace(l[0], std::regex("campaigns none"), "campaigns 1"); }, 1,
         "dated outside campaign 1"},
        {"one general on two records of a campaign",
         [](auto& l) {
             l[15] = std::regex_replace(l[15], std::regex("general 0"), "general 3");
             l[18] = std::regex_replace(l[18], std::regex("general 0"), "general 3");
         },
         19, "already named by record 6 in campaign 6"},
        {"a general beyond the roster",
         [](auto& l) { l[0] = std::regex_replace(l[0], std::regex("general 0"), "general 61"); }, 1,
         "not on the roster of side 2"},
        {"an arrival on impassable ground",
         [](auto& l) { l[0] = std::regex_replace(l[0], std::regex("hex 47,27"), "hex 47,10"); }, 1,
         "the arrival hex is impassable"},
        {"record 6 arriving outside Transylvania",
         [](auto& l) { l[15] = std::regex_replace(l[15], std::regex("hex 47,27"), "hex 33,13"); }, 16,
         "records 6 and 7 arrive in Transylvania"},
        {"an unknown type", [](auto& l) { l[4] = "  1 grenadier 90"; }, 5, "unknown regiment type"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        WriteSource(dir.path() / "assets/campaigns/reinforcements.txt", Schedule(c.edit));
        testing::CopyShippedSources(dir.path() / "assets", testing::kSourcesBesideTheCampaigns);
        auto run = RunMkdata("reinforcements", dir.path() / "assets", dir.path() / "out");
        EXPECT_NE(run.exitCode, 0) << c.what;
        std::string where = "reinforcements.txt:" + std::to_string(c.line) + ": ";
        EXPECT_NE(run.output.find(where), std::string::npos) << c.what << "\n" << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << c.what << "\n" << run.output;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "out/Data/Erosites1.dat")) << c.what;
    }
}

} // namespace
} // namespace vezer
