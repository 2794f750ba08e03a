#include "gl_call_recorder.h"

#include <cstdio>
#include <cstring>

#include "window/gl_entry_points.h"

namespace {

// The driver's entry points. Their calls are written (real.glXxx)(...): the
// parentheses keep the table's call macros from rewriting them.
GlEntryPoints real;
GlCallLog* active = nullptr;
bool installed = false;

std::string enumName(GLenum value) {
    switch (value) {
    case GL_VERTEX_SHADER:
        return "GL_VERTEX_SHADER";
    case GL_FRAGMENT_SHADER:
        return "GL_FRAGMENT_SHADER";
    case GL_COMPILE_STATUS:
        return "GL_COMPILE_STATUS";
    case GL_INFO_LOG_LENGTH:
        return "GL_INFO_LOG_LENGTH";
    case GL_ARRAY_BUFFER:
        return "GL_ARRAY_BUFFER";
    case GL_ELEMENT_ARRAY_BUFFER:
        return "GL_ELEMENT_ARRAY_BUFFER";
    case GL_STATIC_DRAW:
        return "GL_STATIC_DRAW";
    case GL_FLOAT:
        return "GL_FLOAT";
    case GL_UNSIGNED_INT:
        return "GL_UNSIGNED_INT";
    case GL_TRIANGLES:
        return "GL_TRIANGLES";
    case GL_FRAMEBUFFER:
        return "GL_FRAMEBUFFER";
    default: {
        char text[16];
        std::snprintf(text, sizeof text, "0x%X", value);
        return text;
    }
    }
}

std::string num(long long value) {
    return std::to_string(value);
}

std::string flt(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

std::string boolean(GLboolean value) {
    return value == GL_FALSE ? "GL_FALSE" : "GL_TRUE";
}

// Locations are GLint to the program and GLuint to the attribute calls;
// both are shown signed, so -1 reads as -1.
std::string location(GLuint value) {
    return num(static_cast<GLint>(value));
}

void log(const std::string& call) {
    if (active != nullptr) {
        active->calls.push_back(call);
    }
}

void APIENTRY recCullFace(GLenum mode) {
    log("glCullFace(" + enumName(mode) + ")");
    (real.glCullFace)(mode);
}
void APIENTRY recFrontFace(GLenum mode) {
    log("glFrontFace(" + enumName(mode) + ")");
    (real.glFrontFace)(mode);
}
void APIENTRY recClear(GLbitfield mask) {
    char text[32];
    std::snprintf(text, sizeof text, "glClear(0x%X)", mask);
    log(text);
    (real.glClear)(mask);
}
void APIENTRY recDisable(GLenum cap) {
    log("glDisable(" + enumName(cap) + ")");
    (real.glDisable)(cap);
}
void APIENTRY recEnable(GLenum cap) {
    log("glEnable(" + enumName(cap) + ")");
    (real.glEnable)(cap);
}
void APIENTRY recBlendFunc(GLenum s, GLenum d) {
    log("glBlendFunc(" + enumName(s) + ", " + enumName(d) + ")");
    (real.glBlendFunc)(s, d);
}
void APIENTRY recGetIntegerv(GLenum name, GLint* data) {
    log("glGetIntegerv(" + enumName(name) + ")");
    (real.glGetIntegerv)(name, data);
}
void APIENTRY recViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    log("glViewport(" + num(x) + ", " + num(y) + ", " + num(w) + ", " + num(h) + ")");
    (real.glViewport)(x, y, w, h);
}
void APIENTRY recDrawElements(GLenum mode, GLsizei count, GLenum type, const void* offset) {
    log("glDrawElements(" + enumName(mode) + ", " + num(count) + ", " + enumName(type) + ", " +
        num(static_cast<long long>(reinterpret_cast<std::uintptr_t>(offset))) + ")");
    (real.glDrawElements)(mode, count, type, offset);
}
void APIENTRY recDrawElementsInstanced(GLenum mode, GLsizei count, GLenum type, const void* offset,
                                       GLsizei instances) {
    log("glDrawElementsInstanced(" + enumName(mode) + ", " + num(count) + ", " + enumName(type) + ", " +
        num(static_cast<long long>(reinterpret_cast<std::uintptr_t>(offset))) + ", " + num(instances) + ")");
    (real.glDrawElementsInstanced)(mode, count, type, offset, instances);
}
void APIENTRY recBindBuffer(GLenum target, GLuint buffer) {
    log("glBindBuffer(" + enumName(target) + ", " + num(buffer) + ")");
    (real.glBindBuffer)(target, buffer);
}
void APIENTRY recGenBuffers(GLsizei n, GLuint* buffers) {
    (real.glGenBuffers)(n, buffers);
    log("glGenBuffers(" + num(n) + ") = " + num(n > 0 ? buffers[0] : 0));
}
void APIENTRY recBufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage) {
    log("glBufferData(" + enumName(target) + ", " + num(size) + ", " + enumName(usage) + ")");
    if (active != nullptr) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        active->uploads.emplace_back(bytes, bytes + (data != nullptr ? size : 0));
    }
    (real.glBufferData)(target, size, data, usage);
}
void APIENTRY recAttachShader(GLuint program, GLuint shader) {
    log("glAttachShader(" + num(program) + ", " + num(shader) + ")");
    (real.glAttachShader)(program, shader);
}
void APIENTRY recCompileShader(GLuint shader) {
    log("glCompileShader(" + num(shader) + ")");
    (real.glCompileShader)(shader);
}
GLuint APIENTRY recCreateProgram() {
    const GLuint program = (real.glCreateProgram)();
    log("glCreateProgram() = " + num(program));
    return program;
}
GLuint APIENTRY recCreateShader(GLenum type) {
    const GLuint shader = (real.glCreateShader)(type);
    log("glCreateShader(" + enumName(type) + ") = " + num(shader));
    return shader;
}
void APIENTRY recDeleteShader(GLuint shader) {
    log("glDeleteShader(" + num(shader) + ")");
    (real.glDeleteShader)(shader);
}
void APIENTRY recEnableVertexAttribArray(GLuint index) {
    log("glEnableVertexAttribArray(" + location(index) + ")");
    (real.glEnableVertexAttribArray)(index);
}
GLint APIENTRY recGetAttribLocation(GLuint program, const GLchar* name) {
    log("glGetAttribLocation(" + num(program) + ", " + name + ")");
    return (real.glGetAttribLocation)(program, name);
}
void APIENTRY recGetShaderiv(GLuint shader, GLenum name, GLint* value) {
    log("glGetShaderiv(" + num(shader) + ", " + enumName(name) + ")");
    (real.glGetShaderiv)(shader, name, value);
}
void APIENTRY recGetShaderInfoLog(GLuint shader, GLsizei size, GLsizei* length, GLchar* text) {
    log("glGetShaderInfoLog(" + num(shader) + ", " + num(size) + ")");
    (real.glGetShaderInfoLog)(shader, size, length, text);
}
GLint APIENTRY recGetUniformLocation(GLuint program, const GLchar* name) {
    log("glGetUniformLocation(" + num(program) + ", " + name + ")");
    return (real.glGetUniformLocation)(program, name);
}
void APIENTRY recLinkProgram(GLuint program) {
    log("glLinkProgram(" + num(program) + ")");
    (real.glLinkProgram)(program);
}
void APIENTRY recShaderSource(GLuint shader, GLsizei count, const GLchar* const* text, const GLint* lengths) {
    log("glShaderSource(" + num(shader) + ", " + num(count) + ", " +
        (lengths == nullptr ? "null" : "lengths") + ")");
    (real.glShaderSource)(shader, count, text, lengths);
}
void APIENTRY recUseProgram(GLuint program) {
    log("glUseProgram(" + num(program) + ")");
    (real.glUseProgram)(program);
}
void APIENTRY recUniform1f(GLint where, GLfloat value) {
    log("glUniform1f(" + num(where) + ", " + flt(value) + ")");
    (real.glUniform1f)(where, value);
}
void APIENTRY recUniformMatrix4fv(GLint where, GLsizei count, GLboolean transpose, const GLfloat* value) {
    log("glUniformMatrix4fv(" + num(where) + ", " + num(count) + ", " + boolean(transpose) + ")");
    if (active != nullptr) {
        active->matrices.emplace_back(value, value + 16);
    }
    (real.glUniformMatrix4fv)(where, count, transpose, value);
}
void APIENTRY recVertexAttribPointer(GLuint index, GLint size, GLenum type, GLboolean normalized,
                                     GLsizei stride, const void* offset) {
    log("glVertexAttribPointer(" + location(index) + ", " + num(size) + ", " + enumName(type) + ", " +
        boolean(normalized) + ", " + num(stride) + ", " +
        num(static_cast<long long>(reinterpret_cast<std::uintptr_t>(offset))) + ")");
    (real.glVertexAttribPointer)(index, size, type, normalized, stride, offset);
}
void APIENTRY recBindFramebuffer(GLenum target, GLuint framebuffer) {
    log("glBindFramebuffer(" + enumName(target) + ", " + num(framebuffer) + ")");
    (real.glBindFramebuffer)(target, framebuffer);
}

}  // namespace

