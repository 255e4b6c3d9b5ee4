#include "files/scenario_files.h"

#include "core/arith.h"
#include "core/binary_io.h"
#include "core/calendar.h"
#include "core/errors.h"
#include "core/field_walk.h"
#include "core/random.h"
#include "core/textfile.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vezer {

namespace {

constexpr int kDataModulus = 2000; // integer data files
constexpr int kByteModulus = 200;  // byte data files
constexpr int kAny = kNoLowerBound, kAll = kNoUpperBound;

std::string Numbered(const char* prefix, int n) {
    return prefix + std::to_string(n) + ".dat";
}

Bytes ReadDataFile(const Game& game, const std::string& name) {
    return ReadFileBytes(game.dir.Resolve(name), name);
}

// --- The walks ------------------------------------------------------------------------------

template <class Io, class T> void WalkType(Io& io, T& t) {
    // Arm and ArmClass pick tables; FullStrength divides every fill percentage.
    io.Field(t.Arm, 1, 3, "arm");
    io.Field(t.ArmClass, 0, 1, "arm class");
    io.Field(t.FullStrength, 1, kAll, "full strength");
    io.Field(t.BaseCombatValue, kAny, kAll, "combat value");
    io.Field(t.BaseDefenceValue, kAny, kAll, "defence value");
    io.Field(t.BaseObservation, kAny, kAll, "observation");
    io.Field(t.BaseVisibility, kAny, kAll, "visibility");
    io.Field(t.BaseMovement, kAny, kAll, "movement");
    io.Field(t.BaseMorale, kAny, kAll, "morale");
    io.Field(t.BaseExperience, kAny, kAll, "experience");
    io.Field(t.BaseReadiness, kAny, kAll, "readiness");
    io.Field(t.BaseSupply, kAny, kAll, "supply");
    io.Field(t.RecruitWeeks, kAny, kAll, "recruitment weeks");
    io.Field(t.SideOnly, 0, 2, "side");
}

template <class Io, class F> void WalkTypeFile(Io& io, F& file) {
    for (int t = 1; t <= kShippedTypeCount; ++t) {
        io.About("type", t);
        WalkType(io, file.types[static_cast<std::size_t>(t)]);
    }
    io.About(nullptr);
    io.Reduce();
    io.CheckInt();
    io.End();
}

template <class Io, class T> void WalkFormation(Io& io, T& f) {
    io.Field(f.ReadinessGain, kAny, kAll, "readiness gain");
    io.Field(f.MovementFactor, kAny, kAll, "movement");
    io.Field(f.AttackPercent, kAny, kAll, "attack");
    io.Field(f.DefencePercent, kAny, kAll, "defence");
}

template <class Io, class F> void WalkFormationFile(Io& io, F& file) {
    for (int f = 1; f <= kFormationCount; ++f) {
        io.About("formation", f);
        WalkFormation(io, file.formations[static_cast<std::size_t>(f)]);
    }
    io.About(nullptr);
    io.Reduce();
    io.CheckInt();
    io.End();
}

// Each byte of a general's record is cut to the modulus as it is added.
template <class Io, class R> void WalkRosterRecord(Io& io, R& r) {
    io.Byte(r.side, 1, 2, "side");
    io.Reduce();
    io.Byte(r.index, 1, kMaxGenerals, "index");
    io.Reduce();
    io.Byte(r.attack, 0, 255, "attack");
    io.Reduce();
    io.Byte(r.defence, 0, 255, "defence");
    io.Reduce();
    io.Byte(r.initiative, 0, 255, "initiative");
    io.Reduce();
    io.Byte(r.nation, 1, kNationCount, "nation");
    io.Reduce();
    io.Byte(r.ability, 0, kAbilitySlots, "ability");
    io.Reduce();
}

template <class Io, class F> void WalkRosterFile(Io& io, F& file) {
    io.About("side", 0, 1);
    io.Byte(file.count[1], 0, 255, "generals");
    io.About("side", 0, 2);
    io.Byte(file.count[2], 0, 255, "generals");
    io.About(nullptr);
    for (auto& b : file.unused) io.PlainByte(b, "unused");
    const int records = file.count[1] + file.count[2];
    if constexpr (Io::kReading) file.records.resize(static_cast<std::size_t>(records));
    for (int i = 0; i < records; ++i) {
        io.About("general record", i + 1);
        WalkRosterRecord(io, file.records.at(static_cast<std::size_t>(i)));
    }
    io.About(nullptr);
    io.Reduce();
    io.CheckByte();
    io.End();
}

// What a reinforcement may name: the map's hexes, the types and each side's generals. The
// writer walks with no bounds at all.
struct ReinforcementBounds {
    int mapMaxX = kAll, mapMaxY = kAll, types = 20;
    PerSide<int> generals{0, kAll, kAll};
};

ReinforcementBounds BoundsOf(const State& st) {
    ReinforcementBounds b;
    b.mapMaxX = st.MapMaxX;
    b.mapMaxY = st.MapMaxY;
    b.types = std::clamp(st.TypeCount, 0, 20);
    b.generals = {0, st.GeneralCount[1], st.GeneralCount[2]};
    return b;
}

// A unit's type: one of the table, or a veteran unit of one (the type + 20).
bool IsUnitType(int type, int types) {
    return (type >= 1 && type <= types) || (type > 20 && type <= 20 + types);
}

template <class Io, class E> void WalkReinforcement(Io& io, E& e, const ReinforcementBounds& setup) {
    auto& t = e.Template;
    io.Field(e.Year, kAny, kAll, "year");
    io.Field(e.Month, kAny, kAll, "month");
    io.Field(e.Week, kAny, kAll, "week");
    io.Field(e.Side, 1, 2, "side");
    io.Field(e.LimitedIntervention, kAny, kAll, "limited intervention");
    io.Field(t.X, 0, setup.mapMaxX, "x");
    io.Field(t.Y, 0, setup.mapMaxY, "y");
    io.Field(t.Nation, 1, kNationCount, "nation");
    io.Field(t.General, 0, setup.generals[static_cast<std::size_t>(std::clamp(e.Side, 0, 2))], "general");
    io.Field(t.Formation, 1, kFormationCount, "formation");
    const int units = io.Count(t.UnitCount, 0, kReinforcementUnits, "unit count");
    const int types = setup.types;
    for (int u = 1; u <= units; ++u) {
        auto& type = t.Units[static_cast<std::size_t>(u)];
        io.Field(type, 1, 20 + types, "unit type");
        io.Require(IsUnitType(type, types), [&] {
            return "unit type" + io.Context() + " is " + std::to_string(type) + ", outside 1.." + std::to_string(types) +
                   " and 21.." + std::to_string(20 + types);
        });
        io.Field(e.UnitFill[static_cast<std::size_t>(u)], 1, 100, "unit fill");
        io.Reduce();
    }
}

template <class Io, class F> void WalkReinforcementFile(Io& io, F& file, const ReinforcementBounds& setup) {
    io.About(nullptr);
    const int count = io.Count(file.count, 0, kMaxReinforcements, "the number of reinforcements");
    if constexpr (Io::kReading) file.records.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        io.About("reinforcement", i + 1);
        WalkReinforcement(io, file.records.at(static_cast<std::size_t>(i)), setup);
    }
    io.About(nullptr);
    io.CheckInt();
    io.End();
}

