#pragma once

#include <cstdint>
#include <memory>

class MeshArrays;

// A loaded model as one interleaved vertex array of 24 floats (96 bytes) per
// vertex plus the triangle index array, ready for the vertex buffers:
//
//   floats  0 to  2  position x, y, z (already scaled)
//   floats  3 to  4  texture coordinate u, v
//   floats  5 to  7  normal
//   floats  8 to 10  tangent
//   floats 11 to 13  bitangent
//   floats 14 to 16  ambient colour
//   floats 17 to 19  diffuse colour
//   floats 20 to 23  specular colour, then the specular exponent
class InterleavedMesh {
public:
    // Loads the model through MeshArrays; a model that does not load (or is
    // too large for 32-bit byte counts) ends the process with "Failed to load
    // mesh".
    InterleavedMesh(int objResourceId, int mtlResourceId, float scale);
    ~InterleavedMesh();
    InterleavedMesh(const InterleavedMesh&) = delete;
    InterleavedMesh& operator=(const InterleavedMesh&) = delete;

    // vertexCount x floatsPerVertex x 4 and indexCount x 4.
    std::int32_t vertexDataBytes() const;
    std::int32_t indexDataBytes() const;

    std::unique_ptr<float[]> vertexData;
    std::int32_t floatsPerVertex;
    std::int32_t positionOffset;
    std::int32_t texCoordOffset;
    std::int32_t normalOffset;
    std::int32_t tangentOffset;
    std::int32_t bitangentOffset;
    std::int32_t ambientOffset;
    std::int32_t diffuseOffset;
    std::int32_t specularOffset;
    std::unique_ptr<std::uint32_t[]> indexData;
    // Kept after interleaving.
    std::unique_ptr<MeshArrays> source;
    std::int32_t vertexCount;
    std::int32_t indexCount;

private:
    void interleave();
};
