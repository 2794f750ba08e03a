#pragma once

// Shared pieces of the render tests: one headless Mesa context per test
// process, the fixed OpenGL state the screensaver sets at start, frame
// read-back, and recorders swapped into the entry-point table.

#include <cstdint>
#include <vector>

#include "window/gl_entry_points.h"
#include "window/gl_fixed_state.h"

// The largest frame the tests draw; every frame is drawn from the origin of
// a pbuffer this size.
constexpr int testSurfaceWidth = 160;
constexpr int testSurfaceHeight = 120;

// Makes the context current on first use (it lives until the process ends)
// and loads the entry-point table. Fails the calling test when Mesa cannot
// give one; call it through ASSERT_NO_FATAL_FAILURE.
void ensureGlContext();

// The frame's lower-left width x height pixels as RGBA bytes, bottom row
// first.
std::vector<std::uint8_t> readFrame(int width, int height);

class ShaderProgram;

// Draws the program's full-screen quad over the lower-left width x height
// pixels of the cleared default framebuffer, with the uniforms the sky
// drawable feeds it ("iTime", "viewportWidth", "viewportHeight"). Needs no
// mesh: the quad's four corners are given here.
void drawBackgroundQuad(ShaderProgram& program, int width, int height, float time);

// Puts a replacement into an entry-point slot for the lifetime of the
// object and restores the original afterwards.
template <typename Proc>
class SlotOverride {
public:
    SlotOverride(Proc& slot, Proc replacement) : slot_(slot), original_(slot) {
        slot_ = replacement;
    }
    SlotOverride(const SlotOverride&) = delete;
    SlotOverride& operator=(const SlotOverride&) = delete;
    ~SlotOverride() {
        slot_ = original_;
    }

private:
    Proc& slot_;
    Proc original_;
};
