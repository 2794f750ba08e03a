#include "scene.h"

#include "../window/gl_entry_points.h"
#include "../window/window_size.h"
#include "drawable.h"
#include "program_registry.h"
#include "render_math.h"
#include "scene_state.h"

namespace {

const char* const backgroundProgram = "BackgroundProgram";
constexpr int backgroundVertexResource = 137;
constexpr int backgroundFragmentResource = 136;
constexpr int skyObjResource = 141;
constexpr int skyMtlResource = 140;

}  // namespace

SceneObjects sceneObjects;

void setupScene() {
    sceneObjects.registry = new ProgramRegistry();
    sceneObjects.state = new SceneState(0.0f);
    sceneObjects.camera = new Camera(0.0f, 0.0f, 0.0f);
    sceneObjects.camera->pitch(0.0f);
    // At the origin, looking down -z: view slot 0 is the identity.
    sceneObjects.camera->updateView(0);
    sceneObjects.registry->addProgram(backgroundProgram, backgroundVertexResource,
                                      backgroundFragmentResource);
    sceneObjects.sky = new GLFWDrawableSky(sceneObjects.state, sceneObjects.camera, sceneObjects.registry,
                                           backgroundProgram, skyObjResource, skyMtlResource, 1.0f);
    sceneObjects.sky->upload();
}

void renderFrame() {
    sceneObjects.camera->setProjection(perspective(40.0f, windowSize.aspectRatio, 0.1f, 1000.0f));
    sceneObjects.sky->setModelMatrix(translate(0.0f, 0.0f, 0.0f));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    sceneObjects.state->setViewportSize(static_cast<float>(windowSize.width),
                                        static_cast<float>(windowSize.height));
    glViewport(0, 0, windowSize.width, windowSize.height);
    sceneObjects.sky->draw();
}
