#include "glfw_input_handlers.h"

#include <windows.h>

#include <cstdlib>

#include "window_size.h"

void onGlfwError(int /*code*/, const char* description) {
    MessageBoxA(nullptr, description, "Error", MB_ICONINFORMATION);
}

void onWindowSize(GLFWwindow* /*window*/, int width, int height) {
    recordWindowSize(width, height);
}

void onKey(GLFWwindow* /*window*/, int /*key*/, int /*scancode*/, int /*action*/, int /*mods*/) {
    std::exit(0);
}

void onMouseButton(GLFWwindow* /*window*/, int /*button*/, int /*action*/, int /*mods*/) {
    std::exit(0);
}

void onCursorPos(GLFWwindow* /*window*/, double /*x*/, double /*y*/) {}

void onScroll(GLFWwindow* /*window*/, double /*xOffset*/, double /*yOffset*/) {}
