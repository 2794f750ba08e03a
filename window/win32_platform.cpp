#include <windows.h>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "platform.h"

ResourceBytes platformTextResource(int id) {
    // None of these results is tested on purpose: a missing resource gives
    // size 0 and reads as empty text.
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), "TEXTFILE");
    if (found == nullptr) {
        return {nullptr, 0};
    }
    HGLOBAL loaded = LoadResource(nullptr, found);
    const DWORD size = SizeofResource(nullptr, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return {nullptr, 0};
    }
    return {static_cast<const char*>(bytes), static_cast<std::size_t>(size)};
}

void platformShowMessage(const char* text, const char* caption) {
    MessageBoxA(nullptr, text, caption, MB_ICONINFORMATION);
}

void platformShutdownWindowing() {
    glfwTerminate();
}