template <class Io, class M> void WalkMonth(Io& io, M& m) {
    for (int w = 1; w <= 4; ++w) io.Byte(m.Weather[static_cast<std::size_t>(w)], 0, 255, "weather chance");
    for (int t = 1; t <= 3; ++t) io.Byte(m.Temperature[static_cast<std::size_t>(t)], 0, 255, "temperature chance");
    io.Byte(m.HighWater, 0, 255, "high water");
}

template <class Io, class F> void WalkWeatherFile(Io& io, F& file) {
    for (int month = 1; month <= 12; ++month) {
        io.About("month", month);
        WalkMonth(io, file.months[static_cast<std::size_t>(month)]);
    }
    io.About(nullptr);
    io.Reduce();
    io.CheckByte();
    io.End();
}

// Line `i` (0-based) of a text file, or empty past its end.
std::string_view LineAt(const std::vector<std::string>& lines, std::size_t i) {
    return i < lines.size() ? std::string_view(lines[i]) : std::string_view();
}

} // namespace

TypeFile ParseTypeFile(const Bytes& bytes, const std::string& name) {
    TypeFile file;
    FieldReader io(bytes, name, kDataModulus);
    WalkTypeFile(io, file);
    return file;
}
Bytes TypeFileBytes(const TypeFile& file) {
    FieldWriter io(kDataModulus);
    WalkTypeFile(io, file);
    return io.Take();
}
FileMap TypeFileMap(const Bytes& bytes) {
    TypeFile file;
    FieldMapper io(bytes, kDataModulus);
    WalkTypeFile(io, file);
    return io.Take();
}

