#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "mesh/objl.h"
#include "mesh_test_support.h"

namespace {

using objl::lineArguments;
using objl::lineKeyword;
using objl::splitByDelimiter;
using objl::trimTrailingNewlines;
using Pieces = std::vector<std::string>;

struct SplitCase {
    std::string text;
    std::string delimiter;
    Pieces pieces;
};

TEST(SplitByDelimiter, CutsTextIntoPieces) {
    const SplitCase cases[] = {
        {"1/2/3", "/", {"1", "2", "3"}},
        // Two delimiters in a row give an empty piece between them...
        {"1//3", "/", {"1", "", "3"}},
        // ...one at the end gives no trailing piece, one at the start a
        // leading empty one.
        {"1/2/", "/", {"1", "2"}},
        {"/1", "/", {"", "1"}},
        {"/", "/", {""}},
        {"", "/", {}},
        {"7", "/", {"7"}},
        {"-1.0 2.5  3", " ", {"-1.0", "2.5", "", "3"}},
        // Only the given delimiter separates; a tab stays inside a piece.
        {"1\t2 3", " ", {"1\t2", "3"}},
        {"a::b::c", "::", {"a", "b", "c"}},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(splitByDelimiter(c.text, c.delimiter), c.pieces) << "text \"" << c.text << "\"";
    }
}

struct WordsCase {
    std::string line;
    std::string keyword;
    std::string arguments;
};

TEST(LineWords, KeywordAndArguments) {
    const WordsCase cases[] = {
        {"v 1 2 3", "v", "1 2 3"},
        {"\tnewmtl wire", "newmtl", "wire"},
        {"  \t f  1 2 3 \t ", "f", "1 2 3"},
        {"o", "o", ""},
        {"o   ", "o", ""},
        {"", "", ""},
        {" \t ", "", ""},
        // Only blanks and tabs are trimmed: a CR stays with the arguments,
        // and a lone CR is itself the arguments.
        {"Kd 1 0 0\r", "Kd", "1 0 0\r"},
        {"newmtl \r", "newmtl", "\r"},
        {"usemtl a b\tc", "usemtl", "a b\tc"},
    };
    for (const WordsCase& c : cases) {
        EXPECT_EQ(lineKeyword(c.line), c.keyword) << "line \"" << c.line << "\"";
        EXPECT_EQ(lineArguments(c.line), c.arguments) << "line \"" << c.line << "\"";
    }
}

TEST(TrimTrailingNewlines, RemovesOnlyTrailingCrAndLf) {
    const std::pair<std::string, std::string> cases[] = {
        {"wire\r", "wire"},
        {"wire\r\n\r\n", "wire"},
        {"a\rb", "a\rb"},
        {"wire", "wire"},
        {"\r\nwire", "\r\nwire"},
        // Nothing but line ends: unchanged.
        {"\r", "\r"},
        {"\r\n", "\r\n"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(trimTrailingNewlines(c.first), c.second);
    }
}

TEST(ResolveObjIndex, PositiveFromTheStartNegativeFromTheEnd) {
    const std::vector<objl::Vector2> list = {{1, 0}, {2, 0}, {3, 0}};
    EXPECT_EQ(objl::resolveObjIndex(list, "1").x, 1);
    EXPECT_EQ(objl::resolveObjIndex(list, "3").x, 3);
    EXPECT_EQ(objl::resolveObjIndex(list, "-1").x, 3);
    EXPECT_EQ(objl::resolveObjIndex(list, "-3").x, 1);
    // The conversion skips leading white space and stops at the first
    // character that is not part of the number.
    EXPECT_EQ(objl::resolveObjIndex(list, " 2abc").x, 2);
}

TEST(ResolveObjIndex, IndexNamingNoElementThrows) {
    const std::vector<objl::Vector3> list = {{1, 0, 0}, {2, 0, 0}};
    for (const char* text : {"0", "3", "-3", "2147483647", "-2147483648"}) {
        EXPECT_THROW(objl::resolveObjIndex(list, text), objl::IndexOutOfRange) << text;
    }
    EXPECT_THROW(objl::resolveObjIndex(std::vector<objl::Vector3>(), "1"), objl::IndexOutOfRange);
    EXPECT_THROW(objl::resolveObjIndex(list, ""), std::invalid_argument);
    EXPECT_THROW(objl::resolveObjIndex(list, "x1"), std::invalid_argument);
    EXPECT_THROW(objl::resolveObjIndex(list, "99999999999"), std::out_of_range);
}

class ResourceLines : public MeshResources {};

TEST_F(ResourceLines, SplitAtLfOnlyWithCrsKept) {
    setObj("a\r\n\r\nb\nlast");
    std::vector<std::string> lines;
    ASSERT_TRUE(objl::readResourceLines(FixtureObjId, lines));
    EXPECT_EQ(lines, (Pieces{"a\r", "\r", "b", "last"}));
}

TEST_F(ResourceLines, WholeResourceIncludingZeroBytes) {
    setObj(std::string("a\0b\nc", 5));
    std::vector<std::string> lines;
    ASSERT_TRUE(objl::readResourceLines(FixtureObjId, lines));
    EXPECT_EQ(lines, (Pieces{std::string("a\0b", 3), "c"}));
}

TEST_F(ResourceLines, MissingResourceReadsAsEmptyText) {
    nativeRemoveTextResource(FixtureObjId);
    std::vector<std::string> lines;
    EXPECT_TRUE(objl::readResourceLines(FixtureObjId, lines));
    EXPECT_TRUE(lines.empty());
}

TEST_F(ResourceLines, OnlyTheLow16BitsOfTheIdCount) {
    setObj("found\n");
    std::vector<std::string> lines;
    ASSERT_TRUE(objl::readResourceLines(FixtureObjId + 0x10000, lines));
    EXPECT_EQ(lines, Pieces{"found"});
}

}  // namespace
