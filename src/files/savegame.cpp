#include "files/savegame.h"

#include "core/errors.h"
#include "core/field_walk.h"
#include "core/paths.h"
#include "core/log.h"
#include "core/text.h"

#include <filesystem>
#include <system_error>

#include <algorithm>
#include <climits>
#include <limits>
#include <memory>
#include <string>

namespace vezer {

namespace {

constexpr int kAny = kNoLowerBound, kAll = kNoUpperBound;

int ClampCount(int count, int capacity) {
    return std::clamp(count, 0, capacity);
}

// Bounds of a regiment's figures in a save: 100 times a full regiment of its type, and twice
// the 100 of a percentage (the readiness and experience factors of the recompute turn
// negative a little beyond that, and a negative movement allowance would not save).
constexpr int kMaxFillTimes = 100;
constexpr int kMaxPercentValue = 200;

// Blocks 1 and 2 as they lie in the file: DataSet carries the e-mail mark and the two
// interventions share one value.
struct PackedHeader {
    int dataSet = 0, campaign = 0, language = 0, activeSide = 0, otherSide = 0, localSide = 0,
        localOtherSide = 0;
    int fogOfWar = 0, intervention = 0, keepReinforcementDates = 0, difficulty = 0, reservedOption = 0;
};

PackedHeader PackHeader(const State& st) {
    auto wrapped = [](int low, int factor, int high) {
        return static_cast<int>(static_cast<std::uint32_t>(low) +
                                static_cast<std::uint32_t>(factor) * static_cast<std::uint32_t>(high));
    };
    PackedHeader h;
    h.dataSet = wrapped(st.DataSet, st.PbemGame == 1 ? kPbemDataSetOffset : 0, 1);
    h.campaign = st.Campaign;
    h.language = st.Language;
    h.activeSide = st.ActiveSide;
    h.otherSide = st.OtherSide;
    h.localSide = st.LocalSide;
    h.localOtherSide = st.LocalOtherSide;
    h.fogOfWar = st.FogOfWar;
    h.intervention = wrapped(st.RussianIntervention, 10, st.PolishIntervention);
    h.keepReinforcementDates = st.KeepReinforcementDates;
    h.difficulty = st.Difficulty;
    h.reservedOption = st.ReservedOption;
    return h;
}

// Blocks 1 and 2: the game and its options.
template <class Io, class H> void WalkHeader(Io& io, H& h) {
    io.Mark();
    io.About(nullptr);
    io.OneOf(h.dataSet, {1, 1 + kPbemDataSetOffset}, "DataSet");
    io.Field(h.campaign, 0, 6, "Campaign");
    // Part of the checksum, but the running program keeps its own language.
    io.Field(h.language, kAny, kAll, "Language");
    io.Field(h.activeSide, 1, 2, "ActiveSide");
    io.Field(h.otherSide, 3 - h.activeSide, 3 - h.activeSide, "OtherSide");
    io.Field(h.localSide, 1, 2, "LocalSide");
    io.Field(h.localOtherSide, 3 - h.localSide, 3 - h.localSide, "LocalOtherSide");
    io.Mark();
    io.Field(h.fogOfWar, 0, 1, "FogOfWar");
    io.Field(h.intervention, 0, 22, "the intervention value");
    io.Require(h.intervention % 10 <= 2, [&] {
        return "RussianIntervention is " + std::to_string(h.intervention % 10) + ", outside 0..2";
    });
    io.Field(h.keepReinforcementDates, 0, 1, "KeepReinforcementDates");
    io.OneOf(h.difficulty, {1, 2, 3, 10}, "Difficulty");
    io.Field(h.reservedOption, kAny, kAll, "ReservedOption");
}

// The generals a loaded game has once generals created in play are made again.
int GeneralsAfterLoad(const State& st, int side) {
    return std::max(st.GeneralCount[side], st.InitialGeneralCount[side]);
}

template <class Io, class S, class R> void WalkRegiment(Io& io, S& st, int side, R& e) {
    const int types = ClampCount(st.TypeCount, kMaxTypes);
    io.Field(e.Type, 1, types, "Type");
    io.Field(e.Arm, 1, 3, "Arm");
    io.Field(e.Ordinal, kAny, kAll, "Ordinal");
    io.Field(e.Corps, 0, ClampCount(st.CorpsCount[side], kMaxCorps), "Corps");
    io.Field(e.CorpsFormation, 0, kFormationCount, "CorpsFormation");
    io.Field(e.CombatValueFull, kAny, kAll, "CombatValueFull");
    io.Field(e.DefenceValue, kAny, kAll, "DefenceValue");
    io.Field(e.Nation, 1, kNationCount, "Nation");
    // The recompute multiplies these: far beyond what play gives them (at most a full
    // regiment, percentages near 100) they would overflow it.
    io.Field(e.Experience, 0, kMaxPercentValue, "Experience");
    io.Field(e.ExperienceBuildUp, kAny, kAll, "ExperienceBuildUp");
    io.Field(e.Morale, 0, kMaxPercentValue, "Morale");
    io.Field(e.Readiness, 0, kMaxPercentValue, "Readiness");
    io.Field(e.Supply, 0, kMaxPercentValue, "Supply");
    // Without the type table (the data compiler's own reading) the men are bounded below only.
    const long long full = e.Type >= 1 && e.Type <= types ? st.Types[e.Type].FullStrength : 0;
    const long long mostMen = full > 0 ? std::min<long long>(kMaxFillTimes * full, INT_MAX) : INT_MAX;
    io.Field(e.Men, 0, static_cast<int>(mostMen), "Men");
    io.Field(e.FillPercent, kAny, kAll, "FillPercent");
    // MovementPoints + 1000 x MovementUsed; the checksum sees MovementPoints alone. Neither is
    // ever negative: a negative packed value would not write back as it was read.
    io.Packed(e.MovementPoints, e.MovementUsed, 1000, "MovementPoints", "MovementUsed");
    io.Field(e.MovementAllowance, kAny, kAll, "MovementAllowance");
    io.Field(e.BattleLine, kAny, kAll, "BattleLine");
    io.Reduce();
}

template <class Io, class S, class C> void WalkCorps(Io& io, S& st, int side, C& h) {
    io.Field(h.General, 0, GeneralsAfterLoad(st, side), "General");
    io.Field(h.Activity, 0, kAbilitySlots, "Activity");
    io.Field(h.ActivityWeeks, kAny, kAll, "ActivityWeeks");
    io.Field(h.MovementPoints, kAny, kAll, "MovementPoints");
    io.Field(h.X, 0, st.MapMaxX, "X");
    io.Field(h.Y, 0, st.MapMaxY, "Y");
    io.Field(h.Direction, 0, 5, "Direction");
    io.Field(h.Formation, 1, kFormationCount, "Formation");
    io.Reduce();
    io.Field(h.Tactic, 1, kTacticCount, "Tactic");
    io.Field(h.UnitCount, 0, kCorpsUnitSlots, "UnitCount");
    io.Field(h.ReconLevel, 0, kAll, "ReconLevel");
    io.Field(h.EstimatedCavalry, kAny, kAll, "EstimatedCavalry");
    io.Field(h.EstimatedInfantry, kAny, kAll, "EstimatedInfantry");
    io.Field(h.EstimatedGuns, kAny, kAll, "EstimatedGuns");
    io.Reduce();
    io.Field(h.MarkerArm, kAny, kAll, "MarkerArm");
    io.Field(h.MarkerState, kAny, kAll, "MarkerState");
    io.Field(h.Nation, 0, kNationCount, "Nation");
    io.Field(h.Garrison, 0, 1, "Garrison");
    io.Reduce();
    io.Field(h.TurnsSinceBattle, kAny, kAll, "TurnsSinceBattle");
    io.Field(h.LastBattleResult, kAny, kAll, "LastBattleResult");
    io.Field(h.LastBattleEnemyStrength, kAny, kAll, "LastBattleEnemyStrength");
    io.Field(h.ObjectiveX, kAny, kAll, "ObjectiveX");
    io.Field(h.ObjectiveY, kAny, kAll, "ObjectiveY");
    io.Field(h.Task, kAny, kAll, "Task");
    io.Field(h.Role, kAny, kAll, "Role");
    // The computer opponent's references: a stale one is harmless, one outside the table is not.
    io.Field(h.SuperiorCorps, 0, kMaxCorps, "SuperiorCorps");
    io.Field(h.TargetCorps, 0, kMaxCorps, "TargetCorps");
    io.Field(h.GuardCorps, 0, kMaxCorps, "GuardCorps");
    io.Field(h.LastCityObjective, 0, kMaxCities, "LastCityObjective");
    io.Field(h.EstimateError, kAny, kAll, "EstimateError");
    io.Reduce();
    for (int m = 1; m <= kAiMemorySlots; ++m) io.Field(h.AiMemory[m], kAny, kAll, "AiMemory");
    io.Reduce();
}

template <class Io, class S, class T> void WalkGeneral(Io& io, S& st, int side, int g, T& t) {
    io.Field(t.Available, kAny, kAll, "Available");
    // A general created in play is created again from its nation's name class (1..3 for
    // nations 1..9).
    const bool created = g > st.InitialGeneralCount[side];
    io.Field(t.Nation, created ? 1 : 0, created ? 9 : kNationCount, "Nation");
}

template <class Io, class V> void WalkCitySave(Io& io, int types, V& v) {
    io.Field(v.Owner, 0, 3, "Owner");
    io.Field(v.FlagClass, 0, kNationCount, "FlagClass");
    io.Field(v.FortStrength, kAny, kAll, "FortStrength");
    io.Field(v.GarrisonCorps, 0, kMaxCorps, "GarrisonCorps");
    io.Field(v.RecruitType, 0, types, "RecruitType");
    io.Field(v.RecruitWeeksLeft, kAny, kAll, "RecruitWeeksLeft");
    io.Field(v.CaptureCounter, 0, kAll, "CaptureCounter");
}

// Blocks 3 to 12: everything between the header and the checksum. `S` is `const State` for
// the writer and `State` for the reader and the map, so all walk the one layout.
template <class Io, class S> void WalkBody(Io& io, S& st, const std::function<void()>& beforeCities) {
    io.Mark();
    io.Field(st.RecruitPenaltyWeeks, kAny, kAll, "RecruitPenaltyWeeks");
    io.Field(st.RecruitPenaltyTurns, kAny, kAll, "RecruitPenaltyTurns");
    io.Mark();
    io.Field(st.Year, kAny, kAll, "Year");
    io.Field(st.Month, 1, 12, "Month");
    io.Field(st.Week, 1, 4, "Week");
    io.Mark();
    io.Field(st.RiverState, 1, 4, "RiverState");
    io.Field(st.DanubeState, 1, 4, "DanubeState");
    io.Field(st.GroundState, 1, 4, "GroundState");
    io.Field(st.Temperature, 1, 3, "Temperature");
    io.Field(st.Weather, 1, 4, "Weather");
    // Last week's values are only compared, and a new campaign may not have had a last week.
    io.Field(st.PrevTemperature, 0, 3, "PrevTemperature");
    io.Field(st.PrevWeather, 0, 4, "PrevWeather");
    io.Field(st.PrevGround, 0, 4, "PrevGround");

    io.Mark();
    PerSide<int> regiments{}, corps{}, generals{};
    for (int side = 1; side <= 2; ++side) {
        io.About("side", 0, side);
        io.Field(st.PlayerType[side], 1, 3, "PlayerType");
        // A count bounds the records that follow it, so it is checked as soon as it is read.
        corps[side] = io.Count(st.CorpsCount[side], 0, kMaxCorps, "corps count");
        regiments[side] = io.Count(st.RegimentCount[side], 0, kMaxRegiments, "regiment count");
        generals[side] = io.Count(st.GeneralCount[side], 0, kMaxGenerals, "general count");
        io.Field(st.Zeal[side], kAny, kAll, "Zeal");
    }

    for (int side = 1; side <= 2; ++side) {
        io.Mark();
        for (int r = 1; r <= regiments[side]; ++r) {
            io.About("regiment", r, side);
            WalkRegiment(io, st, side, st.Regiments[side][r]);
        }
        for (int c = 1; c <= corps[side]; ++c) {
            io.About("corps", c, side);
            WalkCorps(io, st, side, st.Corps[side][c]);
        }
        for (int g = 1; g <= generals[side]; ++g) {
            io.About("general", g, side);
            WalkGeneral(io, st, side, g, st.Generals[side][g]);
        }
        io.Reduce();
    }

    beforeCities();
    io.Mark();
    const int types = ClampCount(st.TypeCount, kMaxTypes);
    for (int c = 1; c <= kCityCount; ++c) {
        io.About("city", c);
        WalkCitySave(io, types, st.Cities[c]);
    }
    io.Reduce();

    // Column by column, unlike the terrain file.
    io.Mark();
    const int maxX = std::clamp(st.MapMaxX, -1, kHexMax);
    const int maxY = std::clamp(st.MapMaxY, -1, kHexMax);
    for (int x = 0; x <= maxX; ++x) {
        for (int y = 0; y <= maxY; ++y) {
            auto& hex = st.Cell(x, y);
            io.AboutHex(x, y);
            io.Field(hex.Entrenchment, 0, 2, "Entrenchment");
            io.Field(hex.EntrenchmentSide, 0, 2, "EntrenchmentSide");
        }
    }

    io.Mark();
    for (int i = 1; i <= kMaxReinforcements; ++i) {
        io.About("reinforcement", i);
        io.Field(st.Reinforcements[i].Arrived, kAny, kAll, "Arrived");
    }

    io.Mark();
    for (int side = 1; side <= 2; ++side) {
        io.About("side", 0, side);
        io.Field(st.EngagementsWon[side], kAny, kAll, "EngagementsWon");
        io.Field(st.BattlesWon[side], kAny, kAll, "BattlesWon");
        io.Field(st.BattlePoints[side], kAny, kAll, "BattlePoints");
        io.Reduce();
        for (int arm = 1; arm <= 3; ++arm) {
            io.Field(st.Losses[side][arm], kAny, kAll, "Losses");
            io.Reduce();
        }
    }
    io.About(nullptr);
    io.Field(st.DrawnEngagements, kAny, kAll, "DrawnEngagements");
    io.Field(st.DrawnBattles, kAny, kAll, "DrawnBattles");

    io.Mark();
    for (int t = 1; t <= types; ++t) {
        io.About("type", t);
        io.Field(st.Types[t].RecruitWeeks, kAny, kAll, "RecruitWeeks");
    }
    io.Reduce();
    io.Mark();
    io.About(nullptr);
    io.CheckInt();
}

// --- After the checksum: the chance cursor, and in an e-mail game the passwords ------------

// The cursor pair and the passwords as they lie in the file: each character of a set password
// is stored as its Windows-1250 code + RandPos + RandStep.
struct EmailTrailer {
    int randPos = 0, randStep = 0;
    PerSide<int> flag{}, length{};
    PerSide<std::array<int, kPasswordRoom>> codes{};
};

EmailTrailer PackTrailer(const State& st) {
    EmailTrailer t;
    t.randPos = st.RandPos;
    t.randStep = st.RandStep;
    for (int side = 1; side <= 2; ++side) {
        t.flag[side] = st.PasswordSet[side];
        if (t.flag[side] != 1) continue;
        const std::string bytes = Utf8ToCp1250(st.Password[side].view());
        t.length[side] = static_cast<int>(std::min<std::size_t>(bytes.size(), kPasswordRoom));
        for (int i = 0; i < t.length[side]; ++i)
            t.codes[side][static_cast<std::size_t>(i)] =
                WrapAdd(WrapAdd(static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(i)]), st.RandPos), st.RandStep);
    }
    return t;
}

