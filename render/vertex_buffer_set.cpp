#include "vertex_buffer_set.h"

#include <cstdint>

#include "program_registry.h"

VertexBufferSet::VertexBufferSet(ProgramRegistry* programRegistry)
    : registry(programRegistry),
      vertexBuffer(0),
      indexBuffer(0),
      vertexData(nullptr),
      vertexBytes(0),
      floatsPerVertex(0),
      indexData(nullptr),
      indexBytes(0),
      indexCount(0) {
    glGenBuffers(1, &vertexBuffer);
    glGenBuffers(1, &indexBuffer);
}

void VertexBufferSet::setVertexData(std::int32_t bytes, const float* data, std::int32_t stride) {
    vertexBytes = bytes;
    vertexData = data;
    floatsPerVertex = stride;
}

void VertexBufferSet::setIndexData(std::int32_t bytes, const std::uint32_t* data, std::int32_t count) {
    indexBytes = bytes;
    indexData = data;
    indexCount = count;
}

void VertexBufferSet::addAttribute(const char* programName, const char* attributeName,
                                   std::int32_t components, std::int32_t offset) {
    ShaderProgram* program = registry->find(programName);
    const GLint location = program != nullptr ? program->attribLocation(attributeName) : -1;
    const std::string name(attributeName);
    attributeLocations.emplace(name, location);
    attributeSizes.emplace(name, components);
    attributeOffsets.emplace(name, offset);
}

void VertexBufferSet::bindBuffers() {
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
}

void VertexBufferSet::setAttributePointers() {
    for (const auto& entry : attributeLocations) {
        const GLuint location = static_cast<GLuint>(entry.second);
        const std::int32_t components = attributeSizes[entry.first];
        const std::int32_t offset = attributeOffsets[entry.first];
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, floatsPerVertex * 4,
                              reinterpret_cast<const void*>(static_cast<std::uintptr_t>(offset) * 4));
    }
}

void VertexBufferSet::prepareBuffers() {
    bindBuffers();
    setAttributePointers();
}

void VertexBufferSet::uploadData() {
    prepareBuffers();
    glBufferData(GL_ARRAY_BUFFER, vertexBytes, vertexData, GL_STATIC_DRAW);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, indexBytes, indexData, GL_STATIC_DRAW);
}
