#pragma once
// Generals: the roster's generic portraits, generals generated in play, the choice of a
// general for a new command, replacing a corps' general, and how generals are named.

#include "core/game.h"

#include <string>

namespace vezer {

inline constexpr const char* kRosterFullMessage = "Hiba! Beteltek a tabornok helyek!";
// A side's roster stops growing by the top-up at this many generals.
inline constexpr int kTopUpLimit = 200;
inline constexpr int kTopUpBatch = 30;

// A new general at GeneralCount + 1, with ratings, names and portrait from the random table
// (no draw). `nationOrClass` above 3 is replaced by its flag class; a class outside 1..3 uses
// the side's own. Returns the index, or 0 (with "Hiba! Beteltek a tabornok helyek!") when the
// side already has 250.
int AddGeneral(Game& game, int side, int nationOrClass, bool announce);

// The highest-indexed free, available general of exactly that nation; 0 if none.
int FindGeneralOfNation(const State& state, int side, int nation);
// The picks for a new command. Each returns a free, available general, generating one when
// none suits; 0 only when the roster is full (the caller then creates nothing).
int PickDefensiveGeneral(Game& game, int side, int nation);
int PickStrongestGeneral(Game& game, int side, int nation);
int PickOrdinaryGeneral(Game& game, int side, int nation);

// Whether the pick would find or make a general (false only when the roster is full and no
// free general suits): creations that need one are refused before anything of them is made.
bool CanPickDefensiveGeneral(const State& state, int side, int nation);
bool CanPickOrdinaryGeneral(const State& state, int side, int nation);

// Order 10: the corps gets a free, available general; every regiment loses 5 readiness and
// 5 morale. Refused (false, nothing changes) for a general who is not free or not available.
bool ReplaceGeneral(Game& game, int side, int corps, int general);

// The thirty-general top-up of a side not played by the computer (part of CreateCorps).
void TopUpGenerals(Game& game, int side);
// A corps takes its general (the assignment a loaded game runs for every corps): the side's
// roster is topped up as for a new corps, and the general the corps names commands it.
void AssignGeneral(Game& game, int side, int corps);

// "Family Given" on side 1, "Given Family" on side 2, then " (ability)" when it has one.
std::string GeneralDisplayName(const State& state, int side, int general);
// "tabornok\<side><portrait>.bmp", its small form "...K.bmp", and the biography text.
std::string PortraitFileName(int side, int portrait);
std::string SmallPortraitFileName(int side, int portrait);
std::string BiographyFileName(int language, int side, int general);

} // namespace vezer
