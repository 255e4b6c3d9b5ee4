#pragma once
// The game's sound effects, each a scene laid out of single sounds: a column on the march,
// a train leaving, a fortress under the guns, a week of rain.

#include "dsp.h"

namespace mksound {

inline constexpr int kEffectRate = 22050;

Wave BattleBegins();       // 1
Wave FortressBombarded();  // 3
Wave RainyWeek();          // 4
Wave Rising();             // 5
Wave InfantryBattle();     // 6, loops
Wave InfantryMarching();   // 7
Wave ArmyMarching();       // 9
Wave CavalryBattle();      // 10, loops
Wave CavalryMarching();    // 11
Wave FairWeek();           // 12
Wave WinterWind();         // 13
Wave Message();            // 14
Wave LongBattle();         // 16, loops
Wave Train();              // 17
Wave FireInFortress();     // 18
Wave DiggingIn();          // 20
Wave BattleNoiseGuns();    // 21, loops
Wave BattleNoiseVolleys(); // 22, loops
Wave BattleNoiseCharge();  // 23, loops
Wave BattleNoise();        // 24, loops
Wave Fortifying();         // 25
Wave Victory();            // 8
Wave Defeat();             // 15

} // namespace mksound
