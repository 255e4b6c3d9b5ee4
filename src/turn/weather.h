#pragma once
// The week's weather: temperature, weather, ground, rivers and the Danube, drawn once a week
// from the month's table and last week's conditions, and the movement costs they set.

#include "core/game.h"

namespace vezer {

// Sound effects of the week's weather, played when the week's events are listed.
inline constexpr int kSoundFairWeather = 12;
inline constexpr int kSoundRain = 4;
inline constexpr int kSoundSnow = 13;

// With `draw` set, draws the week's conditions (R(100) for the temperature, one or more for the
// weather, one for the Danube's high water) and then derives the movement costs; with it clear,
// only derives the costs from the present states (a game being set up or loaded).
void DrawWeather(Game& game, bool draw);

// The sound of the week's weather: fair, rain and snow have one; 0 for the others.
int WeatherSound(int weather);

} // namespace vezer
