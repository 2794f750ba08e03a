#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "gl_call_recorder.h"
#include "gl_test_support.h"
#include "render/drawable.h"
#include "render/program_registry.h"
#include "render/scene.h"
#include "render/scene_state.h"
#include "window/window_size.h"

namespace {

using Calls = std::vector<std::string>;

// The scene is set up once per process, as the screensaver does, with the
// recorders in place from the start; the logs of the setup and of the
// first two frames are kept for the tests below.
struct SceneRun {
    GlCallLog setup;
    GlCallLog firstFrame;
    GlCallLog secondFrame;
};

constexpr int frameWidth = 64;
constexpr int frameHeight = 48;
constexpr float frameTime = 10.0f;

const SceneRun& sceneRun() {
    static SceneRun* run = nullptr;
    if (run == nullptr) {
        run = new SceneRun();
        applyFixedGlState();
        installGlCallRecorders();
        recordWindowSize(frameWidth, frameHeight);
        recordGlCallsInto(&run->setup);
        setupScene();
        sceneObjects.state->setTime(frameTime);
        recordGlCallsInto(&run->firstFrame);
        renderFrame();
        recordGlCallsInto(&run->secondFrame);
        renderFrame();
        recordGlCallsInto(nullptr);
    }
    return *run;
}

class Scene : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ensureGlContext());
        run = &sceneRun();
        ASSERT_NE(sceneObjects.sky, nullptr);
        program = sceneObjects.registry->find("BackgroundProgram");
        ASSERT_NE(program, nullptr);
    }

    std::string loc(const char* name) const {
        return std::to_string(program->locationCache.at(name));
    }

    // The calls of one frame at the given size; the uniform lookups only on
    // the first.
    Calls expectedFrame(int width, int height, float time, bool first) const {
        const std::string p = std::to_string(program->program);
        const std::string vb = std::to_string(sceneObjects.sky->buffers->vertexBuffer);
        const std::string ib = std::to_string(sceneObjects.sky->buffers->indexBuffer);
        Calls calls = {
            "glBindFramebuffer(GL_FRAMEBUFFER, 0)",
            "glClear(0x4100)",
            "glViewport(0, 0, " + std::to_string(width) + ", " + std::to_string(height) + ")",
            "glUseProgram(" + p + ")",
        };
        for (const char* matrix : {"model_world", "world_projection", "model_projection"}) {
            if (first) {
                calls.push_back("glGetUniformLocation(" + p + ", " + matrix + ")");
            }
            calls.push_back("glUniformMatrix4fv(" + loc(matrix) + ", 1, GL_FALSE)");
        }
        char value[3][32];
        std::snprintf(value[0], sizeof value[0], "%.9g", static_cast<double>(time));
        std::snprintf(value[1], sizeof value[1], "%.9g", static_cast<double>(width));
        std::snprintf(value[2], sizeof value[2], "%.9g", static_cast<double>(height));
        const char* uniforms[3] = {"iTime", "viewportWidth", "viewportHeight"};
        for (int i = 0; i < 3; ++i) {
            if (first) {
                calls.push_back("glGetUniformLocation(" + p + ", " + uniforms[i] + ")");
            }
            calls.push_back("glUniform1f(" + loc(uniforms[i]) + ", " + value[i] + ")");
        }
        const Calls rest = {
            "glBindBuffer(GL_ARRAY_BUFFER, " + vb + ")",
            "glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, " + ib + ")",
            "glEnableVertexAttribArray(" + loc("position") + ")",
            "glVertexAttribPointer(" + loc("position") + ", 3, GL_FLOAT, GL_FALSE, 96, 0)",
            "glEnableVertexAttribArray(" + loc("position_normal") + ")",
            "glVertexAttribPointer(" + loc("position_normal") + ", 3, GL_FLOAT, GL_FALSE, 96, 20)",
            "glEnableVertexAttribArray(" + loc("position_tex") + ")",
            "glVertexAttribPointer(" + loc("position_tex") + ", 2, GL_FLOAT, GL_FALSE, 96, 12)",
            "glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, 0)",
        };
        calls.insert(calls.end(), rest.begin(), rest.end());
        return calls;
    }

    const SceneRun* run = nullptr;
    ShaderProgram* program = nullptr;
};

