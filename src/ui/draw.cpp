#include "ui/draw.h"

#include "render/font.h"

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace vezer::ui {

namespace {

const char* FaceFile(FontFace face) {
    switch (face) {
    case FontFace::Serif:
        return "DejaVuSerif.ttf";
    case FontFace::SerifBold:
        return "DejaVuSerif-Bold.ttf";
    case FontFace::Sans:
        return "DejaVuSans.ttf";
    case FontFace::SansBold:
        return "DejaVuSans-Bold.ttf";
    }
    return "DejaVuSans.ttf";
}

constexpr std::size_t kTextCacheLimit = 1500;

std::uint32_t Pack(Colour c) {
    return (static_cast<std::uint32_t>(c.r) << 24) | (static_cast<std::uint32_t>(c.g) << 16) |
           (static_cast<std::uint32_t>(c.b) << 8) | c.a;
}

} // namespace

Fonts::Fonts() {
    if (TTF_WasInit() == 0 && TTF_Init() != 0)
        throw std::runtime_error(std::string("fonts: ") + TTF_GetError());
}

Fonts::~Fonts() {
    for (auto& [key, surface] : cache_) SDL_FreeSurface(surface);
    for (auto& [key, font] : fonts_) TTF_CloseFont(font);
    TTF_Quit();
}

TTF_Font* Fonts::Get(FontFace face, int size) {
    const auto key = std::make_pair(static_cast<int>(face), size);
    if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
    const std::string path = render::FindDejaVuFont(FaceFile(face)).string();
    TTF_Font* font = TTF_OpenFont(path.c_str(), size);
    if (font == nullptr) throw std::runtime_error("cannot open the font " + path + ": " + TTF_GetError());
    // Light hinting looks the same from one FreeType version to the next.
    TTF_SetFontHinting(font, TTF_HINTING_LIGHT);
    fonts_[key] = font;
    return font;
}

SDL_Surface* Fonts::Render(FontFace face, int size, const std::string& text, Colour c) {
    if (text.empty()) return nullptr;
    Key key{static_cast<int>(face), size, text, Pack(c)};
    if (auto it = cache_.find(key); it != cache_.end()) return it->second;
    SDL_Surface* s = TTF_RenderUTF8_Blended(Get(face, size), text.c_str(), SDL_Color{c.r, c.g, c.b, c.a});
    if (s == nullptr) return nullptr;
    if (cache_.size() >= kTextCacheLimit) {
        // The oldest texts go first: the labels of the screen in view are made again at once.
        for (int i = 0; i < 200 && !order_.empty(); ++i) {
            auto it = cache_.find(order_.front());
            if (it != cache_.end()) {
                SDL_FreeSurface(it->second);
                cache_.erase(it);
            }
            order_.pop_front();
        }
    }
    cache_[key] = s;
    order_.push_back(key);
    return s;
}

int Fonts::Width(FontFace face, int size, const std::string& text) {
    int w = 0, h = 0;
    if (text.empty()) return 0;
    TTF_SizeUTF8(Get(face, size), text.c_str(), &w, &h);
    return w;
}

void Painter::Fill(int x, int y, int w, int h, Colour c) {
    SDL_Rect r{x, y, w, h};
    SDL_FillRect(target_, &r, SDL_MapRGB(target_->format, c.r, c.g, c.b));
}

void Painter::Shade(int x, int y, int w, int h, Colour c) {
    SDL_Rect r{x, y, w, h};
    SDL_Rect clip;
    SDL_GetClipRect(target_, &clip);
    SDL_Rect area;
    if (!SDL_IntersectRect(&r, &clip, &area)) return;
    const unsigned a = c.a;
    for (int yy = area.y; yy < area.y + area.h; ++yy) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(target_->pixels) +
                                                     yy * target_->pitch);
        for (int xx = area.x; xx < area.x + area.w; ++xx) {
            const std::uint32_t p = row[xx];
            const unsigned r0 = (p >> 16) & 0xFF, g0 = (p >> 8) & 0xFF, b0 = p & 0xFF;
            const unsigned r1 = (r0 * (255 - a) + c.r * a) / 255;
            const unsigned g1 = (g0 * (255 - a) + c.g * a) / 255;
            const unsigned b1 = (b0 * (255 - a) + c.b * a) / 255;
            row[xx] = 0xFF000000u | (r1 << 16) | (g1 << 8) | b1;
        }
    }
}

