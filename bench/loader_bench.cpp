// Throughput, scaling and peak memory of the mesh loader: generated OBJ
// grids (quadrilaterals of p/t/n corners over "v", "vt" and "vn" lines, with
// an MTL) of about 10k, 100k and 1M triangles, loaded through the real
// loader into MeshArrays. The baselines are our own:
// - "scan": the time to read the text line by line and convert every
//   number in it with strtof, what a loader built on the standard
//   conversions cannot go below;
// - "lines": the time to find every line end alone, the least any loader
//   pays to read the text;
// - "previous": the loader as it was before its parse was made fast (the
//   reference parse of the tests), into the same MeshArrays.
// Each figure is the median of several runs taken in turns with its
// baselines; peak memory is measured in a child process per load.
//
// usage: loader_bench [--quick | --profile N RUNS]
//   --profile loads an N x N grid RUNS times through the current loader and
//   nothing else, for a profiler.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "mesh/mesh_arrays.h"
#include "tests/native/mesh/reference_obj_parser.h"
#include "window/native_platform.h"

namespace {

constexpr int GridObjId = 9101;
constexpr int GridMtlId = 9102;

const char* const gridMaterial =
    "newmtl GridMaterial\r\n"
    "\tNs 32.0000\r\n"
    "\td 1.0000\r\n"
    "\tillum 2\r\n"
    "\tKa 0.7765 0.8824 0.3412\r\n"
    "\tKd 0.7765 0.8824 0.3412\r\n"
    "\tKs 0.3500 0.3500 0.3500\r\n";

// An n x n grid of quadrilaterals over a gently waving surface, written the
// way exporters write it: six decimals, CR LF line ends, one position,
// texture coordinate and normal per grid point.
std::string gridObj(int n) {
    std::string text = "# generated grid\r\nmtllib grid.mtl\r\no Grid\r\nusemtl GridMaterial\r\n";
    char line[160];
    auto add = [&](int length) { text.append(line, static_cast<std::size_t>(length)); };
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            const double x = -10.0 + 20.0 * i / n;
            const double z = -10.0 + 20.0 * j / n;
            const double y = 0.35 * ((i * 7 + j * 3) % 17) / 17.0 - 0.1;
            add(std::snprintf(line, sizeof line, "v %.6f %.6f %.6f\r\n", x, y, z));
        }
    }
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            add(std::snprintf(line, sizeof line, "vt %.6f %.6f\r\n", double(i) / n, double(j) / n));
        }
    }
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            const double nx = 0.02 * ((i * 5 + j) % 11) - 0.1;
            const double nz = 0.02 * ((i + j * 3) % 13) - 0.12;
            add(std::snprintf(line, sizeof line, "vn %.6f %.6f %.6f\r\n", nx, 0.985, nz));
        }
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const int a = i * (n + 1) + j + 1;
            const int b = a + n + 1;
            add(std::snprintf(line, sizeof line, "f %d/%d/%d %d/%d/%d %d/%d/%d %d/%d/%d\r\n", a, a, a, a + 1,
                              a + 1, a + 1, b + 1, b + 1, b + 1, b, b, b));
        }
    }
    return text;
}

// Reads the text and converts every number with strtof: each line's
// keyword is skipped and every run between blanks and slashes converted.
double scanNumbers(const std::string& text) {
    double sum = 0.0;
    const char* c = text.c_str();
    const char* const end = c + text.size();
    while (c < end) {
        while (*c != ' ' && *c != '\n' && c < end) {
            ++c;
        }
        while (*c == ' ' || *c == '/') {
            ++c;
            char* after = nullptr;
            sum += std::strtof(c, &after);
            c = after;
        }
        while (c < end && *c++ != '\n') {
        }
    }
    return sum;
}

std::size_t countLines(const std::string& text) {
    std::size_t lines = 0;
    const char* c = text.data();
    const char* const end = c + text.size();
    while (const void* lf = std::memchr(c, '\n', static_cast<std::size_t>(end - c))) {
        ++lines;
        c = static_cast<const char*>(lf) + 1;
    }
    return lines;
}

// The loader's progress report goes to standard output, which the table
// needs: it is sent to the null device while a loader runs.
struct QuietStdout {
    QuietStdout() : saved(stdout) {
        std::fflush(stdout);
        stdout = null;
    }
    ~QuietStdout() {
        stdout = saved;
    }
    FILE* saved;
    static FILE* null;
};
FILE* QuietStdout::null = nullptr;

int loadCurrent() {
    QuietStdout quiet;
    const MeshArrays arrays(GridObjId, GridMtlId, 1.0f);
    return arrays.indexCount();
}

// The parse alone, without the arrays.
int parseCurrent() {
    QuietStdout quiet;
    objl::ModelLoader loader;
    if (!loader.loadObjResource(GridObjId, GridMtlId)) {
        std::abort();
    }
    return static_cast<int>(loader.indices.size());
}

int loadPrevious() {
    QuietStdout quiet;
    objl::ModelLoader loader;
    if (!referenceLoadObjResource(loader, GridObjId, GridMtlId)) {
        std::abort();
    }
    const MeshArrays arrays(loader, 1.0f);
    return arrays.indexCount();
}

