#pragma once

#include <cstdint>
#include <string>

#include "List.h"
#include "Singleton.h"
#include "Texture.h"

// Turns image files into cached GL textures and skips redundant binds.
class TextureManager : public singleton<TextureManager> {
public:
    ~TextureManager() override;

    Texture* GetTexture(const std::string& name);
    void Bind(Texture* texture, unsigned unit);
    void SetFilterMode(int mode);

    uint32_t nextId = 0;
    uint32_t boundId = 0;
    uint8_t mipmaps = 0;
    uint8_t texturing = 0;
    List<Texture*> textures;
};

extern TextureManager textureManager;
