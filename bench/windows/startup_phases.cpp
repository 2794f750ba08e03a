// Where the screensaver's start-up goes: the real application code of a
// "/s" run, step by step, each step timed with the performance counter, up
// to the first frame presented. Printed on standard output (a console
// program), then the process ends.
//
// The steps: the application object (GLFW, window, context, icon, entry
// points, fixed state), the resource texts of the two programs, the mesh
// load alone, the scene setup (the program built and linked, the mesh
// loaded again and uploaded), and the first frame (which is when Mesa
// compiles the fragment program to machine code) with its swap.
#include "window/gl_entry_points.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/launch_options.h"
#include "app/screensaver_app.h"
#include "mesh/mesh_arrays.h"
#include "render/scene.h"
#include "render/shader_program.h"

namespace {

double now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

double last = 0.0;

void step(const char* name) {
    const double t = now();
    std::printf("phase %-34s %8.2f ms\n", name, t - last);
    std::fflush(stdout);
    last = t;
}

}  // namespace

int main() {
    const double start = now();
    last = start;
    auto* options = new LaunchOptions("/s");
    auto* app = new ScreensaverApp(options);
    step("glfw_window_context_state");

    std::vector<char> text(shaderTextBufferBytes);
    loadResourceText(137, text.data(), shaderTextCapacity);
    loadResourceText(136, text.data(), shaderTextCapacity);
    step("program_resource_texts");

    const MeshArrays mesh(141, 140, 1.0f);
    step("mesh_load_alone");

    loadGlEntryPoints();
    step("entry_points_again");

    setupScene();
    step("setup_scene");

    app->frameStep();
    glfwSwapBuffers(app->window);
    glFinish();
    step("first_frame_and_swap");
    const double firstFrame = last;

    app->frameStep();
    glfwSwapBuffers(app->window);
    glFinish();
    step("second_frame_and_swap");

    std::printf("phase %-34s %8.2f ms\n", "total_to_first_frame", firstFrame - start);
    std::fflush(stdout);
    std::exit(0);
}
