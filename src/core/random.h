#pragma once
// The shared random table: every chance of the rules is a draw R(n) from it, so two machines
// or an e-mail replay that restore the cursor pair get the same outcomes.

#include "core/game.h"
#include "core/state.h"

#include <cstdint>
#include <span>
#include <string>

namespace vezer {

inline constexpr const char* kRandomTableFile = "Data\\core.dat";
// The corrupt-file message names the table with a capital C.
inline constexpr const char* kRandomTableMessageName = "Data\\Core.dat";

// Compares a computed and a stored check value; a mismatch throws DataError naming the file.
void VerifyChecksum(int computed, int stored, const std::string& fileName);

// The check value of a random table: the running sum reduced mod 2000 whenever it passes
// 500 000, and once more at the end.
int RandomTableCheck(std::span<const int> values);

// Reads and verifies "Data\\core.dat" into RandTable. Negative values are refused: a draw
// must never index below 1.
void LoadRandomTable(Game& game);
// Sets RandPos 1..10000 and RandStep 1..15 from a seed the caller chose (the clock, a command
// line, the other machine): the rules never ask the system for chance themselves. Seeds
// 0..149 999 give every cursor pair once.
void SeedRandom(State& state, std::uint32_t seed);
// A number 1..n (n < 1 counts as 1); every draw advances the cursor.
int R(State& state, int n);
inline int R(Game& game, int n) { return R(game.state, n); }

} // namespace vezer

