// mkart: paints the game's pictures into <game dir>/pictures at build time. Everything the
// window game shows that is not text is drawn here, by code, in the manner of a copper
// engraving on cream paper: the map background, the screens' backgrounds, the flags, the
// thermometer and weather plates, the generals' generic portraits, the cursor markers, the
// town, fortress and corps markers.
//
// usage: mkart --game-dir DIR   (the compiled data files must be in DIR/Data)

#include "core/game.h"
#include "core/geometry.h"
#include "core/headless.h"
#include "files/map_files.h"
#include "render/font.h"
#include "render/image.h"
#include "render/map_picture.h"
#include "render/png_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vezer::render {
namespace {

namespace fs = std::filesystem;

constexpr Rgba kPaper{238, 228, 200};
constexpr Rgba kInk{44, 34, 26};
constexpr Rgba kClear{0, 0, 0, 0};
// The side colours: a dark Hungarian red and a light imperial yellow, far apart in lightness so
// that players who cannot tell red from green still tell them apart at a glance.
constexpr Rgba kRed{168, 26, 34};
constexpr Rgba kYellow{244, 206, 60};
constexpr Rgba kWhite{250, 246, 234};
constexpr Rgba kGreen{40, 110, 60};
constexpr Rgba kBlack{24, 22, 20};
constexpr Rgba kBlue{40, 70, 150};

fs::path g_out;

void Save(const std::string& name, const Image& img) {
    WritePng(g_out / (name + ".png"), img);
}

std::uint32_t Hash(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    std::uint64_t z = (std::uint64_t{a} << 40) ^ (std::uint64_t{b} << 20) ^ c;
    z += 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>(z ^ (z >> 31));
}

double Unit(std::uint32_t h) {
    return (h & 0xFFFFFF) / double(0x1000000);
}

double Noise(double x, double y, double scale, std::uint32_t seed) {
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

// Old paper: cream, darker and browner towards the edges, with fibres and foxing spots.
void Parchment(Image& img) {
    const int w = img.width(), h = img.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double dx = (x - w / 2.0) / (w / 2.0), dy = (y - h / 2.0) / (h / 2.0);
            const double edge = std::min(1.0, 0.45 * (dx * dx + dy * dy));
            const double n = Noise(x, y, 90, 1) * 0.6 + Noise(x, y, 17, 2) * 0.3 + Noise(x, y, 3, 3) * 0.1;
            Rgba c = Mix(kPaper, Rgba{196, 170, 124}, edge * 0.8 + (n - 0.5) * 0.25);
            const double spot = Noise(x, y, 40, 4);
            if (spot > 0.88) c = Mix(c, Rgba{190, 150, 110}, (spot - 0.88) * 1.5);
            img.Set(x, y, c);
        }
}

// A printer's double rule with small corner squares.
void Border(Image& img, int inset) {
    const double w = img.width(), h = img.height(), i = inset;
    const std::vector<PointF> outer = {{i, i}, {w - i, i}, {w - i, h - i}, {i, h - i}};
    const std::vector<PointF> inner = {
        {i + 7, i + 7}, {w - i - 7, i + 7}, {w - i - 7, h - i - 7}, {i + 7, h - i - 7}};
    img.StrokePolygon(outer, 3.0, kInk);
    img.StrokePolygon(inner, 1.0, kInk);
    for (PointF c : outer) {
        img.FillRect(int(c.x) - 6, int(c.y) - 6, 13, 13, kInk);
        img.FillRect(int(c.x) - 3, int(c.y) - 3, 7, 7, kPaper);
    }
}

// An engraved landscape along the bottom of a picture: rolling hills hatched in horizontal
// lines that crowd together in the shade, a river, and a star fortress on a rise.
void EngravedLandscape(Image& img, int top, int bottom, std::uint32_t seed) {
    const int w = img.width();
    auto ground = [&](double x, int layer) {
        const double base = top + (bottom - top) * (0.25 + 0.22 * layer);
        return base - 38 * Noise(x, layer * 50.0, 260, seed + layer) -
               18 * Noise(x, layer * 50.0, 70, seed + 7);
    };
    for (int layer = 0; layer < 3; ++layer) {
        for (int y = top; y < bottom; y += 3) {
            for (int x = 24; x < w - 24; ++x) {
                const double g = ground(x, layer);
                if (y < g) continue;
                if (layer < 2 && y > ground(x, layer + 1)) continue;
                const double slope = ground(x + 6, layer) - ground(x - 6, layer);
                // Engraved shading: the lines darken on the slopes turned from the light and
                // toward the foreground, and thin out on the lit crests.
                const double shade =
                    std::clamp(0.25 + slope / 16.0 + layer * 0.15 + (y - g) / 260.0, 0.05, 1.0);
                img.Blend(x, y, kInk, 0.12 + 0.6 * shade);
            }
        }
        for (int x = 24; x < w - 24; ++x) img.Blend(x, int(ground(x, layer)), kInk, 0.9);
    }
    // The river in the foreground: a wide band of fine wavy lines.
    for (int k = 0; k < 6; ++k) {
        const double y0 = bottom - 30 + k * 4;
        for (int x = 0; x < w; ++x) {
            const double y = y0 + 1.5 * std::sin(x / 11.0 + k);
            if ((x / 23 + k) % 5 != 0) img.Blend(x, int(y), kInk, 0.45);
        }
    }
    // A star fortress on the middle ridge.
    const double fx = w * 0.62, fy = ground(w * 0.62, 1) - 6;
    std::vector<PointF> star;
    for (int k = 0; k < 10; ++k) {
        const double a = -M_PI / 2 + k * M_PI / 5, r = k % 2 == 0 ? 34 : 20;
        star.push_back({fx + r * std::cos(a), fy + 0.45 * r * std::sin(a)});
    }
    img.FillPolygon(star, kPaper);
    img.StrokePolygon(star, 1.6, kInk);
    img.FillRect(int(fx) - 8, int(fy) - 22, 16, 16, kPaper);
    for (int y = int(fy) - 22; y < int(fy) - 6; y += 2)
        img.DrawSegment({fx - 8, double(y)}, {fx + 8, double(y)}, 0.7, kInk);
    img.DrawSegment({fx, fy - 22}, {fx, fy - 44}, 1.4, kInk);
    img.FillPolygon({{fx, fy - 44}, {fx + 16, fy - 40}, {fx, fy - 36}}, kRed);
}

// A laurel branch: leaves along a gentle curve.
void Laurel(Image& img, PointF from, double length, double direction, bool mirror) {
    for (int k = 0; k < 11; ++k) {
        const double t = k / 10.0;
        const double bend = (mirror ? -1 : 1) * 0.5 * t;
        const PointF p{from.x + std::cos(direction + bend) * length * t,
                       from.y + std::sin(direction + bend) * length * t};
        for (int s : {-1, 1}) {
            const double a = direction + bend + s * 0.9;
            const PointF tip{p.x + std::cos(a) * 14, p.y + std::sin(a) * 14};
            const PointF mid1{p.x + std::cos(a + 0.35) * 7, p.y + std::sin(a + 0.35) * 7};
            const PointF mid2{p.x + std::cos(a - 0.35) * 7, p.y + std::sin(a - 0.35) * 7};
            img.FillPolygon({p, mid1, tip, mid2}, Rgba{70, 90, 50});
            img.StrokePolygon({p, mid1, tip, mid2}, 0.8, kInk);
        }
    }
}

void CrossedSabres(Image& img, PointF c, double size, Rgba ink) {
    for (int s : {-1, 1}) {
        const PointF hilt{c.x - s * size * 0.55, c.y + size * 0.55};
        const PointF tip{c.x + s * size * 0.6, c.y - size * 0.6};
        const PointF mid{(hilt.x + tip.x) / 2 + s * size * 0.08, (hilt.y + tip.y) / 2 - size * 0.04};
        img.DrawPolyline({hilt, mid, tip}, std::max(1.5, size * 0.09), ink);
        img.DrawSegment({hilt.x - size * 0.14, hilt.y - s * size * 0.14 * s},
                        {hilt.x + size * 0.14, hilt.y + size * 0.14 * s * s}, std::max(1.5, size * 0.08),
                        ink);
        img.FillCircle({hilt.x - s * size * 0.08, hilt.y + size * 0.08}, std::max(1.5, size * 0.07), ink);
    }
}

void Title(Image& img, const std::string& text, int x, int baseline, int size, Rgba ink, bool centred) {
    const Font font(FindDejaVuFont("DejaVuSerif-Bold.ttf"), size);
    const TextBox box = font.Measure(text);
    font.Draw(img, centred ? x - box.width / 2 : x, baseline, text, ink, {250, 240, 215, 200}, 2);
}

void Backgrounds() {
    // The menu: the title on the left, the items stand on the right.
    Image menu(1024, 768);
    Parchment(menu);
    EngravedLandscape(menu, 470, 700, 5);
    Border(menu, 14);
    Title(menu, "VEZÉR", 290, 190, 92, kInk, true);
    const Font sub(FindDejaVuFont("DejaVuSerif.ttf"), 24);
    const std::string line = "A magyar szabadságharc";
    const std::string years = "1848 – 1849";
    sub.Draw(menu, 290 - sub.Measure(line).width / 2, 240, line, kInk);
    sub.Draw(menu, 290 - sub.Measure(years).width / 2, 276, years, kInk);
    menu.DrawSegment({90, 300}, {490, 300}, 1.5, kInk);
    menu.DrawSegment({130, 306}, {450, 306}, 0.8, kInk);
    Laurel(menu, {230, 380}, 120, M_PI * 1.05, false);
    Laurel(menu, {350, 380}, 120, -M_PI * 0.05, true);
    CrossedSabres(menu, {290, 360}, 70, kInk);
    // The Hungarian tricolour ribbon under the sabres.
    for (int k = 0; k < 3; ++k)
        menu.FillRect(245 + k * 30, 410, 30, 10, k == 0 ? kRed : k == 1 ? kWhite : kGreen);
    menu.StrokePolygon({{245, 410}, {335, 410}, {335, 420}, {245, 420}}, 1.0, kInk);
    Save("menu", menu);

    for (const char* name : {"Setup", "gamesetup", "onesetup", "extramontazs"}) {
        Image img(1024, 768);
        Parchment(img);
        if (std::string(name) == "extramontazs") {
            EngravedLandscape(img, 300, 560, 9);
            CrossedSabres(img, {512, 210}, 90, kInk);
            Title(img, "VEZÉR", 512, 140, 64, kInk, true);
        }
        Border(img, 14);
        Save(name, img);
    }
}

// A flag on a staff, waving: the side's colours.
void Flag(const std::string& name, const std::vector<Rgba>& stripes, bool horizontal) {
    Image img(64, 44, kClear);
    img.DrawSegment({4, 2}, {4, 43}, 2.4, kInk);
    img.FillCircle({4, 2}, 2.2, kInk);
    auto wave = [](double x) { return 2.2 * std::sin(x / 9.0); };
    const int n = static_cast<int>(stripes.size());
    for (int x = 6; x < 62; ++x)
        for (int y = 4; y < 32; ++y) {
            const int band = horizontal ? (y - 4) * n / 28 : (x - 6) * n / 56;
            const double shade = 0.9 + 0.1 * std::cos(x / 9.0);
            img.Set(x, y + int(wave(x)), Shade(stripes[static_cast<std::size_t>(band)], shade));
        }
    std::vector<PointF> edge;
    for (int x = 6; x < 62; x += 2) edge.push_back({double(x), 4 + wave(x)});
    for (int x = 61; x >= 6; x -= 2) edge.push_back({double(x), 31 + wave(x)});
    img.StrokePolygon(edge, 1.0, kInk);
    Save(name, img);
}

// The thermometer: a glass tube whose column stands higher for a warmer week (0 coldest).
void Thermometers() {
    for (int t = 0; t <= 10; ++t) {
        Image img(18, 64, kClear);
        img.FillCircle({9, 55}, 6.5, kWhite);
        img.FillPolygon({{5, 6}, {13, 6}, {13, 52}, {5, 52}}, kWhite);
        const double top = 50 - t * 4.3;
        const Rgba fluid = Mix(kBlue, kRed, t / 10.0);
        img.FillPolygon({{6.5, top}, {11.5, top}, {11.5, 54}, {6.5, 54}}, fluid);
        img.FillCircle({9, 55}, 5, fluid);
        img.StrokeCircle({9, 55}, 6.5, 1.2, kInk);
        img.StrokePolygon({{5, 6}, {13, 6}, {13, 50}, {5, 50}}, 1.0, kInk);
        for (int k = 0; k < 10; ++k) img.DrawSegment({13, 9.0 + k * 4.3}, {16, 9.0 + k * 4.3}, 0.8, kInk);
        Save("h" + std::to_string(t), img);
    }
}

// The four weather plates, each four frames: the week's sky, the ground, the rivers and the
// Danube, from the best state (0) to the worst (10).
void WeatherPlates() {
    constexpr int W = 46, H = 32, F = 4;
    auto plate = [&](const std::string& name, int state, const std::function<void(Image&, int, int)>& paint) {
        Image img(W * F, H, kClear);
        for (int f = 0; f < F; ++f) {
            const int ox = f * W;
            for (int y = 1; y < H - 1; ++y)
                for (int x = 1; x < W - 1; ++x) img.Set(ox + x, y, Mix(kPaper, kWhite, 0.4));
            paint(img, ox, f);
            img.StrokePolygon(
                {{ox + 0.5, 0.5}, {ox + W - 1.5, 0.5}, {ox + W - 1.5, H - 1.5}, {ox + 0.5, H - 1.5}}, 1.0,
                kInk);
        }
        Save(name + std::to_string(state), img);
    };
    for (int s = 0; s <= 10; ++s) {
        const double bad = s / 10.0;
        plate("i", s, [&](Image& img, int ox, int f) {
            // Sun in fair weather, clouds and falling rain or snow as it worsens.
            if (s <= 3) {
                img.FillCircle({ox + 15.0, 13}, 6, kYellow);
                for (int k = 0; k < 8; ++k) {
                    const double a = k * M_PI / 4 + f * 0.2;
                    img.DrawSegment({ox + 15 + 8 * std::cos(a), 13 + 8 * std::sin(a)},
                                    {ox + 15 + 11 * std::cos(a), 13 + 11 * std::sin(a)}, 1.2, kInk);
                }
            }
            if (s >= 2) {
                const Rgba cloud = Mix(kWhite, Rgba{90, 90, 96}, bad);
                for (PointF c : {PointF{ox + 26.0, 12}, PointF{ox + 33.0, 10}, PointF{ox + 38.0, 14}})
                    img.FillCircle(c, 6, cloud);
                img.FillRect(ox + 24, 13, 18, 6, cloud);
            }
            if (s >= 5) {
                const bool snow = s >= 8;
                for (int k = 0; k < 6; ++k) {
                    const double x = ox + 8 + k * 6.0, y = 21 + ((k * 3 + f * 2) % 8);
                    if (snow)
                        img.FillCircle({x, y}, 1.3, kWhite), img.StrokeCircle({x, y}, 1.4, 0.6, kInk);
                    else
                        img.DrawSegment({x, y - 2}, {x - 1.5, y + 2}, 1.0, kBlue);
                }
            }
        });
        plate("t", s, [&](Image& img, int ox, int) {
            // Ground: firm brown, muddy, then frozen white.
            const Rgba earth = s >= 8 ? Rgba{220, 228, 236} : Mix(Rgba{160, 130, 80}, Rgba{92, 70, 44}, bad);
            img.FillRect(ox + 2, 18, W - 4, 12, earth);
            for (int k = 0; k < 5; ++k)
                img.DrawSegment({ox + 6.0 + k * 8, 22}, {ox + 10.0 + k * 8, 22}, 1.0, kInk);
            if (s >= 4 && s < 8)
                for (int k = 0; k < 3; ++k) img.FillCircle({ox + 10.0 + k * 12, 25}, 2.5, Rgba{70, 90, 110});
        });
        plate("f", s, [&](Image& img, int ox, int f) {
            // Rivers: a band of water whose waves rise with the flood; ice at the worst.
            const double level = 22 - 8 * bad;
            for (int x = 2; x < W - 2; ++x)
                for (int y = int(level); y < H - 2; ++y)
                    img.Set(ox + x, y, s >= 9 ? Rgba{210, 225, 240} : Mix(Rgba{110, 150, 200}, kBlue, bad));
            for (int x = 2; x < W - 2; ++x)
                img.Blend(ox + x, int(level + 1.5 * std::sin((x + f * 3) / 4.0)), kInk, 0.8);
        });
        plate("d", s, [&](Image& img, int ox, int f) {
            const double level = 18 - 8 * bad;
            for (int x = 2; x < W - 2; ++x)
                for (int y = int(level); y < H - 2; ++y)
                    img.Set(ox + x, y,
                            s >= 9 ? Rgba{210, 225, 240} : Mix(Rgba{70, 110, 180}, Rgba{30, 50, 120}, bad));
            for (int k = 0; k < 2; ++k)
                for (int x = 2; x < W - 2; ++x)
                    img.Blend(ox + x, int(level + 1 + k * 6 + 1.5 * std::sin((x + f * 3 + k * 5) / 4.0)),
                              kInk, 0.6);
            // A steamer's smoke on the great river in fair weather.
            if (s < 6) img.FillRect(ox + 30, int(level) - 4, 8, 4, kInk);
        });
    }
}

// The generic portraits: an engraved bust in an oval, in the coat and headgear of the side.
void Portraits() {
    auto bust = [](int side, int variant, const std::string& name) {
        Image img(64, 80, kClear);
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 64; ++x) {
                const double dx = (x - 32) / 30.0, dy = (y - 40) / 38.0;
                if (dx * dx + dy * dy <= 1)
                    img.Set(x, y, Mix(kPaper, Rgba{205, 185, 150}, 0.3 + 0.4 * dy * dy));
            }
        const Rgba coat = side == 1 ? Rgba{60, 70, 110} : side == 2 ? kWhite : Rgba{50, 80, 60};
        const Rgba trim = side == 1 ? kRed : side == 2 ? kYellow : kRed;
        // Shoulders and coat.
        img.FillPolygon({{8, 80}, {12, 60}, {24, 52}, {40, 52}, {52, 60}, {56, 80}}, coat);
        img.StrokePolygon({{8, 80}, {12, 60}, {24, 52}, {40, 52}, {52, 60}, {56, 80}}, 1.2, kInk);
        img.FillPolygon({{27, 52}, {37, 52}, {32, 64}}, trim);
        for (int k = 0; k < 3; ++k) img.FillCircle({32, 66.0 + k * 5}, 1.3, kYellow);
        // Epaulettes.
        img.FillRect(10, 57, 12, 4, kYellow);
        img.FillRect(42, 57, 12, 4, kYellow);
        // Head, hatched on the shaded side.
        const Rgba skin{226, 196, 164};
        img.FillCircle({32, 36}, 11, skin);
        img.FillRect(28, 44, 8, 8, skin);
        for (int y = 27; y < 47; y += 2)
            img.DrawSegment({36, double(y)}, {42, double(y)}, 0.6, WithAlpha(kInk, 0.5));
        img.StrokeCircle({32, 36}, 11, 1.0, kInk);
        // Moustache, side-whiskers or beard by variant.
        img.DrawPolyline({{25, 41}, {29, 40}, {32, 41}, {35, 40}, {39, 41}}, 2.0, kInk);
        if (variant % 2 == 1) img.FillPolygon({{22, 34}, {24, 34}, {26, 46}, {22, 42}}, kInk);
        if (variant % 3 == 2) img.FillPolygon({{26, 44}, {38, 44}, {32, 52}}, Rgba{80, 60, 40});
        img.FillCircle({28, 34}, 1.1, kInk);
        img.FillCircle({36, 34}, 1.1, kInk);
        // Headgear: a shako for the honvéd, a bicorne for the imperial general, a cap for the Russian.
        if (side == 1) {
            img.FillPolygon({{22, 28}, {42, 28}, {40, 12}, {24, 12}}, kBlack);
            img.FillRect(22, 26, 20, 3, kRed);
            img.FillCircle({32, 12}, 3, kWhite);
        } else if (side == 2) {
            img.FillPolygon({{14, 27}, {50, 27}, {42, 16}, {32, 12}, {22, 16}}, kBlack);
            img.FillRect(29, 14, 6, 12, kYellow);
            for (int k = 0; k < 4; ++k) img.DrawSegment({20.0 + k * 8, 14}, {22.0 + k * 8, 8}, 1.2, kGreen);
        } else {
            img.FillPolygon({{21, 28}, {43, 28}, {41, 20}, {23, 20}}, Rgba{50, 80, 60});
            img.FillRect(21, 26, 22, 3, kRed);
        }
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 64; ++x) {
                const double dx = (x - 32) / 30.0, dy = (y - 40) / 38.0;
                const double r = std::sqrt(dx * dx + dy * dy);
                if (r > 1)
                    img.Set(x, y, kClear);
                else if (r > 0.95)
                    img.Set(x, y, kInk);
            }
        Save(name, img);
    };
    bust(1, 0, "tabornok0");
    for (int p = 100; p <= 106; ++p) bust(1, p - 100, "tabornok1" + std::to_string(p));
    for (int p = 100; p <= 104; ++p) bust(2, p - 100, "tabornok2" + std::to_string(p));
    for (int side = 1; side <= 2; ++side)
        for (int p = 200; p <= 202; ++p)
            bust(3, p - 200, "tabornok" + std::to_string(side) + std::to_string(p));
}

