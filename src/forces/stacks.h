#pragma once
// The corps of one side that share a hex form a stack ordered by StackOrder (1 the top; only
// the top shows its marker). This is how the stack is read and rebuilt, and which corps a click
// on a hex selects.

#include "core/game.h"

namespace vezer {

// StackOrder values other rules set: the top, below the others, a loaded garrison.
inline constexpr int kStackTop = 1;
inline constexpr int kStackBelow = 10;
inline constexpr int kStackLoadedGarrison = 99;
// TopVisibleCorps looks only below this.
inline constexpr int kStackHidden = 10000;
// Corps pushed down again and again stop sinking here, so they never fall out of sight.
inline constexpr int kStackFloor = 9000;

struct StackPlace {
    int corps = 0;
    int stackOrder = 0;
};

// The side's corps on the hex with the smallest StackOrder below 10 000 (first in index order
// among equals), among those this machine may see: its own, any in a network game or without
// fog of war, and enemy corps it has seen (ReconLevel >= 1).
StackPlace TopVisibleCorps(const State& state, int side, int x, int y);
// The side's corps on the hex with the largest StackOrder (first among equals; none above 0).
StackPlace BottomCorps(const State& state, int side, int x, int y);
// Makes corps c (when it has regiments and may be seen; 0 for none) or else the top visible
// corps the top of the side's stack, pushes the others down, shares knowledge of the stack
// (one corps seen, all seen) and refreshes the markers.
void RefreshHexStack(Game& game, int side, int c, int x, int y);
// A click on hex (x, y) by the active side: selects the top corps there, cycles through the
// stack on a second click, and switches to the enemy's stack where the own corps cannot be
// the one meant (a garrison facing a field corps, an enemy fortress).
void SelectAtHex(Game& game, int x, int y);

} // namespace vezer
