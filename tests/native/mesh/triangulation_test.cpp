#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "mesh/objl.h"

namespace {

using objl::Vector3;
using Indices = std::vector<std::uint32_t>;

std::vector<objl::Vertex> face(const std::vector<Vector3>& positions) {
    std::vector<objl::Vertex> corners;
    for (const Vector3& p : positions) {
        objl::Vertex v;
        v.position = p;
        corners.push_back(v);
    }
    return corners;
}

struct FaceCase {
    std::string what;
    std::vector<Vector3> positions;
    Indices indices;
};

TEST(TriangulateFace, FacesGiveTheirTriangles) {
    const FaceCase cases[] = {
        {"one corner", {{0, 0, 0}}, {}},
        {"two corners", {{0, 0, 0}, {1, 0, 0}}, {}},
        // Three corners are taken as they are, even when they coincide.
        {"triangle", {{-1, 1, 0}, {-1, -1, 0}, {1, 1, 0}}, {0, 1, 2}},
        {"degenerate triangle", {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, {0, 1, 2}},
        {"square", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {0, 1, 3, 1, 2, 3}},
        // A quadrilateral is always split along the diagonal from corner 1 to
        // corner 3, here outside the concave shape.
        {"concave quadrilateral", {{0, 0, 0}, {2, 1, 0}, {4, 0, 0}, {2, 3, 0}}, {0, 1, 3, 1, 2, 3}},
        {"convex pentagon",
         {{0, 0, 0}, {2, 0, 0}, {3, 2, 0}, {1, 3, 0}, {-1, 2, 0}},
         {0, 1, 4, 1, 2, 4, 2, 3, 4}},
        {"convex hexagon",
         {{1, 0, 0}, {2, 0, 0}, {3, 1, 0}, {2, 2, 0}, {1, 2, 0}, {0, 1, 0}},
         {0, 1, 5, 1, 2, 5, 2, 3, 5, 3, 4, 5}},
        // Corner 2 lies exactly on the edge from corner 4 to corner 1 of the
        // first candidate (4, 0, 1), which is therefore rejected; corner 1 is
        // clipped first.
        {"corner on a candidate's edge",
         {{0, 0, 0}, {4, 0, 0}, {2, 2, 0}, {4, 4, 0}, {0, 4, 0}},
         {0, 1, 2, 0, 2, 4, 2, 3, 4}},
        // No winding test: a reflex corner whose triangle holds nothing is
        // clipped like any other.
        {"reflex corner first",
         {{2, 1, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}, {0, 0, 0}},
         {0, 1, 4, 1, 2, 4, 2, 3, 4}},
        // Corners 1 and 3 share a position: every corner at a tested
        // position is output once per match.
        {"repeated position", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 0, 0}}, {0, 1, 1, 3, 3, 1, 1, 2, 3, 3}},
        // A self-crossing face in which, after one ear, every candidate
        // holds a corner: it keeps the one triangle found.
        {"stuck after one ear",
         {{1, 1, 0}, {4, 3, 0}, {0, 1, 0}, {4, 1, 0}, {2, 2, 0}, {1, 4, 0}},
         {3, 4, 5}},
        // Every candidate holds a corner from the start: no triangles.
        {"no ear at all", {{1, 3, 0}, {2, 1, 0}, {4, 0, 0}, {2, 2, 0}, {1, 0, 0}, {3, 1, 0}}, {}},
    };
    for (const FaceCase& c : cases) {
        EXPECT_EQ(objl::ModelLoader::triangulateFace(face(c.positions)), c.indices) << c.what;
    }
}

TEST(TriangulateFace, CornerWithoutANumberIsClippedOnceAndTheFaceEnds) {
    // A NaN position equals no position, its own included: the clipped
    // corner must still leave the list. Its ear outputs only the corners
    // that compare equal, here its two neighbours; the square that is left
    // is split as usual.
    const float nan = std::nanf("");
    const std::vector<Vector3> first = {{nan, 0, 0}, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    EXPECT_EQ(objl::ModelLoader::triangulateFace(face(first)), (Indices{1, 4, 1, 2, 4, 2, 3, 4}));

    // Every corner without a number: every ear outputs nothing, and the face
    // ends with no triangles instead of clipping its first corner forever.
    const std::vector<Vector3> none(6, Vector3{nan, nan, nan});
    EXPECT_EQ(objl::ModelLoader::triangulateFace(face(none)), Indices{});
}

struct PointCase {
    std::string what;
    Vector3 point;
    bool inside;
};

TEST(PointInTriangle, BarycentricTestWithBoundsIncluded) {
    const Vector3 a{0, 0, 0}, b{4, 0, 0}, c{0, 4, 0};
    const PointCase cases[] = {
        {"inside", {1, 1, 0}, true},
        {"on an edge", {2, 0, 0}, true},
        {"on the hypotenuse", {2, 2, 0}, true},
        {"at a corner", {4, 0, 0}, true},
        {"outside", {3, 3, 0}, false},
        {"beyond a corner", {-1, 0, 0}, false},
        // Only the projection into the plane counts.
        {"above the plane", {1, 1, 5}, true},
    };
    for (const PointCase& p : cases) {
        EXPECT_EQ(objl::pointInTriangle(p.point, a, b, c), p.inside) << p.what;
    }
    // A degenerate triangle holds nothing, not even its own corners.
    EXPECT_FALSE(objl::pointInTriangle({1, 0, 0}, {0, 0, 0}, {2, 0, 0}, {4, 0, 0}));
    EXPECT_FALSE(objl::pointInTriangle({0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}));
}

TEST(GeometryHelpers, CrossAndDotProducts) {
    const Vector3 z = objl::crossProduct({1, 0, 0}, {0, 1, 0});
    EXPECT_EQ(z, (Vector3{0, 0, 1}));
    EXPECT_EQ(objl::crossProduct({0, 1, 0}, {1, 0, 0}), (Vector3{0, 0, -1}));
    EXPECT_EQ(objl::crossProduct({1, 2, 3}, {4, 5, 6}), (Vector3{-3, 6, -3}));
    EXPECT_EQ(objl::dotProduct({1, 2, 3}, {4, -5, 6}), 12.0f);
}

TEST(Vector3Compare, ExactAndNanUnequal) {
    const float nan = std::nanf("");
    EXPECT_TRUE((Vector3{1, 2, 3}) == (Vector3{1, 2, 3}));
    EXPECT_TRUE((Vector3{0, 0, 0}) == (Vector3{-0.0f, 0, 0}));
    EXPECT_TRUE((Vector3{1, 2, 3}) != (Vector3{1, 2, 3.0000005f}));
    EXPECT_TRUE((Vector3{nan, 0, 0}) != (Vector3{nan, 0, 0}));
}

}  // namespace
