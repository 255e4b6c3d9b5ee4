// Every file the data compiler writes, read by the game's own readers: each passes its check
// value and every check the reader makes. Then damaged copies: each reader refuses what would
// index outside a table, naming the file, and a set-up that meets one leaves the game alone.

#include "core/binary_io.h"
#include "core/errors.h"
#include "core/fingerprint.h"
#include "core/random.h"
#include "core/texts.h"
#include "files/savegame.h"
#include "files/scenario_files.h"
#include "files/settings.h"
#include "campaign/setup.h"
#include "fuzz/save_layout.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace vezer {
namespace {

using testing::CompiledGameDir;
using testing::TempDir;
using testing::TestGame;

// The state the set-up has built when it reaches the readers that depend on it.
void SetUpDefaults(State& st) {
    st.DataSet = 1;
    st.MapMaxX = 62;
    st.MapMaxY = 35;
    st.TypeCount = kShippedTypeCount;
    st.GeneralCount = st.InitialGeneralCount = {0, kShippedGeneralCount1, kShippedGeneralCount2};
    st.KeepReinforcementDates = 1;
}

TEST(CompiledFiles, EveryReferenceFilePassesTheGamesReaders) {
    TestGame t;
    State& st = t.st();
    SetUpDefaults(st);
    ASSERT_NO_THROW(LoadRandomTable(t.g()));
    ASSERT_NO_THROW(LoadAiBonus(t.g()));
    EXPECT_LT(st.AiBattleBonusEasy, 0) << "the computer fights worse on the easy level";
    EXPECT_GT(st.AiBattleBonusHard, 0);
    ASSERT_NO_THROW(LoadRegimentTypes(t.g(), 1));
    ASSERT_NO_THROW(LoadFormations(t.g(), 1));
    ASSERT_NO_THROW(LoadGeneralRoster(t.g(), 1));
    ASSERT_NO_THROW(LoadNamePools(t.g()));
    ASSERT_NO_THROW(LoadWeatherTables(t.g(), 1));
    ASSERT_NO_THROW(LoadTutorialText(t.g()));

    for (int type = 1; type <= kShippedTypeCount; ++type) {
        EXPECT_GE(st.BaseRecruitWeeks[type], 2) << "type " << type;
        EXPECT_EQ(st.BaseRecruitWeeks[type], st.Types[type].RecruitWeeks) << "type " << type;
    }
    for (int side = 1; side <= 2; ++side)
        for (int g = 1; g <= st.GeneralCount[side]; ++g) {
            const TTabornok& general = st.Generals[side][g];
            SCOPED_TRACE("general " + std::to_string(g) + " of side " + std::to_string(side));
            EXPECT_EQ(general.Available, 1) << "every general of the roster has a record";
            EXPECT_GE(general.Nation, 1);
            EXPECT_NE(general.FamilyName.view(), "");
            EXPECT_NE(general.GivenName.view(), "");
        }
    for (int pool = 1; pool <= 3; ++pool)
        for (int i = 1; i <= kNamePoolSize; ++i) {
            EXPECT_NE(st.GivenNamePool[pool][i].view(), "") << pool << "/" << i;
            EXPECT_NE(st.FamilyNamePool[pool][i].view(), "") << pool << "/" << i;
        }
    // A general who comes with a reinforcement waits for it.
    ASSERT_NO_THROW(LoadReinforcements(t.g()));
    ASSERT_GE(st.ReinforcementCount, 7);
    ASSERT_LE(st.ReinforcementCount, kMaxReinforcements);
    for (int i = 1; i <= st.ReinforcementCount; ++i) {
        const TErosites& e = st.Reinforcements[i];
        EXPECT_GE(e.Template.UnitCount, 1) << "reinforcement " << i << " brings nobody";
        if (e.Template.General > 0 && e.Arrived == 0) {
            EXPECT_EQ(st.Generals[e.Side][e.Template.General].Available, 0) << "reinforcement " << i;
        }
        // Arrival dates within the war.
        EXPECT_GE(e.Year * 100 + e.Month, 184809) << "reinforcement " << i;
        EXPECT_LE(e.Year * 100 + e.Month, 184912) << "reinforcement " << i;
    }
    EXPECT_GT(st.Texts.TutorialLineCount, 0);
    EXPECT_LE(st.Texts.TutorialLineCount, 1000);

    for (int language : {1, 2}) {
        ASSERT_NO_THROW(LoadTexts(t.g(), language)) << language;
        for (int type = 1; type <= kShippedTypeCount; ++type) EXPECT_NE(st.Types[type].Name.view(), "") << type;
        for (int f = 1; f <= kFormationCount; ++f) EXPECT_NE(st.Formations[f].Name.view(), "") << f;
    }

    GameDir dir(CompiledGameDir());
    std::string warning;
    ReadSetupFile(dir, &warning);
    EXPECT_EQ(warning, "");
    ReadSettingsList(dir, &warning);
    EXPECT_EQ(warning, "");
    ReadOneSetupFile(dir, &warning);
    EXPECT_EQ(warning, "");
}

TEST(CompiledFiles, TheSettingsTheGameFallsBackOnAreTheShippedOnes) {
    // With the three settings files gone the game starts on its own defaults, which are what
    // the shipped files hold, label lines included.
    TempDir empty;
    GameDir none(empty.path());
    GameDir shipped(CompiledGameDir());
    std::string warning;
    EXPECT_EQ(ReadSettingsList(none, &warning).Lines(), ReadSettingsList(shipped).Lines());
    EXPECT_NE(warning, "");
    EXPECT_EQ(ReadSetupFile(none).Line(), ReadSetupFile(shipped).Line());
    const OneSetupChoices a = ReadOneSetupFile(none), b = ReadOneSetupFile(shipped);
    EXPECT_EQ(std::vector<int>({a.side1, a.side2, a.difficulty, a.russian, a.polish, a.fog, a.campaignEntry}),
              std::vector<int>({b.side1, b.side2, b.difficulty, b.russian, b.polish, b.fog, b.campaignEntry}));
}

// --- Damaged copies ---------------------------------------------------------------------

// A copy of the compiled Data folder whose files a test may damage.
class DamagedCopy : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(CompiledGameDir() / "Data", dir.path() / "Data",
                              std::filesystem::copy_options::recursive);
    }
    std::filesystem::path PathOf(const std::string& gameName) const { return GameDir(dir.path()).Resolve(gameName); }
    Bytes Read(const std::string& gameName) const { return ReadFileBytes(PathOf(gameName), gameName); }
    void Write(const std::string& gameName, const Bytes& bytes) const {
        std::ofstream(PathOf(gameName), std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // Runs `reader` on a game of the damaged folder; returns the refusal's reason, "" if none.
    std::string Refusal(const std::string& gameName, const std::function<void(Game&)>& reader,
                        const std::string& messageName = "") const {
        TestGame t{GameDir(dir.path())};
        SetUpDefaults(t.st());
        try {
            reader(t.g());
        } catch (const DataError& e) {
            const std::string named = messageName.empty() ? gameName : messageName;
            EXPECT_EQ(e.file(), named);
            EXPECT_EQ(e.PlayerMessage(), "Corrupt file / Hibás file! " + named);
            return e.reason();
        }
        return "";
    }

    TempDir dir;
};

using fuzz::BytesOf;
using fuzz::IntsOf;

// The general file with one byte of record `record` (0-based), field `field`, changed and the
// check byte made right again.
Bytes WithGeneralByte(Bytes bytes, int record, int field, int value) {
    const std::size_t at = 7 + static_cast<std::size_t>(record) * 7 + static_cast<std::size_t>(field);
    const int old = bytes[at];
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes.back() = static_cast<std::uint8_t>(((bytes.back() - old + value) % 200 + 200) % 200);
    return bytes;
}

TEST_F(DamagedCopy, TheGeneralFileRefusesASideOrIndexOutsideTheTables) {
    const std::string name = GeneralFileName(1);
    const Bytes good = Read(name);
    auto reader = [](Game& g) { LoadGeneralRoster(g, 1); };
    ASSERT_EQ(Refusal(name, reader), "");
    struct Case {
        int field, value;
        const char* reason;
    } cases[] = {{0, 0, "side of general record 5 is 0, outside 1..2"},   {0, 3, "side of general record 5 is 3, outside 1..2"},
                 {1, 0, "index of general record 5 is 0, outside 1..250"},  {1, 251, "index of general record 5 is 251, outside 1..250"},
                 {5, 0, "nation of general record 5 is 0, outside 1..11"}, {5, 12, "nation of general record 5 is 12, outside 1..11"},
                 {6, 31, "ability of general record 5 is 31, outside 0..30"}};
    for (const Case& c : cases) {
        Write(name, WithGeneralByte(good, 4, c.field, c.value));
        EXPECT_EQ(Refusal(name, reader), c.reason);
    }
    // A side count beyond the records the file holds, and a wrong check byte.
    Bytes more = good;
    more[0] = static_cast<std::uint8_t>(more[0] + 1);
    Write(name, more);
    EXPECT_NE(Refusal(name, reader), "");
    Bytes badCheck = good;
    badCheck.back() = static_cast<std::uint8_t>((badCheck.back() + 1) % 200);
    Write(name, badCheck);
    EXPECT_NE(Refusal(name, reader), "");
}

// The reinforcement file as records of values, and back with its check value.
struct Schedule {
    struct Record {
        std::vector<std::int32_t> head; // date, side, limited, and the template's six values
        std::vector<std::int32_t> units; // type, fill, type, fill, ...
    };
    std::vector<Record> records;

    explicit Schedule(const std::vector<std::int32_t>& v) {
        std::size_t at = 1;
        for (int k = 0; k < v[0]; ++k) {
            Record r;
            r.head.assign(v.begin() + static_cast<std::ptrdiff_t>(at), v.begin() + static_cast<std::ptrdiff_t>(at + 11));
            at += 11;
            const std::size_t n = 2 * static_cast<std::size_t>(r.head[10]);
            r.units.assign(v.begin() + static_cast<std::ptrdiff_t>(at), v.begin() + static_cast<std::ptrdiff_t>(at + n));
            at += n;
            records.push_back(r);
        }
    }
    // Written as the game reads it: the count, the records, the check value reduced after each unit.
    Bytes File(int count) const {
        std::vector<std::int32_t> v{count};
        std::int32_t s = count;
        for (const Record& r : records) {
            for (std::int32_t x : r.head) s += x;
            v.insert(v.end(), r.head.begin(), r.head.end());
            for (std::size_t u = 0; u < r.units.size(); u += 2) s = (s + r.units[u] + r.units[u + 1]) % 2000;
            v.insert(v.end(), r.units.begin(), r.units.end());
        }
        v.push_back(s);
        return BytesOf(v);
    }
    Bytes File() const { return File(static_cast<int>(records.size())); }
};

TEST_F(DamagedCopy, TheReinforcementFileRefusesWhatWouldIndexOutsideATable) {
    const std::string name = ReinforcementFileName(1);
    const Schedule good(IntsOf(Read(name)));
    ASSERT_GE(good.records.size(), 7u);
    auto reader = [](Game& g) { LoadReinforcements(g); };
    Write(name, good.File());
    ASSERT_EQ(Refusal(name, reader), "") << "the schedule read back and written again is the same file";

    // Up to 50 records: the 51st is refused even when it is there.
    Schedule many = good;
    while (many.records.size() < 51) many.records.push_back(good.records[0]);
    many.records.resize(50);
    Write(name, many.File());
    EXPECT_EQ(Refusal(name, reader), "");
    many.records.push_back(good.records[0]);
    Write(name, many.File());
    EXPECT_EQ(Refusal(name, reader), "the number of reinforcements is 51, outside 0..50");
    Write(name, good.File(-1));
    EXPECT_EQ(Refusal(name, reader), "the number of reinforcements is -1, outside 0..50");

    // Record 2's side, general, and its first unit's type and fill. Side 2 has 60 generals.
    struct Case {
        bool unit;
        std::size_t at;
        std::int32_t value;
        const char* reason;
    } cases[] = {{false, 3, 0, "side of reinforcement 2 is 0, outside 1..2"},
                 {false, 3, 3, "side of reinforcement 2 is 3, outside 1..2"},
                 {false, 8, 61, "general of reinforcement 2 is 61, outside 0..60"},
                 {false, 8, -1, "general of reinforcement 2 is -1, outside 0..60"},
                 {false, 10, 51, "unit count of reinforcement 2 is 51, outside 0..50"},
                 {true, 0, 0, "unit type of reinforcement 2 is 0, outside 1..35"},
                 {true, 0, 16, "unit type of reinforcement 2 is 16, outside 1..15 and 21..35"},
                 {true, 0, 20, "unit type of reinforcement 2 is 20, outside 1..15 and 21..35"},
                 {true, 0, 36, "unit type of reinforcement 2 is 36, outside 1..35"},
                 {true, 1, 0, "unit fill of reinforcement 2 is 0, outside 1..100"},
                 {true, 1, 101, "unit fill of reinforcement 2 is 101, outside 1..100"}};
    for (const Case& c : cases) {
        Schedule damaged = good;
        Schedule::Record& r = damaged.records[1];
        r.head[3] = 2;
        (c.unit ? r.units : r.head)[c.at] = c.value;
        Write(name, damaged.File());
        EXPECT_EQ(Refusal(name, reader), c.reason);
    }
    // A veteran of the last type and a general at the end of the table are fine.
    Schedule edge = good;
    edge.records[1].head[3] = 2;
    edge.records[1].head[8] = 60;
    edge.records[1].units[0] = 20 + kShippedTypeCount;
    edge.records[1].units[1] = 100;
    Write(name, edge.File());
    EXPECT_EQ(Refusal(name, reader), "");
}

TEST_F(DamagedCopy, TheTypeFormationWeatherAndChanceFilesRefuseDamage) {
    struct Damage {
        std::string name;
        std::size_t at;          // the 32-bit value (or the byte of a byte file) to change
        std::int32_t value;
        bool bytes;              // a file of bytes with a check byte mod 200
        std::function<void(Game&)> reader;
        const char* reason;      // "" for any refusal
    };
    const Damage damages[] = {
        {RegimentTypeFileName(1), 14 * 3 + 0, 4, false, [](Game& g) { LoadRegimentTypes(g, 1); }, "arm of type 4 is 4, outside 1..3"},
        {RegimentTypeFileName(1), 14 * 0 + 2, 0, false, [](Game& g) { LoadRegimentTypes(g, 1); },
         "full strength of type 1 is 0, below 1"},
        {RegimentTypeFileName(1), 14 * 9 + 13, 3, false, [](Game& g) { LoadRegimentTypes(g, 1); }, "side of type 10 is 3, outside 0..2"},
        // Snow all July: its mild weeks have no weather they may keep, the weekly draw never ends.
        {WeatherFileName(1), 8 * 6 + 3, 100, true, [](Game& g) { LoadWeatherTables(g, 1); },
         "month 7 can draw a temperature that no weather fits"},
        {"Data\\core.dat", 17, -5, false, [](Game& g) { LoadRandomTable(g); }, ""},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.name);
        const Bytes good = Read(d.name);
        Bytes bad = good;
        if (d.bytes) {
            bad[d.at] = static_cast<std::uint8_t>(d.value);
            if (d.at == 51) bad[48] = bad[49] = bad[50] = 0; // and no other weather
            int sum = 0;
            for (std::size_t i = 0; i + 1 < bad.size(); ++i) sum += bad[i];
            bad.back() = static_cast<std::uint8_t>(sum % 200);
        } else {
            std::vector<std::int32_t> v = IntsOf(bad);
            v[d.at] = d.value;
            std::int32_t sum = 0;
            for (std::size_t i = 0; i + 1 < v.size(); ++i) sum += v[i];
            v.back() = sum % 2000;
            bad = BytesOf(v);
        }
        Write(d.name, bad);
        // The chance table's message spells its name with a capital C.
        const std::string messageName = d.name == "Data\\core.dat" ? "Data\\Core.dat" : "";
        const std::string reason = Refusal(d.name, d.reader, messageName);
        if (*d.reason)
            EXPECT_EQ(reason, d.reason);
        else
            EXPECT_NE(reason, "");
        // A file cut short of its check value.
        Write(d.name, Bytes(good.begin(), good.end() - 1));
        EXPECT_NE(Refusal(d.name, d.reader, messageName), "");
        Write(d.name, good);
    }
}

