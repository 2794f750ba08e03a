// Exercises the host-window attachment in-process under Wine, where a
// window's procedure can be replaced and a context put on it.
//
//   attach_probe facts    attaches to windows of several styles and to bad
//                         handles, and prints what it finds as lines
//                         "<case>.<key>=<value>"; ends with "done"
//   attach_probe draw     attaches to a visible window at (40, 40) with a
//                         160 x 120 client area, clears it green every frame
//                         and prints "drawing" once the first frame is shown;
//                         runs until killed
//   attach_probe app <disable|destroy|resize> <ms> [child|popup]
//                         runs the real screensaver application in preview
//                         mode on a host window of its own at (40, 40),
//                         160 x 120 (a child window unless "popup" is given),
//                         and, after ms,
//                         disables, destroys or resizes the host from a timer
//                         inside the event poll; prints "run returned" and
//                         the time from the action to the end of run()
//   attach_probe app close-from-host-thread <ms>
//                         the same on a host that another thread of this
//                         process owns, like a screensaver host's dialog: a
//                         top-level frame at (30, 30) with the 160 x 120
//                         child window that the screensaver draws into. After
//                         ms that thread destroys the child, whatever the
//                         main loop is doing at that moment, prints
//                         "acted close" and destroys the frame
//   attach_probe about-unregistered
//                         the About window with its class name already taken
//   attach_probe host <screensaver> <disable|destroy> <ms>
//                         a host of our own: runs the screensaver as a child
//                         process in preview mode on its child window, acts
//                         on that window after ms and prints how the child
//                         ended: "child ended exit=<code> after=<ms>"
#include <windows.h>

#include "window/gl_entry_points.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "about/win32_about_window.h"
#include "app/launch_options.h"
#include "app/screensaver_app.h"
#include "render/render_math.h"
#include "render/scene.h"
#include "render/scene_state.h"
#include "window/glfw_attach_host_window.h"
#include "window/window_size.h"

namespace {

const wchar_t* const hostClass = L"ZephyrineTestHost";

int lastErrorCode = 0;
std::string lastErrorText;
int keysSeen = 0;
int lastKey = 0;
int sizeWidth = -1, sizeHeight = -1;

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerHostClass() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = hostProcedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = hostClass;
    RegisterClassExW(&wc);
}

