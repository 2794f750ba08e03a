// Writes the About window's logo: a still of the screensaver's own picture,
// computed by the CPU reference of the background program, as an
// uncompressed 24-bit BMP.
//
// usage: make_logo TIME WIDTH HEIGHT OUT.bmp
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "render/background_reference.h"

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFFu);
    put16(out, v >> 16);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: make_logo TIME WIDTH HEIGHT OUT.bmp\n");
        return 2;
    }
    const float time = std::strtof(argv[1], nullptr);
    const int width = std::atoi(argv[2]);
    const int height = std::atoi(argv[3]);
    if (width <= 0 || height <= 0) {
        std::fprintf(stderr, "make_logo: bad size\n");
        return 2;
    }
    // Bottom row first, as a BMP stores its rows too.
    const std::vector<std::uint8_t> rgba = renderBackgroundReference(width, height, time);

    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = stride * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 14 + 40 + imageBytes);
    put32(out, 0);
    put32(out, 14 + 40);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);  // BI_RGB
    put32(out, imageBytes);
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = 0; y < height; ++y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        out.resize(rowStart + stride, 0);
    }

    std::FILE* file = std::fopen(argv[4], "wb");
    if (file == nullptr || std::fwrite(out.data(), 1, out.size(), file) != out.size() || std::fclose(file) != 0) {
        std::fprintf(stderr, "make_logo: cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}
