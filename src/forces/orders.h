#pragma once
// The order record and its executor: the only road by which a person, the computer, the other
// machine or an e-mail replay changes the game during a turn.

#include "core/game.h"

#include <array>
#include <cstdint>
#include <string>

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
inline constexpr int kOrderMove = 5;
inline constexpr int kOrderNewCorps = 6;
inline constexpr int kOrderChangeFormation = 8;
inline constexpr int kOrderClickHex = 15;
inline constexpr int kOrderRemoveCorps = 17;
inline constexpr int kOrderSelectCorps = 22;
inline constexpr int kOrderUndo = 27;
inline constexpr int kOrderEndTurn = 30;

std::array<std::uint8_t, kOrderBytes> EncodeOrder(const TParancs& order);
TParancs DecodeOrder(const std::array<std::uint8_t, kOrderBytes>& bytes);

// Checks the index ranges of a record (never its legality in the game): the code, the side,
// the corps, regiment, general, formation, tactic, direction, list entry, regiment type and
// city by code, and the hex. Returns an empty text when the record may run, else the reason.
std::string ValidateOrder(const State& state, const TParancs& order);
// The random-table position an order from the other machine or an order file carries.
std::string ValidateCarriedPosition(int randPos, int randStep);

enum class OrderOutcome {
    Executed,
    Refused,    // out of range, or refused by the rules (order 17 on a corps with regiments)
    HeldBack,   // a network game whose turn this machine does not hold
};

// Executes an order record. A code outside 1..30 throws OrderError and changes nothing; a
// record out of range is reported and skipped.
OrderOutcome ExecuteOrder(Game& game, const TParancs& order);
// An order from the other machine, an order file or a replay: checked, and its carried
// random-table position adopted, before it runs. A bad record or position is reported and
// skipped (Refused); nothing from outside throws.
OrderOutcome ExecuteIncomingOrder(Game& game, const TParancs& order, int randPos, int randStep);

} // namespace vezer
