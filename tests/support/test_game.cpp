#include "support/test_game.h"

#include <atomic>
#include <random>
#include <unistd.h>

namespace vezer::testing {

std::filesystem::path CompiledGameDir() { return VEZER_TEST_GAME_DIR; }

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("vezer-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

TestGame::TestGame() : ownDir(std::make_unique<TempDir>()) {
    std::filesystem::create_directory_symlink(CompiledGameDir() / "Data", ownDir->path() / "Data");
    std::filesystem::create_directories(ownDir->path() / "save");
    game = MakeGame(screen, link, GameDir(ownDir->path()));
}

TestGame::TestGame(GameDir dir) : game(MakeGame(screen, link, std::move(dir))) {}

void FillRandTableWithPositions(State& state) {
    for (int i = 1; i <= kRandTableSize; ++i) state.RandTable[static_cast<std::size_t>(i)] = i;
}

} // namespace vezer::testing
