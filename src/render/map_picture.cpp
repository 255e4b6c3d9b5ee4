#include "render/map_picture.h"

#include "core/geometry.h"
#include "render/font.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace vezer::render {

namespace {

// --- Palette: an old atlas, printed on cream paper ---------------------------------------

constexpr Rgba kPaper{240, 233, 212};
constexpr Rgba kInk{38, 32, 26};
constexpr Rgba kHalo{250, 246, 232, 235};
constexpr std::array<Rgba, 5> kTerrainColour = {{
    {228, 228, 184}, // plain
    {166, 194, 132}, // forest
    {190, 212, 190}, // marsh
    {214, 192, 150}, // mountains
    {198, 192, 200}, // impassable
}};
constexpr Rgba kTree{84, 124, 66};
constexpr Rgba kMarshReed{86, 128, 112};
constexpr Rgba kMarshWater{112, 152, 176};
constexpr Rgba kRidge{128, 94, 62};
constexpr Rgba kHatch{150, 142, 158};
constexpr Rgba kGrid{70, 58, 44, 40};
constexpr Rgba kFrame{70, 58, 44};
constexpr Rgba kRiver{64, 116, 186};
constexpr Rgba kDanube{40, 88, 170};
constexpr Rgba kRiverBank{160, 196, 228, 150};
constexpr Rgba kRoadCasing{118, 72, 42};
constexpr Rgba kRoadFill{238, 204, 134};
constexpr Rgba kRailCasing{30, 28, 28};
constexpr Rgba kRailDash{250, 250, 250};
constexpr Rgba kHungarian{196, 34, 44};
constexpr Rgba kImperial{240, 196, 36};
constexpr Rgba kNeutral{160, 160, 160};

// --- Hex geometry on the picture ---------------------------------------------------------

// Corners of a hex relative to its centre, clockwise from the north-west end of the top side;
// side d runs from corner d to corner d + 1.
constexpr std::array<PointF, 6> kCorner = {{{-21, -36}, {21, -36}, {42, 0}, {21, 36}, {-21, 36}, {-42, 0}}};

// Outward normals of the six sides and their distance from the centre.
struct SideLine {
    double nx, ny, offset;
};
std::array<SideLine, 6> SideLines() {
    std::array<SideLine, 6> l{};
    for (int d = 0; d < 6; ++d) {
        const PointF a = kCorner[static_cast<std::size_t>(d)],
                     b = kCorner[static_cast<std::size_t>((d + 1) % 6)];
        double nx = b.y - a.y, ny = -(b.x - a.x);
        const double len = std::hypot(nx, ny);
        nx /= len, ny /= len;
        l[static_cast<std::size_t>(d)] = {nx, ny, nx * a.x + ny * a.y};
    }
    return l;
}

PointF Centre(Hex h) {
    const Pixel p = HexToPixel(h);
    return {double(p.X), double(p.Y)};
}

PointF CornerOf(Hex h, int corner) {
    const PointF c = Centre(h);
    const PointF k = kCorner[static_cast<std::size_t>(corner % 6)];
    return {c.x + k.x, c.y + k.y};
}

PointF SideMiddle(Hex h, int d) {
    const PointF a = CornerOf(h, d), b = CornerOf(h, d + 1);
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

// The hex under a pixel, by the same drawing the click mask uses: the hexagon of the block's
// even column, and its four diagonal neighbours at the block's edges.
Hex HexAtPixel(int X, int Y) {
    const Hex base{2 * (X / kMaskWidth), Y / kMaskHeight};
    const int mx = X % kMaskWidth, my = Y % kMaskHeight;
    const int ax = std::abs(2 * mx + 1 - 84), ay = std::abs(2 * my + 1 - 72); // doubled offsets from (42, 36)
    if (ax * 36 <= 84 * 36 - ay * 21) return base;
    if (mx < 42) return Neighbour(base, my < 36 ? 5 : 4);
    return Neighbour(base, my < 36 ? 1 : 2);
}

// --- Deterministic texture noise ---------------------------------------------------------

std::uint32_t Hash(std::uint32_t a, std::uint32_t b, std::uint32_t c = 0) {
    std::uint64_t z = (std::uint64_t{a} << 42) ^ (std::uint64_t{b} << 21) ^ c;
    z += 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>(z ^ (z >> 31));
}

double Unit(std::uint32_t h) {
    return (h & 0xFFFFFF) / double(0x1000000);
}

// Smooth noise 0..1 with features about `scale` pixels wide.
double ValueNoise(double x, double y, double scale, std::uint32_t seed) {
    const double fx = x / scale, fy = y / scale;
    const auto ix = static_cast<std::uint32_t>(static_cast<std::int64_t>(std::floor(fx)) + 4096);
    const auto iy = static_cast<std::uint32_t>(static_cast<std::int64_t>(std::floor(fy)) + 4096);
    double tx = fx - std::floor(fx), ty = fy - std::floor(fy);
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const double a = Unit(Hash(ix, iy, seed)), b = Unit(Hash(ix + 1, iy, seed));
    const double c = Unit(Hash(ix, iy + 1, seed)), d = Unit(Hash(ix + 1, iy + 1, seed));
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

int TerrainOf(const State& st, Hex h) {
    if (!OnMap(st, h)) return -1;
    return std::clamp(st.Cell(h.x, h.y).Terrain, 0, 4);
}

// The ground colour of one pixel of a terrain, before the symbols.
Rgba GroundColour(int terrain, int X, int Y) {
    if (terrain < 0) return kPaper;
    Rgba c = kTerrainColour[static_cast<std::size_t>(terrain)];
    const double n = ValueNoise(X, Y, 46, 11) * 0.7 + ValueNoise(X, Y, 13, 12) * 0.3;
    c = Shade(c, 0.955 + 0.07 * n);
    if (terrain == kTerrainImpassable) {
        const double u = std::fmod(X + Y + 0.5, 11.0);
        const double coverage = std::clamp(1.6 - std::min(u, 11.0 - u), 0.0, 1.0);
        c = Mix(c, kHatch, 0.75 * coverage);
    }
    return c;
}

// --- The passes of the drawing -----------------------------------------------------------

void DrawGround(Image& img, const State& st) {
    constexpr double kBlend = 9.0; // neighbouring grounds fade into each other over this band
    const std::array<SideLine, 6> lines = SideLines();
    for (int Y = 0; Y < img.height(); ++Y) {
        for (int X = 0; X < img.width(); ++X) {
            const Hex h = HexAtPixel(X, Y);
            const int t = TerrainOf(st, h);
            Rgba c = GroundColour(t, X, Y);
            if (t >= 0) {
                const PointF centre = Centre(h);
                const double dx = X + 0.5 - centre.x, dy = Y + 0.5 - centre.y;
                int side = 0;
                double nearest = 1e9;
                for (int d = 0; d < 6; ++d) {
                    const SideLine& l = lines[static_cast<std::size_t>(d)];
                    const double dist = l.offset - (l.nx * dx + l.ny * dy);
                    if (dist < nearest) nearest = dist, side = d;
                }
                const int other = TerrainOf(st, Neighbour(h, side));
                if (nearest < kBlend && other >= 0 && other != t)
                    c = Mix(c, GroundColour(other, X, Y), 0.5 * (1 - std::max(nearest, 0.0) / kBlend));
            }
            img.Set(X, Y, c);
        }
    }
}

void DrawTree(Image& img, PointF p, double size) {
    img.FillCircle({p.x + 1.6, p.y + 1.8}, size, WithAlpha(Shade(kTree, 0.55), 0.35));
    img.FillCircle(p, size, kTree);
    img.FillCircle({p.x - size * 0.3, p.y - size * 0.35}, size * 0.45, Shade(kTree, 1.25));
}

void DrawRidge(Image& img, PointF p, double size) {
    const PointF left{p.x - size, p.y + size * 0.6}, top{p.x, p.y - size * 0.7},
        right{p.x + size, p.y + size * 0.6};
    img.FillPolygon({top, right, {p.x + size * 0.15, p.y + size * 0.6}}, WithAlpha(kRidge, 0.35));
    img.DrawPolyline({left, top, right}, 2.0, kRidge);
}

void DrawReeds(Image& img, PointF p) {
    img.DrawSegment({p.x - 9, p.y + 3}, {p.x + 9, p.y + 3}, 1.6, WithAlpha(kMarshWater, 0.9));
    img.DrawSegment({p.x - 5, p.y + 7}, {p.x + 5, p.y + 7}, 1.4, WithAlpha(kMarshWater, 0.7));
    for (double a : {-0.45, 0.0, 0.45})
        img.DrawSegment({p.x + a * 6, p.y + 2}, {p.x + a * 14, p.y - 7}, 1.3, kMarshReed);
}

// Symbols scattered over a hex, kept inside its hexagon, the same for every drawing.
std::vector<PointF> ScatterPoints(Hex h, int count, double radius, std::uint32_t seed) {
    std::vector<PointF> points;
    const PointF c = Centre(h);
    for (int k = 0; points.size() < static_cast<std::size_t>(count) && k < count * 6; ++k) {
        const auto hx = static_cast<std::uint32_t>(h.x + 8), hy = static_cast<std::uint32_t>(h.y + 8);
        const double px = (Unit(Hash(hx, hy, seed + 2 * static_cast<std::uint32_t>(k))) * 2 - 1) * radius;
        const double py =
            (Unit(Hash(hx, hy, seed + 2 * static_cast<std::uint32_t>(k) + 1)) * 2 - 1) * radius * 0.8;
        if (std::abs(px) > radius - std::abs(py) * 0.58) continue;
        bool crowded = false;
        for (const PointF& q : points) crowded |= std::hypot(q.x - c.x - px, q.y - c.y - py) < radius * 0.42;
        if (!crowded) points.push_back({c.x + px, c.y + py});
    }
    std::sort(points.begin(), points.end(), [](PointF a, PointF b) { return a.y < b.y; });
    return points;
}

void DrawTerrainSymbols(Image& img, const State& st) {
    for (int y = 0; y <= st.MapMaxY; ++y)
        for (int x = 0; x <= st.MapMaxX; ++x) {
            const Hex h{x, y};
            switch (TerrainOf(st, h)) {
            case 1:
                for (PointF p : ScatterPoints(h, 7, 27, 100)) DrawTree(img, p, 5.2);
                break;
            case 2:
                for (PointF p : ScatterPoints(h, 4, 24, 200)) DrawReeds(img, p);
                break;
            case 3:
                for (PointF p : ScatterPoints(h, 3, 22, 300)) DrawRidge(img, p, 11);
                break;
            default:
                break;
            }
        }
}

void DrawGrid(Image& img, const State& st) {
    for (int y = -1; y <= st.MapMaxY + 1; ++y)
        for (int x = -1; x <= st.MapMaxX + 1; ++x) {
            const Hex h{x, y};
            const bool on = OnMap(st, h);
            for (int d = 0; d < 6; ++d) {
                const bool otherOn = OnMap(st, Neighbour(h, d));
                if (on && otherOn && d < 3) img.DrawSegment(CornerOf(h, d), CornerOf(h, d + 1), 1.0, kGrid);
                if (on && !otherOn) img.DrawSegment(CornerOf(h, d), CornerOf(h, d + 1), 3.0, kFrame);
            }
        }
}

// Each hex side with a river, once, whichever of its two hexes names it.
template <typename F> void ForEachRiverSide(const State& st, F&& draw) {
    for (int y = 0; y <= st.MapMaxY; ++y)
        for (int x = 0; x <= st.MapMaxX; ++x)
            for (int d = 0; d < 6; ++d) {
                const Hex h{x, y};
                const Hex n = Neighbour(h, d);
                const int v = st.Cell(x, y).River[static_cast<std::size_t>(d)];
                const int back = st.Cell(n.x, n.y).River[static_cast<std::size_t>(Opposite(d))];
                if (v == 0 || (d >= 3 && back != 0 && OnMap(st, n))) continue;
                draw(CornerOf(h, d), CornerOf(h, d + 1), v);
            }
}

void DrawRivers(Image& img, const State& st) {
    ForEachRiverSide(st,
                     [&](PointF a, PointF b, int v) { img.DrawSegment(a, b, v == 2 ? 14 : 8, kRiverBank); });
    ForEachRiverSide(st, [&](PointF a, PointF b, int v) {
        img.DrawSegment(a, b, v == 2 ? 8 : 3.6, v == 2 ? kDanube : kRiver);
        if (v == 3) {
            // A river no army can cross: gorges and rapids, marked with ticks across it.
            const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
            for (double t : {0.25, 0.5, 0.75}) {
                const PointF m{a.x + dx * t, a.y + dy * t};
                img.DrawSegment({m.x - dy / len * 6, m.y + dx / len * 6},
                                {m.x + dy / len * 6, m.y - dx / len * 6}, 2.0, Shade(kRiver, 0.5));
            }
        }
    });
}

void DrawRoads(Image& img, const State& st) {
    struct Half {
        PointF from, to;
        int value;
    };
    std::vector<Half> halves;
    for (int y = 0; y <= st.MapMaxY; ++y)
        for (int x = 0; x <= st.MapMaxX; ++x)
            for (int d = 0; d < 6; ++d) {
                const int v = st.Cell(x, y).Road[static_cast<std::size_t>(d)];
                if (v != 0) halves.push_back({Centre({x, y}), SideMiddle({x, y}, d), v});
            }
    for (const Half& h : halves)
        if (h.value == 1) img.DrawSegment(h.from, h.to, 5.2, kRoadCasing);
    for (const Half& h : halves)
        if (h.value == 1) img.DrawSegment(h.from, h.to, 2.6, kRoadFill);
    for (const Half& h : halves)
        if (h.value == 2) img.DrawSegment(h.from, h.to, 5.6, kRailCasing);
    for (const Half& h : halves) {
        if (h.value != 2) continue;
        // The railway's white dashes, spaced from the hex centre so both halves meet in step.
        const double dx = h.to.x - h.from.x, dy = h.to.y - h.from.y, len = std::hypot(dx, dy);
        for (double s = 4; s < len - 1; s += 12) {
            const double e = std::min(s + 6, len - 1);
            img.DrawSegment({h.from.x + dx * s / len, h.from.y + dy * s / len},
                            {h.from.x + dx * e / len, h.from.y + dy * e / len}, 2.2, kRailDash);
        }
    }
}

Rgba OwnerColour(int owner) {
    return owner == 1 ? kHungarian : owner == 2 ? kImperial : kNeutral;
}

double SymbolRadius(int kind) {
    return kind >= 3 ? 17 : kind == 2 ? 11 : 7.5;
}

// A star fort: bastions at the points.
std::vector<PointF> FortOutline(PointF c, double r) {
    std::vector<PointF> points;
    for (int k = 0; k < 10; ++k) {
        const double a = -M_PI / 2 + k * M_PI / 5;
        const double rr = k % 2 == 0 ? r : r * 0.58;
        points.push_back({c.x + rr * std::cos(a), c.y + rr * std::sin(a)});
    }
    return points;
}

} // namespace

void DrawCitySymbol(Image& img, PointF c, int kind, int owner) {
    const Rgba fill = OwnerColour(owner);
    const double r = SymbolRadius(kind);
    if (kind >= 3) {
        const std::vector<PointF> star = FortOutline(c, r);
        std::vector<PointF> shadow;
        for (PointF p : star) shadow.push_back({p.x + 2, p.y + 2.5});
        img.FillPolygon(shadow, WithAlpha(kInk, 0.35));
        img.FillPolygon(star, fill);
        img.StrokePolygon(star, 2.4, kInk);
        img.FillCircle(c, 3.2, kInk);
        return;
    }
    img.FillCircle({c.x + 1.5, c.y + 2}, r, WithAlpha(kInk, 0.3));
    img.FillCircle(c, r, fill);
    img.StrokeCircle(c, r, 2.2, kInk);
    if (kind == 2) img.FillCircle(c, 3.4, kInk);
}

namespace {

struct Box {
    int x0, y0, x1, y1;
    bool Overlaps(const Box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

struct Fonts {
    Font city{FindDejaVuFont("DejaVuSans-Bold.ttf"), 23};
    Font town{FindDejaVuFont("DejaVuSans.ttf"), 19};
    Font grid{FindDejaVuFont("DejaVuSans.ttf"), 12};
    Font title{FindDejaVuFont("DejaVuSerif-Bold.ttf"), 66};
    Font subtitle{FindDejaVuFont("DejaVuSerif.ttf"), 30};
    Font heading{FindDejaVuFont("DejaVuSerif-Bold.ttf"), 28};
    Font key{FindDejaVuFont("DejaVuSans.ttf"), 21};
};

void DrawCities(Image& img, const State& st, const Fonts& fonts, bool names, bool symbols) {
    std::vector<Box> taken;
    std::vector<int> order;
    for (int c = 1; c <= kCityCount; ++c) {
        const TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        if (!OnMap(st, {city.X, city.Y}) || st.Cell(city.X, city.Y).City != c) continue;
        order.push_back(c);
        const PointF p = Centre({city.X, city.Y});
        const int r = static_cast<int>(SymbolRadius(city.Kind)) + 2;
        taken.push_back({int(p.x) - r, int(p.y) - r, int(p.x) + r, int(p.y) + r});
    }
    // Fortresses and cities first: their names take the best places.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return st.Cities[static_cast<std::size_t>(a)].Kind > st.Cities[static_cast<std::size_t>(b)].Kind;
    });
    for (int c : order) {
        const TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        if (symbols) DrawCitySymbol(img, Centre({city.X, city.Y}), city.Kind, city.Owner);
    }
    if (!names) return;
    for (int c : order) {
        const TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        const Font& font = city.Kind >= 2 ? fonts.city : fonts.town;
        const std::string name = city.Name.str();
        const TextBox tb = font.Measure(name);
        const PointF p = Centre({city.X, city.Y});
        const int r = static_cast<int>(SymbolRadius(city.Kind));
        const int cx = int(p.x), cy = int(p.y);
        const int mid = cy + (tb.ascent - tb.descent) / 2 - 1;
        const std::array<std::pair<int, int>, 8> candidates = {{
            {cx + r + 6, mid},                            // right
            {cx - r - 6 - tb.width, mid},                 // left
            {cx - tb.width / 2, cy - r - 5 - tb.descent}, // above
            {cx - tb.width / 2, cy + r + 5 + tb.ascent},  // below
            {cx + r + 2, cy - r - tb.descent},            // upper right
            {cx + r + 2, cy + r + tb.ascent},             // lower right
            {cx - r - 2 - tb.width, cy - r - tb.descent}, // upper left
            {cx - r - 2 - tb.width, cy + r + tb.ascent},  // lower left
        }};
        std::pair<int, int> chosen = candidates[0];
        for (const auto& [x, baseline] : candidates) {
            const Box b{x - 2, baseline - tb.ascent, x + tb.width + 2, baseline + tb.descent};
            const bool inside = b.x0 >= 0 && b.y0 >= 0 && b.x1 < img.width() && b.y1 < img.height();
            const bool clear =
                std::none_of(taken.begin(), taken.end(), [&](const Box& o) { return o.Overlaps(b); });
            if (inside && clear) {
                chosen = {x, baseline};
                break;
            }
        }
        taken.push_back({chosen.first - 2, chosen.second - tb.ascent, chosen.first + tb.width + 2,
                         chosen.second + tb.descent});
        font.Draw(img, chosen.first, chosen.second, name, kInk, kHalo, 3);
    }
}

void DrawGridLabels(Image& img, const State& st, const Font& font) {
    for (int y = 0; y <= st.MapMaxY; ++y)
        for (int x = 0; x <= st.MapMaxX; ++x) {
            const std::string label = std::to_string(x) + "," + std::to_string(y);
            const TextBox tb = font.Measure(label);
            const PointF c = Centre({x, y});
            font.Draw(img, int(c.x) - tb.width / 2, int(c.y) - 20, label, kInk, kHalo, 2);
        }
}

void DrawPanel(Image& img, Box b) {
    img.FillRect(b.x0 + 6, b.y0 + 8, b.x1 - b.x0, b.y1 - b.y0, WithAlpha(kInk, 0.25));
    img.FillRect(b.x0, b.y0, b.x1 - b.x0, b.y1 - b.y0, {247, 241, 222});
    const std::vector<PointF> outer = {{double(b.x0), double(b.y0)},
                                       {double(b.x1), double(b.y0)},
                                       {double(b.x1), double(b.y1)},
                                       {double(b.x0), double(b.y1)}};
    img.StrokePolygon(outer, 3, kFrame);
    const std::vector<PointF> inner = {{b.x0 + 8.0, b.y0 + 8.0},
                                       {b.x1 - 8.0, b.y0 + 8.0},
                                       {b.x1 - 8.0, b.y1 - 8.0},
                                       {b.x0 + 8.0, b.y1 - 8.0}};
    img.StrokePolygon(inner, 1.2, kFrame);
}

// A small hex of ground, drawn as the map draws it.
void DrawSwatch(Image& img, PointF c, int terrain) {
    const double s = 0.42;
    for (int y = int(c.y - 36 * s) - 1; y <= int(c.y + 36 * s) + 1; ++y)
        for (int x = int(c.x - 42 * s) - 1; x <= int(c.x + 42 * s) + 1; ++x) {
            const double dx = (x + 0.5 - c.x) / s, dy = (y + 0.5 - c.y) / s;
            if (std::abs(dy) <= 36 && std::abs(dx) <= 42 - std::abs(dy) * 21 / 36)
                img.Set(x, y, GroundColour(terrain, x * 2, y * 2));
        }
    if (terrain == 1) DrawTree(img, {c.x - 5, c.y - 2}, 4.2), DrawTree(img, {c.x + 6, c.y + 3}, 4.2);
    if (terrain == 2) DrawReeds(img, {c.x, c.y - 1});
    if (terrain == 3) DrawRidge(img, {c.x, c.y}, 10);
    std::vector<PointF> outline;
    for (PointF k : kCorner) outline.push_back({c.x + k.x * s, c.y + k.y * s});
    img.StrokePolygon(outline, 1.2, kFrame);
}

void DrawLegend(Image& img, const Fonts& fonts) {
    const int W = img.width(), H = img.height();
    // The title in the north-east corner, over the lands beyond the war.
    const Box title{W - 1130, 48, W - 60, 262};
    DrawPanel(img, title);
    const std::string head = "Magyarország 1848–49";
    const std::string sub = "a szabadságharc hadszíntere";
    fonts.title.Draw(img, (title.x0 + title.x1 - fonts.title.Measure(head).width) / 2, title.y0 + 112, head,
                     kInk);
    fonts.subtitle.Draw(img, (title.x0 + title.x1 - fonts.subtitle.Measure(sub).width) / 2, title.y0 + 172,
                        sub, Shade(kInk, 1.3));

    // The key in the south-east corner.
    const Box key{W - 760, H - 470, W - 60, H - 48};
    DrawPanel(img, key);
    fonts.heading.Draw(img, key.x0 + 34, key.y0 + 56, "Jelmagyarázat", kInk);
    const int row = 46, top = key.y0 + 100;
    const int col1 = key.x0 + 40, col2 = key.x0 + 370;
    const char* grounds[] = {"Síkság", "Erdő", "Mocsár", "Hegyvidék", "Járhatatlan"};
    for (int t = 0; t < 5; ++t) {
        DrawSwatch(img, {col1 + 20.0, top + t * row + 0.0}, t);
        fonts.key.Draw(img, col1 + 56, top + t * row + 8, grounds[t], kInk);
    }
    auto line = [&](int i, const char* text, auto&& draw) {
        const double y = top + i * row;
        draw(PointF{double(col2), y}, PointF{col2 + 44.0, y});
        fonts.key.Draw(img, col2 + 60, int(y) + 8, text, kInk);
    };
    line(0, "Folyó", [&](PointF a, PointF b) {
        img.DrawSegment(a, b, 8, kRiverBank);
        img.DrawSegment(a, b, 3.6, kRiver);
    });
    line(1, "Duna", [&](PointF a, PointF b) {
        img.DrawSegment(a, b, 14, kRiverBank);
        img.DrawSegment(a, b, 8, kDanube);
    });
    line(2, "Országút", [&](PointF a, PointF b) {
        img.DrawSegment(a, b, 5.2, kRoadCasing);
        img.DrawSegment(a, b, 2.6, kRoadFill);
    });
    line(3, "Vasút", [&](PointF a, PointF b) {
        img.DrawSegment(a, b, 5.6, kRailCasing);
        for (double s = 4; s < 40; s += 12)
            img.DrawSegment({a.x + s, a.y}, {a.x + s + 6, a.y}, 2.2, kRailDash);
    });
    const int symbolsTop = top + 5 * row + 10;
    const std::pair<int, const char*> kinds[] = {{1, "Város"}, {2, "Nagyváros"}, {3, "Erőd"}};
    for (int i = 0; i < 3; ++i) {
        const double x = col1 + 20 + i * 200, y = symbolsTop;
        DrawCitySymbol(img, {x, y}, kinds[i].first, 1);
        fonts.key.Draw(img, int(x) + 26, int(y) + 8, kinds[i].second, kInk);
    }
    const std::pair<int, const char*> owners[] = {{1, "Magyar kézen"}, {2, "Császári kézen"}};
    for (int i = 0; i < 2; ++i) {
        const double x = col1 + 20 + i * 300, y = symbolsTop + row;
        DrawCitySymbol(img, {x, y}, 1, owners[i].first);
        fonts.key.Draw(img, int(x) + 26, int(y) + 8, owners[i].second, kInk);
    }
}

} // namespace

int MapPictureWidth(const State& state) {
    return kColumnPitch * state.MapMaxX + kHexWidth;
}

int MapPictureHeight(const State& state) {
    return kRowPitch * (state.MapMaxY + 1) + (state.MapMaxX >= 1 ? kHexHeight / 2 : 0);
}

Image DrawMapPicture(const State& state, const MapPictureOptions& options) {
    const Fonts fonts;
    Image img(MapPictureWidth(state), MapPictureHeight(state), kPaper);
    DrawGround(img, state);
    DrawTerrainSymbols(img, state);
    DrawGrid(img, state);
    DrawRivers(img, state);
    DrawRoads(img, state);
    DrawCities(img, state, fonts, options.cityNames, options.citySymbols);
    if (options.gridLabels) DrawGridLabels(img, state, fonts.grid);
    if (options.legend) DrawLegend(img, fonts);
    return img;
}

} // namespace vezer::render
