#pragma once
// Opening an e-mail turn: the opponent's recorded orders replayed on this machine.

#include "core/game.h"

#include <cstdint>
#include <span>

namespace vezer {

// Starts the replay of the loaded turn file's orders.
void OpenReplay(Game& game);
// The recorded orders that follow the trailer of a loaded turn file, kept for the replay.
void KeepEmailOrdersAfterLoad(Game& game, std::span<const std::uint8_t> orders);

} // namespace vezer
