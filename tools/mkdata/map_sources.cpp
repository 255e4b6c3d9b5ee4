#include "map_sources.h"

#include "core/text.h"
#include "core/geometry.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace mkdata::mapsrc {

// ---- geometry --------------------------------------------------------------------------------

std::string HexText(Hex h) { return std::to_string(h.x) + "," + std::to_string(h.y); }

bool OnMap(Hex h) { return h.x >= 0 && h.x <= kMaxCol && h.y >= 0 && h.y <= kMaxRow; }

Hex Neighbour(Hex h, int direction) {
    vezer::Hex n = vezer::Neighbour({h.x, h.y}, direction);
    return {n.x, n.y};
}

int DirectionTo(Hex from, Hex to) { return vezer::DirectionTo({from.x, from.y}, {to.x, to.y}); }

Pixel HexCentre(Hex h) { return {63.0 * h.x + 42, 72.0 * h.y + 36 + (h.x % 2 != 0 ? 36 : 0)}; }

Pixel Projection::ToPixel(double lon, double lat) const {
    double y = lat <= lat0 ? y0 + pxPerLatSouth * (lat0 - lat) : y0 - pxPerLatNorth * (lat - lat0);
    return {x0 + pxPerLon * (lon - lon0), y};
}

Hex Projection::HexOf(double lon, double lat) const {
    Pixel p = ToPixel(lon, lat);
    Hex best;
    double bestDistance = 1e300;
    int column = static_cast<int>(std::lround((p.x - 42) / 63));
    int row = static_cast<int>(std::floor(p.y / 72));
    for (int x = column - 1; x <= column + 1; ++x)
        for (int y = row - 2; y <= row + 2; ++y) {
            Pixel c = HexCentre({x, y});
            double d = (c.x - p.x) * (c.x - p.x) + (c.y - p.y) * (c.y - p.y);
            if (d < bestDistance) {
                bestDistance = d;
                best = {x, y};
            }
        }
    return best;
}

namespace {

// ---- source lines ----------------------------------------------------------------------------

struct Line {
    int number = 0;
    std::string text;  // comment removed
};

std::vector<Line> ReadSourceLines(const std::filesystem::path& file, char comment) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw SourceError(file, 0, "cannot open");
    std::vector<Line> lines;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (auto c = text.find(comment); c != std::string::npos) text.erase(c);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
        if (text.find_first_not_of(" \t") == std::string::npos) continue;
        lines.push_back({number, text});
    }
    return lines;
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

int ParseInt(const std::string& text, const std::filesystem::path& file, int line, const std::string& what) {
    try {
        std::size_t used = 0;
        int v = std::stoi(text, &used);
        if (used == text.size()) return v;
    } catch (const std::exception&) {
    }
    throw SourceError(file, line, what + " is not a whole number: '" + text + "'");
}

double ParseDouble(const std::string& text, const std::filesystem::path& file, int line, const std::string& what) {
    try {
        std::size_t used = 0;
        double v = std::stod(text, &used);
        if (used == text.size()) return v;
    } catch (const std::exception&) {
    }
    throw SourceError(file, line, what + " is not a number: '" + text + "'");
}

Hex ParseHex(const std::string& text, const std::filesystem::path& file, int line) {
    auto comma = text.find(',');
    if (comma == std::string::npos) throw SourceError(file, line, "'" + text + "' is not a hex 'column,row'");
    Hex h{ParseInt(text.substr(0, comma), file, line, "column"),
          ParseInt(text.substr(comma + 1), file, line, "row")};
    if (!OnMap(h)) throw SourceError(file, line, "hex " + text + " is off the map (columns 0..62, rows 0..35)");
    return h;
}

// ---- projection.txt --------------------------------------------------------------------------

Projection ReadProjection(const std::filesystem::path& file) {
    KeyValues kv = ReadKeyValues(file);
    auto number = [&](const std::string& key) {
        return ParseDouble(kv.Get(key), file, kv.values.at(key).second, key);
    };
    return {number("lon0"),   number("lat0"),       number("x0"), number("y0"), number("px_per_lon"),
            number("px_per_lat_south"), number("px_per_lat_north")};
}

