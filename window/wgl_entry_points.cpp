// Entry-point resolution through WGL. opengl32.dll exports only OpenGL 1.0
// and 1.1; everything later must be asked of the driver while a context is
// current.
#include <windows.h>

#include "gl_entry_points.h"

namespace {

// Held only while the table is being filled.
HMODULE openGlLibrary = nullptr;

GlProc resolveGlEntryPoint(const char* name) {
    PROC proc = wglGetProcAddress(name);
    // Only a null result falls back to the export; any other value, even one
    // of the small integers some drivers return, is kept as it is.
    if (proc == nullptr) {
        proc = GetProcAddress(openGlLibrary, name);
    }
    return reinterpret_cast<GlProc>(proc);
}

}  // namespace

int loadGlEntryPoints() {
    // Already resident (we import wglGetProcAddress from it); this takes one
    // more reference for the duration of the load.
    openGlLibrary = LoadLibraryA("opengl32.dll");
    storeGlEntryPoints(resolveGlEntryPoint);
    // Drops only our own reference: the stored addresses stay valid because
    // the library stays loaded through the static import.
    FreeLibrary(openGlLibrary);
    openGlLibrary = nullptr;
    return queryGlContextVersion();
}
