#pragma once
// The week's events, computed once when the turn-start screen first shows.

#include "core/game.h"

namespace vezer {

// Weather sound, city recruitment, political effects, the week's events, weapon shortage,
// levies and reinforcements, each line through AddTurnEvent.
void RunTurnEvents(Game& game);

} // namespace vezer