double timeMs(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

long statusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(field);
    while (std::getline(status, line)) {
        if (line.compare(0, length, field) == 0) {
            return std::atol(line.c_str() + length);
        }
    }
    return -1;
}

// Bytes a load adds at its peak to what the process holds before it: a
// fresh process (this program again, with --peak) generates the text, then
// loads it once.
double peakExtraBytes(int n, const char* loader) {
    std::fflush(stdout);
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return -1;
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        const std::string size = std::to_string(n);
        execl("/proc/self/exe", "loader_bench", "--peak", size.c_str(), loader, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    char answer[64] = {};
    const ssize_t got = read(pipeEnds[0], answer, sizeof answer - 1);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return got > 0 ? std::atof(answer) : -1;
}

// The child's side of peakExtraBytes.
int measurePeak(int n, const std::string& loader) {
    nativeSetTextResource(GridObjId, gridObj(n));
    {
        std::ofstream reset("/proc/self/clear_refs");
        reset << "5";
    }
    const long before = statusKb("VmRSS:");
    if (loader == "current") {
        loadCurrent();
    } else {
        loadPrevious();
    }
    const long peak = statusKb("VmHWM:");
    std::printf("%.0f\n", double(peak - before) * 1024.0);
    return 0;
}

struct SizeResult {
    int triangles;
    double currentMs;
};

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    QuietStdout::null = std::fopen("/dev/null", "w");
    nativeSetTextResource(GridMtlId, gridMaterial);
    if (argc == 4 && std::strcmp(argv[1], "--peak") == 0) {
        return measurePeak(std::atoi(argv[2]), argv[3]);
    }
    if (argc == 4 && std::strcmp(argv[1], "--profile") == 0) {
        nativeSetTextResource(GridObjId, gridObj(std::atoi(argv[2])));
        for (int run = std::atoi(argv[3]); run > 0; --run) {
            loadCurrent();
        }
        return 0;
    }

    struct Grid {
        int n;
        int runs;
        int previousRuns;
    };
    const std::vector<Grid> grids = quick ? std::vector<Grid>{{71, 3, 2}, {224, 2, 1}}
                                          : std::vector<Grid>{{71, 15, 9}, {224, 7, 5}, {708, 5, 3}};
    std::vector<SizeResult> results;
    for (const Grid& grid : grids) {
        const std::string text = gridObj(grid.n);
        nativeSetTextResource(GridObjId, text);
        const int triangles = 2 * grid.n * grid.n;

        int indices = 0;
        std::vector<double> current, parse, previous, scan, lines;
        volatile double sink = 0;
        for (int run = 0; run < grid.runs; ++run) {
            scan.push_back(timeMs([&] { sink = sink + scanNumbers(text); }));
            lines.push_back(timeMs([&] { sink = sink + double(countLines(text)); }));
            current.push_back(timeMs([&] { indices = loadCurrent(); }));
            parse.push_back(timeMs([&] { sink = sink + parseCurrent(); }));
            if (run < grid.previousRuns) {
                previous.push_back(timeMs([&] { sink = sink + loadPrevious(); }));
            }
        }
        if (indices != 3 * triangles) {
            std::fprintf(stderr, "loader_bench: %d indices for %d triangles\n", indices, triangles);
            return 1;
        }
        const double currentMs = median(current);
        const double previousMs = median(previous);
        const double scanMs = median(scan);
        const double linesMs = median(lines);
        const double perTriangle = 1e6 * currentMs / triangles;
        std::printf(
            "loader %dk triangles (%.1f MB) current_ms=%.1f parse_ms=%.1f ns_per_triangle=%.0f "
            "previous_ms=%.1f "
            "vs_previous=%.3f scan_ms=%.1f vs_scan=%.2f lines_ms=%.1f vs_lines=%.1f runs=%d/%d\n",
            triangles / 1000, text.size() / 1e6, currentMs, median(parse), perTriangle, previousMs,
            currentMs / previousMs, scanMs, currentMs / scanMs, linesMs, currentMs / linesMs, grid.runs,
            grid.previousRuns);
        const double currentPeak = peakExtraBytes(grid.n, "current");
        const double previousPeak = peakExtraBytes(grid.n, "previous");
        std::printf(
            "loader %dk triangles peak_bytes_per_triangle=%.0f previous_peak_bytes_per_triangle=%.0f "
            "vs_previous=%.3f text_bytes_per_triangle=%.0f\n",
            triangles / 1000, currentPeak / triangles, previousPeak / triangles, currentPeak / previousPeak,
            double(text.size()) / triangles);
        std::fflush(stdout);
        results.push_back({triangles, currentMs});
    }
    if (results.size() >= 3) {
        const SizeResult& mid = results[1];
        const SizeResult& big = results[2];
        const double scaling = (big.currentMs / big.triangles) / (mid.currentMs / mid.triangles);
        std::printf("loader scaling per_triangle_1M_over_100k=%.3f\n", scaling);
    }
    return 0;
}
