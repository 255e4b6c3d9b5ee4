#pragma once
// The main menu: single player, multiplayer (with its e-mail and network sub-menu), settings,
// the hidden encyclopedia, quit.

#include "ui/app.h"
#include "ui/widgets.h"

namespace vezer::ui {

class MenuScreen : public Screen {
public:
    explicit MenuScreen(App& app);
    void Draw(Painter& p) override;
    void OnInput(const Input& in) override;

private:
    void Layout(int w, int h);
    void SetTopLevel();
    void Choose(int id);

    LabelSet labels_;
    bool multiplayer_ = false;
};

} // namespace vezer::ui
