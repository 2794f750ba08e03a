#pragma once

// Shader programs built from "TEXTFILE" resource text, with a cache of
// their variable locations. Needs a current OpenGL context with the entry
// points loaded.

#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "../window/gl_entry_points.h"

// Shader texts hold up to this many characters; their buffers have room for
// four terminating zero bytes after them.
constexpr std::size_t shaderTextCapacity = 16384;
constexpr std::size_t shaderTextBufferBytes = shaderTextCapacity + 4;

// Copies the text of the "TEXTFILE" resource with this id into destination
// and ends it with four zero bytes. The text is everything before the first
// "~". Without a marker it is the whole resource; a missing resource reads
// as empty text; a text longer than capacity characters is cut at capacity.
// The destination must have room for capacity + 4 bytes.
void loadResourceText(int id, char* destination, std::size_t capacity);

// Shows the shader's info log in a "Debug" message box.
void showShaderLog(GLuint shader);

enum class VariableKind { Uniform = 0, Attribute = 1 };

// A vertex and a fragment shader, compiled from two resources and linked.
// A stage that does not compile ends the process with exit code 0 after
// showing its info log and what failed. The link status is not examined.
class ShaderProgram {
public:
    ShaderProgram(int vertexResourceId, int fragmentResourceId);

    void use();

    // Locations by variable name. Uniforms and attributes share one cache
    // keyed by the name alone, so a name answers with whatever kind it was
    // first asked for. A name the program lacks is cached as -1.
    GLint uniformLocation(const char* name);
    GLint attribLocation(const char* name);
    GLint location(VariableKind kind, const char* name);

    std::unique_ptr<char[]> vertexSource;
    std::unique_ptr<char[]> fragmentSource;
    GLuint vertexShader;
    GLuint fragmentShader;
    GLuint program;
    std::map<std::string, GLint> locationCache;

private:
    static GLuint compileStage(GLenum type, const char* source, const char* failure);
};
