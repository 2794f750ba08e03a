#pragma once

// The process-wide OpenGL entry-point table. Every OpenGL call of our own
// code goes through it: the generated header maps each call of a function
// name onto its slot, so glClear(mask) is a call through the slot
// glEntryPoints.glClear.
//
// Include this instead of any GL header; it must come before anything that
// would declare the GL functions themselves.

#include <GL/glcorearb.h>

#include <cstdint>

#include "gl_entry_points_table.h"

struct GlContextVersion {
    std::int32_t major;
    std::int32_t minor;
};

// Written by the version query at the end of the load; 0.0 before it.
extern GlContextVersion glContextVersion;

// An untyped procedure address.
using GlProc = void (*)();

// Fills every slot from the current context. Returns 0 when the context
// reports a major version of 3 or more, -1 otherwise. Nobody acts on the
// result: the run goes on with whatever context it got.
int loadGlEntryPoints();

// The platform-independent steps of the load. storeGlEntryPoints puts
// resolve(name) into each slot, in slot order and unconditionally (a failed
// lookup stores null). queryGlContextVersion then fills glContextVersion and
// gives the load's result.
void storeGlEntryPoints(GlProc (*resolve)(const char* name));
int queryGlContextVersion();
