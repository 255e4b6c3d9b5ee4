#pragma once
// Drawing on the canvas: filled and framed rectangles, pictures, and text in the DejaVu
// faces through SDL2_ttf. Colours are plain RGB; the rules' 0x00BBGGRR colours convert.

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <tuple>

namespace vezer::ui {

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

// A rules colour (0x00BBGGRR) as RGB.
inline Colour FromBgr(int bgr) {
    return Colour{static_cast<std::uint8_t>(bgr & 0xFF), static_cast<std::uint8_t>((bgr >> 8) & 0xFF),
                  static_cast<std::uint8_t>((bgr >> 16) & 0xFF), 255};
}

// The look of the period: parchment, iron-gall ink, the menu's dark and bright reds.
namespace palette {
inline constexpr Colour kParchment{232, 220, 188};
inline constexpr Colour kParchmentDark{205, 188, 148};
inline constexpr Colour kInk{40, 30, 22};
inline constexpr Colour kFaded{110, 92, 70};
inline constexpr Colour kItem{128, 0, 0};    // menu items (the rules' colour 128)
inline constexpr Colour kItemLit{255, 0, 0}; // highlighted (255)
inline constexpr Colour kHeading{0, 0, 0};   // section headings
inline constexpr Colour kHungarian{176, 28, 36};
inline constexpr Colour kImperial{238, 196, 40};
} // namespace palette

enum class FontFace { Serif, SerifBold, Sans, SansBold };
enum class Align { Left, Centre, Right };

class Fonts {
public:
    Fonts();
    ~Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    TTF_Font* Get(FontFace face, int size);
    // The rendered text, kept for reuse (the same labels are drawn every frame).
    SDL_Surface* Render(FontFace face, int size, const std::string& text, Colour c);
    int Width(FontFace face, int size, const std::string& text);

private:
    std::map<std::pair<int, int>, TTF_Font*> fonts_;
    using Key = std::tuple<int, int, std::string, std::uint32_t>;
    std::map<Key, SDL_Surface*> cache_;
    std::list<Key> order_;
};

class Painter {
public:
    Painter(SDL_Surface* target, Fonts& fonts) : target_(target), fonts_(fonts) {}
    SDL_Surface* target() const { return target_; }
    Fonts& fonts() const { return fonts_; }

    void Fill(int x, int y, int w, int h, Colour c);
    // Blends a translucent colour over the rectangle.
    void Shade(int x, int y, int w, int h, Colour c);
    void Frame(int x, int y, int w, int h, Colour c, int thickness = 1);
    void Line(int x0, int y0, int x1, int y1, Colour c);
    void Picture(SDL_Surface* picture, int x, int y);
    // One frame of a strip of `frames` equal pictures side by side.
    void PictureFrame(SDL_Surface* strip, int frames, int frame, int x, int y);
    // Text with its top-left (or top-centre, top-right) at (x, y); returns its width.
    int Text(const std::string& text, int x, int y, Colour c, FontFace face = FontFace::Serif, int size = 14,
             Align align = Align::Left);
    // Text with a one-pixel shadow, for text over the map.
    int ShadowText(const std::string& text, int x, int y, Colour c, Colour shadow, FontFace face, int size,
                   Align align = Align::Left);
    // Text broken into lines of at most `width` pixels; returns the height used.
    int Wrapped(const std::string& text, int x, int y, int width, Colour c, FontFace face, int size,
                int lineGap = 2);
    void SetClip(int x, int y, int w, int h);
    void ClearClip();

private:
    SDL_Surface* target_;
    Fonts& fonts_;
};

} // namespace vezer::ui
