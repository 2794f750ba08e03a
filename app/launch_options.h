#pragma once

#include <cstdint>

// How the screensaver host asked us to run.
enum class LaunchMode : std::int32_t {
    Preview = 0,      // "/p <hwnd>": draw inside the host's preview window
    Screensaver = 1,  // "/s": full screen, never refused
    Configure = 2,    // "/c": the About window
    Default = 3,      // no switch: full screen, under the instance guard
};

// The parsed command line. Exactly one exists per process; it is created
// first and lives until the process ends.
class LaunchOptions {
public:
    // Parses the command-line text that follows the program name. Never
    // fails: anything unrecognised leaves the mode at Default.
    explicit LaunchOptions(const char* commandLine);

    // The single-instance guard of Preview and Default runs. True when this
    // process may go on. Windows only.
    bool acquireInstanceGuard();

    LaunchMode mode;
    // Bits of the host's preview window handle; 0 when none was given.
    std::uint32_t hostWindow;
};

// Reads a decimal number the way the C runtime's atoi does on Windows:
// leading white space, an optional sign, digits up to the first other
// character, 0 without digits, clamped to the signed 32-bit range.
std::int32_t parseHandleNumber(const char* text);
