#pragma once
// The game start of the new-game screen: the loading screen with its progress bar, the game
// set up from the data files (or a saved game loaded), the turn-start screen, then the main
// screen until the player quits or the campaign ends.

#include "files/settings.h"
#include "ui/app.h"

#include <string>

namespace vezer::ui {

struct GameStart {
    OneSetupChoices choices;
    int campaign = 1;      // the game's Campaign 0..6; -1 for a saved game
    std::string savedGame; // the file of a saved game
    bool email = false;
};

void PlayGame(App& app, const GameStart& start);

// The loading screen: a picture and a progress bar of `steps` steps, drawn at once.
class LoadingScreen : public Screen {
public:
    LoadingScreen(App& app, int steps) : Screen(app), steps_(steps) {}
    void Draw(Painter& p) override;
    bool Busy() const override { return true; }
    // Moves the bar on and shows it.
    void Step();

private:
    int steps_;
    int done_ = 0;
};

} // namespace vezer::ui
