#pragma once

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "launch_options.h"

// The application object of the rendering modes (Preview, Screensaver,
// Default). Constructing it brings up GLFW, the window and the OpenGL
// context; run() sets the scene up and runs the main loop. One exists per
// process and it is never destroyed.
class ScreensaverApp {
public:
    explicit ScreensaverApp(LaunchOptions* options);

    void run();
    void frameStep();

    // Start-up steps, in the order the constructor calls them.
    void initGlfw();
    void computeWindowSize();
    void openWindow();
    void initGlState();

    void setSwapInterval(bool on);
    void setWindowIcon(GLFWwindow* target);
    static int windowsVersion();

    GLFWwindow* window = nullptr;
    LaunchOptions* options;
};