HWND createHost(DWORD style, DWORD exStyle, HWND parent, int x, int y, int clientWidth, int clientHeight) {
    RECT rect = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    HWND window =
        CreateWindowExW(exStyle, hostClass, L"host", style, x, y, rect.right - rect.left,
                        rect.bottom - rect.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    return window;
}

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void onError(int code, const char* description) {
    lastErrorCode = code;
    lastErrorText = description != nullptr ? description : "";
}

void onKeyEvent(GLFWwindow*, int key, int, int, int) {
    ++keysSeen;
    lastKey = key;
}

void onSize(GLFWwindow*, int width, int height) {
    sizeWidth = width;
    sizeHeight = height;
}

void fact(const std::string& name, const char* key, long long value) {
    std::printf("%s.%s=%lld\n", name.c_str(), key, value);
}

void factText(const std::string& name, const char* key, const std::string& value) {
    std::printf("%s.%s=%s\n", name.c_str(), key, value.c_str());
}

LONG_PTR procedureOf(HWND window) {
    return GetWindowLongPtrW(window, GWLP_WNDPROC);
}

bool hasGlfwProperty(HWND window) {
    return GetPropW(window, L"GLFW") != nullptr;
}

void setScreensaverHints() {
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
    glfwWindowHint(GLFW_CONTEXT_ROBUSTNESS, GLFW_LOSE_CONTEXT_ON_RESET);
    glfwWindowHint(GLFW_SAMPLES, 0);
    glfwWindowHint(GLFW_STEREO, 0);
}

// Attaches to a window of the given style, reports the attached state, then
// destroys the GLFW window and reports what is left of the native one.
void styleCase(const std::string& name, DWORD style, DWORD exStyle, int show, HWND parent = nullptr) {
    HWND host = createHost(style, exStyle, parent, 30, 30, 120, 90);
    ShowWindow(host, show);
    pump();
    const LONG_PTR own = procedureOf(host);
    setScreensaverHints();
    GLFWwindow* window = glfwAttachHostWindow(host, nullptr);
    fact(name, "attached", window != nullptr);
    if (window == nullptr) {
        factText(name, "error", lastErrorText);
        return;
    }
    fact(name, "resizable", glfwGetWindowAttrib(window, GLFW_RESIZABLE));
    fact(name, "decorated", glfwGetWindowAttrib(window, GLFW_DECORATED));
    fact(name, "floating", glfwGetWindowAttrib(window, GLFW_FLOATING));
    fact(name, "iconified", glfwGetWindowAttrib(window, GLFW_ICONIFIED));
    fact(name, "property", GetPropW(host, L"GLFW") == static_cast<HANDLE>(window));
    fact(name, "glfw_procedure", procedureOf(host) != own);

    // GLFW's callbacks fire for the window's messages: a key (A, scancode
    // 0x1E) and a resize.
    keysSeen = 0;
    sizeWidth = sizeHeight = -1;
    glfwSetKeyCallback(window, onKeyEvent);
    glfwSetWindowSizeCallback(window, onSize);
    SendMessageW(host, WM_KEYDOWN, 'A', 0x001E0001);
    fact(name, "key_callback", keysSeen == 1 && lastKey == GLFW_KEY_A);
    if (!IsIconic(host)) {
        SetWindowPos(host, nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        pump();
        RECT client;
        GetClientRect(host, &client);
        fact(name, "size_callback",
             sizeWidth == client.right && sizeHeight == client.bottom && sizeWidth > 0);
    }

    glfwDestroyWindow(window);
    fact(name, "alive_after_destroy", IsWindow(host) != FALSE);
    fact(name, "visible_after_destroy", IsWindowVisible(host) != FALSE);
    fact(name, "own_procedure_after_destroy", procedureOf(host) == own);
    fact(name, "property_after_destroy", hasGlfwProperty(host));
    DestroyWindow(host);
    pump();
}

// An attachment that must fail: reports the error and the native window's
// state afterwards.
void failureCase(const std::string& name, HWND host) {
    const LONG_PTR own = host != nullptr && IsWindow(host) ? procedureOf(host) : 0;
    lastErrorCode = 0;
    lastErrorText.clear();
    GLFWwindow* window = glfwAttachHostWindow(host, nullptr);
    fact(name, "attached", window != nullptr);
    std::printf("%s.error_code=0x%X\n", name.c_str(), static_cast<unsigned>(lastErrorCode));
    factText(name, "error", lastErrorText);
    if (host != nullptr && IsWindow(host)) {
        fact(name, "alive", 1);
        fact(name, "own_procedure", procedureOf(host) == own);
        fact(name, "property", hasGlfwProperty(host));
    }
}

int facts() {
    registerHostClass();
    glfwSetErrorCallback(onError);

    HWND plain = createHost(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 30, 30, 120, 90);
    pump();
    failureCase("not_initialized", plain);

    if (!glfwInit()) {
        std::printf("glfwInit failed: %s\n", lastErrorText.c_str());
        return 1;
    }

    HWND parent = createHost(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 200, 30, 150, 120);
    styleCase("child", WS_CHILD | WS_VISIBLE, 0, SW_SHOW, parent);
    styleCase("caption", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, SW_SHOW);
    styleCase("thick_frame", WS_POPUP | WS_THICKFRAME | WS_VISIBLE, 0, SW_SHOW);
    styleCase("topmost", WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST, SW_SHOW);
    styleCase("minimised", WS_OVERLAPPEDWINDOW, 0, SW_SHOWMINNOACTIVE);

    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 0);
    failureCase("invalid_hints", plain);

    // A version above what the driver gives fails in context creation or in
    // the read-back of what was created.
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 9);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 9);
    failureCase("version_unavailable", plain);

    setScreensaverHints();
    failureCase("null_handle", nullptr);
    HWND stale = createHost(WS_OVERLAPPEDWINDOW, 0, nullptr, 0, 0, 50, 50);
    DestroyWindow(stale);
    failureCase("stale_handle", stale);

    glfwTerminate();
    std::printf("done\n");
    std::fflush(stdout);
    return 0;
}

