#pragma once

#include <windows.h>

// Configure mode's window. Construction shows it and runs its message loop;
// it returns once the user has closed it.
class AboutWindow {
public:
    AboutWindow(HINSTANCE instance, int showCommand);
};
