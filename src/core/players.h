#pragma once
// Who plays each side. The end of a turn never calls the computer or waits for a person: it
// returns, and the driver loop of the orders module asks this seam to play the next side.
// Turns never nest, so a game between two computer sides is a plain loop.

namespace vezer {

struct Game;

class SidePlayers {
public:
    virtual ~SidePlayers() = default;
    // Plays the whole turn of `side` (which is the active side), ending it with order 30.
    // Returns false without acting when the side's turn is played elsewhere: by a person at
    // this machine through the screen, or by the other machine.
    virtual bool PlayTurn(Game& game, int side) = 0;
};

} // namespace vezer
