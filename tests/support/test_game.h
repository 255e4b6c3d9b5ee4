#pragma once

#include <cstdint>
// Shared test helpers: a game with a recording screen, temporary directories, and the path of
// the compiled game directory.

#include "core/game.h"
#include "core/headless.h"

#include <filesystem>
#include <memory>
#include <string>

namespace vezer::testing {

// The seed of the chance cursor for tests that set up a game: they must not depend on it.
inline constexpr std::uint32_t kTestSeed = 4242;

// The game directory the build compiled (build/game).
std::filesystem::path CompiledGameDir();

// A fresh empty folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A game with a headless screen and no other machine. Without a folder it gets a game
// directory of its own: the compiled data files and an empty save folder, so that automatic
// saves never land in the build's game directory.
struct TestGame {
    TestGame();
    explicit TestGame(GameDir dir);
    std::unique_ptr<TempDir> ownDir;
    HeadlessPresentation screen;
    NoTransport link;
    std::unique_ptr<Game> game;
    State& st() { return game->state; }
    Game& g() { return *game; }
};

// Fills RandTable with a known pattern: RandTable[i] = i (so a draw reads its own position).
void FillRandTableWithPositions(State& state);

} // namespace vezer::testing
