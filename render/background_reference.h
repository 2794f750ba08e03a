#pragma once

// A plain C++ transcription of the background fragment program (resource
// 136), float for float in the program's own order, so that frames drawn by
// an OpenGL driver can be compared with it.

#include <cstdint>
#include <vector>

struct BackgroundFragment {
    float r, g, b, a;
};

// The fragment program's gl_FragColor for the window coordinates (x, y) of a
// pixel centre, at iTime = time and viewportWidth = viewportWidth. The
// colour is not clamped.
BackgroundFragment backgroundFragment(float x, float y, float time, float viewportWidth);

// What reaches an 8-bit RGBA framebuffer cleared to (0, 0, 0, 0) when the
// fragment is drawn with blending (source alpha, one minus source alpha):
// the fragment clamped to 0..1, then scaled by its alpha.
BackgroundFragment blendOverClearedBlack(const BackgroundFragment& fragment);

// A whole width x height frame as 8-bit RGBA, bottom row first (the order of
// glReadPixels), through blendOverClearedBlack.
std::vector<std::uint8_t> renderBackgroundReference(int width, int height, float time);
