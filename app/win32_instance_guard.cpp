#include <windows.h>

#include "launch_options.h"

bool LaunchOptions::acquireInstanceGuard() {
    // The event is only a marker: it exists while a guarded process holds it
    // and the system removes it when the last holder ends. It is never
    // signalled or waited on, and its handle is never closed.
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, L"K_OPENGL_SCREENSAVER");
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(event);
        return false;
    }
    // A creation that fails outright does not stop the run.
    return true;
}
