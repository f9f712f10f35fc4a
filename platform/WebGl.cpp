#include "WebGl.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace {

// Desktop names WebGL does not know.
constexpr GLenum kBgr = 0x80E0;
constexpr GLenum kBgra = 0x80E1;
constexpr GLenum kGenerateMipmap = 0x8191;
constexpr GLenum kUnpackRowLength = 0x0CF2;
constexpr GLenum kClamp = 0x2900;
constexpr GLenum kBorderColor = 0x1004;
constexpr GLenum kTextureWidth = 0x1000;
constexpr GLenum kTextureHeight = 0x1001;
constexpr GLenum kRgba8 = 0x8058;
constexpr GLenum kRgb8 = 0x8051;

// One level as uploaded: RGBA bytes.
struct Level {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};

struct Kept {
    bool mipmaps = false;
    std::vector<Level> levels;
    // As the engine asked (GL's defaults until it does).
    GLint minFilter = GL_NEAREST_MIPMAP_LINEAR;
    GLint wrapS = GL_REPEAT;
    GLint wrapT = GL_REPEAT;
};

std::unordered_map<GLuint, Kept> g_textures;
int g_unpackRowLength = 0;

GLuint Bound() {
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return static_cast<GLuint>(name);
}

// The next level down: each texel the mean of the (up to) 2 x 2 it covers, rounded.
Level HalfLevel(const Level& from) {
    Level to;
    to.width = std::max(1, from.width / 2);
    to.height = std::max(1, from.height / 2);
    to.rgba.resize(static_cast<size_t>(to.width) * to.height * 4);
    for (int y = 0; y < to.height; ++y)
        for (int x = 0; x < to.width; ++x)
            for (int c = 0; c < 4; ++c) {
                int sum = 0, count = 0;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx) {
                        const int sx = std::min(from.width - 1, x * 2 + dx);
                        const int sy = std::min(from.height - 1, y * 2 + dy);
                        sum += from.rgba[(static_cast<size_t>(sy) * from.width + sx) * 4 + c];
                        ++count;
                    }
                to.rgba[(static_cast<size_t>(y) * to.width + x) * 4 + c] =
                    static_cast<uint8_t>((sum + count / 2) / count);
            }
    return to;
}

bool PowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// WebGL 1 samples a texture whose sides are not powers of two only unmipmapped and
// clamped: such a texture keeps its mipmaps here, for reading back, but draws from its
// first level alone.
bool WholeChain(const Kept& texture) {
    return !texture.levels.empty() && PowerOfTwo(texture.levels[0].width) && PowerOfTwo(texture.levels[0].height);
}

void ApplySampling(const Kept& texture) {
    GLint minFilter = texture.minFilter, wrapS = texture.wrapS, wrapT = texture.wrapT;
    if (!texture.levels.empty() && !WholeChain(texture)) {
        if (minFilter == GL_NEAREST_MIPMAP_NEAREST || minFilter == GL_NEAREST_MIPMAP_LINEAR) minFilter = GL_NEAREST;
        else if (minFilter != GL_NEAREST) minFilter = GL_LINEAR;
        wrapS = wrapT = GL_CLAMP_TO_EDGE;
    }
    if (Bound() == 0) return;  // nothing to set yet: kept for the upload
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);
}

void Upload(GLint index, const Level& level) {
    glTexImage2D(GL_TEXTURE_2D, index, GL_RGBA, level.width, level.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 level.rgba.data());
}

}  // namespace

extern "C" {

void BrinegateGlTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                           GLint border, GLenum format, GLenum type, const void* pixels) {
    (void)internalFormat;
    (void)border;
    if (target != GL_TEXTURE_2D || type != GL_UNSIGNED_BYTE || width <= 0 || height <= 0) {
        glTexImage2D(target, level, static_cast<GLint>(format), width, height, 0, format, type, pixels);
        return;
    }
    int channels = 4;
    if (format == GL_RGB || format == kBgr) channels = 3;
    else if (format == GL_ALPHA || format == GL_LUMINANCE) channels = 1;
    else if (format == GL_LUMINANCE_ALPHA) channels = 2;
    const bool swapped = format == kBgr || format == kBgra;
    const int rowPixels = g_unpackRowLength > 0 ? g_unpackRowLength : width;
    // Everything is kept as RGBA, which is also what WebGL is given.
    Level kept;
    kept.width = width;
    kept.height = height;
    kept.rgba.assign(static_cast<size_t>(width) * height * 4, 255);
    const uint8_t* in = static_cast<const uint8_t*>(pixels);
    if (in) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint8_t* p = in + (static_cast<size_t>(y) * rowPixels + x) * channels;
                uint8_t* q = &kept.rgba[(static_cast<size_t>(y) * width + x) * 4];
                if (channels >= 3) {
                    q[0] = p[swapped ? 2 : 0];
                    q[1] = p[1];
                    q[2] = p[swapped ? 0 : 2];
                    if (channels == 4) q[3] = p[3];
                } else if (format == GL_ALPHA) {
                    q[0] = q[1] = q[2] = 255;
                    q[3] = p[0];
                } else {
                    q[0] = q[1] = q[2] = p[0];
                    if (channels == 2) q[3] = p[1];
                }
            }
    }
    GLint unpack = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    Kept& texture = g_textures[Bound()];
    if (static_cast<size_t>(level) >= texture.levels.size()) texture.levels.resize(level + 1);
    texture.levels[level] = kept;
    if (level == 0 || WholeChain(texture)) Upload(level, kept);
    if (level == 0 && texture.mipmaps) {
        texture.levels.resize(1);
        while (texture.levels.back().width > 1 || texture.levels.back().height > 1) {
            texture.levels.push_back(HalfLevel(texture.levels.back()));
            if (WholeChain(texture)) Upload(static_cast<GLint>(texture.levels.size() - 1), texture.levels.back());
        }
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpack);
    ApplySampling(texture);
}

