#include "gl_test_support.h"

#include <gtest/gtest.h>

#include <string>

#include "window/egl_context.h"

void ensureGlContext() {
    static EglContext* context = nullptr;
    static std::string error;
    if (context == nullptr && error.empty()) {
        auto* created = new EglContext();
        if (created->create(testSurfaceWidth, testSurfaceHeight, &error)) {
            context = created;
        } else if (error.empty()) {
            error = "no context";
        }
    }
    ASSERT_NE(context, nullptr) << "headless Mesa context: " << error;
}

void applyFixedGlState() {
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_MULTISAMPLE);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_POLYGON_SMOOTH);
}

std::vector<std::uint8_t> readFrame(int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