// The terrain plates of the panel, drawn as the map draws its ground.
void TerrainPlates() {
    const std::array<Rgba, 5> ground = {
        {{228, 228, 184}, {166, 194, 132}, {190, 212, 190}, {214, 192, 150}, {198, 192, 200}}};
    for (int t = 0; t < 5; ++t) {
        Image img(60, 44, ground[static_cast<std::size_t>(t)]);
        for (int y = 0; y < 44; ++y)
            for (int x = 0; x < 60; ++x)
                img.Set(x, y,
                        Shade(ground[static_cast<std::size_t>(t)], 0.93 + 0.12 * Noise(x, y, 9, 40 + t)));
        if (t == 1)
            for (PointF p :
                 {PointF{14, 18}, PointF{30, 12}, PointF{46, 20}, PointF{22, 32}, PointF{40, 33}}) {
                img.FillCircle(p, 6.5, Rgba{84, 124, 66});
                img.FillCircle({p.x - 2, p.y - 2}, 3, Rgba{120, 160, 96});
            }
        if (t == 2)
            for (int k = 0; k < 4; ++k) {
                const double x = 10 + k * 13, y = 16 + (k % 2) * 12;
                img.DrawSegment({x - 7, y + 4}, {x + 7, y + 4}, 1.5, Rgba{112, 152, 176});
                for (double a : {-0.4, 0.0, 0.4})
                    img.DrawSegment({x, y + 3}, {x + a * 10, y - 6}, 1.1, Rgba{86, 128, 112});
            }
        if (t == 3)
            for (PointF p : {PointF{18, 28}, PointF{38, 22}, PointF{50, 34}}) {
                img.FillPolygon({{p.x - 12, p.y + 7}, {p.x, p.y - 9}, {p.x + 12, p.y + 7}},
                                Rgba{190, 160, 120});
                img.DrawPolyline({{p.x - 12, p.y + 7}, {p.x, p.y - 9}, {p.x + 12, p.y + 7}}, 1.8,
                                 Rgba{128, 94, 62});
            }
        if (t == 4)
            for (int k = -44; k < 60; k += 7)
                img.DrawSegment({double(k), 44}, {k + 44.0, 0}, 1.0, Rgba{150, 142, 158});
        img.StrokePolygon({{0.5, 0.5}, {59.5, 0.5}, {59.5, 43.5}, {0.5, 43.5}}, 1.0, kInk);
        Save("taj" + std::to_string(t), img);
    }
}