void BrinegateGlTexParameterf(GLenum target, GLenum name, GLfloat value) {
    if (name == kGenerateMipmap) {
        g_textures[Bound()].mipmaps = value != 0.0f;
        return;
    }
    BrinegateGlTexParameteri(target, name, static_cast<GLint>(value));
}

void BrinegateGlTexParameteri(GLenum target, GLenum name, GLint value) {
    if (name == kGenerateMipmap) {
        g_textures[Bound()].mipmaps = value != 0;
        return;
    }
    if (value == static_cast<GLint>(kClamp)) value = GL_CLAMP_TO_EDGE;
    if (Bound() == 0) return;  // GL would refuse it too
    if (target == GL_TEXTURE_2D &&
        (name == GL_TEXTURE_MIN_FILTER || name == GL_TEXTURE_WRAP_S || name == GL_TEXTURE_WRAP_T)) {
        Kept& texture = g_textures[Bound()];
        if (name == GL_TEXTURE_MIN_FILTER) texture.minFilter = value;
        else if (name == GL_TEXTURE_WRAP_S) texture.wrapS = value;
        else texture.wrapT = value;
        ApplySampling(texture);
        return;
    }
    glTexParameteri(target, name, value);
}

void BrinegateGlGetTexParameterfv(GLenum target, GLenum name, GLfloat* values) {
    if (name == kBorderColor) {
        std::fill(values, values + 4, 0.0f);
        return;
    }
    glGetTexParameterfv(target, name, values);
}

void BrinegateGlGetTexLevelParameteriv(GLenum target, GLint level, GLenum name, GLint* value) {
    (void)target;
    *value = 0;
    const auto found = g_textures.find(Bound());
    if (found == g_textures.end() || level < 0 || static_cast<size_t>(level) >= found->second.levels.size())
        return;
    const Level& kept = found->second.levels[level];
    if (name == kTextureWidth) *value = kept.width;
    else if (name == kTextureHeight) *value = kept.height;
}

void BrinegateGlGetTexImage(GLenum target, GLint level, GLenum format, GLenum type, void* pixels) {
    (void)target;
    const auto found = g_textures.find(Bound());
    if (found == g_textures.end() || level < 0 || static_cast<size_t>(level) >= found->second.levels.size())
        return;
    const Level& kept = found->second.levels[level];
    const size_t count = static_cast<size_t>(kept.width) * kept.height;
    const int channels = format == GL_ALPHA ? 1 : 4;
    for (size_t i = 0; i < count; ++i)
        for (int c = 0; c < channels; ++c) {
            const uint8_t v = kept.rgba[i * 4 + (format == GL_ALPHA ? 3 : c)];
            if (type == GL_FLOAT) static_cast<float*>(pixels)[i * channels + c] = v / 255.0f;
            else static_cast<uint8_t*>(pixels)[i * channels + c] = v;
        }
}

void BrinegateGlPixelStorei(GLenum name, GLint value) {
    if (name == kUnpackRowLength) {
        g_unpackRowLength = value;
        return;
    }
    glPixelStorei(name, value);
}

void BrinegateGlHint(GLenum target, GLenum mode) {
    // WebGL knows only the mipmap hint; mipmaps are made here anyway.
    (void)target;
    (void)mode;
}

void BrinegateGlDeleteTextures(GLsizei count, const GLuint* textures) {
    for (GLsizei i = 0; i < count; ++i) g_textures.erase(textures[i]);
    glDeleteTextures(count, textures);
}

void BrinegateGlCopyTexImage2D(GLenum target, GLint level, GLenum internalFormat, GLint x, GLint y, GLsizei width,
                               GLsizei height, GLint border) {
    // The page's canvas has no alpha channel, and WebGL copies only formats it has.
    if (internalFormat == kRgba8 || internalFormat == GL_RGBA || internalFormat == kRgb8) internalFormat = GL_RGB;
    glCopyTexImage2D(target, level, internalFormat, x, y, width, height, border);
}

}  // extern "C"
