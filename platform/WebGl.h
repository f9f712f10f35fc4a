#pragma once

// WebGL 1 lacks a few desktop OpenGL 1.x calls the engine makes: BGR(A) pixels,
// GL_GENERATE_MIPMAP, unpack row lengths, GL_CLAMP, sized internal formats, and reading
// a texture back (its size per level, its texels). The browser build compiles the
// engine with each of those names standing for the matching function here, which does
// the same on WebGL: pixels are turned into RGB(A), mipmaps are made on the CPU by
// averaging 2 x 2 texels and uploaded level by level, and a copy of every level is kept
// so that the texture can be read back exactly as it was uploaded.
#include <GLES2/gl2.h>

extern "C" {
void BrinegateGlTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                           GLint border, GLenum format, GLenum type, const void* pixels);
void BrinegateGlTexParameterf(GLenum target, GLenum name, GLfloat value);
void BrinegateGlTexParameteri(GLenum target, GLenum name, GLint value);
void BrinegateGlGetTexParameterfv(GLenum target, GLenum name, GLfloat* values);
void BrinegateGlGetTexLevelParameteriv(GLenum target, GLint level, GLenum name, GLint* value);
void BrinegateGlGetTexImage(GLenum target, GLint level, GLenum format, GLenum type, void* pixels);
void BrinegateGlPixelStorei(GLenum name, GLint value);
void BrinegateGlHint(GLenum target, GLenum mode);
void BrinegateGlDeleteTextures(GLsizei count, const GLuint* textures);
void BrinegateGlCopyTexImage2D(GLenum target, GLint level, GLenum internalFormat, GLint x, GLint y, GLsizei width,
                               GLsizei height, GLint border);
}
