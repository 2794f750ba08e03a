#include "drawable.h"

#include "program_registry.h"
#include "scene_state.h"

GLFWDrawableObject::GLFWDrawableObject(SceneState* sceneState, Camera* sceneCamera,
                                       ProgramRegistry* programRegistry, const char* program,
                                       int objResourceId, int mtlResourceId, float scale)
    : scene(sceneState),
      registry(programRegistry),
      mesh(new InterleavedMesh(objResourceId, mtlResourceId, scale)),
      buffers(new VertexBufferSet(programRegistry)),
      camera(sceneCamera),
      programName(program),
      // Replaced before every draw; the identity until then.
      model(translate(0.0f, 0.0f, 0.0f)) {
    buffers->setVertexData(mesh->vertexDataBytes(), mesh->vertexData.get(), mesh->floatsPerVertex);
    buffers->setIndexData(mesh->indexDataBytes(), mesh->indexData.get(), mesh->indexCount);
}

void GLFWDrawableObject::upload() {
    declareAttributes();
    buffers->uploadData();
}

void GLFWDrawableObject::setModelMatrix(const Mat4& matrix) {
    model = matrix;
}

void GLFWDrawableObject::draw() {
    registry->useProgram(programName);
    prepareDraw();
    uploadMatrices();
    setUniforms();
    buffers->prepareBuffers();
    glDrawElements(GL_TRIANGLES, buffers->indexCount, GL_UNSIGNED_INT, nullptr);
}

void GLFWDrawableObject::uploadMatrices() {
    const Mat4 view = camera->viewMatrix();
    const Mat4 projection = camera->projectionMatrix();
    const Mat4 modelProjection = (projection * view) * model;
    const Mat4 worldProjection = projection * view;
    glUniformMatrix4fv(uniformLocation("model_world"), 1, GL_FALSE, model.data());
    glUniformMatrix4fv(uniformLocation("world_projection"), 1, GL_FALSE, worldProjection.data());
    glUniformMatrix4fv(uniformLocation("model_projection"), 1, GL_FALSE, modelProjection.data());
}

GLint GLFWDrawableObject::uniformLocation(const char* name) const {
    ShaderProgram* program = registry->find(programName);
    return program != nullptr ? program->uniformLocation(name) : -1;
}

void GLFWDrawableSky::declareAttributes() {
    buffers->addAttribute(programName, "position", 3, 0);
    buffers->addAttribute(programName, "position_tex", 2, 3);
    buffers->addAttribute(programName, "position_normal", 3, 5);
}

void GLFWDrawableSky::setUniforms() {
    glUniform1f(uniformLocation("iTime"), scene->time);
    glUniform1f(uniformLocation("viewportWidth"), scene->viewportWidth);
    glUniform1f(uniformLocation("viewportHeight"), scene->viewportHeight);
}

void GLFWDrawableSky::prepareDraw() {}
