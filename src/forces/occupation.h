#pragma once
// What happens to a hex when a corps enters it: enemy entrenchments are levelled or taken
// over, an undefended town of the other side is taken. And the zeal a side gains or loses
// by such events.

#include "core/game.h"

namespace vezer {

inline constexpr const char* kOccupiesText = " occupies ";
inline constexpr const char* kNationUnitsWeakenedText = " units: -10 morale and supply";

// A corps of `side`, of `nation` and led by `general`, enters the hex.
void OccupyHex(Game& game, int side, int nation, int general, int x, int y);
// The entrenchment of the other side on a hex a corps of `side` enters: level 1 is levelled,
// level 2 changes sides.
void EnterEntrenchment(Game& game, int side, int x, int y);

// A chance-limited change of a side's zeal: one draw R(100) unless amount is 0; the change
// happens when (room x 3/2, x 3/2 again on easy difficulty) is not below the draw.
void ZealChange(Game& game, int side, int amount);

// Takes every entry of the hex off the computer's list of hexes to reconnoitre.
void RemoveReconTarget(State& state, int x, int y);

} // namespace vezer
