#include "files/scenario_files.h"

#include "core/arith.h"
#include "core/binary_io.h"
#include "core/calendar.h"
#include "core/errors.h"
#include "core/random.h"
#include "core/textfile.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vezer {

namespace {

constexpr int kDataModulus = 2000; // integer data files
constexpr int kByteModulus = 200;  // byte data files
constexpr int kTypeFields = 14;
constexpr int kFormationFields = 4;
constexpr int kGeneralRecordBytes = 7;
constexpr int kGeneralFreeBytes = 5;
constexpr int kWeatherMonthBytes = 8;

std::string Numbered(const char* prefix, int n) {
    return prefix + std::to_string(n) + ".dat";
}

Bytes ReadDataFile(const Game& game, const std::string& name) {
    return ReadFileBytes(game.dir.Resolve(name), name);
}

void Require(bool ok, const BinaryReader& in, const std::string& what) {
    if (!ok) in.Fail(what);
}

std::string Range(const std::string& what, int value) {
    return what + " is " + std::to_string(value);
}

// The file must end where its layout ends: anything after the check value is damage too.
void RequireEnd(const BinaryReader& in) {
    Require(in.AtEnd(), in, "data after the check value");
}

// Reads `count` records of `fields` integers and the check value (the sum of every value
// mod 2000, with 32-bit wrapping additions).
std::vector<std::array<int, kTypeFields>> ReadIntTable(const Bytes& bytes, const std::string& name, int count,
                                                       int fields) {
    BinaryReader in(bytes, name);
    std::vector<std::array<int, kTypeFields>> rows(static_cast<std::size_t>(count));
    std::int32_t sum = 0;
    for (auto& row : rows) {
        for (int f = 0; f < fields; ++f) {
            row[static_cast<std::size_t>(f)] = in.ReadInt();
            sum = WrapAdd(sum, row[static_cast<std::size_t>(f)]);
        }
    }
    std::int32_t check = in.ReadInt();
    RequireEnd(in);
    VerifyChecksum(sum % kDataModulus, check, name);
    return rows;
}

struct RosterRecord {
    int side = 0, index = 0, attack = 0, defence = 0, initiative = 0, nation = 0, ability = 0;
};

std::vector<RosterRecord> ReadRosterFile(const Bytes& bytes, const std::string& name) {
    BinaryReader in(bytes, name);
    const int a = in.ReadByte();
    const int b = in.ReadByte();
    for (int i = 0; i < kGeneralFreeBytes; ++i) in.ReadByte();
    int sum = a + b;
    std::vector<RosterRecord> records;
    for (int i = 0; i < a + b; ++i) {
        std::array<int, kGeneralRecordBytes> v{};
        for (int& x : v) {
            x = in.ReadByte();
            sum = (sum + x) % kByteModulus;
        }
        RosterRecord r{v[0], v[1], v[2], v[3], v[4], v[5], v[6]};
        const std::string who = "general record " + std::to_string(i + 1);
        Require(r.side == 1 || r.side == 2, in, Range("side of " + who, r.side));
        Require(r.index >= 1 && r.index <= kMaxGenerals, in, Range("index of " + who, r.index));
        Require(r.nation >= 1 && r.nation <= kNationCount, in, Range("nation of " + who, r.nation));
        Require(r.ability >= 0 && r.ability <= kAbilitySlots, in, Range("ability of " + who, r.ability));
        records.push_back(r);
    }
    const int check = in.ReadByte();
    RequireEnd(in);
    VerifyChecksum(sum % kByteModulus, check, name);
    return records;
}

// Reads and checks the reinforcement file; the dates are the file's own.
std::vector<TErosites> ReadReinforcementFile(const Bytes& bytes, const std::string& name, const State& st) {
    BinaryReader in(bytes, name);
    const int count = in.ReadInt();
    Require(count >= 0 && count <= kMaxReinforcements, in, Range("the number of reinforcements", count));
    std::int32_t s = count;
    std::vector<TErosites> records(static_cast<std::size_t>(count));
    int k = 0;
    for (TErosites& e : records) {
        const std::string who = "reinforcement " + std::to_string(++k);
        THad& t = e.Template;
        for (int* v : {&e.Year, &e.Month, &e.Week, &e.Side, &e.LimitedIntervention, &t.X, &t.Y, &t.Nation,
                       &t.General, &t.Formation, &t.UnitCount}) {
            *v = in.ReadInt();
            s = WrapAdd(s, *v);
        }
        Require(e.Side == 1 || e.Side == 2, in, Range("side of " + who, e.Side));
        Require(t.Nation >= 1 && t.Nation <= kNationCount, in, Range("nation of " + who, t.Nation));
        Require(t.X >= 0 && t.X <= st.MapMaxX && t.Y >= 0 && t.Y <= st.MapMaxY, in,
                who + " arrives off the map at (" + std::to_string(t.X) + ", " + std::to_string(t.Y) + ")");
        Require(t.Formation >= 1 && t.Formation <= kFormationCount, in,
                Range("formation of " + who, t.Formation));
        Require(t.General >= 0 && t.General <= st.GeneralCount[e.Side], in,
                Range("general of " + who, t.General));
        Require(t.UnitCount >= 0 && t.UnitCount <= kReinforcementUnits, in,
                Range("unit count of " + who, t.UnitCount));
        for (int u = 1; u <= t.UnitCount; ++u) {
            int type = in.ReadInt();
            int fill = in.ReadInt();
            // A type + 20 is a veteran unit of that type.
            int base = type > 20 ? type - 20 : type;
            Require(base >= 1 && base <= st.TypeCount, in, Range("unit type of " + who, type));
            Require(fill >= 1 && fill <= 100, in, Range("unit fill of " + who, fill));
            t.Units[static_cast<std::size_t>(u)] = type;
            e.UnitFill[static_cast<std::size_t>(u)] = fill;
            s = WrapAdd(WrapAdd(s, type), fill) % kDataModulus;
        }
    }
    const std::int32_t check = in.ReadInt();
    RequireEnd(in);
    VerifyChecksum(s, check, name);
    return records;
}

// Line `i` (0-based) of a text file, or empty past its end.
std::string_view LineAt(const std::vector<std::string>& lines, std::size_t i) {
    return i < lines.size() ? std::string_view(lines[i]) : std::string_view();
}

} // namespace

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
    const Bytes bytes = ReadDataFile(game, name);
    const auto rows = ReadIntTable(bytes, name, kShippedTypeCount, kTypeFields);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& v = rows[i];
        const std::string who = "type " + std::to_string(i + 1);
        // Arm and ArmClass pick tables; FullStrength divides every fill percentage.
        if (v[0] < 1 || v[0] > 3) throw DataError(name, Range("arm of " + who, v[0]));
        if (v[1] < 0 || v[1] > 1) throw DataError(name, Range("arm class of " + who, v[1]));
        if (v[2] < 1) throw DataError(name, Range("full strength of " + who, v[2]));
        if (v[13] < 0 || v[13] > 2) throw DataError(name, Range("side of " + who, v[13]));
    }
    State& st = game.state;
    for (int t = 1; t <= kShippedTypeCount; ++t) {
        const auto& v = rows[static_cast<std::size_t>(t - 1)];
        TEzredAlap& type = st.Types[static_cast<std::size_t>(t)];
        int* fields[kTypeFields] = {&type.Arm,
                                    &type.ArmClass,
                                    &type.FullStrength,
                                    &type.BaseCombatValue,
                                    &type.BaseDefenceValue,
                                    &type.BaseObservation,
                                    &type.BaseVisibility,
                                    &type.BaseMovement,
                                    &type.BaseMorale,
                                    &type.BaseExperience,
                                    &type.BaseReadiness,
                                    &type.BaseSupply,
                                    &type.RecruitWeeks,
                                    &type.SideOnly};
        for (int f = 0; f < kTypeFields; ++f) *fields[f] = v[static_cast<std::size_t>(f)];
        st.BaseRecruitWeeks[static_cast<std::size_t>(t)] = type.RecruitWeeks;
    }
}

