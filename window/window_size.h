#pragma once

#include <cstdint>

// The drawing size, read by the renderer every frame. Written once at start
// and again whenever the window reports a new size.
struct WindowSize {
    std::int32_t width;
    std::int32_t height;
    float aspectRatio;
};

extern WindowSize windowSize;

// Records a new size. A zero height (an iconified window, an empty host
// area) would make the aspect ratio non-finite and poison the projection;
// the last finite ratio is kept instead.
void recordWindowSize(int width, int height);
