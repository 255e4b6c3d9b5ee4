#include "app/runner_support.h"

#include "core/binary_io.h"
#include "core/errors.h"
#include "core/fingerprint.h"
#include "campaign/load_game.h"
#include "files/savegame.h"
#include "campaign/setup.h"
#include "orders/orders.h"

#include <cerrno>
#include <cinttypes>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <cstdio>
#include <memory>

namespace vezer::app {

// One whole signed 32-bit number.
static bool ParseInt(const std::string& word, int& out) {
    if (word.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(word.c_str(), &end, 10);
    if (errno != 0 || end == nullptr || *end != 0 || v < INT_MIN || v > INT_MAX) return false;
    out = static_cast<int>(v);
    return true;
}

// Reads "code hexX hexY side corps param" lines; `#` starts a comment, blank lines are skipped.
// Returns an empty text, or what is wrong and where.
std::string ParseOrders(const std::string& path, std::vector<OrderLine>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return path + ": cannot be read";
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (const auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
        std::istringstream words(text);
        std::vector<std::string> fields;
        for (std::string w; words >> w;) fields.push_back(w);
        if (fields.empty()) continue;
        const std::string where = path + ":" + std::to_string(number) + ": ";
        if (fields.size() != 6)
            return where + "expected six numbers (code hexX hexY side corps param), found " +
                   std::to_string(fields.size());
        int v[6];
        for (std::size_t i = 0; i < 6; ++i)
            if (!ParseInt(fields[i], v[i])) return where + "'" + fields[i] + "' is not a whole number";
        out.push_back(OrderLine{number, TParancs{v[0], v[1], v[2], v[3], v[4], v[5]}});
    }
    if (in.bad()) return path + ": read error";
    return {};
}

std::string Describe(const TParancs& o) {
    return std::to_string(o.Code) + " " + std::to_string(o.HexX) + " " + std::to_string(o.HexY) + " " +
           std::to_string(o.Side) + " " + std::to_string(o.Corps) + " " + std::to_string(o.Param);
}


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