template <class Io, class T> void WalkCursor(Io& io, T& t) {
    io.Mark();
    io.About(nullptr);
    io.Plain(t.randPos, 1, kRandTableSize, "RandPos");
    io.Plain(t.randStep, 1, 15, "RandStep");
}

template <class Io, class T> void WalkPasswords(Io& io, T& t) {
    io.Mark();
    for (int side = 1; side <= 2; ++side) {
        io.About("side", 0, side);
        io.Plain(t.flag[side], 0, 1, "password flag");
    }
    // The scrambled codes must come out as Windows-1250 bytes.
    const int lo = static_cast<int>(std::clamp<long long>(static_cast<long long>(t.randPos) + t.randStep, INT_MIN, INT_MAX - 255));
    for (int side = 1; side <= 2; ++side) {
        if (t.flag[side] != 1) continue;
        io.About("side", 0, side);
        io.Plain(t.length[side], 0, kPasswordRoom, "password length");
        const int length = ClampCount(t.length[side], kPasswordRoom);
        for (int i = 0; i < length; ++i)
            io.Plain(t.codes[side][static_cast<std::size_t>(i)], lo, lo + 255, "password character");
    }
}

void ApplyHeader(State& st, const PackedHeader& h) {
    st.Campaign = h.campaign;
    st.ActiveSide = h.activeSide;
    st.OtherSide = h.otherSide;
    if (h.dataSet > kPbemDataSetOffset) {
        st.DataSet = h.dataSet % kPbemDataSetOffset;
        st.PbemGame = 1;
        // The file was written at the other player's machine.
        st.LocalSide = 3 - h.localSide;
        st.LocalOtherSide = 3 - h.localOtherSide;
    } else {
        st.DataSet = h.dataSet;
        st.PbemGame = 0;
        st.LocalSide = h.localSide;
        st.LocalOtherSide = h.localOtherSide;
    }
    st.FogOfWar = h.fogOfWar;
    st.PolishIntervention = h.intervention / 10;
    st.RussianIntervention = h.intervention % 10;
    st.KeepReinforcementDates = h.keepReinforcementDates;
    st.Difficulty = h.difficulty;
    st.ReservedOption = h.reservedOption;
}

