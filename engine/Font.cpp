#include "Font.h"

#include <cmath>
#include <cstdint>

#include "GL.h"
#include "Renderer.h"
#include "TextureManager.h"

namespace {

// Cells that fit whole along one side; 0 when the sizes make no grid.
int CellsAlong(float imageSize, float cellSize) {
    if (!(cellSize > 0.0f)) return 0;
    const float n = imageSize / cellSize;
    if (!(n >= 1.0f)) return 0;  // also catches NaN
    if (n >= 2147483647.0f) return 0;
    return static_cast<int>(n);
}

// Kerning in unscaled pixels: lower case (and '`') sit closer than capitals,
// digits and the space closer still.
int Kerning(int g) {
    if (g >= 66 && g <= 92) return 30;
    if ((g >= 18 && g <= 27) || g == 2) return 35;
    return 20;
}

// Truncation toward zero, kept inside int for absurd scales (and NaN).
int Truncate(float v) {
    if (std::isnan(v)) return 0;
    if (v <= -2147483648.0f) return INT32_MIN;
    if (v >= 2147483647.0f) return INT32_MAX;
    return static_cast<int>(v);
}

}  // namespace

int Font::Advance(int pen, int g, float scaleX) const {
    const float kerning = static_cast<float>(Kerning(g));
    // As designed the advance is in unscaled units but the kerning shrinks with the scale.
    const float step = spacing == Spacing::kProportional ? glyphWidth - kerning : glyphWidth - scaleX * kerning;
    return Truncate(step + static_cast<float>(pen));
}

float Font::InkWidth(const char* text, Vec2 scale) const {
    int pen = 0;
    float right = 0.0f;
    for (const char* c = text; *c != '\0'; ++c) {
        const int g = static_cast<int8_t>(static_cast<uint8_t>(static_cast<uint8_t>(*c) - 30u));
        // This glyph's ink ends within its advance at scale 1.
        right = static_cast<float>(pen) + glyphWidth - static_cast<float>(Kerning(g));
        pen = Advance(pen, g, scale.x);
    }
    return right * scale.x;
}

Vec2 Font::FitScale(const char* text, Vec2 scale, float maxWidth) const {
    // The advance grows as the kerning shrinks with the scale, so the width is not
    // proportional to it: shrink in small steps. 200 steps of 2 % reach 1/57 of the start.
    for (int step = 0; step < 200 && InkWidth(text, scale) > maxWidth; ++step) scale = scale * 0.98f;
    return scale;
}

TextCorners Font::DrawText(int x, int y, float z, const char* text, const float colour[4],
                           Vec2 scale) {
    const int perRow = CellsAlong(textureWidth, glyphWidth);
    const int rows = CellsAlong(textureHeight, glyphHeight);
    // Both are far below 2^31 for any image GL can hold, but stay in range regardless.
    const int64_t cells = static_cast<int64_t>(perRow) * rows;
    const float gw = glyphWidth;
    const float gh = glyphHeight;
    const float tw = textureWidth;
    const float th = textureHeight;

    glPushMatrix();
    glLoadIdentity();
    glTranslatef(static_cast<float>(x), static_cast<float>(y), 0.0f);
    glScalef(scale.x, scale.y, 1.0f);

    textureManager.Bind(texture, 0);
    glColor4f(colour[0], colour[1], colour[2], colour[3]);
    renderer.SetBlendMode(BlendMode::kAlpha);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);

    int pen = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        // The code minus 30 wraps as a signed byte: codes 0..29 and 158..255 go negative.
        const int g = static_cast<int8_t>(static_cast<uint8_t>(static_cast<uint8_t>(*c) - 30u));
        if (g >= 0 && g < cells) {
            const int row = g / perRow;
            const int column = g % perRow;
            const float u0 = static_cast<float>(column) * gw / tw;
            const float u1 = (static_cast<float>(column) * gw + gw) / tw;
            const float v0 = static_cast<float>(row) * gh / th;
            const float v1 = (static_cast<float>(row) * gh + gh) / th;
            const float left = static_cast<float>(pen);
            glBegin(GL_TRIANGLE_STRIP);
            glTexCoord2f(u0, v0);
            glVertex3f(left, 0.0f, z);
            glTexCoord2f(u0, v1);
            glVertex3f(left, gh, z);
            glTexCoord2f(u1, v0);
            glVertex3f(left + gw, 0.0f, z);
            glTexCoord2f(u1, v1);
            glVertex3f(left + gw, gh, z);
            glEnd();
        }
        pen = Advance(pen, g, scale.x);
    }

    glDisable(GL_ALPHA_TEST);
    const float left = static_cast<float>(x);
    const float right = static_cast<float>(static_cast<int64_t>(x) + pen);
    const float top = static_cast<float>(y);
    const float bottom = static_cast<float>(y) + gh;
    glPopMatrix();
    return TextCorners{Vec2(left, top), Vec2(right, top), Vec2(left, bottom), Vec2(right, bottom)};
}
