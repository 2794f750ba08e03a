#pragma once

#include <windows.h>

// Configure mode's window: there is nothing to configure, so it shows the
// product's heading, logo, three lines about the maker and a button that
// opens the maker's website. Construction builds and shows the window and
// runs its message loop; it returns once the user has closed it. No GLFW or
// OpenGL object is made in this mode.
class AboutWindow {
public:
    AboutWindow(HINSTANCE instance, int showCommand);

    const char* title;
    const char* windowClassName;
    const char* buttonText;
    const char* aboutText;
    const char* productName;
};

LRESULT CALLBACK aboutWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