void installGlCallRecorders() {
    if (installed) {
        return;
    }
    installed = true;
    std::memcpy(&real, &glEntryPoints, sizeof real);
    GlEntryPoints& t = glEntryPoints;
    t.glCullFace = recCullFace;
    t.glFrontFace = recFrontFace;
    t.glClear = recClear;
    t.glDisable = recDisable;
    t.glEnable = recEnable;
    t.glBlendFunc = recBlendFunc;
    t.glGetIntegerv = recGetIntegerv;
    t.glViewport = recViewport;
    t.glDrawElements = recDrawElements;
    t.glBindBuffer = recBindBuffer;
    t.glGenBuffers = recGenBuffers;
    t.glBufferData = recBufferData;
    t.glAttachShader = recAttachShader;
    t.glCompileShader = recCompileShader;
    t.glCreateProgram = recCreateProgram;
    t.glCreateShader = recCreateShader;
    t.glDeleteShader = recDeleteShader;
    t.glEnableVertexAttribArray = recEnableVertexAttribArray;
    t.glGetAttribLocation = recGetAttribLocation;
    t.glGetShaderiv = recGetShaderiv;
    t.glGetShaderInfoLog = recGetShaderInfoLog;
    t.glGetUniformLocation = recGetUniformLocation;
    t.glLinkProgram = recLinkProgram;
    t.glShaderSource = recShaderSource;
    t.glUseProgram = recUseProgram;
    t.glUniform1f = recUniform1f;
    t.glUniformMatrix4fv = recUniformMatrix4fv;
    t.glVertexAttribPointer = recVertexAttribPointer;
    t.glBindFramebuffer = recBindFramebuffer;
    t.glDrawElementsInstanced = recDrawElementsInstanced;
}

void recordGlCallsInto(GlCallLog* log) {
    active = log;
}
