#pragma once
// An RGBA picture in memory and the few anti-aliased drawing operations the map needs. No
// window system: the same picture becomes a PNG file or the game screen's map background.

#include <cstdint>
#include <vector>

namespace vezer::render {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

// Colour arithmetic for shading: t = 0 gives a, t = 1 gives b.
Rgba Mix(Rgba a, Rgba b, double t);
Rgba Shade(Rgba c, double factor); // factor < 1 darkens, > 1 lightens
Rgba WithAlpha(Rgba c, double alpha);

struct PointF {
    double x = 0, y = 0;
};

class Image {
public:
    Image(int width, int height, Rgba fill = {255, 255, 255, 255});

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<std::uint8_t>& pixels() const { return pixels_; } // RGBA rows from the top

    Rgba Get(int x, int y) const;
    void Set(int x, int y, Rgba c);
    // Paints c over the pixel with c's alpha times `coverage` (0..1); outside pixels are ignored.
    void Blend(int x, int y, Rgba c, double coverage = 1.0);

    void FillRect(int x, int y, int w, int h, Rgba c);
    // A line of the given width with round ends.
    void DrawSegment(PointF a, PointF b, double width, Rgba c);
    void DrawPolyline(const std::vector<PointF>& points, double width, Rgba c);
    void FillCircle(PointF centre, double radius, Rgba c);
    void StrokeCircle(PointF centre, double radius, double width, Rgba c);
    void FillPolygon(const std::vector<PointF>& points, Rgba c);
    void StrokePolygon(const std::vector<PointF>& points, double width, Rgba c);

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

} // namespace vezer::render
