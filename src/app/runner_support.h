#pragma once
// What the headless runners (`vezer orders`, `vezer week`) share: loading a save, and the
// fingerprint line of a state.

#include "core/game.h"

#include <string>

namespace vezer::app {

// Sets the game up from the game directory and loads the save. A save of ours carries the chance
// cursor it was written at after its checksum, and a runner draws from there; a plain save
// replays from the table's start. Throws DataError (or FileIoError) for a save it cannot use.
void LoadSaveForRunner(Game& game, const std::string& path);
// The same, with a damaged save reported on stderr as "vezer COMMAND: ..."; false then.
bool LoadSaveOrReport(Game& game, const std::string& path, const char* command);

// "fingerprint N hash H": the rules' fingerprint and the whole-state hash.
std::string FingerprintText(const State& state);

} // namespace vezer::app
