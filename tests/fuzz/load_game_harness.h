#pragma once
// The load fuzzer's target, shared by the libFuzzer executable and the plain test over the
// seed corpus: a game that holds a started campaign is given a file to load. A refused file
// must be refused with the corrupt-file error naming it and leave the game exactly as it was;
// an accepted one must keep every invariant of the rules, and save and load again to the same
// bytes.

#include "core/game.h"
#include "core/headless.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

namespace vezer::fuzz {

class LoadGameTarget {
public:
    // Sets up the game from the compiled game directory and starts `campaign` in it.
    explicit LoadGameTarget(const std::filesystem::path& gameDir, int campaign = 1);

    // Loads `data` as it is, and when that is refused for the checksum, once more with the
    // checksum made right, so that the checks behind it are reached too. Returns an empty
    // string, or what went wrong.
    std::string Run(std::span<const std::uint8_t> data);

    // How many loads were accepted and refused so far.
    int accepted() const { return accepted_; }
    int refused() const { return refused_; }

private:
    std::string LoadOnce(const std::vector<std::uint8_t>& bytes);
    std::string CheckAccepted();

    HeadlessPresentation screen_;
    NoTransport link_;
    std::unique_ptr<Game> game_;
    std::unique_ptr<State> started_; // the campaign as started, to go back to after a load
    std::uint64_t startedHash_ = 0;
    int accepted_ = 0, refused_ = 0;
    std::string lastRefusal_;
};

} // namespace vezer::fuzz
