#include "mesh/mesh_arrays.h"

#include <cmath>
#include <cstdlib>
#include <exception>
#include <limits>
#include <stdexcept>

#include "window/platform.h"

namespace {

// The per-triangle arithmetic in single precision, in the same order as the
// render math: the length sums the squares in order and takes the square
// root in double precision.
struct Vec3 {
    float x;
    float y;
    float z;
};

Vec3 operator-(const Vec3& a, const Vec3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vec3 operator*(const Vec3& a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}

Vec3 normalize(const Vec3& a) {
    float sum = 0.0f;
    sum += a.x * a.x;
    sum += a.y * a.y;
    sum += a.z * a.z;
    const auto length = static_cast<float>(std::sqrt(static_cast<double>(sum)));
    // A zero vector gives non-numbers; nothing guards against it.
    return {a.x / length, a.y / length, a.z / length};
}

Vec3 readVec3(const std::vector<float>& array, std::size_t vertex) {
    return {array[3 * vertex], array[3 * vertex + 1], array[3 * vertex + 2]};
}

void writeVec3(std::vector<float>& array, std::size_t vertex, const Vec3& v) {
    array[3 * vertex] = v.x;
    array[3 * vertex + 1] = v.y;
    array[3 * vertex + 2] = v.z;
}

[[noreturn]] void failToLoad() {
    platformShowMessage("Failed to load mesh", "Debug");
    platformShutdownWindowing();
    std::exit(0);
}

}  // namespace

MeshArrays::MeshArrays(int objResourceId, int mtlResourceId, float scaleFactor) : scale(scaleFactor) {
    load(objResourceId, mtlResourceId, scaleFactor);
}

MeshArrays::MeshArrays(const objl::ModelLoader& loader, float scaleFactor) : scale(scaleFactor) {
    fill(loader);
}

void MeshArrays::load(int objResourceId, int mtlResourceId, float scaleFactor) {
    scale = scaleFactor;
    bool loaded = false;
    try {
        objl::ModelLoader loader;
        if (loader.loadObjResource(objResourceId, mtlResourceId)) {
            // The arrays come from the meshes alone: the loader's lists of
            // every vertex and index go before the arrays are made, which
            // lowers the peak of a large model's load.
            std::vector<objl::Vertex>().swap(loader.vertices);
            std::vector<std::uint32_t>().swap(loader.indices);
            fill(loader);
            loaded = true;
        }
    } catch (const std::exception&) {
        // A number the standard conversions cannot read, a face index that
        // names nothing, or memory running out: the model cannot be shown,
        // and the process ends the same way as for a model without faces,
        // with exit code 0.
    }
    if (!loaded) {
        failToLoad();
    }
}

void MeshArrays::fill(const objl::ModelLoader& loader) {
    // Only closed meshes count: corners of faces that gave no triangle and
    // never made it into a mesh are left out.
    std::size_t vertices = 0;
    std::size_t indices = 0;
    for (const objl::Mesh& mesh : loader.meshes) {
        vertices += mesh.vertices.size();
        indices += mesh.indices.size();
    }
    if (vertices > static_cast<std::size_t>(std::numeric_limits<int>::max()) ||
        indices > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw std::length_error("model too large for its counts");
    }
    vertexCount_ = static_cast<int>(vertices);
    indexCount_ = static_cast<int>(indices);

    // Entries that no triangle writes (tangent frames of unused vertices)
    // stay zero.
    positionArray.assign(3 * vertices, 0.0f);
    texCoordArray.assign(2 * vertices, 0.0f);
    normalArray.assign(3 * vertices, 0.0f);
    tangentArray.assign(3 * vertices, 0.0f);
    bitangentArray.assign(3 * vertices, 0.0f);
    ambientArray.assign(3 * vertices, 0.0f);
    diffuseArray.assign(3 * vertices, 0.0f);
    specularArray.assign(4 * vertices, 0.0f);
    indexArray.assign(indices, 0);

    std::size_t vertexOffset = 0;
    std::size_t indexOffset = 0;
    for (const objl::Mesh& mesh : loader.meshes) {
        const objl::Material& material = mesh.material;
        for (std::size_t j = 0; j < mesh.vertices.size(); ++j) {
            const objl::Vertex& vertex = mesh.vertices[j];
            const std::size_t v = vertexOffset + j;
            writeVec3(positionArray, v,
                      {vertex.position.x * scale, vertex.position.y * scale, vertex.position.z * scale});
            writeVec3(normalArray, v, normalize({vertex.normal.x, vertex.normal.y, vertex.normal.z}));
            texCoordArray[2 * v] = vertex.texCoord.x;
            texCoordArray[2 * v + 1] = vertex.texCoord.y;
            writeVec3(ambientArray, v, {material.ambient.x, material.ambient.y, material.ambient.z});
            writeVec3(diffuseArray, v, {material.diffuse.x, material.diffuse.y, material.diffuse.z});
            specularArray[4 * v] = material.specular.x;
            specularArray[4 * v + 1] = material.specular.y;
            specularArray[4 * v + 2] = material.specular.z;
            specularArray[4 * v + 3] = material.specularExponent;
        }
        for (std::size_t k = 0; k < mesh.indices.size(); ++k) {
            if (mesh.indices[k] >= mesh.vertices.size()) {
                throw std::out_of_range("mesh index outside its vertices");
            }
            indexArray[indexOffset + k] = static_cast<std::uint32_t>(vertexOffset + mesh.indices[k]);
        }
        vertexOffset += mesh.vertices.size();
        indexOffset += mesh.indices.size();
    }

    // Tangent frames, one whole triangle at a time; a vertex keeps the frame
    // of the last triangle that uses it. Faces whose corners share positions
    // can leave one or two indices over at the end, which form no triangle
    // and get no frame.
    for (std::size_t t = 0; t + 2 < indices; t += 3) {
        const std::uint32_t a = indexArray[t];
        const std::uint32_t b = indexArray[t + 1];
        const std::uint32_t c = indexArray[t + 2];
        const Vec3 pa = readVec3(positionArray, a);
        const Vec3 pb = readVec3(positionArray, b);
        const Vec3 pc = readVec3(positionArray, c);
        const Vec3 e1 = pb - pa;
        const Vec3 e2 = pc - pa;
        const float du1 = texCoordArray[2 * b] - texCoordArray[2 * a];
        const float dv1 = texCoordArray[2 * b + 1] - texCoordArray[2 * a + 1];
        const float du2 = texCoordArray[2 * c] - texCoordArray[2 * a];
        const float dv2 = texCoordArray[2 * c + 1] - texCoordArray[2 * a + 1];
        // Degenerate texture coordinates give an infinite f and a frame of
        // non-numbers.
        const float f = 1.0f / (du1 * dv2 - du2 * dv1);
        const Vec3 tangent = normalize((e1 * dv2 - e2 * dv1) * f);
        const Vec3 bitangent = normalize((e2 * du1 - e1 * du2) * f);
        for (std::uint32_t vertex : {a, b, c}) {
            writeVec3(tangentArray, vertex, tangent);
            writeVec3(bitangentArray, vertex, bitangent);
        }
    }
}
