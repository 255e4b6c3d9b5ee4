#pragma once
// The turn-file fuzzer's target, shared by the libFuzzer executable and the plain test: a
// machine of an e-mail game is given a file to open as the opponent's turn. A refused file must
// be refused with a message naming it, leaving the running game and its order file exactly as
// they were; an accepted one is replayed to its end without a fault and keeps every invariant
// of the rules. The order-file reader is given the same bytes: it refuses them or reads what
// writes back to the same bytes.

#include "core/binary_io.h"
#include "core/game.h"
#include "core/headless.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

namespace vezer::fuzz {

inline constexpr const char* kTurnFilePassword = "Damjanich";

class TurnFileTarget {
public:
    // A game directory of its own under the system's temporary folder, with the data files of
    // `gameDir`; removed with the target.
    explicit TurnFileTarget(const std::filesystem::path& gameDir);
    ~TurnFileTarget();
    TurnFileTarget(const TurnFileTarget&) = delete;
    TurnFileTarget& operator=(const TurnFileTarget&) = delete;

    // A real turn file: a new e-mail game of the autumn campaign (side 1's password
    // kTurnFilePassword) whose first turn marches a few corps and changes a tactic.
    Bytes MakeTurnFile();

    // Opens `data` as a turn file. Returns an empty string, or what went wrong.
    std::string Run(std::span<const std::uint8_t> data);

    int accepted() const { return accepted_; }
    int refused() const { return refused_; }

private:
    std::string CheckRefusal(const std::string& why);

    std::filesystem::path root_;
    HeadlessPresentation screen_;
    NoTransport link_;
    std::unique_ptr<Game> game_;
    std::unique_ptr<State> before_;
    std::uint64_t beforeHash_ = 0;
    Bytes orderFileBefore_;
    int accepted_ = 0, refused_ = 0;
};

} // namespace vezer::fuzz
