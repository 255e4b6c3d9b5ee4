#include "render/image.h"

#include <algorithm>
#include <cmath>

namespace vezer::render {

namespace {

std::uint8_t Channel(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

double SegmentDistance(double px, double py, PointF a, PointF b) {
    const double vx = b.x - a.x, vy = b.y - a.y;
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? ((px - a.x) * vx + (py - a.y) * vy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double dx = px - (a.x + t * vx), dy = py - (a.y + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

bool InsidePolygon(const std::vector<PointF>& poly, double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const PointF& p = poly[i];
        const PointF& q = poly[j];
        if ((p.y > y) != (q.y > y) && x < (q.x - p.x) * (y - p.y) / (q.y - p.y) + p.x) inside = !inside;
    }
    return inside;
}

} // namespace

Rgba Mix(Rgba a, Rgba b, double t) {
    return {Channel(a.r + (b.r - a.r) * t), Channel(a.g + (b.g - a.g) * t), Channel(a.b + (b.b - a.b) * t),
            Channel(a.a + (b.a - a.a) * t)};
}

Rgba Shade(Rgba c, double factor) {
    if (factor <= 1) return {Channel(c.r * factor), Channel(c.g * factor), Channel(c.b * factor), c.a};
    const double t = factor - 1;
    return {Channel(c.r + (255 - c.r) * t), Channel(c.g + (255 - c.g) * t), Channel(c.b + (255 - c.b) * t),
            c.a};
}

Rgba WithAlpha(Rgba c, double alpha) {
    return {c.r, c.g, c.b, Channel(255 * alpha)};
}

Image::Image(int width, int height, Rgba fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4) {
    for (std::size_t i = 0; i < pixels_.size(); i += 4) {
        pixels_[i] = fill.r;
        pixels_[i + 1] = fill.g;
        pixels_[i + 2] = fill.b;
        pixels_[i + 3] = fill.a;
    }
}

Rgba Image::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
    const std::size_t i =
        (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)) * 4;
    return {pixels_[i], pixels_[i + 1], pixels_[i + 2], pixels_[i + 3]};
}

void Image::Set(int x, int y, Rgba c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const std::size_t i =
        (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)) * 4;
    pixels_[i] = c.r;
    pixels_[i + 1] = c.g;
    pixels_[i + 2] = c.b;
    pixels_[i + 3] = c.a;
}

void Image::Blend(int x, int y, Rgba c, double coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0) return;
    const double a = std::min(coverage, 1.0) * c.a / 255.0;
    const std::size_t i =
        (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)) * 4;
    if (pixels_[i + 3] != 255) {
        // Over a translucent pixel (a sprite's clear ground) the colours mix by their weights,
        // so the soft edge of a shape keeps its own colour instead of fading to black.
        const double below = pixels_[i + 3] / 255.0 * (1 - a);
        const double out = a + below;
        if (out <= 0) return;
        pixels_[i] = Channel((c.r * a + pixels_[i] * below) / out);
        pixels_[i + 1] = Channel((c.g * a + pixels_[i + 1] * below) / out);
        pixels_[i + 2] = Channel((c.b * a + pixels_[i + 2] * below) / out);
        pixels_[i + 3] = Channel(out * 255);
        return;
    }
    pixels_[i] = Channel(pixels_[i] + (c.r - pixels_[i]) * a);
    pixels_[i + 1] = Channel(pixels_[i + 1] + (c.g - pixels_[i + 1]) * a);
    pixels_[i + 2] = Channel(pixels_[i + 2] + (c.b - pixels_[i + 2]) * a);
}

void Image::FillRect(int x, int y, int w, int h, Rgba c) {
    for (int yy = std::max(y, 0); yy < std::min(y + h, height_); ++yy)
        for (int xx = std::max(x, 0); xx < std::min(x + w, width_); ++xx) Blend(xx, yy, c);
}

