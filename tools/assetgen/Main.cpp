#include <cstdio>

#include "AssetGenerator.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s <data folder> [<icon folder>]\n", argv[0]);
        return 2;
    }
    AssetGenerator generator;
    return generator.Run(argv[1], argc == 3 ? argv[2] : "") ? 0 : 1;
}
