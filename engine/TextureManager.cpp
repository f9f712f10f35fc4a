#include "TextureManager.h"

#include <SDL2/SDL_image.h>
#include <strings.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <vector>

#include "DataFile.h"
#include "FileResolver.h"
#include "GL.h"
#include "Report.h"

TextureManager textureManager;

namespace {

// An 8 x 8 magenta and black checker: obvious on screen, safe for every sprite.
void UploadPlaceholder(Texture* t) {
    const int size = 8;
    std::vector<uint8_t> pixels(size * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            uint8_t* p = &pixels[(y * size + x) * 4];
            bool on = ((x / 2) + (y / 2)) % 2 == 0;
            p[0] = on ? 255 : 0;  // B
            p[1] = 0;             // G
            p[2] = on ? 255 : 0;  // R
            p[3] = 255;           // A
        }
    t->width = size;
    t->height = size;
    t->placeholder = true;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, size, size, 0, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
}

__attribute__((format(printf, 1, 2))) std::string Format(const char* format, ...) {
    char text[160];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// Far past any image of the game's, and small enough to read whole before decoding.
constexpr size_t kMaxImageBytes = size_t{64} << 20;
static_assert(kMaxImageBytes <= INT32_MAX, "SDL_RWFromConstMem takes the size as an int");

// GL's own limit on a texture side, and a bound of ours: a picture this size is far past
// anything the game draws, while its decoded pixels (256 MiB at 8192) still fit.
constexpr int kMaxSide = 8192;

int MaxTextureSide() {
    static GLint gl = 0;
    // Asked until a context answers; meanwhile only our own bound applies.
    if (gl <= 0) glGetIntegerv(GL_MAX_TEXTURE_SIZE, &gl);
    return gl > 0 ? std::min<int>(gl, kMaxSide) : kMaxSide;
}

// Hands the decoded rows to GL exactly as they lie. Rows padded to a length that is not
// a whole number of pixels (24 bits at most widths) are packed tight first.
void UploadSurface(SDL_Surface* surface, int bpp, GLenum layout) {
    const int w = surface->w, h = surface->h, pitch = surface->pitch;
    SDL_LockSurface(surface);
    const uint8_t* pixels = static_cast<const uint8_t*>(surface->pixels);
    std::vector<uint8_t> packed;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (pitch % bpp == 0) {
        glPixelStorei(GL_UNPACK_ROW_LENGTH, pitch / bpp);
    } else {
        const size_t row = static_cast<size_t>(w) * static_cast<size_t>(bpp);
        packed.resize(row * static_cast<size_t>(h));
        for (int y = 0; y < h; ++y)
            std::memcpy(&packed[row * static_cast<size_t>(y)], pixels + static_cast<size_t>(pitch) * y, row);
        pixels = packed.data();
    }
    glTexImage2D(GL_TEXTURE_2D, 0, bpp, w, h, 0, layout, GL_UNSIGNED_BYTE, pixels);
    SDL_UnlockSurface(surface);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

// Reads back every level of the bound texture (mipmaps as GL made them) and records
// where alpha above 0 can be sampled; see Texture::shown.
void MeasureShown(Texture* t) {
    t->shown.clear();
    float s0 = 2.0f, t0 = 2.0f, s1 = -1.0f, t1 = -1.0f;
    std::vector<uint8_t> alpha;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (GLint level = 0; level < 32; ++level) {
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
        if (w <= 0 || h <= 0) break;
        alpha.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 255);
        glGetTexImage(GL_TEXTURE_2D, level, GL_ALPHA, GL_UNSIGNED_BYTE, alpha.data());
        int x0 = w, y0 = h, x1 = -1, y1 = -1;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (alpha[static_cast<size_t>(y) * w + x] > 0) {
                    x0 = std::min(x0, x), x1 = std::max(x1, x);
                    y0 = std::min(y0, y), y1 = std::max(y1, y);
                }
        if (x1 >= 0) {
            // One texel more each way, for filtering; from an edge on, the whole span.
            const float a = x0 > 1 ? static_cast<float>(x0 - 1) / w : 0.0f;
            const float b = x1 + 2 < w ? static_cast<float>(x1 + 2) / w : 1.0f;
            const float c = y0 > 1 ? static_cast<float>(y0 - 1) / h : 0.0f;
            const float d = y1 + 2 < h ? static_cast<float>(y1 + 2) / h : 1.0f;
            s0 = std::min(s0, a == 0.0f || b == 1.0f ? 0.0f : a);
            s1 = std::max(s1, a == 0.0f || b == 1.0f ? 1.0f : b);
            t0 = std::min(t0, c == 0.0f || d == 1.0f ? 0.0f : c);
            t1 = std::max(t1, c == 0.0f || d == 1.0f ? 1.0f : d);
        }
        t->shown.insert(t->shown.end(), {s0, t0, s1, t1});
        if (w == 1 && h == 1) break;
    }
}

// The extension picks the decoder, as IMG_Load does for a file name.
const char* Extension(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return nullptr;
    return path.c_str() + dot + 1;
}

}  // namespace

std::string TextureManager::TargaDamage(const uint8_t* d, size_t size, bool* headerSound) {
    if (headerSound) *headerSound = false;
    constexpr unsigned kHeader = 18;
    if (size < kHeader)
        return Format("damaged Targa: %zu bytes, shorter than the %u-byte header", size, kHeader);
    const unsigned idLength = d[0];
    const unsigned mapType = d[1];
    const unsigned type = d[2];
    const unsigned mapLength = d[5] | (d[6] << 8);
    const unsigned mapBits = d[7];
    const unsigned width = d[12] | (d[13] << 8);
    const unsigned height = d[14] | (d[15] << 8);
    const unsigned bits = d[16];
    const unsigned kind = type & ~8u;  // 1 colour-mapped, 2 true colour, 3 grey; +8 run-length
    const bool runLength = (type & 8u) != 0;

    if (kind < 1 || kind > 3) return Format("damaged Targa: image type %u holds no picture", type);
    if (width == 0 || height == 0)
        return Format("damaged Targa: the header gives a %u x %u picture", width, height);
    if (mapType > 1) return Format("damaged Targa: unknown colour map type %u", mapType);
    if (kind == 1 && mapType != 1)
        return Format("damaged Targa: colour-mapped image type %u without a colour map", type);
    const bool bitsFit = kind == 2 ? (bits == 15 || bits == 16 || bits == 24 || bits == 32)
                                   : (bits == 8 || bits == 16);
    if (!bitsFit) return Format("damaged Targa: %u bits a pixel in an image of type %u", bits, type);
    if (headerSound) *headerSound = true;

    const uint64_t pixelBytes = (bits + 7) / 8;
    const uint64_t mapBytes = mapType == 1 ? uint64_t{mapLength} * ((mapBits + 7) / 8) : 0;
    const uint64_t pixels = uint64_t{width} * height;
    uint64_t at = kHeader + idLength + mapBytes;
    if (at > size)
        return Format("damaged Targa: cut short after %zu bytes, before its pixels start at byte %llu",
                      size, static_cast<unsigned long long>(at));
    if (!runLength) {
        const uint64_t need = at + pixels * pixelBytes;
        if (size < need)
            return Format("damaged Targa: cut short after %zu of the %llu bytes its header describes",
                          size, static_cast<unsigned long long>(need));
        return {};
    }
    // Each packet: a count byte, then one pixel repeated (top bit set) or that many raw pixels.
    uint64_t count = 0;
    while (count < pixels && at < size) {
        const unsigned packet = d[at++];
        const uint64_t run = (packet & 0x7Fu) + 1;
        const uint64_t bytes = (packet & 0x80u) ? pixelBytes : run * pixelBytes;
        if (at + bytes > size) break;
        at += bytes;
        count += run;
    }
    if (count < pixels)
        return Format("damaged Targa: its run-length data ends after %llu of %llu pixels",
                      static_cast<unsigned long long>(count), static_cast<unsigned long long>(pixels));
    return {};
}

TextureManager::~TextureManager() { ReleaseAll(); }

void TextureManager::ReleaseAll() {
    // The spellings point into the list: both go together.
    spellings_.clear();
    for (auto it = textures.Begin(); !it.AtEnd(); ++it) delete *it;
    textures.Clear();
    nextId = 0;
    boundId = kNoneBound;
}

Texture* TextureManager::GetTexture(const std::string& name) {
    // A spelling seen before is found without touching the file system: sprites ask
    // for their textures all through play.
    for (const auto& [spelling, texture] : spellings_) {
        if (strcasecmp(spelling.c_str(), name.c_str()) == 0) {
            texture->referenceCount += 1;
            return texture;
        }
    }
    // Otherwise keyed on the file the name leads to: the game spells some names more
    // than one way.
    const std::string path = FileResolver::Resolve(name);
    for (auto it = textures.Begin(); !it.AtEnd(); ++it) {
        if (strcasecmp((*it)->path.c_str(), path.c_str()) == 0) {
            (*it)->referenceCount += 1;
            spellings_.emplace_back(name, *it);
            return *it;
        }
    }
    Texture* t = new Texture;
    t->referenceCount = 0;
    t->id = nextId++;
    t->fileName = name;
    t->path = path;

    // A texture loaded in the middle of a frame must not change what the next draw of
    // the texture the manager thinks is bound shows: put the old binding back afterwards.
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glGenTextures(1, &t->glName);
    glBindTexture(GL_TEXTURE_2D, t->glName);
    t->mipmapped = mipmaps != 0;
    if (mipmaps) {
        glHint(GL_GENERATE_MIPMAP_HINT, GL_FASTEST);
        glTexParameterf(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, 1.0f);
    } else {
        glTexParameterf(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, 0.0f);
    }

    // Read once, checked, then decoded from memory by the decoder IMG_Load would pick.
    const char* extension = Extension(path);
    const bool targa = extension && strcasecmp(extension, "tga") == 0;
    const int maxSide = MaxTextureSide();
    DataFile file;
    std::string problem;
    // The size a cut-short Targa's header gives: the checker takes it, so that what the
    // game builds on the image (a sprite's size, its box) is as with the whole file.
    int headerWidth = 0, headerHeight = 0;
    SDL_Surface* surface = nullptr;
    if (!file.Read(path, kMaxImageBytes)) {
        problem = file.why == DataFile::kTooLarge ? Format("larger than %zu MiB", kMaxImageBytes >> 20) : file.why;
    } else {
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(file.bytes.data());
        const size_t size = file.bytes.size();
        // Refused before anything else: a few megabytes of runs can promise gigabytes of pixels.
        if (targa && size >= 18) {
            const int w = bytes[12] | (bytes[13] << 8), h = bytes[14] | (bytes[15] << 8);
            if (w > maxSide || h > maxSide)
                problem = Format("%d x %d pixels, more than the %d a side this system can draw", w, h,
                                 maxSide);
        }
        bool headerSound = false;
        if (targa && problem.empty()) problem = TargaDamage(bytes, size, &headerSound);
        if (!problem.empty() && headerSound) {
            headerWidth = bytes[12] | (bytes[13] << 8);
            headerHeight = bytes[14] | (bytes[15] << 8);
        }
        if (problem.empty()) {
            surface = IMG_LoadTyped_RW(SDL_RWFromConstMem(bytes, static_cast<int>(size)), 1, extension);
            if (!surface) problem = IMG_GetError();
        }
    }
    int bpp = surface ? surface->format->BytesPerPixel : 0;
    if (surface && bpp != 3 && bpp != 4) problem = "unsupported pixel format";
    // GL would draw a texture past its limit white, without a word.
    if (surface && problem.empty() && (surface->w > maxSide || surface->h > maxSide))
        problem = Format("%d x %d pixels, more than the %d a side this system can draw", surface->w,
                         surface->h, maxSide);
    if (!problem.empty()) {
        Report("cannot load image \"" + name + "\" (resolved to \"" + path + "\"): " + problem);
        if (surface) SDL_FreeSurface(surface);
        UploadPlaceholder(t);
        if (headerWidth > 0 && headerHeight > 0) {
            t->width = headerWidth;
            t->height = headerHeight;
        }
    } else {
        GLenum layout = (bpp == 4 && name.find(".tga") != std::string::npos) ? GL_BGRA : GL_BGR;
        t->width = surface->w;
        t->height = surface->h;
        UploadSurface(surface, bpp, layout);
        SDL_FreeSurface(surface);
        MeasureShown(t);
    }

    if (!mipmaps) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    t->referenceCount += 1;
    textures.PushBack(t);
    spellings_.emplace_back(name, t);
    return t;
}

void TextureManager::Bind(Texture* texture, unsigned unit) {
    if (!texture) {
        if (texturing) {
            texturing = 0;
            glDisable(GL_TEXTURE_2D);
        }
        return;
    }
    if (!texturing) {
        texturing = 1;
        glEnable(GL_TEXTURE_2D);
    }
    if (boundId != texture->id) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glClientActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, texture->glName);
        boundId = texture->id;
    }
}

