#pragma once
// The order record and its executor: the only road by which a person, the computer, the other
// machine or an e-mail replay changes the game during a turn.

#include "core/game.h"

#include <array>
#include <cstdint>

namespace vezer {

// TParancs: six signed 32-bit little-endian values; the same 24 bytes go to order files and
// network messages.
struct TParancs {
    int Code = 0;
    int HexX = 0;
    int HexY = 0;
    int Side = 0;
    int Corps = 0;  // or a regiment type (order 21)
    int Param = 0;  // regiment, general, formation, tactic, direction, city or list entry
    friend bool operator==(const TParancs&, const TParancs&) = default;
};

inline constexpr int kOrderBytes = 24;
inline constexpr int kOrderEndTurn = 30;

std::array<std::uint8_t, kOrderBytes> EncodeOrder(const TParancs& order);
TParancs DecodeOrder(const std::array<std::uint8_t, kOrderBytes>& bytes);

// Executes an order record. A code outside 1..30 throws OrderError and changes nothing.
void ExecuteOrder(Game& game, const TParancs& order);

} // namespace vezer
