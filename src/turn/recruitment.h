#pragma once
// City recruitment, the weapon shortage and the levies.

#include "core/game.h"

namespace vezer {

// The cities of `side` choose what to recruit next (end of the side's turn).
void ChooseCityRecruitment(Game& game, int side);
// The weapon shortage that slows recruitment.
void UpdateWeaponShortage(Game& game);
// The per-side count of men in levy (type 6) regiments.
void CountLevyMen(Game& game);

} // namespace vezer
