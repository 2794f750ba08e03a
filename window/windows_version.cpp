#include "windows_version.h"

int windowsVersionFromPacked(std::uint32_t getVersionResult) {
    const int major = static_cast<int>(getVersionResult & 0xFFu);
    const int minor = static_cast<int>((getVersionResult >> 8) & 0xFFu);
    return major * 10 + minor;
}
