#pragma once
// Queries over the hex map shared by the orders, the turn, the battles and the computer
// opponent: distance, direction, the cost of one step, the cheapest path and supply reach.
//
// The moving corps is corps SelectedCorps of ActiveSide: callers that move a corps select it
// first. Corps are found through their hex's CorpsCount, which counts the corps of both sides
// standing on it; a hex with CorpsCount 0 is taken to hold none.

#include "core/game.h"
#include "core/geometry.h"

#include <array>

namespace vezer {

// Entry costs of terrain 0..3 in firm ground, set at game set-up into TerrainCostBase.
inline constexpr std::array<int, 4> kTerrainCostBase = {8, 10, 15, 15};
inline constexpr int kImpassableCost = 255;

// The week's movement costs from the ground, river and Danube states: TerrainCost[0..4],
// RiverCost1, RiverCost2 and DistanceFactor.
void RecomputeMoveCosts(State& state);

// The straight-line distance between two hexes, in the units of the movement costs: the
// column and row differences taken as a plane, times DistanceFactor, rounded.
int Distance(const State& state, Hex a, Hex b);
// The direction 0..5 toward a hex at any distance, from the map picture's angle between them.
int FarDirection(Hex from, Hex to);

// The cost of one step of the moving corps from `from` into the neighbouring hex `to`; 255
// for an impassable step (and more where the zone of control or an enemy fortress multiply).
// knowAll counts enemy corps the side has not reconnoitred; enterEnemy allows a step into a
// hex held by the enemy.
int MoveCost(const State& state, Hex from, Hex to, bool knowAll, bool enterEnemy);

// The fighting strength of a side's corps in a hex as the other side reckons it: garrisons
// count a quarter, every corps at least 1; only reconnoitred corps unless knowAll.
int EnemyStrength(const State& state, int side, Hex hex, bool knowAll);

// The result of a path search: entry 0 the total cost (999 when no path was found), entries
// 1..N the directions of the steps from the start, 9 after the last one. N is 30 for a search
// bounded by a cost of at most 100, 100 otherwise.
inline constexpr int kPathResultSize = 101;
inline constexpr int kNoPathCost = 999;
inline constexpr int kBoundedSearchLimit = 100;
using PathResult = std::array<int, kPathResultSize>;

// The cheapest path from start to target whose cost stays within costBound.
PathResult ShortestPath(Game& game, Hex start, Hex target, int costBound, bool enterEnemy, bool knowAll);

// The supply a side's cities can bring to a hex; `divide` shares each city's supply out over
// its capture counter.
int MaxSupply(Game& game, Hex hex, int side, bool knowAll, bool divide);
// The supply the side's corps in a hex demand; 10 for a hex without any.
int HexDemand(const State& state, int side, Hex hex);

} // namespace vezer
