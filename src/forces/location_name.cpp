#include "forces/location_name.h"

#include "forces/forces.h"
#include "map/queries.h"

namespace vezer {

namespace {

// Cuts to `n` characters of UTF-8, never inside a character.
std::string CutCharacters(const std::string& s, std::size_t n) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) continue;
        if (chars++ == n) return s.substr(0, i);
    }
    return s;
}

} // namespace

std::string CorpsLocationName(const State& st, int side, int corps, int language, const std::string& near) {
    if (!IsCorps(st, side, corps)) return {};
    const THad& h = st.CorpsRec(side, corps);
    const Hex at{h.X, h.Y};
    int best = 0, bestDistance = 0;
    for (int c = 1; c <= kCityCount; ++c) {
        const TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        if (city.X == at.x && city.Y == at.y) return CutCharacters(city.Name.str(), 120);
        const int d = Distance(st, at, {city.X, city.Y});
        if (best == 0 || d < bestDistance) best = c, bestDistance = d;
    }
    if (best == 0) return {};
    const std::string name = st.Cities[static_cast<std::size_t>(best)].Name.str();
    return CutCharacters(language == 1 ? name + " környéke" : near + " " + name, 120);
}

} // namespace vezer