// ---- terrain.txt -----------------------------------------------------------------------------

Terrain ReadTerrain(const std::filesystem::path& file) {
    Terrain terrain;
    std::map<char, int> legend;
    bool inGrid = false;
    int row = 0;
    for (const Line& l : ReadSourceLines(file, ';')) {
        if (!inGrid) {
            std::vector<std::string> w = Words(l.text);
            if (w[0] == "grid" && w.size() == 1) {
                if (legend.empty()) throw SourceError(file, l.number, "the legend must come before the grid");
                inGrid = true;
            } else if (w[0] == "legend" && w.size() >= 3 && w[1].size() == 1) {
                int code = ParseInt(w[2], file, l.number, "terrain code");
                if (code < 0 || code > 4) throw SourceError(file, l.number, "terrain codes are 0..4");
                if (w[1][0] == '|' || !legend.emplace(w[1][0], code).second)
                    throw SourceError(file, l.number, "character '" + w[1] + "' cannot stand in the legend");
            } else {
                throw SourceError(file, l.number, "expected 'legend CHARACTER CODE' or 'grid'");
            }
            continue;
        }
        auto bar = l.text.find('|');
        auto last = l.text.rfind('|');
        if (bar == std::string::npos || last == bar)
            throw SourceError(file, l.number, "a grid row is 'ROW |63 characters|'");
        int number = ParseInt(Words(l.text.substr(0, bar)).empty() ? "" : Words(l.text.substr(0, bar))[0], file,
                              l.number, "row number");
        if (number != row) throw SourceError(file, l.number, "expected row " + std::to_string(row));
        if (row > kMaxRow) throw SourceError(file, l.number, "the map has 36 rows");
        std::string cells = l.text.substr(bar + 1, last - bar - 1);
        if (cells.size() != kMaxCol + 1)
            throw SourceError(file, l.number, "row " + std::to_string(row) + " has " + std::to_string(cells.size()) +
                                                  " hexes, not 63");
        for (int x = 0; x <= kMaxCol; ++x) {
            auto it = legend.find(cells[x]);
            if (it == legend.end())
                throw SourceError(file, l.number,
                                  "column " + std::to_string(x) + ": '" + cells[x] + "' is not in the legend");
            terrain.code[row][x] = it->second;
        }
        terrain.line[row] = l.number;
        ++row;
    }
    if (row != kMaxRow + 1) throw SourceError(file, 0, "the grid has " + std::to_string(row) + " rows, not 36");
    return terrain;
}

// ---- rivers.txt ------------------------------------------------------------------------------

// Two sides of a river chain follow each other when they meet at a corner: they share one hex,
// and their other two hexes are neighbours.
bool SidesMeet(const RiverSide& s, const RiverSide& t) {
    if ((s.a == t.a && s.b == t.b) || (s.a == t.b && s.b == t.a)) return false;
    for (Hex common : {s.a, s.b}) {
        if (!(common == t.a || common == t.b)) continue;
        Hex first = common == s.a ? s.b : s.a;
        Hex second = common == t.a ? t.b : t.a;
        return DirectionTo(first, second) != 9;
    }
    return false;
}

