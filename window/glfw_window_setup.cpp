// The four start-up steps of the rendering modes: GLFW, the drawing size,
// the window with its context and icon, and the fixed OpenGL state.
#include <windows.h>

#include "gl_entry_points.h"

#include <cstdlib>

#include "../app/screensaver_app.h"
#include "glfw_attach_host_window.h"
#include "gl_fixed_state.h"
#include "glfw_input_handlers.h"
#include "window_icon.h"
#include "window_size.h"
#include "windows_version.h"

namespace {

constexpr const char* windowTitle = "ZephyrineScreensaver";

// Older systems, and a monitor that GLFW cannot describe, get this size.
constexpr int fallbackWidth = 800;
constexpr int fallbackHeight = 600;

HWND hostHandle(const LaunchOptions& options) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(options.hostWindow));
}

[[noreturn]] void failStartup(const char* text) {
    MessageBoxA(nullptr, text, "Debug", MB_ICONINFORMATION);
    glfwTerminate();
    std::exit(0);
}

}  // namespace

void ScreensaverApp::initGlfw() {
    // Set first, so that the library's own start-up errors are shown too.
    glfwSetErrorCallback(onGlfwError);
    if (!glfwInit()) {
        // Nothing can be drawn without the library: end here rather than go
        // on to ask an absent library for a monitor and a window.
        failStartup("Failed to initialize GLFW");
    }
}

void ScreensaverApp::computeWindowSize() {
    if (options->mode == LaunchMode::Preview) {
        RECT client;
        if (GetClientRect(hostHandle(*options), &client)) {
            recordWindowSize(client.right - client.left, client.bottom - client.top);
        } else {
            // A handle that is no window: no size to take. The attachment
            // fails on it and ends the run before anything is drawn.
            recordWindowSize(0, 0);
        }
        return;
    }

    int width = fallbackWidth;
    int height = fallbackHeight;
    if (windowsVersion() >= 60) {
        GLFWmonitor* monitor = glfwGetPrimaryMonitor();
        const GLFWvidmode* widthMode = monitor != nullptr ? glfwGetVideoMode(monitor) : nullptr;
        const GLFWvidmode* heightMode = monitor != nullptr ? glfwGetVideoMode(monitor) : nullptr;
        if (widthMode != nullptr && heightMode != nullptr) {
            width = widthMode->width;
            height = heightMode->height;
        }
    }
    recordWindowSize(width, height);
}

void ScreensaverApp::openWindow() {
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
    glfwWindowHint(GLFW_CONTEXT_ROBUSTNESS, GLFW_LOSE_CONTEXT_ON_RESET);
    glfwWindowHint(GLFW_SAMPLES, 0);
    glfwWindowHint(GLFW_STEREO, 0);

    if (options->mode == LaunchMode::Preview) {
        window = glfwAttachHostWindow(hostHandle(*options), nullptr);
    } else {
        window = glfwCreateWindow(windowSize.width, windowSize.height, windowTitle, glfwGetPrimaryMonitor(),
                                  nullptr);
    }
    if (window == nullptr) {
        failStartup("Failed to open window");
    }

    glfwSetWindowSizeCallback(window, onWindowSize);
    glfwSetKeyCallback(window, onKey);
    glfwSetMouseButtonCallback(window, onMouseButton);
    glfwSetCursorPosCallback(window, onCursorPos);
    glfwSetScrollCallback(window, onScroll);

    glfwMakeContextCurrent(window);
    setWindowIcon(window);
    // The result is not acted on: the run goes on with whatever context the
    // driver gave.
    loadGlEntryPoints();
}

void ScreensaverApp::initGlState() {
    applyFixedGlState();
    setSwapInterval(true);
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
}

void ScreensaverApp::setSwapInterval(bool on) {
    glfwSwapInterval(on ? 1 : 0);
}

void ScreensaverApp::setWindowIcon(GLFWwindow* target) {
    unsigned char pixels[windowIconBytes];
    transposeWindowIcon(windowIconTable, pixels);
    GLFWimage image;
    image.width = windowIconSize;
    image.height = windowIconSize;
    image.pixels = pixels;
    glfwSetWindowIcon(target, 1, &image);
}

int ScreensaverApp::windowsVersion() {
    return windowsVersionFromPacked(static_cast<std::uint32_t>(GetVersion()));
}
