#include "ui/pictures.h"

#include <SDL_image.h>

#include <filesystem>
#include <stdexcept>

namespace vezer::ui {

SDL_Surface* NewPicture(int w, int h) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (s == nullptr) throw std::runtime_error(std::string("no memory for a picture: ") + SDL_GetError());
    SDL_FillRect(s, nullptr, 0);
    SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_BLEND);
    return s;
}

Pictures::Pictures(std::string gameDir) : folder_(std::move(gameDir) + "/pictures/") {}

Pictures::~Pictures() {
    for (auto& [name, s] : cache_) SDL_FreeSurface(s);
}

bool Pictures::Has(const std::string& name) const {
    std::error_code ec;
    return std::filesystem::exists(folder_ + name + ".png", ec);
}

SDL_Surface* Pictures::Find(const std::string& name) const {
    auto it = cache_.find(name);
    return it == cache_.end() ? nullptr : it->second;
}

SDL_Surface* Pictures::Keep(const std::string& name, SDL_Surface* surface) {
    if (auto it = cache_.find(name); it != cache_.end()) SDL_FreeSurface(it->second);
    cache_[name] = surface;
    return surface;
}

SDL_Surface* Pictures::Get(const std::string& name, int w, int h,
                           const std::function<void(SDL_Surface*)>& fallback) {
    if (auto it = cache_.find(name); it != cache_.end()) return it->second;
    SDL_Surface* s = nullptr;
    if (Has(name)) {
        if (SDL_Surface* loaded = IMG_Load((folder_ + name + ".png").c_str()); loaded != nullptr) {
            s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
            SDL_FreeSurface(loaded);
            if (s != nullptr) SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_BLEND);
        }
    }
    if (s == nullptr) {
        s = NewPicture(std::max(1, w), std::max(1, h));
        if (fallback) {
            fallback(s);
        } else {
            SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, 200, 180, 140, 255));
        }
    }
    cache_[name] = s;
    return s;
}

} // namespace vezer::ui