void ApplyPasswords(State& st, const EmailTrailer& t) {
    for (int side = 1; side <= 2; ++side) {
        st.PasswordSet[side] = t.flag[side];
        if (t.flag[side] != 1) continue;
        std::string bytes;
        for (int i = 0; i < t.length[side]; ++i)
            bytes.push_back(static_cast<char>(t.codes[side][static_cast<std::size_t>(i)] - t.randPos - t.randStep));
        st.Password[side] = Cp1250ToUtf8(bytes);
        st.PasswordLength[side] = t.length[side];
    }
}

// The one check between records: the rebuild lists a corps' regiments in its 100 unit slots.
void CheckCorpsMembers(const std::string& name, const State& st) {
    for (int side = 1; side <= 2; ++side) {
        std::array<int, kMaxCorps + 1> members{};
        for (int r = 1; r <= st.RegimentCount[side]; ++r)
            if (st.Regiments[side][r].Corps > 0) ++members[st.Regiments[side][r].Corps];
        for (int c = 1; c <= st.CorpsCount[side]; ++c)
            if (members[c] > kCorpsUnitSlots)
                throw DataError(name, "more than 100 regiments name the corps of corps " + std::to_string(c) +
                                          " of side " + std::to_string(side));
    }
}

// Conversions of the loader that come after the checksum.
void NormaliseLoaded(State& st) {
    for (int side = 1; side <= 2; ++side)
        for (int c = 1; c <= st.CorpsCount[side]; ++c)
            if (st.Corps[side][c].ReconLevel > 10) st.Corps[side][c].ReconLevel %= 10;
    // A capture counter divides a city's supply: 0 reads as 1.
    for (int c = 1; c <= kCityCount; ++c)
        if (st.Cities[c].CaptureCounter == 0) st.Cities[c].CaptureCounter = 1;
}

} // namespace

