#include "data/pending_links.h"

namespace vezer {

void LinkLoadTerrainRoadsRivers(Game&, int) {}
void LinkLoadCities(Game&, int, int) {}
void LinkLoadMask(Game&) {}
void LinkRecomputeMovementCosts(Game&) {}

THad LinkEmptyCorps() {
    THad h;
    h.Formation = 1;
    h.Tactic = 3;
    h.SupplyDemand = 1;
    h.CombatValue = 1;
    h.AllClassOne = h.AllClassZero = h.ArtilleryOnly = 1;
    h.ObjectiveX = -1;
    return h;
}

void LinkAddGeneral(Game&, int, int) {}
void LinkRecomputeRegiment(Game&, int, int) {}
void LinkRecomputeCorps(Game&, int, int) {}

} // namespace vezer
