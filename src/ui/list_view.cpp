#include "ui/list_view.h"

#include <algorithm>
#include <cstdlib>

namespace vezer::ui {

namespace {

// Frames within which a second click on the same row is a double click.
constexpr int kDoubleClickFrames = 20;

long NumberOf(const std::string& s) {
    std::string digits;
    for (char c : s)
        if ((c >= '0' && c <= '9') || (c == '-' && digits.empty())) digits += c;
    return digits.empty() || digits == "-" ? 0 : std::strtol(digits.c_str(), nullptr, 10);
}

} // namespace

ListView::Event ListView::OnInput(const Input& in, int frame) {
    if (in.kind == Input::Kind::Wheel && in.x >= x && in.x < x + w) {
        top_ = std::clamp(top_ - in.y * 3, 0, std::max(0, static_cast<int>(rows.size()) - VisibleRows()));
        return Event::None;
    }
    if (in.kind != Input::Kind::MouseUp || in.button != 1) return Event::None;
    if (in.x < x || in.x >= x + w || in.y < y + rowHeight + 4 || in.y >= y + h) return Event::None;
    const int row = top_ + (in.y - y - rowHeight - 4) / rowHeight;
    if (row < 0 || row >= static_cast<int>(rows.size())) return Event::None;
    const bool twice = row == lastClickRow_ && frame - lastClickFrame_ <= kDoubleClickFrames;
    lastClickRow_ = row;
    lastClickFrame_ = frame;
    // A group header cannot be chosen, and a double click on it does nothing.
    if (rows[static_cast<std::size_t>(row)].header) return Event::None;
    selected = row;
    if (twice) {
        lastClickRow_ = -1;
        return Event::DoubleClicked;
    }
    return Event::Chosen;
}

void ListView::Draw(Painter& p, App& app) const {
    p.Fill(x, y, w, h, Colour{248, 242, 222});
    p.Frame(x - 1, y - 1, w + 2, h + 2, palette::kInk);
    // The captions.
    p.Fill(x, y, w, rowHeight + 3, palette::kParchmentDark);
    int cx = x + 4;
    for (const ListColumn& c : columns) {
        const int tx = c.align == Align::Right    ? cx + c.width - 8
                       : c.align == Align::Centre ? cx + c.width / 2
                                                  : cx;
        p.Text(c.caption, tx, y + 2, palette::kInk, FontFace::SansBold, 11, c.align);
        cx += c.width;
    }
    p.Line(x, y + rowHeight + 3, x + w, y + rowHeight + 3, palette::kInk);
    p.SetClip(x, y + rowHeight + 4, w, h - rowHeight - 4);
    const int visible = VisibleRows();
    for (int k = 0; k < visible + 1; ++k) {
        const int i = top_ + k;
        if (i >= static_cast<int>(rows.size())) break;
        const ListRow& r = rows[static_cast<std::size_t>(i)];
        const int ry = y + rowHeight + 4 + k * rowHeight;
        if (i == selected) p.Fill(x, ry, w, rowHeight, Colour{128, 0, 0});
        const Colour ink = i == selected ? Colour{255, 250, 235}
                           : r.header    ? palette::kHeading
                                         : palette::kInk;
        if (r.header) {
            p.Fill(x, ry, w, rowHeight, Colour{226, 212, 178});
            // The header's caption runs across the columns, without its "-".
            const std::string text = !r.cells.empty() && !r.cells[0].empty() && r.cells[0][0] == '-'
                                         ? r.cells[0].substr(1)
                                     : r.cells.empty() ? std::string()
                                                       : r.cells[0];
            p.Text(text, x + 6, ry + 2, ink, FontFace::SerifBold, 12);
            continue;
        }
        cx = x + 4;
        int textLeft = 0;
        if (!r.icon.empty()) {
            SDL_Rect dst{cx, ry + 2, 20, 14};
            SDL_BlitScaled(app.pictures().Get(r.icon, 64, 44), nullptr, p.target(), &dst);
            textLeft = 24;
        }
        for (std::size_t c = 0; c < columns.size() && c < r.cells.size(); ++c) {
            const ListColumn& col = columns[c];
            const int left = cx + (c == 0 ? textLeft : 0);
            const int tx = col.align == Align::Right    ? cx + col.width - 8
                           : col.align == Align::Centre ? cx + col.width / 2
                                                        : left;
            p.SetClip(std::max(x, cx), y + rowHeight + 4, std::min(col.width, x + w - cx), h - rowHeight - 4);
            p.Text(r.cells[c], tx, ry + 2, ink, c == 0 ? FontFace::Serif : FontFace::Sans, 12, col.align);
            cx += col.width;
        }
        p.SetClip(x, y + rowHeight + 4, w, h - rowHeight - 4);
    }
    p.ClearClip();
}

int ListView::SelectedId() const {
    if (selected < 0 || selected >= static_cast<int>(rows.size())) return 0;
    return rows[static_cast<std::size_t>(selected)].id;
}

int ListView::SelectedPosition() const {
    if (selected < 0 || selected >= static_cast<int>(rows.size())) return -1;
    int n = 0;
    for (int i = 0; i < selected; ++i) n += rows[static_cast<std::size_t>(i)].header ? 0 : 1;
    return n;
}

void ListView::SelectPosition(int position) {
    selected = -1;
    if (position < 0) return;
    int n = 0;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        if (rows[static_cast<std::size_t>(i)].header) continue;
        selected = i;
        if (n++ == position) break;
    }
    if (selected >= 0) ScrollTo(selected);
}

void ListView::Step(int delta) {
    int i = selected < 0 ? (delta > 0 ? -1 : static_cast<int>(rows.size())) : selected;
    for (;;) {
        i += delta;
        if (i < 0 || i >= static_cast<int>(rows.size())) return;
        if (!rows[static_cast<std::size_t>(i)].header) break;
    }
    selected = i;
    ScrollTo(i);
}

void ListView::ScrollTo(int row) {
    if (row < top_) top_ = row;
    if (row >= top_ + VisibleRows()) top_ = row - VisibleRows() + 1;
    top_ = std::max(0, top_);
}

void ListView::SortBy(int column, bool numeric) {
    const int chosen = SelectedId();
    std::stable_sort(rows.begin(), rows.end(), [&](const ListRow& a, const ListRow& b) {
        const std::string& sa =
            column < static_cast<int>(a.cells.size()) ? a.cells[static_cast<std::size_t>(column)] : "";
        const std::string& sb =
            column < static_cast<int>(b.cells.size()) ? b.cells[static_cast<std::size_t>(column)] : "";
        return numeric ? NumberOf(sa) > NumberOf(sb) : sa < sb;
    });
    selected = -1;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i)
        if (chosen != 0 && rows[static_cast<std::size_t>(i)].id == chosen) selected = i;
    top_ = 0;
}

} // namespace vezer::ui