TEST_F(DamagedCopy, ASetUpThatMeetsADamagedFileLeavesTheGameAsItWas) {
    TestGame t{GameDir(dir.path())};
    t.st().DataSet = 1;
    t.st().Language = 1;
    ASSERT_NO_THROW(SetUpGame(t.g(), 1, testing::kTestSeed));
    ASSERT_NO_THROW(StartCampaign(t.g(), 1, 3, CampaignChoices{}));
    const std::uint64_t before = FullStateHash(t.st());
    const std::string name = GeneralFileName(1);
    const Bytes good = Read(name);
    Write(name, WithGeneralByte(good, 0, 0, 7));
    try {
        SetUpGame(t.g(), 1, testing::kTestSeed);
        ADD_FAILURE() << "a damaged general file is accepted";
    } catch (const DataError& e) {
        EXPECT_EQ(e.PlayerMessage(), "Corrupt file / Hibás file! Data\\Hadvez1.dat");
    }
    EXPECT_EQ(FullStateHash(t.st()), before);
    // A missing file is an input-output error, and changes nothing either.
    std::filesystem::remove(PathOf(name));
    EXPECT_THROW(SetUpGame(t.g(), 1, testing::kTestSeed), FileIoError);
    EXPECT_EQ(FullStateHash(t.st()), before);
}

TEST_F(DamagedCopy, AMissingCampaignStartFileAbandonsTheStart) {
    TestGame t{GameDir(dir.path())};
    t.st().DataSet = 1;
    t.st().Language = 2;
    ASSERT_NO_THROW(SetUpGame(t.g(), 1, testing::kTestSeed));
    std::filesystem::remove(PathOf(CampaignStartFileName(1, 4)));
    const std::uint64_t before = FullStateHash(t.st());
    try {
        StartCampaign(t.g(), 1, 4, CampaignChoices{});
        ADD_FAILURE() << "a campaign without its start file was started";
    } catch (const FileIoError& e) {
        EXPECT_NE(std::string(e.what()).find("kampany14.dat"), std::string::npos) << e.what();
    }
    EXPECT_EQ(FullStateHash(t.st()), before);
}

} // namespace
} // namespace vezer
