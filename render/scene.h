#pragma once

// Scene setup, once before the first frame, with the context current and the
// entry points loaded.
void setupScene();

// Draws one whole frame into the default framebuffer of the current context
// at the size in WindowSize; the caller presents it.
void renderFrame();
