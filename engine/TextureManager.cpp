#include "TextureManager.h"

#include <SDL2/SDL_image.h>
#include <strings.h>

#include <cstdio>
#include <vector>

#include "FileResolver.h"
#include "GL.h"

TextureManager textureManager;

namespace {

// An 8 x 8 magenta and black checker: obvious on screen, safe for every sprite.
void UploadPlaceholder(Texture* t) {
    const int size = 8;
    std::vector<uint8_t> pixels(size * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            uint8_t* p = &pixels[(y * size + x) * 4];
            bool on = ((x / 2) + (y / 2)) % 2 == 0;
            p[0] = on ? 255 : 0;  // B
            p[1] = 0;             // G
            p[2] = on ? 255 : 0;  // R
            p[3] = 255;           // A
        }
    t->width = size;
    t->height = size;
    t->placeholder = true;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, size, size, 0, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
}

}  // namespace

TextureManager::~TextureManager() {
    for (auto it = textures.Begin(); !it.AtEnd(); ++it) delete *it;
    textures.Clear();
}

Texture* TextureManager::GetTexture(const std::string& name) {
    for (auto it = textures.Begin(); !it.AtEnd(); ++it) {
        if (strcasecmp((*it)->fileName.c_str(), name.c_str()) == 0) {
            (*it)->referenceCount += 1;
            return *it;
        }
    }
    Texture* t = new Texture;
    t->referenceCount = 0;
    t->id = nextId++;
    t->fileName = name;

    glGenTextures(1, &t->glName);
    glBindTexture(GL_TEXTURE_2D, t->glName);
    if (mipmaps) {
        glHint(GL_GENERATE_MIPMAP_HINT, GL_FASTEST);
        glTexParameterf(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, 1.0f);
    } else {
        glTexParameterf(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, 0.0f);
    }

    std::string path = FileResolver::Resolve(name);
    SDL_Surface* surface = IMG_Load(path.c_str());
    int bpp = surface ? surface->format->BytesPerPixel : 0;
    if (!surface || (bpp != 3 && bpp != 4)) {
        std::fprintf(stderr, "Brinegate: cannot load image \"%s\" (resolved to \"%s\"): %s\n",
                     name.c_str(), path.c_str(),
                     surface ? "unsupported pixel format" : IMG_GetError());
        UploadPlaceholder(t);
    } else {
        GLenum layout = (bpp == 4 && name.find(".tga") != std::string::npos) ? GL_BGRA : GL_BGR;
        t->width = surface->w;
        t->height = surface->h;
        // Rows may be padded; tell GL the real row length so nothing is read past a row.
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, surface->pitch / bpp);
        SDL_LockSurface(surface);
        glTexImage2D(GL_TEXTURE_2D, 0, bpp, t->width, t->height, 0, layout, GL_UNSIGNED_BYTE,
                     surface->pixels);
        SDL_UnlockSurface(surface);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        SDL_FreeSurface(surface);
    }

    if (!mipmaps) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    }
    t->referenceCount += 1;
    textures.PushBack(t);
    return t;
}

void TextureManager::Bind(Texture* texture, unsigned unit) {
    if (!texture) {
        if (texturing) {
            texturing = 0;
            glDisable(GL_TEXTURE_2D);
        }
        return;
    }
    if (!texturing) {
        texturing = 1;
        glEnable(GL_TEXTURE_2D);
    }
    if (boundId != texture->id) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glClientActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, texture->glName);
        boundId = texture->id;
    }
}

void TextureManager::SetFilterMode(int mode) {
    if (!mipmaps) return;
    switch (mode) {
        case 0:
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            break;
        case 1:
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            break;
        case 2:
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            break;
        default:
            break;
    }
}
