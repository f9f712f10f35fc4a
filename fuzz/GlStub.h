#pragma once

// A stand-in for libGL in the fuzz targets: no context, no window. Linked into the
// executable, its gl* definitions take the place of libGL's. It reads the memory GL
// would read (every byte of an uploaded image, every element a draw call fetches), so
// the sanitizers see overruns, and it aborts on what GL would refuse with an error
// the engine never checks for (a texture beyond GL_MAX_TEXTURE_SIZE, a bad unpack
// alignment, matrix stack overflow).
#include <cstdint>
#include <vector>

#include "GL.h"

namespace glstub {

constexpr GLint kMaxTextureSize = 8192;

// The last level-0 glTexImage2D, its pixels as GL took them (rows packed tight).
struct Upload {
    bool made = false;
    GLint internalFormat = 0;
    GLsizei width = 0;
    GLsizei height = 0;
    GLenum format = 0;
    int components = 0;
    std::vector<uint8_t> pixels;
};

const Upload& LastUpload();
void ForgetUpload();

}  // namespace glstub
