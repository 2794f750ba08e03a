#include "win32_about_window.h"

// There is nothing to configure. The About window itself is not built yet:
// configure mode ends at once, without creating any GLFW or OpenGL object.
AboutWindow::AboutWindow(HINSTANCE /*instance*/, int /*showCommand*/) {}