FormationFile ParseFormationFile(const Bytes& bytes, const std::string& name) {
    FormationFile file;
    FieldReader io(bytes, name, kDataModulus);
    WalkFormationFile(io, file);
    return file;
}
Bytes FormationFileBytes(const FormationFile& file) {
    FieldWriter io(kDataModulus);
    WalkFormationFile(io, file);
    return io.Take();
}
FileMap FormationFileMap(const Bytes& bytes) {
    FormationFile file;
    FieldMapper io(bytes, kDataModulus);
    WalkFormationFile(io, file);
    return io.Take();
}

RosterFile ParseRosterFile(const Bytes& bytes, const std::string& name) {
    RosterFile file;
    FieldReader io(bytes, name, kByteModulus);
    WalkRosterFile(io, file);
    return file;
}
Bytes RosterFileBytes(const RosterFile& file) {
    FieldWriter io(kByteModulus);
    WalkRosterFile(io, file);
    return io.Take();
}
FileMap RosterFileMap(const Bytes& bytes) {
    RosterFile file;
    FieldMapper io(bytes, kByteModulus);
    WalkRosterFile(io, file);
    return io.Take();
}

ReinforcementFile ParseReinforcementFile(const Bytes& bytes, const std::string& name, const State& setup) {
    ReinforcementFile file;
    FieldReader io(bytes, name, kDataModulus);
    WalkReinforcementFile(io, file, BoundsOf(setup));
    return file;
}
Bytes ReinforcementFileBytes(const ReinforcementFile& file) {
    FieldWriter io(kDataModulus);
    WalkReinforcementFile(io, file, ReinforcementBounds{});
    return io.Take();
}
FileMap ReinforcementFileMap(const Bytes& bytes, const State& setup) {
    ReinforcementFile file;
    FieldMapper io(bytes, kDataModulus);
    WalkReinforcementFile(io, file, BoundsOf(setup));
    return io.Take();
}

WeatherFile ParseWeatherFile(const Bytes& bytes, const std::string& name) {
    WeatherFile file;
    FieldReader io(bytes, name, kByteModulus);
    WalkWeatherFile(io, file);
    for (int month = 1; month <= 12; ++month)
        if (!WeatherDrawCanEnd(file.months[static_cast<std::size_t>(month)]))
            throw DataError(name, "month " + std::to_string(month) + " can draw a temperature that no weather fits");
    return file;
}
Bytes WeatherFileBytes(const WeatherFile& file) {
    FieldWriter io(kByteModulus);
    WalkWeatherFile(io, file);
    return io.Take();
}
FileMap WeatherFileMap(const Bytes& bytes) {
    WeatherFile file;
    FieldMapper io(bytes, kByteModulus);
    WalkWeatherFile(io, file);
    return io.Take();
}

