#include "Image.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

uint8_t ToByte(double v) {
    v = std::clamp(v, 0.0, 1.0);
    return static_cast<uint8_t>(std::lround(v * 255.0));
}

}  // namespace

Image::Image(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height * 4, 0) {}

void Image::Set(int x, int y, const Colour& c) {
    uint8_t* p = Pixel(x, y);
    p[0] = ToByte(c.r);
    p[1] = ToByte(c.g);
    p[2] = ToByte(c.b);
    p[3] = ToByte(c.a);
}

Colour Image::Get(int x, int y) const {
    const uint8_t* p = Pixel(x, y);
    return {p[0] / 255.0, p[1] / 255.0, p[2] / 255.0, p[3] / 255.0};
}

void Image::Fill(const Colour& c) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) Set(x, y, c);
}

Image Image::FromSurface(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    int w = cairo_image_surface_get_width(surface);
    int h = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    Image out(w, h);
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            uint32_t argb = row[x];
            unsigned a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
            uint8_t* p = out.Pixel(x, y);
            if (a == 0) {
                p[0] = p[1] = p[2] = p[3] = 0;
                continue;
            }
            p[0] = static_cast<uint8_t>(std::min(255u, (r * 255 + a / 2) / a));
            p[1] = static_cast<uint8_t>(std::min(255u, (g * 255 + a / 2) / a));
            p[2] = static_cast<uint8_t>(std::min(255u, (b * 255 + a / 2) / a));
            p[3] = static_cast<uint8_t>(a);
        }
    }
    return out;
}

void Image::BleedColour() {
    // Breadth-first from the visible pixels: each ring of transparent pixels takes
    // the mean colour of its already coloured neighbours.
    const size_t n = static_cast<size_t>(width_) * height_;
    std::vector<uint8_t> done(n, 0);
    std::vector<int> frontier;
    double sum[3] = {0, 0, 0};
    size_t visible = 0;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const uint8_t* p = Pixel(x, y);
            if (p[3] > 0) {
                done[static_cast<size_t>(y) * width_ + x] = 1;
                for (int k = 0; k < 3; ++k) sum[k] += p[k];
                ++visible;
            }
        }
    if (visible == 0) return;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (!done[static_cast<size_t>(y) * width_ + x]) frontier.push_back(y * width_ + x);

    while (!frontier.empty()) {
        std::vector<std::pair<int, std::array<int, 3>>> ring;
        std::vector<int> rest;
        for (int idx : frontier) {
            int x = idx % width_, y = idx / width_;
            int acc[3] = {0, 0, 0}, count = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    int nx = x + dx, ny = y + dy;
                    if ((dx == 0 && dy == 0) || nx < 0 || ny < 0 || nx >= width_ || ny >= height_) continue;
                    if (!done[static_cast<size_t>(ny) * width_ + nx]) continue;
                    const uint8_t* q = Pixel(nx, ny);
                    for (int k = 0; k < 3; ++k) acc[k] += q[k];
                    ++count;
                }
            if (count == 0) {
                rest.push_back(idx);
            } else {
                ring.push_back({idx, {acc[0] / count, acc[1] / count, acc[2] / count}});
            }
        }
        if (ring.empty()) break;
        for (auto& [idx, c] : ring) {
            uint8_t* p = &pixels_[static_cast<size_t>(idx) * 4];
            for (int k = 0; k < 3; ++k) p[k] = static_cast<uint8_t>(c[k]);
            done[static_cast<size_t>(idx)] = 1;
        }
        frontier.swap(rest);
    }
}

void Image::ClearBorder(int width) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (x < width || y < width || x >= width_ - width || y >= height_ - width) Pixel(x, y)[3] = 0;
}

void Image::Blur(int radius) {
    if (radius <= 0) return;
    const int w = width_, h = height_;
    std::vector<float> buf(static_cast<size_t>(w) * h * 4), tmp(buf.size());
    for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
        float a = pixels_[i * 4 + 3] / 255.0f;
        for (int k = 0; k < 3; ++k) buf[i * 4 + k] = pixels_[i * 4 + k] / 255.0f * a;
        buf[i * 4 + 3] = a;
    }
    auto pass = [&](std::vector<float>& src, std::vector<float>& dst, bool horizontal) {
        const int len = horizontal ? w : h, lines = horizontal ? h : w;
        const float norm = 1.0f / (2 * radius + 1);
        for (int line = 0; line < lines; ++line) {
            auto at = [&](int i) -> size_t {
                i = std::clamp(i, 0, len - 1);
                return horizontal ? (static_cast<size_t>(line) * w + i) * 4 : (static_cast<size_t>(i) * w + line) * 4;
            };
            float acc[4] = {0, 0, 0, 0};
            for (int i = -radius; i <= radius; ++i)
                for (int k = 0; k < 4; ++k) acc[k] += src[at(i) + k];
            for (int i = 0; i < len; ++i) {
                for (int k = 0; k < 4; ++k) dst[at(i) + k] = acc[k] * norm;
                for (int k = 0; k < 4; ++k) acc[k] += src[at(i + radius + 1) + k] - src[at(i - radius) + k];
            }
        }
    };
    for (int iteration = 0; iteration < 3; ++iteration) {
        pass(buf, tmp, true);
        pass(tmp, buf, false);
    }
    for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
        float a = buf[i * 4 + 3];
        for (int k = 0; k < 3; ++k) {
            float v = a > 1e-6f ? buf[i * 4 + k] / a : 0.0f;
            pixels_[i * 4 + k] = static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
        }
        pixels_[i * 4 + 3] = static_cast<uint8_t>(std::lround(std::clamp(a, 0.0f, 1.0f) * 255));
    }
}
