#pragma once
// Text on pictures through FreeType, in the DejaVu faces Debian installs with fonts-dejavu-core.

#include "render/image.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace vezer::render {

// The path of a DejaVu face ("DejaVuSans-Bold.ttf"); FontError when it is not installed.
std::filesystem::path FindDejaVuFont(std::string_view fileName);

class FontError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TextBox {
    int width = 0;   // advance of the whole text
    int ascent = 0;  // above the baseline
    int descent = 0; // below the baseline
};

// One face at one pixel size.
class Font {
public:
    Font(const std::filesystem::path& file, int pixelSize);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    int pixelSize() const { return pixelSize_; }
    TextBox Measure(std::string_view utf8) const;
    // Draws UTF-8 text with its baseline starting at (x, y); a halo of `haloRadius` pixels in
    // `halo` colour around the letters keeps it readable on a busy map.
    void Draw(Image& image, int x, int y, std::string_view utf8, Rgba colour, Rgba halo = {0, 0, 0, 0},
              int haloRadius = 0) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    int pixelSize_;
};

} // namespace vezer::render
