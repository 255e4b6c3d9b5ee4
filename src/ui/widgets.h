#pragma once
// The clickable text labels of the menu-style screens: dark red, red under the mouse or when
// selected, black for section headings, as on the period's printed title pages.

#include "ui/draw.h"

#include <string>
#include <vector>

namespace vezer::ui {

struct Label {
    std::string text; // already in the interface language
    int x = 0, y = 0; // anchor (see align)
    Align align = Align::Left;
    FontFace face = FontFace::SerifBold;
    int size = 18;
    bool visible = true;
    bool enabled = true;
    bool selected = false;
    bool heading = false;
    int id = 0;
    // The rectangle last drawn (for the mouse).
    int left = 0, top = 0, width = 0, height = 0;
};

class LabelSet {
public:
    Label& Add(Label label);
    Label* Find(int id);
    // The label under a point (visible, not a heading), or null.
    Label* At(Fonts& fonts, int x, int y);
    // Measures every label where it stands now.
    void Measure(Fonts& fonts);
    void Hover(int x, int y) { hoverX_ = x, hoverY_ = y; }
    void Draw(Painter& p);
    std::vector<Label>& all() { return labels_; }

private:
    std::vector<Label> labels_;
    int hoverX_ = -1, hoverY_ = -1;
};

// A button drawn as an engraved plate with a caption.
struct Button {
    int x = 0, y = 0, w = 0, h = 0;
    std::string caption;
    bool enabled = true;
    bool Contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
    void Draw(Painter& p, bool hover, int size = 13) const;
};

} // namespace vezer::ui
