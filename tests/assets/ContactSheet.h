#pragma once

#include <string>

#include "ScenePreview.h"

// One PNG for a person to look at: four game frames put together from the
// generated art (play, menu, shop, ghost sea), then every image on its own, on a
// checkerboard that shows transparency, labelled with its name and size.
class ContactSheet {
public:
    static constexpr int kWidth = 1600;

    // Returns false when the PNG cannot be written.
    static bool Write(const ScenePreview& preview, const std::string& pngPath);
};
