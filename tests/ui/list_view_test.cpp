// The list of the corps and regiment dialogs: group headers are never chosen, a double click
// needs the same row twice within its frames, and a rebuilt list keeps the chosen row's place.

#include "ui/list_view.h"

#include <gtest/gtest.h>

namespace vezer::ui {
namespace {

ListView Grouped() {
    ListView l;
    l.x = 0, l.y = 0, l.w = 300, l.h = 200, l.rowHeight = 18;
    l.columns = {{"Név", 200, Align::Left}, {"Létszám", 100, Align::Right}};
    l.rows = {{{"-Tábornok: Görgei"}, 0, true, {}},
              {{"1. huszár", "800"}, 11, false, {}},
              {{"2. honvéd", "1200"}, 12, false, {}},
              {{"-Tábornok: Klapka"}, 0, true, {}},
              {{"3. honvéd", "900"}, 13, false, {}}};
    return l;
}

Input ClickRow(int row) {
    Input in;
    in.kind = Input::Kind::MouseUp;
    in.button = 1;
    in.x = 20;
    in.y = 18 + 4 + row * 18 + 5; // below the captions
    return in;
}

TEST(DialogList, AHeaderIsNeverChosenAndTwoClicksOnItDoNothing) {
    ListView l = Grouped();
    EXPECT_EQ(l.OnInput(ClickRow(0), 1), ListView::Event::None);
    EXPECT_EQ(l.OnInput(ClickRow(0), 2), ListView::Event::None);
    EXPECT_EQ(l.selected, -1);
    EXPECT_EQ(l.SelectedId(), 0);
    EXPECT_EQ(l.OnInput(ClickRow(3), 3), ListView::Event::None);
    EXPECT_EQ(l.SelectedPosition(), -1);
}

TEST(DialogList, ADoubleClickIsTheSameRowTwiceWithinItsFrames) {
    ListView l = Grouped();
    EXPECT_EQ(l.OnInput(ClickRow(1), 10), ListView::Event::Chosen);
    EXPECT_EQ(l.OnInput(ClickRow(1), 12), ListView::Event::DoubleClicked);
    EXPECT_EQ(l.SelectedId(), 11);
    // Too slow, or another row in between: single clicks.
    EXPECT_EQ(l.OnInput(ClickRow(2), 100), ListView::Event::Chosen);
    EXPECT_EQ(l.OnInput(ClickRow(2), 200), ListView::Event::Chosen);
    EXPECT_EQ(l.OnInput(ClickRow(1), 201), ListView::Event::Chosen);
    EXPECT_EQ(l.OnInput(ClickRow(2), 202), ListView::Event::Chosen);
    EXPECT_EQ(l.SelectedId(), 12);
}

TEST(DialogList, PlacesCountWithoutHeadersAndARebuiltListKeepsThePlace) {
    ListView l = Grouped();
    l.OnInput(ClickRow(4), 1);
    EXPECT_EQ(l.SelectedPosition(), 2) << "the third regiment, the headers not counted";
    // The chosen regiment left: the same place, else the last row.
    l.rows.erase(l.rows.begin() + 4);
    l.SelectPosition(2);
    EXPECT_EQ(l.SelectedId(), 12);
    l.rows = {{{"-Tábornok: Görgei"}, 0, true, {}}};
    l.SelectPosition(0);
    EXPECT_EQ(l.selected, -1) << "nothing left to choose";
}

TEST(DialogList, TheArrowsSkipHeadersAndSortingKeepsTheChosenRow) {
    ListView l = Grouped();
    l.Step(1);
    EXPECT_EQ(l.SelectedId(), 11);
    l.Step(1);
    l.Step(1);
    EXPECT_EQ(l.SelectedId(), 13) << "over the second header";
    l.Step(1);
    EXPECT_EQ(l.SelectedId(), 13) << "stays at the end";
    l.rows = {
        {{"Bem", "12"}, 1, false, {}}, {{"Görgei", "140"}, 2, false, {}}, {{"Damjanich", "9"}, 3, false, {}}};
    l.selected = 0;
    l.SortBy(1, true);
    EXPECT_EQ(l.rows[0].id, 2) << "figures from the largest";
    EXPECT_EQ(l.SelectedId(), 1);
    l.SortBy(0, false);
    EXPECT_EQ(l.rows[0].cells[0], "Bem");
    EXPECT_EQ(l.rows[1].cells[0], "Damjanich");
}

} // namespace
} // namespace vezer::ui
