#include "egl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>

#include "gl_entry_points.h"

namespace {

std::string eglFailure(const char* step) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(eglGetError()));
    return std::string(step) + " failed (EGL error " + code + ")";
}

}  // namespace

bool EglContext::create(int width, int height, std::string* error) {
    EGLDisplay display = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) {
        *error = eglFailure("eglGetPlatformDisplay(surfaceless)");
        return false;
    }
    if (!eglInitialize(display, nullptr, nullptr)) {
        *error = eglFailure("eglInitialize");
        return false;
    }
    display_ = display;
    if (!eglBindAPI(EGL_OPENGL_API)) {
        *error = eglFailure("eglBindAPI(EGL_OPENGL_API)");
        return false;
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT,
                                       EGL_RENDERABLE_TYPE,
                                       EGL_OPENGL_BIT,
                                       EGL_RED_SIZE,
                                       8,
                                       EGL_GREEN_SIZE,
                                       8,
                                       EGL_BLUE_SIZE,
                                       8,
                                       EGL_ALPHA_SIZE,
                                       8,
                                       EGL_DEPTH_SIZE,
                                       24,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &count) || count < 1) {
        *error = eglFailure("eglChooseConfig");
        return false;
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    surface_ = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (surface_ == EGL_NO_SURFACE) {
        *error = eglFailure("eglCreatePbufferSurface");
        return false;
    }
    // No version asked for: like the screensaver, whose context is requested
    // as 2.0 without a profile, this gets the driver's compatibility context.
    context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    if (context_ == EGL_NO_CONTEXT) {
        *error = eglFailure("eglCreateContext");
        return false;
    }
    if (!eglMakeCurrent(display, surface_, surface_, context_)) {
        *error = eglFailure("eglMakeCurrent");
        return false;
    }
    loadResult_ = loadGlEntryPoints();
    return true;
}

EglContext::~EglContext() {
    if (display_ == nullptr) {
        return;
    }
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_ != nullptr) {
        eglDestroyContext(display_, context_);
    }
    if (surface_ != nullptr) {
        eglDestroySurface(display_, surface_);
    }
    eglTerminate(display_);
}
