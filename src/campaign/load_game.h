#pragma once
// Loading a saved game: the file is read into a scratch game, checked, everything derived is
// rebuilt there, and only then does it replace the running game. A bad file changes nothing.

#include "core/binary_io.h"
#include "core/game.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace vezer {

// Why the settings screen may not save this game ("" when it may): an e-mail game saves itself
// at the end of each turn, and the tutorial is not saved.
std::string SaveRefusal(const State& state);

// Loads a save into a game prepared by SetUpGame (the campaign start reads its start file
// so) and rebuilds everything derived. A missing file throws FileIoError, a damaged one
// DataError ("Corrupt file / Hibás file! " + name); either way the game is left exactly as it
// was.
void LoadGame(Game& game, std::string_view gameFileName);
// The same for bytes already read; `displayName` names the file in messages.
void LoadGameFromBytes(Game& game, const Bytes& bytes, const std::string& displayName);

// Loading a saved game in place of whatever game runs: the set-up (with `seed` for the chance
// cursor an ordinary save does not carry) and the load both go into a scratch game, which
// replaces the running one only when both succeeded. Nothing of the game that ran before
// (its logs, its historical events, the tutorial's place) survives into the loaded one.
void LoadSavedGame(Game& game, int dataSet, std::uint32_t seed, const Bytes& bytes,
                   const std::string& displayName);
// What a caller checks of a loaded game before it replaces the running one (the password of an
// e-mail turn file, its recorded orders): it sees the loaded state and the bytes after the
// e-mail trailer, may change the state, and refuses by throwing.
using LoadAcceptance = std::function<void(State& loaded, std::span<const std::uint8_t> afterTrailer)>;
// LoadSavedGame with the caller's check: a refusal leaves the running game as it was.
void LoadSavedGameChecked(Game& game, int dataSet, std::uint32_t seed, const Bytes& bytes,
                          const std::string& displayName, const LoadAcceptance& accept);
// LoadSavedGame of a game file for the screens: a failure is shown to the player and the game
// stays as it was.
bool TryLoadGame(Game& game, std::string_view gameFileName, std::uint32_t seed);

} // namespace vezer
