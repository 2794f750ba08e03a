#include "screensaver_app.h"

#include <windows.h>

#include "../render/scene.h"
#include "../render/scene_state.h"

ScreensaverApp::ScreensaverApp(LaunchOptions* launchOptions) : options(launchOptions) {
    initGlfw();
    computeWindowSize();
    openWindow();
    initGlState();
}

void ScreensaverApp::run() {
    setupScene();
    bool running = true;
    do {
        frameStep();
        glfwSwapBuffers(window);
        // A key or mouse button ends the process inside this call.
        glfwPollEvents();

        // All three tests run in every pass, whatever the earlier ones found.
        if (glfwGetKey(window, GLFW_KEY_ESCAPE) != 0) {
            running = false;
        }
        if (glfwWindowShouldClose(window) == GLFW_TRUE) {
            running = false;
        }
        // A host window that no longer exists counts as disabled.
        if (options->mode == LaunchMode::Preview &&
            !IsWindowEnabled(reinterpret_cast<HWND>(static_cast<UINT_PTR>(options->hostWindow)))) {
            break;
        }
    } while (running);
}

void ScreensaverApp::frameStep() {
    const float t = static_cast<float>(glfwGetTime());
    // Seconds since GLFW started, not since the first frame.
    sceneObjects.state->setTime(t);
    renderFrame();
}
