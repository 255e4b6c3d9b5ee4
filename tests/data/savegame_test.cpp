#include "core/errors.h"
#include "core/fingerprint.h"
#include "data/save_samples.h"
#include "campaign/load_game.h"
#include "files/savegame.h"
#include "orders/orders.h"
#include "fuzz/save_layout.h"
#include "support/test_game.h"
#include "turn/turn.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <functional>
#include <memory>

namespace vezer {
namespace {

using testing::FillSampleGame;
using testing::MakeEmailGame;
using testing::PrepareSetUpState;

constexpr const char* kName = "save\\test.sav";

// Offsets of a save, in 32-bit values.
constexpr int kInterventionAt = 8;
constexpr int kFirstRegimentAt = 35;  // 7 + 5 + 2 + 3 + 8 + 2 x 5
constexpr int kPackedMovementAt = 15; // within a regiment

std::vector<std::int32_t> Ints(const Bytes& bytes) {
    BinaryReader in(bytes, "ints");
    std::vector<std::int32_t> v;
    while (in.Remaining() >= 4) v.push_back(in.ReadInt());
    return v;
}

Bytes FromInts(const std::vector<std::int32_t>& ints) {
    BinaryWriter out;
    for (std::int32_t v : ints) out.WriteInt(v);
    return out.bytes();
}

std::unique_ptr<State> SetUpState() {
    auto st = std::make_unique<State>();
    PrepareSetUpState(*st);
    return st;
}

std::unique_ptr<State> SampleGame(bool email = false) {
    auto st = SetUpState();
    FillSampleGame(*st);
    if (email) MakeEmailGame(*st);
    return st;
}

// Reads a save into a freshly set-up state, as the loader's first stage does.
std::unique_ptr<State> Read(const Bytes& bytes) {
    auto st = SetUpState();
    ReadSaveInto(*st, bytes, kName, [](State&) {});
    return st;
}

// Reads many damaged files into one set-up state: the reader writes only saved fields, and
// the checks read only those and the set-up's, so the state need not be fresh for each.
class Stager {
public:
    Stager() : st_(SetUpState()) {}
    void ExpectRefused(const Bytes& bytes, const std::string& context) {
        EXPECT_THROW(ReadSaveInto(*st_, bytes, kName, [](State&) {}), DataError) << context;
    }
    void ExpectAccepted(const Bytes& bytes, const std::string& context) {
        EXPECT_NO_THROW(ReadSaveInto(*st_, bytes, kName, [](State&) {})) << context;
    }

private:
    std::unique_ptr<State> st_;
};

void ExpectRefused(const Bytes& bytes, const std::string& context) {
    Stager().ExpectRefused(bytes, context);
}

TEST(SaveFormat, PacksTheInterventionsIntoOneValue) {
    auto st = SampleGame(); // full Russian, limited Polish intervention
    std::vector<std::int32_t> ints = Ints(SaveGameBytes(*st));
    EXPECT_EQ(ints[kInterventionAt], 12);
    auto back = Read(FromInts(ints));
    EXPECT_EQ(back->RussianIntervention, 2);
    EXPECT_EQ(back->PolishIntervention, 1);
}

TEST(SaveFormat, PacksMovementPointsWithMovementUsed) {
    auto st = SampleGame(); // the first regiment has 37 points left and 55 spent
    std::vector<std::int32_t> ints = Ints(SaveGameBytes(*st));
    EXPECT_EQ(ints[kFirstRegimentAt + kPackedMovementAt], 55037);
    auto back = Read(FromInts(ints));
    EXPECT_EQ(back->Regiments[1][1].MovementPoints, 37);
    EXPECT_EQ(back->Regiments[1][1].MovementUsed, 55);
}

TEST(SaveFormat, AnEmailSaveIsReadAsTheOtherPlayersMachine) {
    struct Case {
        int localSide;
        int expectedLocal;
    } cases[] = {{1, 2}, {2, 1}};
    for (const Case& c : cases) {
        auto st = SampleGame(true);
        st->LocalSide = c.localSide;
        st->LocalOtherSide = 3 - c.localSide;
        std::vector<std::int32_t> ints = Ints(SaveGameBytes(*st));
        EXPECT_EQ(ints[0], 101);
        EXPECT_EQ(st->DataSet, 1) << "the state keeps its data set while the save is written";
        auto back = Read(FromInts(ints));
        EXPECT_EQ(back->DataSet, 1);
        EXPECT_EQ(back->PbemGame, 1);
        EXPECT_EQ(back->LocalSide, c.expectedLocal);
        EXPECT_EQ(back->LocalOtherSide, 3 - c.expectedLocal);
        // An e-mail save brings its chance cursor with it.
        EXPECT_EQ(back->RandPos, st->RandPos);
        EXPECT_EQ(back->Password[1].view(), "kossuth");
        EXPECT_EQ(back->Password[2].view(), "Ferenc József");
    }
}

TEST(SaveFormat, AnOrdinarySaveKeepsTheChanceCursorOfTheSetUp) {
    auto st = SampleGame();
    const Bytes bytes = SaveGameBytes(*st);
    auto staged = SetUpState();
    staged->RandPos = 17;
    staged->RandStep = 3;
    ReadSaveInto(*staged, bytes, kName, [](State&) {});
    EXPECT_EQ(staged->RandPos, 17);
    EXPECT_EQ(staged->RandStep, 3);
}

TEST(SaveFormat, ScramblesPasswordsWithTheCursorWrittenBeforeThem) {
    auto st = SampleGame(true);
    st->RandPos = 500;
    st->RandStep = 7;
    st->PasswordSet = {0, 0, 1};
    st->Password[2] = "abc";
    std::vector<std::int32_t> ints = Ints(SaveGameBytes(*st));
    const std::vector<std::int32_t> tail(ints.end() - 8, ints.end());
    EXPECT_EQ(tail, (std::vector<std::int32_t>{500, 7, 0, 1, 3, 'a' + 507, 'b' + 507, 'c' + 507}));
    auto back = Read(FromInts(ints));
    EXPECT_EQ(back->Password[2].view(), "abc");
    EXPECT_EQ(back->PasswordLength[2], 3);
}

TEST(SaveFormat, NegativeValuesAndAnEntrenchmentWithoutCorpsComeBack) {
    auto st = SampleGame();
    auto back = Read(SaveGameBytes(*st));
    EXPECT_EQ(back->Corps[1][1].ObjectiveX, -1);
    EXPECT_EQ(back->Corps[1][2].LastBattleResult, -2);
    EXPECT_EQ(back->Corps[2][1].EstimateError, -15);
    EXPECT_EQ(back->Corps[1][1].AiMemory[18], -7);
    EXPECT_EQ(back->RecruitPenaltyWeeks, -1);
    EXPECT_EQ(back->Cell(5, 5).Entrenchment, 2);
    EXPECT_EQ(back->Cell(5, 5).EntrenchmentSide, 2);
}

TEST(SaveFormat, ReadingNormalisesReconLevelAndCaptureCounter) {
    auto st = SampleGame();
    auto back = Read(SaveGameBytes(*st));
    EXPECT_EQ(back->Corps[1][2].ReconLevel, 3);    // 13 was saved
    EXPECT_EQ(back->Cities[11].CaptureCounter, 1); // 0 divides a city's supply
    EXPECT_EQ(back->Cities[9].CaptureCounter, 4);
}

TEST(SaveFormat, ASaveReadBackWritesTheSameBytes) {
    // Reading normalises a few values, and an e-mail save changes sides at every reading, so
    // the comparison is between the first and the third reading.
    for (bool email : {false, true}) {
        auto st = SampleGame(email);
        auto first = Read(SaveGameBytes(*st));
        const Bytes once = SaveGameBytes(*first);
        auto third = Read(SaveGameBytes(*Read(once)));
        EXPECT_EQ(SaveGameBytes(*third), once) << "email " << email;
        EXPECT_EQ(FullStateHash(*third), FullStateHash(*first)) << "email " << email;
    }
}

// A small game whose values send the running sum across zero between the reduction points,
// so that a reduction left out, or one made where the format makes none, changes the result.
// The expected sums were worked out by hand from the format's reduction points.
std::unique_ptr<State> ChecksumGame(bool tuned) {
    auto st = std::make_unique<State>();
    State& s = *st;
    s.DataSet = 1;
    s.Campaign = 2;
    s.Language = 2;
    s.ActiveSide = s.LocalSide = 1;
    s.OtherSide = s.LocalOtherSide = 2;
    s.FogOfWar = 1;
    s.RussianIntervention = 2;
    s.PolishIntervention = 1;
    s.KeepReinforcementDates = 1;
    s.Difficulty = 2;
    s.RecruitPenaltyWeeks = -1;
    s.RecruitPenaltyTurns = 5;
    s.Year = 1849;
    s.Month = 3;
    s.Week = 2;
    s.RiverState = 1;
    s.DanubeState = 2;
    s.GroundState = 3;
    s.Temperature = 2;
    s.Weather = 3;
    s.PrevTemperature = 2;
    s.PrevWeather = 1;
    s.PrevGround = 1;
    s.PlayerType = {0, 1, 2};
    s.CorpsCount = {0, 1, 0};
    s.RegimentCount = {0, 1, 0};
    s.GeneralCount = s.InitialGeneralCount = {0, 1, 0};
    s.Zeal = {0, 70, 60};
    s.MapMaxX = s.MapMaxY = 0;
    s.TypeCount = 1;
    s.RandPos = s.RandStep = 1;
    auto free = [&](int value) { return tuned ? value : 0; };

    TEzred& e = s.Regiments[1][1];
    e.Type = e.Arm = e.Ordinal = e.Corps = e.Nation = e.BattleLine = 1;
    e.CorpsFormation = 2;
    // Summed within the regiment, where no check looks at them.
    e.ExperienceBuildUp = -1000 + free(-745);
    e.MovementPoints = 37;
    e.MovementUsed = 55;

    THad& h = s.Corps[1][1];
    h.General = 1;
    h.ActivityWeeks = free(-2336);
    h.MovementPoints = free(2707);
    h.Formation = h.Tactic = 2;
    h.UnitCount = 1;
    h.EstimatedCavalry = free(-1692);
    h.MarkerArm = free(77);
    h.Nation = 1;
    h.LastBattleResult = -2;
    h.LastBattleEnemyStrength = free(2480);
    h.ObjectiveX = h.ObjectiveY = -1;
    h.EstimateError = free(-79);
    h.AiMemory[1] = free(-1293);
    h.AiMemory[18] = free(272);
    s.Generals[1][1].Available = free(-1337);
    s.Generals[1][1].Nation = 1;

    s.Cities[1].Owner = s.Cities[1].FlagClass = s.Cities[1].CaptureCounter = 1;
    s.Cities[1].RecruitWeeksLeft = free(1667);
    s.Cell(0, 0).Entrenchment = s.Cell(0, 0).EntrenchmentSide = 1;
    s.Reinforcements[1].Arrived = free(-2092);
    s.EngagementsWon = {0, free(622), free(-1094)};
    s.BattlesWon = {0, free(1767), 0};
    s.BattlePoints = {0, free(-3076), free(2844)};
    s.Losses[1] = {0, free(2289), free(1126), free(-2345)};
    s.Losses[2] = {0, free(-2464), 0, free(4953)};
    s.DrawnEngagements = free(-776);
    s.DrawnBattles = free(-5000);
    s.Types[1].RecruitWeeks = free(2440);
    return st;
}

TEST(SaveFormat, ChecksumReducesAtTheFixedPoints) {
    struct Case {
        bool tuned;
        int expected;
    } cases[] = {
        // Blocks 1 to 6 sum to 2036 unreduced; the regiment takes it to 1081 (-919 had they been reduced).
        {false, 1090},
        // Every reduction point of the format decides the sign of the sum that follows it.
        {true, -1995},
    };
    for (const Case& c : cases) {
        auto st = ChecksumGame(c.tuned);
        const std::vector<std::int32_t> ints = Ints(SaveGameBytes(*st));
        ASSERT_GE(ints.size(), 3u);
        EXPECT_EQ(ints[ints.size() - 3], c.expected) << "tuned " << c.tuned;
        // And the reader, reducing at the same points, accepts it.
        auto staged = std::make_unique<State>();
        staged->MapMaxX = staged->MapMaxY = 0;
        staged->TypeCount = 1;
        staged->InitialGeneralCount = {0, 1, 0};
        EXPECT_NO_THROW(ReadSaveInto(*staged, FromInts(ints), kName, [](State&) {})) << "tuned " << c.tuned;
    }
}

TEST(SaveFormat, EveryDamagedValueBeforeTheCursorIsRefused) {
    for (bool email : {false, true}) {
        auto st = SampleGame(email);
        const std::vector<std::int32_t> ints = Ints(SaveGameBytes(*st));
        // After the checksum: the cursor pair, and in the e-mail save the two password flags
        // and the passwords "kossuth" and "Ferenc József" with their lengths.
        const std::size_t after = email ? 2 + 2 + (1 + 7) + (1 + 13) : 2;
        const std::size_t checksumAt = ints.size() - after - 1;
        ASSERT_EQ(ints[checksumAt + 1], st->RandPos);
        // The entrenchment block is one loop over 2 268 hexes: its first and last columns and
        // every seventh hex between stand for it, to keep the test quick under the sanitizers.
        std::vector<bool> skip(ints.size(), false);
        for (const fuzz::CheckedValue& v : fuzz::ReadSaveLayout(ints).checked)
            if (v.record != nullptr && std::string(v.record) == "hex")
                skip[v.at] = v.index != 0 && v.index != 62 && v.at % 7 != 0;
        Stager stager;
        std::vector<std::int32_t> damaged = ints;
        // The e-mail save differs from the plain one in its header and its trailer only.
        for (std::size_t i = 0; i <= checksumAt; ++i) {
            if (skip[i] || (email && i >= 12 && i != checksumAt)) continue;
            damaged[i] += 1;
            stager.ExpectRefused(FromInts(damaged),
                                 "value " + std::to_string(i) + (email ? " of the e-mail save" : ""));
            damaged[i] -= 1;
        }
    }
}

TEST(SaveFormat, AFileCutBeforeItsChecksumOrInsideTheEmailTrailerIsRefused) {
    Stager stager;
    const std::vector<Bytes> saves = testing::SampleSaves();
    for (std::size_t i = 0; i < saves.size(); ++i) {
        const Bytes& save = saves[i];
        ASSERT_NO_THROW(Read(save));
        const bool email = i == 2;
        // Where the checksum ends: before the cursor pair, and the e-mail save's flags and passwords.
        const std::size_t end = save.size() - 4 * (email ? 2 + 2 + (1 + 7) + (1 + 13) : 2);
        for (std::size_t n = 0; n < save.size(); n += 4) {
            // The new game is cut everywhere; the other two, whose bodies share its layout, in
            // their records and from the end of the entrenchments on (a start file of the
            // campaigns is cut at every value in the damaged-save tests).
            if (i > 0 && n >= 1024 && n + 1024 < end) continue;
            const Bytes cut(save.begin(), save.begin() + static_cast<std::ptrdiff_t>(n));
            if (n < end || (email && n > end))
                stager.ExpectRefused(cut, "save " + std::to_string(i) + " cut at " + std::to_string(n));
            else
                stager.ExpectAccepted(cut, "save " + std::to_string(i) + " cut at " + std::to_string(n));
        }
        ExpectRefused(Bytes(save.begin(), save.begin() + static_cast<std::ptrdiff_t>(end) - 1), "one byte short");
    }
}

TEST(SaveFormat, APlainSaveIsReadUpToItsChecksum) {
    // The cursor pair after the checksum is the e-mail game's: a plain save keeps the cursor of
    // the set-up whether the pair is there, damaged, missing or followed by more.
    const std::vector<std::int32_t> ints = Ints(SaveGameBytes(*SampleGame()));
    const std::vector<std::int32_t> body(ints.begin(), ints.end() - 2);
    std::vector<std::int32_t> damagedCursor = ints;
    damagedCursor[ints.size() - 2] = 0;
    damagedCursor[ints.size() - 1] = INT_MAX;
    std::vector<std::int32_t> longer = ints;
    longer.push_back(7);
    auto readWithCursor = [](const std::vector<std::int32_t>& file) {
        auto staged = SetUpState();
        staged->RandPos = 17;
        staged->RandStep = 3;
        ReadSaveInto(*staged, FromInts(file), kName, [](State&) {});
        return staged;
    };
    const std::uint64_t whole = FullStateHash(*readWithCursor(ints));
    for (const auto& file : {body, damagedCursor, longer}) {
        std::unique_ptr<State> staged;
        ASSERT_NO_THROW(staged = readWithCursor(file)) << file.size();
        EXPECT_EQ(staged->RandPos, 17);
        EXPECT_EQ(staged->RandStep, 3);
        EXPECT_EQ(FullStateHash(*staged), whole) << file.size();
    }
}

TEST(SaveFormat, AnEmailSaveEndingAtItsChecksumHasNoPasswordsAndKeepsTheCursor) {
    auto st = SampleGame(true);
    std::vector<std::int32_t> ints = Ints(SaveGameBytes(*st));
    ints.resize(ints.size() - (2 + 2 + (1 + 7) + (1 + 13)));
    auto staged = SetUpState();
    staged->RandPos = 17;
    staged->RandStep = 3;
    staged->PasswordSet = {0, 1, 1}; // left over from a game before
    staged->Password[1] = "old";
    ReadSaveInto(*staged, FromInts(ints), kName, [](State&) {});
    EXPECT_EQ(staged->PbemGame, 1);
    EXPECT_EQ(staged->RandPos, 17);
    EXPECT_EQ(staged->RandStep, 3);
    EXPECT_EQ(staged->PasswordSet[1], 0);
    EXPECT_EQ(staged->PasswordSet[2], 0);
    EXPECT_EQ(staged->Password[1].view(), "");
}

// Setters that give one count or index of the sample game a value, keeping the rest valid.
void SetRegimentCount(State& s, int side, int n) {
    for (int r = s.RegimentCount[side] + 1; r <= std::min(n, kMaxRegiments); ++r) {
        s.Regiments[side][r] = s.Regiments[side][1];
        s.Regiments[side][r].Corps = 0;
    }
    s.RegimentCount[side] = n;
}

void SetCorpsCount(State& s, int side, int n) {
    for (int c = s.CorpsCount[side] + 1; c <= std::min(n, kMaxCorps); ++c)
        s.Corps[side][c] = s.Corps[side][1];
    for (int r = 1; r <= s.RegimentCount[side]; ++r)
        if (s.Regiments[side][r].Corps > n) s.Regiments[side][r].Corps = 0;
    s.CorpsCount[side] = n;
}

void SetGeneralCount(State& s, int side, int n) {
    for (int g = s.GeneralCount[side] + 1; g <= std::min(n, kMaxGenerals); ++g)
        s.Generals[side][g].Nation = side;
    s.GeneralCount[side] = n;
}

void SetMembers(State& s, int n) {
    SetRegimentCount(s, 1, std::max(s.RegimentCount[1], n));
    for (int r = 1; r <= std::min(s.RegimentCount[1], kMaxRegiments); ++r)
        s.Regiments[1][r].Corps = r <= n ? 2 : 0;
}

TEST(SaveFormat, CountsAndIndicesOutsideTheirTablesAreRefused) {
    struct Field {
        const char* name;
        std::function<void(State&, int)> set;
        int lo, hi;
        bool belowIsAValue = true; // whether lo - 1 is a value the save could hold
    };
    const Field fields[] = {
        {"regiment count 1", [](State& s, int v) { SetRegimentCount(s, 1, v); }, 0, 800},
        {"regiment count 2", [](State& s, int v) { SetRegimentCount(s, 2, v); }, 0, 800},
        {"corps count 1", [](State& s, int v) { SetCorpsCount(s, 1, v); }, 0, 250},
        {"corps count 2", [](State& s, int v) { SetCorpsCount(s, 2, v); }, 0, 250},
        {"general count 1", [](State& s, int v) { SetGeneralCount(s, 1, v); }, 0, 250},
        {"general count 2", [](State& s, int v) { SetGeneralCount(s, 2, v); }, 0, 250},
        {"regiments naming one corps", [](State& s, int v) { SetMembers(s, v); }, 0, 100, false},
        {"regiment Type", [](State& s, int v) { s.Regiments[2][3].Type = v, s.Regiments[2][3].Men = 8; }, 1, 15},
        {"regiment Men (a battery)", [](State& s, int v) { s.Regiments[1][5].Men = v; }, 0, 800},
        {"regiment Men", [](State& s, int v) { s.Regiments[2][1].Men = v; }, 0, 100000},
        {"regiment Readiness", [](State& s, int v) { s.Regiments[1][2].Readiness = v; }, 0, 200},
        {"regiment Experience", [](State& s, int v) { s.Regiments[1][3].Experience = v; }, 0, 200},
        {"regiment Morale", [](State& s, int v) { s.Regiments[2][4].Morale = v; }, 0, 200},
        {"regiment Supply", [](State& s, int v) { s.Regiments[2][2].Supply = v; }, 0, 200},
        {"regiment Arm", [](State& s, int v) { s.Regiments[1][2].Arm = v; }, 1, 3},
        {"regiment Corps", [](State& s, int v) { s.Regiments[1][4].Corps = v; }, 0, 3},
        {"regiment CorpsFormation", [](State& s, int v) { s.Regiments[1][1].CorpsFormation = v; }, 0, 7},
        {"regiment Nation", [](State& s, int v) { s.Regiments[2][1].Nation = v; }, 1, 11},
        {"corps General", [](State& s, int v) { s.Corps[1][1].General = v; }, 0, 44},
        {"corps General (roster)", [](State& s, int v) { s.Corps[2][2].General = v; }, 0, 61},
        {"corps X", [](State& s, int v) { s.Corps[2][1].X = v; }, 0, 62},
        {"corps Y", [](State& s, int v) { s.Corps[1][2].Y = v; }, 0, 35},
        {"corps Direction", [](State& s, int v) { s.Corps[1][1].Direction = v; }, 0, 5},
        {"corps Formation", [](State& s, int v) { s.Corps[1][1].Formation = v; }, 1, 7},
        {"corps Tactic", [](State& s, int v) { s.Corps[2][2].Tactic = v; }, 1, 3},
        {"corps UnitCount", [](State& s, int v) { s.Corps[1][3].UnitCount = v; }, 0, 100},
        {"corps Activity", [](State& s, int v) { s.Corps[1][1].Activity = v; }, 0, 30},
        {"corps Nation", [](State& s, int v) { s.Corps[2][1].Nation = v; }, 0, 11},
        {"corps Garrison", [](State& s, int v) { s.Corps[1][2].Garrison = v; }, 0, 1},
        {"corps SuperiorCorps", [](State& s, int v) { s.Corps[1][2].SuperiorCorps = v; }, 0, 250},
        {"corps TargetCorps", [](State& s, int v) { s.Corps[2][1].TargetCorps = v; }, 0, 250},
        {"corps GuardCorps", [](State& s, int v) { s.Corps[1][1].GuardCorps = v; }, 0, 250},
        {"corps LastCityObjective", [](State& s, int v) { s.Corps[1][1].LastCityObjective = v; }, 0, 100},
        {"roster general Nation", [](State& s, int v) { s.Generals[1][7].Nation = v; }, 0, 11},
        {"created general Nation", [](State& s, int v) { s.Generals[1][43].Nation = v; }, 1, 9},
        {"city Owner", [](State& s, int v) { s.Cities[4].Owner = v; }, 0, 3},
        {"city FlagClass", [](State& s, int v) { s.Cities[75].FlagClass = v; }, 0, 11},
        {"city GarrisonCorps", [](State& s, int v) { s.Cities[5].GarrisonCorps = v; }, 0, 250},
        {"city RecruitType", [](State& s, int v) { s.Cities[1].RecruitType = v; }, 0, 15},
        {"Month", [](State& s, int v) { s.Month = v; }, 1, 12},
        {"Week", [](State& s, int v) { s.Week = v; }, 1, 4},
        {"Temperature", [](State& s, int v) { s.Temperature = v; }, 1, 3},
        {"Weather", [](State& s, int v) { s.Weather = v; }, 1, 4},
        {"GroundState", [](State& s, int v) { s.GroundState = v; }, 1, 4},
        {"RiverState", [](State& s, int v) { s.RiverState = v; }, 1, 4},
        {"DanubeState", [](State& s, int v) { s.DanubeState = v; }, 1, 4},
        {"PrevTemperature", [](State& s, int v) { s.PrevTemperature = v; }, 0, 3},
        {"PrevWeather", [](State& s, int v) { s.PrevWeather = v; }, 0, 4},
        {"PrevGround", [](State& s, int v) { s.PrevGround = v; }, 0, 4},
        {"ActiveSide", [](State& s, int v) { s.ActiveSide = v, s.OtherSide = 3 - v; }, 1, 2},
        {"LocalSide", [](State& s, int v) { s.LocalSide = v, s.LocalOtherSide = 3 - v; }, 1, 2},
        {"PlayerType 1", [](State& s, int v) { s.PlayerType[1] = v; }, 1, 3},
        {"PlayerType 2", [](State& s, int v) { s.PlayerType[2] = v; }, 1, 3},
        {"Campaign", [](State& s, int v) { s.Campaign = v; }, 0, 6},
        {"FogOfWar", [](State& s, int v) { s.FogOfWar = v; }, 0, 1},
        {"RussianIntervention", [](State& s, int v) { s.RussianIntervention = v; }, 0, 2},
        {"KeepReinforcementDates", [](State& s, int v) { s.KeepReinforcementDates = v; }, 0, 1},
        {"Entrenchment", [](State& s, int v) { s.Cell(62, 35).Entrenchment = v; }, 0, 2},
        {"EntrenchmentSide", [](State& s, int v) { s.Cell(0, 0).EntrenchmentSide = v; }, 0, 2},
        {"RandPos of an e-mail save", [](State& s, int v) { MakeEmailGame(s), s.RandPos = v; }, 1, 10000},
        {"RandStep of an e-mail save", [](State& s, int v) { MakeEmailGame(s), s.RandStep = v; }, 1, 15},
    };
    const auto base = SampleGame();
    auto st = std::make_unique<State>();
    Stager stager;
    for (const Field& f : fields) {
        for (int v : {f.lo, f.hi}) {
            *st = *base;
            f.set(*st, v);
            stager.ExpectAccepted(SaveGameBytes(*st), std::string(f.name) + " = " + std::to_string(v));
        }
        for (long long v : {static_cast<long long>(f.lo) - 1, static_cast<long long>(f.hi) + 1,
                            static_cast<long long>(INT_MAX)}) {
            if (v < f.lo && !f.belowIsAValue) continue;
            *st = *base;
            f.set(*st, static_cast<int>(v));
            stager.ExpectRefused(SaveGameBytes(*st), std::string(f.name) + " = " + std::to_string(v));
        }
    }
}

TEST(SaveFormat, APasswordLongerThanTheGameKeepsIsRefused) {
    auto st = SampleGame(true);
    st->PasswordSet = {0, 1, 0};
    st->Password[1] = std::string(40, 'x');
    std::vector<std::int32_t> ints = Ints(SaveGameBytes(*st));
    EXPECT_NO_THROW(Read(FromInts(ints)));
    ASSERT_EQ(ints[ints.size() - 41], 40);
    ints[ints.size() - 41] = 41;
    ints.push_back(ints.back());
    ExpectRefused(FromInts(ints), "41 characters");
}

TEST(SaveFormat, OnlyDataSetOneAndTheKnownDifficultiesAreAccepted) {
    struct Case {
        int dataSet, pbem, difficulty;
        bool accepted;
    } cases[] = {{1, 0, 2, true},  {1, 1, 2, true},  {2, 0, 2, false}, {2, 1, 2, false}, {0, 0, 2, false},
                 {1, 0, 10, true}, {1, 0, 0, false}, {1, 0, 4, false}, {1, 0, 9, false}};
    for (const Case& c : cases) {
        auto st = SampleGame(c.pbem == 1);
        st->DataSet = c.dataSet;
        st->Difficulty = c.difficulty;
        if (c.accepted)
            EXPECT_NO_THROW(Read(SaveGameBytes(*st))) << c.dataSet << "/" << c.difficulty;
        else
            ExpectRefused(SaveGameBytes(*st), std::to_string(c.dataSet) + "/" + std::to_string(c.difficulty));
    }
}

// --- Files: atomic saves, and loads that change nothing when they fail --------------------

struct SaveFileTest : ::testing::Test {
    testing::TempDir dir;
    testing::TestGame t{GameDir(dir.path())};
    void SetUp() override {
        // Loading reads the static city fields from the compiled map's city files.
        std::filesystem::create_directories(dir.path() / "Data");
        for (auto& entry : std::filesystem::directory_iterator(testing::CompiledGameDir() / "Data")) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("Varos", 0) == 0 || name.rfind("Varnev", 0) == 0)
                std::filesystem::copy_file(entry.path(), dir.path() / "Data" / name);
        }
        PrepareSetUpState(t.st());
        FillSampleGame(t.st());
    }
    Bytes OnDisk(const std::string& relative) const {
        std::ifstream in(dir.path() / relative, std::ios::binary);
        return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    std::size_t FilesIn(const std::string& folder) const {
        std::size_t n = 0;
        for (auto& entry : std::filesystem::directory_iterator(dir.path() / folder))
            n += entry.is_regular_file();
        return n;
    }
};

TEST_F(SaveFileTest, ASaveInterruptedAtAnyByteLeavesThePreviousFile) {
    SaveGame(t.g(), kQuickSaveFile);
    const Bytes previous = OnDisk("save/gyorsmentes.sav");
    ASSERT_FALSE(previous.empty());
    t.st().Year = 1849; // a different game to save over it
    t.st().Cell(3, 3).Entrenchment = 1;
    const std::size_t size = SaveGameBytes(t.st()).size();
    // Every byte of the first and last values, and a spread of points between them.
    std::vector<std::size_t> points;
    for (std::size_t at = 0; at < size; ++at)
        if (at < 64 || at + 64 >= size || at % 997 == 0) points.push_back(at);
    for (const std::size_t at : points) {
        WriteFault fault{at};
        EXPECT_THROW(SaveGame(t.g(), kQuickSaveFile, &fault), FileIoError) << at;
        ASSERT_EQ(OnDisk("save/gyorsmentes.sav"), previous) << at;
    }
    EXPECT_EQ(FilesIn("save"), 1u) << "no temporary file is left behind";
    SaveGame(t.g(), kQuickSaveFile);
    EXPECT_EQ(OnDisk("save/gyorsmentes.sav"), SaveGameBytes(t.st()));
}

TEST_F(SaveFileTest, TheEndOfAPersonsTurnWritesBothAutomaticSaves) {
    t.st().PlayerType = {0, 1, 2};
    const Bytes expected = SaveGameBytes(t.st());
    ExecuteOrder(t.g(), TParancs{kOrderEndTurn, 0, 0, 1, 0, 0});
    EXPECT_EQ(OnDisk("save/1849_3_2.sav"), expected);
    EXPECT_EQ(OnDisk("save/korvege.sav"), expected);
}

TEST_F(SaveFileTest, AFailedSaveIsReportedAsAFailure) {
    // A file where the save folder should be: nothing can be written under it.
    std::ofstream(dir.path() / "save") << "not a folder";
    EXPECT_FALSE(TrySaveGame(t.g(), kAutoSaveFile));
    ASSERT_EQ(t.screen.Texts(HeadlessPresentation::Kind::Error).size(), 1u);
    EXPECT_EQ(t.screen.Texts(HeadlessPresentation::Kind::Error)[0], SaveFailedMessage(kAutoSaveFile));
    EXPECT_EQ(t.screen.Count(HeadlessPresentation::Kind::Message), 0);
}

TEST_F(SaveFileTest, TheSaveFolderIsCreatedWhenMissing) {
    ASSERT_TRUE(TrySaveGame(t.g(), "save\\korvege.sav"));
    EXPECT_EQ(OnDisk("save/korvege.sav"), SaveGameBytes(t.st()));
}

TEST_F(SaveFileTest, ABadFileLeavesTheRunningGameUntouched) {
    SaveGame(t.g(), kQuickSaveFile);
    const Bytes good = OnDisk("save/gyorsmentes.sav");
    LoadGame(t.g(), kQuickSaveFile);
    const std::uint64_t before = FullStateHash(t.st());
    std::vector<std::int32_t> ints = Ints(good);
    std::vector<std::int32_t> badIndex = ints;
    badIndex[kFirstRegimentAt] = 99; // regiment type 99
    std::vector<std::int32_t> badSum = ints;
    badSum[ints.size() - 3] += 1;
    const Bytes bad[] = {Bytes(good.begin(), good.begin() + 400), FromInts(badIndex), FromInts(badSum),
                         Bytes{}};
    for (const Bytes& file : bad) {
        EXPECT_THROW(LoadGameFromBytes(t.g(), file, kQuickSaveFile), DataError);
        EXPECT_EQ(FullStateHash(t.st()), before);
    }
    EXPECT_THROW(LoadGame(t.g(), "save\\nincs.sav"), FileIoError);
    EXPECT_EQ(FullStateHash(t.st()), before);
}

TEST_F(SaveFileTest, ALoadedFortressShowsTheDamageOfItsSavedStrength) {
    SaveGame(t.g(), kQuickSaveFile);
    LoadGame(t.g(), kQuickSaveFile);
    int fortress = 0;
    for (int c = 1; c <= kCityCount && fortress == 0; ++c)
        if (t.st().Cities[c].Kind == 3 && t.st().Cities[c].FortMax >= 3) fortress = c;
    ASSERT_NE(fortress, 0);
    const int full = t.st().Cities[fortress].FortMax;
    const struct {
        int strength, damage;
    } cases[] = {{full, 0}, {full - 1, 1}, {full / 3 + 1, 1}, {full / 3, 2}, {0, 2}};
    for (const auto& c : cases) {
        t.st().Cities[fortress].FortStrength = c.strength;
        t.st().FortressDamage[fortress] = -1;
        SaveGame(t.g(), kQuickSaveFile);
        LoadGame(t.g(), kQuickSaveFile);
        EXPECT_EQ(t.st().FortressDamage[fortress], c.damage) << c.strength << " of " << full;
    }
}

TEST_F(SaveFileTest, NothingOfThePreviousGameSurvivesALoad) {
    SaveGame(t.g(), kQuickSaveFile);
    LoadGame(t.g(), kQuickSaveFile);
    const std::uint64_t clean = FullStateHash(t.st());
    // Fields no save holds, left over from whatever ran before.
    t.st().Corps[1][1].ThreatPercent = 77;
    t.st().Corps[2][1].SiegeGunsAtEnemyFort = 1;
    t.st().Regiments[1][1].FoughtInBattle = 1;
    t.st().Corps[1][kMaxCorps].Name = "stale";
    LoadGame(t.g(), kQuickSaveFile);
    EXPECT_EQ(FullStateHash(t.st()), clean);
}

TEST_F(SaveFileTest, AQuickSaveIsNotedInTheLogOnlyWhenWritten) {
    struct Case {
        int network;
        const char* file;
        const char* notice;
    } cases[] = {{0, "save/gyorsmentes.sav", "Játék mentve: gyorsmentes.sav"},
                 {1, "save/multigyorsmentes.sav", "Játék mentve: multigyorsmentes.sav"}};
    for (const Case& c : cases) {
        t.st().NetworkGame = c.network;
        t.st().LocalSide = 2;
        t.st().Logs = {};
        ASSERT_TRUE(QuickSave(t.g())) << c.file;
        EXPECT_EQ(OnDisk(c.file), SaveGameBytes(t.st()));
        const EventLog& log = t.st().Logs[2];
        ASSERT_EQ(log.Count, 1) << c.file;
        EXPECT_EQ(log.Entries[0].Text.view(), c.notice);
        EXPECT_EQ(log.Entries[0].Kind, 14);
        EXPECT_EQ(log.Entries[0].Colour, 0xFFFF00);
    }
    // Nothing can be written where a file stands in for the save folder: no notice.
    std::filesystem::remove_all(dir.path() / "save");
    std::ofstream(dir.path() / "save") << "not a folder";
    t.st().Logs = {};
    EXPECT_FALSE(QuickSave(t.g()));
    EXPECT_EQ(t.st().Logs[1].Count + t.st().Logs[2].Count, 0);
    EXPECT_EQ(t.screen.Texts(HeadlessPresentation::Kind::Error).back(), SaveFailedMessage(kNetworkQuickSaveFile));
}

TEST(SaveNames, TheSettingsScreenSavesNeitherAnEmailGameNorTheTutorial) {
    auto st = SampleGame();
    EXPECT_EQ(SaveRefusal(*st), "");
    st->Campaign = 0;
    EXPECT_EQ(SaveRefusal(*st), "Oktató hadjárat esetén nem lehet menteni!");
    st->PbemGame = 1;
    EXPECT_EQ(SaveRefusal(*st), "Email-es játék esetén a mentés automatikus! (Kör vége gomb)");
}

TEST(SaveNames, OnlyPlainNamesGoIntoTheSaveFolder) {
    EXPECT_EQ(SaveFolderFile("csata.sav"), "save\\csata.sav");
    for (const char* bad : {"", "..", "../x.sav", "a/b.sav", "a\\b.sav", "..sav"})
        EXPECT_THROW(SaveFolderFile(bad), FileIoError) << bad;
    EXPECT_EQ(CampaignStartFileName(1, 6), "data\\kampany16.dat");
}

} // namespace
} // namespace vezer