std::vector<RiverSide> ReadRivers(const std::filesystem::path& file) {
    std::vector<RiverSide> sides;
    std::map<std::pair<Hex, Hex>, int> seen;  // side -> line
    std::string river;
    int value = 0;
    bool chainStarted = false;
    for (const Line& l : ReadSourceLines(file, ';')) {
        std::vector<std::string> w = Words(l.text);
        if (w[0] == "river") {
            if (w.size() != 3) throw SourceError(file, l.number, "expected 'river NAME VALUE'");
            river = w[1];
            value = ParseInt(w[2], file, l.number, "river value");
            chainStarted = false;
            if (value < 1 || value > 3) throw SourceError(file, l.number, "river values are 1..3");
            continue;
        }
        if (river.empty()) throw SourceError(file, l.number, "sides before the first 'river' line");
        for (const std::string& token : w) {
            if (token == "break") {
                chainStarted = false;
                continue;
            }
            std::string sideText = token;
            int sideValue = value;
            if (auto eq = token.find('='); eq != std::string::npos) {
                sideText = token.substr(0, eq);
                sideValue = ParseInt(token.substr(eq + 1), file, l.number, "side value");
                if (sideValue < 1 || sideValue > 3) throw SourceError(file, l.number, "river values are 1..3");
            }
            auto slash = sideText.find('/');
            if (slash == std::string::npos)
                throw SourceError(file, l.number, "'" + token + "' is not a side 'column,row/column,row'");
            RiverSide side{ParseHex(sideText.substr(0, slash), file, l.number),
                           ParseHex(sideText.substr(slash + 1), file, l.number), sideValue, river, l.number};
            if (DirectionTo(side.a, side.b) == 9)
                throw SourceError(file, l.number, river + ": " + sideText + " joins hexes that are not adjacent");
            if (sideValue == 2 && river != "Duna")
                throw SourceError(file, l.number, river + ": value 2 belongs to the Danube alone");
            if (chainStarted && !SidesMeet(sides.back(), side))
                throw SourceError(file, l.number,
                                  river + ": " + sideText + " does not meet the side before it at a corner");
            auto key = side.a < side.b ? std::make_pair(side.a, side.b) : std::make_pair(side.b, side.a);
            if (auto [it, fresh] = seen.emplace(key, l.number); !fresh)
                throw SourceError(file, l.number,
                                  sideText + " already carries a river (line " + std::to_string(it->second) + ")");
            sides.push_back(side);
            chainStarted = true;
        }
    }
    return sides;
}

// ---- roads.txt -------------------------------------------------------------------------------

std::vector<RoadChain> ReadRoads(const std::filesystem::path& file) {
    std::vector<RoadChain> chains;
    for (const Line& l : ReadSourceLines(file, ';')) {
        std::vector<std::string> w = Words(l.text);
        if (w[0] == "road" || w[0] == "rail") {
            if (!chains.empty() && chains.back().hexes.size() < 2)
                throw SourceError(file, chains.back().line, chains.back().name + " needs at least two hexes");
            if (w.size() < 2) throw SourceError(file, l.number, "a road needs a name");
            std::string name = l.text.substr(l.text.find(w[1]));
            chains.push_back({w[0] == "rail", name, l.number, {}});
            continue;
        }
        if (chains.empty()) throw SourceError(file, l.number, "hexes before the first 'road' or 'rail' line");
        RoadChain& chain = chains.back();
        for (const std::string& token : w) {
            Hex h = ParseHex(token, file, l.number);
            if (!chain.hexes.empty() && DirectionTo(chain.hexes.back().hex, h) == 9)
                throw SourceError(file, l.number,
                                  chain.name + ": " + token + " is not adjacent to " +
                                      HexText(chain.hexes.back().hex));
            chain.hexes.push_back({h, l.number});
        }
    }
    if (!chains.empty() && chains.back().hexes.size() < 2)
        throw SourceError(file, chains.back().line, chains.back().name + " needs at least two hexes");
    return chains;
}

// ---- cities.tsv ------------------------------------------------------------------------------

const std::vector<std::string> kCityColumns = {"n",     "name", "german", "lat",  "lon",    "x",     "y",
                                               "mark",  "kind", "nat",    "vv",   "imp1",   "imp2",  "sup1",
                                               "sup2",  "owners", "fort", "men",  "guns",   "staging", "note"};

