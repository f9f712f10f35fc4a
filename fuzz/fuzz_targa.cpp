// Targa files from arbitrary bytes: the damage check, and for what passes it the real
// load (read, decode, upload) into the stubbed GL. What GL was handed must be the
// decoded picture row for row, whatever padding the decoder put between the rows.
#include <SDL2/SDL_image.h>

#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "GlStub.h"
#include "TextureManager.h"

namespace {

Uint32 SdlFormatFor(GLenum format) {
    switch (format) {
        case GL_BGR: return SDL_PIXELFORMAT_BGR24;
        case GL_RGB: return SDL_PIXELFORMAT_RGB24;
        case GL_BGRA: return SDL_PIXELFORMAT_BGRA32;
        case GL_RGBA: return SDL_PIXELFORMAT_RGBA32;
        default: return SDL_PIXELFORMAT_UNKNOWN;
    }
}

// The picture as the decoder gives it, in the layout the texture was uploaded with.
void CompareWithDecoded(const uint8_t* data, size_t size, const Texture& texture) {
    const glstub::Upload& up = glstub::LastUpload();
    if (!up.made) fuzz::Fail("texture %d x %d loaded but nothing uploaded", texture.width, texture.height);
    if (up.width != texture.width || up.height != texture.height)
        fuzz::Fail("texture says %d x %d, GL got %d x %d", texture.width, texture.height, up.width, up.height);
    SDL_Surface* decoded = IMG_LoadTyped_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1, "TGA");
    if (!decoded) fuzz::Fail("texture loaded from a Targa the decoder refuses: %s", IMG_GetError());
    // Shrunk to fit GL: only the size can be checked.
    if (decoded->w != up.width || decoded->h != up.height) {
        if (decoded->w <= glstub::kMaxTextureSize && decoded->h <= glstub::kMaxTextureSize)
            fuzz::Fail("a %d x %d picture uploaded as %d x %d", decoded->w, decoded->h, up.width, up.height);
        SDL_FreeSurface(decoded);
        return;
    }
    const Uint32 format = SdlFormatFor(up.format);
    if (format == SDL_PIXELFORMAT_UNKNOWN) fuzz::Fail("texture uploaded in GL format 0x%x", up.format);
    SDL_Surface* expected = SDL_ConvertSurfaceFormat(decoded, format, 0);
    SDL_FreeSurface(decoded);
    if (!expected) fuzz::Fail("cannot convert the decoded picture: %s", SDL_GetError());
    const size_t rowBytes = static_cast<size_t>(up.width) * static_cast<size_t>(up.components);
    for (int y = 0; y < up.height; ++y) {
        const auto* want = static_cast<const uint8_t*>(expected->pixels) + static_cast<size_t>(y) * expected->pitch;
        if (std::memcmp(up.pixels.data() + static_cast<size_t>(y) * rowBytes, want, rowBytes) != 0)
            fuzz::Fail("%d x %d picture: row %d of the upload is not row %d of the picture", up.width,
                       up.height, y, y);
    }
    SDL_FreeSurface(expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!TextureManager::TargaDamage(data, size).empty()) return 0;
    const std::string path = fuzz::WriteScratch("input.tga", data, size);
    glstub::ForgetUpload();
    Texture* texture = textureManager.GetTexture(path);
    if (!texture) fuzz::Fail("GetTexture returned no texture");
    if (!texture->placeholder) CompareWithDecoded(data, size, *texture);
    textureManager.ReleaseAll();
    return 0;
}
