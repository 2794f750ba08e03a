// Renders one still of the background picture to a PNG file: the
// screensaver's scene (its embedded shader programs and quad) drawn by Mesa
// on a headless EGL context, or the CPU reference of the fragment program.
//
// usage: render_background [--reference] TIME WIDTH HEIGHT OUTPUT.png

#include <png.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "render/background_reference.h"
#include "render/scene.h"
#include "render/scene_state.h"
#include "window/egl_context.h"
#include "window/gl_entry_points.h"
#include "window/gl_fixed_state.h"
#include "window/window_size.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: render_background [--reference] TIME WIDTH HEIGHT OUTPUT.png\n");
    return 2;
}

bool parseFloat(const char* text, float* value) {
    char* end = nullptr;
    errno = 0;
    *value = std::strtof(text, &end);
    return errno == 0 && end != text && *end == '\0';
}

bool parseSize(const char* text, int* value) {
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < 1 || parsed > 8192) {
        return false;
    }
    *value = static_cast<int>(parsed);
    return true;
}

bool renderWithMesa(int width, int height, float time, std::vector<std::uint8_t>* pixels) {
    EglContext context;
    std::string error;
    if (!context.create(width, height, &error)) {
        std::fprintf(stderr, "render_background: %s\n", error.c_str());
        return false;
    }
    applyFixedGlState();
    // The screensaver's own scene and frame, at this size and time.
    recordWindowSize(width, height);
    setupScene();
    sceneObjects.state->setTime(time);
    renderFrame();

    pixels->assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels->data());
    return true;
}

// Writes RGB rows; the pixels come bottom row first, as OpenGL reads them.
bool writePng(const char* path, int width, int height, const std::vector<std::uint8_t>& pixels) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "render_background: cannot write %s: %s\n", path, std::strerror(errno));
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
        std::fclose(file);
        std::fprintf(stderr, "render_background: libpng failed writing %s\n", path);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
    for (int y = height - 1; y >= 0; --y) {
        const std::uint8_t* source =
            &pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4];
        for (int x = 0; x < width; ++x) {
            std::memcpy(&row[static_cast<std::size_t>(x) * 3], source + x * 4, 3);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    bool reference = false;
    if (argc > 1 && std::strcmp(argv[1], "--reference") == 0) {
        reference = true;
        first = 2;
    }
    if (argc - first != 4) {
        return usage();
    }
    float time = 0.0f;
    int width = 0;
    int height = 0;
    if (!parseFloat(argv[first], &time) || !parseSize(argv[first + 1], &width) ||
        !parseSize(argv[first + 2], &height)) {
        return usage();
    }
    std::vector<std::uint8_t> pixels;
    if (reference) {
        pixels = renderBackgroundReference(width, height, time);
    } else if (!renderWithMesa(width, height, time, &pixels)) {
        return 1;
    }
    return writePng(argv[first + 3], width, height, pixels) ? 0 : 1;
}
