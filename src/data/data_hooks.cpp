#include "data/data_hooks.h"

namespace vezer {

int HookFindSiegeCorps(Game&, int) {
    return 0;
}
void HookClearReconTargets(Game&) {}
void HookUpdateWeaponShortage(Game&) {}
void HookCountLevyMen(Game&) {}
void HookResetBattleState(Game&) {}
void HookCreateOrderFile(Game&) {}
void HookOpenReplay(Game&) {}
void HookEmailOrdersAfterLoad(Game&, std::span<const std::uint8_t>) {}
void HookCreateCityDots(Game&) {}
void HookCentreMapOnCity(Game&, int) {}

} // namespace vezer
