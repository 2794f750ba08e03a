#pragma once

// The few services that the rendering core (render/) and the mesh loader
// (mesh/) ask of the platform. Each platform supplies them in a file named
// after it: win32_platform.cpp for the screensaver, native_platform.cpp for
// the native tests and tools.

#include <cstddef>

// The bytes of a "TEXTFILE" resource of the executable, found by integer id.
// The whole resource, exactly its size; a missing resource is empty (null
// data, size 0). The bytes live until the process ends.
struct ResourceBytes {
    const char* data;
    std::size_t size;
};

ResourceBytes platformTextResource(int id);

// A modal message with the information icon and no owner window.
void platformShowMessage(const char* text, const char* caption);

// Shuts the windowing library down before a fatal exit.
void platformShutdownWindowing();
