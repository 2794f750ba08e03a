#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "../window/gl_entry_points.h"

class ProgramRegistry;

// The two OpenGL buffers of a drawable and the layout of its vertex
// attributes. The vertex and index data stay the mesh's; the set only points
// at them. No vertex array object is made: the attribute pointers are set
// again before every draw.
class VertexBufferSet {
public:
    // Generates the two buffer names, the vertex buffer first.
    explicit VertexBufferSet(ProgramRegistry* registry);

    void setVertexData(std::int32_t bytes, const float* data, std::int32_t floatsPerVertex);
    void setIndexData(std::int32_t bytes, const std::uint32_t* data, std::int32_t count);

    // Records an attribute of the named program: its location (-1 when the
    // program has no active attribute of that name, or is not filed), its
    // component count and its offset in floats within a vertex. A name
    // already recorded keeps its first entry.
    void addAttribute(const char* programName, const char* attributeName, std::int32_t components,
                      std::int32_t offset);

    void bindBuffers();
    // Enables and points every recorded attribute, in byte order of the
    // names. A location of -1 goes to OpenGL as it is, which rejects it.
    void setAttributePointers();
    void prepareBuffers();
    // Binds and points, then hands both arrays to OpenGL once, for static
    // drawing.
    void uploadData();

    ProgramRegistry* registry;
    GLuint vertexBuffer;
    GLuint indexBuffer;
    const float* vertexData;
    std::int32_t vertexBytes;
    std::int32_t floatsPerVertex;
    std::map<std::string, GLint> attributeLocations;
    std::map<std::string, std::int32_t> attributeSizes;
    std::map<std::string, std::int32_t> attributeOffsets;
    const std::uint32_t* indexData;
    std::int32_t indexBytes;
    std::int32_t indexCount;
};
