#pragma once
// Sample games for the saved-game tests and the seed corpus of the load fuzzer: states built
// in memory, without the data files, that exercise every block of the save format.

#include "core/binary_io.h"
#include "core/state.h"

#include <vector>

namespace vezer::testing {

// What SetUpGame leaves behind that the save format depends on: 15 regiment types, the
// 63 x 36 map, 42 and 60 roster generals, cities with hexes, the random cursor.
void PrepareSetUpState(State& state);

// A game in play on top of PrepareSetUpState: corps and regiments of both sides (one corps a
// fortress garrison), two generals created in play, cities of both owners, an entrenchment
// with no corps on it, negative computer-opponent values, results and losses.
void FillSampleGame(State& state);

// The same game as an e-mail game, with both passwords set.
void MakeEmailGame(State& state);

// Saves of the sample games: plain, e-mail, and a new game with no corps.
std::vector<Bytes> SampleSaves();

} // namespace vezer::testing
