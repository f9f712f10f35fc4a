#pragma once

#include <string>

#include "Image.h"

// The program's icon for desktop menus and launchers: a merchant ship under sail on
// a teal sea against a dusk sky, in a rounded square with clear corners. Drawn as
// shapes, so each size is sharp rather than scaled from another.
class IconPainter {
public:
    // The sizes installed under the desktop's icon theme.
    static constexpr int kSizes[] = {48, 128, 256};

    // size x size pixels, straight alpha.
    Image Icon(int size) const;

    // Writes the image as a PNG file; false when it cannot be written.
    static bool WritePng(const std::string& path, const Image& image);
};
