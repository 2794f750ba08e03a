// glfwAttachHostWindow: GLFW's window creation without the native window.
// Compiled as part of GLFW itself (cmake/glfw.cmake adds it to the library),
// so it fills GLFW's own window record and uses GLFW's own context code; the
// patch in glfw-patches/ adds the two fields it sets and the matching
// destruction step.
#include "internal.h"

#include "glfw_attach_host_window.h"

// GLFW's window procedure is private to win32_window.c; its window class,
// registered at initialisation, carries it.
static WNDPROC glfwWindowProcedure(void)
{
    WNDCLASSEXW wc = { sizeof(wc) };
    if (!GetClassInfoExW(_glfw.win32.instance, _GLFW_WNDCLASSNAME, &wc))
        return NULL;
    return wc.lpfnWndProc;
}

static GLFWbool createContext(_GLFWwindow* window,
                              const _GLFWctxconfig* ctxconfig,
                              const _GLFWfbconfig* fbconfig)
{
    if (ctxconfig->source == GLFW_NATIVE_CONTEXT_API)
        return _glfwInitWGL() && _glfwCreateContextWGL(window, ctxconfig, fbconfig);
    if (ctxconfig->source == GLFW_EGL_CONTEXT_API)
        return _glfwInitEGL() && _glfwCreateContextEGL(window, ctxconfig, fbconfig);
    if (ctxconfig->source == GLFW_OSMESA_CONTEXT_API)
        return _glfwInitOSMesa() && _glfwCreateContextOSMesa(window, ctxconfig, fbconfig);
    return GLFW_FALSE;
}

GLFWAPI GLFWwindow* glfwAttachHostWindow(HWND handle, GLFWwindow* share)
{
    _GLFWfbconfig fbconfig;
    _GLFWctxconfig ctxconfig;
    _GLFWwndconfig wndconfig;
    _GLFWwindow* window;
    WNDPROC procedure;
    LONG style, exStyle;

    _GLFW_REQUIRE_INIT_OR_RETURN(NULL);

    fbconfig  = _glfw.hints.framebuffer;
    ctxconfig = _glfw.hints.context;
    wndconfig = _glfw.hints.window;
    ctxconfig.share = (_GLFWwindow*) share;

    if (share &&
        (ctxconfig.client == GLFW_NO_API ||
         ctxconfig.share->context.client == GLFW_NO_API))
    {
        _glfwInputError(GLFW_NO_WINDOW_CONTEXT, NULL);
        return NULL;
    }

    if (!_glfwIsValidContextConfig(&ctxconfig))
        return NULL;

    // Nothing of a null or stale handle may be touched: no property, no
    // window procedure, no device context.
    if (!handle || !IsWindow(handle))
    {
        _glfwInputError(GLFW_INVALID_VALUE, "Win32: Invalid host window handle");
        return NULL;
    }

    procedure = glfwWindowProcedure();
    if (!procedure)
    {
        _glfwInputErrorWin32(GLFW_PLATFORM_ERROR,
                             "Win32: Failed to find GLFW's window class");
        return NULL;
    }

    window = calloc(1, sizeof(_GLFWwindow));
    window->next = _glfw.windowListHead;
    _glfw.windowListHead = window;

    window->autoIconify = wndconfig.autoIconify;
    window->cursorMode  = GLFW_CURSOR_NORMAL;
    window->minwidth    = GLFW_DONT_CARE;
    window->minheight   = GLFW_DONT_CARE;
    window->maxwidth    = GLFW_DONT_CARE;
    window->maxheight   = GLFW_DONT_CARE;
    window->numer       = GLFW_DONT_CARE;
    window->denom       = GLFW_DONT_CARE;

    window->win32.handle = handle;
    SetPropW(handle, L"GLFW", window);

    // From here on the window's messages in this process go to GLFW's own
    // window procedure. Another process's window refuses the replacement;
    // that does not stop the attachment.
    window->win32.attached = GLFW_TRUE;
    window->win32.previousWndProc = GetWindowLongPtrW(handle, GWLP_WNDPROC);
    SetWindowLongPtrW(handle, GWLP_WNDPROC, (LONG_PTR) procedure);

    style   = GetWindowLongW(handle, GWL_STYLE);
    exStyle = GetWindowLongW(handle, GWL_EXSTYLE);
    if (style & WS_THICKFRAME)
        window->resizable = GLFW_TRUE;
    if (style & (WS_BORDER | WS_THICKFRAME))
        window->decorated = GLFW_TRUE;
    if (exStyle & WS_EX_TOPMOST)
        window->floating = GLFW_TRUE;

    window->win32.maximized = IsZoomed(handle);
    window->win32.iconified = IsIconic(handle);

    if (ctxconfig.client != GLFW_NO_API)
    {
        // On failure the failing step has reported its error; destroying the
        // record detaches it from the native window again.
        if (!createContext(window, &ctxconfig, &fbconfig) ||
            !_glfwRefreshContextAttribs(window, &ctxconfig))
        {
            glfwDestroyWindow((GLFWwindow*) window);
            return NULL;
        }
    }

    return (GLFWwindow*) window;
}
