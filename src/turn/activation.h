#pragma once
// The main screen's activation after a game is started or loaded: the turn start that is due
// (the week's turn-start screen of a new game, an e-mail game's pending upkeep and turn start)
// runs then, in the window game and in a game without a screen alike.

#include "core/game.h"

namespace vezer {

// The turn-start flags of a game just loaded: side 1 to move at the campaign's start date is a
// new game's first week (its turn-start screen is due); otherwise the turn-start screen is due
// when side 1 is to move in an e-mail game, and side 2's turn start whenever side 2 is to move.
void SetTurnStartFlagsAfterLoad(State& state);

// A new game's main screen is created with its turn-start screen due.
void MarkNewGameTurnStart(State& state);

// The activation steps, in their order (they draw as the first machine of an e-mail game did
// after it saved): side 2's turn start, an e-mail game's weekly upkeep, the turn-start screen,
// an e-mail game's turn start of side 1. Afterwards nothing is due.
void ActivateMainScreen(Game& game);

} // namespace vezer
