#pragma once
// Our own music in the manner of 1848: a regimental march in the Hungarian recruiting style
// for the title, a slow theme (a "lassú") for the background of the game, and the short
// pieces the effects use: the victory fanfare, the lament of a defeat, the bugle's attack
// call, the post horn, the farewell cadence.

#include "score.h"

namespace mksound {

Stereo TitleMarch(int rate);
// Returned exactly one turn of the loop long: its end runs on into its beginning.
Stereo SlowTheme(int rate);
Stereo FarewellCadence(int rate);

Wave VictoryFanfare(int rate);
Wave DefeatLament(int rate);
Wave AttackCall(int rate);
Wave PostHorn(int rate);

// Adds what sounds past `seconds` back onto the beginning and cuts the wave there.
void WrapTail(Wave& w, double seconds);

} // namespace mksound
