#include "turn/turn_hooks.h"

#include "data/data_hooks.h"
#include "data/savegame.h"
#include "forces/orders.h"
#include "forces/organisation.h"
#include "forces/recon.h"
#include "forces/stacks.h"
#include "forces/strength.h"
#include "turn/upkeep.h"
#include "turn/victory.h"

namespace vezer {

// A save that cannot be written is shown to the player; the turn goes on.
void HookAutoSave(Game& game, const std::string& fileName) {
    TrySaveGame(game, fileName);
}
void HookChooseCityRecruitment(Game&, int) {}
void HookConsolidateRegiments(Game& game, int side) { ConsolidateRegiments(game, side); }
// Closing an e-mail turn: the week's recruitment bookkeeping, a clean battle module, the
// start-of-turn save and a new order file.
void HookCloseEmailTurn(Game& game) {
    HookUpdateWeaponShortage(game);
    HookCountLevyMen(game);
    HookResetBattleState(game);
    TrySaveGame(game, kEmailSaveFile);
    HookCreateOrderFile(game);
}
void HookWeeklyUpkeep(Game& game) { WeeklyUpkeep(game); }

// Until the computer opponent plays, it passes its turn: its last order is always order 30.
void HookComputerTurn(Game& game) {
    ExecuteOrder(game, TParancs{kOrderEndTurn, 0, 0, game.state.ActiveSide, 0, 0});
}

void HookRecomputeRegiment(Game& game, int side, int regiment) { RecomputeRegiment(game.state, side, regiment); }
void HookRecomputeCorps(Game& game, int side, int corps) { RecomputeCorps(game, side, corps); }
void HookTurnStartReconnaissance(Game& game) { TurnStartReconnaissance(game); }
void HookRunTurnEvents(Game&) {}
void HookAttack(Game&, const TParancs&) {}
void HookBombard(Game&, const TParancs&) {}
void HookStorm(Game&, const TParancs&) {}
void HookCollectSupporters(Game&, const TParancs&) {}
void HookDropSupporter(Game&, int) {}
void HookBattleOdds(Game&, const TParancs&) {}
void HookCheckVictory(Game& game) { CheckVictory(game); }
void HookSelectAtHex(Game& game, int x, int y) { SelectAtHex(game, x, y); }
void HookRecordOrder(Game&, const TParancs&) {}
void HookCloseOrderFile(Game&) {}

} // namespace vezer
