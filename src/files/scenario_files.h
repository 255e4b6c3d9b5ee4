#pragma once
// The set-up's data files: regiment types, formations, generals and their names, the name
// pools of generals created in play, the computer's battle bonus, the reinforcement schedule
// and the weather table. Each reader parses the whole file, verifies its check value and
// every value that later code uses as an index, and only then writes the game state: a
// damaged file throws DataError ("Corrupt file / Hibás file! " + its name) and changes
// nothing; a missing one throws FileIoError.

#include "core/binary_io.h"
#include "core/data_set.h"
#include "core/field_walk.h"
#include "core/game.h"

#include <array>
#include <string>
#include <vector>

namespace vezer {

inline constexpr int kShippedTypeCount = kDataSetSizes.typeCount;
inline constexpr int kShippedGeneralCount1 = kDataSetSizes.generals[1];
inline constexpr int kShippedGeneralCount2 = kDataSetSizes.generals[2];
inline constexpr const char* kAiBonusFile = "data\\ai_bonusz.dat";

std::string RegimentTypeFileName(int dataSet);  // "Data\\EzredAlap<n>.dat"
std::string FormationFileName(int dataSet);     // "Data\\Formacio<n>.dat"
std::string GeneralFileName(int dataSet);       // "Data\\Hadvez<n>.dat"
std::string GeneralNameFileName(int dataSet);   // "Data\\Tab_nevek<n>.dat"
std::string ReinforcementFileName(int dataSet); // "Data\\Erosites<n>.dat"
std::string WeatherFileName(int dataSet);       // "Data\\Idojaras<n>.dat"
std::string GivenNamePoolFileName(int pool);    // "Data\\knev<p>.dat"
std::string FamilyNamePoolFileName(int pool);   // "Data\\vnev<p>.dat"

// --- The files as records: each parsed (staged and checked), written and mapped by one walk ---

// Data\EzredAlap<n>.dat: types 1..15, fourteen 32-bit values each, and the check value.
struct TypeFile {
    std::array<TEzredAlap, kShippedTypeCount + 1> types{};
};
TypeFile ParseTypeFile(const Bytes& bytes, const std::string& name);
Bytes TypeFileBytes(const TypeFile& file);
FileMap TypeFileMap(const Bytes& bytes);

// Data\Formacio<n>.dat: formations 1..7, four 32-bit values each, and the check value.
struct FormationFile {
    std::array<TFormation, kFormationCount + 1> formations{};
};
FormationFile ParseFormationFile(const Bytes& bytes, const std::string& name);
Bytes FormationFileBytes(const FormationFile& file);
FileMap FormationFileMap(const Bytes& bytes);

// Data\Hadvez<n>.dat: the two roster sizes, five bytes outside the check value, the records of
// both sides, and the check byte.
struct RosterRecord {
    int side = 0, index = 0, attack = 0, defence = 0, initiative = 0, nation = 0, ability = 0;
};
struct RosterFile {
    PerSide<int> count{};
    std::array<int, 5> unused{};
    std::vector<RosterRecord> records; // count[1] + count[2] of them
};
RosterFile ParseRosterFile(const Bytes& bytes, const std::string& name);
Bytes RosterFileBytes(const RosterFile& file);
FileMap RosterFileMap(const Bytes& bytes);

// Data\Erosites<n>.dat: the number of records, each record's eleven values and its units (type
// and fill), and the check value. `setup` bounds what the records name: the map size, the types
// and each side's generals.
struct ReinforcementFile {
    int count = 0;
    std::vector<TErosites> records; // `count` of them
};
ReinforcementFile ParseReinforcementFile(const Bytes& bytes, const std::string& name, const State& setup);
Bytes ReinforcementFileBytes(const ReinforcementFile& file);
FileMap ReinforcementFileMap(const Bytes& bytes, const State& setup);

// Data\Idojaras<n>.dat: eight bytes a month (weather 1..4, temperature 1..3, high water) and the
// check byte. Every month must let the weekly weather draw end.
struct WeatherFile {
    std::array<TWeatherMonth, 13> months{};
};
WeatherFile ParseWeatherFile(const Bytes& bytes, const std::string& name);
Bytes WeatherFileBytes(const WeatherFile& file);
FileMap WeatherFileMap(const Bytes& bytes);

// --- The set-up's loaders ----------------------------------------------------------------

// Types 1..15 with their check value; BaseRecruitWeeks takes each type's RecruitWeeks.
void LoadRegimentTypes(Game& game, int dataSet);
// Formations 1..7 (their names come with the texts).
void LoadFormations(Game& game, int dataSet);
// The general file and the general-name file. Every record of the general file is honoured
// whatever GeneralCount says; names are read for generals 1..GeneralCount of each side.
void LoadGeneralRoster(Game& game, int dataSet);
// The generic portrait of a general of `nation` at `index`, from the random table (no draw).
int GenericPortrait(const State& state, int nation, int index);
// The three pools of given and family names (25 of each, 15 characters kept).
void LoadNamePools(Game& game);
// AiBattleBonusEasy and AiBattleBonusHard from "data\\ai_bonusz.dat".
void LoadAiBonus(Game& game);
// The reinforcement schedule of DataSet; a missing file means no reinforcements. Unless
// KeepReinforcementDates is 1 each arrival date moves by up to four weeks, one draw a record
// (ShiftReinforcementDate); a general who arrives with a record is unavailable until its date.
void LoadReinforcements(Game& game);
// Moves the record's date by R(9) - 5 weeks (RandomShiftDate with a spread of 4); a date
// before the campaign's start becomes the start.
void ShiftReinforcementDate(State& state, TErosites& record);
// The monthly weather table (Part of the weekly weather draw).
void LoadWeatherTables(Game& game, int dataSet);
// Whether month m of the table lets the weekly weather draw finish: every temperature the
// month can draw has a weather it may keep.
bool WeatherDrawCanEnd(const TWeatherMonth& month);

} // namespace vezer
