#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "mesh/objl.h"
#include "mesh_test_support.h"

namespace {

using objl::Vector2;
using objl::Vector3;
using Indices = std::vector<std::uint32_t>;

void expectVector(const Vector3& actual, const Vector3& expected, const std::string& what) {
    EXPECT_FLOAT_EQ(actual.x, expected.x) << what;
    EXPECT_FLOAT_EQ(actual.y, expected.y) << what;
    EXPECT_FLOAT_EQ(actual.z, expected.z) << what;
}

class ObjParser : public MeshResources {
protected:
    // Parses an OBJ text (and, for its "mtllib" lines, an MTL text) with the
    // progress report kept out of the test output.
    bool parse(const std::string& obj, const std::string& mtl = "") {
        setObj(obj);
        setMtl(mtl);
        ::testing::internal::CaptureStdout();
        bool result = false;
        try {
            result = loader.loadObjResource(FixtureObjId, FixtureMtlId);
        } catch (...) {
            report = ::testing::internal::GetCapturedStdout();
            throw;
        }
        report = ::testing::internal::GetCapturedStdout();
        return result;
    }

    objl::ModelLoader loader;
    std::string report;
};

TEST_F(ObjParser, EmbeddedQuad) {
    ::testing::internal::CaptureStdout();
    const bool result = loader.loadObjResource(141, 140);
    ::testing::internal::GetCapturedStdout();
    ASSERT_TRUE(result);
    ASSERT_EQ(loader.meshes.size(), 1u);
    const objl::Mesh& mesh = loader.meshes[0];
    EXPECT_EQ(mesh.name, "Plane001");
    EXPECT_EQ(mesh.vertices.size(), 6u);
    EXPECT_EQ(mesh.indices, (Indices{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(loader.vertices.size(), 6u);
    EXPECT_EQ(loader.indices, (Indices{0, 1, 2, 3, 4, 5}));
    ASSERT_EQ(loader.materials.size(), 1u);
    EXPECT_EQ(mesh.material.name, "wire_198225087");
    EXPECT_EQ(mesh.material.specularExponent, 32.0f);
}

TEST_F(ObjParser, EmbeddedTextIsCrLfWithNegativeZeros) {
    std::vector<std::string> lines;
    ASSERT_TRUE(objl::readResourceLines(141, lines));
    std::vector<std::string> positions, normals;
    for (const std::string& line : lines) {
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.back(), '\r');
        if (objl::lineKeyword(line) == "v") {
            positions.push_back(line);
        } else if (objl::lineKeyword(line) == "vn") {
            normals.push_back(line);
        }
    }
    ASSERT_EQ(positions.size(), 4u);
    EXPECT_EQ(positions[1].find("-0.0000"), positions[1].size() - 8);
    EXPECT_EQ(positions[3].find("-0.0000"), positions[3].size() - 8);
    ASSERT_EQ(normals.size(), 1u);
    EXPECT_EQ(objl::splitByDelimiter(objl::lineArguments(normals[0]), " ")[1], "-0.0000");
}

TEST_F(ObjParser, CornerForms) {
    ASSERT_TRUE(
        parse("v 1 2 3\nv 4 5 6\nv 7 8 10\n"
              "vt 0.25 0.75 0.5\nvt 0.5 1\n"
              "vn 0 0 2\nvn 0 1 0\nvn 1 0 0\n"
              "f 1/1/1 2/2/2 3/2/3 \n"
              "f 1//3 2//2 3//1\n"));
    ASSERT_EQ(loader.meshes.size(), 1u);
    const std::vector<objl::Vertex>& v = loader.meshes[0].vertices;
    // The trailing blank adds no corner.
    ASSERT_EQ(v.size(), 6u);
    expectVector(v[0].position, {1, 2, 3}, "position");
    // The third texture coordinate component is dropped; normals stay as
    // written.
    EXPECT_EQ(v[0].texCoord.x, 0.25f);
    EXPECT_EQ(v[0].texCoord.y, 0.75f);
    expectVector(v[0].normal, {0, 0, 2}, "p/t/n normal");
    expectVector(v[2].normal, {1, 0, 0}, "p/t/n normal");
    // p//n: a position and a normal, texture coordinate (0, 0).
    expectVector(v[3].position, {1, 2, 3}, "p//n position");
    expectVector(v[3].normal, {1, 0, 0}, "p//n normal");
    EXPECT_EQ(v[3].texCoord.x, 0.0f);
    EXPECT_EQ(v[3].texCoord.y, 0.0f);
    EXPECT_EQ(loader.meshes[0].indices, (Indices{0, 1, 2, 3, 4, 5}));
}

TEST_F(ObjParser, FaceLackingANormalGetsTheGeneratedOneOnEveryCorner) {
    const std::string head = "v 0 0 0\nv 2 0 0\nv 0 3 0\nvt 1 1\nvn 0 0 1\n";
    // (p0 - p1) x (p2 - p1) = (-2, 0, 0) x (-2, 3, 0) = (0, 0, -6): not
    // normalised, and pointing away from a viewer who sees the corners
    // counter-clockwise.
    for (const std::string face : {"f 1 2 3\n", "f 1/1 2/1 3/1\n", "f 1//1 2//1 3\n", "f 1/1/1 2 3/1/1\n"}) {
        loader = objl::ModelLoader();
        ASSERT_TRUE(parse(head + face));
        ASSERT_EQ(loader.vertices.size(), 3u) << face;
        for (const objl::Vertex& corner : loader.vertices) {
            expectVector(corner.normal, {0, 0, -6}, face);
        }
    }
}

TEST_F(ObjParser, IndicesResolveAgainstWhatWasReadSoFar) {
    ASSERT_TRUE(
        parse("v 1 0 0\nv 2 0 0\nv 3 0 0\n"
              "f -3 -2 -1\n"
              "v 4 0 0\n"
              "f -1 1 2\n"));
    ASSERT_EQ(loader.vertices.size(), 6u);
    EXPECT_EQ(loader.vertices[0].position.x, 1.0f);
    EXPECT_EQ(loader.vertices[2].position.x, 3.0f);
    EXPECT_EQ(loader.vertices[3].position.x, 4.0f);
}

struct MeshNamesCase {
    std::string what;
    std::string obj;
    std::vector<std::string> names;
};

TEST_F(ObjParser, MeshesAndTheirNames) {
    const std::string tri = "f 1 2 3\n";
    const std::string head = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
    const MeshNamesCase cases[] = {
        {"no object line", head + tri, {""}},
        {"o names the mesh", "o Quad\n" + head + tri, {"Quad"}},
        {"g names the mesh", "g Quad\n" + head + tri, {"Quad"}},
        {"geometry before the object line joins it", head + tri + "o Late\n", {"Late"}},
        {"a single word", "o\n" + head + tri, {""}},
        {"any line starting with g", "gfoo\n" + head + tri, {"unnamed"}},
        {"g-line after a mesh takes its arguments", "o A\n" + head + tri + "gfoo B\n" + tri, {"A", "B"}},
        {"g-line after a mesh without arguments", "o A\n" + head + tri + "gfoo\n" + tri, {"A", ""}},
        {"later g-line with nothing to close", "o A\ngfoo\n" + head + tri, {"unnamed"}},
        {"two objects", "o A\n" + head + tri + "o B\n" + tri + tri, {"A", "B"}},
        {"empty object dropped", "o A\no B\n" + head + tri, {"B"}},
        {"leading blanks before o", "  o A\n" + head + tri, {"A"}},
        {"usemtl closes the mesh with _2", "o X\nusemtl a\n" + head + tri + "usemtl b\n" + tri, {"X_2", "X"}},
        {"_2 whatever was closed before",
         "o X\n" + head + tri + "usemtl a\n" + tri + "usemtl b\n" + tri,
         {"X_2", "X_2", "X"}},
        {"usemtl before any geometry closes nothing", "usemtl a\no X\n" + head + tri, {"X"}},
        // Each CR is erased together with the character after it.
        {"CR LF line ends", withCrLf("o Quad\n" + head + tri), {"Quad"}},
        {"CR inside a line", "o AB\rCD\n" + head + tri, {"ABD"}},
        {"CR at the very end", "o AB\r" + std::string("\n") + head + tri, {"AB"}},
    };
    for (const MeshNamesCase& c : cases) {
        loader = objl::ModelLoader();
        ASSERT_TRUE(parse(c.obj)) << c.what;
        std::vector<std::string> names;
        for (const objl::Mesh& mesh : loader.meshes) {
            names.push_back(mesh.name);
        }
        EXPECT_EQ(names, c.names) << c.what;
    }
}

TEST_F(ObjParser, MeshesKeepTheirOwnIndicesAndTheLoaderGlobalOnes) {
    ASSERT_TRUE(
        parse("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
              "o A\nf 1 2 3 4\n"
              "o B\nf 1 2 3\nf 2 3 4\n"));
    ASSERT_EQ(loader.meshes.size(), 2u);
    EXPECT_EQ(loader.meshes[0].indices, (Indices{0, 1, 3, 1, 2, 3}));
    EXPECT_EQ(loader.meshes[1].indices, (Indices{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(loader.meshes[1].vertices.size(), 6u);
    EXPECT_EQ(loader.vertices.size(), 10u);
    EXPECT_EQ(loader.indices, (Indices{0, 1, 3, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(ObjParser, MaterialNamesBindByPosition) {
    const std::string mtl = "newmtl red\nKd 1 0 0\nnewmtl green\nKd 0 1 0\nnewmtl red\nKd 0 0 1\n";
    const std::string tri = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    ASSERT_TRUE(parse("mtllib any.mtl\no X\nusemtl green\n" + tri + "usemtl red\n" + tri, mtl));
    ASSERT_EQ(loader.meshes.size(), 2u);
    EXPECT_EQ(loader.meshes[0].name, "X_2");
    EXPECT_EQ(loader.meshes[0].material.name, "green");
    EXPECT_EQ(loader.meshes[1].name, "X");
    // The first material of that name wins.
    expectVector(loader.meshes[1].material.diffuse, {1, 0, 0}, "first red");

    // Names pair with meshes by position, not by which mesh followed them:
    // here the only mesh is closed after the second name.
    loader = objl::ModelLoader();
    ASSERT_TRUE(parse("mtllib m.mtl\nusemtl green\nusemtl red\n" + tri, mtl));
    ASSERT_EQ(loader.meshes.size(), 1u);
    EXPECT_EQ(loader.meshes[0].material.name, "green");
}

TEST_F(ObjParser, UnboundOrUnknownMaterialsLeaveTheDefault) {
    const std::string tri = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    const std::pair<std::string, std::string> cases[] = {
        {"mtllib m.mtl\n" + tri, ""},
        {"mtllib m.mtl\nusemtl blue\n" + tri, ""},
        {"usemtl red\n" + tri, ""},
        // Names compare exactly, after the blanks and tabs around them go.
        {"mtllib m.mtl\nusemtl Red\n" + tri, ""},
        {"mtllib m.mtl\nusemtl red \t\n" + tri, "red"},
    };
    for (const auto& c : cases) {
        loader = objl::ModelLoader();
        ASSERT_TRUE(parse(c.first, "newmtl red\nKd 1 0 0\n"));
        ASSERT_EQ(loader.meshes.size(), 1u);
        EXPECT_EQ(loader.meshes[0].material.name, c.second) << c.first;
        if (c.second.empty()) {
            expectVector(loader.meshes[0].material.diffuse, {0, 0, 0}, c.first);
        }
    }
}

TEST_F(ObjParser, MoreMaterialNamesThanMeshesAreSkipped) {
    ASSERT_TRUE(parse("mtllib m\nusemtl a\nusemtl b\nusemtl c\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n",
                      "newmtl a\nnewmtl b\nnewmtl c\n"));
    ASSERT_EQ(loader.meshes.size(), 1u);
    EXPECT_EQ(loader.meshes[0].material.name, "a");
}

TEST_F(ObjParser, EveryMtllibLineParsesTheMaterialTextAgain) {
    ASSERT_TRUE(parse("mtllib a.mtl\nmtllib b.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", "newmtl a\n"));
    EXPECT_EQ(loader.materials.size(), 2u);
    // Materials outlive the parse; meshes, vertices and indices do not.
    ASSERT_FALSE(parse("mtllib a.mtl\n", "newmtl a\n"));
    EXPECT_EQ(loader.materials.size(), 3u);
    EXPECT_TRUE(loader.meshes.empty());
    EXPECT_TRUE(loader.vertices.empty());
    EXPECT_TRUE(loader.indices.empty());
}

TEST_F(ObjParser, TextsWithoutGeometryGiveFalse) {
    for (const std::string obj : {"", "# nothing\n", "v 1 2 3\nvt 0 0\nvn 0 0 1\no A\n", "mtllib m.mtl\n"}) {
        loader = objl::ModelLoader();
        EXPECT_FALSE(parse(obj, "newmtl m\n")) << obj;
    }
    nativeRemoveTextResource(FixtureObjId);
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(loader.loadObjResource(FixtureObjId, FixtureMtlId));
    ::testing::internal::GetCapturedStdout();
}

TEST_F(ObjParser, FacesWithoutTrianglesStillCountAsLoaded) {
    // Two corners with normals: vertices but no triangle, so no mesh is
    // closed; the parse still reports something built.
    ASSERT_TRUE(parse("v 0 0 0\nv 1 0 0\nvn 0 0 1\nf 1//1 2//1\n"));
    EXPECT_TRUE(loader.meshes.empty());
    EXPECT_EQ(loader.vertices.size(), 2u);
    EXPECT_TRUE(loader.indices.empty());
}

struct ShortLineCase {
    std::string what;
    std::string obj;
    Vector3 position;
    Vector2 texCoord;
    Vector3 normal;
};

TEST_F(ObjParser, ShortAndOddLinesReadNothingOutsideTheirPieces) {
    const std::string tri = "f 1/1/1 1/1/1 1/1/1\n";
    const ShortLineCase cases[] = {
        {"full lines", "v 1 2 3\nvt 4 5\nvn 6 7 8\n" + tri, {1, 2, 3}, {4, 5}, {6, 7, 8}},
        // Missing components are 0.
        {"one number each", "v 1\nvt 4\nvn 6\n" + tri, {1, 0, 0}, {4, 0}, {6, 0, 0}},
        {"no numbers", "v\nvt\nvn\n" + tri, {0, 0, 0}, {0, 0}, {0, 0, 0}},
        // Extra components (w, colours) are ignored.
        {"extra numbers", "v 1 2 3 1 0.5 0.5\nvt 4 5 6\nvn 6 7 8 9\n" + tri, {1, 2, 3}, {4, 5}, {6, 7, 8}},
        // A tab does not separate numbers: "1\t2" converts as 1.
        {"tab between numbers", "v 1\t2 3\nvt 4 5\nvn 6 7 8\n" + tri, {1, 3, 0}, {4, 5}, {6, 7, 8}},
        {"CR LF line ends", withCrLf("v 1 2 3\nvt 4 5\nvn 6 7 8\n" + tri), {1, 2, 3}, {4, 5}, {6, 7, 8}},
    };
    for (const ShortLineCase& c : cases) {
        loader = objl::ModelLoader();
        ASSERT_TRUE(parse(c.obj)) << c.what;
        ASSERT_EQ(loader.vertices.size(), 3u) << c.what;
        const objl::Vertex& v = loader.vertices[0];
        expectVector(v.position, c.position, c.what + " position");
        EXPECT_EQ(v.texCoord.x, c.texCoord.x) << c.what;
        EXPECT_EQ(v.texCoord.y, c.texCoord.y) << c.what;
        expectVector(v.normal, c.normal, c.what + " normal");
    }
}

struct CornerCase {
    std::string what;
    std::string face;
    std::size_t corners;
};

TEST_F(ObjParser, CornersWithoutAFormAreHandledSafely) {
    const std::string head = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.5\nvn 0 0 1\n";
    const CornerCase cases[] = {
        // An empty piece from two blanks in a row is no corner.
        {"two blanks", "f 1  2 3", 3},
        {"blank and tab", "f 1 2 3 \t", 3},
        // Parts after the third are ignored.
        {"four parts", "f 1/1/1/9 2/1/1/9 3/1/1/9", 3},
        // A face of fewer than three corners lacking normals has no normal
        // to generate and adds its corners with zero normals.
        {"two corners without normals", "f 1 2", 2},
        {"one corner", "f 1", 1},
        {"no corners", "f", 0},
    };
    for (const CornerCase& c : cases) {
        const std::vector<objl::Vertex> corners = objl::ModelLoader::buildFaceVertices(
            {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0.5f, 0.5f}}, {{0, 0, 1}}, c.face);
        EXPECT_EQ(corners.size(), c.corners) << c.what;
        if (c.corners < 3) {
            for (const objl::Vertex& corner : corners) {
                expectVector(corner.normal, {0, 0, 0}, c.what);
            }
        }
        loader = objl::ModelLoader();
        EXPECT_EQ(parse(head + c.face + "\n"), c.corners > 0) << c.what;
    }
}

TEST_F(ObjParser, IndicesNamingNothingThrow) {
    const std::string head = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n";
    for (const std::string face :
         {"f 0 1 2\n", "f 1 2 4\n", "f -4 1 2\n", "f 1/2 2/1 3/1\n", "f 1//2 2//1 3//1\n",
          "f 1/1/1 2/1/1 3/1/-2\n", "f 1/1 2/1 3/1\nf 1/-2 2 3\n"}) {
        loader = objl::ModelLoader();
        EXPECT_THROW(parse(head + face), objl::IndexOutOfRange) << face;
    }
    // A face before any position refers to nothing.
    EXPECT_THROW(parse("f 1 1 1\nv 0 0 0\n"), objl::IndexOutOfRange);
}

TEST_F(ObjParser, PiecesWithoutNumbersRaiseConversionErrors) {
    for (const std::string obj : {"v 1  2 3\n", "v 1 2 x\n", "vt 0  0\n", "vn 0 0 .\n", "v 0 0 0\nf 1 a 1\n",
                                  "v 0 0 0\nf 1 /1 1\n", "v 0 0 0\nf 1 1 //1\n"}) {
        loader = objl::ModelLoader();
        EXPECT_THROW(parse(obj), std::invalid_argument) << obj;
    }
    EXPECT_THROW(parse("v 1e60 0 0\n"), std::out_of_range);
}

TEST_F(ObjParser, ProgressReport) {
    ASSERT_TRUE(parse("mtllib m\nv 0 0 0\nv 1 0 0\nv 0 1 0\no Tri\nusemtl a\nvt 0 0\nf 1 2 3\nf 1 2 3\n",
                      "newmtl a\n"));
    // A line end for the object line, a report on the line after it, again
    // after "usemtl", and a line end at the end of the text.
    EXPECT_EQ(report,
              "\n"
              "\r- Tri\t| vertices > 3\t| texcoords > 0\t| normals > 0\t| triangles > 0"
              "\r- Tri\t| vertices > 3\t| texcoords > 0\t| normals > 0\t| triangles > 0\t| material: a"
              "\n");
}

TEST_F(ObjParser, ProgressReportEveryThousandLines) {
    std::string obj = "v 0 0 0\nv 1 0 0\nv 0 1 0\no Big\n";
    for (int i = 0; i < 2100; ++i) {
        obj += "f 1 2 3\n";
    }
    ASSERT_TRUE(parse(obj));
    // Once on the line right after the object line (no faces read yet),
    // then every 1000 lines.
    EXPECT_EQ(report,
              "\n"
              "\r- Big\t| vertices > 3\t| texcoords > 0\t| normals > 0\t| triangles > 0"
              "\r- Big\t| vertices > 3\t| texcoords > 0\t| normals > 0\t| triangles > 1000"
              "\r- Big\t| vertices > 3\t| texcoords > 0\t| normals > 0\t| triangles > 2000"
              "\n");
}

}  // namespace
