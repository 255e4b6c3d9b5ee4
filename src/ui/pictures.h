#pragma once
// The game's pictures by name: "<game dir>/pictures/<name>.png", painted at build time by our
// own tool; a picture that is not there yet is drawn here in a plain form of the same size,
// so the screens work in any order of building.

#include <SDL.h>

#include <functional>
#include <map>
#include <string>

namespace vezer::ui {

class Pictures {
public:
    explicit Pictures(std::string gameDir);
    ~Pictures();
    Pictures(const Pictures&) = delete;
    Pictures& operator=(const Pictures&) = delete;

    // The picture, or a placeholder of the given size made by `fallback` (may be empty: a plain
    // labelled box). Never null.
    SDL_Surface* Get(const std::string& name, int w, int h,
                     const std::function<void(SDL_Surface*)>& fallback = nullptr);
    // Whether the file itself is there (not a placeholder).
    bool Has(const std::string& name) const;
    // A picture made by the caller once and kept under a name (the minimap, shaded copies).
    SDL_Surface* Keep(const std::string& name, SDL_Surface* surface);
    SDL_Surface* Find(const std::string& name) const;

private:
    std::string folder_;
    std::map<std::string, SDL_Surface*> cache_;
};

// An empty ARGB picture (transparent).
SDL_Surface* NewPicture(int w, int h);

} // namespace vezer::ui
