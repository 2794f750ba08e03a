#pragma once

#include <map>
#include <string>

#include "shader_program.h"

// Shader programs filed by name. The registry owns its programs and never
// destroys them.
class ProgramRegistry {
public:
    ProgramRegistry() = default;

    // Builds the program (or ends the process when a stage does not
    // compile) and files it under name. A name already filed keeps its first
    // program; the new one is built all the same but not filed.
    void addProgram(const char* name, int vertexResourceId, int fragmentResourceId);

    // The program filed under name, or null.
    ShaderProgram* find(const char* name) const;

    // Makes the named program current. A name that was never filed changes
    // nothing.
    void useProgram(const char* name) const;

    // Keys compare byte by byte, case-sensitively.
    std::map<std::string, ShaderProgram*> programs;
};
