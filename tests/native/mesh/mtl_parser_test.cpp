#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "mesh/objl.h"
#include "mesh_test_support.h"

namespace {

using objl::Material;
using objl::Vector3;

void expectVector(const Vector3& actual, const Vector3& expected, const std::string& what) {
    EXPECT_FLOAT_EQ(actual.x, expected.x) << what;
    EXPECT_FLOAT_EQ(actual.y, expected.y) << what;
    EXPECT_FLOAT_EQ(actual.z, expected.z) << what;
}

class MtlParser : public MeshResources {
protected:
    std::vector<Material> parse(const std::string& text) {
        setMtl(text);
        objl::ModelLoader loader;
        EXPECT_TRUE(loader.loadMtlResource(FixtureMtlId));
        return loader.materials;
    }
};

TEST_F(MtlParser, EmbeddedMaterial) {
    objl::ModelLoader loader;
    ASSERT_TRUE(loader.loadMtlResource(140));
    ASSERT_EQ(loader.materials.size(), 1u);
    const Material& m = loader.materials[0];
    EXPECT_EQ(m.name, "wire_198225087");
    expectVector(m.ambient, {0.7765f, 0.8824f, 0.3412f}, "ambient");
    expectVector(m.diffuse, {0.7765f, 0.8824f, 0.3412f}, "diffuse");
    expectVector(m.specular, {0.35f, 0.35f, 0.35f}, "specular");
    EXPECT_EQ(m.specularExponent, 32.0f);
    EXPECT_EQ(m.dissolve, 1.0f);
    EXPECT_EQ(m.illumination, 2);
    EXPECT_EQ(m.opticalDensity, 0.0f);
    for (const std::string* map :
         {&m.ambientMap, &m.diffuseMap, &m.specularMap, &m.specularExponentMap, &m.alphaMap, &m.bumpMap}) {
        EXPECT_EQ(*map, "");
    }
}

TEST_F(MtlParser, EmbeddedTextHasCrLfLinesTabsAndIgnoredKeywords) {
    // What the parse above must cope with is really there.
    std::vector<std::string> lines;
    ASSERT_TRUE(objl::readResourceLines(140, lines));
    bool tabIndented = false, tr = false, tf = false;
    for (const std::string& line : lines) {
        EXPECT_FALSE(line.empty());
        EXPECT_EQ(line.back(), '\r');
        tabIndented = tabIndented || (line[0] == '\t' && objl::lineKeyword(line) == "Ns");
        tr = tr || line == "\tTr 0\r";
        tf = tf || line == "\tTf 1 1 1\r";
    }
    EXPECT_TRUE(tabIndented);
    EXPECT_TRUE(tr);
    EXPECT_TRUE(tf);
}

struct NameCase {
    std::string what;
    std::string text;
    std::string name;
};

TEST_F(MtlParser, MaterialNames) {
    const NameCase cases[] = {
        {"plain", "newmtl wire\n", "wire"},
        {"CR LF line end trimmed", "newmtl wire\r\n", "wire"},
        {"inner blanks kept", "newmtl two words\n", "two words"},
        {"tab before the keyword", "\tnewmtl wire\n", "wire"},
        // Seven characters or fewer name the material "none".
        {"seven characters", "newmtl \n", "none"},
        {"keyword alone", "newmtl", "none"},
        {"short name counts the whole line", "newmtl\n", "none"},
        // Eight with the CR: the arguments are a lone CR, kept as it is.
        {"seven characters and a CR", "newmtl \r\n", "\r"},
        {"leading tab makes eight", "\tnewmtl \n", ""},
    };
    for (const NameCase& c : cases) {
        const std::vector<Material> materials = parse(c.text);
        ASSERT_EQ(materials.size(), 1u) << c.what;
        EXPECT_EQ(materials[0].name, c.name) << c.what;
    }
}

struct ColourCase {
    std::string what;
    std::string text;
    Vector3 ambient;
};

TEST_F(MtlParser, ColourLines) {
    const ColourCase cases[] = {
        {"three values", "newmtl m\nKa 0.5 0.25 1\n", {0.5f, 0.25f, 1.0f}},
        {"CR LF line end", "newmtl m\r\nKa 0.5 0.25 1\r\n", {0.5f, 0.25f, 1.0f}},
        {"tab-indented", "newmtl m\n\tKa 0.5 0.25 1\n", {0.5f, 0.25f, 1.0f}},
        {"not clamped", "newmtl m\nKa -2 3 1e3\n", {-2.0f, 3.0f, 1000.0f}},
        // Any count but three leaves the colour as it was.
        {"one value", "newmtl m\nKa 0.5\n", {0, 0, 0}},
        {"two blanks make four pieces", "newmtl m\nKa 1  0 0\n", {0, 0, 0}},
        {"trailing blank before CR", "newmtl m\r\nKa 1 0 0 \r\n", {0, 0, 0}},
        {"bad line keeps the earlier one", "newmtl m\nKa 1 1 1\nKa 2 2\n", {1, 1, 1}},
        // Lines before the first "newmtl" set the first material.
        {"before newmtl", "Ka 0.5 0.5 0.5\nnewmtl m\n", {0.5f, 0.5f, 0.5f}},
        {"keywords are case-sensitive", "newmtl m\nka 1 1 1\nKA 1 1 1\n", {0, 0, 0}},
    };
    for (const ColourCase& c : cases) {
        const std::vector<Material> materials = parse(c.text);
        ASSERT_EQ(materials.size(), 1u) << c.what;
        expectVector(materials[0].ambient, c.ambient, c.what);
    }
}

TEST_F(MtlParser, EveryField) {
    const std::vector<Material> materials =
        parse(withCrLf("newmtl all\n"
                       "Ka 0.1 0.2 0.3\n"
                       "Kd 0.4 0.5 0.6\n"
                       "Ks 0.7 0.8 0.9\n"
                       "Ns 96.5\n"
                       "Ni 1.45\n"
                       "d 0.25\n"
                       "illum 3\n"
                       "map_Ka ambient.png\n"
                       "map_Kd -s 1 1 1 diffuse.png\n"
                       "map_Ks specular.png\n"
                       "map_Ns shininess.png\n"
                       "map_d alpha.png\n"
                       "bump bump.png\n"));
    ASSERT_EQ(materials.size(), 1u);
    const Material& m = materials[0];
    EXPECT_EQ(m.name, "all");
    expectVector(m.ambient, {0.1f, 0.2f, 0.3f}, "ambient");
    expectVector(m.diffuse, {0.4f, 0.5f, 0.6f}, "diffuse");
    expectVector(m.specular, {0.7f, 0.8f, 0.9f}, "specular");
    EXPECT_FLOAT_EQ(m.specularExponent, 96.5f);
    EXPECT_FLOAT_EQ(m.opticalDensity, 1.45f);
    EXPECT_FLOAT_EQ(m.dissolve, 0.25f);
    EXPECT_EQ(m.illumination, 3);
    // Map strings are the text after the keyword, options included, without
    // the CR of the line end.
    EXPECT_EQ(m.ambientMap, "ambient.png");
    EXPECT_EQ(m.diffuseMap, "-s 1 1 1 diffuse.png");
    EXPECT_EQ(m.specularMap, "specular.png");
    EXPECT_EQ(m.specularExponentMap, "shininess.png");
    EXPECT_EQ(m.alphaMap, "alpha.png");
    EXPECT_EQ(m.bumpMap, "bump.png");
}

TEST_F(MtlParser, AllThreeBumpKeywords) {
    for (const char* keyword : {"bump", "map_bump", "map_Bump"}) {
        const std::vector<Material> materials = parse(std::string("newmtl m\n") + keyword + " b.png\n");
        ASSERT_EQ(materials.size(), 1u);
        EXPECT_EQ(materials[0].bumpMap, "b.png") << keyword;
    }
}

TEST_F(MtlParser, EachNewmtlStartsFromTheDefault) {
    const std::vector<Material> materials = parse(
        "newmtl first\nKd 1 0 0\nNs 10\n"
        "newmtl second\nKa 0 1 0\n"
        "newmtl third\n");
    ASSERT_EQ(materials.size(), 3u);
    EXPECT_EQ(materials[0].name, "first");
    expectVector(materials[0].diffuse, {1, 0, 0}, "first diffuse");
    EXPECT_EQ(materials[1].name, "second");
    expectVector(materials[1].diffuse, {0, 0, 0}, "second diffuse");
    EXPECT_EQ(materials[1].specularExponent, 0.0f);
    expectVector(materials[1].ambient, {0, 1, 0}, "second ambient");
    EXPECT_EQ(materials[2].name, "third");
    expectVector(materials[2].ambient, {0, 0, 0}, "third ambient");
}

TEST_F(MtlParser, TextWithoutNewmtlGivesOneUnnamedMaterial) {
    for (const std::string text : {"", "# nothing\n", "Ns 5\n"}) {
        const std::vector<Material> materials = parse(text);
        ASSERT_EQ(materials.size(), 1u);
        EXPECT_EQ(materials[0].name, "");
    }
    EXPECT_EQ(parse("Ns 5\n")[0].specularExponent, 5.0f);
}

TEST_F(MtlParser, MaterialsAccumulateOverParses) {
    setMtl("newmtl a\nnewmtl b\n");
    objl::ModelLoader loader;
    ASSERT_TRUE(loader.loadMtlResource(FixtureMtlId));
    ASSERT_TRUE(loader.loadMtlResource(FixtureMtlId));
    ASSERT_EQ(loader.materials.size(), 4u);
    EXPECT_EQ(loader.materials[0].name, "a");
    EXPECT_EQ(loader.materials[1].name, "b");
    EXPECT_EQ(loader.materials[2].name, "a");
    EXPECT_EQ(loader.materials[3].name, "b");
}

TEST_F(MtlParser, ValuesWithoutDigitsRaiseConversionErrors) {
    for (const char* text : {"Ns\n", "Ns \r\n", "d x\n", "Ni .\n", "illum two\n", "Kd 1 x 0\n"}) {
        setMtl(text);
        objl::ModelLoader loader;
        EXPECT_THROW(loader.loadMtlResource(FixtureMtlId), std::invalid_argument) << text;
        EXPECT_TRUE(loader.materials.empty()) << text;
    }
    setMtl("illum 99999999999\n");
    objl::ModelLoader loader;
    EXPECT_THROW(loader.loadMtlResource(FixtureMtlId), std::out_of_range);
}

}  // namespace
