#include "shader_program.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "../window/platform.h"

void loadResourceText(int id, char* destination, std::size_t capacity) {
    const ResourceBytes resource = platformTextResource(id);
    std::size_t count = 0;
    if (resource.data != nullptr) {
        // Bounded by the resource's own size and by the destination, so
        // neither a text without its marker nor an over-long one can run
        // off either end.
        while (count < resource.size && count < capacity && resource.data[count] != '~') {
            destination[count] = resource.data[count];
            ++count;
        }
    }
    std::memset(destination + count, 0, 4);
}

void showShaderLog(GLuint shader) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    if (length < 0) {
        length = 0;
    }
    // Zero-filled: an empty log leaves the buffer untouched and must still
    // read as an empty text.
    std::vector<char> log(static_cast<std::size_t>(length) + 1, '\0');
    glGetShaderInfoLog(shader, length, &length, log.data());
    platformShowMessage(log.data(), "Debug");
}

ShaderProgram::ShaderProgram(int vertexResourceId, int fragmentResourceId)
    : vertexSource(new char[shaderTextBufferBytes]()),
      fragmentSource(new char[shaderTextBufferBytes]()),
      vertexShader(0),
      fragmentShader(0),
      program(0) {
    loadResourceText(vertexResourceId, vertexSource.get(), shaderTextCapacity);
    loadResourceText(fragmentResourceId, fragmentSource.get(), shaderTextCapacity);
    program = glCreateProgram();
    vertexShader = compileStage(GL_VERTEX_SHADER, vertexSource.get(), "Vertex shader compilation error");
    fragmentShader =
        compileStage(GL_FRAGMENT_SHADER, fragmentSource.get(), "Fragment shader compilation error");
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glLinkProgram(program);
}

GLuint ShaderProgram::compileStage(GLenum type, const char* source, const char* failure) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint status = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status == 0) {
        showShaderLog(shader);
        platformShowMessage(failure, "Debug");
        glDeleteShader(shader);
        std::exit(0);
    }
    return shader;
}

void ShaderProgram::use() {
    glUseProgram(program);
}

GLint ShaderProgram::uniformLocation(const char* name) {
    return location(VariableKind::Uniform, name);
}

GLint ShaderProgram::attribLocation(const char* name) {
    return location(VariableKind::Attribute, name);
}

GLint ShaderProgram::location(VariableKind kind, const char* name) {
    std::string key(name);
    const auto found = locationCache.find(key);
    if (found != locationCache.end()) {
        return found->second;
    }
    const GLint value = kind == VariableKind::Uniform ? glGetUniformLocation(program, name)
                                                      : glGetAttribLocation(program, name);
    locationCache.emplace(std::move(key), value);
    return value;
}
