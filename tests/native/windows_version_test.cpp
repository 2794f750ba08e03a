#include <gtest/gtest.h>

#include "window/window_size.h"
#include "window/windows_version.h"

TEST(WindowsVersion, MajorTimesTenPlusMinorFromTheLowWord) {
    struct {
        std::uint32_t packed;
        int expected;
    } cases[] = {
        {0x00000006u, 60},   // 6.0
        {0x00000106u, 61},   // 6.1
        {0x0000000Au, 100},  // 10.0
        {0x00000105u, 51},   // 5.1 (XP)
        {0x23F00206u, 62},   // 6.2, build number in the high word ignored
        {0x4A61000Au, 100},  // 10.0 with build bits
        {0xFFFF0000u, 0},    // only the high word set
    };
    for (const auto& c : cases) {
        EXPECT_EQ(windowsVersionFromPacked(c.packed), c.expected) << std::hex << c.packed;
    }
}

TEST(WindowSize, RecordsSizeAndAspect) {
    recordWindowSize(320, 240);
    EXPECT_EQ(windowSize.width, 320);
    EXPECT_EQ(windowSize.height, 240);
    EXPECT_FLOAT_EQ(windowSize.aspectRatio, 320.0f / 240.0f);
}

TEST(WindowSize, ZeroHeightKeepsTheLastFiniteAspect) {
    recordWindowSize(1366, 768);
    recordWindowSize(0, 0);
    EXPECT_EQ(windowSize.width, 0);
    EXPECT_EQ(windowSize.height, 0);
    EXPECT_FLOAT_EQ(windowSize.aspectRatio, 1366.0f / 768.0f);
    recordWindowSize(200, 100);
    EXPECT_FLOAT_EQ(windowSize.aspectRatio, 2.0f);
}