std::string SaveFolderFile(std::string_view plainName) {
    if (!IsPlainFileName(plainName))
        throw FileIoError(std::string(plainName), "not a plain file name for the save folder");
    return "save\\" + std::string(plainName);
}

std::string CampaignStartFileName(int dataSet, int campaign) {
    return "data\\kampany" + std::to_string(dataSet) + std::to_string(campaign) + ".dat";
}

Bytes SaveGameBytes(const State& st) {
    FieldWriter io(kSaveChecksumModulus);
    PackedHeader header = PackHeader(st);
    WalkHeader(io, header);
    WalkBody(io, st, [] {});
    EmailTrailer trailer = PackTrailer(st);
    WalkCursor(io, trailer);
    if (st.PbemGame == 1) WalkPasswords(io, trailer);
    return io.Take();
}

std::size_t ReadSaveInto(State& st, const Bytes& bytes, const std::string& name,
                         const std::function<void(State&)>& beforeCities) {
    FieldReader io(bytes, name, kSaveChecksumModulus, "checksum");
    PackedHeader header;
    WalkHeader(io, header);
    ApplyHeader(st, header);
    WalkBody(io, st, [&] { beforeCities(st); });
    // The game writes the chance cursor after the checksum, but only an e-mail game with more
    // data takes it over and reads the trailer. A plain save is read up to its checksum and
    // keeps the set-up's cursor; so does an e-mail save that ends there, without passwords.
    if (st.PbemGame == 1 && !io.AtEnd()) {
        EmailTrailer trailer;
        WalkCursor(io, trailer);
        WalkPasswords(io, trailer);
        ApplyPasswords(st, trailer);
        st.RandPos = trailer.randPos;
        st.RandStep = trailer.randStep;
    } else if (st.PbemGame == 1) {
        for (int side = 1; side <= 2; ++side) {
            st.PasswordSet[side] = 0;
            st.Password[side] = "";
            st.PasswordLength[side] = 0;
        }
    }
    CheckCorpsMembers(name, st);
    NormaliseLoaded(st);
    return io.Position();
}

