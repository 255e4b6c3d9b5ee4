#pragma once
// City recruitment, the weapon shortage and the levies: what the cities train, the weekly
// countdown, the new regiment at its city, the weapon shortage that slows every recruitment,
// and the popular uprisings that raise levy regiments.

#include "core/game.h"

namespace vezer {

// A side with more corps than this gets neither recruits nor levies.
inline constexpr int kRecruitCorpsLimit = 240;

// Whether a recruit of `type` for `side` at the city would find room: a regiment, a place in
// the corps it would join or, for a new corps, the corps and a general.
bool RoomForRecruitAt(const State& state, int side, int city, int type, int nation);
// The log line of a recruit refused for want of room (hidden from the other side).
void LogNoRoomForRecruit(Game& game, int side, int city);

// The weekly countdown of every city's recruitment; a finished one becomes a regiment.
void CompleteCityRecruitment(Game& game);

// A new regiment of type `type` at city `city` for `side`, filled to `fill` percent, of nation
// `nation`: it joins a corps of the side on the city's hex or forms a new corps there. Returns
// the regiment, or 0 when nothing was made: a bad side, city or type, more than 240 corps, or
// no room for the regiment, its corps or its general (refused before any draw, and logged).
int CreateRecruit(Game& game, int side, int city, int type, int fill, int nation);

// The automatic choice of what the side's idle home cities recruit (end of a turn): for the
// computer's side, and for any side while AutoRecruit is 1; never in the tutorial.
void ChooseCityRecruitment(Game& game, int side);

// The recruiting tour's bonus runs out, the Hungarian army's demand for weapons is counted,
// and every type's recruitment weeks are set from the shortage, the difficulty and the tour.
void UpdateWeaponShortage(Game& game);

// LevyMen of each side: its levy regiments at their fill of a full levy's strength.
void CountLevyMen(Game& game);

// The week's uprisings, city by city: a city whose nation rises for its side (no enemy of
// strength 5 or more there) raises a levy regiment and is taken for the side.
void RaiseLevies(Game& game);

// The side's chance of an uprising this week, in percent (before the 2.5 for a city of the
// other side's).
int LevyChanceOf(const State& state, int side);

} // namespace vezer
