// Opens a small hidden GLFW window with the screensaver's context hints,
// loads the entry-point table from it exactly as the screensaver does and
// prints what the load found.
//
//   load=<result> version=<major>.<minor> filled=<non-null slots>
//   missing=<comma-separated names of the slots we call that are null>
#include <windows.h>

#include "window/gl_entry_points.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstring>
#include <string>

int main() {
    if (!glfwInit()) {
        std::printf("glfwInit failed\n");
        return 1;
    }
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
    glfwWindowHint(GLFW_CONTEXT_ROBUSTNESS, GLFW_LOSE_CONTEXT_ON_RESET);
    glfwWindowHint(GLFW_SAMPLES, 0);
    glfwWindowHint(GLFW_STEREO, 0);
    GLFWwindow* window = glfwCreateWindow(64, 64, "gl_probe", nullptr, nullptr);
    if (window == nullptr) {
        std::printf("glfwCreateWindow failed\n");
        return 1;
    }
    glfwMakeContextCurrent(window);
    const int result = loadGlEntryPoints();

    int filled = 0;
    const auto* slots = reinterpret_cast<const unsigned char*>(&glEntryPoints);
    for (int i = 0; i < GL_ENTRY_POINT_COUNT; ++i) {
        GlProc p;
        std::memcpy(&p, slots + i * sizeof p, sizeof p);
        filled += p != nullptr;
    }

    const char* used[] = {"glCullFace",
                          "glFrontFace",
                          "glClear",
                          "glDisable",
                          "glEnable",
                          "glBlendFunc",
                          "glGetIntegerv",
                          "glViewport",
                          "glDrawElements",
                          "glBindBuffer",
                          "glGenBuffers",
                          "glBufferData",
                          "glAttachShader",
                          "glCompileShader",
                          "glCreateProgram",
                          "glCreateShader",
                          "glDeleteShader",
                          "glEnableVertexAttribArray",
                          "glGetAttribLocation",
                          "glGetShaderiv",
                          "glGetShaderInfoLog",
                          "glGetUniformLocation",
                          "glLinkProgram",
                          "glShaderSource",
                          "glUseProgram",
                          "glUniform1f",
                          "glUniformMatrix4fv",
                          "glVertexAttribPointer",
                          "glBindFramebuffer",
                          "glDrawElementsInstanced"};
    std::string missing;
    for (const char* name : used) {
        for (int i = 0; i < GL_ENTRY_POINT_COUNT; ++i) {
            if (std::strcmp(name, glEntryPointNames[i]) != 0) {
                continue;
            }
            GlProc p;
            std::memcpy(&p, slots + i * sizeof p, sizeof p);
            if (p == nullptr) {
                missing += missing.empty() ? "" : ",";
                missing += name;
            }
        }
    }
    std::printf("load=%d version=%d.%d filled=%d\nmissing=%s\n", result, glContextVersion.major,
                glContextVersion.minor, filled, missing.c_str());
    std::fflush(stdout);
    glfwTerminate();
    return 0;
}
