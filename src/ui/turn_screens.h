#pragma once
// The screens between the turns: the turn-start screen with the week's date, weather and
// events (first showing and review), the hand-over between two persons at one machine, and
// the end-of-game screen with its verdict, picture and story.

#include "core/presentation.h"
#include "core/state.h"
#include "ui/app.h"

#include <string>
#include <utility>
#include <vector>

namespace vezer::ui {

// The turn-start screen, modal: the lines are (side, text) as the rules gave them.
void TurnStartDialog(App& app, const State& state, const std::vector<std::pair<int, std::string>>& lines,
                     bool review);

// The hand-over: the whole screen covered, nothing of either side shown, until the player of
// `side` says ready.
void HandOverDialog(App& app, int side);

// The end-of-game screen, modal until the player chooses to go on or to leave for the menu
// (the result summary opens from it as often as the player likes). On "Menü" the settings
// list is written back.
EndOfGameChoice EndOfGameDialog(App& app, State& state, const EndOfGameView& view);

} // namespace vezer::ui
