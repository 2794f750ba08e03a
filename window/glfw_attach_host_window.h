#pragma once

// An addition to GLFW's window module, built into our GLFW library: a GLFW
// window wrapped around an existing native window, with an OpenGL context on
// it made from the current window hints, so that the preview path drives the
// host's window through the ordinary GLFW API.

#include <windows.h>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#ifdef __cplusplus
extern "C" {
#endif

// Returns the new window, or null after reporting the cause through GLFW's
// error callback. share: a window whose context shares objects with the new
// one, or null. The context is not made current. glfwDestroyWindow (and
// glfwTerminate) detach it again: the native window keeps living with its
// own window procedure back and without the "GLFW" property.
GLFWAPI GLFWwindow* glfwAttachHostWindow(HWND handle, GLFWwindow* share);

#ifdef __cplusplus
}
#endif
