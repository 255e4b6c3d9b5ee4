#pragma once
// One game: its state, the screen it shows itself on, the other machine, and its directory.
// Rule code reaches everything through a Game&; two games can live side by side.

#include "core/index_watch.h"
#include "core/paths.h"
#include "core/players.h"
#include "core/presentation.h"
#include "core/state.h"
#include "core/transport.h"

#include <memory>

namespace vezer {

struct Game {
    Game(Presentation& screen_, Transport& link_, GameDir dir_ = GameDir())
        : screen(screen_), link(link_), dir(std::move(dir_)) {}
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    State state;
    Presentation& screen;
    Transport& link;
    GameDir dir;

    // Holders of corps and regiment indices, told when a deletion renumbers them (not part of
    // the game state: dialogs and the computer's march register while they hold an index).
    IndexWatchList watches;

    // Who plays the sides that no one at this machine plays through the screen (the driver
    // loop PlayTurns asks it); none means every side waits for its person.
    SidePlayers* players = nullptr;
};

// The state is a few megabytes: games live on the heap.
inline std::unique_ptr<Game> MakeGame(Presentation& screen, Transport& link, GameDir dir = GameDir()) {
    return std::make_unique<Game>(screen, link, std::move(dir));
}

} // namespace vezer