std::vector<PointF> HexOutline(PointF c, double scale) {
    const std::array<PointF, 6> k = {{{-21, -36}, {21, -36}, {42, 0}, {21, 36}, {-21, 36}, {-42, 0}}};
    std::vector<PointF> out;
    for (PointF p : k) out.push_back({c.x + p.x * scale, c.y + p.y * scale});
    return out;
}

// The cursor markers of the main screen, each the size of a hex (84 x 72) per frame.
void CursorMarkers() {
    const PointF c{42, 36};
    {
        Image img(84, 72, kClear);
        img.StrokePolygon(HexOutline(c, 0.97), 3.4, WithAlpha(kWhite, 0.9));
        img.StrokePolygon(HexOutline(c, 0.97), 1.6, kInk);
        Save("hexa", img);
    }
    auto cross = [&](Image& img, double ox) {
        img.DrawSegment({ox + 28, 22}, {ox + 56, 50}, 7, kWhite);
        img.DrawSegment({ox + 56, 22}, {ox + 28, 50}, 7, kWhite);
        img.DrawSegment({ox + 28, 22}, {ox + 56, 50}, 4, kBlack);
        img.DrawSegment({ox + 56, 22}, {ox + 28, 50}, 4, kBlack);
    };
    {
        Image img(84, 72, kClear);
        img.StrokePolygon(HexOutline(c, 0.97), 2.4, kBlack);
        cross(img, 0);
        Save("tilt", img);
    }
    {
        // "Mehet": a ring of marching chevrons that pulses over six frames.
        Image img(84 * 6, 72, kClear);
        for (int f = 0; f < 6; ++f) {
            const double ox = f * 84;
            const double r = 0.82 + 0.03 * std::sin(f * M_PI / 3);
            img.StrokePolygon(HexOutline({ox + 42, 36}, r + 0.12), 3.6, WithAlpha(kWhite, 0.95));
            img.StrokePolygon(HexOutline({ox + 42, 36}, r + 0.12), 1.8, kGreen);
            img.FillCircle({ox + 42, 36}, 4 + (f % 3), WithAlpha(kGreen, 0.85));
        }
        Save("mehet", img);
    }
    {
        Image img(84, 72, kClear);
        img.StrokePolygon(HexOutline(c, 0.97), 2.4, kBlack);
        CrossedSabres(img, c, 30, kInk);
        cross(img, 0);
        Save("csatatilt", img);
    }
    {
        Image img(84, 72, kClear);
        img.StrokePolygon(HexOutline(c, 0.97), 4, kWhite);
        img.StrokePolygon(HexOutline(c, 0.97), 2.4, kRed);
        img.FillCircle(c, 19, WithAlpha(kWhite, 0.8));
        CrossedSabres(img, c, 30, kBlack);
        Save("csata", img);
    }
    {
        // The gun sight of a bombardment: a cannon ball with a burning fuse, ten frames.
        Image img(84 * 10, 72, kClear);
        for (int f = 0; f < 10; ++f) {
            const double ox = f * 84;
            img.StrokePolygon(HexOutline({ox + 42, 36}, 0.97), 2.4, kBlack);
            img.FillCircle({ox + 42, 40}, 12, kBlack);
            img.DrawSegment({ox + 50, 30}, {ox + 56, 22}, 2, kInk);
            img.FillCircle({ox + 56 + (f % 3) - 1, 21.0 - (f % 2)}, 3 + (f % 4) * 0.6, Rgba{240, 160, 40});
        }
        Save("agyukurzor", img);
    }
    {
        // The shade behind the ticker: dark at the left, fading to the right and upward.
        Image img(640, 100, kClear);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 640; ++x) {
                const double a = std::min(1.0, (640 - x) / 260.0) * std::min(1.0, y / 24.0) * 0.62;
                img.Set(x, y, Rgba{20, 16, 12, static_cast<std::uint8_t>(a * 255)});
            }
        Save("arnyek", img);
    }
}

