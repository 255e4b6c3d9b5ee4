#pragma once
// Strength: a regiment's combat value, defence, observation, visibility and movement from its
// type, readiness, experience, fill and supply; a corps' totals, averages, markers and
// permission flags from its regiments; and the supply a regiment or corps asks for.

#include "core/game.h"

namespace vezer {

// Regiment types the rules single out.
inline constexpr int kTypeLevy = 6;
inline constexpr int kTypeFootBattery = 11;
inline constexpr int kTypeSiegeBattery = 13;
inline constexpr int kTypeFortressBattery = 14;

// Marker colours (0x00BBGGRR) and pictures chosen by the recompute. The picture is stored as
// side * 10 + the picture below.
inline constexpr int kMarkerGreen = 0x00FF00;
inline constexpr int kMarkerYellow = 0x00FFFF;
inline constexpr int kMarkerRed = 0x0000FF;
inline constexpr int kMarkerPictureNormal = 1;
inline constexpr int kMarkerPictureMoved = 2;
inline constexpr int kMarkerPictureGarrison = 3;

// The readiness factor RF in hundredths: 50 at readiness 0, 100 at 100 (88 at 50).
int ReadinessFactorPercent(int readiness);

// The regiment's figures from its type and state (FillPercent, combat and defence values,
// observation, visibility, movement). A regiment of no corps keeps its CorpsFormation.
void RecomputeRegiment(State& state, int side, int regiment);

// The corps' figures from its regiments. Regiments without men are removed first; a corps
// left with none is removed (RemoveCorps), and nothing else happens. May draw (a new
// estimate error, when the opponent's estimate of the corps is being made).
void RecomputeCorps(Game& game, int side, int corps);

// Supply asked for a week: at most 30 for a full regiment (10 for a fortress battery).
int RegimentSupplyDemand(const State& state, int side, int regiment);
int CorpsSupplyDemand(const State& state, int side, int corps);
// Evens out the supply of the corps' regiments by their fill.
void ShareCorpsSupply(State& state, int side, int corps);
// Orders the corps' list by type, then by regiment index.
void SortCorpsUnits(State& state, int side, int corps);
// The divisor of artillery combat value in the corps' CombatValue: 1.0 for a garrison; guns
// (in batteries of a foot battery's strength) per 700 cavalry and infantry; 5.0 with no
// cavalry or infantry; never below 1.0.
double ArtilleryRatio(const State& state, int side, int corps);

} // namespace vezer
