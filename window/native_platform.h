#pragma once

// Native stand-ins for the platform services, with hooks for tests.

#include <string>
#include <vector>

struct NativeMessage {
    std::string caption;
    std::string text;
};

// Replaces (or adds) the "TEXTFILE" resource with this id for the rest of
// the process, or until nativeResetTextResources.
void nativeSetTextResource(int id, std::string bytes);
// Removes the resource with this id, as if the executable lacked it.
void nativeRemoveTextResource(int id);
// Back to the resources built from resources/.
void nativeResetTextResources();

// Every message shown so far, in order; each is also written to stderr.
const std::vector<NativeMessage>& nativeMessages();
void nativeClearMessages();

// How many times the windowing library was asked to shut down.
int nativeShutdownCount();
