#include "battle/battle.h"

namespace vezer {

// The retreats and captures come with the battles' aftermath; until then nobody moves.
void RetreatFromHex(Game&, Hex, int) {}
void CaptureFortress(Game&, int, int, Hex) {}
int FindNearestOwnCity(const State&, int, Hex) { return 0; }

} // namespace vezer
