#pragma once

// Single-precision render math: fixed-size vectors, a column-major 4x4
// matrix and the builders the camera and the drawables need. Everything is
// passed and returned by value and nothing allocates.
//
// The arithmetic order below is part of the contract (sums start at 0 and add
// in index order; square roots and tangents are taken in double precision and
// rounded to float), so that results are the same wherever they are computed.

#include <type_traits>

// One vector family; the component count is a compile-time constant.
// Default construction leaves the components unset.
template <int N>
struct Vec {
    static_assert(N >= 2 && N <= 4, "vectors have 2, 3 or 4 components");

    float c[N];

    Vec() = default;
    template <int M = N, std::enable_if_t<M == 2, int> = 0>
    Vec(float x, float y) : c{x, y} {}
    template <int M = N, std::enable_if_t<M == 3, int> = 0>
    Vec(float x, float y, float z) : c{x, y, z} {}
    template <int M = N, std::enable_if_t<M == 4, int> = 0>
    Vec(float x, float y, float z, float w) : c{x, y, z, w} {}

    // No range check: callers use 0 to N-1.
    float& operator[](int i) {
        return c[i];
    }
    const float& operator[](int i) const {
        return c[i];
    }

    void fill(float s) {
        for (int i = 0; i < N; ++i) {
            c[i] = s;
        }
    }
};

using Vec2 = Vec<2>;
using Vec3 = Vec<3>;
using Vec4 = Vec<4>;

static_assert(sizeof(Vec2) == 2 * sizeof(float) && sizeof(Vec3) == 3 * sizeof(float) &&
                  sizeof(Vec4) == 4 * sizeof(float),
              "vector components are contiguous floats");
static_assert(std::is_trivially_copyable<Vec4>::value, "vectors copy component by component");

Vec2 operator-(const Vec2& a, const Vec2& b);

Vec3 operator+(const Vec3& a, const Vec3& b);
Vec3 operator-(const Vec3& a, const Vec3& b);
Vec3 operator-(const Vec3& a);
Vec3 operator*(const Vec3& a, float s);
Vec3 operator/(const Vec3& a, float s);

// Square root of the sum of the squared components, the sum taken in
// component order and the root in double precision.
template <int N>
float length(const Vec<N>& a);
extern template float length<2>(const Vec2&);
extern template float length<3>(const Vec3&);
extern template float length<4>(const Vec4&);

// a divided by its length; a zero vector gives non-finite components.
Vec3 normalize(const Vec3& a);
Vec3 cross(const Vec3& a, const Vec3& b);

// Four columns; element m[i][j] is row j of column i, and the 16 floats are
// contiguous with column 0 first, as glUniformMatrix4fv takes them with
// transpose GL_FALSE.
struct Mat4 {
    Vec4 col[4];

    Mat4() = default;
    // All sixteen elements set to s: not a diagonal matrix.
    explicit Mat4(float s);
    Mat4(const Vec4& c0, const Vec4& c1, const Vec4& c2, const Vec4& c3);

    Vec4& operator[](int i) {
        return col[i];
    }
    const Vec4& operator[](int i) const {
        return col[i];
    }

    float* data() {
        return &col[0][0];
    }
    const float* data() const {
        return &col[0][0];
    }
};

static_assert(sizeof(Mat4) == 16 * sizeof(float), "matrix elements are contiguous floats");

// R[i][j] = sum over k = 0..3, in that order, of A[k][j] * B[i][k].
Mat4 operator*(const Mat4& a, const Mat4& b);

// Degrees to radians with the float nearest to pi/180.
float radians(float degrees);

// Projection of the right-handed view space (looking along -z) into OpenGL
// clip space, depth -1 at the near plane and +1 at the far one; fovy is the
// full vertical angle in degrees. (The planes are not called near and far:
// Windows headers define those as macros.)
Mat4 perspective(float fovy, float aspect, float zNear, float zFar);

Mat4 translate(float x, float y, float z);
Mat4 translate(const Vec3& v);

// View matrix. The side vector is not normalised again, so an up vector that
// is not perpendicular to the looking direction scales the view.
Mat4 lookAt(const Vec3& eye, const Vec3& target, const Vec3& up);
