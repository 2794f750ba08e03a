#pragma once

#include <cstdint>

// The Windows version as major * 10 + minor from a GetVersion() result: the
// major version is the low byte of the low word, the minor the high byte.
int windowsVersionFromPacked(std::uint32_t getVersionResult);
