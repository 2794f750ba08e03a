#include "gl_test_support.h"

#include <gtest/gtest.h>

#include <string>

#include "render/shader_program.h"
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

std::vector<std::uint8_t> readFrame(int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void drawBackgroundQuad(ShaderProgram& program, int width, int height, float time) {
    static GLuint corners = 0;
    if (corners == 0) {
        const float quad[] = {-1, -1, 0, 1, -1, 0, -1, 1, 0, 1, 1, 0};
        glGenBuffers(1, &corners);
        glBindBuffer(GL_ARRAY_BUFFER, corners);
        glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, width, height);
    program.use();
    glUniform1f(program.uniformLocation("iTime"), time);
    glUniform1f(program.uniformLocation("viewportWidth"), static_cast<float>(width));
    glUniform1f(program.uniformLocation("viewportHeight"), static_cast<float>(height));
    const GLint position = program.attribLocation("position");
    glBindBuffer(GL_ARRAY_BUFFER, corners);
    glEnableVertexAttribArray(static_cast<GLuint>(position));
    glVertexAttribPointer(static_cast<GLuint>(position), 3, GL_FLOAT, GL_FALSE, 12, nullptr);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisableVertexAttribArray(static_cast<GLuint>(position));
    glFinish();
}
