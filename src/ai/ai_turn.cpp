#include "ai/ai_turn.h"

#include "orders/orders.h"

namespace vezer {

// Until the computer's corps tasks are built it gives no orders but the end of its turn.
void RunAiTurn(Game& game, int side) {
    ExecuteOrder(game, TParancs{kOrderEndTurn, 0, 0, side, 0, 0});
}

// Until the computer's sieges are built no corps besieges for it.
int FindSiegeCorps(Game&, int) {
    return 0;
}

void ClearReconTargets(Game& game) {
    for (TReconTarget& t : game.state.ReconTargets) t = TReconTarget{};
    game.state.ReconTargetCount = 0;
}

bool ComputerPlayers::PlayTurn(Game& game, int side) {
    if (game.state.PlayerType[side] != 2) return false;
    RunAiTurn(game, side);
    return true;
}

} // namespace vezer
