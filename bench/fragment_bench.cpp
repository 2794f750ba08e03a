// Cost of the background fragment program on Mesa (llvmpipe through EGL,
// offscreen): the shipped program (resource 136) against a naive
// transcription of the same arithmetic and a flat-colour program, at fixed
// times, as median milliseconds per frame. The programs are drawn in turns
// within every round, so that a load beside this process reaches all of
// them alike.
//
// usage: fragment_bench [--rounds N] [--frames N] [--size WxH]... [--variants]
//                       [--program NAME=FILE]...
//
// Under callgrind (--collect-atstart=no, LP_NUM_THREADS=0) it draws one frame
// per program and size instead and dumps the instruction count of each as
// "fragment WxH NAME".

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <valgrind/callgrind.h>

#include "bench/bench_support.h"
#include "render/background_reference.h"
#include "render/shader_program.h"
#include "window/egl_context.h"
#include "window/gl_entry_points.h"
#include "window/native_platform.h"

namespace {

struct Size {
    int width;
    int height;
};

struct Program {
    std::string name;
    ShaderProgram* shader = nullptr;
    // Per size: every frame's milliseconds, on the wall clock and in
    // processor time of the whole process (llvmpipe's threads included).
    std::vector<std::vector<double>> frames;
    std::vector<std::vector<double>> cpuFrames;
    // Compiling, linking and the first draw, at the first size.
    double buildMs = 0;
    double buildCpuMs = 0;
};

// The variants tried while tuning the shipped program, in
// bench/shaders/variants/, measured with --variants.
const char* const variantShaderNames[] = {"parameters",          "unrolled", "reciprocal",
                                          "unrolled_reciprocal", "stride",   "unrolled_stride"};

// The times the frames are drawn at, in turn; all past the fade-in.
constexpr float frameTimes[] = {9.0f, 20.0f, 100.0f, 1000.0f};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "fragment_bench: cannot read %s\n", path.c_str());
        std::exit(2);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Processor time used by every thread of this process so far, in
// milliseconds. Time the machine gives to other processes does not count, so
// this is steadier than the wall clock on a shared machine.
double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

GLuint quadBuffer() {
    static GLuint corners = 0;
    if (corners == 0) {
        const float quad[] = {-1, -1, 0, 1, -1, 0, -1, 1, 0, 1, 1, 0};
        glGenBuffers(1, &corners);
        glBindBuffer(GL_ARRAY_BUFFER, corners);
        glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);
    }
    return corners;
}

// One frame as the screensaver draws it: clear, then the quad over the
// viewport with blending on, finished before the clock is read.
void drawFrame(ShaderProgram& program, const Size& size, float time) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glScissor(0, 0, size.width, size.height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, size.width, size.height);
    program.use();
    glUniform1f(program.uniformLocation("iTime"), time);
    glUniform1f(program.uniformLocation("viewportWidth"), static_cast<float>(size.width));
    glUniform1f(program.uniformLocation("viewportHeight"), static_cast<float>(size.height));
    const GLint position = program.attribLocation("position");
    glBindBuffer(GL_ARRAY_BUFFER, quadBuffer());
    glEnableVertexAttribArray(static_cast<GLuint>(position));
    glVertexAttribPointer(static_cast<GLuint>(position), 3, GL_FLOAT, GL_FALSE, 12, nullptr);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisableVertexAttribArray(static_cast<GLuint>(position));
    glFinish();
}

std::vector<std::uint8_t> readFrame(const Size& size) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size.width) * size.height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, size.width, size.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// How a program's frame compares with the shipped program's and with the
// CPU reference: exactly equal pixels, and the share within 2/255 of the
// reference (the agreement the picture tests ask for).
struct Agreement {
    double identicalToShipped;
    double withinReference;
    int largest;
};