void Painter::Frame(int x, int y, int w, int h, Colour c, int t) {
    Fill(x, y, w, t, c);
    Fill(x, y + h - t, w, t, c);
    Fill(x, y, t, h, c);
    Fill(x + w - t, y, t, h, c);
}

void Painter::Line(int x0, int y0, int x1, int y1, Colour c) {
    const Uint32 colour = SDL_MapRGB(target_->format, c.r, c.g, c.b);
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    SDL_Rect clip;
    SDL_GetClipRect(target_, &clip);
    for (;;) {
        if (x0 >= clip.x && y0 >= clip.y && x0 < clip.x + clip.w && y0 < clip.y + clip.h)
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(target_->pixels) + y0 * target_->pitch)[x0] =
                colour;
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Painter::Picture(SDL_Surface* picture, int x, int y) {
    if (picture == nullptr) return;
    SDL_Rect dst{x, y, picture->w, picture->h};
    SDL_BlitSurface(picture, nullptr, target_, &dst);
}

void Painter::PictureFrame(SDL_Surface* strip, int frames, int frame, int x, int y) {
    if (strip == nullptr || frames <= 0) return;
    const int w = strip->w / frames;
    SDL_Rect src{(frame % frames) * w, 0, w, strip->h};
    SDL_Rect dst{x, y, w, strip->h};
    SDL_BlitSurface(strip, &src, target_, &dst);
}

int Painter::Text(const std::string& text, int x, int y, Colour c, FontFace face, int size, Align align) {
    SDL_Surface* s = fonts_.Render(face, size, text, c);
    if (s == nullptr) return 0;
    if (align == Align::Centre) x -= s->w / 2;
    if (align == Align::Right) x -= s->w;
    Picture(s, x, y);
    return s->w;
}

int Painter::ShadowText(const std::string& text, int x, int y, Colour c, Colour shadow, FontFace face,
                        int size, Align align) {
    Text(text, x + 1, y + 1, shadow, face, size, align);
    return Text(text, x, y, c, face, size, align);
}

int Painter::Wrapped(const std::string& text, int x, int y, int width, Colour c, FontFace face, int size,
                     int lineGap) {
    const int lineHeight = TTF_FontLineSkip(fonts_.Get(face, size)) + lineGap;
    int yy = y;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t nl = text.find_first_of("\r\n", start);
        std::string paragraph = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        std::string line;
        std::size_t i = 0;
        while (i <= paragraph.size()) {
            std::size_t sp = paragraph.find(' ', i);
            std::string word = paragraph.substr(i, sp == std::string::npos ? std::string::npos : sp - i);
            std::string trial = line.empty() ? word : line + " " + word;
            if (!line.empty() && fonts_.Width(face, size, trial) > width) {
                Text(line, x, yy, c, face, size);
                yy += lineHeight;
                line = word;
            } else {
                line = trial;
            }
            if (sp == std::string::npos) break;
            i = sp + 1;
        }
        Text(line, x, yy, c, face, size);
        yy += lineHeight;
        if (nl == std::string::npos) break;
        start = nl + 1;
        if (nl + 1 < text.size() && text[nl] == '\r' && text[nl + 1] == '\n') ++start;
    }
    return yy - y;
}

void Painter::SetClip(int x, int y, int w, int h) {
    SDL_Rect r{x, y, w, h};
    SDL_SetClipRect(target_, &r);
}

void Painter::ClearClip() {
    SDL_SetClipRect(target_, nullptr);
}

} // namespace vezer::ui
