// Arbitrary corner lists go through the ear clipping of one face.
//
// The first byte chooses how the rest becomes positions: even, one byte per
// coordinate on a coarse grid (x / 4), where corners often coincide, lie on
// each other's edges or in a line; odd, four bytes per coordinate read as a
// float, infinities and non-numbers included. At most MaxCorners corners.
//
// Every face must end, and every index must name a corner. Faces of fewer
// than three corners give nothing, three corners give 0, 1, 2, and a face
// whose positions are all distinct numbers gives whole triangles, each in
// ascending corner order, at most N - 2 of them (exactly 0, 1, 3, 1, 2, 3
// for four corners).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "mesh/objl.h"
#include "window/platform.h"

// The loader's text helpers come with the geometry ones; nothing here reads
// a resource or shows a message.
ResourceBytes platformTextResource(int) {
    return {nullptr, 0};
}

void platformShowMessage(const char*, const char*) {
    std::abort();
}

void platformShutdownWindowing() {
    std::abort();
}

namespace {

constexpr std::size_t MaxCorners = 64;

bool samePosition(const objl::Vector3& a, const objl::Vector3& b) {
    return a == b;
}

bool isNumber(const objl::Vector3& p) {
    return p == p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool rawFloats = (data[0] & 1) != 0;
    const std::size_t coordinateBytes = rawFloats ? 4 : 1;
    const std::size_t cornerBytes = 3 * coordinateBytes;
    std::vector<objl::Vertex> corners;
    for (std::size_t at = 1; at + cornerBytes <= size && corners.size() < MaxCorners; at += cornerBytes) {
        float xyz[3];
        for (std::size_t k = 0; k < 3; ++k) {
            const std::uint8_t* bytes = data + at + k * coordinateBytes;
            if (rawFloats) {
                std::memcpy(&xyz[k], bytes, sizeof(float));
            } else {
                xyz[k] = static_cast<float>(static_cast<std::int8_t>(bytes[0])) / 4.0f;
            }
        }
        objl::Vertex corner;
        corner.position = {xyz[0], xyz[1], xyz[2]};
        corners.push_back(corner);
    }

    const std::vector<std::uint32_t> out = objl::ModelLoader::triangulateFace(corners);
    const std::size_t n = corners.size();

    for (std::uint32_t index : out) {
        if (index >= n) {
            std::abort();
        }
    }
    // Each clipped ear outputs at most one index per corner and position
    // tested, and each clip takes one corner away.
    if (out.size() > 3 * n * n) {
        std::abort();
    }
    if (n < 3 && !out.empty()) {
        std::abort();
    }
    if (n == 3 && out != std::vector<std::uint32_t>{0, 1, 2}) {
        std::abort();
    }

    bool distinct = true;
    for (std::size_t i = 0; i < n && distinct; ++i) {
        distinct = isNumber(corners[i].position);
        for (std::size_t j = i + 1; j < n && distinct; ++j) {
            distinct = !samePosition(corners[i].position, corners[j].position);
        }
    }
    if (distinct && n > 3) {
        if (out.size() % 3 != 0 || out.size() > 3 * (n - 2)) {
            std::abort();
        }
        for (std::size_t t = 0; t < out.size(); t += 3) {
            if (!(out[t] < out[t + 1] && out[t + 1] < out[t + 2])) {
                std::abort();
            }
        }
        if (n == 4 && out != std::vector<std::uint32_t>{0, 1, 3, 1, 2, 3}) {
            std::abort();
        }
    }
    return 0;
}