std::string RegimentTypeFileName(int dataSet) {
    return Numbered("Data\\EzredAlap", dataSet);
}
std::string FormationFileName(int dataSet) {
    return Numbered("Data\\Formacio", dataSet);
}
std::string GeneralFileName(int dataSet) {
    return Numbered("Data\\Hadvez", dataSet);
}
std::string GeneralNameFileName(int dataSet) {
    return Numbered("Data\\Tab_nevek", dataSet);
}
std::string ReinforcementFileName(int dataSet) {
    return Numbered("Data\\Erosites", dataSet);
}
std::string WeatherFileName(int dataSet) {
    return Numbered("Data\\Idojaras", dataSet);
}
std::string GivenNamePoolFileName(int pool) {
    return Numbered("Data\\knev", pool);
}
std::string FamilyNamePoolFileName(int pool) {
    return Numbered("Data\\vnev", pool);
}

void LoadRegimentTypes(Game& game, int dataSet) {
    const std::string name = RegimentTypeFileName(dataSet);
    const TypeFile file = ParseTypeFile(ReadDataFile(game, name), name);
    State& st = game.state;
    for (int t = 1; t <= kShippedTypeCount; ++t) {
        const TEzredAlap& read = file.types[static_cast<std::size_t>(t)];
        TEzredAlap& type = st.Types[static_cast<std::size_t>(t)];
        const auto keptName = type.Name; // the names come with the texts
        type = read;
        type.Name = keptName;
        st.BaseRecruitWeeks[static_cast<std::size_t>(t)] = type.RecruitWeeks;
    }
}

void LoadFormations(Game& game, int dataSet) {
    const std::string name = FormationFileName(dataSet);
    const FormationFile file = ParseFormationFile(ReadDataFile(game, name), name);
    for (int f = 1; f <= kFormationCount; ++f) {
        const TFormation& read = file.formations[static_cast<std::size_t>(f)];
        TFormation& formation = game.state.Formations[static_cast<std::size_t>(f)];
        formation.ReadinessGain = read.ReadinessGain;
        formation.MovementFactor = read.MovementFactor;
        formation.AttackPercent = read.AttackPercent;
        formation.DefencePercent = read.DefencePercent;
    }
}

int GenericPortrait(const State& st, int nation, int index) {
    if (nation < 0 || nation > kNationCount || index < 1 || index > kRandTableSize) return 0;
    const int v = st.RandTable[static_cast<std::size_t>(index)];
    switch (kNationFlag[static_cast<std::size_t>(nation)]) {
    case 1:
        return 100 + v % 7;
    case 2:
        return 100 + v % 5;
    case 3:
        return 200 + v % 3;
    default:
        return 0;
    }
}

void LoadGeneralRoster(Game& game, int dataSet) {
    const std::string name = GeneralFileName(dataSet);
    const std::vector<RosterRecord> records = ParseRosterFile(ReadDataFile(game, name), name).records;
    const std::string namesFile = GeneralNameFileName(dataSet);
    const std::vector<std::string> lines = ReadTextLines(game.dir, namesFile);

    State& st = game.state;
    for (const RosterRecord& r : records) {
        TTabornok& g = st.Generals[static_cast<std::size_t>(r.side)][static_cast<std::size_t>(r.index)];
        g.Attack = r.attack;
        g.Defence = r.defence;
        g.Initiative = r.initiative;
        g.Nation = r.nation;
        g.SpecialAbility = r.ability;
        g.Available = 1;
        g.Corps = 0;
        const std::string own = "Tabornok\\" + std::to_string(r.side) + std::to_string(r.index) + ".bmp";
        g.Portrait = game.dir.Exists(own) ? r.index : GenericPortrait(st, r.nation, r.index);
    }
    std::size_t line = 0;
    for (int side = 1; side <= 2; ++side) {
        const int count = std::clamp(st.GeneralCount[side], 0, kMaxGenerals);
        for (int i = 1; i <= count; ++i) {
            TTabornok& g = st.Generals[static_cast<std::size_t>(side)][static_cast<std::size_t>(i)];
            g.FamilyName = LineAt(lines, line++);
            g.GivenName = LineAt(lines, line++);
        }
    }
}

