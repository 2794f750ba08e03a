#pragma once

// The OBJ/MTL loader: its records, the loader object and the small text and
// geometry helpers that the OBJ and MTL parses share.
//
// The loader reads a fixed subset of Wavefront OBJ and MTL from "TEXTFILE"
// resources of the executable. Its vector records are its own, separate from
// the render math.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace objl {

struct Vector2 {
    float x = 0.0f;
    float y = 0.0f;
};

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

Vector3 operator-(const Vector3& a, const Vector3& b);
// Exact float comparison of all three components; a NaN makes vectors unequal.
bool operator==(const Vector3& a, const Vector3& b);
bool operator!=(const Vector3& a, const Vector3& b);

// One face corner. A default vertex is all zeros.
struct Vertex {
    Vector3 position;
    Vector3 normal;
    Vector2 texCoord;
};

// One "newmtl" block of an MTL text. The default is an unnamed, black
// material with a zero specular exponent and zero dissolve.
struct Material {
    std::string name;
    Vector3 ambient;
    Vector3 diffuse;
    Vector3 specular;
    float specularExponent = 0.0f;
    float opticalDensity = 0.0f;
    float dissolve = 0.0f;
    std::int32_t illumination = 0;
    std::string ambientMap;
    std::string diffuseMap;
    std::string specularMap;
    std::string specularExponentMap;
    std::string alphaMap;
    std::string bumpMap;
};

struct Mesh {
    Mesh() = default;
    Mesh(const std::vector<Vertex>& meshVertices, const std::vector<std::uint32_t>& meshIndices);

    std::string name;
    // One vertex per face corner; corners are never shared between faces.
    std::vector<Vertex> vertices;
    // Triangle list over this mesh's own vertices.
    std::vector<std::uint32_t> indices;
    // A default material unless a "usemtl" name was bound to this mesh.
    Material material;
};

class ModelLoader {
public:
    // Parses the OBJ text of resource objResourceId into meshes, vertices and
    // indices; every "mtllib" line parses the MTL text of mtlResourceId,
    // whatever file it names. False when nothing at all was built. The text
    // is read where the platform keeps it, without a copy, so reading it
    // cannot run out of memory.
    //
    // Numbers that the standard conversions cannot read raise their errors
    // (std::invalid_argument, std::out_of_range), and so does a face index
    // that names no element of its list; none of them is caught here.
    bool loadObjResource(int objResourceId, int mtlResourceId);

    // Appends the materials of the MTL text of resource mtlResourceId to
    // materials. False only when memory runs out while reading the text.
    bool loadMtlResource(int mtlResourceId);

    // The corners of one "f" line, resolved against the lists read so far.
    static std::vector<Vertex> buildFaceVertices(const std::vector<Vector3>& positions,
                                                 const std::vector<Vector2>& texCoords,
                                                 const std::vector<Vector3>& normals, std::string line);

    // Ear clipping of one face: indices into corners, three per triangle
    // (more where corners share a position).
    static std::vector<std::uint32_t> triangulateFace(const std::vector<Vertex>& corners);

    // The meshes of the last OBJ parse, in the order they were closed.
    std::vector<Mesh> meshes;
    // Every face corner of the last OBJ parse, all meshes together.
    std::vector<Vertex> vertices;
    // Triangle list over vertices.
    std::vector<std::uint32_t> indices;
    // Appended to by every MTL parse, never emptied.
    std::vector<Material> materials;
};

// The OBJ parse reports its progress once every this many lines.
constexpr unsigned ProgressInterval = 1000;

// The lines of a "TEXTFILE" resource (low 16 bits of the id), each up to an
// LF, without it. False only when memory runs out.
bool readResourceLines(int resourceId, std::vector<std::string>& lines);

// The first word of a line; words are separated by blanks and tabs.
std::string lineKeyword(const std::string& line);
// The rest of the line after its first word, without surrounding blanks and
// tabs. A CR at the end stays.
std::string lineArguments(const std::string& line);
// Pieces of text between delimiters: a delimiter at the start or two in a row
// give empty pieces, one at the end gives none.
std::vector<std::string> splitByDelimiter(const std::string& text, const std::string& delimiter);
// The text without its trailing CR and LF characters; a text made only of
// them comes back unchanged.
std::string trimTrailingNewlines(const std::string& text);

Vector3 crossProduct(const Vector3& a, const Vector3& b);
float dotProduct(const Vector3& a, const Vector3& b);
// Barycentric test on the projection into the triangle's plane; edges and
// corners count as inside, a degenerate triangle contains nothing.
bool pointInTriangle(const Vector3& point, const Vector3& a, const Vector3& b, const Vector3& c);

// Thrown by resolveObjIndex for an index that names no element of its list.
class IndexOutOfRange : public std::out_of_range {
public:
    IndexOutOfRange() : std::out_of_range("OBJ index outside its list") {}
};

// The element of list that an OBJ index names: 1 is the first element, -1
// the last one read so far.
template <typename Element>
Element resolveObjIndex(const std::vector<Element>& list, const std::string& indexText) {
    long long n = std::stoi(indexText);
    const long long size = static_cast<long long>(list.size());
    n = n < 0 ? n + size : n - 1;
    if (n < 0 || n >= size) {
        throw IndexOutOfRange();
    }
    return list[static_cast<std::size_t>(n)];
}

}  // namespace objl