FileMap SaveFileMap(const Bytes& bytes, const State& setup) {
    auto scratch = std::make_unique<State>();
    scratch->TypeCount = setup.TypeCount;
    scratch->Types = setup.Types;
    scratch->MapMaxX = setup.MapMaxX;
    scratch->MapMaxY = setup.MapMaxY;
    scratch->InitialGeneralCount = setup.InitialGeneralCount;
    FieldMapper io(bytes, kSaveChecksumModulus);
    PackedHeader header;
    WalkHeader(io, header);
    WalkBody(io, *scratch, [] {});
    if (header.dataSet == 1 + kPbemDataSetOffset && !io.AtEnd()) {
        EmailTrailer trailer;
        WalkCursor(io, trailer);
        WalkPasswords(io, trailer);
    }
    return io.Take();
}

namespace {

void CreateSaveFolder(const std::filesystem::path& path) {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    // A folder that cannot be made shows up as the write failing.
}

} // namespace

void WriteSaveFile(const State& state, const std::filesystem::path& path, const WriteFault* fault) {
    const Bytes bytes = SaveGameBytes(state);
    CreateSaveFolder(path);
    WriteFileAtomic(path, bytes, fault);
}

void SaveGame(Game& game, std::string_view gameFileName, const WriteFault* fault) {
    WriteSaveFile(game.state, game.dir.Resolve(gameFileName), fault);
}

std::string SaveFailedMessage(std::string_view gameFileName) {
    return "A mentés nem sikerült! / Save failed! " + std::string(gameFileName);
}

bool TrySaveGame(Game& game, std::string_view gameFileName) {
    try {
        SaveGame(game, gameFileName);
        return true;
    } catch (const FileIoError&) {
        game.screen.ShowError(SaveFailedMessage(gameFileName));
        return false;
    }
}

bool QuickSave(Game& game) {
    const char* plain = game.state.NetworkGame ? "multigyorsmentes.sav" : "gyorsmentes.sav";
    if (!TrySaveGame(game, game.state.NetworkGame ? kNetworkQuickSaveFile : kQuickSaveFile)) return false;
    AddLogEntry(game, game.state.LocalSide, 0, kLogKindPlayer, std::string("Játék mentve: ") + plain, kColourCyan);
    return true;
}


} // namespace vezer
