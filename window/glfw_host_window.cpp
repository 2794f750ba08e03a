#include "glfw_host_window.h"

// Drawing into the host's preview window needs GLFW to wrap a window it did
// not create. Until that is in place, preview runs open no window.
GLFWwindow* attachHostWindow(HWND /*host*/) {
    return nullptr;
}