// Town, city and fortress markers for each owner, and the damage and entrenchment marks.
void CityMarkers() {
    for (int kind = 1; kind <= 3; ++kind)
        for (int owner = 0; owner <= 2; ++owner) {
            Image img(48, 48, kClear);
            DrawCitySymbol(img, {24, 24}, kind, owner);
            Save("varos" + std::to_string(kind) + "_" + std::to_string(owner), img);
        }
    for (int level = 1; level <= 2; ++level) {
        // Smoke over a breached wall, six frames; heavier for heavy damage.
        Image img(60 * 6, 60, kClear);
        for (int f = 0; f < 6; ++f) {
            const double ox = f * 60;
            for (int k = 0; k < 2 + level * 2; ++k) {
                const double y = 40 - k * 7 - f * 1.2;
                img.FillCircle({ox + 30 + 5 * std::sin(k + f * 0.5), y}, 6 + k * 1.5,
                               WithAlpha(Rgba{80, 76, 70}, 0.5));
            }
            if (level == 2)
                for (int k = 0; k < 3; ++k)
                    img.FillCircle({ox + 22 + k * 8.0, 46}, 3.5, WithAlpha(Rgba{240, 120, 30}, 0.8));
        }
        Save("rom" + std::to_string(level), img);
    }
    for (int side = 1; side <= 2; ++side) {
        // Entrenchments: a zigzag earthwork in the side's colour.
        Image img(44, 18, kClear);
        const std::vector<PointF> line = {{2, 14}, {10, 5}, {18, 14}, {26, 5}, {34, 14}, {42, 5}};
        img.DrawPolyline(line, 6, kInk);
        img.DrawPolyline(line, 3, side == 1 ? kRed : kYellow);
        Save("sanc" + std::to_string(side), img);
    }
}

