#pragma once
// Hand-built map states for the map query tests.

#include "core/state.h"
#include "core/geometry.h"

namespace vezer::testing {

// A 63 x 36 map of plain ground ringed by impassable cells, firm ground and normal rivers,
// side 1 to move.
void MakePlainMap(State& st);

// Puts corps `index` of `side` on a hex, counting it in the hex and in the side's corps count.
THad& PlaceCorps(State& st, int side, int index, Hex hex);

// Sets a river or road on the side of `a` toward direction d, on both hexes.
void SetRiver(State& st, Hex a, int d, int value);
void SetRoad(State& st, Hex a, int d, int value);

} // namespace vezer::testing