void LoadFormations(Game& game, int dataSet) {
    const std::string name = FormationFileName(dataSet);
    const Bytes bytes = ReadDataFile(game, name);
    const auto rows = ReadIntTable(bytes, name, kFormationCount, kFormationFields);
    for (int f = 1; f <= kFormationCount; ++f) {
        const auto& v = rows[static_cast<std::size_t>(f - 1)];
        TFormation& formation = game.state.Formations[static_cast<std::size_t>(f)];
        formation.ReadinessGain = v[0];
        formation.MovementFactor = v[1];
        formation.AttackPercent = v[2];
        formation.DefencePercent = v[3];
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
    const auto records = ReadRosterFile(ReadDataFile(game, name), name);
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

void LoadReinforcements(Game& game) {
    State& st = game.state;
    const std::string name = ReinforcementFileName(st.DataSet);
    if (!game.dir.Exists(name)) {
        st.ReinforcementCount = 0;
        return;
    }
    std::vector<TErosites> records = ReadReinforcementFile(ReadDataFile(game, name), name, st);

    st.ReinforcementCount = static_cast<int>(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        TErosites& e = st.Reinforcements[i + 1];
        const int arrived = e.Arrived; // the saved game's, not the file's
        e = records[i];
        e.Arrived = arrived;
        if (st.KeepReinforcementDates != 1) RandomShiftDate(st, e.Year, e.Month, e.Week, 4);
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
    const Bytes bytes = ReadDataFile(game, name);
    BinaryReader in(bytes, name);
    std::array<TWeatherMonth, 13> table{};
    int sum = 0;
    for (int month = 1; month <= 12; ++month) {
        std::array<int, kWeatherMonthBytes> v{};
        for (int& x : v) {
            x = in.ReadByte();
            sum += x;
        }
        TWeatherMonth& m = table[static_cast<std::size_t>(month)];
        m.Weather = {0, v[0], v[1], v[2], v[3]};
        m.Temperature = {0, v[4], v[5], v[6]};
        m.HighWater = v[7];
    }
    const int check = in.ReadByte();
    RequireEnd(in);
    VerifyChecksum(sum % kByteModulus, check, name);
    for (int month = 1; month <= 12; ++month)
        if (!WeatherDrawCanEnd(table[static_cast<std::size_t>(month)]))
            throw DataError(name, "month " + std::to_string(month) +
                                      " can draw a temperature that no weather fits");
    game.state.WeatherTable = table;
}

} // namespace vezer
