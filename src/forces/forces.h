#pragma once
// Small helpers shared by the corps, general and reconnaissance rules: index checks, the
// nation classes, and who stands on a hex.

#include "core/state.h"

namespace vezer {

inline bool IsSide(int side) { return side == 1 || side == 2; }

inline bool IsCorps(const State& st, int side, int c) {
    return IsSide(side) && c >= 1 && c <= st.CorpsCount[side] && c <= kMaxCorps;
}
inline bool IsRegiment(const State& st, int side, int r) {
    return IsSide(side) && r >= 1 && r <= st.RegimentCount[side] && r <= kMaxRegiments;
}
inline bool IsGeneral(const State& st, int side, int g) {
    return IsSide(side) && g >= 1 && g <= st.GeneralCount[side] && g <= kMaxGenerals;
}
inline bool IsType(int type) { return type >= 1 && type <= kMaxTypes; }
inline bool IsCity(int city) { return city >= 1 && city <= kMaxCities; }

// The flag class of a nation 1..11; 0 for nation 0 and for anything outside the table.
inline int NationFlagOf(int nation) {
    return nation >= 0 && nation <= kNationCount ? kNationFlag[static_cast<std::size_t>(nation)] : 0;
}
// The class whose names and portraits a nation's generals take: a nation outside the flag
// classes 1..3 (nation 0, the Slovaks, the Italians) borrows its side's own class.
inline int NameClassFor(int side, int nationClass) {
    return nationClass >= 1 && nationClass <= 3 ? nationClass : (side == 2 ? 2 : 1);
}

// The type record of a regiment; an out-of-range type reads as the empty record 0.
inline const TEzredAlap& TypeOf(const State& st, const TEzred& e) {
    return st.Types[static_cast<std::size_t>(IsType(e.Type) ? e.Type : 0)];
}

inline bool StandsOn(const THad& h, int x, int y) { return h.X == x && h.Y == y; }

// The city standing on a hex, 0 for none.
inline int CityAt(const State& st, int x, int y) {
    int c = st.Cell(x, y).City;
    return IsCity(c) ? c : 0;
}
inline const TVaros& CityRec(const State& st, int city) { return st.Cities[static_cast<std::size_t>(IsCity(city) ? city : 0)]; }
inline TVaros& CityRec(State& st, int city) { return st.Cities[static_cast<std::size_t>(IsCity(city) ? city : 0)]; }

// The first corps of `side` on the hex (index order), 0 for none; `skipGarrisons` passes over
// garrison corps, `except` over one corps.
int FirstCorpsAt(const State& st, int side, int x, int y, bool skipGarrisons = false, int except = 0);

// A regiment's slot in the list of its corps, 0 when it is not listed.
int SlotOf(const State& st, int side, int corps, int r);

} // namespace vezer
