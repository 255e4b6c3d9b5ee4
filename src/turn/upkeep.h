#pragma once
// The weekly upkeep, run once a week after side 2 has ended its turn and the calendar has moved
// on: every regiment eats, rests and drifts in spirit, every corps counts down its activity,
// the supply network refills the regiments, captured towns recover, the end of the campaign is
// tested and the week's weather is drawn.

#include "core/game.h"

namespace vezer {

// Entrenchment marks the map can show; a finished entrenchment builds nothing beyond them.
inline constexpr int kEntrenchmentMarkLimit = 100;
// Activities of a corps besides the formation changes 1..7.
inline constexpr int kActivityEntrench = 11;
inline constexpr int kActivityFortify = 12;

void WeeklyUpkeep(Game& game);

// Finishes a corps' activity whose countdown has run out: a new formation, one more level of
// earthworks, or one more level of the town's fortifications.
void CompleteActivity(Game& game, int side, int corps);

// The weekly consumption, rest and morale of one regiment (step 3 of the upkeep).
void RegimentUpkeep(Game& game, int side, int regiment);

} // namespace vezer
