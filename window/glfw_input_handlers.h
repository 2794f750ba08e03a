#pragma once

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

// GLFW errors: shown in a modal "Error" box with GLFW's own description.
void onGlfwError(int code, const char* description);
// Keeps WindowSize in step with the window's client size.
void onWindowSize(GLFWwindow* window, int width, int height);
// Any key or mouse-button event ends the process with exit code 0.
void onKey(GLFWwindow* window, int key, int scancode, int action, int mods);
void onMouseButton(GLFWwindow* window, int button, int action, int mods);
// Cursor movement and the wheel never end the screensaver.
void onCursorPos(GLFWwindow* window, double x, double y);
void onScroll(GLFWwindow* window, double xOffset, double yOffset);
