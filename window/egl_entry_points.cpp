// Entry-point resolution through EGL, for the native build: the rendering
// core's tests and tools call OpenGL through the very same table as the
// screensaver.
#include <EGL/egl.h>

#include "gl_entry_points.h"

namespace {

GlProc resolveGlEntryPoint(const char* name) {
    return reinterpret_cast<GlProc>(eglGetProcAddress(name));
}

}  // namespace

int loadGlEntryPoints() {
    storeGlEntryPoints(resolveGlEntryPoint);
    return queryGlContextVersion();
}