// The stripes of each nation's colours along the top of its markers.
std::vector<Rgba> NationColours(int nation) {
    switch (nation) {
    case 1:
        return {kRed, kWhite, kGreen};
    case 2:
        return {kBlack, kYellow};
    case 3:
        return {kWhite, kBlue, kRed};
    case 4:
        return {kRed, kBlue, kWhite};
    case 5:
        return {kBlue, kYellow, kRed};
    case 6:
        return {kRed, kWhite, kBlue};
    case 7:
        return {kRed, kWhite, kRed};
    case 8:
        return {kBlue, kRed};
    case 9:
        return {kWhite, kRed};
    case 10:
        return {kWhite, kBlue, kRed};
    case 11:
        return {kGreen, kWhite, kRed};
    default:
        return {kWhite};
    }
}

// The side a nation fights on: the markers' field colour.
int NationSide(int nation) {
    return nation == 1 || nation == 7 || nation == 9 || nation == 11 ? 1 : nation == 3 ? 3 : 2;
}

// Corps markers: a plate in the side's colour (dark red, pale yellow, Russian green-grey) with
// the nation's colours along the top and the arm's symbol: levy (a scythe), infantry (a
// saltire), cavalry (a diagonal), artillery (a ball), a railway train (wheels).
void CorpsMarkers() {
    constexpr double W = 40, H = 28;
    for (int nation = 1; nation <= 11; ++nation)
        for (int arm : {1, 2, 3, 4, 9}) {
            Image img(48, 38, kClear);
            const PointF o{4, 6};
            const int side = NationSide(nation);
            const Rgba field = side == 1 ? kRed : side == 2 ? Rgba{246, 226, 150} : Rgba{200, 214, 196};
            const Rgba ink = side == 1 ? kWhite : kBlack;
            const std::vector<PointF> frame = {
                {o.x, o.y}, {o.x + W, o.y}, {o.x + W, o.y + H}, {o.x, o.y + H}};
            std::vector<PointF> shadow;
            for (PointF p : frame) shadow.push_back({p.x + 2, p.y + 2.5});
            img.FillPolygon(shadow, WithAlpha(kInk, 0.4));
            img.FillPolygon(frame, field);
            const std::vector<Rgba> stripes = NationColours(nation);
            const double sw = W / stripes.size();
            for (std::size_t k = 0; k < stripes.size(); ++k)
                img.FillRect(int(o.x + k * sw), int(o.y), int(std::ceil(sw)), 6, stripes[k]);
            img.DrawSegment({o.x, o.y + 6}, {o.x + W, o.y + 6}, 1.0, kInk);
            const PointF tl{o.x + 5, o.y + 10}, br{o.x + W - 5, o.y + H - 4};
            const PointF c{(tl.x + br.x) / 2, (tl.y + br.y) / 2};
            switch (arm) {
            case 1: // levy: a scythe
                img.DrawSegment({tl.x + 4, br.y}, {br.x - 8, tl.y}, 2.2, ink);
                img.DrawPolyline({{br.x - 8, tl.y}, {br.x - 1, tl.y + 3}, {br.x + 1, tl.y + 8}}, 2.2, ink);
                break;
            case 2:
                img.DrawSegment(tl, br, 2.4, ink);
                img.DrawSegment({tl.x, br.y}, {br.x, tl.y}, 2.4, ink);
                break;
            case 3:
                img.DrawSegment({tl.x, br.y}, {br.x, tl.y}, 2.6, ink);
                break;
            case 4:
                img.FillCircle(c, 5.5, ink);
                break;
            default: // a train on the railway
                img.FillRect(int(tl.x), int(tl.y + 2), int(br.x - tl.x), 7, ink);
                for (double x : {tl.x + 5, c.x, br.x - 5}) img.FillCircle({x, br.y - 1}, 2.6, ink);
                break;
            }
            img.StrokePolygon(frame, 1.8, kInk);
            Save("jel" + std::to_string(nation) + "_" + std::to_string(arm), img);
        }
}

