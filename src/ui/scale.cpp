#include "ui/scale.h"

#include <algorithm>

namespace vezer::ui {

double ScaleFor(int winW, int winH, int logicalW, int logicalH) {
    if (logicalW <= 0 || logicalH <= 0 || winW <= 0 || winH <= 0) return 1.0;
    for (double step : {2.0, 1.5, 1.25, 1.0}) {
        if (logicalW * step <= winW && logicalH * step <= winH) return step;
    }
    return std::min(static_cast<double>(winW) / logicalW, static_cast<double>(winH) / logicalH);
}

Placement PlaceLogical(int winW, int winH, int logicalW, int logicalH) {
    const double s = ScaleFor(winW, winH, logicalW, logicalH);
    Placement p;
    p.w = std::max(1, static_cast<int>(logicalW * s));
    p.h = std::max(1, static_cast<int>(logicalH * s));
    p.x = (winW - p.w) / 2;
    p.y = (winH - p.h) / 2;
    return p;
}

bool WindowToLogical(const Placement& p, int logicalW, int logicalH, int wx, int wy, int& lx, int& ly) {
    if (p.w <= 0 || p.h <= 0) return false;
    if (wx < p.x || wy < p.y || wx >= p.x + p.w || wy >= p.y + p.h) return false;
    lx = static_cast<int>(static_cast<long long>(wx - p.x) * logicalW / p.w);
    ly = static_cast<int>(static_cast<long long>(wy - p.y) * logicalH / p.h);
    return true;
}

} // namespace vezer::ui
