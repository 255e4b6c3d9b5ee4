#pragma once
// The steps of set-up and loading whose content belongs to later parts of the game: the
// computer opponent's lists, the e-mail exchange, the recruitment bookkeeping, the battle
// module and the overview map. Each hook is connected here, in one place, as its part lands;
// until then it does nothing (FindSiegeCorps finds no siege corps).

#include "core/game.h"

#include <cstdint>
#include <span>

namespace vezer {

// Computer opponent.
int HookFindSiegeCorps(Game& game, int side);
void HookClearReconTargets(Game& game);

// Recruitment and levies: the weapon-shortage check and the recount of levy men.
void HookUpdateWeaponShortage(Game& game);
void HookCountLevyMen(Game& game);

// The battle module's working state.
void HookResetBattleState(Game& game);

// Play by e-mail: the order file of a new e-mail game, the replay of a loaded turn file and
// the recorded orders that follow the trailer of a turn file (written to "save\\PBEM.paf").
void HookCreateOrderFile(Game& game);
void HookOpenReplay(Game& game);
void HookEmailOrdersAfterLoad(Game& game, std::span<const std::uint8_t> orders);

// The screen: the 75 city dots of the overview map, and centring the map on a city.
void HookCreateCityDots(Game& game);
void HookCentreMapOnCity(Game& game, int city);

} // namespace vezer