std::vector<std::string> SplitTabs(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        auto tab = text.find('\t', start);
        fields.push_back(text.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

std::vector<CitySource> ReadCities(const std::filesystem::path& file) {
    std::vector<CitySource> cities;
    bool header = false;
    for (const Line& l : ReadSourceLines(file, '#')) {
        std::vector<std::string> f = SplitTabs(l.text);
        if (!header) {
            if (f != kCityColumns) throw SourceError(file, l.number, "the first line names the columns: n name german ...");
            header = true;
            continue;
        }
        if (f.size() != kCityColumns.size())
            throw SourceError(file, l.number, "expected " + std::to_string(kCityColumns.size()) + " fields, found " +
                                                  std::to_string(f.size()));
        auto num = [&](int i) { return ParseInt(f[i], file, l.number, kCityColumns[i]); };
        CitySource c;
        c.line = l.number;
        c.number = num(0);
        c.name = f[1];
        c.german = f[2];
        c.lat = ParseDouble(f[3], file, l.number, "lat");
        c.lon = ParseDouble(f[4], file, l.number, "lon");
        c.hex = {num(5), num(6)};
        if (f[7].size() != 1) throw SourceError(file, l.number, "mark is one character");
        c.mark = f[7][0];
        c.kind = num(8);
        c.nation = num(9);
        c.victoryValue = num(10);
        c.importance1 = num(11);
        c.importance2 = num(12);
        c.supply1 = num(13);
        c.supply2 = num(14);
        if (f[15].size() != kCampaigns || f[15].find_first_not_of("12") != std::string::npos)
            throw SourceError(file, l.number, "owners are seven digits 1 or 2, for campaigns 0..6");
        for (int k = 0; k < kCampaigns; ++k) c.owner[k] = f[15][k] - '0';
        c.fortMax = num(16);
        c.garrisonCapacity = num(17);
        c.garrisonGunCapacity = num(18);
        c.stagingLink = num(19);
        if (c.number != static_cast<int>(cities.size()) + 1)
            throw SourceError(file, l.number, "expected city " + std::to_string(cities.size() + 1));
        if (c.name.empty() || vezer::CharCount(c.name) > 20)
            throw SourceError(file, l.number, "a city name has 1..20 characters: '" + c.name + "'");
        if (!vezer::FitsCp1250(c.name))
            throw SourceError(file, l.number, "'" + c.name + "' has a letter Windows-1250 cannot hold");
        cities.push_back(c);
    }
    if (cities.size() != kCities)
        throw SourceError(file, 0, "the map has exactly 75 cities, not " + std::to_string(cities.size()));
    return cities;
}

// ---- campaigns.txt ---------------------------------------------------------------------------

const std::set<std::string> kCampaignFields = {"vv",           "imp1",          "imp2",   "sup1",
                                               "sup2",         "fortstrength",  "garrisoncorps", "capture"};

std::vector<MapSources::Change> ReadCampaigns(const std::filesystem::path& file) {
    std::vector<MapSources::Change> changes;
    for (const Line& l : ReadSourceLines(file, ';')) {
        std::vector<std::string> w = Words(l.text);
        MapSources::Change change;
        change.line = l.number;
        change.campaign = ParseInt(w[0], file, l.number, "campaign");
        if (change.campaign < 0 || change.campaign >= kCampaigns) throw SourceError(file, l.number, "campaigns are 0..6");
        if (w.size() == 4 && w[1] == "scale") {
            change.field = "scale";
            change.cities = {ParseInt(w[2], file, l.number, "side")};
            change.value = ParseInt(w[3], file, l.number, "percent");
            if (change.cities[0] != 1 && change.cities[0] != 2) throw SourceError(file, l.number, "sides are 1 and 2");
            if (change.value < 1 || change.value > 1000) throw SourceError(file, l.number, "percent must be 1..1000");
        } else if (w.size() >= 2 && w[1] == "theatre") {
            change.field = "theatre";
            for (std::size_t i = 2; i < w.size(); ++i) {
                int city = ParseInt(w[i], file, l.number, "city");
                if (city < 1 || city > kCities) throw SourceError(file, l.number, "cities are 1..75");
                change.cities.push_back(city);
            }
            if (change.cities.empty()) throw SourceError(file, l.number, "a theatre needs its cities");
        } else {
            if (w.size() != 4) throw SourceError(file, l.number, "expected 'CAMPAIGN CITY FIELD VALUE'");
            int city = ParseInt(w[1], file, l.number, "city");
            if (city < 1 || city > kCities) throw SourceError(file, l.number, "cities are 1..75");
            change.cities = {city};
            change.field = w[2];
            if (!kCampaignFields.count(change.field))
                throw SourceError(file, l.number, "unknown field '" + change.field + "'");
            change.value = ParseInt(w[3], file, l.number, "value");
        }
        changes.push_back(change);
    }
    return changes;
}

} // namespace

MapSources ReadMapSources(const std::filesystem::path& folder) {
    MapSources src;
    src.terrainFile = folder / "terrain.txt";
    src.riversFile = folder / "rivers.txt";
    src.roadsFile = folder / "roads.txt";
    src.citiesFile = folder / "cities.tsv";
    src.campaignsFile = folder / "campaigns.txt";
    src.projection = ReadProjection(folder / "projection.txt");
    src.terrain = ReadTerrain(src.terrainFile);
    src.rivers = ReadRivers(src.riversFile);
    src.roads = ReadRoads(src.roadsFile);
    src.cities = ReadCities(src.citiesFile);
    src.changes = ReadCampaigns(src.campaignsFile);
    return src;
}

std::array<CityFile, kCampaigns> BuildCityFiles(const MapSources& src) {
    std::array<CityFile, kCampaigns> files{};
    for (int campaign = 0; campaign < kCampaigns; ++campaign) {
        for (int i = 0; i < kCities; ++i) {
            const CitySource& c = src.cities[i];
            CityRecord& r = files[campaign].cities[i];
            r.x = c.hex.x;
            r.y = c.hex.y;
            r.kind = c.kind;
            r.supply1 = c.supply1;
            r.supply2 = c.supply2;
            r.owner = c.owner[campaign];
            r.garrisonCapacity = c.garrisonCapacity;
            r.garrisonGunCapacity = c.garrisonGunCapacity;
            r.fortMax = c.fortMax;
            r.fortStrength = c.fortMax;
            r.homeSide = c.nation == 1 ? 1 : 2;
            r.nation = c.nation;
            // A town of a people that stood by the emperor flies that people's flag while he holds it.
            bool ownFlag = r.owner == 2 && (c.nation == 4 || c.nation == 5 || c.nation == 6 || c.nation == 8);
            r.flagClass = ownFlag ? c.nation : r.owner;
            r.victoryValue = c.victoryValue;
            r.importance1 = c.importance1;
            r.importance2 = c.importance2;
            r.captureCounter = 1;
            r.stagingLink = c.stagingLink;
        }
        for (const MapSources::Change& change : src.changes) {
            if (change.campaign != campaign) continue;
            if (change.field == "theatre") {
                for (int i = 0; i < kCities; ++i) {
                    if (std::find(change.cities.begin(), change.cities.end(), i + 1) != change.cities.end()) continue;
                    CityRecord& r = files[campaign].cities[i];
                    r.victoryValue = r.importance1 = r.importance2 = 0;
                }
                continue;
            }
            if (change.field == "scale") {
                // Rounded to tens; a town that was worth something stays worth something.
                for (CityRecord& r : files[campaign].cities)
                    if (r.owner == change.cities[0] && r.victoryValue > 0)
                        r.victoryValue = std::max(10, (r.victoryValue * change.value + 500) / 1000 * 10);
                continue;
            }
            CityRecord& r = files[campaign].cities[change.cities[0] - 1];
            std::map<std::string, int*> field = {{"vv", &r.victoryValue},        {"imp1", &r.importance1},
                                                 {"imp2", &r.importance2},       {"sup1", &r.supply1},
                                                 {"sup2", &r.supply2},           {"fortstrength", &r.fortStrength},
                                                 {"garrisoncorps", &r.garrisonCorps}, {"capture", &r.captureCounter}};
            *field.at(change.field) = change.value;
        }
    }
    return files;
}

} // namespace mkdata::mapsrc
