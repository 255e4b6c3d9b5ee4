#pragma once
// Play by e-mail: starting a game on the first machine, opening the opponent's turn file with
// this player's password, and replaying the opponent's recorded orders one SPACE press at a
// time. Recording and the files themselves are files/email_files.h.

#include "campaign/setup.h"
#include "core/game.h"
#include "core/order_record.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vezer {

// A password as an e-mail save keeps it: at most 40 characters of the save's character set.
// Passwords are compared in this form, so what was typed opens what was stored.
std::string StoredPasswordForm(std::string_view typed);

// A new e-mail game on the first machine: the campaign is started with both sides persons,
// this side's password is set, and the start-of-turn save "save\\PBEM.sav" and the order file
// are written. Everything happens in a scratch game first: a failure leaves the running game
// as it was. The main screen's activation (the turn-start screen) follows.
void StartEmailGame(Game& game, int dataSet, std::uint32_t seed, int campaign, CampaignChoices choices,
                    std::string_view password);

enum class TurnFileOpening {
    Opened,
    WrongPassword,  // the password does not open this machine's side; nothing changed
    NotEmailGame,   // a save that is not an e-mail game's; nothing changed
};

// Opens a turn file "save\\" + plainName as its receiver: this machine becomes the side that did
// not write it. A side without a password yet takes the typed one (the second player chooses
// a password by opening the first turn file). The file's recorded orders become the order file
// "save\\PBEM.paf" to replay, the turn-start flags are set as the load rules say and the SPACE
// notice is due. A name that is not a plain file name, or one of the working files, throws
// FileIoError; a damaged file throws DataError naming it; a wrong password or a save of
// another kind is answered. In all three cases the running game is unchanged.
TurnFileOpening OpenTurnFile(Game& game, std::string_view plainName, std::string_view password,
                             std::uint32_t seed);

// Opens "save\\PBEM.paf" for the replay: its header becomes the chance cursor and the end-turn
// button waits for the replayed order 30. Without the file nothing is replayed. A damaged file
// throws DataError and opens nothing.
void OpenReplay(Game& game);

// One SPACE press: replays the opponent's next order, and the ones after it by themselves while
// there is nothing for this player to watch (a selection, an order of a corps this player knows
// nothing of). An order that fails or is refused stops the chain; the next press goes on with
// the next record. Returns how many records this press replayed (0 at the end, or while a
// replay step is already running).
int ReplayNextOrder(Game& game);

// An order of the local player in an e-mail game: order 24 is the estimate before an attack
// (PrepareBattle, which records itself; Param the kind of attack, 1 a field attack, 3 an
// assault, set for the estimate as the attack screen does), every other code goes to
// ExecuteOrder.
void GiveOrder(Game& game, const TParancs& order);

// What the player sees on opening a turn: whose turn, the date, how many orders the opponent
// gave (the end of the turn not counted) and how many of them concerned corps this player
// knows nothing of (replayed hidden).
struct TurnSummary {
    int side = 0;  // the side this player plays
    int year = 0, month = 0, week = 0;
    int orders = 0;
    int hidden = 0;
    bool complete = false;  // the opponent's turn ends with its order 30
};
// Counts by replaying the opened file in a scratch copy of the game, up to its order 30.
TurnSummary SummariseOpenedTurn(const Game& game);
// The summary as the screen shows it, in Hungarian and English.
std::string TurnSummaryText(const TurnSummary& summary);

} // namespace vezer