void LoadNamePools(Game& game) {
    State& st = game.state;
    for (int p = 1; p <= 3; ++p) {
        const auto given = ReadTextLines(game.dir, GivenNamePoolFileName(p));
        const auto family = ReadTextLines(game.dir, FamilyNamePoolFileName(p));
        for (int i = 1; i <= kNamePoolSize; ++i) {
            st.GivenNamePool[static_cast<std::size_t>(p)][static_cast<std::size_t>(i)] =
                LineAt(given, static_cast<std::size_t>(i - 1));
            st.FamilyNamePool[static_cast<std::size_t>(p)][static_cast<std::size_t>(i)] =
                LineAt(family, static_cast<std::size_t>(i - 1));
        }
    }
}

void LoadAiBonus(Game& game) {
    const auto lines = ReadTextLines(game.dir, kAiBonusFile);
    int values[2] = {0, 0};
    const std::size_t at[2] = {2, 4}; // lines 3 and 5; 1, 2 and 4 are comments
    for (int i = 0; i < 2; ++i) {
        std::string_view text = LineAt(lines, at[i]);
        if (text.find_first_not_of(" \t") == std::string_view::npos) continue; // an empty line reads 0
        if (!ParseInt(text, values[i]))
            throw DataError(kAiBonusFile, "line " + std::to_string(at[i] + 1) + " is not a number");
    }
    game.state.AiBattleBonusEasy = values[0];
    game.state.AiBattleBonusHard = values[1];
}

void ShiftReinforcementDate(State& st, TErosites& e) {
    // One draw a record: the number of draws is part of the rule, so two machines that load
    // with the same chance cursor find the same dates.
    RandomShiftDate(st, e.Year, e.Month, e.Week, 4);
    // A corps shifted before the campaign's start comes in its first week rather than never.
    const Date start{st.StartYear, st.StartMonth, st.StartWeek};
    if (DateBefore(Date{e.Year, e.Month, e.Week}, start)) {
        e.Year = start.year;
        e.Month = start.month;
        e.Week = start.week;
    }
}

void LoadReinforcements(Game& game) {
    State& st = game.state;
    const std::string name = ReinforcementFileName(st.DataSet);
    if (!game.dir.Exists(name)) {
        st.ReinforcementCount = 0;
        return;
    }
    std::vector<TErosites> records = ParseReinforcementFile(ReadDataFile(game, name), name, st).records;

    st.ReinforcementCount = static_cast<int>(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        TErosites& e = st.Reinforcements[i + 1];
        const int arrived = e.Arrived; // the saved game's, not the file's
        e = records[i];
        e.Arrived = arrived;
        if (st.KeepReinforcementDates != 1) ShiftReinforcementDate(st, e);
        const int general = e.Template.General;
        if (e.Arrived == 0 && general > 0) {
            // A general who comes with a reinforcement waits for it.
            const bool due = !DateBefore({e.Year, e.Month, e.Week}, Today(st));
            st.Generals[static_cast<std::size_t>(e.Side)][static_cast<std::size_t>(general)].Available =
                due ? 0 : 1;
        }
    }
}

bool WeatherDrawCanEnd(const TWeatherMonth& m) {
    // The draws are R(100): r runs 1..100.
    bool frostPossible = false, mildPossible = false, frostFits = false, mildFits = false;
    const int t1 = m.Temperature[1];
    const int w1 = m.Weather[1], w12 = w1 + m.Weather[2], w123 = w12 + m.Weather[3];
    for (int r = 1; r <= 100; ++r) {
        (r < t1 ? frostPossible : mildPossible) = true;
        const int weather = r < w1 ? 1 : r < w12 ? 2 : r < w123 ? 3 : 4;
        if (weather != 3) frostFits = true; // a frosty week never rains
        if (weather != 4) mildFits = true;  // and only a frosty week snows
    }
    return (!frostPossible || frostFits) && (!mildPossible || mildFits);
}

void LoadWeatherTables(Game& game, int dataSet) {
    const std::string name = WeatherFileName(dataSet);
    game.state.WeatherTable = ParseWeatherFile(ReadDataFile(game, name), name).months;
}

} // namespace vezer
