#pragma once

#include <cstdint>
#include <string>

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
    bool nearest = false;      // sampled at the nearest texel (drawn 1:1 or smooth)
};
