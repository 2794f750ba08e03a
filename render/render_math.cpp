#include "render_math.h"

#include <cmath>

Vec2 operator-(const Vec2& a, const Vec2& b) {
    return Vec2(a[0] - b[0], a[1] - b[1]);
}

Vec3 operator+(const Vec3& a, const Vec3& b) {
    return Vec3(a[0] + b[0], a[1] + b[1], a[2] + b[2]);
}

Vec3 operator-(const Vec3& a, const Vec3& b) {
    return Vec3(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

Vec3 operator-(const Vec3& a) {
    return Vec3(-a[0], -a[1], -a[2]);
}

Vec3 operator*(const Vec3& a, float s) {
    return Vec3(a[0] * s, a[1] * s, a[2] * s);
}

Vec3 operator/(const Vec3& a, float s) {
    return Vec3(a[0] / s, a[1] / s, a[2] / s);
}

template <int N>
float length(const Vec<N>& a) {
    float sum = 0.0f;
    for (int i = 0; i < N; ++i) {
        sum += a[i] * a[i];
    }
    return static_cast<float>(std::sqrt(static_cast<double>(sum)));
}

template float length<2>(const Vec2&);
template float length<3>(const Vec3&);
template float length<4>(const Vec4&);

Vec3 normalize(const Vec3& a) {
    return a / length(a);
}

Vec3 cross(const Vec3& a, const Vec3& b) {
    return Vec3(a[1] * b[2] - b[1] * a[2], a[2] * b[0] - b[2] * a[0], a[0] * b[1] - b[0] * a[1]);
}

Mat4::Mat4(float s) {
    for (Vec4& c : col) {
        c.fill(s);
    }
}

Mat4::Mat4(const Vec4& c0, const Vec4& c1, const Vec4& c2, const Vec4& c3) : col{c0, c1, c2, c3} {}

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 r(0.0f);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a[k][j] * b[i][k];
            }
            r[i][j] = sum;
        }
    }
    return r;
}

float radians(float degrees) {
    return degrees * 0.017453292f;
}

Mat4 perspective(float fovy, float aspect, float zNear, float zFar) {
    const float t = static_cast<float>(std::tan(static_cast<double>(radians(0.5f * fovy))));
    const float f = 1.0f / t;
    const float a = f / aspect;
    const float c = (zNear + zFar) / (zNear - zFar);
    const float d = 2.0f * zNear * zFar / (zNear - zFar);
    return Mat4(Vec4(a, 0.0f, 0.0f, 0.0f), Vec4(0.0f, f, 0.0f, 0.0f), Vec4(0.0f, 0.0f, c, -1.0f),
                Vec4(0.0f, 0.0f, d, 0.0f));
}

Mat4 translate(float x, float y, float z) {
    return Mat4(Vec4(1.0f, 0.0f, 0.0f, 0.0f), Vec4(0.0f, 1.0f, 0.0f, 0.0f), Vec4(0.0f, 0.0f, 1.0f, 0.0f),
                Vec4(x, y, z, 1.0f));
}

Mat4 translate(const Vec3& v) {
    return translate(v[0], v[1], v[2]);
}

Mat4 lookAt(const Vec3& eye, const Vec3& target, const Vec3& up) {
    const Vec3 f = normalize(target - eye);
    const Vec3 n = normalize(up);
    const Vec3 s = cross(f, n);
    const Vec3 u = cross(s, f);
    const Mat4 r(Vec4(s[0], u[0], -f[0], 0.0f), Vec4(s[1], u[1], -f[1], 0.0f), Vec4(s[2], u[2], -f[2], 0.0f),
                 Vec4(0.0f, 0.0f, 0.0f, 1.0f));
    return r * translate(-eye);
}
