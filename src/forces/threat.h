#pragma once
// The threat the computer opponent reads at a corps' hex: how much visible enemy force can
// reach it, and from where. Arriving reinforcements face the threat they meet.

#include "core/game.h"

namespace vezer {

// Stores the threat at the corps' hex in its ThreatPercent, ThreatCorps, ThreatDirection and
// ThreatDirections (corps with regiments only).
void UpdateCorpsThreat(Game& game, int side, int corps);

} // namespace vezer
