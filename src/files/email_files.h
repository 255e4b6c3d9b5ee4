#pragma once
// The order file of an e-mail game: the orders this machine gives in its turn, each with the
// random-table position it ran at, written to "save\\PBEM.paf".

#include "core/game.h"
#include "core/order_record.h"

namespace vezer {

// A new order file with its header (the start of an e-mail turn).
void CreateOrderFile(Game& game);
// Appends an order of this machine's turn.
void RecordOrder(Game& game, const TParancs& order);
// Closes the turn's order files (order 30 at the machine whose side is active).
void CloseOrderFiles(Game& game);

} // namespace vezer
