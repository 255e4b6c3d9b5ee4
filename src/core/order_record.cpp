#include "core/order_record.h"

namespace vezer {

std::array<std::uint8_t, kOrderBytes> EncodeOrder(const TParancs& order) {
    std::array<std::uint8_t, kOrderBytes> bytes{};
    const int values[6] = {order.Code, order.HexX, order.HexY, order.Side, order.Corps, order.Param};
    for (int i = 0; i < 6; ++i) {
        auto v = static_cast<std::uint32_t>(values[i]);
        for (int b = 0; b < 4; ++b) bytes[static_cast<std::size_t>(4 * i + b)] = static_cast<std::uint8_t>(v >> (8 * b));
    }
    return bytes;
}

TParancs DecodeOrder(const std::array<std::uint8_t, kOrderBytes>& bytes) {
    int values[6];
    for (int i = 0; i < 6; ++i) {
        std::uint32_t v = 0;
        for (int b = 0; b < 4; ++b) v |= std::uint32_t{bytes[static_cast<std::size_t>(4 * i + b)]} << (8 * b);
        values[i] = static_cast<int>(v);
    }
    return TParancs{values[0], values[1], values[2], values[3], values[4], values[5]};
}

} // namespace vezer
