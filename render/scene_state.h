#pragma once

#include "render_math.h"

// The per-frame values that become shader uniforms. One exists per process.
class SceneState {
public:
    explicit SceneState(float initialTime);

    void setTime(float seconds);
    void setViewportSize(float width, float height);

    // Fed to "viewportWidth" and "viewportHeight", in pixels; 0 until the
    // first frame sets them.
    float viewportWidth;
    float viewportHeight;
    // Seconds on the GLFW clock at the start of the current frame; fed to
    // "iTime".
    float time;
};

// View and projection matrices. Only view slot 0 is used; the slots and the
// projection are unset until the scene fills them.
class Camera {
public:
    static constexpr int viewSlotCount = 5;

    Camera(float x, float y, float z);

    // Turns the looking direction about the right vector. Neither forward nor
    // up is renormalised afterwards.
    void pitch(float degrees);
    // Stores the view for the current vectors in the slot (0 to 4) and
    // selects it; any other slot number changes nothing.
    void updateView(int slot);
    void setProjection(const Mat4& matrix);

    Mat4 viewMatrix() const;
    Mat4 projectionMatrix() const;

    Mat4 views[viewSlotCount];
    int currentView;
    Vec3 eye;
    // Always eye + forward.
    Vec3 target;
    Vec3 forward;
    Vec3 right;
    Vec3 up;
    Mat4 projection;
};
