#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How a texture is sampled: as loaded (mipmapped, or linear without mipmaps), or at
// the nearest texel where that draws the same picture.
enum class Sampling : uint8_t { kAsLoaded, kNearest };

// One GL texture made from one image file; owned by the texture manager.
struct Texture {
    uint32_t glName = 0;
    std::string fileName;  // as first requested
    std::string path;      // the file it was read from (the cache's key)
    int32_t referenceCount = 0;
    int32_t width = 0;   // pixels
    int32_t height = 0;  // pixels
    uint32_t id = 0;     // creation order, from 0
    bool placeholder = false;  // the file could not be read
    bool mipmapped = false;    // loaded with mipmaps and GL's own filters
    // The cheaper sampling its owner found to draw the same picture, if any.
    Sampling cheaper = Sampling::kAsLoaded;
    float atOrigin[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // sampled at (0, 0), once read
    // Where texels of alpha above 0 can be sampled, for levels 0 to k (entry k): s0, t0,
    // s1, t1 in texture coordinates, each level's texels widened by one of its own
    // texels, and the whole width or height where that reaches an edge (a repeating
    // texture wraps there). s0 > s1: nothing shows. Empty: not known.
    std::vector<float> shown;
    bool originRead = false;
};
