#include "render/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace vezer::render {

namespace {

std::vector<char32_t> Decode(std::string_view s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + static_cast<std::size_t>(n) > s.size()) {
            out.push_back(U'?');
            ++i;
            continue;
        }
        char32_t cp = n == 1 ? c : c & (0x7F >> n);
        for (int k = 1; k < n; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0x3F);
        out.push_back(cp);
        i += static_cast<std::size_t>(n);
    }
    return out;
}

// Loads each glyph of the text in turn with kerning applied, and calls `glyph(pen)` with the
// pen position (26.6 fixed point) at which the loaded glyph stands.
template <typename F> void LayOut(FT_Face face, std::string_view utf8, FT_Int32 loadFlags, F&& glyph) {
    FT_UInt previous = 0;
    long pen = 0;
    for (char32_t cp : Decode(utf8)) {
        const FT_UInt index = FT_Get_Char_Index(face, cp);
        if (previous != 0 && index != 0 && FT_HAS_KERNING(face)) {
            FT_Vector k;
            FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &k);
            pen += k.x;
        }
        if (FT_Load_Glyph(face, index, loadFlags) != 0) continue;
        glyph(pen);
        pen += face->glyph->advance.x;
        previous = index;
    }
}

} // namespace

std::filesystem::path FindDejaVuFont(std::string_view fileName) {
    // Only the faces of fonts-dejavu-core: a machine without the extra faces (CI, a player's
    // fresh install) must draw the same pictures, so asking for another face is an error here too.
    constexpr std::array<std::string_view, 6> kCoreFaces = {
        "DejaVuSans.ttf",  "DejaVuSans-Bold.ttf",  "DejaVuSansMono.ttf",
        "DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf", "DejaVuSansMono-Bold.ttf"};
    if (std::find(kCoreFaces.begin(), kCoreFaces.end(), fileName) == kCoreFaces.end())
        throw FontError("the font " + std::string(fileName) +
                        " is not one of the faces of fonts-dejavu-core, the only ones the game may use");
    const std::array<const char*, 3> folders = {"/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/TTF",
                                                "/usr/share/fonts/dejavu"};
    for (const char* folder : folders) {
        std::error_code ec;
        std::filesystem::path p = std::filesystem::path(folder) / std::string(fileName);
        if (std::filesystem::is_regular_file(p, ec)) return p;
    }
    throw FontError("the font " + std::string(fileName) +
                    " is not installed (Debian package fonts-dejavu-core)");
}

struct Font::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

Font::Font(const std::filesystem::path& file, int pixelSize)
    : impl_(std::make_unique<Impl>()), pixelSize_(pixelSize) {
    if (FT_Init_FreeType(&impl_->library) != 0) throw FontError("FreeType could not start");
    if (FT_New_Face(impl_->library, file.c_str(), 0, &impl_->face) != 0) {
        FT_Done_FreeType(impl_->library);
        throw FontError("cannot read the font " + file.string());
    }
    FT_Set_Pixel_Sizes(impl_->face, 0, static_cast<FT_UInt>(pixelSize));
}

Font::~Font() {
    FT_Done_Face(impl_->face);
    FT_Done_FreeType(impl_->library);
}

TextBox Font::Measure(std::string_view utf8) const {
    FT_Face face = impl_->face;
    long pen = 0;
    LayOut(face, utf8, FT_LOAD_DEFAULT, [&](long glyphPen) { pen = glyphPen + face->glyph->advance.x; });
    TextBox box;
    box.width = static_cast<int>(pen >> 6);
    box.ascent = static_cast<int>(face->size->metrics.ascender >> 6);
    box.descent = static_cast<int>(-(face->size->metrics.descender >> 6));
    return box;
}

void Font::Draw(Image& image, int x, int y, std::string_view utf8, Rgba colour, Rgba halo,
                int haloRadius) const {
    FT_Face face = impl_->face;
    const TextBox box = Measure(utf8);
    // The letters' coverage, rendered once into a mask with room for the halo.
    const int pad = haloRadius + 1;
    const int w = box.width + 2 * pad + pixelSize_;
    const int h = box.ascent + box.descent + 2 * pad;
    std::vector<float> mask(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0.0f);
    auto at = [&](int mx, int my) -> float& {
        return mask[static_cast<std::size_t>(my) * static_cast<std::size_t>(w) +
                    static_cast<std::size_t>(mx)];
    };
    LayOut(face, utf8, FT_LOAD_RENDER, [&](long pen) {
        const FT_GlyphSlot g = face->glyph;
        const int ox = pad + static_cast<int>(pen >> 6) + g->bitmap_left;
        const int oy = pad + box.ascent - g->bitmap_top;
        for (unsigned row = 0; row < g->bitmap.rows; ++row)
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                const int mx = ox + static_cast<int>(col), my = oy + static_cast<int>(row);
                if (mx < 0 || my < 0 || mx >= w || my >= h) continue;
                const float v = g->bitmap.buffer[row * static_cast<unsigned>(g->bitmap.pitch) + col] / 255.0f;
                at(mx, my) = std::max(at(mx, my), v);
            }
    });
    const int left = x - pad;
    const int top = y - box.ascent - pad;
    if (haloRadius > 0 && halo.a > 0) {
        const int r = haloRadius;
        for (int my = 0; my < h; ++my)
            for (int mx = 0; mx < w; ++mx) {
                float best = 0;
                for (int dy = -r; dy <= r && best < 1; ++dy)
                    for (int dx = -r; dx <= r; ++dx) {
                        const int sx = mx + dx, sy = my + dy;
                        if (sx < 0 || sy < 0 || sx >= w || sy >= h) continue;
                        const double fall = std::clamp(r + 0.5 - std::hypot(dx, dy), 0.0, 1.0);
                        best = std::max(best, static_cast<float>(at(sx, sy) * fall));
                    }
                if (best > 0) image.Blend(left + mx, top + my, halo, best);
            }
    }
    for (int my = 0; my < h; ++my)
        for (int mx = 0; mx < w; ++mx)
            if (at(mx, my) > 0) image.Blend(left + mx, top + my, colour, at(mx, my));
}

} // namespace vezer::render
