#include "GlStub.h"

#include <cstring>

#include "FuzzSupport.h"

namespace {

struct ClientArray {
    bool enabled = false;
    GLint size = 0;
    GLenum type = 0;
    GLsizei stride = 0;
    const void* pointer = nullptr;
};

constexpr int kUnits = 8;

struct State {
    GLint unpackAlignment = 4;
    GLint unpackRowLength = 0;
    GLint unpackSkipRows = 0;
    GLint unpackSkipPixels = 0;
    GLuint nextName = 1;
    GLuint bound2d = 0;
    GLint viewport[4] = {0, 0, 0, 0};
    GLenum matrixMode = GL_MODELVIEW;
    int modelviewDepth = 1;
    int projectionDepth = 1;
    int textureDepth = 1;
    int clientUnit = 0;
    ClientArray vertex, colour, texCoord[kUnits];
    glstub::Upload upload;
    std::vector<uint8_t> scratch;
} gl;

size_t TypeSize(GLenum type) {
    switch (type) {
        case GL_BYTE:
        case GL_UNSIGNED_BYTE: return 1;
        case GL_SHORT:
        case GL_UNSIGNED_SHORT: return 2;
        case GL_INT:
        case GL_UNSIGNED_INT:
        case GL_FLOAT: return 4;
        case GL_DOUBLE: return 8;
        default: fuzz::Fail("GL stub: unknown array type 0x%x", type);
    }
}

int Components(GLenum format) {
    switch (format) {
        case GL_RED:
        case GL_ALPHA:
        case GL_LUMINANCE: return 1;
        case GL_LUMINANCE_ALPHA: return 2;
        case GL_RGB:
        case GL_BGR: return 3;
        case GL_RGBA:
        case GL_BGRA: return 4;
        default: fuzz::Fail("GL stub: pixel format 0x%x is not one GL 1.2 takes", format);
    }
}

// Copies out a width x height block as glTexImage2D would fetch it, honouring the
// unpack row length, alignment and skips; the copy is where ASan sees a short buffer.
void Unpack(const char* call, GLsizei width, GLsizei height, GLenum format, GLenum type, const void* pixels,
            std::vector<uint8_t>& out, int& components) {
    if (width < 0 || height < 0) fuzz::Fail("GL stub: %s of %d x %d", call, width, height);
    if (width > glstub::kMaxTextureSize || height > glstub::kMaxTextureSize)
        fuzz::Fail("GL stub: %s of %d x %d, beyond GL_MAX_TEXTURE_SIZE %d: GL refuses it and the texture "
                   "stays empty",
                   call, width, height, glstub::kMaxTextureSize);
    if (type != GL_UNSIGNED_BYTE) fuzz::Fail("GL stub: %s with pixel type 0x%x", call, type);
    components = Components(format);
    const size_t group = static_cast<size_t>(components);  // bytes a pixel: one byte a component
    const size_t rowPixels = static_cast<size_t>(gl.unpackRowLength > 0 ? gl.unpackRowLength : width);
    const size_t alignment = static_cast<size_t>(gl.unpackAlignment);
    const size_t stride = (rowPixels * group + alignment - 1) / alignment * alignment;
    const size_t rowBytes = static_cast<size_t>(width) * group;
    out.resize(rowBytes * static_cast<size_t>(height));
    if (!pixels) return;  // storage only
    const auto* base = static_cast<const uint8_t*>(pixels) + static_cast<size_t>(gl.unpackSkipRows) * stride +
                       static_cast<size_t>(gl.unpackSkipPixels) * group;
    for (GLsizei y = 0; y < height; ++y)
        std::memcpy(out.data() + static_cast<size_t>(y) * rowBytes, base + static_cast<size_t>(y) * stride, rowBytes);
}

void Fetch(const ClientArray& a, GLint first, GLsizei count) {
    if (!a.enabled || count <= 0) return;
    if (!a.pointer) fuzz::Fail("GL stub: glDrawArrays with an enabled array but no pointer");
    const size_t element = static_cast<size_t>(a.size) * TypeSize(a.type);
    const size_t stride = a.stride ? static_cast<size_t>(a.stride) : element;
    const auto* p = static_cast<const uint8_t*>(a.pointer) + static_cast<size_t>(first) * stride;
    gl.scratch.resize(element);
    for (GLsizei i = 0; i < count; ++i) std::memcpy(gl.scratch.data(), p + static_cast<size_t>(i) * stride, element);
}

ClientArray* ArrayFor(GLenum array) {
    switch (array) {
        case GL_VERTEX_ARRAY: return &gl.vertex;
        case GL_COLOR_ARRAY: return &gl.colour;
        case GL_TEXTURE_COORD_ARRAY: return &gl.texCoord[gl.clientUnit];
        default: return nullptr;  // normals and the rest: never fetched here
    }
}

int* DepthFor(GLenum mode) {
    switch (mode) {
        case GL_PROJECTION: return &gl.projectionDepth;
        case GL_TEXTURE: return &gl.textureDepth;
        default: return &gl.modelviewDepth;
    }
}

// The smallest stacks GL allows.
int MaxDepth(GLenum mode) { return mode == GL_MODELVIEW ? 32 : 2; }

}  // namespace

