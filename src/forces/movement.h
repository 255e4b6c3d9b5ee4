#pragma once
// Corps movement: marching along a path, one hex at a time, what a step costs the regiments,
// changing formation, and undoing the last move or formation change.

#include "core/game.h"
#include "core/geometry.h"
#include "core/order_record.h"

namespace vezer {

// Sound effects of the orders.
inline constexpr int kSoundTrain = 17;
inline constexpr int kSoundEntrench = 20;
inline constexpr int kSoundFortify = 25;
// A step costing this many movement points or more wears readiness and supply by one per seven.
inline constexpr int kForcedMarchReadiness = 5;

// Moves SelectedCorps of SelectedCorpsSide (only when that side is active) along the cheapest
// path to the target, within its movement points. It stops short of an enemy on the target
// hex and wherever an enemy is spotted on the way.
void MoveCorps(Game& game, Hex target);
// One hex of movement of corps c of side a into the neighbouring hex n; a cost of 0 takes the
// movement cost of the step. `flag` spares the enemy's entrenchments on n.
void MoveCorpsStep(Game& game, int a, int c, int cost, bool flag, Hex n);
// What a step of p movement points costs the corps' regiments (and adds to the undo totals).
void ApplyMoveCost(Game& game, int a, int c, int p);
// Movement points a change to formation f costs: 8 per size class above the smallest, one
// hundredth of that for formation 6, never below 1.
int FormationChangeCost(const State& state, int side, int corps, int f);

// Order 8: corps c of `side` takes formation f, at FormationChangeCost to every regiment.
void ChangeFormation(Game& game, int side, int c, int f);
// Order 27: the last move or formation change is undone, once.
void UndoLastOrder(Game& game);
// Steps 6 and 7 of the executor: the undo record of a move or formation change.
void FillUndoRecord(State& state, const TParancs& order);

} // namespace vezer
