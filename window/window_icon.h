#pragma once

#include <cstddef>

constexpr int windowIconSize = 64;
constexpr std::size_t windowIconBytes = windowIconSize * windowIconSize * 4;

// The 64 x 64 window icon, RGBA, stored column by column: group k of 64
// pixels is column k of the image from top to bottom. Generated at build time.
extern const unsigned char windowIconTable[windowIconBytes];

// Writes the icon row by row from the top row down, as GLFW wants it.
void transposeWindowIcon(const unsigned char* columnMajor, unsigned char* rowMajor);
