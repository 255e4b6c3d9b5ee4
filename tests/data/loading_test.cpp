// Starting and loading a game in place of the one that runs: everything is read into a scratch
// game first, a bad file costs the running game nothing, and nothing of the game that ran
// before survives into the new one. What the loader refuses beyond counts and indices, and
// what its rebuild does before any corps is recomputed.

#include "campaign/load_game.h"
#include "campaign/setup.h"
#include "core/errors.h"
#include "core/fingerprint.h"
#include "core/log.h"
#include "files/savegame.h"
#include "files/scenario_files.h"
#include "forces/forces.h"
#include "forces/invariants.h"
#include "forces/markers.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace vezer {
namespace {

using testing::TestGame;

std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& l : lines) all += l + "\n";
    return all;
}

// A game directory with the compiled data, in which single files may be replaced.
struct OwnDataDir {
    testing::TempDir dir;
    OwnDataDir() {
        std::filesystem::create_directories(dir.path() / "Data");
        std::filesystem::create_directories(dir.path() / "save");
        for (const auto& entry : std::filesystem::directory_iterator(testing::CompiledGameDir() / "Data"))
            std::filesystem::create_symlink(entry.path(), dir.path() / "Data" / entry.path().filename());
    }
    void Replace(const std::string& name, const Bytes& bytes) {
        const auto path = dir.path() / "Data" / name;
        std::filesystem::remove(path);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    GameDir Dir() const { return GameDir(dir.path()); }
};

// The spring campaign of 1849, person against computer, fog of war on.
CampaignChoices Spring() {
    CampaignChoices c;
    c.fogOfWar = 1;
    return c;
}

void Menu(State& st) {
    st.DataSet = 1;
    st.Language = 1;
}

Bytes Damaged(Bytes bytes) {
    bytes[bytes.size() / 2] ^= 0x40;
    return bytes;
}

TEST(LoadSavedGame, ABadFileCostsTheRunningGameNothing) {
    TestGame t;
    Menu(t.st());
    StartNewGame(t.g(), 1, testing::kTestSeed, 3, Spring());
    AddLogEntry(t.g(), 1, 0, kLogKindRules, "Görgei átkel a Tiszán", kColourWhite);
    const Bytes good = SaveGameBytes(t.st());
    const std::uint64_t running = FullStateHash(t.st());
    const struct {
        const char* what;
        Bytes bytes;
    } bad[] = {{"cut short", Bytes(good.begin(), good.begin() + 900)},
               {"a value changed", Damaged(good)},
               {"empty", Bytes{}}};
    for (const auto& b : bad) {
        SCOPED_TRACE(b.what);
        EXPECT_THROW(LoadSavedGame(t.g(), 1, testing::kTestSeed, b.bytes, "save\\rossz.sav"), DataError);
        EXPECT_EQ(FullStateHash(t.st()), running);
    }
    // The screens' load says what went wrong once, and the game goes on as it was.
    std::ofstream(t.ownDir->path() / "save" / "rossz.sav", std::ios::binary)
        .write(reinterpret_cast<const char*>(good.data()), 1000);
    t.screen.Clear();
    EXPECT_FALSE(TryLoadGame(t.g(), "save\\rossz.sav", testing::kTestSeed));
    EXPECT_EQ(t.screen.Texts(HeadlessPresentation::Kind::Error),
              std::vector<std::string>{"Corrupt file / Hibás file! save\\rossz.sav"});
    EXPECT_FALSE(TryLoadGame(t.g(), "save\\nincs.sav", testing::kTestSeed));
    EXPECT_EQ(t.screen.Count(HeadlessPresentation::Kind::Error), 2);
    EXPECT_EQ(FullStateHash(t.st()), running);
    EXPECT_EQ(t.st().Logs[1].Count, 1) << "the running game's log is still there";
}

TEST(LoadSavedGame, NothingOfTheGameThatRanBeforeSurvives) {
    TestGame fresh;
    Menu(fresh.st());
    StartNewGame(fresh.g(), 1, testing::kTestSeed, 0, CampaignChoices{.difficulty = kTutorialDifficulty});
    const Bytes saved = SaveGameBytes(fresh.st());
    LoadSavedGame(fresh.g(), 1, testing::kTestSeed, saved, "save\\oktato.sav");

    // The same file loaded where a game has been played for a while.
    TestGame used;
    Menu(used.st());
    StartNewGame(used.g(), 1, 99, 4, Spring());
    State& st = used.st();
    for (int i = 0; i < 5; ++i)
        AddLogEntry(used.g(), 1, 0, kLogKindRules, "a line of the earlier game", kColourWhite);
    FeedTutorialText(used.g());
    st.HistoricalEventIndex = 2;
    st.ReconTargetCount = 3;
    st.ReconTargets[1] = TReconTarget{20, 14, 1};
    st.Cell(20, 14).ReconListed = 1;
    st.SelectedCorps = st.CorpsCount[1];
    st.SelectedCorpsSide = 1;
    LoadSavedGame(used.g(), 1, testing::kTestSeed, saved, "save\\oktato.sav");

    EXPECT_EQ(st.Logs[1].Count + st.Logs[2].Count, 0);
    EXPECT_EQ(st.Texts.TutorialCursor, 0);
    EXPECT_EQ(st.HistoricalEventIndex, 1);
    EXPECT_EQ(st.ReconTargetCount, 0);
    EXPECT_EQ(st.Cell(20, 14).ReconListed, 0);
    EXPECT_EQ(st.SelectedCorps, 0);
    EXPECT_EQ(FullStateHash(st), FullStateHash(fresh.st()))
        << "the loaded game is the one a fresh program loads";
    EXPECT_EQ(Joined(CheckInvariants(st)), "");
}

TEST(StartNewGame, ABrokenStartFileCostsTheRunningGameNothing) {
    OwnDataDir data;
    TestGame started;
    Menu(started.st());
    StartNewGame(started.g(), 1, testing::kTestSeed, 2, Spring());
    data.Replace("kampany12.dat", Damaged(SaveGameBytes(started.st())));

    TestGame t(data.Dir());
    Menu(t.st());
    StartNewGame(t.g(), 1, testing::kTestSeed, 3, Spring());
    const std::uint64_t running = FullStateHash(t.st());
    EXPECT_THROW(StartNewGame(t.g(), 1, testing::kTestSeed, 2, Spring()), DataError);
    EXPECT_EQ(FullStateHash(t.st()), running);

    // The campaign stage on its own: the reinforcements, the difficulty and the cities it
    // changes before the start file is read stay as they were too.
    TestGame u(data.Dir());
    Menu(u.st());
    SetUpGame(u.g(), 1, testing::kTestSeed);
    u.st().Campaign = 3;
    u.st().Reinforcements[4].Arrived = 1;
    u.st().Difficulty = 3;
    const std::uint64_t setUp = FullStateHash(u.st());
    EXPECT_THROW(StartCampaign(u.g(), 1, 2, CampaignChoices{.difficulty = 1}), DataError);
    EXPECT_EQ(FullStateHash(u.st()), setUp);
    EXPECT_EQ(u.st().Difficulty, 3);
    EXPECT_EQ(u.st().Reinforcements[4].Arrived, 1);
}

// A start file with works on hexes where no corps stands: the campaign start levels them,
// builders and marks with them.
TEST(StartCampaign, WorksWithoutACorpsAreLevelledWithTheirMarks) {
    OwnDataDir data;
    TestGame source;
    Menu(source.st());
    StartNewGame(source.g(), 1, testing::kTestSeed, 2, Spring());
    State& s = source.st();
    const THad& held = s.Corps[1][1];
    s.Cell(held.X, held.Y).Entrenchment = 2;
    s.Cell(held.X, held.Y).EntrenchmentSide = 1;
    s.Cell(30, 30).Entrenchment = 1;
    s.Cell(30, 30).EntrenchmentSide = 2;
    ASSERT_EQ(s.Cell(30, 30).CorpsCount, 0);
    s.Campaign = 2;
    data.Replace("kampany12.dat", SaveGameBytes(s));

    TestGame t(data.Dir());
    Menu(t.st());
    StartNewGame(t.g(), 1, testing::kTestSeed, 2, Spring());
    const State& st = t.st();
    EXPECT_EQ(st.Cell(30, 30).Entrenchment, 0);
    EXPECT_EQ(st.Cell(30, 30).EntrenchmentSide, 0);
    EXPECT_EQ(st.Cell(held.X, held.Y).Entrenchment, 2) << "works a corps holds stay";
    EXPECT_EQ(st.Cell(held.X, held.Y).EntrenchmentSide, 1);
    EXPECT_EQ(st.EntrenchmentMarkCount, CountEntrenchmentMarks(st));
    EXPECT_EQ(Joined(CheckInvariants(st)), "");
}

// A side-1 field corps of the spring campaign made fit to entrench: formation 3, its foot
// fed and fresh; `others` hexes elsewhere are entrenched.
struct EntrenchingCase {
    TestGame t;
    int corps = 0;
    explicit EntrenchingCase(int others) {
        Menu(t.st());
        StartNewGame(t.g(), 1, testing::kTestSeed, 3, Spring());
        State& st = t.st();
        for (int c = 1; c <= st.CorpsCount[1] && corps == 0; ++c)
            if (st.Corps[1][c].Garrison == 0 && st.Corps[1][c].InfantryMen >= 3000 &&
                CityAt(st, st.Corps[1][c].X, st.Corps[1][c].Y) == 0)
                corps = c;
        THad& h = st.Corps[1][corps];
        h.Formation = 3;
        for (int i = 1; i <= h.UnitCount; ++i) {
            TEzred& e = st.Regiments[1][h.Units[i]];
            e.Supply = 100;
            e.Readiness = 100;
            e.MovementPoints = e.MovementAllowance = 60;
        }
        int placed = 0;
        for (int y = 1; y < st.MapMaxY && placed < others; ++y)
            for (int x = 1; x < st.MapMaxX && placed < others; ++x)
                if (st.Cell(x, y).CorpsCount == 0 && st.Cell(x, y).Terrain < 4) {
                    st.Cell(x, y).Entrenchment = 1;
                    st.Cell(x, y).EntrenchmentSide = 2;
                    ++placed;
                }
    }
    const THad& Loaded() {
        LoadSavedGame(t.g(), 1, testing::kTestSeed, SaveGameBytes(t.st()), "save\\sanc.sav");
        return t.st().Corps[1][corps];
    }
};

TEST(LoadSavedGame, TheMarksAreCountedBeforeAnyCorpsIsRecomputed) {
    EntrenchingCase few(79);
    ASSERT_NE(few.corps, 0);
    EXPECT_EQ(few.Loaded().CanEntrench, 1) << "79 marks leave room for works";
    EXPECT_EQ(few.t.st().EntrenchmentMarkCount, 79);

    EntrenchingCase many(85);
    EXPECT_EQ(many.Loaded().CanEntrench, 0) << "with 85 marks on the map no corps may entrench";
    EXPECT_EQ(many.t.st().EntrenchmentMarkCount, 85);
    EXPECT_EQ(Joined(CheckInvariants(many.t.st())), "");
}

// The saved state of a started spring campaign, with one change, as a file.
Bytes SpringSaveWith(const std::function<void(State&)>& change) {
    TestGame t;
    Menu(t.st());
    StartNewGame(t.g(), 1, testing::kTestSeed, 3, Spring());
    change(t.st());
    return SaveGameBytes(t.st());
}

TEST(LoadSavedGame, BrokenCrossReferencesAreRefused) {
    const struct {
        const char* what;
        std::function<void(State&)> change;
        const char* reason;
    } cases[] = {
        {"two corps under one general", [](State& s) { s.Corps[1][2].General = s.Corps[1][1].General; },
         "leads corps 1 and 2"},
        {"a corps without a general", [](State& s) { s.Corps[2][1].General = 0; },
         "corps 1 of side 2 has no general"},
        {"a garrison that is not one",
         [](State& s) {
             for (int c = 1; c <= kCityCount; ++c)
                 if (s.Cities[c].GarrisonCorps != 0) {
                     s.Corps[s.Cities[c].Owner][s.Cities[c].GarrisonCorps].Garrison = 0;
                     return;
                 }
         },
         "is not a garrison"},
        {"a garrison elsewhere",
         [](State& s) {
             for (int c = 1; c <= kCityCount; ++c)
                 if (s.Cities[c].Kind == 3 && s.Cities[c].Owner == 1) {
                     for (int k = 1; k <= s.CorpsCount[1]; ++k)
                         if (s.Corps[1][k].X != s.Cities[c].X || s.Corps[1][k].Y != s.Cities[c].Y) {
                             s.Cities[c].GarrisonCorps = k;
                             return;
                         }
                 }
         },
         "does not stand on it"},
        {"a garrison beyond the owner's corps",
         [](State& s) {
             for (int c = 1; c <= kCityCount; ++c)
                 if (s.Cities[c].Kind == 3 && s.Cities[c].Owner == 2) {
                     s.Cities[c].GarrisonCorps = s.CorpsCount[2] + 1;
                     return;
                 }
         },
         "is not a corps of its owner"},
        {"fifty-one regiments in a corps",
         [](State& s) {
             for (int r = 1; r <= 51; ++r) s.Regiments[1][r].Corps = 1;
         },
         "51 regiments name corps 1 of side 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes bytes = SpringSaveWith(c.change);
        TestGame t;
        Menu(t.st());
        try {
            LoadSavedGame(t.g(), 1, testing::kTestSeed, bytes, "save\\rossz.sav");
            ADD_FAILURE() << "accepted";
        } catch (const DataError& e) {
            EXPECT_NE(e.reason().find(c.reason), std::string::npos) << e.reason();
            EXPECT_EQ(e.PlayerMessage(), "Corrupt file / Hibás file! save\\rossz.sav");
        }
    }
    // Fifty are the rules' own limit and load.
    TestGame t;
    Menu(t.st());
    const Bytes fifty = SpringSaveWith([](State& s) {
        for (int r = 1; r <= 50; ++r) s.Regiments[1][r].Corps = 1;
    });
    ASSERT_NO_THROW(LoadSavedGame(t.g(), 1, testing::kTestSeed, fifty, "save\\otven.sav"));
    EXPECT_EQ(t.st().Corps[1][1].UnitCount, 50);
    EXPECT_EQ(Joined(CheckInvariants(t.st())), "");
}

TEST(LoadSavedGame, EveryCorpsTakesItsGeneralAndAPersonsRosterIsToppedUp) {
    // Side 1, a person's, with only its commanders available: thirty generals are added on the
    // load (class 1, no draw); side 2, the computer's, gets none.
    int saved1 = 0, corps1 = 0;
    const Bytes shortRoster = SpringSaveWith([&](State& s) {
        s.GeneralCount[1] = kShippedGeneralCount1; // none created yet
        for (int g = 1; g <= s.GeneralCount[1]; ++g) s.Generals[1][g].Available = s.Generals[1][g].Corps != 0;
        s.Corps[1][1].ReconLevel = 2;
        s.Corps[1][1].EstimateError = -27;
        saved1 = s.GeneralCount[1];
        corps1 = s.CorpsCount[1];
    });
    ASSERT_LT(corps1 + 30, 200);
    TestGame t;
    Menu(t.st());
    LoadSavedGame(t.g(), 1, testing::kTestSeed, shortRoster, "save\\keves.sav");
    const State& st = t.st();
    EXPECT_EQ(st.GeneralCount[1], saved1 + 30);
    EXPECT_EQ(st.GeneralCount[2], kShippedGeneralCount2);
    for (int g = saved1 + 1; g <= st.GeneralCount[1]; ++g) {
        EXPECT_EQ(st.Generals[1][g].Nation, 1);
        EXPECT_EQ(st.Generals[1][g].Available, 1);
        EXPECT_EQ(st.Generals[1][g].Corps, 0);
    }
    for (int side = 1; side <= 2; ++side)
        for (int c = 1; c <= st.CorpsCount[side]; ++c)
            EXPECT_EQ(st.Generals[side][st.Corps[side][c].General].Corps, c) << side << "/" << c;
    EXPECT_EQ(st.Corps[1][1].EstimateError, -27) << "the saved estimate's error is kept";
    EXPECT_EQ(Joined(CheckInvariants(st)), "");

    // The same roster of a side the computer plays is left alone, and so is one of 200.
    TestGame u;
    Menu(u.st());
    const Bytes computers = SpringSaveWith([&](State& s) {
        s.GeneralCount[1] = kShippedGeneralCount1;
        for (int g = 1; g <= s.GeneralCount[1]; ++g) s.Generals[1][g].Available = s.Generals[1][g].Corps != 0;
        s.PlayerType[1] = 2;
    });
    LoadSavedGame(u.g(), 1, testing::kTestSeed, computers, "save\\gep.sav");
    EXPECT_EQ(u.st().GeneralCount[1], saved1);
    const Bytes full = SpringSaveWith([&](State& s) {
        for (int g = s.GeneralCount[1] + 1; g <= 200; ++g) s.Generals[1][g].Nation = 1;
        s.GeneralCount[1] = 200;
        for (int g = 1; g <= 200; ++g) s.Generals[1][g].Available = s.Generals[1][g].Corps != 0;
    });
    LoadSavedGame(u.g(), 1, testing::kTestSeed, full, "save\teli.sav");
    EXPECT_EQ(u.st().GeneralCount[1], 200);
}

} // namespace
} // namespace vezer
