#pragma once
// Loading a saved game: the file is read into a scratch game, checked, everything derived is
// rebuilt there, and only then does it replace the running game. A bad file changes nothing.

#include "core/binary_io.h"
#include "core/game.h"

#include <string>
#include <string_view>

namespace vezer {

// Why the settings screen may not save this game ("" when it may): an e-mail game saves itself
// at the end of each turn, and the tutorial is not saved.
std::string SaveRefusal(const State& state);

// Loads a save into a game prepared by SetUpGame and rebuilds everything derived. A missing
// file throws FileIoError, a damaged one DataError ("Corrupt file / Hibás file! " + name);
// either way the game is left exactly as it was.
void LoadGame(Game& game, std::string_view gameFileName);
// The same for bytes already read; `displayName` names the file in messages.
void LoadGameFromBytes(Game& game, const Bytes& bytes, const std::string& displayName);
// LoadGame for the screens: a failure is shown to the player and the game stays as it was.
bool TryLoadGame(Game& game, std::string_view gameFileName);

} // namespace vezer
