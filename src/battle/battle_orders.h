#pragma once
// The battle and siege orders as the order executor hands them over, and the reset of the
// battle module's working state.

#include "core/game.h"
#include "core/order_record.h"

namespace vezer {

// Clears the working state of the battle module (both forces, tallies, supporters).
void ResetBattleState(Game& game);

// Order 1 (attack) and order 3 (storm a fortress); false, before anything is drawn, when the
// rules refuse the attack.
bool AttackOrder(Game& game, const TParancs& order);
bool StormOrder(Game& game, const TParancs& order);
// Order 2: the corps bombards the fortress on its hex; false when it cannot.
bool BombardOrder(Game& game, const TParancs& order);
// Order 25: the attack's supporting corps are collected; order 26 drops entry `entry`.
void CollectSupportersOrder(Game& game, const TParancs& order);
void DropSupporterOrder(Game& game, int entry);
// Order 29: the odds of an attack, kept for the odds screen of the machine whose turn it is.
void BattleOddsOrder(Game& game, const TParancs& order);

} // namespace vezer
