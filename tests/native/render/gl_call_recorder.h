#pragma once

// Recorders for the 30 OpenGL entry points that the system calls. Once
// installed they stay in the table for the rest of the process and forward
// every call to the driver; while a log is attached each call is also
// written to it as one line of text, e.g.
//   glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 96, 0)
// Buffer uploads and matrix uniforms also keep their data.

#include <cstdint>
#include <string>
#include <vector>

struct GlCallLog {
    std::vector<std::string> calls;
    // The bytes of every glBufferData, in call order.
    std::vector<std::vector<std::uint8_t>> uploads;
    // The 16 floats of every glUniformMatrix4fv, in call order.
    std::vector<std::vector<float>> matrices;
};

void installGlCallRecorders();
// Attaches a log (or detaches with null).
void recordGlCallsInto(GlCallLog* log);
