#pragma once
// Reconnaissance: what each side knows of the other's corps. A corps' ReconLevel says how much
// the opponent knows (0 unseen, 1 seen, 2 estimated, 3 known) and its three estimates are what
// the opponent is shown instead of the true totals.

#include "core/game.h"

namespace vezer {

// The estimates of a corps of `side` from its level (with fog of war off: the truth, level 3).
// Draws R(61) when a level-2 corps has no estimate error yet.
void RefreshEstimates(Game& game, int side, int corps);

// One observation of enemy corps c by corps b of side a: an unseen corps is seen (and the enemy
// is marked spotted), then each success of R(visibility / obstacle) over R(observation x 3/4)
// raises the level, until one fails or the level is 3. Draws two numbers per attempt.
void ObserveCorps(Game& game, int a, int b, int c);
// Corps b of side a observes the enemy on its hex (the first) and on the six neighbours; every
// contact with a neighbour runs both ways.
void ContactReconnaissance(Game& game, int a, int b);
// The reconnaissance of a turn start: the other side's levels fall by one, large corps may be
// spotted by chance (fog of war on), the active side's corps observe their contacts, and every
// estimate is refreshed.
void TurnStartReconnaissance(Game& game);

} // namespace vezer