void Image::DrawSegment(PointF a, PointF b, double width, Rgba c) {
    const double half = width / 2;
    const int x0 = static_cast<int>(std::floor(std::min(a.x, b.x) - half - 1));
    const int x1 = static_cast<int>(std::ceil(std::max(a.x, b.x) + half + 1));
    const int y0 = static_cast<int>(std::floor(std::min(a.y, b.y) - half - 1));
    const int y1 = static_cast<int>(std::ceil(std::max(a.y, b.y) + half + 1));
    for (int y = std::max(y0, 0); y <= std::min(y1, height_ - 1); ++y)
        for (int x = std::max(x0, 0); x <= std::min(x1, width_ - 1); ++x) {
            const double d = SegmentDistance(x + 0.5, y + 0.5, a, b);
            const double coverage = std::clamp(half + 0.5 - d, 0.0, 1.0);
            if (coverage > 0) Blend(x, y, c, coverage);
        }
}

void Image::DrawPolyline(const std::vector<PointF>& points, double width, Rgba c) {
    if (points.size() == 1) FillCircle(points[0], width / 2, c);
    // One pass over the union of the segments, so joints are not painted twice.
    if (points.size() < 2) return;
    double minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
    for (const PointF& p : points) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    const double half = width / 2;
    for (int y = std::max(static_cast<int>(minY - half - 1), 0);
         y <= std::min(static_cast<int>(maxY + half + 1), height_ - 1); ++y)
        for (int x = std::max(static_cast<int>(minX - half - 1), 0);
             x <= std::min(static_cast<int>(maxX + half + 1), width_ - 1); ++x) {
            double d = 1e9;
            for (std::size_t i = 0; i + 1 < points.size(); ++i)
                d = std::min(d, SegmentDistance(x + 0.5, y + 0.5, points[i], points[i + 1]));
            const double coverage = std::clamp(half + 0.5 - d, 0.0, 1.0);
            if (coverage > 0) Blend(x, y, c, coverage);
        }
}

void Image::FillCircle(PointF centre, double radius, Rgba c) {
    for (int y = std::max(static_cast<int>(centre.y - radius - 1), 0);
         y <= std::min(static_cast<int>(centre.y + radius + 1), height_ - 1); ++y)
        for (int x = std::max(static_cast<int>(centre.x - radius - 1), 0);
             x <= std::min(static_cast<int>(centre.x + radius + 1), width_ - 1); ++x) {
            const double d = std::hypot(x + 0.5 - centre.x, y + 0.5 - centre.y);
            const double coverage = std::clamp(radius + 0.5 - d, 0.0, 1.0);
            if (coverage > 0) Blend(x, y, c, coverage);
        }
}

void Image::StrokeCircle(PointF centre, double radius, double width, Rgba c) {
    const double outer = radius + width / 2;
    for (int y = std::max(static_cast<int>(centre.y - outer - 1), 0);
         y <= std::min(static_cast<int>(centre.y + outer + 1), height_ - 1); ++y)
        for (int x = std::max(static_cast<int>(centre.x - outer - 1), 0);
             x <= std::min(static_cast<int>(centre.x + outer + 1), width_ - 1); ++x) {
            const double d = std::abs(std::hypot(x + 0.5 - centre.x, y + 0.5 - centre.y) - radius);
            const double coverage = std::clamp(width / 2 + 0.5 - d, 0.0, 1.0);
            if (coverage > 0) Blend(x, y, c, coverage);
        }
}

void Image::FillPolygon(const std::vector<PointF>& points, Rgba c) {
    if (points.size() < 3) return;
    double minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
    for (const PointF& p : points) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    constexpr int kSub = 4; // 4 x 4 samples a pixel smooth the edges
    for (int y = std::max(static_cast<int>(minY) - 1, 0);
         y <= std::min(static_cast<int>(maxY) + 1, height_ - 1); ++y)
        for (int x = std::max(static_cast<int>(minX) - 1, 0);
             x <= std::min(static_cast<int>(maxX) + 1, width_ - 1); ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSub; ++sy)
                for (int sx = 0; sx < kSub; ++sx)
                    hits += InsidePolygon(points, x + (sx + 0.5) / kSub, y + (sy + 0.5) / kSub);
            if (hits > 0) Blend(x, y, c, hits / double(kSub * kSub));
        }
}

void Image::StrokePolygon(const std::vector<PointF>& points, double width, Rgba c) {
    if (points.empty()) return;
    std::vector<PointF> closed = points;
    closed.push_back(points.front());
    DrawPolyline(closed, width, c);
}

} // namespace vezer::render
