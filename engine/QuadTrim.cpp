#include "QuadTrim.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "GL.h"
#include "Renderer.h"
#include "Texture.h"

bool QuadTrim::Begin(const Texture* texture, BlendMode blendMode) {
    texture_ = nullptr;
    if (!renderer.shortcuts || !texture || texture->shown.empty() ||
        (blendMode != BlendMode::kAlpha && blendMode != BlendMode::kAdditive))
        return false;
    // Object units to window pixels: projection and modelview, then the viewport.
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float p[16] = {0};
    GLint viewport[4] = {0, 0, 0, 0};
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    glGetIntegerv(GL_VIEWPORT, viewport);
    // Only an affine projection keeps sizes the same across a quad.
    if (p[3] != 0.0f || p[7] != 0.0f || p[11] != 0.0f || p[15] != 1.0f) return false;
    if (m[3] != 0.0f || m[7] != 0.0f || m[11] != 0.0f || m[15] != 1.0f) return false;
    double j[2][2];
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) {
            double v = 0.0;
            for (int k = 0; k < 4; ++k) v += static_cast<double>(p[k * 4 + r]) * m[c * 4 + k];
            j[r][c] = v * (r == 0 ? viewport[2] : viewport[3]) * 0.5;
        }
    // The smallest stretch of the map bounds how many quad units one pixel can cover.
    const double s = j[0][0] * j[0][0] + j[0][1] * j[0][1] + j[1][0] * j[1][0] + j[1][1] * j[1][1];
    const double det = j[0][0] * j[1][1] - j[0][1] * j[1][0];
    const double least2 = (s - std::sqrt(std::max(0.0, s * s - 4.0 * det * det))) * 0.5;
    if (!(least2 > 1e-12) || !std::isfinite(s)) return false;
    texelsPerUnit_ = static_cast<float>(1.0 / std::sqrt(least2));
    texture_ = texture;
    return true;
}

const float* QuadTrim::Shown(float w, float h, float spanS, float spanT) const {
    const std::vector<float>& shown = texture_->shown;
    const int levels = static_cast<int>(shown.size() / 4);
    // Texels a pixel covers, at most; GL samples level floor(log2) and the one below
    // it. One level more covers the ways drivers estimate the ratio.
    const double rho = std::max(std::fabs(spanS) * texture_->width / std::fabs(w),
                                std::fabs(spanT) * texture_->height / std::fabs(h)) *
                       texelsPerUnit_;
    int level = levels - 1;
    if (std::isfinite(rho) && rho > 0.0) {
        const double lod = std::log2(rho) + 1.0;
        if (lod < static_cast<double>(levels)) level = lod < 0.0 ? 0 : static_cast<int>(lod) + 1;
    }
    if (level > levels - 1) level = levels - 1;
    return &shown[static_cast<size_t>(level) * 4];
}
