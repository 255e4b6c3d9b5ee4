#include "files/savegame.h"

#include "core/errors.h"
#include "core/paths.h"
#include "core/log.h"
#include "core/text.h"

#include <filesystem>
#include <system_error>

#include <algorithm>
#include <climits>
#include <limits>
#include <string>

namespace vezer {

namespace {

// The running checksum of a save. Additions wrap as 32-bit integers, so a hostile file cannot
// overflow the sum; the game's own saves never come near the limit, so the sums are the same.
struct RunningSum {
    std::int32_t s = 0;
    void Add(std::int32_t v) { s = WrapAdd(s, v); }
    void Reduce() { s %= kSaveChecksumModulus; }
};

int ClampCount(int count, int capacity) {
    return std::clamp(count, 0, capacity);
}

// Packs low + factor x high the way the file stores it, with wrapping arithmetic so an absurd
// value in the state cannot overflow (the reader refuses what comes out).
std::int32_t PackWrapped(int low, int factor, int high) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(low) +
                                     static_cast<std::uint32_t>(factor) * static_cast<std::uint32_t>(high));
}

// The regiment's movement value as stored: MovementPoints + 1000 x MovementUsed.
std::int32_t PackMovement(int points, int used) {
    return PackWrapped(points, 1000, used);
}

// Writes values and sums them as written.
class SaveWriter {
public:
    void Value(const int& v) { Write(v, v); }
    void Write(std::int32_t written, std::int32_t summed) {
        out.WriteInt(written);
        sum.Add(summed);
    }
    void Reduce() { sum.Reduce(); }
    int Count(const int& count, int capacity, const char*, int) {
        Value(count);
        return ClampCount(count, capacity);
    }
    // The checksum sees MovementPoints alone, not the packed value.
    void Movement(const int& points, const int& used) { Write(PackMovement(points, used), points); }

    BinaryWriter out;
    RunningSum sum;
};

// Reads values into the staged state and sums them as read.
class SaveReader {
public:
    SaveReader(const Bytes& bytes, const std::string& name) : in(bytes, name) {}
    void Value(int& v) {
        v = in.ReadInt();
        sum.Add(v);
    }
    void Reduce() { sum.Reduce(); }
    // A count bounds the records that follow it, so it is checked as soon as it is read.
    int Count(int& count, int capacity, const char* what, int side) {
        Value(count);
        if (count < 0 || count > capacity)
            in.Fail(std::string(what) + " of side " + std::to_string(side) + " is " + std::to_string(count) +
                    ", outside 0.." + std::to_string(capacity));
        return count;
    }
    void Movement(int& points, int& used) {
        std::int32_t v = in.ReadInt();
        used = v / 1000;
        points = v % 1000;
        sum.Add(points);
    }

    BinaryReader in;
    RunningSum sum;
};

// Blocks 1 and 2 as they lie in the file: DataSet carries the e-mail mark and the two
// interventions share one value.
struct PackedHeader {
    int dataSet = 0, campaign = 0, language = 0, activeSide = 0, otherSide = 0, localSide = 0,
        localOtherSide = 0;
    int fogOfWar = 0, intervention = 0, keepReinforcementDates = 0, difficulty = 0, reservedOption = 0;
};

PackedHeader PackHeader(const State& st) {
    PackedHeader h;
    h.dataSet = PackWrapped(st.DataSet, st.PbemGame == 1 ? kPbemDataSetOffset : 0, 1);
    h.campaign = st.Campaign;
    h.language = st.Language;
    h.activeSide = st.ActiveSide;
    h.otherSide = st.OtherSide;
    h.localSide = st.LocalSide;
    h.localOtherSide = st.LocalOtherSide;
    h.fogOfWar = st.FogOfWar;
    h.intervention = PackWrapped(st.RussianIntervention, 10, st.PolishIntervention);
    h.keepReinforcementDates = st.KeepReinforcementDates;
    h.difficulty = st.Difficulty;
    h.reservedOption = st.ReservedOption;
    return h;
}

template <class Io, class H> void WalkHeader(Io& io, H& h) {
    for (auto* v :
         {&h.dataSet, &h.campaign, &h.language, &h.activeSide, &h.otherSide, &h.localSide, &h.localOtherSide,
          &h.fogOfWar, &h.intervention, &h.keepReinforcementDates, &h.difficulty, &h.reservedOption})
        io.Value(*v);
}

