#include "data/pending_links.h"

#include "forces/generals.h"
#include "forces/organisation.h"
#include "forces/strength.h"
#include "map/map_files.h"
#include "map/queries.h"
#include "turn/weather.h"

namespace vezer {

void LinkLoadTerrainRoadsRivers(Game& game, int dataSet) {
    LoadTerrain(game, dataSet, game.state.MapMaxX, game.state.MapMaxY);
    LoadRoads(game, dataSet);
    LoadRivers(game, dataSet);
}
void LinkLoadCities(Game& game, int dataSet, int campaign) { LoadCities(game, dataSet, campaign); }
void LinkLoadMask(Game& game) { LoadMask(game); }
void LinkRecomputeMovementCosts(Game& game) { DrawWeather(game, false); }

THad LinkEmptyCorps() { return EmptyCorpsRecord(); }

// A general made again while loading joins no portrait list: the screen lists them anew.
void LinkAddGeneral(Game& game, int side, int nation) { AddGeneral(game, side, nation, false); }
void LinkRecomputeRegiment(Game& game, int side, int regiment) { RecomputeRegiment(game.state, side, regiment); }
void LinkRecomputeCorps(Game& game, int side, int corps) { RecomputeCorps(game, side, corps); }

} // namespace vezer
