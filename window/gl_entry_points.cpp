#include "gl_entry_points.h"

#include <cstring>

GlContextVersion glContextVersion = {0, 0};

// Every slot is a function pointer of the same size, so the table can be
// filled by index from the name list.
static_assert(sizeof(GlEntryPoints) == GL_ENTRY_POINT_COUNT * sizeof(GlProc),
              "the entry-point table must be a plain array of function pointers");

void storeGlEntryPoints(GlProc (*resolve)(const char* name)) {
    auto* slots = reinterpret_cast<unsigned char*>(&glEntryPoints);
    for (int i = 0; i < GL_ENTRY_POINT_COUNT; ++i) {
        const GlProc proc = resolve(glEntryPointNames[i]);
        std::memcpy(slots + i * sizeof(GlProc), &proc, sizeof proc);
    }
}

int queryGlContextVersion() {
    if (glEntryPoints.glGetIntegerv == nullptr) {
        return -1;
    }
    // A context older than 3.0 does not know GL_MAJOR_VERSION: the query
    // raises GL_INVALID_ENUM and leaves the value at 0.
    glGetIntegerv(GL_MAJOR_VERSION, &glContextVersion.major);
    glGetIntegerv(GL_MINOR_VERSION, &glContextVersion.minor);
    return glContextVersion.major < 3 ? -1 : 0;
}
