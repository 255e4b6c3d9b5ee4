#pragma once
// Calls from set-up and loading into the map and the corps organisation, gathered while those
// parts are being written. Each is connected to the real operation as it lands.

#include "core/game.h"

namespace vezer {

// Map: terrain, roads, rivers and cities of a data set, and the mask picture.
void LinkLoadTerrainRoadsRivers(Game& game, int dataSet);
void LinkLoadCities(Game& game, int dataSet, int campaign);
void LinkLoadMask(Game& game);
// The movement costs derived from the present weather, without a draw.
void LinkRecomputeMovementCosts(Game& game);

// Corps organisation: the empty corps record, the creation of a general in play (which
// takes the next index and draws nothing), and the recomputes.
THad LinkEmptyCorps();
void LinkAddGeneral(Game& game, int side, int nation);
void LinkRecomputeRegiment(Game& game, int side, int regiment);
void LinkRecomputeCorps(Game& game, int side, int corps);

} // namespace vezer
