#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "render/render_math.h"

namespace {

Mat4 identity() {
    return Mat4(Vec4(1, 0, 0, 0), Vec4(0, 1, 0, 0), Vec4(0, 0, 1, 0), Vec4(0, 0, 0, 1));
}

// Rows are written as they read on paper; the matrix stores columns.
Mat4 fromRows(const float (&rows)[4][4]) {
    Mat4 m(0.0f);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            m[i][j] = rows[j][i];
        }
    }
    return m;
}

TEST(RenderMath, MatrixBuildersAndProducts) {
    // sqrt(0.5) as float, the length of the side vector below.
    const float h = 0x1.6a09e6p-1f;
    // 20 degrees through radians(), the tangent in double precision.
    const float f = 0x1.5fad58p+1f;
    const float a = 0x1.07c202p+1f;
    const float c = -0x1.000d1ap+0f;
    const float d = -0x1.99a416p-3f;

    struct Case {
        std::string name;
        Mat4 actual;
        Mat4 expected;
    };
    // In float, 1e8 + 1 is 1e8 again. Summed in the order k = 0, 1, 2, 3 the
    // terms 1e8, 1, -1e8, 1 give 1; summed backwards or pairwise they give 0,
    // and with k = 1 moved after k = 2 they give 2.
    const Mat4 big = fromRows({{1e8f, 1.0f, -1e8f, 1.0f}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}});
    const Mat4 ones(1.0f);
    const std::vector<Case> cases = {
        {"Mat4 from 0 is the zero matrix", Mat4(0.0f),
         fromRows({{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}})},
        {"Mat4 from 1 fills all sixteen", Mat4(1.0f),
         fromRows({{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}})},
        {"translate(0, 0, 0) is the identity", translate(0, 0, 0), identity()},
        {"translate puts the offset in column 3", translate(Vec3(2, -3, 4)),
         fromRows({{1, 0, 0, 2}, {0, 1, 0, -3}, {0, 0, 1, 4}, {0, 0, 0, 1}})},
        {"perspective 40, 4/3, 0.1, 1000", perspective(40.0f, 4.0f / 3.0f, 0.1f, 1000.0f),
         fromRows({{a, 0, 0, 0}, {0, f, 0, 0}, {0, 0, c, d}, {0, 0, -1, 0}})},
        {"lookAt down -z with up +y is the identity", lookAt(Vec3(0, 0, 0), Vec3(0, 0, -1), Vec3(0, 1, 0)),
         identity()},
        // up (0, 1, -1) leans into the looking direction: the side vector is
        // cross((0, 0, -1), (0, h, -h)) = (h, 0, 0), shorter than 1, and the
        // view scales x and y by h.
        {"lookAt with an up vector that is not perpendicular",
         lookAt(Vec3(0, 0, 0), Vec3(0, 0, -1), Vec3(0, 1, -1)),
         fromRows({{h, 0, 0, 0}, {0, h, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}})},
        {"lookAt translates by -eye after the rotation", lookAt(Vec3(1, 2, 3), Vec3(1, 2, 2), Vec3(0, 1, 0)),
         fromRows({{1, 0, 0, -1}, {0, 1, 0, -2}, {0, 0, 1, -3}, {0, 0, 0, 1}})},
        // Column-major: A * B applies B first.
        {"product of two translations", translate(1, 2, 3) * translate(4, 5, 6), translate(5, 7, 9)},
        {"product takes rows of A and columns of B",
         fromRows({{1, 2, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}) * translate(0, 1, 0),
         fromRows({{1, 2, 0, 2}, {0, 1, 0, 1}, {0, 0, 1, 0}, {0, 0, 0, 1}})},
        {"product sums in index order", big * ones,
         fromRows({{1, 1, 1, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}})},
    };
    for (const Case& test : cases) {
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                EXPECT_EQ(test.actual[i][j], test.expected[i][j])
                    << test.name << ": element [" << i << "][" << j << "]";
            }
        }
    }
}

TEST(RenderMath, MatrixLayoutIsWhatGlUniformMatrixTakes) {
    const Mat4 m = translate(7, 8, 9);
    const float* p = m.data();
    EXPECT_EQ(p, &m[0][0]);
    // Column 3, rows 0 to 2, are floats 12 to 14.
    EXPECT_EQ(p[12], 7.0f);
    EXPECT_EQ(p[13], 8.0f);
    EXPECT_EQ(p[14], 9.0f);
    EXPECT_EQ(p[15], 1.0f);
}

TEST(RenderMath, ProductIntoItsOwnOperand) {
    Mat4 m = translate(1, 0, 0);
    m = m * translate(0, 2, 0);
    m = translate(0, 0, 3) * m;
    const Mat4 expected = translate(1, 2, 3);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(m[i][j], expected[i][j]) << i << "," << j;
        }
    }
}

TEST(RenderMath, VectorOperations) {
    struct Case {
        std::string name;
        Vec3 actual;
        Vec3 expected;
    };
    const std::vector<Case> cases = {
        {"sum", Vec3(1, 2, 3) + Vec3(10, 20, 30), Vec3(11, 22, 33)},
        {"difference", Vec3(1, 2, 3) - Vec3(10, 20, 30), Vec3(-9, -18, -27)},
        {"negation", -Vec3(1, -2, 0), Vec3(-1, 2, -0.0f)},
        {"scaling", Vec3(1, -2, 3) * 2.0f, Vec3(2, -4, 6)},
        {"division", Vec3(1, -2, 3) / 2.0f, Vec3(0.5f, -1, 1.5f)},
        {"cross x by y", cross(Vec3(1, 0, 0), Vec3(0, 1, 0)), Vec3(0, 0, 1)},
        {"cross y by x", cross(Vec3(0, 1, 0), Vec3(1, 0, 0)), Vec3(0, 0, -1)},
        {"cross of general vectors", cross(Vec3(1, 2, 3), Vec3(4, 5, 6)), Vec3(-3, 6, -3)},
        {"normalize", normalize(Vec3(0, 3, -4)), Vec3(0, 0.6f, -0.8f)},
    };
    for (const Case& test : cases) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_FLOAT_EQ(test.actual[k], test.expected[k]) << test.name << ": component " << k;
        }
    }

    const Vec2 uv = Vec2(0.75f, 1.0f) - Vec2(0.25f, 0.5f);
    EXPECT_EQ(uv[0], 0.5f);
    EXPECT_EQ(uv[1], 0.5f);

    EXPECT_EQ(length(Vec3(2, 3, 6)), 7.0f);
    EXPECT_EQ(length(Vec2(3, 4)), 5.0f);
    EXPECT_EQ(length(Vec4(1, 1, 1, 1)), 2.0f);

    Vec4 filled(1, 2, 3, 4);
    filled.fill(-0.5f);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(filled[k], -0.5f);
    }

    // No guard: the zero vector divides by a zero length.
    const Vec3 zero = normalize(Vec3(0, 0, 0));
    for (int k = 0; k < 3; ++k) {
        EXPECT_FALSE(std::isfinite(zero[k])) << k;
    }

    EXPECT_EQ(radians(180.0f), 180.0f * 0.017453292f);
    EXPECT_FLOAT_EQ(radians(90.0f), 1.5707963f);
}

}  // namespace