template <class Io, class R> void WalkRegiment(Io& io, R& e) {
    for (auto* v : {&e.Type, &e.Arm, &e.Ordinal, &e.Corps, &e.CorpsFormation, &e.CombatValueFull,
                    &e.DefenceValue, &e.Nation, &e.Experience, &e.ExperienceBuildUp, &e.Morale, &e.Readiness,
                    &e.Supply, &e.Men, &e.FillPercent})
        io.Value(*v);
    io.Movement(e.MovementPoints, e.MovementUsed);
    io.Value(e.MovementAllowance);
    io.Value(e.BattleLine);
    io.Reduce();
}

template <class Io, class C> void WalkCorps(Io& io, C& h) {
    for (auto* v : {&h.General, &h.Activity, &h.ActivityWeeks, &h.MovementPoints, &h.X, &h.Y, &h.Direction,
                    &h.Formation})
        io.Value(*v);
    io.Reduce();
    for (auto* v : {&h.Tactic, &h.UnitCount, &h.ReconLevel, &h.EstimatedCavalry, &h.EstimatedInfantry,
                    &h.EstimatedGuns})
        io.Value(*v);
    io.Reduce();
    for (auto* v : {&h.MarkerArm, &h.MarkerState, &h.Nation, &h.Garrison}) io.Value(*v);
    io.Reduce();
    for (auto* v : {&h.TurnsSinceBattle, &h.LastBattleResult, &h.LastBattleEnemyStrength, &h.ObjectiveX,
                    &h.ObjectiveY, &h.Task, &h.Role, &h.SuperiorCorps, &h.TargetCorps, &h.GuardCorps,
                    &h.LastCityObjective, &h.EstimateError})
        io.Value(*v);
    io.Reduce();
    for (int m = 1; m <= kAiMemorySlots; ++m) io.Value(h.AiMemory[m]);
    io.Reduce();
}

// Blocks 3 to 12: everything between the header and the checksum. `S` is `const State` for
// the writer and `State` for the reader, so both walk the one layout.
template <class Io, class S> void WalkBody(Io& io, S& st, const std::function<void()>& beforeCities) {
    io.Value(st.RecruitPenaltyWeeks);
    io.Value(st.RecruitPenaltyTurns);
    for (auto* v : {&st.Year, &st.Month, &st.Week}) io.Value(*v);
    for (auto* v : {&st.RiverState, &st.DanubeState, &st.GroundState, &st.Temperature, &st.Weather,
                    &st.PrevTemperature, &st.PrevWeather, &st.PrevGround})
        io.Value(*v);

    PerSide<int> regiments{}, corps{}, generals{};
    for (int side = 1; side <= 2; ++side) {
        io.Value(st.PlayerType[side]);
        corps[side] = io.Count(st.CorpsCount[side], kMaxCorps, "corps count", side);
        regiments[side] = io.Count(st.RegimentCount[side], kMaxRegiments, "regiment count", side);
        generals[side] = io.Count(st.GeneralCount[side], kMaxGenerals, "general count", side);
        io.Value(st.Zeal[side]);
    }

    for (int side = 1; side <= 2; ++side) {
        for (int r = 1; r <= regiments[side]; ++r) WalkRegiment(io, st.Regiments[side][r]);
        for (int c = 1; c <= corps[side]; ++c) WalkCorps(io, st.Corps[side][c]);
        for (int g = 1; g <= generals[side]; ++g) {
            io.Value(st.Generals[side][g].Available);
            io.Value(st.Generals[side][g].Nation);
        }
        io.Reduce();
    }

    beforeCities();
    for (int c = 1; c <= kCityCount; ++c) {
        auto& v = st.Cities[c];
        for (auto* f : {&v.Owner, &v.FlagClass, &v.FortStrength, &v.GarrisonCorps, &v.RecruitType,
                        &v.RecruitWeeksLeft, &v.CaptureCounter})
            io.Value(*f);
    }
    io.Reduce();

    // Column by column, unlike the terrain file.
    const int maxX = std::clamp(st.MapMaxX, -1, kHexMax);
    const int maxY = std::clamp(st.MapMaxY, -1, kHexMax);
    for (int x = 0; x <= maxX; ++x) {
        for (int y = 0; y <= maxY; ++y) {
            auto& hex = st.Cell(x, y);
            io.Value(hex.Entrenchment);
            io.Value(hex.EntrenchmentSide);
        }
    }

    for (int i = 1; i <= kMaxReinforcements; ++i) io.Value(st.Reinforcements[i].Arrived);

    for (int side = 1; side <= 2; ++side) {
        io.Value(st.EngagementsWon[side]);
        io.Value(st.BattlesWon[side]);
        io.Value(st.BattlePoints[side]);
        io.Reduce();
        for (int arm = 1; arm <= 3; ++arm) {
            io.Value(st.Losses[side][arm]);
            io.Reduce();
        }
    }
    io.Value(st.DrawnEngagements);
    io.Value(st.DrawnBattles);

    const int types = ClampCount(st.TypeCount, kMaxTypes);
    for (int t = 1; t <= types; ++t) io.Value(st.Types[t].RecruitWeeks);
    io.Reduce();
}

