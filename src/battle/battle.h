#pragma once
// Battles and sieges: what follows a battle, which the week's events use as well.

#include "core/game.h"
#include "core/geometry.h"

namespace vezer {

// The corps of `side` in the hex (garrisons excepted) withdraw to the best neighbouring hex.
void RetreatFromHex(Game& game, Hex hex, int side);
// `side` takes the fortress in the hex with `corps`.
void CaptureFortress(Game& game, int side, int corps, Hex hex);
// The own city nearest by distance, not on the hex itself; 0 for none.
int FindNearestOwnCity(const State& state, int side, Hex hex);

} // namespace vezer