int draw() {
    registerHostClass();
    HWND host = createHost(WS_POPUP | WS_VISIBLE, 0, nullptr, 40, 40, 160, 120);
    pump();
    if (!glfwInit()) {
        return 1;
    }
    setScreensaverHints();
    GLFWwindow* window = glfwAttachHostWindow(host, nullptr);
    if (window == nullptr) {
        std::printf("attach failed\n");
        return 1;
    }
    glfwMakeContextCurrent(window);
    loadGlEntryPoints();
    for (int frame = 0;; ++frame) {
        glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glfwSwapBuffers(window);
        glfwPollEvents();
        if (frame == 2) {
            std::printf("drawing\n");
            std::fflush(stdout);
        }
        Sleep(20);
    }
}

// The real application in preview mode, with a timer that acts on the host
// from inside the main loop's event poll.
HWND appHost = nullptr;
std::string appAction;
DWORD actionTick = 0;

void CALLBACK actOnHost(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    actionTick = GetTickCount();
    if (appAction == "disable") {
        EnableWindow(appHost, FALSE);
    } else if (appAction == "destroy") {
        DestroyWindow(appHost);
    } else if (appAction == "resize") {
        SetWindowPos(appHost, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    std::printf("acted %s\n", appAction.c_str());
    std::fflush(stdout);
}

// Called from the event poll after at least one frame was drawn at the new
// size: what that frame used for its viewport, projection and uniforms.
void CALLBACK reportFrameState(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::printf("size=%dx%d viewport=%d,%d,%d,%d\n", windowSize.width, windowSize.height, viewport[0],
                viewport[1], viewport[2], viewport[3]);

    const Mat4 expected = perspective(40.0f, 200.0f / 100.0f, 0.1f, 1000.0f);
    const Mat4 projection = sceneObjects.camera->projectionMatrix();
    std::printf("projection_matches=%d\n", std::memcmp(&expected, &projection, sizeof expected) == 0 ? 1 : 0);

    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    const auto id = static_cast<GLuint>(program);
    // The fragment program reads only the width; the height reaches the
    // uniform upload through the scene state.
    GLfloat width = -1.0f;
    glGetUniformfv(id, glGetUniformLocation(id, "viewportWidth"), &width);
    std::printf("uniform_viewportWidth=%g state_viewport=%gx%g\n", static_cast<double>(width),
                static_cast<double>(sceneObjects.state->viewportWidth),
                static_cast<double>(sceneObjects.state->viewportHeight));
    std::fflush(stdout);
    EnableWindow(appHost, FALSE);
}

int app(const std::string& action, int milliseconds, bool childHost) {
    registerHostClass();
    if (childHost) {
        // Like the system's preview, the host is a child window of a
        // dialog-like top-level window.
        HWND frame = createHost(WS_POPUP | WS_VISIBLE, 0, nullptr, 30, 30, 180, 140);
        appHost = createHost(WS_CHILD | WS_VISIBLE, 0, frame, 10, 10, 160, 120);
    } else {
        // Wine on a virtual screen shows OpenGL drawing in top-level windows
        // only, so the picture is photographed in one.
        appHost = createHost(WS_POPUP | WS_VISIBLE, 0, nullptr, 40, 40, 160, 120);
    }
    appAction = action;
    pump();

    const std::string commandLine = "/p " + std::to_string(reinterpret_cast<UINT_PTR>(appHost));
    auto* options = new LaunchOptions(commandLine.c_str());
    auto* application = new ScreensaverApp(options);
    std::printf("size at start=%dx%d\n", windowSize.width, windowSize.height);
    std::fflush(stdout);
    SetTimer(nullptr, 0, static_cast<UINT>(milliseconds), actOnHost);
    if (action == "resize") {
        SetTimer(nullptr, 0, static_cast<UINT>(milliseconds + 500), reportFrameState);
    }
    application->run();
    std::printf("run returned %lu ms after the action\n",
                static_cast<unsigned long>(GetTickCount() - actionTick));
    std::fflush(stdout);
    return 0;
}

// A host whose windows belong to a thread of their own, which closes it
// without waiting for the screensaver's main loop.
struct ThreadHost {
    int milliseconds = 0;
    HANDLE ready = nullptr;
    HWND frame = nullptr;
    HWND preview = nullptr;
};

DWORD WINAPI runThreadHost(void* parameter) {
    auto* host = static_cast<ThreadHost*>(parameter);
    host->frame = createHost(WS_POPUP | WS_VISIBLE, 0, nullptr, 30, 30, 180, 140);
    host->preview = createHost(WS_CHILD | WS_VISIBLE, 0, host->frame, 10, 10, 160, 120);
    pump();
    SetEvent(host->ready);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(host->milliseconds)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        pump();
    }
    // The preview window first, as the host's dialog does when it closes;
    // the frame follows once the preview is gone.
    actionTick = GetTickCount();
    DestroyWindow(host->preview);
    std::printf("acted close\n");
    std::fflush(stdout);
    DestroyWindow(host->frame);
    // Serve whatever else reaches this thread until the process ends.
    for (;;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        pump();
    }
}

int appOnThreadHost(int milliseconds) {
    registerHostClass();
    static ThreadHost host;
    host.milliseconds = milliseconds;
    host.ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    CreateThread(nullptr, 0, runThreadHost, &host, 0, nullptr);
    WaitForSingleObject(host.ready, INFINITE);
    appHost = host.preview;

    const std::string commandLine = "/p " + std::to_string(reinterpret_cast<UINT_PTR>(appHost));
    auto* options = new LaunchOptions(commandLine.c_str());
    auto* application = new ScreensaverApp(options);
    std::printf("size at start=%dx%d\n", windowSize.width, windowSize.height);
    std::fflush(stdout);
    application->run();
    std::printf("run returned %lu ms after the action\n",
                static_cast<unsigned long>(GetTickCount() - actionTick));
    std::fflush(stdout);
    return 0;
}

// A screensaver host of our own: starts the real executable as a child
// process with "/p <hwnd>" on a child window, acts on that window after ms
// and reports how the child ended.
int host(const char* screensaver, const std::string& action, int milliseconds) {
    registerHostClass();
    HWND frame = createHost(WS_POPUP | WS_VISIBLE, 0, nullptr, 30, 30, 180, 140);
    HWND preview = createHost(WS_CHILD | WS_VISIBLE, 0, frame, 10, 10, 160, 120);
    pump();

    std::string commandLine =
        std::string("\"") + screensaver + "\" /p " + std::to_string(reinterpret_cast<UINT_PTR>(preview));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::printf("could not start the screensaver\n");
        return 1;
    }
    std::printf("started\n");
    std::fflush(stdout);

    auto waitPumping = [&](DWORD limit) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < limit) {
            if (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0) {
                return true;
            }
            pump();
        }
        return false;
    };

    if (waitPumping(static_cast<DWORD>(milliseconds))) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        std::printf("child ended before the action, exit=%lu\n", static_cast<unsigned long>(code));
        return 0;
    }
    const DWORD acted = GetTickCount();
    if (action == "disable") {
        EnableWindow(preview, FALSE);
    } else {
        DestroyWindow(preview);
    }
    std::printf("acted %s\n", action.c_str());
    std::fflush(stdout);
    const bool ended = waitPumping(30000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("child %s exit=%lu after=%lu\n", ended ? "ended" : "still running",
                static_cast<unsigned long>(code), static_cast<unsigned long>(GetTickCount() - acted));
    std::fflush(stdout);
    if (!ended) {
        TerminateProcess(process.hProcess, 1);
    }
    return 0;
}

