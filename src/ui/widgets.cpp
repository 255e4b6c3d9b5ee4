#include "ui/widgets.h"

namespace vezer::ui {

Label& LabelSet::Add(Label label) {
    labels_.push_back(std::move(label));
    return labels_.back();
}

Label* LabelSet::Find(int id) {
    for (Label& l : labels_)
        if (l.id == id) return &l;
    return nullptr;
}

void LabelSet::Measure(Fonts& fonts) {
    for (Label& l : labels_) {
        if (!l.visible) {
            l.width = 0;
            continue;
        }
        const int w = fonts.Width(l.face, l.size, l.text);
        l.left = l.align == Align::Left ? l.x : l.align == Align::Centre ? l.x - w / 2 : l.x - w;
        l.top = l.y;
        l.width = w;
        l.height = TTF_FontHeight(fonts.Get(l.face, l.size));
    }
}

Label* LabelSet::At(Fonts& fonts, int x, int y) {
    Measure(fonts);
    for (Label& l : labels_) {
        if (!l.visible || l.heading || l.width == 0) continue;
        if (x >= l.left && x < l.left + l.width && y >= l.top && y < l.top + l.height) return &l;
    }
    return nullptr;
}

void LabelSet::Draw(Painter& p) {
    Measure(p.fonts());
    for (Label& l : labels_) {
        if (!l.visible) continue;
        const int w = l.width, h = l.height;
        const bool hover = !l.heading && hoverX_ >= l.left && hoverX_ < l.left + w && hoverY_ >= l.top &&
                           hoverY_ < l.top + h;
        Colour c = l.heading ? palette::kHeading : (l.selected || hover) ? palette::kItemLit : palette::kItem;
        if (!l.enabled && !l.heading) c = palette::kFaded;
        p.Text(l.text, l.left, l.top, c, l.face, l.size);
    }
}

void Button::Draw(Painter& p, bool hover, int size) const {
    const Colour face = !enabled ? Colour{170, 160, 140}
                        : hover  ? Colour{226, 206, 160}
                                 : Colour{206, 188, 148};
    p.Fill(x, y, w, h, face);
    p.Frame(x, y, w, h, palette::kInk);
    p.Fill(x + 1, y + h - 2, w - 2, 1, Colour{150, 130, 96});
    const int th = TTF_FontHeight(p.fonts().Get(FontFace::SerifBold, size));
    p.Text(caption, x + w / 2, y + (h - th) / 2, enabled ? palette::kInk : palette::kFaded,
           FontFace::SerifBold, size, Align::Centre);
}

} // namespace vezer::ui
