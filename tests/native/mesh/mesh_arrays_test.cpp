#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "mesh/mesh_arrays.h"
#include "mesh_test_support.h"

namespace {

using Indices = std::vector<std::uint32_t>;
using Floats = std::vector<float>;

// Entries [n * vertex, n * vertex + n) of one per-vertex array.
Floats entries(const std::vector<float>& array, int vertex, int n) {
    return Floats(array.begin() + n * vertex, array.begin() + n * vertex + n);
}

void expectFloats(const Floats& actual, const Floats& expected, const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_FLOAT_EQ(actual[i], expected[i]) << what << ", component " << i;
    }
}

class MeshArraysTest : public MeshResources {
protected:
    // Loads fixture texts into arrays, the progress report kept out of the
    // test output.
    MeshArrays load(const std::string& obj, const std::string& mtl, float scale) {
        setObj(obj);
        setMtl(mtl);
        return loadResources(FixtureObjId, FixtureMtlId, scale);
    }
    static MeshArrays loadResources(int obj, int mtl, float scale) {
        ::testing::internal::CaptureStdout();
        MeshArrays arrays(obj, mtl, scale);
        ::testing::internal::GetCapturedStdout();
        return arrays;
    }
};

TEST_F(MeshArraysTest, EmbeddedQuad) {
    const MeshArrays arrays = loadResources(141, 140, 1.0f);
    ASSERT_EQ(arrays.vertexCount(), 6);
    ASSERT_EQ(arrays.indexCount(), 6);
    EXPECT_EQ(arrays.indexArray, (Indices{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(arrays.scale, 1.0f);

    const Floats positions[] = {{-1, 1, 0}, {-1, -1, 0}, {1, 1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, -1, 0}};
    const Floats texCoords[] = {{0, 1}, {0, 0}, {1, 1}, {1, 0}, {1, 1}, {0, 0}};
    for (int v = 0; v < 6; ++v) {
        const std::string at = "vertex " + std::to_string(v);
        expectFloats(entries(arrays.positionArray, v, 3), positions[v], at + " position");
        expectFloats(entries(arrays.texCoordArray, v, 2), texCoords[v], at + " texture coordinate");
        expectFloats(entries(arrays.normalArray, v, 3), {0, 0, 1}, at + " normal");
        expectFloats(entries(arrays.tangentArray, v, 3), {1, 0, 0}, at + " tangent");
        expectFloats(entries(arrays.bitangentArray, v, 3), {0, 1, 0}, at + " bitangent");
        expectFloats(entries(arrays.ambientArray, v, 3), {0.7765f, 0.8824f, 0.3412f}, at + " ambient");
        expectFloats(entries(arrays.diffuseArray, v, 3), {0.7765f, 0.8824f, 0.3412f}, at + " diffuse");
        expectFloats(entries(arrays.specularArray, v, 4), {0.35f, 0.35f, 0.35f, 32}, at + " specular");
    }
    // Both triangles wind counter-clockwise seen from +z.
    for (int t = 0; t < 6; t += 3) {
        const Floats a = entries(arrays.positionArray, static_cast<int>(arrays.indexArray[t]), 3);
        const Floats b = entries(arrays.positionArray, static_cast<int>(arrays.indexArray[t + 1]), 3);
        const Floats c = entries(arrays.positionArray, static_cast<int>(arrays.indexArray[t + 2]), 3);
        EXPECT_GT((b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]), 0.0f)
            << "triangle " << t / 3;
    }
    EXPECT_EQ(arrays.positionArray.size(), 18u);
    EXPECT_EQ(arrays.texCoordArray.size(), 12u);
    EXPECT_EQ(arrays.specularArray.size(), 24u);
}

TEST_F(MeshArraysTest, ScaleMultipliesPositionsOnly) {
    const MeshArrays one = loadResources(141, 140, 1.0f);
    const MeshArrays two = loadResources(141, 140, 2.0f);
    EXPECT_EQ(two.scale, 2.0f);
    ASSERT_EQ(two.vertexCount(), one.vertexCount());
    for (std::size_t i = 0; i < one.positionArray.size(); ++i) {
        EXPECT_EQ(two.positionArray[i], 2.0f * one.positionArray[i]);
    }
    EXPECT_EQ(two.texCoordArray, one.texCoordArray);
    EXPECT_EQ(two.normalArray, one.normalArray);
    EXPECT_EQ(two.tangentArray, one.tangentArray);
    EXPECT_EQ(two.bitangentArray, one.bitangentArray);
    EXPECT_EQ(two.specularArray, one.specularArray);
    EXPECT_EQ(two.indexArray, one.indexArray);
}

TEST_F(MeshArraysTest, MeshesAreConcatenatedWithOffsetIndicesAndTheirOwnMaterials) {
    const MeshArrays arrays = load(
        "mtllib m\n"
        "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\nvn 0 0 3\n"
        "o A\nusemtl red\nf 1/1/1 2/2/1 4/3/1\n"
        "o B\nf 1/1/1 2/2/1 3/3/1 4/3/1\n"
        "o C\nusemtl green\nf 2/1/1 3/2/1 4/3/1\n",
        "newmtl red\nKa 1 0 0\nKd 0.5 0 0\nKs 0.25 0 0\nNs 8\nnewmtl green\nKd 0 1 0\nNs 16\n", 1.0f);
    ASSERT_EQ(arrays.vertexCount(), 3 + 4 + 3);
    ASSERT_EQ(arrays.indexCount(), 3 + 6 + 3);
    EXPECT_EQ(arrays.indexArray, (Indices{0, 1, 2, 3, 4, 6, 4, 5, 6, 7, 8, 9}));
    // The names bind by position: red to A, green to B; C keeps the default.
    for (int v = 0; v < 3; ++v) {
        expectFloats(entries(arrays.ambientArray, v, 3), {1, 0, 0}, "A ambient");
        expectFloats(entries(arrays.diffuseArray, v, 3), {0.5f, 0, 0}, "A diffuse");
        expectFloats(entries(arrays.specularArray, v, 4), {0.25f, 0, 0, 8}, "A specular");
    }
    for (int v = 3; v < 7; ++v) {
        expectFloats(entries(arrays.diffuseArray, v, 3), {0, 1, 0}, "B diffuse");
        expectFloats(entries(arrays.specularArray, v, 4), {0, 0, 0, 16}, "B specular");
    }
    for (int v = 7; v < 10; ++v) {
        expectFloats(entries(arrays.ambientArray, v, 3), {0, 0, 0}, "C ambient");
        expectFloats(entries(arrays.diffuseArray, v, 3), {0, 0, 0}, "C diffuse");
        expectFloats(entries(arrays.specularArray, v, 4), {0, 0, 0, 0}, "C specular");
    }
    // Normals come out unit length whatever their written length.
    for (int v = 0; v < 10; ++v) {
        expectFloats(entries(arrays.normalArray, v, 3), {0, 0, 1}, "normal");
    }
    expectFloats(entries(arrays.positionArray, 9, 3), {0, 1, 0}, "last position");
}

TEST_F(MeshArraysTest, VertexKeepsTheFrameOfTheLastTriangleUsingIt) {
    // One quadrilateral, split into (0, 1, 3) and (1, 2, 3). The first
    // triangle's texture runs along x, the second's tangent along y.
    const MeshArrays arrays = load(
        "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
        "vt 0 0\nvt 1 0\nvt 2 0\nvt 0 1\nvn 0 0 1\n"
        "f 1/1/1 2/2/1 3/3/1 4/4/1\n",
        "", 1.0f);
    ASSERT_EQ(arrays.indexArray, (Indices{0, 1, 3, 1, 2, 3}));
    const float r = 1.0f / std::sqrt(5.0f);
    expectFloats(entries(arrays.tangentArray, 0, 3), {1, 0, 0}, "vertex 0 tangent");
    expectFloats(entries(arrays.bitangentArray, 0, 3), {0, 1, 0}, "vertex 0 bitangent");
    for (int v = 1; v < 4; ++v) {
        expectFloats(entries(arrays.tangentArray, v, 3), {0, 1, 0}, "tangent of " + std::to_string(v));
        expectFloats(entries(arrays.bitangentArray, v, 3), {-r, 2 * r, 0},
                     "bitangent of " + std::to_string(v));
    }
}

TEST_F(MeshArraysTest, FacesWithoutTextureCoordinatesGiveNonNumberFrames) {
    const MeshArrays arrays = load("v 0 0 0\nv 2 0 0\nv 0 2 0\nvn 0 0 5\nf 1//1 2//1 3//1\n", "", 1.0f);
    ASSERT_EQ(arrays.vertexCount(), 3);
    EXPECT_EQ(arrays.indexArray, (Indices{0, 1, 2}));
    for (int v = 0; v < 3; ++v) {
        expectFloats(entries(arrays.normalArray, v, 3), {0, 0, 1}, "normal");
        for (float component : entries(arrays.tangentArray, v, 3)) {
            EXPECT_TRUE(std::isnan(component));
        }
        for (float component : entries(arrays.bitangentArray, v, 3)) {
            EXPECT_TRUE(std::isnan(component));
        }
    }
    expectFloats(entries(arrays.positionArray, 1, 3), {2, 0, 0}, "position");
}

TEST_F(MeshArraysTest, FacesWithoutTrianglesLoadAsAnEmptyModel) {
    const MeshArrays arrays = load("v 0 0 0\nv 1 0 0\nvn 0 0 1\nf 1//1 2//1\n", "", 1.0f);
    EXPECT_EQ(arrays.vertexCount(), 0);
    EXPECT_EQ(arrays.indexCount(), 0);
    EXPECT_TRUE(arrays.positionArray.empty());
    EXPECT_TRUE(arrays.indexArray.empty());
    EXPECT_TRUE(nativeMessages().empty());
}

TEST_F(MeshArraysTest, LeftoverIndicesOfRepeatedCornersFormNoTriangle) {
    // Corners 1 and 3 share a position: ten indices, of which the tangent
    // pass takes three whole triangles and leaves the last one over.
    const MeshArrays arrays = load(
        "v 0 0 0\nv 1 0 0\nv 1 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvn 0 0 1\n"
        "f 1/1/1 2/2/1 3/3/1 2/2/1\n",
        "", 1.0f);
    ASSERT_EQ(arrays.vertexCount(), 4);
    EXPECT_EQ(arrays.indexArray, (Indices{0, 1, 1, 3, 3, 1, 1, 2, 3, 3}));
    EXPECT_EQ(arrays.indexCount(), 10);
    EXPECT_EQ(arrays.tangentArray.size(), 12u);
}

TEST_F(MeshArraysTest, FromALoadedModel) {
    objl::ModelLoader loader;
    objl::Mesh mesh;
    mesh.vertices.resize(3);
    mesh.vertices[2].position = {1, 2, 3};
    mesh.vertices[2].normal = {0, 4, 0};
    mesh.indices = {2, 1, 0};
    loader.meshes = {mesh, mesh};
    const MeshArrays arrays(loader, 0.5f);
    EXPECT_EQ(arrays.vertexCount(), 6);
    EXPECT_EQ(arrays.indexArray, (Indices{2, 1, 0, 5, 4, 3}));
    expectFloats(entries(arrays.positionArray, 5, 3), {0.5f, 1, 1.5f}, "scaled position");
    expectFloats(entries(arrays.normalArray, 5, 3), {0, 1, 0}, "unit normal");

    // An index naming no vertex of its mesh is refused.
    loader.meshes[1].indices = {0, 1, 3};
    EXPECT_THROW(MeshArrays(loader, 1.0f), std::out_of_range);
}

// Runs inside the death test's child: shows, after the message, how often
// the windowing library was shut down before the exit.
void reportShutdownsAtExit() {
    std::atexit([] { std::fprintf(stderr, "windowing shut down %d time(s)\n", nativeShutdownCount()); });
}

TEST_F(MeshArraysTest, ModelThatDoesNotLoadEndsTheProcessWithCodeZero) {
    const std::pair<std::string, std::string> cases[] = {
        {"no faces", "mtllib m\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"},
        {"empty text", ""},
        {"number without digits", "v 0 0 0\nv 1  0 0\nv 0 1 0\nf 1 2 3\n"},
        {"index outside its list", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 4\n"},
        {"material number without digits", "mtllib m\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"},
    };
    for (const auto& c : cases) {
        setObj(c.second);
        setMtl("newmtl m\nNs\n");
        EXPECT_EXIT(
            {
                reportShutdownsAtExit();
                MeshArrays arrays(FixtureObjId, FixtureMtlId, 1.0f);
            },
            ::testing::ExitedWithCode(0), "\\[Debug\\] Failed to load mesh\n.*windowing shut down 1 time")
            << c.first;
    }
}

TEST_F(MeshArraysTest, MissingModelEndsTheProcessWithCodeZero) {
    nativeRemoveTextResource(FixtureObjId);
    EXPECT_EXIT(
        {
            reportShutdownsAtExit();
            MeshArrays arrays(FixtureObjId, FixtureMtlId, 1.0f);
        },
        ::testing::ExitedWithCode(0), "\\[Debug\\] Failed to load mesh\n.*windowing shut down 1 time");
}

}  // namespace
