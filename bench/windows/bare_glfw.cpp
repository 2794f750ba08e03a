// The yardstick of the start-up benchmark: a bare GLFW program that opens
// the same full-screen window as the screensaver, with the same hints on
// the primary monitor at its current mode, and clears and presents it every
// pass until a key, a mouse button or a close request. No resources, no
// shaders, no mesh, no entry-point table.
#include <windows.h>

#include <GL/gl.h>

#include <cstdlib>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!glfwInit()) {
        return 0;
    }
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = glfwGetVideoMode(monitor);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
    glfwWindowHint(GLFW_CONTEXT_ROBUSTNESS, GLFW_LOSE_CONTEXT_ON_RESET);
    glfwWindowHint(GLFW_SAMPLES, 0);
    glfwWindowHint(GLFW_STEREO, 0);
    GLFWwindow* window = glfwCreateWindow(mode->width, mode->height, "BareGlfw", monitor, nullptr);
    if (window == nullptr) {
        return 0;
    }
    glfwSetKeyCallback(window, [](GLFWwindow*, int, int, int, int) { std::exit(0); });
    glfwSetMouseButtonCallback(window, [](GLFWwindow*, int, int, int) { std::exit(0); });
    glfwMakeContextCurrent(window);
    glfwSwapInterval(1);
    while (!glfwWindowShouldClose(window)) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glfwSwapBuffers(window);
        glfwPollEvents();
    }
    return 0;
}
