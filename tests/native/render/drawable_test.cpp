#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "gl_call_recorder.h"
#include "gl_test_support.h"
#include "mesh/mesh_arrays.h"
#include "render/drawable.h"
#include "render/interleaved_mesh.h"
#include "render/program_registry.h"
#include "render/scene_state.h"
#include "render/vertex_buffer_set.h"
#include "window/native_platform.h"

namespace {

constexpr int testObjId = 9201;
constexpr int testMtlId = 9202;

// Every float of the interleaved vertex is the source array's entry at its
// offset.
void expectInterleavedFromSource(const InterleavedMesh& mesh) {
    const MeshArrays& s = *mesh.source;
    ASSERT_EQ(mesh.vertexCount, s.vertexCount());
    ASSERT_EQ(mesh.indexCount, s.indexCount());
    struct Block {
        const char* name;
        int offset;
        int size;
        const std::vector<float>* array;
    };
    const Block blocks[] = {
        {"position", mesh.positionOffset, 3, &s.positionArray},
        {"texture coordinate", mesh.texCoordOffset, 2, &s.texCoordArray},
        {"normal", mesh.normalOffset, 3, &s.normalArray},
        {"tangent", mesh.tangentOffset, 3, &s.tangentArray},
        {"bitangent", mesh.bitangentOffset, 3, &s.bitangentArray},
        {"ambient", mesh.ambientOffset, 3, &s.ambientArray},
        {"diffuse", mesh.diffuseOffset, 3, &s.diffuseArray},
        {"specular", mesh.specularOffset, 4, &s.specularArray},
    };
    for (int i = 0; i < mesh.vertexCount; ++i) {
        for (const Block& block : blocks) {
            for (int k = 0; k < block.size; ++k) {
                const float expected = (*block.array)[std::size_t(i * block.size + k)];
                const float actual = mesh.vertexData[std::size_t(i * 24 + block.offset + k)];
                // Bitwise, so that non-numbers compare too.
                EXPECT_EQ(std::memcmp(&expected, &actual, sizeof actual), 0)
                    << "vertex " << i << ", " << block.name << " " << k;
            }
        }
    }
    for (int k = 0; k < mesh.indexCount; ++k) {
        EXPECT_EQ(mesh.indexData[std::size_t(k)], s.indexArray[std::size_t(k)]) << "index " << k;
    }
}

TEST(InterleavedMesh, EmbeddedQuadHasTwentyFourFloatsPerVertexAtTheListedOffsets) {
    InterleavedMesh mesh(141, 140, 1.0f);
    EXPECT_EQ(mesh.floatsPerVertex, 24);
    const int offsets[] = {mesh.positionOffset, mesh.texCoordOffset,  mesh.normalOffset,
                           mesh.tangentOffset,  mesh.bitangentOffset, mesh.ambientOffset,
                           mesh.diffuseOffset,  mesh.specularOffset};
    EXPECT_EQ(std::vector<int>(std::begin(offsets), std::end(offsets)),
              (std::vector<int>{0, 3, 5, 8, 11, 14, 17, 20}));
    EXPECT_EQ(mesh.vertexCount, 6);
    EXPECT_EQ(mesh.indexCount, 6);
    EXPECT_EQ(mesh.vertexDataBytes(), 576);
    EXPECT_EQ(mesh.indexDataBytes(), 24);
    ASSERT_NE(mesh.source, nullptr) << "the arrays stay after interleaving";
    expectInterleavedFromSource(mesh);
}

TEST(InterleavedMesh, ScaledModelOfTwoMeshesKeepsItsIndices) {
    nativeSetTextResource(testObjId,
                          "mtllib test.mtl\n"
                          "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n"
                          "vt 0 0\nvt 1 0\nvt 0 1\nvt 1 1\n"
                          "vn 0 0 2\n"
                          "o first\nusemtl red\nf 1/1/1 2/2/1 3/3/1\n"
                          "o second\nusemtl blue\nf 2/2/1 4/4/1 3/3/1\n");
    nativeSetTextResource(testMtlId,
                          "newmtl red\nKa 1 0 0\nKd 1 0 0\nKs 0.5 0.5 0.5\nNs 8\n"
                          "newmtl blue\nKa 0 0 1\nKd 0 0 1\nKs 0.25 0.25 0.25\nNs 16\n");
    InterleavedMesh mesh(testObjId, testMtlId, 2.0f);
    nativeResetTextResources();
    ASSERT_EQ(mesh.vertexCount, 6);
    ASSERT_EQ(mesh.indexCount, 6);
    expectInterleavedFromSource(mesh);
    // The second triangle's vertices come after the first's, scaled by 2.
    EXPECT_EQ(mesh.indexData[3], 3u);
    EXPECT_EQ(mesh.vertexData[4 * 24 + 0], 2.0f);
    EXPECT_EQ(mesh.vertexData[4 * 24 + 1], 2.0f);
    EXPECT_EQ(mesh.vertexData[4 * 24 + 19], 1.0f) << "blue diffuse";
    EXPECT_EQ(mesh.vertexData[4 * 24 + 23], 16.0f) << "blue specular exponent";
}

class Drawables : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ensureGlContext());
        applyFixedGlState();
        static ProgramRegistry* shared = nullptr;
        if (shared == nullptr) {
            shared = new ProgramRegistry();
            shared->addProgram("BackgroundProgram", 137, 136);
        }
        registry = shared;
    }

    ProgramRegistry* registry = nullptr;
};