Agreement agreement(const std::vector<std::uint8_t>& frame, const std::vector<std::uint8_t>& shipped,
                    const std::vector<std::uint8_t>& reference) {
    const std::size_t pixels = frame.size() / 4;
    std::size_t identical = 0;
    std::size_t within = 0;
    int largest = 0;
    for (std::size_t p = 0; p < pixels; ++p) {
        identical += std::memcmp(&frame[p * 4], &shipped[p * 4], 4) == 0 ? 1 : 0;
        int worst = 0;
        for (int k = 0; k < 3; ++k) {
            worst = std::max(worst, std::abs(int(frame[p * 4 + k]) - int(reference[p * 4 + k])));
        }
        within += worst <= 2 ? 1 : 0;
        largest = std::max(largest, worst);
    }
    return {double(identical) / double(pixels), double(within) / double(pixels), largest};
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 5;
    int framesPerRound = 4;
    bool variants = false;
    std::vector<Size> sizes;
    std::vector<std::pair<std::string, std::string>> extra;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--rounds" && i + 1 < argc) {
            rounds = std::atoi(argv[++i]);
        } else if (arg == "--frames" && i + 1 < argc) {
            framesPerRound = std::atoi(argv[++i]);
        } else if (arg == "--size" && i + 1 < argc) {
            Size s{};
            if (std::sscanf(argv[++i], "%dx%d", &s.width, &s.height) != 2) {
                return 2;
            }
            sizes.push_back(s);
        } else if (arg == "--variants") {
            variants = true;
        } else if (arg == "--program" && i + 1 < argc) {
            const std::string nameAndFile = argv[++i];
            const std::size_t eq = nameAndFile.find('=');
            if (eq == std::string::npos) {
                return 2;
            }
            extra.emplace_back(nameAndFile.substr(0, eq), nameAndFile.substr(eq + 1));
        } else {
            std::fprintf(stderr,
                         "usage: fragment_bench [--rounds N] [--frames N] [--size WxH]... [--variants] "
                         "[--program NAME=FILE]...\n");
            return 2;
        }
    }
    if (sizes.empty()) {
        sizes = {{320, 240}, {1280, 720}};
    }
    int surfaceWidth = 0;
    int surfaceHeight = 0;
    for (const Size& s : sizes) {
        surfaceWidth = std::max(surfaceWidth, s.width);
        surfaceHeight = std::max(surfaceHeight, s.height);
    }

    EglContext context;
    std::string error;
    if (!context.create(surfaceWidth, surfaceHeight, &error)) {
        std::fprintf(stderr, "fragment_bench: %s\n", error.c_str());
        return 1;
    }
    std::printf("# renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    // The screensaver's fixed state; the scissor keeps each clear to the
    // viewport of the size being measured.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_SCISSOR_TEST);

    const std::string dir = ZEPHYRINE_BENCH_SOURCE_DIR "/shaders/";
    // The previous program is the one shipped before it was tuned.
    std::vector<std::pair<std::string, std::string>> sources = {
        {"naive", dir + "naive.glsl"},
        {"flat", dir + "flat.glsl"},
        {"previous", dir + "variants/hoisted_loop.glsl"}};
    if (variants) {
        for (const char* v : variantShaderNames) {
            sources.emplace_back(v, dir + "variants/" + v + ".glsl");
        }
    }
    sources.insert(sources.end(), extra.begin(), extra.end());

    // Building a program and drawing with it the first time, when llvmpipe
    // compiles its machine code, is part of the screensaver's start-up:
    // that time is kept too (the first draw at the smallest size).
    std::vector<Program> programs;
    int id = 7000;
    // What the first program built in a process pays once (the compiler's
    // own start) goes to a throw-away program.
    nativeSetTextResource(id, readFile(dir + "flat.glsl"));
    drawFrame(*new ShaderProgram(137, id++), sizes[0], frameTimes[0]);
    for (std::size_t i = 0; i <= sources.size(); ++i) {
        const bool shipped = i == 0;
        if (!shipped) {
            nativeSetTextResource(id, readFile(sources[i - 1].second));
        }
        const double start = processCpuMs();
        const auto wallStart = std::chrono::steady_clock::now();
        auto* shader = new ShaderProgram(137, shipped ? 136 : id);
        drawFrame(*shader, sizes[0], frameTimes[0]);
        const double buildMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart).count();
        const double buildCpuMs = processCpuMs() - start;
        programs.push_back({shipped ? "shipped" : sources[i - 1].first, shader, {}, {}, buildMs, buildCpuMs});
        programs.back().frames.resize(sizes.size());
        programs.back().cpuFrames.resize(sizes.size());
        id += shipped ? 0 : 1;
    }

    if (RUNNING_ON_VALGRIND) {
        for (const Size& size : sizes) {
            for (Program& p : programs) {
                drawFrame(*p.shader, size, frameTimes[1]);
                CALLGRIND_TOGGLE_COLLECT;
                drawFrame(*p.shader, size, frameTimes[1]);
                CALLGRIND_TOGGLE_COLLECT;
                const std::string name = "fragment " + std::to_string(size.width) + "x" +
                                         std::to_string(size.height) + " " + p.name;
                CALLGRIND_DUMP_STATS_AT(name.c_str());
            }
        }
        return 0;
    }

    // Frame by frame in turns: every program draws its frame at a time before
    // the next time is taken, so a passing load falls on all of them.
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t s = 0; s < sizes.size(); ++s) {
            for (int f = 0; f < framesPerRound; ++f) {
                const float time = frameTimes[f % (sizeof frameTimes / sizeof frameTimes[0])];
                for (Program& p : programs) {
                    const double cpuStart = processCpuMs();
                    const auto start = std::chrono::steady_clock::now();
                    drawFrame(*p.shader, sizes[s], time);
                    const auto end = std::chrono::steady_clock::now();
                    p.cpuFrames[s].push_back(processCpuMs() - cpuStart);
                    p.frames[s].push_back(std::chrono::duration<double, std::milli>(end - start).count());
                }
            }
        }
    }

    for (const Program& p : programs) {
        std::printf("fragment build+first_draw %-20s ms=%.1f cpu_ms=%.1f (at %dx%d)\n", p.name.c_str(),
                    p.buildMs, p.buildCpuMs, sizes[0].width, sizes[0].height);
    }

    // The first frames of a run, drawn before the fade-in begins at two
    // seconds, when every pixel is black: the shipped program against the
    // previous one and the flat colour.
    const float blackTime = 1.0f;
    for (std::size_t s = 0; s < sizes.size(); ++s) {
        std::vector<double> black[3];
        for (int round = 0; round < rounds * framesPerRound; ++round) {
            for (int k = 0; k < 3; ++k) {
                ShaderProgram& shader = *programs[k == 0 ? 0 : k == 1 ? 3 : 2].shader;
                const double cpuStart = processCpuMs();
                drawFrame(shader, sizes[s], blackTime);
                black[k].push_back(processCpuMs() - cpuStart);
            }
        }
        std::printf("fragment %dx%d before_fade_in cpu_ms shipped=%.2f previous=%.2f flat=%.2f\n",
                    sizes[s].width, sizes[s].height, median(black[0]), median(black[1]), median(black[2]));
    }

    // Agreement at the smallest size, at 20 s.
    const Size check = sizes[0];
    const float checkTime = 20.0f;
    const std::vector<std::uint8_t> reference =
        renderBackgroundReference(check.width, check.height, checkTime);
    drawFrame(*programs[0].shader, check, checkTime);
    const std::vector<std::uint8_t> shipped = readFrame(check);

    for (std::size_t s = 0; s < sizes.size(); ++s) {
        const double flatMs = median(programs[2].frames[s]);
        const double naiveMs = median(programs[1].frames[s]);
        const double flatCpu = median(programs[2].cpuFrames[s]);
        const double naiveCpu = median(programs[1].cpuFrames[s]);
        for (const Program& p : programs) {
            const double ms = median(p.frames[s]);
            const double cpu = median(p.cpuFrames[s]);
            char extraText[200] = "";
            if (p.name != "flat") {
                drawFrame(*p.shader, check, checkTime);
                const Agreement a = agreement(readFrame(check), shipped, reference);
                std::snprintf(extraText, sizeof extraText,
                              "net_vs_naive=%.3f cpu_net_vs_naive=%.3f identical_to_shipped=%.4f "
                              "within_2_of_reference=%.4f",
                              (ms - flatMs) / (naiveMs - flatMs), (cpu - flatCpu) / (naiveCpu - flatCpu),
                              a.identicalToShipped, a.withinReference);
            }
            std::printf("fragment %dx%d %-20s median_ms=%.2f cpu_ms=%.2f frames=%zu %s\n", sizes[s].width,
                        sizes[s].height, p.name.c_str(), ms, cpu, p.frames[s].size(), extraText);
        }
    }
    return 0;
}
