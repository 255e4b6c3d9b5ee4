#include "turn/events.h"

namespace vezer {

// The week's events are built with the turn events; until then a week brings none.
void RunTurnEvents(Game&) {}

} // namespace vezer
