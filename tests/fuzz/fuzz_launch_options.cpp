// Any command line yields a mode, and a handle only once a mode is set.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/launch_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    LaunchOptions options(text.c_str());
    const int mode = static_cast<int>(options.mode);
    if (mode < 0 || mode > 3) {
        std::abort();
    }
    if (options.mode == LaunchMode::Default && options.hostWindow != 0) {
        std::abort();
    }
    return 0;
}