// The battle screens' backgrounds: parchment in a printer's rule; the report and the result
// summary with an engraved field below, where no text stands.
void BattleBackgrounds() {
    struct Sheet {
        const char* name;
        int w, h;
        bool landscape;
    };
    for (const Sheet& s : {Sheet{"csatajelentes", 791, 734, false}, Sheet{"csataesely", 308, 142, false},
                           Sheet{"pszihologia", 640, 330, false}, Sheet{"eredmeny", 731, 566, false},
                           Sheet{"kezdokep", 720, 560, false}, Sheet{"vege", 760, 600, false}}) {
        Image img(s.w, s.h);
        Parchment(img);
        if (s.landscape) EngravedLandscape(img, s.h - 190, s.h - 40, 13);
        Border(img, s.w < 400 ? 6 : 12);
        Save(s.name, img);
    }
}

// The outcome pictures of the end-of-game screen, 320 x 200: an engraved field with a fortress
// flying the winner's colours (gy1 Hungarian, gy5 imperial), and for a drawn war crossed
// sabres over the field (gy3).
void OutcomePictures() {
    for (int grade : {1, 3, 5}) {
        Image img(320, 200);
        Parchment(img);
        EngravedLandscape(img, 70, 196, 21 + grade);
        if (grade == 3) {
            CrossedSabres(img, {160, 62}, 44, kInk);
        } else {
            const std::vector<Rgba> stripes =
                grade == 1 ? std::vector<Rgba>{kRed, kWhite, kGreen} : std::vector<Rgba>{kBlack, kYellow};
            // The colours hoisted on the fortress' tower.
            const double fx = 320 * 0.62;
            img.DrawSegment({fx, 14}, {fx, 96}, 2.4, kInk);
            const int n = static_cast<int>(stripes.size());
            for (int x = int(fx) + 2; x < int(fx) + 80; ++x)
                for (int y = 16; y < 58; ++y) {
                    const int band = (y - 16) * n / 42;
                    img.Set(x, y + int(3 * std::sin(x / 11.0)),
                            Shade(stripes[static_cast<std::size_t>(band)], 0.9 + 0.1 * std::cos(x / 9.0)));
                }
        }
        Border(img, 4);
        Save("gy" + std::to_string(grade), img);
    }
}

