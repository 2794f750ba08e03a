// The fast OBJ parse against the plain reference parse: the same result or
// error, the same lists bit for bit and the same progress report, on texts
// chosen to reach every shortcut of the fast parse and every way out of it.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "mesh_test_support.h"
#include "reference_obj_parser.h"

namespace {

// A text with the zero bytes of the literal, without its terminating one.
template <std::size_t N>
std::string bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

class ObjParserAgainstReference : public MeshResources {
protected:
    // Parses obj (with mtl for its "mtllib" lines) both ways and fails the
    // test where they differ; returns the fast outcome.
    ObjParseOutcome expectSame(const std::string& obj, const std::string& mtl = "newmtl m\nKd 1 0.5 0.25\n") {
        setObj(obj);
        setMtl(mtl);
        ObjParseOutcome fast = runObjParse(false, FixtureObjId, FixtureMtlId);
        const ObjParseOutcome reference = runObjParse(true, FixtureObjId, FixtureMtlId);
        EXPECT_EQ(describeDifference(fast, reference), "") << "OBJ text:\n" << obj;
        return fast;
    }
};

TEST_F(ObjParserAgainstReference, EmbeddedQuad) {
    ObjParseOutcome fast = runObjParse(false, 141, 140);
    const ObjParseOutcome reference = runObjParse(true, 141, 140);
    EXPECT_EQ(describeDifference(fast, reference), "");
    EXPECT_TRUE(fast.result);
    EXPECT_EQ(fast.loader.meshes.size(), 1u);
}

// Numbers in every form the fast conversion takes and every form it leaves
// to the standard one, in every place of "v", "vt" and "vn" lines.
TEST_F(ObjParserAgainstReference, Numbers) {
    const std::vector<std::string> numbers = {"0",
                                              "-0",
                                              "+0",
                                              "1",
                                              "-1",
                                              "+7",
                                              "0.5",
                                              "-0.000000",
                                              "12.345678",
                                              "-3.456789",
                                              "0.1",
                                              "0.3",
                                              "0.7",
                                              "16777216",
                                              "16777217",
                                              "1677721.6",
                                              "167772.17",
                                              "99999999",
                                              "123456789",
                                              "1234567890",
                                              "0.0000000001",
                                              "0.00000000001",
                                              "0.000000001",
                                              "1.",
                                              ".5",
                                              "-.5",
                                              "+.25",
                                              ".",
                                              "-",
                                              "+",
                                              "",
                                              "1e3",
                                              "1E-3",
                                              "2.5e+2",
                                              "1e",
                                              "1e+",
                                              "0x10",
                                              "0x1p-2",
                                              "inf",
                                              "-INF",
                                              "nan",
                                              "NaN(1)",
                                              "infinity",
                                              "1.5abc",
                                              "1.5/2",
                                              "3,5",
                                              "\t2",
                                              "\v3",
                                              "\f4",
                                              "1\t2",
                                              "1e60",
                                              "-1e60",
                                              "1e-60",
                                              "1e-40",
                                              "3.4028235e38",
                                              "3.4028236e38",
                                              "1.17549435e-38",
                                              "0.30000001192092896",
                                              "2.7182818284590452",
                                              "00000001.5",
                                              "0000000001",
                                              "1.0000000",
                                              "1.00000000",
                                              "4294967296",
                                              "0.00001",
                                              "999999.9"};
    for (const std::string& number : numbers) {
        // Positions, texture coordinates and normals show only through the
        // corners of a face.
        expectSame("v " + number + " 2 3\nv 1 " + number + " 3\nv 1 2 " + number + "\nvt " + number +
                   " 0.5\nvt 0.5 " + number + "\nvn " + number + " 2 3\nvn 1 " + number + " 3\nvn 1 2 " +
                   number + "\nf 1/1/1 2/2/2 3/1/3\n");
    }
}

TEST_F(ObjParserAgainstReference, VectorLines) {
    for (const std::string line : {"v", "v ", "v 1", "v 1 2", "v 1 2 3 4 5", "v 1  2 3", "v  1 2 3",
                                   "v 1 2 3 ", "v 1 2 3\t", "v\t1 2 3", "v 1\t2 3", "\tv 1 2 3", "  v 1 2 3",
                                   "vt", "vt 1", "vt 1 2 3", "vn 1 2", "v1 2 3", "V 1 2 3"}) {
        expectSame(std::string(line) + "\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    }
}

TEST_F(ObjParserAgainstReference, Indices) {
    const std::string head = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nvt 0 0\nvt 1 0\nvn 0 0 1\nvn 0 1 0\n";
    for (const std::string index :
         {"1",          "4",          "5",          "0",           "-1",          "-4",
          "-5",         "+2",         "-0",         "007",         "2abc",        "1.5",
          "",           "-",          "+",          " 1",          "\t1",         "999999999",
          "1000000000", "2147483647", "2147483648", "-2147483648", "-2147483649", "99999999999999999999",
          "0x1"}) {
        for (const std::string& face : std::vector<std::string>{
                 "f " + index + " 2 3", "f 1/" + index + " 2/1 3/1", "f 1//" + index + " 2//1 3//1",
                 "f 1/1/" + index + " 2/1/1 3/1/1", "f 2 3 " + index}) {
            expectSame(head + face + "\n");
        }
    }
}

TEST_F(ObjParserAgainstReference, CornerForms) {
    const std::string head = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nv 2 2 0\nvt 0 0\nvt 1 0\nvn 0 0 1\n";
    for (const std::string face : {"f 1 2 3",
                                   "f 1/1 2/2 3/1",
                                   "f 1//1 2//1 3//1",
                                   "f 1/1/1 2/2/1 3/1/1",
                                   "f 1/1/1 2 3//1",
                                   "f 1/1/1/1 2/1/1/9 3/1/1/",
                                   "f 1/ 2/ 3/",
                                   "f 1// 2// 3//",
                                   "f 1/1/ 2/1/ 3/1/",
                                   "f /1 2 3",
                                   "f 1  2 3",
                                   "f  1 2 3",
                                   "f 1 2 3 ",
                                   "f 1\t2 3",
                                   "f 1",
                                   "f 1 2",
                                   "f 1//1",
                                   "f 1//1 2//1",
                                   "f",
                                   "f ",
                                   "f /",
                                   "f //",
                                   "f 1 2 4 3",
                                   "f 1/1/1 2/2/1 4/1/1 3/2/1",
                                   "f 1 2 3 4 5",
                                   "f 5 4 3 2 1",
                                   "f 1 2 1 2",
                                   "f 1 1 2 3",
                                   "f 1 2 3 1",
                                   "f 1 2 3 -1",
                                   "f -4 -3 -2 -1"}) {
        expectSame(head + std::string(face) + "\n");
        expectSame(head + std::string(face) + "\nf 1 2 3\n");
    }
}

// Quadrilaterals whose corners share positions, or hold NaNs or signed
// zeros, go through the ear clipping rather than the quick split.
TEST_F(ObjParserAgainstReference, QuadrilateralsWithSharedOrOddPositions) {
    for (const std::string positions :
         {"v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n", "v 0 0 0\nv 1 0 0\nv 0 0 0\nv 0 1 0\n",
          "v 0 0 0\nv -0 0 0\nv 1 1 0\nv 0 1 0\n", "v nan 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n",
          "v 0 0 0\nv 1 0 0\nv 1 nan 0\nv 0 1 0\n", "v 1 1 1\nv 1 1 1\nv 1 1 1\nv 1 1 1\n",
          "v inf 0 0\nv 1 0 0\nv 1 1 0\nv -inf 1 0\n"}) {
        expectSame(std::string(positions) + "f 1 2 3 4\n");
        expectSame(std::string(positions) + "f 4 3 2 1\nf 1 2 3 4\n");
    }
}

TEST_F(ObjParserAgainstReference, LineEnds) {
    const std::string quad = "o Q\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/1 3/1\n";
    expectSame(quad);
    expectSame(withCrLf(quad));
    // Without an LF at the end, with empty lines, and with lone CRs that take
    // the character after them along.
    expectSame(quad.substr(0, quad.size() - 1));
    expectSame(withCrLf(quad).substr(0, withCrLf(quad).size() - 1));
    expectSame(withCrLf(quad).substr(0, withCrLf(quad).size() - 2));
    expectSame("\n\n" + quad + "\n\n\n");
    expectSame("o Q\nv 0 0 0\nv 1 0\r 0\nv 0 1 0\nf 1 2 3\n");
    expectSame("o Q\nv 0 0 0\nv 1 0 0\r\r\nv 0 1 0\r\nf 1 2 3\r\n");
    expectSame("o Q\rX\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf\r 1 2 3\nf 1 2 3\r\rf 1 2 3\n");
    expectSame("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\r");
    expectSame("\r\nv\r 0 0 0\r\n");
    expectSame("\r");
    expectSame("");
    expectSame("\n");
    // Zero bytes inside lines are plain characters of the text.
    expectSame(bytes("v 0 0 0\nv 1\0 0 0\nv 0 1 0\nf 1 2 3\n"));
    expectSame(bytes("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\0 4\n"));
    expectSame(bytes("o A\0B\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"));
    expectSame(bytes("v \0 0 0\n"));
}

TEST_F(ObjParserAgainstReference, ObjectsGroupsAndMaterials) {
    const std::string tri = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    for (const std::string& text : std::vector<std::string>{
             "o A\n" + tri + "o B\n" + tri, "g A\n" + tri + "g B\ng C\n" + tri,
             "gfoo\n" + tri + "group1 a b\n" + tri, tri + "o A\n" + tri, "o\n" + tri, "o  A  B \t\n" + tri,
             "\to A\n" + tri, "mtllib x.mtl\no A\nusemtl m\n" + tri + "usemtl n\n" + tri + "usemtl m\n",
             "mtllib a\nmtllib b\nusemtl m\n" + tri, "usemtl\n" + tri + "usemtl m \n" + tri,
             "o A\nusemtl m\nusemtl m\n" + tri + "o B\nusemtl n\n" + tri, "mtllib\n", "usemtl m\n", "o A\n",
             "o A\nf 1 2 3\n"}) {
        expectSame(text);
        expectSame(text, "newmtl n\nKd 0 1 0\nnewmtl m\nKa 1 1 1\nillum 2\n");
    }
}

TEST_F(ObjParserAgainstReference, ProgressReportOverManyLines) {
    std::string obj = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\no Big\nusemtl m\n";
    for (int i = 0; i < 2500; ++i) {
        obj += i % 700 == 0 ? "g part\nv 1 1 1\n" : "f 1/1 2/1 3/1\n";
    }
    const ObjParseOutcome fast = expectSame(obj);
    EXPECT_GT(fast.report.size(), 200u);
}

// A grid like the benchmark's: quadrilaterals of p/t/n corners over
// decimals of six places.
TEST_F(ObjParserAgainstReference, Grid) {
    std::string obj = "mtllib grid.mtl\no Grid\nusemtl m\n";
    const int n = 20;
    char line[128];
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            std::snprintf(line, sizeof line, "v %.6f %.6f %.6f\nvt %.6f %.6f\nvn %.6f %.6f %.6f\n",
                          i * 0.37 - 3.3, j * -0.29 + 1.7, (i * j) % 7 * 0.013, i / double(n), j / double(n),
                          0.01 * i, 0.02 * j - 0.2, 0.97);
            obj += line;
        }
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const int a = i * (n + 1) + j + 1;
            const int b = a + n + 1;
            std::snprintf(line, sizeof line, "f %d/%d/%d %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, b, b, b,
                          b + 1, b + 1, b + 1, a + 1, a + 1, a + 1);
            obj += line;
        }
    }
    const ObjParseOutcome fast = expectSame(withCrLf(obj));
    ASSERT_TRUE(fast.result);
    EXPECT_EQ(fast.loader.indices.size(), std::size_t(6 * n * n));
}

}  // namespace
