#pragma once

#include <cstddef>

// The "TEXTFILE" resources of resources/, embedded for the native build.
struct NativeResource {
    int id;
    const char* data;
    std::size_t size;
};

extern const std::size_t nativeResourceCount;
extern const NativeResource nativeResources[];