TEST_F(Scene, SetupMakesExactlyTheseCalls) {
    const std::string p = std::to_string(program->program);
    const std::string vs = std::to_string(program->vertexShader);
    const std::string fs = std::to_string(program->fragmentShader);
    const std::string vb = std::to_string(sceneObjects.sky->buffers->vertexBuffer);
    const std::string ib = std::to_string(sceneObjects.sky->buffers->indexBuffer);
    const Calls expected = {
        "glCreateProgram() = " + p,
        "glCreateShader(GL_VERTEX_SHADER) = " + vs,
        "glShaderSource(" + vs + ", 1, null)",
        "glCompileShader(" + vs + ")",
        "glGetShaderiv(" + vs + ", GL_COMPILE_STATUS)",
        "glCreateShader(GL_FRAGMENT_SHADER) = " + fs,
        "glShaderSource(" + fs + ", 1, null)",
        "glCompileShader(" + fs + ")",
        "glGetShaderiv(" + fs + ", GL_COMPILE_STATUS)",
        "glAttachShader(" + p + ", " + vs + ")",
        "glAttachShader(" + p + ", " + fs + ")",
        "glLinkProgram(" + p + ")",
        "glGenBuffers(1) = " + vb,
        "glGenBuffers(1) = " + ib,
        // In the order the sky declares them...
        "glGetAttribLocation(" + p + ", position)",
        "glGetAttribLocation(" + p + ", position_tex)",
        "glGetAttribLocation(" + p + ", position_normal)",
        "glBindBuffer(GL_ARRAY_BUFFER, " + vb + ")",
        "glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, " + ib + ")",
        // ...and pointed in byte order of their names.
        "glEnableVertexAttribArray(" + loc("position") + ")",
        "glVertexAttribPointer(" + loc("position") + ", 3, GL_FLOAT, GL_FALSE, 96, 0)",
        "glEnableVertexAttribArray(" + loc("position_normal") + ")",
        "glVertexAttribPointer(" + loc("position_normal") + ", 3, GL_FLOAT, GL_FALSE, 96, 20)",
        "glEnableVertexAttribArray(" + loc("position_tex") + ")",
        "glVertexAttribPointer(" + loc("position_tex") + ", 2, GL_FLOAT, GL_FALSE, 96, 12)",
        "glBufferData(GL_ARRAY_BUFFER, 576, GL_STATIC_DRAW)",
        "glBufferData(GL_ELEMENT_ARRAY_BUFFER, 24, GL_STATIC_DRAW)",
    };
    EXPECT_EQ(run->setup.calls, expected);
    EXPECT_NE(vb, ib);
    // The vertex program declares "position_normal" without using it.
    EXPECT_EQ(program->locationCache.at("position_normal"), -1);
    EXPECT_GE(program->locationCache.at("position"), 0);
}

TEST_F(Scene, SetupUploadsTheInterleavedQuad) {
    ASSERT_EQ(run->setup.uploads.size(), 2u);
    const std::vector<std::uint8_t>& vertexBytes = run->setup.uploads[0];
    const std::vector<std::uint8_t>& indexBytes = run->setup.uploads[1];
    ASSERT_EQ(vertexBytes.size(), 576u);
    ASSERT_EQ(indexBytes.size(), 24u);

    std::vector<float> v(144);
    std::memcpy(v.data(), vertexBytes.data(), 576);
    std::vector<std::uint32_t> indices(6);
    std::memcpy(indices.data(), indexBytes.data(), 24);
    EXPECT_EQ(indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5}));

    const float corners[6][5] = {{-1, 1, 0, 0, 1}, {-1, -1, 0, 0, 0}, {1, 1, 0, 1, 1},
                                 {1, -1, 0, 1, 0}, {1, 1, 0, 1, 1},   {-1, -1, 0, 0, 0}};
    for (int i = 0; i < 6; ++i) {
        const float* vertex = &v[i * 24];
        // Position and texture coordinate at floats 0 to 4.
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(vertex[k], corners[i][k]) << "vertex " << i << ", float " << k;
        }
        const float rest[19] = {0,       0,       1,                // normal
                                1,       0,       0,                // tangent
                                0,       1,       0,                // bitangent
                                0.7765f, 0.8824f, 0.3412f,          // ambient
                                0.7765f, 0.8824f, 0.3412f,          // diffuse
                                0.35f,   0.35f,   0.35f,   32.0f};  // specular and exponent
        for (int k = 0; k < 19; ++k) {
            EXPECT_NEAR(vertex[5 + k], rest[k], 1e-4f) << "vertex " << i << ", float " << 5 + k;
        }
    }
}

