#pragma once

#include <string>
#include <vector>

// Turns the game's file names ("images\cursor.tga", "images//splash.tga",
// "Images\scroll.tga") into paths on this system: '\' becomes '/', repeated
// separators collapse, and each component matches regardless of letter case.
// Names are looked up under each search root in order; the working directory
// is always the first root.
class FileResolver {
public:
    // Returns the path of an existing file, or the normalised name when none matches.
    static std::string Resolve(const std::string& name);
    static std::string Normalise(const std::string& name);
    static void AddSearchRoot(const std::string& directory);
    static void ClearSearchRoots();
    static const std::vector<std::string>& SearchRoots();
};
