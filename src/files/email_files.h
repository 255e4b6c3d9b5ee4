#pragma once
// The files of an e-mail game. The order file "save\\PBEM.paf" holds the orders this machine
// gives in its turn, each with the random-table position it ran at; the turn file
// "save\\PBEM_" + name + ".sav" is the start-of-turn save "save\\PBEM.sav" followed by the order
// file, and is what travels to the opponent.

#include "core/binary_io.h"
#include "core/game.h"
#include "core/order_record.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vezer {

inline constexpr const char* kOrderFile = "save\\PBEM.paf";
inline constexpr std::size_t kOrderFileHeaderBytes = 8;
// Six order fields and the cursor pair the order ran at.
inline constexpr std::size_t kRecordedOrderBytes = 32;

struct RecordedOrder {
    TParancs order;
    int randPos = 0;
    int randStep = 0;
    friend bool operator==(const RecordedOrder&, const RecordedOrder&) = default;
};

struct OrderFileContents {
    int randPos = 0; // the cursor when the file was created
    int randStep = 0;
    std::vector<RecordedOrder> orders;
};

// A new order file with its header (the start of an e-mail turn); it replaces any file of that
// name. A failure throws FileIoError and leaves the previous file as it was.
void CreateOrderFile(Game& game);
// Appends an order of this machine's turn with the cursor it runs at. Called before the order
// runs: a failure throws FileIoError, so an order that is not in the file is not executed
// either and the two machines stay in step.
void RecordOrder(Game& game, const TParancs& order);
// Closes the turn's order file (order 30 at the machine whose side is active): nothing more is
// appended, and the replay of the opponent's file, if one was still open, ends.
void CloseOrderFiles(Game& game);

// The bytes of an order file.
Bytes OrderFileBytes(const OrderFileContents& contents);
// Reads an order file (or the part of a turn file after the save): the header, then whole
// records. Checks the sizes, each code (1..30), each cursor pair and that nothing follows an
// order 30; throws DataError naming `displayName` otherwise. The fields an order reads are
// checked against the game when it is replayed.
OrderFileContents ReadOrderFile(std::span<const std::uint8_t> bytes, const std::string& displayName);

// "save\\PBEM_" + name + ".sav" for the name the player gives the turn. The name must be a plain
// file name (no folders, no ".."); anything else throws FileIoError.
std::string TurnFileName(std::string_view name);
// Whether a plain file name may be opened as a turn file: not one of the working files
// "PBEM.sav" and "PBEM.paf" (in any letter case), and a plain name.
bool IsTurnFileChoice(std::string_view plainName);

// Writes the turn file for `name`: every byte of "save\\PBEM.sav" followed by every byte of
// "save\\PBEM.paf", written atomically. Both must be readable and well formed; a failure
// throws FileIoError or DataError and leaves every file as it was, so the player can try
// again. Returns the game file name written.
std::string WriteTurnFile(Game& game, std::string_view name, const WriteFault* fault = nullptr);

} // namespace vezer