TEST_F(Scene, FirstFrameLooksUpTheUniformsAndLaterFramesDoNot) {
    EXPECT_EQ(run->firstFrame.calls, expectedFrame(frameWidth, frameHeight, frameTime, true));
    EXPECT_EQ(run->secondFrame.calls, expectedFrame(frameWidth, frameHeight, frameTime, false));
}

TEST_F(Scene, MatricesAreTheIdentityModelAndThePerspectiveOfTheWindow) {
    const Mat4 projection = perspective(40.0f, float(frameWidth) / float(frameHeight), 0.1f, 1000.0f);
    for (const GlCallLog* frame : {&run->firstFrame, &run->secondFrame}) {
        ASSERT_EQ(frame->matrices.size(), 3u);
        for (int e = 0; e < 16; ++e) {
            // model_world, then world_projection, then model_projection; the
            // view and the model are identities.
            EXPECT_EQ(frame->matrices[0][e], e % 5 == 0 ? 1.0f : 0.0f) << e;
            EXPECT_EQ(frame->matrices[1][e], projection.data()[e]) << e;
            EXPECT_EQ(frame->matrices[2][e], projection.data()[e]) << e;
        }
    }
    EXPECT_EQ(projection[2][3], -1.0f);
}

TEST_F(Scene, NextFrameFollowsAResize) {
    GlCallLog resized;
    recordWindowSize(1024, 512);
    recordGlCallsInto(&resized);
    renderFrame();
    recordGlCallsInto(nullptr);
    recordWindowSize(frameWidth, frameHeight);

    EXPECT_EQ(resized.calls, expectedFrame(1024, 512, frameTime, false));
    ASSERT_EQ(resized.matrices.size(), 3u);
    const Mat4 wide = perspective(40.0f, 2.0f, 0.1f, 1000.0f);
    for (int e = 0; e < 16; ++e) {
        EXPECT_EQ(resized.matrices[1][e], wide.data()[e]) << e;
    }
    EXPECT_EQ(sceneObjects.state->viewportWidth, 1024.0f);
    EXPECT_EQ(sceneObjects.state->viewportHeight, 512.0f);
    EXPECT_EQ(sceneObjects.camera->viewMatrix()[0][0], 1.0f) << "the camera never moves";
}

TEST_F(Scene, DrawsTheBackgroundProgramOverTheWholeViewport) {
    const int width = 96;
    const int height = 72;
    recordWindowSize(width, height);
    for (float time : {1.0f, 20.0f}) {
        sceneObjects.state->setTime(time);
        renderFrame();
        const std::vector<std::uint8_t> scene = readFrame(width, height);
        drawBackgroundQuad(*program, width, height, time);
        const std::vector<std::uint8_t> direct = readFrame(width, height);
        ASSERT_EQ(scene.size(), direct.size());
        for (std::size_t i = 0; i < scene.size(); ++i) {
            ASSERT_EQ(scene[i], direct[i]) << "time " << time << ": pixel " << i / 4 << ", channel " << i % 4;
        }
    }
    recordWindowSize(frameWidth, frameHeight);
    sceneObjects.state->setTime(frameTime);
}

}  // namespace
