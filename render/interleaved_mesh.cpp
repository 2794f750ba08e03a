#include "interleaved_mesh.h"

#include <cstdlib>
#include <limits>

#include "../mesh/mesh_arrays.h"
#include "../window/platform.h"

namespace {

// The same end as a model that does not load.
[[noreturn]] void failToLoadMesh() {
    platformShowMessage("Failed to load mesh", "Debug");
    platformShutdownWindowing();
    std::exit(0);
}

}  // namespace

InterleavedMesh::InterleavedMesh(int objResourceId, int mtlResourceId, float scale)
    : floatsPerVertex(24),
      positionOffset(0),
      texCoordOffset(3),
      normalOffset(5),
      tangentOffset(8),
      bitangentOffset(11),
      ambientOffset(14),
      diffuseOffset(17),
      specularOffset(20),
      source(new MeshArrays(objResourceId, mtlResourceId, scale)),
      vertexCount(0),
      indexCount(0) {
    interleave();
}

InterleavedMesh::~InterleavedMesh() = default;

std::int32_t InterleavedMesh::vertexDataBytes() const {
    return vertexCount * floatsPerVertex * 4;
}

std::int32_t InterleavedMesh::indexDataBytes() const {
    return indexCount * 4;
}

void InterleavedMesh::interleave() {
    const int vertices = source->vertexCount();
    const int indices = source->indexCount();
    // The buffers take 32-bit byte counts; a model beyond them cannot be
    // drawn, and a count that wrapped around would upload the wrong sizes.
    const long long limit = std::numeric_limits<std::int32_t>::max();
    if (vertices < 0 || indices < 0 || static_cast<long long>(vertices) * floatsPerVertex * 4 > limit ||
        static_cast<long long>(indices) * 4 > limit) {
        failToLoadMesh();
    }
    vertexCount = vertices;
    indexCount = indices;

    const std::size_t stride = static_cast<std::size_t>(floatsPerVertex);
    vertexData.reset(new float[static_cast<std::size_t>(vertexCount) * stride]);
    indexData.reset(new std::uint32_t[static_cast<std::size_t>(indexCount)]);

    const MeshArrays& m = *source;
    for (std::size_t i = 0; i < static_cast<std::size_t>(vertexCount); ++i) {
        float* v = &vertexData[i * stride];
        for (std::size_t k = 0; k < 3; ++k) {
            v[positionOffset + k] = m.positionArray[i * 3 + k];
        }
        for (std::size_t k = 0; k < 2; ++k) {
            v[texCoordOffset + k] = m.texCoordArray[i * 2 + k];
        }
        for (std::size_t k = 0; k < 3; ++k) {
            v[normalOffset + k] = m.normalArray[i * 3 + k];
            v[tangentOffset + k] = m.tangentArray[i * 3 + k];
            v[bitangentOffset + k] = m.bitangentArray[i * 3 + k];
            v[ambientOffset + k] = m.ambientArray[i * 3 + k];
            v[diffuseOffset + k] = m.diffuseArray[i * 3 + k];
        }
        for (std::size_t k = 0; k < 4; ++k) {
            v[specularOffset + k] = m.specularArray[i * 4 + k];
        }
    }
    for (std::size_t k = 0; k < static_cast<std::size_t>(indexCount); ++k) {
        indexData[k] = m.indexArray[k];
    }
}
