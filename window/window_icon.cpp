#include "window_icon.h"

#include <cstring>

void transposeWindowIcon(const unsigned char* columnMajor, unsigned char* rowMajor) {
    unsigned char* out = rowMajor;
    for (int row = 0; row < windowIconSize; ++row) {
        for (int column = 0; column < windowIconSize; ++column) {
            std::memcpy(out, columnMajor + (column * windowIconSize + row) * 4, 4);
            out += 4;
        }
    }
}
