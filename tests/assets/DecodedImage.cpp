#include "DecodedImage.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <algorithm>

DecodedImage::DecodedImage(const std::string& path) {
    SDL_Surface* surface = IMG_Load(path.c_str());
    if (!surface) {
        error_ = IMG_GetError();
        return;
    }
    bytesPerPixel_ = surface->format->BytesPerPixel;
    const int w = surface->w, h = surface->h;
    rgba_.resize(static_cast<size_t>(w) * h * 4);
    raw_.resize(static_cast<size_t>(w) * h * bytesPerPixel_);
    SDL_LockSurface(surface);
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch;
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = row + static_cast<size_t>(x) * bytesPerPixel_;
            std::copy(p, p + bytesPerPixel_, &raw_[(static_cast<size_t>(y) * w + x) * bytesPerPixel_]);
            Uint32 value = 0;
            for (int k = 0; k < bytesPerPixel_; ++k) value |= static_cast<Uint32>(p[k]) << (8 * k);
            Uint8 r, g, b, a;
            SDL_GetRGBA(value, surface->format, &r, &g, &b, &a);
            uint8_t* out = &rgba_[(static_cast<size_t>(y) * w + x) * 4];
            out[0] = r;
            out[1] = g;
            out[2] = b;
            out[3] = a;
        }
    }
    SDL_UnlockSurface(surface);
    SDL_FreeSurface(surface);
    width_ = w;
    height_ = h;
}

double DecodedImage::Luma(int x, int y) const {
    const uint8_t* p = Rgba(x, y);
    return (0.2126 * p[0] + 0.7152 * p[1] + 0.0722 * p[2]) / 255.0;
}
