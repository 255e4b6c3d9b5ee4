#pragma once
// The command-line entry points of the vezer executable.

#include "core/game.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vezer::app {

struct Command {
    const char* name;
    const char* usage;    // one line for --help
    int (*run)(const std::vector<std::string>& args);
};

// Every command the executable knows, in the order --help lists them.
const std::vector<Command>& Commands();

// vezer render-map OUT.png: the map as a picture.
int RunRenderMap(const std::vector<std::string>& args);
// vezer new-game --campaign N ... --out FILE: a campaign set up and started, then saved.
int RunNewGame(const std::vector<std::string>& args);
// vezer inspect FILE: a saved game, checksum verified, printed as JSON.
int RunInspect(const std::vector<std::string>& args);
// vezer orders IN.sav ORDERS.txt --out OUT.sav [--trace]: order records run on a saved game.
int RunOrders(const std::vector<std::string>& args);
// vezer week IN.sav --weeks N --out OUT.sav [--trace] [--play-on] [--check-invariants]: whole
// weeks played without a screen.
int RunWeek(const std::vector<std::string>& args);

// vezer turn-info TURNFILE: what an e-mail turn file holds, its opponent's moves not shown.
int RunTurnInfo(const std::vector<std::string>& args);
// vezer email-turn TURNFILE --password P --orders ORDERS.txt --out NEXT: an e-mail turn played
// without a display.
int RunEmailTurn(const std::vector<std::string>& args);
// This machine's e-mail turn from a text file of orders (order 30 added when missing), then the
// turn file "save\\PBEM_" + turnName + ".sav". Returns the exit code.
int PlayEmailOrders(Game& game, const std::string& ordersPath, const std::string& turnName, const char* cmd);

// The seed of a new game's chance cursor when the player names none: the clock.
std::uint32_t ClockSeed();
// A seed from the command line: a decimal number 0..4294967295.
bool ParseSeed(const std::string& text, std::uint32_t& out);

// The game directory: --game-dir, else $VEZER_GAME_DIR, else the executable's folder.
std::string GameDirectory();
void SetGameDirectory(const std::string& dir);

} // namespace vezer::app
