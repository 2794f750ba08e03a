#include "window_size.h"

WindowSize windowSize = {0, 0, 1.0f};

void recordWindowSize(int width, int height) {
    windowSize.width = width;
    windowSize.height = height;
    if (height != 0) {
        windowSize.aspectRatio = static_cast<float>(width) / static_cast<float>(height);
    }
}
