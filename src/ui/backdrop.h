#pragma once
// The painted backgrounds of the menu-style screens: the picture of the game directory when
// it is there, otherwise parchment with an engraved border drawn here.

#include "ui/app.h"

#include <string>

namespace vezer::ui {

// Draws the named background (e.g. "menu", "Setup", "gamesetup", "extramontazs") filling the screen.
void DrawBackdrop(App& app, Painter& p, const std::string& name);
// Parchment with an engraved double border over the rectangle.
void DrawParchment(Painter& p, int x, int y, int w, int h);

} // namespace vezer::ui
