#include "ui/backdrop.h"

namespace vezer::ui {

namespace {

// A deterministic grain: the same parchment on every machine and in every shot.
std::uint32_t Grain(int x, int y) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

void PaintParchment(SDL_Surface* s) {
    const int w = s->w, h = s->h;
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < w; ++x) {
            // Darker towards the edges, like old paper; a fine grain over it.
            const double dx = (x - w / 2.0) / (w / 2.0), dy = (y - h / 2.0) / (h / 2.0);
            const double edge = std::min(1.0, 0.55 * (dx * dx + dy * dy));
            const int g = static_cast<int>(Grain(x, y) % 9) - 4;
            const int r = static_cast<int>(234 - 52 * edge) + g;
            const int gg = static_cast<int>(222 - 62 * edge) + g;
            const int b = static_cast<int>(190 - 72 * edge) + g;
            row[x] = 0xFF000000u | (static_cast<std::uint32_t>(std::clamp(r, 0, 255)) << 16) |
                     (static_cast<std::uint32_t>(std::clamp(gg, 0, 255)) << 8) |
                     static_cast<std::uint32_t>(std::clamp(b, 0, 255));
        }
    }
}

} // namespace

void DrawParchment(Painter& p, int x, int y, int w, int h) {
    p.Fill(x, y, w, h, palette::kParchment);
    p.Frame(x, y, w, h, palette::kInk, 2);
    p.Frame(x + 5, y + 5, w - 10, h - 10, palette::kFaded, 1);
}

void DrawBackdrop(App& app, Painter& p, const std::string& name) {
    const int w = p.target()->w, h = p.target()->h;
    SDL_Surface* picture = app.pictures().Get(name, w, h, [&](SDL_Surface* s) {
        PaintParchment(s);
        Painter q(s, app.fonts());
        q.Frame(12, 12, w - 24, h - 24, palette::kInk, 3);
        q.Frame(20, 20, w - 40, h - 40, palette::kFaded, 1);
    });
    if (picture->w == w && picture->h == h) {
        p.Picture(picture, 0, 0);
    } else {
        SDL_Rect dst{0, 0, w, h};
        SDL_BlitScaled(picture, nullptr, p.target(), &dst);
    }
}

} // namespace vezer::ui
