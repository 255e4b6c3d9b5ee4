#pragma once
// Summaries of the game state. The fingerprint is the number the two machines of a network
// game compare; the full hash covers every field and is what tests compare.

#include "core/state.h"

#include <cstdint>

namespace vezer {

// A number 0..7822 over the fields the network check names.
int GameStateFingerprint(const State& state);

// A hash over every saved and derived field of the game (not the random table, the texts or
// the event log). Two games fed the same orders hash equal after every order.
std::uint64_t FullStateHash(const State& state);

} // namespace vezer
