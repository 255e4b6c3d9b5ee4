#pragma once
// The weekly refill of the regiments from the supply network of the towns.

#include "core/game.h"

namespace vezer {

// Every corps of side 1, then of side 2, takes its share of the supply that reaches its hex:
// the towns' reach is cut to the demand of the side's corps there, and each regiment gets its
// demand scaled by what reached the hex, as supply points (at most 30 a week).
void DistributeSupply(Game& game);

// The supply points a regiment gets: round(demand x (reach / hexDemand) x (100 / fill)),
// computed exactly, at most 30; 0 without demand, fill or hex demand.
int SupplyShare(int demand, int reach, int hexDemand, int fillPercent);

} // namespace vezer
