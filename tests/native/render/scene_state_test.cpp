#include <gtest/gtest.h>

#include <cmath>

#include "render/scene_state.h"

namespace {

void expectVec3(const Vec3& v, float x, float y, float z, const char* what) {
    EXPECT_EQ(v[0], x) << what;
    EXPECT_EQ(v[1], y) << what;
    EXPECT_EQ(v[2], z) << what;
}

void expectIdentity(const Mat4& m) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(m[i][j], i == j ? 1.0f : 0.0f) << "element [" << i << "][" << j << "]";
        }
    }
}

TEST(SceneState, KeepsTimeAndViewportSize) {
    SceneState state(2.5f);
    EXPECT_EQ(state.time, 2.5f);
    state.setTime(10.0f);
    state.setViewportSize(1024.0f, 512.0f);
    EXPECT_EQ(state.time, 10.0f);
    EXPECT_EQ(state.viewportWidth, 1024.0f);
    EXPECT_EQ(state.viewportHeight, 512.0f);
}

TEST(Camera, AtTheOriginPitchedByZeroLooksDownMinusZ) {
    Camera camera(0, 0, 0);
    EXPECT_EQ(camera.currentView, 0);
    camera.pitch(0.0f);
    expectVec3(camera.forward, 0, 0, -1, "forward");
    expectVec3(camera.up, 0, 1, 0, "up = cross(right, forward)");
    expectVec3(camera.right, 1, 0, 0, "right");
    expectVec3(camera.target, 0, 0, -1, "target = eye + forward");
    camera.updateView(0);
    expectIdentity(camera.viewMatrix());
}

TEST(Camera, PitchTurnsForwardTowardsUpWithoutRenormalising) {
    Camera camera(1, 2, 3);
    expectVec3(camera.target, 1, 2, 2, "target after construction");
    camera.pitch(90.0f);
    const float a = radians(90.0f);
    // forward = (0, 0, -1) cos a + (0, 1, 0) sin a.
    expectVec3(camera.forward, 0, std::sin(a), -std::cos(a), "forward");
    expectVec3(camera.up, 0, std::cos(a), std::sin(a), "up");
    expectVec3(camera.target, 1, 2 + std::sin(a), 3 - std::cos(a), "target");
}

TEST(Camera, ViewMatrixIsACopyOfTheSelectedSlot) {
    Camera camera(0, 0, 0);
    camera.updateView(0);
    const Mat4 first = camera.viewMatrix();

    camera.eye = Vec3(5, 0, 0);
    camera.target = Vec3(5, 0, -1);
    camera.updateView(3);
    EXPECT_EQ(camera.currentView, 3);
    EXPECT_EQ(camera.viewMatrix()[3][0], -5.0f);
    // The matrix returned before is untouched, and so is slot 0.
    expectIdentity(first);
    expectIdentity(camera.views[0]);

    // A slot outside the five is ignored instead of written past the array.
    camera.updateView(5);
    camera.updateView(-1);
    EXPECT_EQ(camera.currentView, 3);
    EXPECT_EQ(camera.viewMatrix()[3][0], -5.0f);
}

TEST(Camera, ProjectionMatrixIsWhatWasSet) {
    Camera camera(0, 0, 0);
    camera.setProjection(perspective(40.0f, 2.0f, 0.1f, 1000.0f));
    Mat4 p = camera.projectionMatrix();
    p[0][0] = 99.0f;
    EXPECT_EQ(camera.projectionMatrix()[0][0], perspective(40.0f, 2.0f, 0.1f, 1000.0f)[0][0]);
    EXPECT_EQ(camera.projectionMatrix()[2][3], -1.0f);
}

}  // namespace