// --- The e-mail trailer: password flags, then each set password scrambled by the cursor ---

void WriteEmailTrailer(BinaryWriter& out, const State& st) {
    out.WriteInt(st.PasswordSet[1]);
    out.WriteInt(st.PasswordSet[2]);
    for (int side = 1; side <= 2; ++side) {
        if (st.PasswordSet[side] != 1) continue;
        std::string bytes = Utf8ToCp1250(st.Password[side].view());
        out.WriteInt(static_cast<std::int32_t>(bytes.size()));
        for (char c : bytes) out.WriteInt(WrapAdd(WrapAdd(static_cast<std::uint8_t>(c), st.RandPos), st.RandStep));
    }
}

void ReadEmailTrailer(BinaryReader& in, State& st, int randPos, int randStep) {
    for (int side = 1; side <= 2; ++side) {
        st.PasswordSet[side] = in.ReadInt();
        if (st.PasswordSet[side] != 0 && st.PasswordSet[side] != 1)
            in.Fail("password flag of side " + std::to_string(side) + " is " +
                    std::to_string(st.PasswordSet[side]));
    }
    for (int side = 1; side <= 2; ++side) {
        if (st.PasswordSet[side] != 1) continue;
        int length = in.ReadInt();
        if (length < 0 || length > kPasswordRoom)
            in.Fail("password length of side " + std::to_string(side) + " is " + std::to_string(length));
        std::string bytes;
        for (int i = 0; i < length; ++i) {
            std::int32_t code = WrapAdd(WrapAdd(in.ReadInt(), -randPos), -randStep);
            if (code < 0 || code > 255)
                in.Fail("a password character of side " + std::to_string(side) + " is damaged");
            bytes.push_back(static_cast<char>(code));
        }
        st.Password[side] = Cp1250ToUtf8(bytes);
        st.PasswordLength[side] = length;
    }
}

// --- Checks of the staged game: every count and index later code uses as an index ---------

class Checker {
public:
    explicit Checker(const std::string& name) : name_(name) {}
    // Names the record the following checks are about; messages are only built on failure.
    void About(const char* record, int index = 0, int side = 0) {
        record_ = record;
        index_ = index;
        side_ = side;
        hex_ = false;
    }
    void AboutHex(int x, int y) {
        About("hex", x, y);
        hex_ = true;
    }
    void Range(int value, int lo, int hi, const char* field) const {
        if (value < lo || value > hi)
            Fail(std::string(field) + Context() + " is " + std::to_string(value) + ", outside " +
                 std::to_string(lo) + ".." + std::to_string(hi));
    }
    void True(bool ok, const char* what) const {
        if (!ok) Fail(what + Context());
    }

private:
    [[noreturn]] void Fail(const std::string& reason) const { throw DataError(name_, reason); }
    std::string Context() const {
        if (record_ == nullptr) return "";
        if (hex_) return " of hex (" + std::to_string(index_) + ", " + std::to_string(side_) + ")";
        std::string text = std::string(" of ") + record_;
        if (index_ > 0) text += " " + std::to_string(index_);
        if (side_ > 0) text += " of side " + std::to_string(side_);
        return text;
    }

    const std::string& name_;
    const char* record_ = nullptr;
    int index_ = 0, side_ = 0;
    bool hex_ = false;
};

void CheckHeader(Checker& check, const PackedHeader& h) {
    check.True(h.dataSet == 1 || h.dataSet == 1 + kPbemDataSetOffset,
               "a data set other than 1 (the only one)");
    check.Range(h.campaign, 0, 6, "Campaign");
    check.Range(h.activeSide, 1, 2, "ActiveSide");
    check.True(h.otherSide == 3 - h.activeSide, "OtherSide does not match ActiveSide");
    check.Range(h.localSide, 1, 2, "LocalSide");
    check.True(h.localOtherSide == 3 - h.localSide, "LocalOtherSide does not match LocalSide");
    check.Range(h.fogOfWar, 0, 1, "FogOfWar");
    check.Range(h.intervention, 0, 22, "the intervention value");
    check.Range(h.intervention % 10, 0, 2, "RussianIntervention");
    check.Range(h.keepReinforcementDates, 0, 1, "KeepReinforcementDates");
    check.True(h.difficulty == 10 || (h.difficulty >= 1 && h.difficulty <= 3),
               "a Difficulty other than 1, 2, 3 or 10");
}

