#include "forces/orders.h"

#include "core/errors.h"
#include "turn/turn.h"
#include "turn/turn_hooks.h"

#include <string>

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

namespace {

// Order 30: the end of the turn. In an e-mail game the machine whose side is active only closes
// its order file; the turn ends on the opponent's machine when it replays this order.
void ExecuteEndTurnOrder(Game& game) {
    State& st = game.state;
    if (st.PbemGame && st.LocalSide == st.ActiveSide) {
        HookCloseOrderFile(game);
        return;
    }
    EndTurn(game);
    if (game.screen.MainScreenExists()) {
        game.screen.EnableCommands(st.LocalSide == st.ActiveSide);
        game.screen.RefreshMainScreen();
    }
}

} // namespace

void ExecuteOrder(Game& game, const TParancs& order) {
    State& st = game.state;
    if (order.Code < 1 || order.Code > kOrderEndTurn)
        throw OrderError("unknown order code " + std::to_string(order.Code));
    // A network game holds back an order of this machine while the other one acts.
    if (st.NetworkGame && st.ActiveSide == st.LocalSide && !game.link.HoldsTurn()) {
        game.link.StartWatchdog();
        return;
    }
    st.NewCorpsTemplate = THad{};
    if (st.ActiveSide == st.LocalSide) {
        if (st.PbemGame) HookRecordOrder(game, order);
        if (st.NetworkGame) game.link.SendOrder(order, st.RandPos, st.RandStep);
    }
    if (order.Code != 27) st.Undo.Available = 0;
    switch (order.Code) {
    case kOrderEndTurn:
        ExecuteEndTurnOrder(game);
        break;
    default:
        // The other codes join as the corps, battle and victory rules land.
        break;
    }
}

} // namespace vezer
