#pragma once
// The steps of the turn sequence whose content belongs to other parts of the game. Each hook
// is connected here, in one place, as its part lands; until then it does nothing (or, for the
// computer's turn, passes the turn).

#include "core/game.h"

#include <string>

namespace vezer {

struct TParancs;

// End of turn.
void HookAutoSave(Game& game, const std::string& fileName);     // saved games
void HookChooseCityRecruitment(Game& game, int side);           // recruitment
void HookConsolidateRegiments(Game& game, int side);            // corps organisation
void HookCloseEmailTurn(Game& game);                            // play by e-mail (step 8)
void HookWeeklyUpkeep(Game& game);                              // weekly upkeep, victory, weather
void HookComputerTurn(Game& game);                              // computer opponent

// Start of a side's turn.
void HookRecomputeRegiment(Game& game, int side, int regiment); // strength
void HookRecomputeCorps(Game& game, int side, int corps);       // strength
void HookTurnStartReconnaissance(Game& game);                   // reconnaissance

// The week's events on the turn-start screen.
void HookRunTurnEvents(Game& game);

// Orders of the battles and sieges, and the end-of-game check.
void HookAttack(Game& game, const TParancs& order);             // order 1
void HookBombard(Game& game, const TParancs& order);            // order 2
void HookStorm(Game& game, const TParancs& order);              // order 3
void HookCollectSupporters(Game& game, const TParancs& order);  // order 25
void HookDropSupporter(Game& game, int entry);                  // order 26
void HookBattleOdds(Game& game, const TParancs& order);         // order 29
void HookCheckVictory(Game& game);                              // order 18
// The selection at a clicked hex (order 15).
void HookSelectAtHex(Game& game, int x, int y);

// Orders of an e-mail game.
void HookRecordOrder(Game& game, const TParancs& order);
void HookCloseOrderFile(Game& game);

} // namespace vezer
