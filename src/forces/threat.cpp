#include "forces/threat.h"

namespace vezer {

// The computer opponent's evaluations fill this; until then no corps reads a threat.
void UpdateCorpsThreat(Game&, int, int) {}

} // namespace vezer
