#pragma once
// The computer opponent's turn and the lists it keeps for a side.

#include "core/game.h"
#include "core/players.h"

namespace vezer {

// Plays the computer's side: every change is an order, and the last order is order 30.
void RunAiTurn(Game& game, int side);

// The corps of `side` besieging an enemy fortress, or 0 (set up and after a load).
int FindSiegeCorps(Game& game, int side);
// Empties the list of hexes the computer wants reconnoitred.
void ClearReconTargets(Game& game);

// The sides the computer plays (PlayerType 2) are played by RunAiTurn; every other side waits
// for its person or the other machine.
class ComputerPlayers : public SidePlayers {
public:
    bool PlayTurn(Game& game, int side) override;
};

} // namespace vezer
