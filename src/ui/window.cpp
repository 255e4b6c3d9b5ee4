#include "ui/window.h"

#include <SDL_image.h>

#include <stdexcept>

namespace vezer::ui {

Window::Window(int logicalW, int logicalH, int winW, int winH, bool fullscreen)
    : logicalW_(logicalW), logicalH_(logicalH) {
    if (winW <= 0 || winH <= 0) {
        winW = logicalW;
        winH = logicalH;
        SDL_Rect usable;
        if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0) {
            if (winW > usable.w || winH > usable.h) {
                winW = std::min(winW, usable.w);
                winH = std::min(winH, usable.h);
            }
        }
    }
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ = SDL_CreateWindow("Vezér", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, winW, winH, flags);
    if (window_ == nullptr)
        throw std::runtime_error(std::string("cannot open the window: ") + SDL_GetError());
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
    if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ == nullptr) {
        SDL_DestroyWindow(window_);
        throw std::runtime_error(std::string("cannot draw in the window: ") + SDL_GetError());
    }
    MakeCanvas();
}

Window::~Window() {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (canvas_ != nullptr) SDL_FreeSurface(canvas_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
}

void Window::MakeCanvas() {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (canvas_ != nullptr) SDL_FreeSurface(canvas_);
    canvas_ = SDL_CreateRGBSurfaceWithFormat(0, logicalW_, logicalH_, 32, SDL_PIXELFORMAT_ARGB8888);
    if (canvas_ == nullptr)
        throw std::runtime_error(std::string("no memory for the screen: ") + SDL_GetError());
    SDL_FillRect(canvas_, nullptr, SDL_MapRGB(canvas_->format, 0, 0, 0));
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, logicalW_,
                                 logicalH_);
    if (texture_ == nullptr)
        throw std::runtime_error(std::string("cannot make the screen: ") + SDL_GetError());
}

void Window::SetLogicalSize(int w, int h) {
    if (w == logicalW_ && h == logicalH_) return;
    logicalW_ = w;
    logicalH_ = h;
    MakeCanvas();
}

void Window::ToggleFullscreen() {
    const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

Placement Window::CurrentPlacement() const {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    return PlaceLogical(w, h, logicalW_, logicalH_);
}

void Window::Present() {
    SDL_UpdateTexture(texture_, nullptr, canvas_->pixels, canvas_->pitch);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    const Placement p = CurrentPlacement();
    SDL_Rect dst{p.x, p.y, p.w, p.h};
    SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
    SDL_RenderPresent(renderer_);
}

bool Window::ToLogical(int wx, int wy, int& lx, int& ly) const {
    // Mouse events come in window points; the renderer may have more pixels (high DPI).
    int ww = 0, wh = 0, ow = 0, oh = 0;
    SDL_GetWindowSize(window_, &ww, &wh);
    SDL_GetRendererOutputSize(renderer_, &ow, &oh);
    if (ww > 0 && wh > 0) {
        wx = wx * ow / ww;
        wy = wy * oh / wh;
    }
    return WindowToLogical(CurrentPlacement(), logicalW_, logicalH_, wx, wy, lx, ly);
}

void Window::ToWindow(int lx, int ly, int& wx, int& wy) const {
    const Placement p = CurrentPlacement();
    int ww = 0, wh = 0, ow = 0, oh = 0;
    SDL_GetWindowSize(window_, &ww, &wh);
    SDL_GetRendererOutputSize(renderer_, &ow, &oh);
    // The centre of the logical pixel, so that the way back lands on the same pixel.
    const double sx = static_cast<double>(p.w) / logicalW_;
    const double sy = static_cast<double>(p.h) / logicalH_;
    wx = p.x + static_cast<int>((lx + 0.5) * sx);
    wy = p.y + static_cast<int>((ly + 0.5) * sy);
    if (ow > 0 && oh > 0) {
        wx = wx * ww / ow;
        wy = wy * wh / oh;
    }
}

bool Window::SaveShot(const std::string& path, std::string& error) const {
    if (IMG_SavePNG(canvas_, path.c_str()) != 0) {
        error = SDL_GetError();
        return false;
    }
    return true;
}

} // namespace vezer::ui
