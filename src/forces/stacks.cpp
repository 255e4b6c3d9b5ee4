#include "forces/stacks.h"

#include "forces/forces.h"
#include "forces/strength.h"
#include "map/queries.h"

#include <algorithm>

namespace vezer {

namespace {

bool MayBeSeen(const State& st, int side, const THad& h) {
    return side == st.LocalSide || st.NetworkGame || st.FogOfWar == 0 || h.ReconLevel >= 1;
}

} // namespace

StackPlace TopVisibleCorps(const State& st, int side, int x, int y) {
    StackPlace top{0, kStackHidden};
    if (!IsSide(side)) return {};
    for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c) {
        const THad& h = st.CorpsRec(side, c);
        if (StandsOn(h, x, y) && MayBeSeen(st, side, h) && h.StackOrder < top.stackOrder) top = {c, h.StackOrder};
    }
    return top.corps ? top : StackPlace{};
}

StackPlace BottomCorps(const State& st, int side, int x, int y) {
    StackPlace bottom;
    if (!IsSide(side)) return bottom;
    for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c) {
        const THad& h = st.CorpsRec(side, c);
        if (StandsOn(h, x, y) && h.StackOrder > bottom.stackOrder) bottom = {c, h.StackOrder};
    }
    return bottom;
}

void RefreshHexStack(Game& game, int side, int c, int x, int y) {
    State& st = game.state;
    if (!IsSide(side)) return;
    int top = 0;
    // Both machines of a network game must agree on the top, so there the fog does not choose it.
    if (IsCorps(st, side, c) && st.CorpsRec(side, c).UnitCount > 0 && MayBeSeen(st, side, st.CorpsRec(side, c)))
        top = c;
    if (top == 0) top = TopVisibleCorps(st, side, x, y).corps;
    if (top == 0 || st.CorpsRec(side, top).UnitCount <= 0) return;

    bool anySeen = false;
    for (int k = 1; k <= st.CorpsCount[side] && k <= kMaxCorps; ++k) {
        THad& h = st.CorpsRec(side, k);
        if (!StandsOn(h, x, y)) continue;
        if (k == top) h.StackOrder = kStackTop;
        else if (h.StackOrder < kStackFloor) h.StackOrder = std::min(h.StackOrder + 2, kStackFloor);
        anySeen = anySeen || h.ReconLevel >= 1;
    }
    for (int k = 1; k <= st.CorpsCount[side] && k <= kMaxCorps; ++k) {
        THad& h = st.CorpsRec(side, k);
        if (!StandsOn(h, x, y)) continue;
        if (anySeen && h.ReconLevel == 0) h.ReconLevel = 1;  // one corps seen, the stack is seen
        if (h.MarkerId != 0) game.screen.RefreshCorpsMarker(side, k);
    }
}

void SelectAtHex(Game& game, int x, int y) {
    State& st = game.state;
    if (!State::InHexArray(x, y) || !IsSide(st.ActiveSide)) return;
    const int a = st.ActiveSide;
    const int e = 3 - a;
    THex& hex = st.Cell(x, y);
    hex.AiSupplyMark = MaxSupply(game, Hex{x, y}, a, false, true);

    const int cityIndex = CityAt(st, x, y);
    bool enemyFort = cityIndex != 0 && CityRec(st, cityIndex).Kind == 3 && CityRec(st, cityIndex).Owner == e;
    if (st.SelectedCorpsSide == e && st.SelectedCorps > 0 && IsCorps(st, e, st.SelectedCorps) &&
        st.CorpsRec(e, st.SelectedCorps).Garrison == 1)
        enemyFort = false;
    const bool again = st.SelectedHexX == x && st.SelectedHexY == y && hex.CorpsCount > 1;

    if (hex.CorpsCount == 0) {
        st.SelectedCorps = 0;
        st.SelectedCorpsSide = a;
        st.SelectedHexX = x;
        st.SelectedHexY = y;
        return;
    }

    int top = TopVisibleCorps(st, a, x, y).corps;
    bool switchSides = top == 0;
    if (st.SelectedCorps > 0 && again && hex.CorpsCount == 2 && st.SelectedCorps == top) {
        bool enemyField = false;
        for (int c = 1; c <= st.CorpsCount[e] && c <= kMaxCorps; ++c)
            if (StandsOn(st.CorpsRec(e, c), x, y) && st.CorpsRec(e, c).Garrison != 1) enemyField = true;
        if ((st.CorpsRec(a, top).Garrison == 1 && enemyField) || enemyFort) switchSides = true;
    }
    int s = a;
    if (switchSides) {
        s = e;
        top = TopVisibleCorps(st, e, x, y).corps;
    }

    if (st.SelectedCorps > 0 && again) {
        const int selSide = st.SelectedCorpsSide;
        const bool skip = selSide != s && (selSide == e || (switchSides && hex.CorpsCount == 2));
        if (IsCorps(st, selSide, st.SelectedCorps)) {
            if (!skip) st.CorpsRec(selSide, st.SelectedCorps).StackOrder = BottomCorps(st, s, x, y).stackOrder + 1;
            game.screen.RefreshCorpsMarker(selSide, st.SelectedCorps);
        }
        top = TopVisibleCorps(st, s, x, y).corps;
    }

    RefreshHexStack(game, s, top, x, y);
    st.SelectedCorps = top;
    st.SelectedCorpsSide = s;
    st.SelectedHexX = x;
    st.SelectedHexY = y;
    if (s == st.LocalSide && top > 0 && !st.NetworkGame) RecomputeCorps(game, s, top);
}

} // namespace vezer
