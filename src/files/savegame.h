#pragma once
// Saved games: one flat file of signed 32-bit little-endian values with a running checksum.
// The same format serves the campaign start files, the automatic saves at the end of a turn,
// quick saves, named saves, network saves and the e-mail game files.
//
// Loading stages, verifies and commits: the whole file is read into a scratch copy of the
// game, its checksum and every count and index are checked, the derived fields are rebuilt
// there, and only then does the scratch copy replace the running game. A bad file changes
// nothing.

#include "core/binary_io.h"
#include "core/field_walk.h"
#include "core/game.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace vezer {

inline constexpr int kSaveChecksumModulus = 2000;
inline constexpr int kPbemDataSetOffset = 100; // an e-mail game writes DataSet + 100
inline constexpr int kPasswordRoom = 40;       // characters of a password the game keeps

// The save table's fixed names. The end-of-turn names are AutoSaveName / AutoSaveLatestName.
inline constexpr const char* kAutoSaveFile = "save\\autosave.sav";
inline constexpr const char* kQuickSaveFile = "save\\gyorsmentes.sav";
inline constexpr const char* kNetworkQuickSaveFile = "save\\multigyorsmentes.sav";
inline constexpr const char* kEmailSaveFile = "save\\PBEM.sav";

// "save\\" + name for a name chosen in a save dialog or sent by the other machine. A name
// that is not a plain file name (folders, "..") is refused with FileIoError.
std::string SaveFolderFile(std::string_view plainName);
// "data\\kampany" + dataSet + campaign + ".dat": the start file of a campaign.
std::string CampaignStartFileName(int dataSet, int campaign);

// The bytes of a save of `state` (blocks 1 to 14, and the e-mail trailer in an e-mail game).
// Counts beyond a capacity are written as they are, with no more records than the capacity.
Bytes SaveGameBytes(const State& state);

// Writes the save atomically to a game file name ("save\\korvege.sav"): a failure throws
// FileIoError and leaves any previous file of that name as it was. The save folder is
// created when it is missing.
void SaveGame(Game& game, std::string_view gameFileName, const WriteFault* fault = nullptr);
// The same for a path outside the game's own names (the command line, the data compiler).
void WriteSaveFile(const State& state, const std::filesystem::path& path, const WriteFault* fault = nullptr);
// SaveGame for the screens and the turn sequence: a failure is shown to the player as such
// and the game goes on. Returns whether the save was written.
bool TrySaveGame(Game& game, std::string_view gameFileName);
// The text shown when a save could not be written.
std::string SaveFailedMessage(std::string_view gameFileName);
// The quick save of the main screen: "save\\gyorsmentes.sav" ("save\\multigyorsmentes.sav" in a
// network game, whose name the caller also sends to the other machine), noted as
// "Játék mentve: " + the plain name in cyan in LocalSide's log. A save that fails is shown as a
// failure and noted nowhere. Returns whether it was written.
bool QuickSave(Game& game);
// The first stage of loading, for tests and tools: reads blocks 1 to 15 into `staged`,
// verifies the checksum and checks every count and index against the set-up in `staged`
// (TypeCount, map size, InitialGeneralCount). `beforeCities` runs after the header, when
// DataSet and Campaign are known and before the city block (the loader reloads the static
// city fields there). Returns the offset of whatever follows the e-mail trailer (the
// recorded orders of an e-mail turn file). Throws DataError naming `displayName`.
std::size_t ReadSaveInto(State& staged, const Bytes& bytes, const std::string& displayName,
                         const std::function<void(State&)>& beforeCities);
// Where each value of `bytes` lies as the loader walks them, with the range it holds each to
// and the checksum's reduction points, for the fuzzers and the layout tests. `setup` gives what
// the set-up provides and the file does not hold: TypeCount and the types' FullStrength, the
// map size and InitialGeneralCount. Counts outside their capacity are walked as the capacity.
FileMap SaveFileMap(const Bytes& bytes, const State& setup);

} // namespace vezer