TEST_F(Drawables, AttributesKeepTheirFirstDeclaration) {
    VertexBufferSet buffers(registry);
    EXPECT_NE(buffers.vertexBuffer, 0u);
    EXPECT_NE(buffers.indexBuffer, 0u);
    EXPECT_NE(buffers.vertexBuffer, buffers.indexBuffer);

    buffers.addAttribute("BackgroundProgram", "position", 3, 0);
    buffers.addAttribute("BackgroundProgram", "position", 4, 7);
    buffers.addAttribute("BackgroundProgram", "position_normal", 3, 5);
    // A program that is not filed has no attributes: -1, never a crash.
    buffers.addAttribute("NoSuchProgram", "position_tex", 2, 3);

    const ShaderProgram* program = registry->find("BackgroundProgram");
    EXPECT_EQ(buffers.attributeLocations.at("position"), program->locationCache.at("position"));
    EXPECT_EQ(buffers.attributeSizes.at("position"), 3);
    EXPECT_EQ(buffers.attributeOffsets.at("position"), 0);
    EXPECT_EQ(buffers.attributeLocations.at("position_normal"), -1);
    EXPECT_EQ(buffers.attributeLocations.at("position_tex"), -1);
    EXPECT_EQ(buffers.attributeLocations.size(), 3u);
}

TEST_F(Drawables, SkyWithAProgramThatIsNotFiledDrawsNothingAndDoesNotCrash) {
    SceneState state(20.0f);
    Camera camera(0, 0, 0);
    camera.updateView(0);
    camera.setProjection(perspective(40.0f, 4.0f / 3.0f, 0.1f, 1000.0f));
    GLFWDrawableSky sky(&state, &camera, registry, "NoSuchProgram", 141, 140, 1.0f);
    sky.upload();

    GlCallLog log;
    installGlCallRecorders();
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(0, 0, 32, 24);
    state.setViewportSize(32, 24);
    recordGlCallsInto(&log);
    sky.draw();
    recordGlCallsInto(nullptr);

    // No program was made current, and every upload went to location -1.
    for (const std::string& call : log.calls) {
        EXPECT_EQ(call.rfind("glUseProgram", 0), std::string::npos) << call;
        if (call.rfind("glUniform", 0) == 0) {
            EXPECT_NE(call.find("(-1, "), std::string::npos) << call;
        }
    }
    EXPECT_EQ(log.calls.back(), "glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, 0)");
    for (std::uint8_t byte : readFrame(32, 24)) {
        ASSERT_EQ(byte, 0);
    }
}

}  // namespace
