#pragma once
// The new-game screen: the campaign (or a saved game), who plays each side, the difficulty,
// the Russian and Polish intervention and fog of war, remembered in "Data\\onesetup.dat";
// "Indítás" starts the game and shows the main screen until it closes.

#include "files/settings.h"
#include "ui/app.h"
#include "ui/widgets.h"

#include <array>
#include <string>

namespace vezer::ui {

class NewGameScreen : public Screen {
public:
    // `email`: opened from the multiplayer sub-menu (a play-by-e-mail game).
    NewGameScreen(App& app, bool email);
    void Draw(Painter& p) override;
    void OnInput(const Input& in) override;

    const OneSetupChoices& choices() const { return choices_; }

private:
    void Build();
    void Mark();
    void Click(int id);
    void ChoosePlayer(int side, int code);
    void Start();
    void Cancel();
    std::string Description() const;

    bool email_;
    OneSetupChoices choices_;
    // The campaign descriptions, [side][campaign], read when the screen opens.
    std::array<std::array<std::string, 7>, 3> descriptions_{};
    int entry_ = 0;           // 0..6 a campaign, 7 a saved game
    std::string savedGame_;   // the file chosen for entry 7
    LabelSet labels_;
};

// The list of saved games under "save\\" to choose from; empty when cancelled.
std::string ChooseSavedGame(App& app);

} // namespace vezer::ui
