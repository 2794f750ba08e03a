// Ear clipping of OBJ faces and the geometry helpers it uses.

#include "mesh/objl.h"

namespace objl {

Vector3 crossProduct(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float dotProduct(const Vector3& a, const Vector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

bool pointInTriangle(const Vector3& point, const Vector3& a, const Vector3& b, const Vector3& c) {
    const Vector3 u = b - a;
    const Vector3 v = c - a;
    const Vector3 w = point - a;
    const Vector3 n = crossProduct(u, v);
    const float gamma = dotProduct(crossProduct(u, w), n) / dotProduct(n, n);
    const float beta = dotProduct(crossProduct(w, v), n) / dotProduct(n, n);
    const float alpha = 1.0f - gamma - beta;
    // For a degenerate triangle the weights are NaN and every test fails.
    return alpha >= 0.0f && alpha <= 1.0f && beta >= 0.0f && beta <= 1.0f && gamma >= 0.0f && gamma <= 1.0f;
}

namespace {

// Outputs every corner whose position equals one of the three, once per
// match, in corner order. With distinct positions this is the triangle's
// three corners in ascending order, which keeps the face's winding.
void emitTriangle(std::vector<std::uint32_t>& out, const std::vector<Vertex>& corners, const Vector3& first,
                  const Vector3& second, const Vector3& third) {
    for (std::size_t j = 0; j < corners.size(); ++j) {
        const Vector3& position = corners[j].position;
        const auto index = static_cast<std::uint32_t>(j);
        if (position == first) {
            out.push_back(index);
        }
        if (position == second) {
            out.push_back(index);
        }
        if (position == third) {
            out.push_back(index);
        }
    }
}

}  // namespace

std::vector<std::uint32_t> ModelLoader::triangulateFace(const std::vector<Vertex>& corners) {
    std::vector<std::uint32_t> out;
    if (corners.size() < 3) {
        return out;
    }
    if (corners.size() == 3) {
        out = {0, 1, 2};
        return out;
    }

    // One scan over the corners left, restarted from the first after every
    // clipped ear. A scan that reaches the end has found no ear, and scanning
    // again would find none either: the face then keeps the triangles output
    // so far (none when no ear was ever found).
    std::vector<Vertex> remaining = corners;
    std::size_t i = 0;
    while (i < remaining.size()) {
        const Vertex& prev = i == 0 ? remaining.back() : remaining[i - 1];
        const Vertex& cur = remaining[i];
        const Vertex& next = i + 1 == remaining.size() ? remaining.front() : remaining[i + 1];

        if (remaining.size() == 4) {
            // The last quadrilateral is split along the diagonal from next
            // to prev, whatever its shape.
            emitTriangle(out, corners, cur.position, prev.position, next.position);
            Vector3 fourth;
            for (const Vertex& corner : remaining) {
                if (corner.position != cur.position && corner.position != prev.position &&
                    corner.position != next.position) {
                    fourth = corner.position;
                    break;
                }
            }
            emitTriangle(out, corners, prev.position, next.position, fourth);
            break;
        }

        // No winding or convexity test: the first candidate whose triangle
        // holds no other corner of the face, clipped ones included, is an ear.
        bool holdsCorner = false;
        for (const Vertex& corner : corners) {
            if (corner.position != prev.position && corner.position != cur.position &&
                corner.position != next.position &&
                pointInTriangle(corner.position, prev.position, cur.position, next.position)) {
                holdsCorner = true;
                break;
            }
        }
        if (holdsCorner) {
            ++i;
            continue;
        }

        emitTriangle(out, corners, cur.position, prev.position, next.position);
        const Vector3 clippedPosition = cur.position;
        bool clipped = false;
        for (auto it = remaining.begin(); it != remaining.end(); ++it) {
            if (it->position == clippedPosition) {
                remaining.erase(it);
                clipped = true;
                break;
            }
        }
        // A position with a NaN equals nothing, not even itself: the ear's
        // own corner goes, or the same ear would be clipped forever.
        if (!clipped) {
            remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(i));
        }
        i = 0;
    }
    return out;
}

}  // namespace objl