// The game's icon, 64 x 64: crossed sabres over a roundel in the national colours.
void Icon() {
    Image img(64, 64, kClear);
    // The cockade of 1848: red outside, green in the middle.
    img.FillCircle({32, 32}, 30, kRed);
    img.FillCircle({32, 32}, 22, kWhite);
    img.FillCircle({32, 32}, 14, kGreen);
    img.StrokeCircle({32, 32}, 30, 1.6, kInk);
    CrossedSabres(img, {32, 32}, 26, kInk);
    Save("ikon", img);
}

// The unit pictures of the battle report, 50 x 50, by picture set (1 Hungarian, 2 imperial,
// 3 Russian) and regiment type: the arm's sign as the corps markers draw it on a plate of the
// side's colour, with the nation's colours along the top, and a mark for each type of the arm
// (a lance pennant for light horse, a broken line for volunteers, a second bar for heavy horse,
// a sabre knot for hussars; for foot the rifle's horn, the levy's scythe, the guard's star, the
// Grenzer's cross, the line's plain saltire, the honvéd's cockade; for guns the gun's size).
void UnitPictures() {
    fs::create_directories(g_out / "egysegek");
    for (int set = 1; set <= 3; ++set)
        for (int type = 1; type <= 15; ++type) {
            Image img(50, 50, kClear);
            const Rgba field = set == 1 ? kRed : set == 2 ? Rgba{246, 226, 150} : Rgba{200, 214, 196};
            const Rgba ink = set == 1 ? kWhite : kBlack;
            const std::vector<PointF> frame = {{2, 2}, {47, 2}, {47, 47}, {2, 47}};
            img.FillPolygon(frame, field);
            const std::vector<Rgba> stripes = set == 1   ? std::vector<Rgba>{kRed, kWhite, kGreen}
                                              : set == 2 ? std::vector<Rgba>{kBlack, kYellow}
                                                         : std::vector<Rgba>{kWhite, kBlue, kRed};
            const double sw = 45.0 / stripes.size();
            for (std::size_t k = 0; k < stripes.size(); ++k)
                img.FillRect(int(2 + k * sw), 2, int(std::ceil(sw)), 7, stripes[k]);
            img.DrawSegment({2, 9}, {47, 9}, 1.0, kInk);
            const PointF tl{9, 15}, br{41, 42}, c{25, 28.5};
            const int arm = type <= 4 ? 1 : type <= 10 ? 2 : 3;
            if (arm == 1) {
                img.DrawSegment({tl.x, br.y}, {br.x, tl.y}, 3.0, ink);
                switch (type) {
                case 1: // the lance's pennant
                    img.FillPolygon({{br.x, tl.y}, {br.x - 9, tl.y + 1}, {br.x - 4, tl.y + 6}}, ink);
                    break;
                case 2:
                    img.DrawSegment({tl.x, tl.y + 3}, {tl.x + 8, tl.y + 3}, 2.0, ink);
                    img.DrawSegment({tl.x + 12, tl.y + 3}, {tl.x + 18, tl.y + 3}, 2.0, ink);
                    break;
                case 3:
                    img.DrawSegment({tl.x + 7, br.y}, {br.x, tl.y + 7}, 3.0, ink);
                    break;
                default:
                    img.StrokeCircle({tl.x + 7, tl.y + 6}, 4.0, 1.8, ink);
                    break;
                }
            } else if (arm == 2) {
                if (type != 6) {
                    img.DrawSegment(tl, br, 2.6, ink);
                    img.DrawSegment({tl.x, br.y}, {br.x, tl.y}, 2.6, ink);
                }
                switch (type) {
                case 5: // the Jäger horn
                    img.StrokeCircle({c.x, tl.y + 2}, 4.0, 1.6, ink);
                    break;
                case 6: // the scythe
                    img.DrawSegment({tl.x + 4, br.y}, {br.x - 8, tl.y}, 3.0, ink);
                    img.DrawPolyline({{br.x - 8, tl.y}, {br.x, tl.y + 4}, {br.x + 2, tl.y + 11}}, 3.0, ink);
                    break;
                case 7:
                    img.FillCircle({c.x, br.y - 2}, 3.5, ink);
                    break;
                case 8:
                    img.DrawSegment({c.x - 5, tl.y + 1}, {c.x + 5, tl.y + 1}, 2.0, ink);
                    img.DrawSegment({c.x, tl.y - 4}, {c.x, tl.y + 6}, 2.0, ink);
                    break;
                case 10: // the cockade in the national colours
                    img.FillCircle(c, 6.0, kRed);
                    img.FillCircle(c, 4.0, kWhite);
                    img.FillCircle(c, 2.0, kGreen);
                    break;
                default:
                    break;
                }
            } else {
                const double r = type == 15 ? 8.0 : type == 13 ? 9.0 : 6.5;
                img.FillCircle(c, r, ink);
                if (type == 12) img.DrawSegment({tl.x, br.y}, {br.x, tl.y}, 2.0, ink);
                if (type == 14)
                    img.StrokePolygon({{tl.x, br.y}, {tl.x, tl.y + 4}, {br.x, tl.y + 4}, {br.x, br.y}}, 1.6,
                                      ink);
            }
            img.StrokePolygon(frame, 2.0, kInk);
            Save("egysegek/" + std::to_string(set) + std::to_string(type), img);
        }
}

