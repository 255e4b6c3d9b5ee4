#pragma once
// The order record: six signed 32-bit little-endian values. The same 24 bytes go to the e-mail
// order files and to the other machine; the executor that runs them is the orders module's.

#include <array>
#include <cstdint>

namespace vezer {

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

// The order codes 1..30; the codes the rules leave empty do nothing.
enum OrderCode : int {
    kOrderAttack = 1,
    kOrderBombard = 2,
    kOrderStorm = 3,
    kOrderNone4 = 4,
    kOrderMove = 5,
    kOrderNewCorps = 6,
    kOrderTransferRegiment = 7,
    kOrderChangeFormation = 8,
    kOrderChangeTactic = 9,
    kOrderReplaceGeneral = 10,
    kOrderEntrench = 11,
    kOrderFortify = 12,
    kOrderMergeRegiment = 13,
    kOrderTurnCorps = 14,
    kOrderClickHex = 15,
    kOrderSplitRegiment = 16,
    kOrderRemoveCorps = 17,
    kOrderEndOfGameCheck = 18,
    kOrderNone19 = 19,
    kOrderNone20 = 20,
    kOrderCityRecruitment = 21,
    kOrderSelectCorps = 22,
    kOrderNone23 = 23,
    kOrderBattleRecord = 24,  // consumed by the e-mail replay
    kOrderCollectSupporters = 25,
    kOrderDropSupporter = 26,
    kOrderUndo = 27,
    kOrderNone28 = 28,
    kOrderBattleOdds = 29,
    kOrderEndTurn = 30,
};
inline constexpr int kOrderCodeCount = 30;

std::array<std::uint8_t, kOrderBytes> EncodeOrder(const TParancs& order);
TParancs DecodeOrder(const std::array<std::uint8_t, kOrderBytes>& bytes);

} // namespace vezer
