#pragma once

class Camera;
class GLFWDrawableSky;
class ProgramRegistry;
class SceneState;

// The fixed scene: one program, "BackgroundProgram", and one drawable, the
// background quad, seen by a camera at the origin. setupScene creates these
// once; they are never replaced or destroyed.
struct SceneObjects {
    ProgramRegistry* registry = nullptr;
    SceneState* state = nullptr;
    Camera* camera = nullptr;
    GLFWDrawableSky* sky = nullptr;
};

extern SceneObjects sceneObjects;

// Scene setup, once before the first frame, with the context current and the
// entry points loaded. A shader that does not compile or a mesh that does not
// load ends the process here.
void setupScene();

// Draws one whole frame into the default framebuffer of the current context
// at the size in WindowSize, at the time last given to the SceneState; the
// caller presents it.
void renderFrame();