void ApplyHeader(State& st, const PackedHeader& h) {
    // Language is part of the checksum but the running program keeps its own.
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

void CheckCalendarAndWeather(Checker& check, const State& st) {
    check.Range(st.Month, 1, 12, "Month");
    check.Range(st.Week, 1, 4, "Week");
    check.Range(st.Temperature, 1, 3, "Temperature");
    check.Range(st.Weather, 1, 4, "Weather");
    check.Range(st.GroundState, 1, 4, "GroundState");
    check.Range(st.RiverState, 1, 4, "RiverState");
    check.Range(st.DanubeState, 1, 4, "DanubeState");
    // Last week's values are only compared, and a new campaign may not have had a last week.
    check.Range(st.PrevTemperature, 0, 3, "PrevTemperature");
    check.Range(st.PrevWeather, 0, 4, "PrevWeather");
    check.Range(st.PrevGround, 0, 4, "PrevGround");
}

// Bounds of a regiment's figures in a save: 100 times a full regiment of its type, and twice
// the 100 of a percentage (the readiness and experience factors of the recompute turn
// negative a little beyond that, and a negative movement allowance would not save).
constexpr int kMaxFillTimes = 100;
constexpr int kMaxPercentValue = 200;

// The generals a loaded game has once generals created in play are made again.
int GeneralsAfterLoad(const State& st, int side) {
    return std::max(st.GeneralCount[side], st.InitialGeneralCount[side]);
}

// The name class a created general's nation asks for (the general creation's own rule).
int CreatedGeneralClass(int nation) {
    return nation > 3 ? kNationFlag[nation] : nation;
}

void CheckSide(Checker& check, const State& st, int side) {
    check.About("side", 0, side);
    check.Range(st.PlayerType[side], 1, 3, "PlayerType");
    const int types = ClampCount(st.TypeCount, kMaxTypes);
    // Regiments naming each corps: the rebuild lists them in its 100 unit slots.
    std::array<int, kMaxCorps + 1> members{};
    for (int r = 1; r <= st.RegimentCount[side]; ++r) {
        const TEzred& e = st.Regiments[side][r];
        check.About("regiment", r, side);
        check.Range(e.Type, 1, types, "Type");
        check.Range(e.Arm, 1, 3, "Arm");
        check.Range(e.Corps, 0, st.CorpsCount[side], "Corps");
        check.Range(e.CorpsFormation, 0, kFormationCount, "CorpsFormation");
        check.Range(e.Nation, 1, kNationCount, "Nation");
        // The recompute multiplies these: far beyond what play gives them (at most a full
        // regiment, percentages near 100) they would overflow it. Without the type table (the
        // data compiler's own reading) the men are bounded below only.
        const long long full = st.Types[e.Type].FullStrength;
        const long long mostMen = full > 0 ? std::min<long long>(kMaxFillTimes * full, INT_MAX) : INT_MAX;
        check.Range(e.Men, 0, static_cast<int>(mostMen), "Men");
        check.Range(e.Experience, 0, kMaxPercentValue, "Experience");
        check.Range(e.Morale, 0, kMaxPercentValue, "Morale");
        check.Range(e.Readiness, 0, kMaxPercentValue, "Readiness");
        check.Range(e.Supply, 0, kMaxPercentValue, "Supply");
        // Points left and spent are never negative: a negative packed value would not write
        // back as it was read.
        check.Range(e.MovementUsed, 0, INT_MAX, "MovementUsed");
        check.Range(e.MovementPoints, 0, 999, "MovementPoints");
        if (e.Corps > 0) ++members[e.Corps];
    }
    for (int c = 1; c <= st.CorpsCount[side]; ++c) {
        const THad& h = st.Corps[side][c];
        check.About("corps", c, side);
        check.True(members[c] <= kCorpsUnitSlots, "more than 100 regiments name the corps");
        check.Range(h.General, 0, GeneralsAfterLoad(st, side), "General");
        check.Range(h.X, 0, st.MapMaxX, "X");
        check.Range(h.Y, 0, st.MapMaxY, "Y");
        check.Range(h.Direction, 0, 5, "Direction");
        check.Range(h.Formation, 1, kFormationCount, "Formation");
        check.Range(h.Tactic, 1, kTacticCount, "Tactic");
        check.Range(h.UnitCount, 0, kCorpsUnitSlots, "UnitCount");
        check.Range(h.Activity, 0, kAbilitySlots, "Activity");
        check.Range(h.ReconLevel, 0, std::numeric_limits<int>::max(), "ReconLevel");
        check.Range(h.Nation, 0, kNationCount, "Nation");
        check.Range(h.Garrison, 0, 1, "Garrison");
        // The computer opponent's references: a stale one is harmless, one outside the table is not.
        check.Range(h.SuperiorCorps, 0, kMaxCorps, "SuperiorCorps");
        check.Range(h.TargetCorps, 0, kMaxCorps, "TargetCorps");
        check.Range(h.GuardCorps, 0, kMaxCorps, "GuardCorps");
        check.Range(h.LastCityObjective, 0, kMaxCities, "LastCityObjective");
    }
    for (int g = 1; g <= st.GeneralCount[side]; ++g) {
        const TTabornok& t = st.Generals[side][g];
        check.About("general", g, side);
        check.Range(t.Nation, 0, kNationCount, "Nation");
        if (g > st.InitialGeneralCount[side]) {
            // A general created in play is created again from its nation's name class.
            check.Range(t.Nation, 1, kNationCount, "Nation");
            check.Range(CreatedGeneralClass(t.Nation), 1, 3, "name class");
        }
    }
}

void CheckCities(Checker& check, const State& st) {
    const int types = ClampCount(st.TypeCount, kMaxTypes);
    for (int c = 1; c <= kCityCount; ++c) {
        const TVaros& v = st.Cities[c];
        check.About("city", c);
        check.Range(v.Owner, 0, 3, "Owner");
        check.Range(v.FlagClass, 0, kNationCount, "FlagClass");
        check.Range(v.GarrisonCorps, 0, kMaxCorps, "GarrisonCorps");
        check.Range(v.RecruitType, 0, types, "RecruitType");
        check.Range(v.CaptureCounter, 0, std::numeric_limits<int>::max(), "CaptureCounter");
    }
}

void CheckEntrenchments(Checker& check, const State& st) {
    for (int x = 0; x <= st.MapMaxX; ++x) {
        for (int y = 0; y <= st.MapMaxY; ++y) {
            const THex& hex = st.Cell(x, y);
            check.AboutHex(x, y);
            check.Range(hex.Entrenchment, 0, 2, "Entrenchment");
            check.Range(hex.EntrenchmentSide, 0, 2, "EntrenchmentSide");
        }
    }
}

void CheckStaged(const std::string& name, const State& st) {
    Checker check(name);
    CheckCalendarAndWeather(check, st);
    for (int side = 1; side <= 2; ++side) CheckSide(check, st, side);
    CheckCities(check, st);
    CheckEntrenchments(check, st);
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
    SaveWriter io;
    PackedHeader header = PackHeader(st);
    WalkHeader(io, header);
    WalkBody(io, st, [] {});
    io.out.WriteInt(io.sum.s);
    io.out.WriteInt(st.RandPos);
    io.out.WriteInt(st.RandStep);
    if (st.PbemGame == 1) WriteEmailTrailer(io.out, st);
    return std::move(io.out.bytes());
}

std::size_t ReadSaveInto(State& st, const Bytes& bytes, const std::string& name,
                         const std::function<void(State&)>& beforeCities) {
    SaveReader io(bytes, name);
    PackedHeader header;
    WalkHeader(io, header);
    Checker headerCheck(name);
    CheckHeader(headerCheck, header);
    ApplyHeader(st, header);
    WalkBody(io, st, [&] { beforeCities(st); });

    const std::int32_t stored = io.in.ReadInt();
    if (io.sum.s != stored)
        throw DataError(name,
                        "checksum " + std::to_string(stored) + ", computed " + std::to_string(io.sum.s));
    // The game writes the chance cursor after the checksum, but only an e-mail game with more
    // data takes it over and reads the trailer. A plain save is read up to its checksum and
    // keeps the set-up's cursor; so does an e-mail save that ends there, without passwords.
    if (st.PbemGame == 1 && !io.in.AtEnd()) {
        const int randPos = io.in.ReadInt();
        const int randStep = io.in.ReadInt();
        Checker check(name);
        check.Range(randPos, 1, kRandTableSize, "RandPos");
        check.Range(randStep, 1, 15, "RandStep");
        ReadEmailTrailer(io.in, st, randPos, randStep);
        st.RandPos = randPos;
        st.RandStep = randStep;
    } else if (st.PbemGame == 1) {
        for (int side = 1; side <= 2; ++side) {
            st.PasswordSet[side] = 0;
            st.Password[side] = "";
            st.PasswordLength[side] = 0;
        }
    }
    CheckStaged(name, st);
    NormaliseLoaded(st);
    return io.in.Position();
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
