#include "program_registry.h"

void ProgramRegistry::addProgram(const char* name, int vertexResourceId, int fragmentResourceId) {
    auto* program = new ShaderProgram(vertexResourceId, fragmentResourceId);
    programs.emplace(std::string(name), program);
}

ShaderProgram* ProgramRegistry::find(const char* name) const {
    const auto found = programs.find(std::string(name));
    return found != programs.end() ? found->second : nullptr;
}

void ProgramRegistry::useProgram(const char* name) const {
    ShaderProgram* program = find(name);
    if (program != nullptr) {
        program->use();
    }
}
