#pragma once
// The settings screen, from the menu (game settings) or from the running game (with saving
// and quitting the game, without the resolution).

#include "ui/app.h"
#include "ui/widgets.h"

namespace vezer::ui {

// What the settings screen asks of the running game.
class GameControls {
public:
    virtual ~GameControls() = default;
    virtual void ApplySettings() = 0; // scroll step, animation delay, music and effects
    virtual void SaveFromSettings() = 0;
    virtual void QuitFromSettings() = 0;
};

class SettingsScreen : public Screen {
public:
    // `game` null: menu mode.
    SettingsScreen(App& app, GameControls* game);
    void Draw(Painter& p) override;
    void OnInput(const Input& in) override;

private:
    void Mark();
    void Select(Label& l);
    void Apply();

    GameControls* game_;
    LabelSet labels_;
    bool lit_ = false;
    // The choices on screen: codes as in the settings files.
    std::string scroll_, resolution_, animation_;
    bool music_ = true, effects_ = true;
    int language_ = 1;
};

// The language of the interface as the settings list keeps it (line 19; 1 Hungarian, 2 English).
int StoredLanguage(const SettingsList& list);
void StoreLanguage(SettingsList& list, int language);

} // namespace vezer::ui
