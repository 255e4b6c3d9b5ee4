#include "battle/battle_orders.h"

namespace vezer {

void ResetBattleState(Game& game) {
    game.state.Battle = BattleState{};
}

// The battles themselves are the battle rules' to build; until then these orders change nothing.
void AttackOrder(Game&, const TParancs&) {}
void StormOrder(Game&, const TParancs&) {}
void BombardOrder(Game&, const TParancs&) {}
void CollectSupportersOrder(Game&, const TParancs&) {}
void DropSupporterOrder(Game&, int) {}
void BattleOddsOrder(Game&, const TParancs&) {}

} // namespace vezer
