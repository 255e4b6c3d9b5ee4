#include "turn/turn_hooks.h"

#include "forces/orders.h"

namespace vezer {

void HookAutoSave(Game&, const std::string&) {}
void HookChooseCityRecruitment(Game&, int) {}
void HookConsolidateRegiments(Game&, int) {}
void HookCloseEmailTurn(Game&) {}
void HookWeeklyUpkeep(Game&) {}

// Until the computer opponent plays, it passes its turn: its last order is always order 30.
void HookComputerTurn(Game& game) {
    ExecuteOrder(game, TParancs{kOrderEndTurn, 0, 0, game.state.ActiveSide, 0, 0});
}

void HookRecomputeRegiment(Game&, int, int) {}
void HookRecomputeCorps(Game&, int, int) {}
void HookTurnStartReconnaissance(Game&) {}
void HookRunTurnEvents(Game&) {}
void HookRecordOrder(Game&, const TParancs&) {}
void HookCloseOrderFile(Game&) {}

} // namespace vezer
