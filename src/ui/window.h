#pragma once
// The game's one window: a logical screen (1024 x 768 or 1280 x 1024) drawn in software on a
// canvas and shown scaled by a fixed step with sharp pixels. The only SDL window of the game.

#include "ui/scale.h"

#include <SDL.h>

#include <string>

namespace vezer::ui {

class Window {
public:
    // The window opens at winW x winH (0 = the logical size, shrunk to the display when it is smaller).
    Window(int logicalW, int logicalH, int winW, int winH, bool fullscreen);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    SDL_Surface* canvas() const { return canvas_; }
    int logicalWidth() const { return logicalW_; }
    int logicalHeight() const { return logicalH_; }
    // A new logical size (the game screen's resolution); the canvas is cleared.
    void SetLogicalSize(int w, int h);
    void ToggleFullscreen();

    // Shows the canvas in the window.
    void Present();
    // Window pixel to logical pixel; false in the margins.
    bool ToLogical(int wx, int wy, int& lx, int& ly) const;
    // Logical pixel to window pixel (the test harness aims its clicks with it).
    void ToWindow(int lx, int ly, int& wx, int& wy) const;
    // Writes the canvas as a PNG picture; false (with SDL's reason in `error`) on failure.
    bool SaveShot(const std::string& path, std::string& error) const;

private:
    void MakeCanvas();
    Placement CurrentPlacement() const;

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Surface* canvas_ = nullptr;
    int logicalW_;
    int logicalH_;
};

} // namespace vezer::ui