void MapBackground(const fs::path& gameDir) {
    HeadlessPresentation screen;
    NoTransport link;
    auto game = MakeGame(screen, link, GameDir(gameDir.string()));
    State& st = game->state;
    st.DataSet = 1;
    st.Language = 1;
    st.MapMaxX = 62;
    st.MapMaxY = 35;
    LoadTerrain(*game, st.DataSet, st.MapMaxX, st.MapMaxY);
    LoadRoads(*game, st.DataSet);
    LoadRivers(*game, st.DataSet);
    LoadCities(*game, st.DataSet, 1);
    MapPictureOptions options;
    options.legend = false;
    options.citySymbols = false;
    Save("terkep16", DrawMapPicture(st, options));
}

} // namespace
} // namespace vezer::render

int main(int argc, char** argv) {
    using namespace vezer::render;
    std::string gameDir;
    bool mapToo = true;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--game-dir" && i + 1 < argc)
            gameDir = argv[++i];
        else if (a == "--no-map")
            mapToo = false;
        else {
            std::fprintf(stderr, "usage: mkart --game-dir DIR [--no-map]\n");
            return 2;
        }
    }
    if (gameDir.empty()) {
        std::fprintf(stderr, "usage: mkart --game-dir DIR [--no-map]\n");
        return 2;
    }
    try {
        g_out = fs::path(gameDir) / "pictures";
        fs::create_directories(g_out);
        Backgrounds();
        Flag("zaszlomagyar", {kRed, kWhite, kGreen}, true);
        Flag("zaszloosztrak", {kBlack, kYellow}, true);
        Flag("zaszloorosz", {kWhite, kBlue, kRed}, true);
        Flag("zaszloolasz", {kGreen, kWhite, kRed}, false);
        Thermometers();
        WeatherPlates();
        Portraits();
        TerrainPlates();
        CursorMarkers();
        CityMarkers();
        CorpsMarkers();
        BattleBackgrounds();
        UnitPictures();
        OutcomePictures();
        Icon();
        if (mapToo) MapBackground(gameDir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mkart: %s\n", e.what());
        return 1;
    }
    return 0;
}
