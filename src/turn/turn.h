#pragma once
// The spine of the game: the end of a side's turn, the week step, the start of a side's turn
// and the turn events of the week.

#include "core/game.h"

#include <string_view>

namespace vezer {

// Ends the turn of ActiveSide and runs everything up to the moment the next side can give
// orders (issued only through order 30).
void EndTurn(Game& game);
// Steps the calendar one week, empties the week's turn events and logs the week's header.
void AdvanceWeek(Game& game);
// The start of ActiveSide's turn: movement points, recompute, reconnaissance, ticker, markers.
void StartSideTurn(Game& game);

// A line of the turn-start screen, stored for review (at most 50 a week). Does nothing unless
// the turn-start screen is open. Side 3 is stored as 2.
void AddTurnEvent(Game& game, int side, bool hidden, std::string_view text);
// Whether a stored turn event may be seen at this machine.
bool TurnEventVisible(const State& state, const TTurnEvent& event);
// The turn-start screen in its first showing: computes and lists the week's events.
void ShowTurnStartScreen(Game& game);
// The "Kör eseményei" button: lists the stored events again (not while the other machine of
// a network game acts).
void ReviewTurnEvents(Game& game);

// The automatic save names of the ending turn (the date is the turn's own).
std::string AutoSaveName(const State& state);
std::string AutoSaveLatestName(const State& state);

} // namespace vezer
