#pragma once

#include <memory>

#include "../window/gl_entry_points.h"
#include "interleaved_mesh.h"
#include "render_math.h"
#include "vertex_buffer_set.h"

class Camera;
class ProgramRegistry;
class SceneState;

// One mesh drawn with one named shader program. The base loads and uploads
// the mesh and does the drawing that every drawable shares; a subclass says
// which vertex attributes exist and which uniforms of its own it sets,
// through the three hooks below.
class GLFWDrawableObject {
public:
    // The program name is not copied: the caller's string must outlive the
    // object. Nothing is uploaded until upload().
    GLFWDrawableObject(SceneState* scene, Camera* camera, ProgramRegistry* registry, const char* programName,
                       int objResourceId, int mtlResourceId, float scale);
    GLFWDrawableObject(const GLFWDrawableObject&) = delete;
    GLFWDrawableObject& operator=(const GLFWDrawableObject&) = delete;

    // Records the attributes into the buffer set (called once, by upload).
    virtual void declareAttributes() = 0;
    // Uploads the subclass's own uniforms (called by draw, after the
    // matrices).
    virtual void setUniforms() = 0;
    // Runs right after the program is made current, before any uniform.
    virtual void prepareDraw() = 0;

    // Declares the attributes and hands both arrays to OpenGL, once.
    void upload();
    void setModelMatrix(const Mat4& matrix);
    // Program, hook, matrices, own uniforms, buffers and attributes, then one
    // indexed draw of the whole mesh.
    void draw();
    // "model_world" gets the model matrix, "world_projection" P * V and
    // "model_projection" (P * V) * model.
    void uploadMatrices();

    SceneState* scene;
    ProgramRegistry* registry;
    std::unique_ptr<InterleavedMesh> mesh;
    std::unique_ptr<VertexBufferSet> buffers;
    Camera* camera;
    const char* programName;
    Mat4 model;

protected:
    // Drawables live until the process ends and are never deleted through
    // this base.
    ~GLFWDrawableObject() = default;

    // The location of a uniform of this drawable's program; -1 (which
    // OpenGL ignores) when the program is not filed.
    GLint uniformLocation(const char* name) const;
};

// The full-screen background quad: feeds "position", "position_tex" and
// "position_normal" and sets "iTime", "viewportWidth" and "viewportHeight".
class GLFWDrawableSky final : public GLFWDrawableObject {
public:
    using GLFWDrawableObject::GLFWDrawableObject;

    void declareAttributes() override;
    void setUniforms() override;
    void prepareDraw() override;
};
