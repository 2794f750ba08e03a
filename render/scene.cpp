#include "scene.h"

#include "../window/gl_entry_points.h"
#include "../window/window_size.h"

void setupScene() {}

void renderFrame() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, windowSize.width, windowSize.height);
}

#include "scene_time.h"

namespace {
float sceneTime = 0.0f;
}

void setSceneTime(float seconds) {
    sceneTime = seconds;
}
