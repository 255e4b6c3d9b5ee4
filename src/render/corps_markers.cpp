#include "render/corps_markers.h"

#include "core/geometry.h"
#include "render/font.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vezer::render {

namespace {

constexpr Rgba kInk{38, 32, 26};
constexpr Rgba kWhite{250, 246, 232};
constexpr Rgba kHalo{250, 246, 232, 235};
constexpr double kHalfWidth = 22;
constexpr double kHalfHeight = 14;
constexpr double kStackStep = 7;  // each further corps on a hex sits this far down and right

Rgba SideColour(int side) { return side == 1 ? kHungarianMarker : kImperialMarker; }

// The frame of a marker, centred on `c`.
std::vector<PointF> Frame(PointF c) {
    return {{c.x - kHalfWidth, c.y - kHalfHeight},
            {c.x + kHalfWidth, c.y - kHalfHeight},
            {c.x + kHalfWidth, c.y + kHalfHeight},
            {c.x - kHalfWidth, c.y + kHalfHeight}};
}

// The arm symbol inside the frame: a diagonal for cavalry, a saltire for infantry, a ball for guns.
void DrawArm(Image& img, PointF c, int arm, Rgba ink) {
    const PointF tl{c.x - kHalfWidth + 3, c.y - kHalfHeight + 3}, br{c.x + kHalfWidth - 3, c.y + kHalfHeight - 3};
    const PointF bl{tl.x, br.y}, tr{br.x, tl.y};
    if (arm == 3) {
        img.FillCircle(c, 5.5, ink);
        return;
    }
    img.DrawSegment(bl, tr, 2.4, ink);
    if (arm == 2) img.DrawSegment(tl, br, 2.4, ink);
}

// The size above the frame: one, two or three strokes for a brigade, a division, a corps.
void DrawSize(Image& img, PointF c, int sizeClass, Rgba ink) {
    const int n = std::clamp(sizeClass, 1, 3);
    for (int i = 0; i < n; ++i) {
        const double x = c.x + (i - (n - 1) / 2.0) * 7;
        img.DrawSegment({x, c.y - kHalfHeight - 10}, {x, c.y - kHalfHeight - 3}, 2.4, ink);
    }
}

void DrawMarker(Image& img, PointF c, int side, const THad& corps) {
    const std::vector<PointF> frame = Frame(c);
    std::vector<PointF> shadow;
    for (PointF p : frame) shadow.push_back({p.x + 2, p.y + 2.5});
    img.FillPolygon(shadow, WithAlpha(kInk, 0.35));
    // A garrison is drawn white inside its side's border: it never leaves its fortress.
    img.FillPolygon(frame, corps.Garrison != 0 ? kWhite : SideColour(side));
    img.StrokePolygon(frame, corps.Garrison != 0 ? 3.2 : 2.2, corps.Garrison != 0 ? SideColour(side) : kInk);
    DrawArm(img, c, DominantArm(corps), kInk);
    DrawSize(img, c, corps.SizeClass, kInk);
}

} // namespace

int DominantArm(const THad& corps) {
    const long long cavalry = corps.CavalryMen, infantry = corps.InfantryMen, guns = 150LL * corps.Guns;
    if (guns > cavalry && guns > infantry) return 3;
    return cavalry > infantry ? 1 : 2;
}

void DrawCorpsMarkers(Image& img, const State& st, const CorpsMarkerOptions& options) {
    const Font name{FindDejaVuFont("DejaVuSans-Bold.ttf"), 14};
    std::map<std::pair<int, int>, int> onHex;  // markers already drawn on a hex
    for (int side = 1; side <= 2; ++side)
        for (int k = 1; k <= st.CorpsCount[static_cast<std::size_t>(side)]; ++k) {
            const THad& corps = st.CorpsRec(side, k);
            if (!OnMap(st, {corps.X, corps.Y})) continue;
            const Pixel p = HexToPixel({corps.X, corps.Y});
            const int stacked = onHex[{corps.X, corps.Y}]++;
            const PointF c{p.X + stacked * kStackStep, p.Y + stacked * kStackStep};
            DrawMarker(img, c, side, corps);
            if (!options.names || corps.Garrison != 0) continue;
            const TTabornok& general = st.General(side, corps.General);
            const std::string label = general.FamilyName.str();
            if (label.empty()) continue;
            const TextBox box = name.Measure(label);
            name.Draw(img, int(c.x) - box.width / 2, int(c.y + kHalfHeight) + box.ascent + 3, label, kInk, kHalo, 2);
        }
}

} // namespace vezer::render
