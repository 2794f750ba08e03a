#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "window/window_icon.h"

namespace {

struct Rgba {
    int r, g, b, a;
};

Rgba at(const std::vector<unsigned char>& image, int x, int y) {
    const unsigned char* p = &image[(y * windowIconSize + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

std::vector<unsigned char> iconImage() {
    std::vector<unsigned char> image(windowIconBytes);
    transposeWindowIcon(windowIconTable, image.data());
    return image;
}

TEST(WindowIcon, TransposesColumnGroupsIntoRows) {
    // A table whose pixel bytes name their column and row shows the mapping.
    std::vector<unsigned char> table(windowIconBytes);
    for (int column = 0; column < windowIconSize; ++column) {
        for (int row = 0; row < windowIconSize; ++row) {
            unsigned char* p = &table[(column * windowIconSize + row) * 4];
            p[0] = static_cast<unsigned char>(column);
            p[1] = static_cast<unsigned char>(row);
            p[2] = 7;
            p[3] = 9;
        }
    }
    std::vector<unsigned char> image(windowIconBytes);
    transposeWindowIcon(table.data(), image.data());
    for (int y = 0; y < windowIconSize; ++y) {
        for (int x = 0; x < windowIconSize; ++x) {
            const Rgba p = at(image, x, y);
            ASSERT_EQ(p.r, x);
            ASSERT_EQ(p.g, y);
            ASSERT_EQ(p.b, 7);
            ASSERT_EQ(p.a, 9);
        }
    }
}

TEST(WindowIcon, ShowsTheUprightMonitor) {
    const std::vector<unsigned char> image = iconImage();
    auto near = [](Rgba p, int r, int g, int b) {
        return p.a == 255 && std::abs(p.r - r) <= 2 && std::abs(p.g - g) <= 2 && std::abs(p.b - b) <= 2;
    };
    // The screen's quadrants.
    EXPECT_TRUE(near(at(image, 18, 18), 255, 72, 72)) << "red top left";
    EXPECT_TRUE(near(at(image, 45, 18), 0, 217, 70)) << "green top right";
    EXPECT_TRUE(near(at(image, 18, 36), 72, 72, 255)) << "blue bottom left";
    EXPECT_TRUE(near(at(image, 45, 36), 240, 240, 0)) << "yellow bottom right";
    // The light-blue cabinet and the stand below the screen, centred.
    EXPECT_TRUE(near(at(image, 4, 25), 72, 194, 255));
    EXPECT_TRUE(near(at(image, 32, 49), 72, 194, 255)) << "neck";
    EXPECT_TRUE(near(at(image, 32, 56), 72, 194, 255)) << "foot";
    // Transparent around it: the corners and beside the stand.
    for (auto xy : {std::array<int, 2>{0, 0}, {63, 0}, {0, 63}, {63, 63}, {5, 55}, {58, 55}, {32, 2}}) {
        EXPECT_EQ(at(image, xy[0], xy[1]).a, 0) << xy[0] << "," << xy[1];
    }
    // Edges are softened: some pixels are partly covered.
    int partial = 0;
    for (std::size_t i = 3; i < image.size(); i += 4) {
        partial += image[i] > 0 && image[i] < 255;
    }
    EXPECT_GT(partial, 20);
}

}  // namespace
