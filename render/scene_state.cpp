#include "scene_state.h"

#include <cmath>

SceneState::SceneState(float initialTime) : viewportWidth(0.0f), viewportHeight(0.0f), time(initialTime) {}

void SceneState::setTime(float seconds) {
    time = seconds;
}

void SceneState::setViewportSize(float width, float height) {
    viewportWidth = width;
    viewportHeight = height;
}

Camera::Camera(float x, float y, float z)
    : currentView(0),
      eye(x, y, z),
      forward(0.0f, 0.0f, -1.0f),
      right(1.0f, 0.0f, 0.0f),
      up(0.0f, 1.0f, 0.0f) {
    target = eye + forward;
}

void Camera::pitch(float degrees) {
    const float a = radians(degrees);
    forward = forward * std::cos(a) + up * std::sin(a);
    up = cross(right, forward);
    target = eye + forward;
}

void Camera::updateView(int slot) {
    // A slot outside the five is ignored rather than written past the array.
    if (slot < 0 || slot >= viewSlotCount) {
        return;
    }
    views[slot] = lookAt(eye, target, up);
    currentView = slot;
}

void Camera::setProjection(const Mat4& matrix) {
    projection = matrix;
}

Mat4 Camera::viewMatrix() const {
    return views[currentView];
}

Mat4 Camera::projectionMatrix() const {
    return projection;
}
