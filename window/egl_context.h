#pragma once

#include <string>

// A headless OpenGL context for the native build: Mesa's surfaceless EGL
// platform with a pbuffer surface, so no X server is needed. The context is
// current on the calling thread after create() succeeds, and the entry-point
// table is loaded from it.
class EglContext {
public:
    EglContext() = default;
    EglContext(const EglContext&) = delete;
    EglContext& operator=(const EglContext&) = delete;
    ~EglContext();

    // Returns false and fills error when no context could be made.
    bool create(int width, int height, std::string* error);

    // The result of loadGlEntryPoints() on this context.
    int loadResult() const {
        return loadResult_;
    }

private:
    void* display_ = nullptr;
    void* surface_ = nullptr;
    void* context_ = nullptr;
    int loadResult_ = -1;
};
