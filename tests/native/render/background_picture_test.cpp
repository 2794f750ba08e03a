#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <set>
#include <sstream>
#include <vector>

#include "gl_test_support.h"
#include "render/background_reference.h"
#include "render/shader_program.h"

namespace {

using Frame = std::vector<std::uint8_t>;

class BackgroundPicture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ensureGlContext());
        applyFixedGlState();
        static ShaderProgram* shared = nullptr;
        if (shared == nullptr) {
            shared = new ShaderProgram(137, 136);
        }
        program = shared;
    }

    Frame draw(int width, int height, float time) {
        drawBackgroundQuad(*program, width, height, time);
        return readFrame(width, height);
    }

    ShaderProgram* program = nullptr;
};

struct Comparison {
    std::size_t pixels = 0;
    std::size_t outside = 0;
    int largest = 0;
    std::string examples;
};

// Compares colour channels; a pixel is outside the tolerance when any of
// R, G, B differs by more than it.
Comparison compare(const Frame& actual, const Frame& expected, int width, int tolerance) {
    Comparison result;
    result.pixels = actual.size() / 4;
    std::ostringstream examples;
    int shown = 0;
    for (std::size_t p = 0; p < result.pixels; ++p) {
        int worst = 0;
        for (int k = 0; k < 3; ++k) {
            worst = std::max(worst, std::abs(int(actual[p * 4 + k]) - int(expected[p * 4 + k])));
        }
        result.largest = std::max(result.largest, worst);
        if (worst > tolerance) {
            ++result.outside;
            if (shown++ < 6) {
                examples << " (" << p % width << "," << p / width << "): driver " << int(actual[p * 4]) << "/"
                         << int(actual[p * 4 + 1]) << "/" << int(actual[p * 4 + 2]) << " reference "
                         << int(expected[p * 4]) << "/" << int(expected[p * 4 + 1]) << "/"
                         << int(expected[p * 4 + 2]) << ";";
            }
        }
    }
    result.examples = examples.str();
    return result;
}

TEST_F(BackgroundPicture, BlackWhileTheFadeHasNotBegun) {
    for (float time : {0.0f, 1.0f, 1.999f}) {
        const Frame frame = draw(64, 48, time);
        for (std::size_t i = 0; i < frame.size(); ++i) {
            ASSERT_EQ(frame[i], 0) << "time " << time << ", pixel " << i / 4 << ", channel " << i % 4;
        }
    }
}

TEST_F(BackgroundPicture, HalfwayThroughTheFadeShowsAQuarterOfTheColour) {
    const int width = 96;
    const int height = 72;
    const float time = 4.5f;
    const Frame blended = draw(width, height, time);

    // The fade is 0.5 at 4.5 s, so the colour before the fade is twice the
    // fragment; blending scales the fragment once more by its alpha of 0.5.
    Frame quarter(blended.size());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const BackgroundFragment f = backgroundFragment(x + 0.5f, y + 0.5f, time, float(width));
            ASSERT_EQ(f.a, 0.5f);
            const float full[3] = {f.r / 0.5f, f.g / 0.5f, f.b / 0.5f};
            std::uint8_t* out = &quarter[(std::size_t(y) * width + x) * 4];
            for (int k = 0; k < 3; ++k) {
                // The fragment (half the colour) is clamped before blending.
                const float shown = std::min(0.5f * full[k], 1.0f) * 0.5f;
                out[k] = static_cast<std::uint8_t>(std::lround(std::max(shown, 0.0f) * 255.0f));
            }
            out[3] = 64;
        }
    }
    const Comparison c = compare(blended, quarter, width, 2);
    EXPECT_GE(c.pixels - c.outside, c.pixels * 99 / 100)
        << c.outside << " of " << c.pixels << " pixels off by more than 2, largest " << c.largest << ":"
        << c.examples;

    // The same through the driver alone: without blending the frame holds the
    // faded fragment, half the colour; with it, half of that again.
    glDisable(GL_BLEND);
    const Frame unblended = draw(width, height, time);
    glEnable(GL_BLEND);
    bool lit = false;
    for (std::size_t i = 0; i < blended.size(); ++i) {
        if (i % 4 == 3) {
            EXPECT_NEAR(unblended[i], 128, 1);
            continue;
        }
        lit = lit || unblended[i] > 8;
        ASSERT_NEAR(blended[i], unblended[i] / 2.0, 1.0) << "pixel " << i / 4 << ", channel " << i % 4;
    }
    EXPECT_TRUE(lit) << "the frame halfway through the fade is black";
}

TEST_F(BackgroundPicture, MatchesTheCpuReferenceOnceFadedIn) {
    const int width = 160;
    const int height = 120;
    for (float time : {9.0f, 20.0f, 100.0f, 1000.0f}) {
        const Frame frame = draw(width, height, time);
        const Frame reference = renderBackgroundReference(width, height, time);
        const Comparison c = compare(frame, reference, width, 2);
        EXPECT_GE(c.pixels - c.outside, c.pixels * 99 / 100)
            << "time " << time << ": " << c.outside << " of " << c.pixels
            << " pixels off by more than 2, largest " << c.largest << ":" << c.examples;
        std::cout << "time " << time << ": " << c.outside << " of " << c.pixels
                  << " pixels off by more than 2/255, largest difference " << c.largest << c.examples << "\n";

        std::set<int> reds;
        for (std::size_t p = 0; p < frame.size() / 4; ++p) {
            const int r = frame[p * 4];
            const int g = frame[p * 4 + 1];
            reds.insert(r);
            EXPECT_EQ(frame[p * 4 + 3], 255) << "time " << time << ", pixel " << p;
            // Green is half of red in the program; the two roundings to
            // 8 bits leave at most 1 between them.
            if (r < 255) {
                ASSERT_NEAR(g, r / 2.0, 1.0) << "time " << time << ", pixel " << p;
            }
        }
        EXPECT_GT(reds.size(), 20u) << "time " << time << ": the picture is flat";
    }
}

TEST_F(BackgroundPicture, ReferenceGreenIsExactlyHalfOfRed) {
    for (float time : {9.0f, 20.0f, 100.0f, 1000.0f}) {
        for (int y = 0; y < 120; y += 7) {
            for (int x = 0; x < 160; x += 5) {
                const BackgroundFragment f = backgroundFragment(x + 0.5f, y + 0.5f, time, 160.0f);
                ASSERT_EQ(f.g, f.r / 2.0f) << "time " << time << " at " << x << "," << y;
            }
        }
    }
}

TEST_F(BackgroundPicture, EqualWidthsShowTheSamePictureNearTheBottomEdge) {
    const int width = 96;
    const float time = 20.0f;
    const Frame low = draw(width, 40, time);
    const Frame tall = draw(width, 112, time);
    // Rows are counted from the bottom in both frames.
    for (std::size_t i = 0; i < low.size(); ++i) {
        ASSERT_EQ(low[i], tall[i]) << "row " << i / 4 / width << ", column " << i / 4 % width;
    }
    // The taller one goes on with more of the field above.
    const std::size_t rowBytes = std::size_t(width) * 4;
    const Frame topRow(tall.end() - rowBytes, tall.end());
    const Frame lowTopRow(low.end() - rowBytes, low.end());
    EXPECT_NE(topRow, lowTopRow);
}

}  // namespace
