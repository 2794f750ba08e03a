#include "background_reference.h"

#include <algorithm>
#include <cmath>

namespace {

struct V3 {
    float x, y, z;
};

// The program's time-only terms, set once per pixel as it does.
struct FieldTerms {
    float zShift;
    float slopeX;
    float slopeY;
};

float field(V3 p, const FieldTerms& t) {
    p.z = p.z + t.zShift;
    const float k = 0.2f * std::sin(p.x * t.slopeX - p.y * t.slopeY);
    const V3 q = {std::cos(p.x / 3.0f) + k, std::cos(p.y / 3.0f) + k, std::cos(p.z / 3.0f) + k};
    return std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z) - 0.8f;
}

float smoothstep(float edge0, float edge1, float x) {
    const float t = std::min(std::max((x - edge0) / (edge1 - edge0), 0.0f), 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float clamp01(float v) {
    return std::min(std::max(v, 0.0f), 1.0f);
}

std::uint8_t toUnorm8(float v) {
    return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255.0f));
}

}  // namespace

BackgroundFragment backgroundFragment(float x, float y, float time, float viewportWidth) {
    FieldTerms terms;
    terms.zShift = 3.0f * time;
    terms.slopeX = 1.0f + std::sin(0.07f * time) * std::cos(0.1f * time) * 2.2f;
    terms.slopeY = 1.0f + std::sin(0.1f * time) * 0.2f;

    const V3 d = {0.5f - x / viewportWidth, 0.5f - y / viewportWidth, 0.5f - 0.0f / viewportWidth};
    V3 o = d;
    for (int i = 0; i < 32; ++i) {
        const float m = field(o, terms);
        o = {o.x + m * d.x * 1.6f, o.y + m * d.y * 1.6f, o.z + m * d.z * 1.6f};
    }
    const float ahead = field({o.x + d.x, o.y + d.y, o.z + d.z}, terms);
    const float half = field({0.5f * o.x, 0.5f * o.y, 0.5f * o.z}, terms);
    const float scale = 8.0f - o.x / 2.0f;
    const float r = std::fabs(ahead * 0.3f + half * 0.1f) * scale;
    const float g = std::fabs(ahead * 0.15f + half * 0.05f) * scale;
    const float b = std::fabs(ahead * 0.1f + half * 0.0f) * scale;
    const float fade = smoothstep(2.0f, 7.0f, time);
    return {fade * r, fade * g, fade * b, fade * 1.0f};
}

BackgroundFragment blendOverClearedBlack(const BackgroundFragment& fragment) {
    // The destination is (0, 0, 0, 0), so its term drops out.
    const float alpha = clamp01(fragment.a);
    return {clamp01(fragment.r) * alpha, clamp01(fragment.g) * alpha, clamp01(fragment.b) * alpha,
            alpha * alpha};
}

std::vector<std::uint8_t> renderBackgroundReference(int width, int height, float time) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    const float viewportWidth = static_cast<float>(width);
    std::size_t i = 0;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const BackgroundFragment shown = blendOverClearedBlack(backgroundFragment(
                static_cast<float>(column) + 0.5f, static_cast<float>(row) + 0.5f, time, viewportWidth));
            pixels[i++] = toUnorm8(shown.r);
            pixels[i++] = toUnorm8(shown.g);
            pixels[i++] = toUnorm8(shown.b);
            pixels[i++] = toUnorm8(shown.a);
        }
    }
    return pixels;
}
