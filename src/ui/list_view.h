#pragma once
// The list of the corps, regiment and city dialogs: columns with captions, rows of cells, group
// headers (a caption beginning with "-") that cannot be chosen, one chosen row, scrolling, and
// the double click (two clicks on one row within a third of a second's frames).

#include "ui/app.h"

#include <functional>
#include <string>
#include <vector>

namespace vezer::ui {

struct ListColumn {
    std::string caption;
    int width = 80;
    Align align = Align::Left;
};

struct ListRow {
    std::vector<std::string> cells;
    int id = 0;          // what the row stands for (a regiment, a general, a corps, a type)
    bool header = false; // a group header: shown, never chosen
    std::string icon;    // a small picture before the first cell (a flag), optional
};

class ListView {
public:
    std::vector<ListColumn> columns;
    std::vector<ListRow> rows;
    int x = 0, y = 0, w = 0, h = 0;
    int rowHeight = 18;
    int selected = -1; // an index into rows, never a header

    // What a click did.
    enum class Event { None, Chosen, DoubleClicked };
    Event OnInput(const Input& in, int frame);
    void Draw(Painter& p, App& app) const;

    // The chosen row's id, or 0.
    int SelectedId() const;
    // The chosen row's place among the rows that are not headers (0-based), or -1.
    int SelectedPosition() const;
    // Chooses the row at that place among the non-header rows (the last one when fewer remain).
    void SelectPosition(int position);
    // The arrows: the next or previous row that is not a header.
    void Step(int delta);
    void SortBy(int column, bool numeric);

private:
    int VisibleRows() const { return std::max(1, (h - rowHeight - 4) / rowHeight); }
    void ScrollTo(int row);
    int top_ = 0;
    int lastClickRow_ = -1;
    int lastClickFrame_ = -100;
};

} // namespace vezer::ui
