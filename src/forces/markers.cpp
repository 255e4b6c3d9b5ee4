#include "forces/markers.h"

#include "core/geometry.h"
#include "forces/forces.h"

#include <array>

namespace vezer {

bool CorpsMarkerShown(const State& st, int side, const THad& corps) {
    if (corps.Garrison != 0 || corps.UnitCount <= 0) return false;
    if (corps.StackOrder != 1) return false;
    if (!OnMap(st, {corps.X, corps.Y})) return false;
    return side == st.LocalSide || st.FogOfWar == 0 || st.NetworkGame != 0 || corps.ReconLevel >= 1;
}

namespace {

int FreeMarkerSlot(const State& st) {
    std::array<bool, kMarkerSlots + 1> used{};
    for (int side = 1; side <= 2; ++side)
        for (int c = 1; c <= st.CorpsCount[side] && c <= kMaxCorps; ++c) {
            int id = st.CorpsRec(side, c).MarkerId;
            if (id >= 1 && id <= kMarkerSlots) used[static_cast<std::size_t>(id)] = true;
        }
    for (int slot = kFirstCorpsMarkerSlot; slot <= kMarkerSlots; ++slot)
        if (!used[static_cast<std::size_t>(slot)]) return slot;
    return 0;
}

} // namespace

int MarkerArmOf(const THad& h) {
    // In the order the symbols are ranked; the first of equals wins.
    const int men[] = {h.Type6Men, h.InfantryMen - h.Type6Men, h.CavalryMen, h.Guns * 150};
    const int arms[] = {kMarkerArmLevy, kMarkerArmInfantry, kMarkerArmCavalry, kMarkerArmArtillery};
    int best = 0;
    for (int i = 1; i < 4; ++i)
        if (men[i] > men[best]) best = i;
    return arms[best];
}

void UpdateCorpsMarker(Game& game, int side, int corps) {
    State& st = game.state;
    if (!IsCorps(st, side, corps)) return;
    THad& h = st.CorpsRec(side, corps);
    h.MarkerArm = MarkerArmOf(h);
    h.MarkerState = 0;
    if (h.MarkerId == 0) {
        h.MarkerId = FreeMarkerSlot(st);
        if (h.MarkerId != 0) ++st.MarkerCount;
    }
    game.screen.RefreshCorpsMarker(side, corps);
}

void DeleteCorpsMarker(Game& game, int side, int corps) {
    State& st = game.state;
    if (!IsCorps(st, side, corps)) return;
    THad& h = st.CorpsRec(side, corps);
    if (h.MarkerId == 0) return;
    game.screen.RemoveCorpsMarker(h.MarkerId);
    h.MarkerId = 0;
    if (st.MarkerCount > 0) --st.MarkerCount;
}

void ResetCorpsMarkers(State& st) {
    for (int side = 1; side <= 2; ++side)
        for (auto& h : st.Corps[side]) h.MarkerId = 0;
    st.MarkerCount = 0;
}

void SetEntrenchment(Game& game, int x, int y, int level, int side) {
    State& st = game.state;
    if (!State::InHexArray(x, y)) return;
    THex& hex = st.Cell(x, y);
    if (level < 0) level = 0;
    bool had = hex.Entrenchment > 0;
    hex.Entrenchment = level;
    hex.EntrenchmentSide = level > 0 ? side : 0;
    if (!had && level > 0) ++st.EntrenchmentMarkCount;
    if (had && level == 0 && st.EntrenchmentMarkCount > 0) --st.EntrenchmentMarkCount;
    game.screen.RefreshEntrenchmentMark(x, y);
}

int CountEntrenchmentMarks(const State& st) {
    int n = 0;
    for (int y = 0; y <= st.MapMaxY && y <= kHexMax; ++y)
        for (int x = 0; x <= st.MapMaxX && x <= kHexMax; ++x) n += st.Cell(x, y).Entrenchment > 0;
    return n;
}

int FortressDamageOf(const TVaros& v) {
    if (v.Kind != 3 || v.FortStrength >= v.FortMax) return 0;
    return v.FortStrength <= v.FortMax / 3 ? 2 : 1;
}

void RefreshFortressDamage(Game& game, int city) {
    if (!IsCity(city)) return;
    State& st = game.state;
    st.FortressDamage[static_cast<std::size_t>(city)] = FortressDamageOf(CityRec(st, city));
    game.screen.RefreshFortressOverlay(city);
}

} // namespace vezer
