#include "forces/stacks.h"

#include "forces/forces.h"

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

} // namespace vezer
