// The e-mail game without a display: `vezer turn-info` tells what a turn file holds without
// giving away the opponent's moves, and `vezer email-turn` opens a turn file as its receiver,
// replays it, plays this player's orders and writes the next turn file.

#include "app/commands.h"
#include "app/runner_support.h"

#include "campaign/email.h"
#include "campaign/load_game.h"
#include "core/errors.h"
#include "core/headless.h"
#include "files/email_files.h"
#include "files/savegame.h"
#include "orders/orders.h"
#include "turn/activation.h"

#include <cstdio>
#include <filesystem>
#include <optional>

namespace vezer::app {

namespace {

const char* SideName(int side) {
    return side == 1 ? "Hungary" : side == 2 ? "Austria" : "no side";
}

int Fail(const char* cmd, const std::string& what) {
    std::fprintf(stderr, "vezer %s: %s\n", cmd, what.c_str());
    return 1;
}

// What a turn file holds, read as the receiver would read it.
struct TurnFileFacts {
    int writer = 0; // the side whose turn the file holds
    int campaign = 0, year = 0, month = 0, week = 0;
    PerSide<int> passwordSet{};
    std::size_t records = 0;
    bool endsTurn = false;
};

TurnFileFacts ReadTurnFileFacts(const std::string& path) {
    HeadlessPresentation screen;
    NoTransport link;
    auto game = MakeGame(screen, link, GameDir(GameDirectory()));
    game->state.DataSet = 1;
    game->state.Language = 1;
    TurnFileFacts f;
    std::optional<OrderFileContents> orders;
    LoadSavedGameChecked(*game, 1, 0, ReadFileBytes(path, path), path,
                         [&](State& loaded, std::span<const std::uint8_t> after) {
                             if (!loaded.PbemGame) throw DataError(path, "not an e-mail game's save");
                             orders = ReadOrderFile(after, path);
                         });
    const State& st = game->state;
    f.writer = st.ActiveSide;
    f.campaign = st.Campaign;
    f.year = st.Year;
    f.month = st.Month;
    f.week = st.Week;
    f.passwordSet = st.PasswordSet;
    f.records = orders->orders.size();
    f.endsTurn = !orders->orders.empty() && orders->orders.back().order.Code == kOrderEndTurn;
    return f;
}

} // namespace

int RunTurnInfo(const std::vector<std::string>& args) {
    const char* cmd = "turn-info";
    if (args.size() != 1) {
        std::fprintf(stderr, "vezer %s: usage: vezer turn-info TURNFILE\n", cmd);
        return 2;
    }
    const std::string& path = args[0];
    TurnFileFacts f;
    try {
        f = ReadTurnFileFacts(path);
    } catch (const DataError& e) {
        std::printf("%s: damaged: %s\n", path.c_str(), e.reason().c_str());
        return 1;
    } catch (const FileIoError& e) {
        return Fail(cmd, e.what());
    }
    const std::size_t orders = f.records - (f.endsTurn ? 1 : 0);
    std::printf("%s: e-mail turn of side %d (%s), campaign %d, %d-%d-%d\n", path.c_str(), f.writer, SideName(f.writer),
                f.campaign, f.year, f.month, f.week);
    std::printf("  opens as side %d (%s); passwords set: side 1 %s, side 2 %s\n", 3 - f.writer,
                SideName(3 - f.writer), f.passwordSet[1] ? "yes" : "no", f.passwordSet[2] ? "yes" : "no");
    std::printf("  %zu orders recorded, %s\n", orders,
                f.endsTurn ? "then the end of the turn" : "and no end of the turn (the turn is incomplete)");
    std::printf("  %s\n", f.endsTurn ? "intact" : "incomplete");
    return f.endsTurn ? 0 : 1;
}

int PlayEmailOrders(Game& game, const std::string& ordersPath, const std::string& turnName, const char* cmd) {
    std::vector<OrderLine> orders;
    if (std::string bad = ParseOrders(ordersPath, orders); !bad.empty()) {
        std::fprintf(stderr, "vezer %s: %s\n", cmd, bad.c_str());
        return 2;
    }
    State& st = game.state;
    const int side = st.LocalSide;
    int refused = 0;
    for (const OrderLine& l : orders) {
        if (st.ActiveSide != side) break; // the turn has ended
        if (std::string bad = ValidateOrder(st, l.order); !bad.empty()) {
            ++refused;
            std::fprintf(stderr, "vezer %s: %s:%d: order %s refused: %s\n", cmd, ordersPath.c_str(), l.line,
                         Describe(l.order).c_str(), bad.c_str());
            continue;
        }
        GiveOrder(game, l.order);
        if (!st.OrderFileOpen) break; // order 30
    }
    if (st.OrderFileOpen) ExecuteOrder(game, TParancs{kOrderEndTurn, 0, 0, side, 0, 0});
    try {
        const std::string written = WriteTurnFile(game, turnName);
        std::printf("%s: the turn of side %d (%s), %zu order lines, %d refused\n",
                    game.dir.Resolve(written).string().c_str(), side, SideName(side), orders.size(), refused);
    } catch (const std::exception& e) {
        return Fail(cmd, std::string("the turn file was not written: ") + e.what());
    }
    return refused > 0 ? 1 : 0;
}

int RunEmailTurn(const std::vector<std::string>& args) {
    const char* cmd = "email-turn";
    std::string turnFile, password, ordersPath, next;
    bool havePassword = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "--password" || a == "--orders" || a == "--out") && i + 1 < args.size()) {
            const std::string& v = args[++i];
            if (a == "--password") {
                password = v;
                havePassword = true;
            } else if (a == "--orders") {
                ordersPath = v;
            } else {
                next = v;
            }
        } else if (turnFile.empty() && !a.empty() && a[0] != '-') {
            turnFile = a;
        } else {
            std::fprintf(stderr, "vezer %s: unexpected argument %s\n", cmd, a.c_str());
            return 2;
        }
    }
    if (turnFile.empty() || !havePassword || ordersPath.empty() || next.empty()) {
        std::fprintf(stderr, "vezer %s: usage: vezer email-turn TURNFILE --password P --orders ORDERS.txt --out NEXT\n",
                     cmd);
        return 2;
    }
    HeadlessPresentation screen;
    NoTransport link;
    auto game = MakeGame(screen, link, GameDir(GameDirectory()));
    game->state.DataSet = 1;
    game->state.Language = 1;
    // A turn file from anywhere is opened from the save folder, as the game's own dialog does.
    const std::string plain = std::filesystem::path(turnFile).filename().string();
    if (!IsTurnFileChoice(plain)) return Fail(cmd, plain + " cannot be opened as a turn file");
    try {
        const auto inSave = game->dir.Resolve(SaveFolderFile(plain));
        std::error_code same;
        if (!std::filesystem::equivalent(turnFile, inSave, same)) {
            std::filesystem::create_directories(inSave.parent_path());
            WriteFileAtomic(inSave, ReadFileBytes(turnFile, turnFile));
        }
        switch (OpenTurnFile(*game, plain, password, ClockSeed())) {
        case TurnFileOpening::Opened: break;
        case TurnFileOpening::WrongPassword: return Fail(cmd, "the password does not open " + plain);
        case TurnFileOpening::NotEmailGame: return Fail(cmd, plain + " is not an e-mail game's turn");
        }
    } catch (const DataError& e) {
        return Fail(cmd, e.PlayerMessage() + " (" + e.reason() + ")");
    } catch (const FileIoError& e) {
        return Fail(cmd, e.what());
    }
    ActivateMainScreen(*game);
    std::printf("%s\n", TurnSummaryText(SummariseOpenedTurn(*game)).c_str());
    while (ReplayNextOrder(*game) > 0) {
    }
    if (game->state.ReplayPending) return Fail(cmd, "the opponent's turn does not end; nothing more to play");
    for (const auto& call : screen.Calls())
        if (call.kind == HeadlessPresentation::Kind::Error) std::fprintf(stderr, "vezer %s: %s\n", cmd, call.text.c_str());
    return PlayEmailOrders(*game, ordersPath, next, cmd);
}

} // namespace vezer::app
