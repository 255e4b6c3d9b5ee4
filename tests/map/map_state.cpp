#include "map/map_state.h"

#include "map/queries.h"

#include <algorithm>

namespace vezer::testing {

void MakePlainMap(State& st) {
    st.MapMaxX = 62;
    st.MapMaxY = 35;
    for (int y = -1; y <= 36; ++y)
        for (int x = -1; x <= 63; ++x) {
            const bool ring = x < 0 || y < 0 || x > 62 || y > 35;
            st.Cell(x, y).Terrain = ring ? kTerrainImpassable : 0;
        }
    st.TerrainCostBase = kTerrainCostBase;
    st.GroundState = 1;
    st.RiverState = 1;
    st.DanubeState = 1;
    RecomputeMoveCosts(st);
    st.ActiveSide = 1;
    st.OtherSide = 2;
    st.SelectedCorpsSide = 1;
}

THad& PlaceCorps(State& st, int side, int index, Hex hex) {
    THad& c = st.Corps[static_cast<std::size_t>(side)][static_cast<std::size_t>(index)];
    c.X = hex.x;
    c.Y = hex.y;
    st.CorpsCount[static_cast<std::size_t>(side)] =
        std::max(st.CorpsCount[static_cast<std::size_t>(side)], index);
    st.Cell(hex.x, hex.y).CorpsCount += 1;
    return c;
}

namespace {
void SetSide(State& st, Hex a, int d, int value, bool river) {
    const Hex b = Neighbour(a, d);
    (river ? st.Cell(a.x, a.y).River : st.Cell(a.x, a.y).Road)[static_cast<std::size_t>(d)] = value;
    (river ? st.Cell(b.x, b.y).River : st.Cell(b.x, b.y).Road)[static_cast<std::size_t>(Opposite(d))] = value;
}
} // namespace

void SetRiver(State& st, Hex a, int d, int value) {
    SetSide(st, a, d, value, true);
}
void SetRoad(State& st, Hex a, int d, int value) {
    SetSide(st, a, d, value, false);
}

} // namespace vezer::testing
