#pragma once
// How the logical screen (1024 x 768 or 1280 x 1024) sits in a window of any size: the
// largest of the steps 2, 1.5, 1.25 and 1 at which it fits, centred with black margins. A
// window smaller than the logical screen shows it scaled down to fit, never cut.

namespace vezer::ui {

struct Placement {
    int x = 0, y = 0, w = 0, h = 0; // the logical screen's rectangle in window pixels
};

// The scale factor for a window of winW x winH.
double ScaleFor(int winW, int winH, int logicalW, int logicalH);
Placement PlaceLogical(int winW, int winH, int logicalW, int logicalH);
// Window pixel to logical pixel; false when the point lies in the margin.
bool WindowToLogical(const Placement& p, int logicalW, int logicalH, int wx, int wy, int& lx, int& ly);

} // namespace vezer::ui
