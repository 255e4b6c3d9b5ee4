#include "battle/battle_orders.h"

#include "battle/battle.h"

namespace vezer {

bool AttackOrder(Game& game, const TParancs& o) {
    return StartBattle(game, kFieldAttack, o.Side, o.Corps, Hex{o.HexX, o.HexY});
}

bool StormOrder(Game& game, const TParancs& o) {
    return StartBattle(game, kAssault, o.Side, o.Corps, Hex{o.HexX, o.HexY});
}

bool BombardOrder(Game& game, const TParancs& o) {
    return BombardFortress(game, o.Side, o.Corps);
}

void CollectSupportersOrder(Game& game, const TParancs& o) {
    CollectSupportingCorps(game, o.Side, o.Corps, Hex{o.HexX, o.HexY});
}

void DropSupporterOrder(Game& game, int entry) {
    DropSupporter(game, entry);
}

void BattleOddsOrder(Game& game, const TParancs& o) {
    State& st = game.state;
    const bool here = st.LocalSide == st.ActiveSide;
    const int odds = NetworkAttackCheck(game, o.Side, o.Corps, Hex{o.HexX, o.HexY}, here);
    if (here) st.Battle.Odds = odds;
}

} // namespace vezer
