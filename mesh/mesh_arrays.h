#pragma once

// One loaded model as per-vertex arrays plus a triangle index array: all
// meshes of an OBJ resource concatenated, ready to be interleaved by a
// drawable.

#include <cstdint>
#include <vector>

#include "mesh/objl.h"

class MeshArrays {
public:
    // Loads the OBJ resource (and, through its "mtllib" line, the MTL
    // resource) and fills every array. A model that does not load shows
    // "Failed to load mesh" and ends the process with exit code 0; this
    // constructor then does not return.
    MeshArrays(int objResourceId, int mtlResourceId, float scaleFactor);

    // Fills the arrays from a model that is already loaded. Throws
    // std::out_of_range when a mesh index names no vertex of its mesh.
    MeshArrays(const objl::ModelLoader& loader, float scaleFactor);

    void load(int objResourceId, int mtlResourceId, float scaleFactor);

    int vertexCount() const {
        return vertexCount_;
    }
    int indexCount() const {
        return indexCount_;
    }

    // Vertex v's entries start at 3v (2v for texture coordinates, 4v for
    // the specular terms).
    std::vector<float> positionArray;   // x, y, z, multiplied by scale
    std::vector<float> texCoordArray;   // u, v
    std::vector<float> normalArray;     // unit normal
    std::vector<float> tangentArray;    // unit tangent of the last triangle using the vertex
    std::vector<float> bitangentArray;  // unit bitangent, likewise
    std::vector<float> ambientArray;    // the mesh material's ambient colour
    std::vector<float> diffuseArray;    // its diffuse colour
    std::vector<float> specularArray;   // its specular colour, then its specular exponent
    std::vector<std::uint32_t> indexArray;
    float scale = 1.0f;

private:
    void fill(const objl::ModelLoader& loader);

    int vertexCount_ = 0;
    int indexCount_ = 0;
};
