#include "GlTestContext.h"

#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <vector>

#include "Camera.h"
#include "Culler.h"
#include "FileResolver.h"
#include "GL.h"
#include "Orlop.h"
#include "Renderer.h"
#include "SdlPlatform.h"

namespace gltest {

namespace {
SdlPlatform* g_platform = nullptr;
int g_state = 0;  // 0 untried, 1 open, -1 failed
}  // namespace

void UseDataFolder() {
    // Again after a test has cleared the roots.
    for (const std::string& root : FileResolver::SearchRoots())
        if (root == BRINEGATE_DATA_DIR) return;
    FileResolver::AddSearchRoot(BRINEGATE_DATA_DIR);
}

bool Open() {
    if (g_state != 0) return g_state == 1;
    UseDataFolder();
    if (!std::getenv("DISPLAY")) {
        g_state = -1;
        return false;
    }
    g_platform = new SdlPlatform;
    orlop.platform = g_platform;
    orlop.width = 800.0f;
    orlop.height = 600.0f;
    orlop.bits = 32.0f;
    orlop.title = "Brinegate tests";
    orlop.windowed = 1;
    g_state = orlop.Init() ? 1 : -1;
    return g_state == 1;
}

void BeginFrame() {
    renderer.BeginFrame();
    camera.Update(kFrameStep);
}

void RenderList() {
    culler.Render();
    renderer.EndOrtho();
    glFinish();
}

Rgba ReadPixel(int x, int y) {
    unsigned char p[4] = {0, 0, 0, 0};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, 599 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Rgba{p[0], p[1], p[2], p[3]};
}

bool SaveScreenshot(const std::string& path) {
    std::vector<unsigned char> pixels(800 * 600 * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 800, 600);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int row = 0; row < 600; ++row)
        std::memcpy(data + row * stride, &pixels[(599 - row) * 800 * 4], 800 * 4);
    cairo_surface_mark_dirty(surface);
    bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace gltest
