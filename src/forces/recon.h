#pragma once
// Reconnaissance: what each side knows of the other's corps. A corps' ReconLevel says how much
// the opponent knows (0 unseen, 1 seen, 2 estimated, 3 known) and its three estimates are what
// the opponent is shown instead of the true totals.

#include "core/game.h"

namespace vezer {

// The estimates of a corps of `side` from its level (with fog of war off: the truth, level 3).
// Draws R(61) when a level-2 corps has no estimate error yet.
void RefreshEstimates(Game& game, int side, int corps);

} // namespace vezer