// The About window when its class cannot be registered (here: the class
// name is taken already): its message, then a return instead of a wait on a
// window that does not exist.
int aboutUnregistered() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DreamloomWindowClass";
    RegisterClassA(&wc);
    AboutWindow about(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    std::printf("about returned\n");
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "facts") == 0) {
        return facts();
    }
    if (argc >= 2 && std::strcmp(argv[1], "draw") == 0) {
        return draw();
    }
    if (argc >= 4 && std::strcmp(argv[1], "app") == 0 &&
        std::strcmp(argv[2], "close-from-host-thread") == 0) {
        return appOnThreadHost(std::atoi(argv[3]));
    }
    if (argc >= 4 && std::strcmp(argv[1], "app") == 0) {
        return app(argv[2], std::atoi(argv[3]), argc < 5 || std::strcmp(argv[4], "popup") != 0);
    }
    if (argc >= 2 && std::strcmp(argv[1], "about-unregistered") == 0) {
        return aboutUnregistered();
    }
    if (argc >= 5 && std::strcmp(argv[1], "host") == 0) {
        return host(argv[2], argv[3], std::atoi(argv[4]));
    }
    std::fprintf(stderr,
                 "usage: attach_probe facts | draw | app <disable|destroy|resize> <ms> [child|popup] |"
                 " app close-from-host-thread <ms> | about-unregistered |"
                 " host <screensaver> <disable|destroy> <ms>\n");
    return 2;
}
