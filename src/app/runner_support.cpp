#include "app/runner_support.h"

#include "core/binary_io.h"
#include "core/errors.h"
#include "core/fingerprint.h"
#include "campaign/load_game.h"
#include "files/savegame.h"
#include "campaign/setup.h"
#include "orders/orders.h"

#include <cinttypes>
#include <cstdio>
#include <memory>

namespace vezer::app {

void LoadSaveForRunner(Game& game, const std::string& in) {
    game.state.DataSet = 1;
    game.state.Language = 1;
    const Bytes bytes = ReadFileBytes(in, in);
    // Where the checksum ends: the loader itself keeps the set-up's random cursor, so the
    // runner adopts the one stored after it when it is there.
    LoadSavedGame(game, 1, 0, bytes, in);
    auto staged = std::make_unique<State>(game.state);
    const std::size_t end = ReadSaveInto(*staged, bytes, in, [](State&) {});
    staged.reset();
    if (game.state.PbemGame != 0) return;
    int pos = 1, step = 1; // a save without a cursor replays from the table's start
    if (bytes.size() >= end + 8) {
        const Bytes tail(bytes.begin() + static_cast<std::ptrdiff_t>(end),
                         bytes.begin() + static_cast<std::ptrdiff_t>(end + 8));
        BinaryReader cursor(tail, in);
        pos = cursor.ReadInt();
        step = cursor.ReadInt();
    }
    if (!ValidateCarriedPosition(pos, step).empty())
        throw DataError(in, "random cursor " + std::to_string(pos) + "/" + std::to_string(step));
    game.state.RandPos = pos;
    game.state.RandStep = step;
}

bool LoadSaveOrReport(Game& game, const std::string& path, const char* command) {
    try {
        LoadSaveForRunner(game, path);
        return true;
    } catch (const DataError& e) {
        std::fprintf(stderr, "vezer %s: %s (%s)\n", command, e.PlayerMessage().c_str(), e.what());
        return false;
    }
}

std::string FingerprintText(const State& st) {
    char hash[32];
    std::snprintf(hash, sizeof hash, "%016" PRIx64, FullStateHash(st));
    return "fingerprint " + std::to_string(GameStateFingerprint(st)) + " hash " + hash;
}

} // namespace vezer::app
