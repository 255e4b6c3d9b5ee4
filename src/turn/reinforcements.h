#pragma once
// Which scheduled reinforcements march in: the first step of the weekly arrivals, shared by the
// turn events and by whatever needs to know what a campaign will bring.

#include "core/game.h"

namespace vezer {

inline constexpr int kRussianNation = 3;
inline constexpr int kPolishNation = 9;

// Whether the intervention options of the new-game screen let the record come at all. A Russian
// (nation 3) or Polish (nation 9) record needs the full intervention (2), or the limited one (1)
// when the record is marked `LimitedIntervention`; every other record always comes.
bool InterventionAllows(const State& state, const TErosites& record);

// Whether record `k` arrives in the present week: its date has come, it is not dated before the
// campaign's start, it has not arrived yet and the interventions allow it. Nothing arrives in
// the tutorial, and an index outside the schedule never arrives.
bool ReinforcementDue(const State& state, int k);

// Every reinforcement due this week arrives as a new corps on its hex, its side taking the
// town there; each is told on the turn-start screen. Nothing arrives in the tutorial. A
// record its side has no room for (regiments, corps or a general) waits, and is logged.
void ArriveReinforcements(Game& game);

} // namespace vezer
