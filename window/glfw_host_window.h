#pragma once

#include <windows.h>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

// A GLFW window around the host's preview window, with an OpenGL context on
// it made from the current window hints; null when that cannot be done.
GLFWwindow* attachHostWindow(HWND host);
