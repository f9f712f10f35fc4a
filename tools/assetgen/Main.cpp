#include <cstdio>

#include "AssetGenerator.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <data folder>\n", argv[0]);
        return 2;
    }
    AssetGenerator generator;
    return generator.Run(argv[1]) ? 0 : 1;
}