namespace glstub {

const Upload& LastUpload() { return gl.upload; }

void ForgetUpload() {
    gl.upload.made = false;
    gl.upload.width = gl.upload.height = 0;
    gl.upload.pixels.clear();
}

}  // namespace glstub

extern "C" {

void glGenTextures(GLsizei n, GLuint* names) {
    for (GLsizei i = 0; i < n; ++i) names[i] = gl.nextName++;
}
void glDeleteTextures(GLsizei n, const GLuint* names) {
    for (GLsizei i = 0; i < n; ++i)
        if (names[i] == gl.bound2d) gl.bound2d = 0;
}
void glBindTexture(GLenum target, GLuint name) {
    if (target == GL_TEXTURE_2D) gl.bound2d = name;
}

void glPixelStorei(GLenum name, GLint value) {
    switch (name) {
        case GL_UNPACK_ALIGNMENT:
            if (value != 1 && value != 2 && value != 4 && value != 8)
                fuzz::Fail("GL stub: GL_UNPACK_ALIGNMENT %d", value);
            gl.unpackAlignment = value;
            break;
        case GL_UNPACK_ROW_LENGTH:
        case GL_UNPACK_SKIP_ROWS:
        case GL_UNPACK_SKIP_PIXELS:
            if (value < 0) fuzz::Fail("GL stub: unpack parameter 0x%x set to %d", name, value);
            (name == GL_UNPACK_ROW_LENGTH ? gl.unpackRowLength
             : name == GL_UNPACK_SKIP_ROWS ? gl.unpackSkipRows
                                           : gl.unpackSkipPixels) = value;
            break;
        default:
            break;  // packing: nothing is read back
    }
}

void glTexImage2D(GLenum, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const void* pixels) {
    if (border != 0) fuzz::Fail("GL stub: glTexImage2D with border %d", border);
    if (internalFormat < 1 || (internalFormat > 4 && internalFormat < 0x1900))
        fuzz::Fail("GL stub: glTexImage2D internal format %d", internalFormat);
    std::vector<uint8_t>& out = level == 0 ? gl.upload.pixels : gl.scratch;
    int components = 0;
    Unpack("glTexImage2D", width, height, format, type, pixels, out, components);
    if (level != 0) return;
    gl.upload.made = true;
    gl.upload.internalFormat = internalFormat;
    gl.upload.width = width;
    gl.upload.height = height;
    gl.upload.format = format;
    gl.upload.components = components;
}

void glTexSubImage2D(GLenum, GLint, GLint, GLint, GLsizei width, GLsizei height, GLenum format, GLenum type,
                     const void* pixels) {
    int components = 0;
    Unpack("glTexSubImage2D", width, height, format, type, pixels, gl.scratch, components);
}

void glGetIntegerv(GLenum name, GLint* values) {
    switch (name) {
        case GL_MAX_TEXTURE_SIZE: values[0] = glstub::kMaxTextureSize; break;
        case GL_TEXTURE_BINDING_2D: values[0] = static_cast<GLint>(gl.bound2d); break;
        case GL_VIEWPORT: std::memcpy(values, gl.viewport, sizeof gl.viewport); break;
        case GL_UNPACK_ALIGNMENT: values[0] = gl.unpackAlignment; break;
        case GL_UNPACK_ROW_LENGTH: values[0] = gl.unpackRowLength; break;
        default: values[0] = 0; break;
    }
}
GLenum glGetError(void) { return GL_NO_ERROR; }

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    gl.viewport[0] = x;
    gl.viewport[1] = y;
    gl.viewport[2] = width;
    gl.viewport[3] = height;
}

