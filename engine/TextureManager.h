#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

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
    // Records and applies the texture's cheaper sampling: nearest where it is drawn
    // texel for pixel. The texture manager's binding is left as it was.
    void SampleCheaply(Texture* texture, Sampling sampling);
    // The recorded cheaper sampling (cheap), or the filters it was loaded with.
    void ApplySampling(Texture* texture, bool cheap);
    // The colour (RGBA, 0 to 1) the texture as loaded gives at texture coordinate
    // (0, 0) where it is magnified; read from GL once.
    const float* TexelAtOrigin(Texture* texture);
    // Forgets every texture and every name asked for, as if none had been loaded. The
    // GL names are not deleted: they go with their context.
    void ReleaseAll();

    // Checks a Targa file's bytes against what its header promises (identification
    // field, colour map, and every pixel, counted through the run-length packets of a
    // compressed image). Returns an empty string for a whole file, otherwise why not.
    // A cut file must not reach the decoder, which may accept it and leave the rest
    // of the picture transparent.
    // `headerSound`, when given, is set when the header itself is whole and sane, so that
    // its size can be trusted even though the pixels are short.
    static std::string TargaDamage(const uint8_t* data, size_t size, bool* headerSound = nullptr);

    uint32_t nextId = 0;
    // No texture has this id, so the first Bind of any texture (id 0 included) binds it.
    static constexpr uint32_t kNoneBound = 0xFFFFFFFFu;
    uint32_t boundId = kNoneBound;
    uint8_t mipmaps = 0;
    uint8_t texturing = 0;
    List<Texture*> textures;

private:
    // Every name asked for so far, as spelt, and the texture it gave.
    std::vector<std::pair<std::string, Texture*>> spellings_;
};

extern TextureManager textureManager;
