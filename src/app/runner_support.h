#pragma once
// What the headless runners (`vezer orders`, `vezer week`) share: loading a save, and the
// fingerprint line of a state.

#include "core/game.h"
#include "core/order_record.h"

#include <string>
#include <vector>

namespace vezer::app {

// One order record of a text file, with its line.
struct OrderLine {
    int line = 0;
    TParancs order;
};
// Reads "code hexX hexY side corps param" lines; `#` starts a comment, blank lines are skipped.
// Returns an empty text, or what is wrong and where.
std::string ParseOrders(const std::string& path, std::vector<OrderLine>& out);
// "code hexX hexY side corps param".
std::string Describe(const TParancs& order);

// Sets the game up from the game directory and loads the save. A save of ours carries the chance
// cursor it was written at after its checksum, and a runner draws from there; a plain save
// replays from the table's start. Throws DataError (or FileIoError) for a save it cannot use.
void LoadSaveForRunner(Game& game, const std::string& path);
// The same, with a damaged save reported on stderr as "vezer COMMAND: ..."; false then.
bool LoadSaveOrReport(Game& game, const std::string& path, const char* command);

// "fingerprint N hash H": the rules' fingerprint and the whole-state hash.
std::string FingerprintText(const State& state);

} // namespace vezer::app