void glMatrixMode(GLenum mode) { gl.matrixMode = mode; }
void glPushMatrix(void) {
    int* depth = DepthFor(gl.matrixMode);
    if (++*depth > MaxDepth(gl.matrixMode)) fuzz::Fail("GL stub: matrix stack 0x%x overflows", gl.matrixMode);
}
void glPopMatrix(void) {
    int* depth = DepthFor(gl.matrixMode);
    if (--*depth < 1) fuzz::Fail("GL stub: matrix stack 0x%x popped empty", gl.matrixMode);
}

void glEnableClientState(GLenum array) {
    if (ClientArray* a = ArrayFor(array)) a->enabled = true;
}
void glDisableClientState(GLenum array) {
    if (ClientArray* a = ArrayFor(array)) a->enabled = false;
}
void glClientActiveTexture(GLenum unit) {
    const int index = static_cast<int>(unit) - GL_TEXTURE0;
    if (index < 0 || index >= kUnits) fuzz::Fail("GL stub: glClientActiveTexture(0x%x)", unit);
    gl.clientUnit = index;
}
void glVertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    gl.vertex = {gl.vertex.enabled, size, type, stride, pointer};
}
void glColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    gl.colour = {gl.colour.enabled, size, type, stride, pointer};
}
void glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    ClientArray& a = gl.texCoord[gl.clientUnit];
    a = {a.enabled, size, type, stride, pointer};
}
void glDrawArrays(GLenum, GLint first, GLsizei count) {
    if (first < 0 || count < 0) fuzz::Fail("GL stub: glDrawArrays(%d, %d)", first, count);
    Fetch(gl.vertex, first, count);
    Fetch(gl.colour, first, count);
    for (const ClientArray& a : gl.texCoord) Fetch(a, first, count);
}

void glColor4fv(const GLfloat* v) {
    float c[4];
    std::memcpy(c, v, sizeof c);
}

// Nothing to keep: state the fuzz targets never read back.
void glActiveTexture(GLenum) {}
void glAlphaFunc(GLenum, GLclampf) {}
void glBegin(GLenum) {}
void glEnd(void) {}
void glBlendFunc(GLenum, GLenum) {}
void glClear(GLbitfield) {}
void glClearColor(GLclampf, GLclampf, GLclampf, GLclampf) {}
void glColor4f(GLfloat, GLfloat, GLfloat, GLfloat) {}
void glDepthFunc(GLenum) {}
void glDepthRange(GLclampd, GLclampd) {}
void glEnable(GLenum) {}
void glDisable(GLenum) {}
void glHint(GLenum, GLenum) {}
void glLineWidth(GLfloat) {}
void glLoadIdentity(void) {}
void glOrtho(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) {}
void glRotatef(GLfloat, GLfloat, GLfloat, GLfloat) {}
void glScalef(GLfloat, GLfloat, GLfloat) {}
void glTranslatef(GLfloat, GLfloat, GLfloat) {}
void glShadeModel(GLenum) {}
void glTexCoord2f(GLfloat, GLfloat) {}
void glVertex3f(GLfloat, GLfloat, GLfloat) {}
void glTexParameterf(GLenum, GLenum, GLfloat) {}
void glTexParameteri(GLenum, GLenum, GLint) {}
void glFlush(void) {}
void glFinish(void) {}
void gluPerspective(GLdouble, GLdouble, GLdouble, GLdouble) {}

}  // extern "C"