void TextureManager::SampleCheaply(Texture* texture, Sampling sampling) {
    if (!texture) return;
    texture->cheaper = sampling;
    ApplySampling(texture, true);
}

void TextureManager::ApplySampling(Texture* texture, bool cheap) {
    if (!texture) return;
    const Sampling s = cheap ? texture->cheaper : Sampling::kAsLoaded;
    // As loaded: GL's default filters under mipmaps, linear both ways without.
    GLint minFilter = texture->mipmapped ? GL_NEAREST_MIPMAP_LINEAR : GL_LINEAR, magFilter = GL_LINEAR;
    if (s == Sampling::kNearest) minFilter = magFilter = GL_NEAREST;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, texture->glName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
}

const float* TextureManager::TexelAtOrigin(Texture* texture) {
    if (texture->originRead) return texture->atOrigin;
    texture->originRead = true;
    GLint previous = 0, w = 0, h = 0, wrap[2] = {GL_REPEAT, GL_REPEAT};
    float border[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, texture->glName);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap[0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap[1]);
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    if (w > 0 && h > 0) {
        std::vector<float> texels(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, texels.data());
        // Linear sampling at (0, 0) weighs texels -1 and 0 each way by a half; texel -1
        // is the far edge when repeating, the border colour under GL_CLAMP, else the edge.
        const int size[2] = {w, h};
        auto index = [&](int axis, int i) {
            if (i >= 0) return i;
            if (wrap[axis] == GL_REPEAT) return size[axis] - 1;
            return wrap[axis] == GL_CLAMP ? -1 : 0;
        };
        for (int c = 0; c < 4; ++c) texture->atOrigin[c] = 0.0f;
        for (int y : {-1, 0})
            for (int x : {-1, 0}) {
                const int i = index(0, x), j = index(1, y);
                const float* t = (i < 0 || j < 0) ? border : &texels[(static_cast<size_t>(j) * w + i) * 4];
                for (int c = 0; c < 4; ++c) texture->atOrigin[c] += 0.25f * t[c];
            }
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    return texture->atOrigin;
}

void TextureManager::SetFilterMode(int mode) {
    if (!mipmaps) return;
    switch (mode) {
        case 0:
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            break;
        case 1:
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            break;
        case 2:
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            break;
        default:
            break;
    }
}
