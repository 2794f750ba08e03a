#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "gl_test_support.h"
#include "render/program_registry.h"
#include "render/shader_program.h"
#include "window/native_platform.h"

namespace {

constexpr int testResourceId = 9001;

// ---------------------------------------------------------------------------
// loadResourceText

struct TextCase {
    const char* name;
    bool present;
    std::string bytes;
    std::size_t capacity;
    std::string expected;
};

TEST(LoadResourceText, StopsAtTheMarkerAndNeverLeavesItsBounds) {
    const std::string longText(20000, 'a');
    const std::string fullText = std::string(shaderTextCapacity, 'b') + "~tail";
    const std::vector<TextCase> cases = {
        {"text before the marker", true, "void main() {}\r\n//~\r\n", shaderTextCapacity,
         "void main() {}\r\n//"},
        {"marker first gives the empty text", true, "~everything after", shaderTextCapacity, ""},
        {"only the first marker counts", true, "a~b~c", shaderTextCapacity, "a"},
        {"no marker: the whole resource", true, "abc", shaderTextCapacity, "abc"},
        {"empty resource", true, "", shaderTextCapacity, ""},
        {"missing resource reads as empty", false, "", shaderTextCapacity, ""},
        {"zero bytes are copied like any other", true, std::string("ab\0cd~", 6), shaderTextCapacity,
         std::string("ab\0cd", 5)},
        {"a full buffer before the marker", true, fullText, shaderTextCapacity,
         std::string(shaderTextCapacity, 'b')},
        {"an over-long text is cut at the capacity", true, longText, shaderTextCapacity,
         std::string(shaderTextCapacity, 'a')},
        {"a small capacity cuts early", true, "abcdef~", 3, "abc"},
    };
    for (const TextCase& test : cases) {
        if (test.present) {
            nativeSetTextResource(testResourceId, test.bytes);
        } else {
            nativeRemoveTextResource(testResourceId);
        }
        // Guard bytes after the capacity + 4 that the caller provides must
        // stay as they were.
        std::vector<char> buffer(test.capacity + 4 + 64, '\x55');
        loadResourceText(testResourceId, buffer.data(), test.capacity);

        const std::size_t n = test.expected.size();
        EXPECT_EQ(std::string(buffer.data(), n), test.expected) << test.name;
        for (std::size_t i = n; i < n + 4; ++i) {
            EXPECT_EQ(buffer[i], '\0') << test.name << ": terminator byte " << i - n;
        }
        for (std::size_t i = n + 4; i < buffer.size(); ++i) {
            ASSERT_EQ(buffer[i], '\x55') << test.name << ": byte " << i << " was written";
        }
    }
    nativeResetTextResources();
}

TEST(LoadResourceText, EmbeddedProgramsEndWithTheCommentBeforeTheMarker) {
    struct Embedded {
        int id;
        const char* firstLine;
    };
    for (const Embedded& program : {Embedded{137, "#version 140\r\n"}, Embedded{136, "#version 120\r\n"}}) {
        std::vector<char> buffer(shaderTextBufferBytes, '\x55');
        loadResourceText(program.id, buffer.data(), shaderTextCapacity);
        const std::string text(buffer.data());
        EXPECT_EQ(text.rfind(program.firstLine, 0), 0u) << program.id;
        ASSERT_GE(text.size(), 4u);
        EXPECT_EQ(text.substr(text.size() - 4), "\r\n//") << program.id;
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(buffer[text.size() + i], '\0') << program.id;
        }
        // CR LF throughout: every line feed follows a carriage return.
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << program.id << ": bare line feed at " << i;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Programs, locations and the registry on a real context

int uniformLookups = 0;
int attribLookups = 0;
int useProgramCalls = 0;
PFNGLGETUNIFORMLOCATIONPROC realGetUniformLocation = nullptr;
PFNGLGETATTRIBLOCATIONPROC realGetAttribLocation = nullptr;
PFNGLUSEPROGRAMPROC realUseProgram = nullptr;

GLint APIENTRY countUniformLookup(GLuint program, const GLchar* name) {
    ++uniformLookups;
    return realGetUniformLocation(program, name);
}

GLint APIENTRY countAttribLookup(GLuint program, const GLchar* name) {
    ++attribLookups;
    return realGetAttribLocation(program, name);
}

void APIENTRY countUseProgram(GLuint program) {
    ++useProgramCalls;
    realUseProgram(program);
}

class ShaderProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ensureGlContext());
        nativeResetTextResources();
        nativeClearMessages();
        realGetUniformLocation = glEntryPoints.glGetUniformLocation;
        realGetAttribLocation = glEntryPoints.glGetAttribLocation;
        realUseProgram = glEntryPoints.glUseProgram;
        uniformLookups = attribLookups = useProgramCalls = 0;
    }
    void TearDown() override {
        nativeResetTextResources();
    }
};

TEST_F(ShaderProgramTest, EmbeddedProgramsCompileAndLink) {
    ShaderProgram program(137, 136);
    EXPECT_TRUE(nativeMessages().empty());
    GLint linked = 0;
    glGetProgramiv(program.program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    GLint attached = 0;
    glGetProgramiv(program.program, GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 2) << "the shaders stay attached";
    EXPECT_EQ(std::strncmp(program.vertexSource.get(), "#version 140", 12), 0);
    EXPECT_EQ(std::strncmp(program.fragmentSource.get(), "#version 120", 12), 0);
    EXPECT_TRUE(program.locationCache.empty());

    // What the drawable feeds: "position" is used, "position_normal" and the
    // matrices only declared, and the fragment program reads "iTime" and
    // "viewportWidth" but not "viewportHeight". ("position_tex" feeds a
    // varying that the fragment program ignores, so whether it stays active
    // is up to the driver's linker.)
    EXPECT_GE(program.attribLocation("position"), 0);
    EXPECT_EQ(program.attribLocation("position_normal"), -1);
    EXPECT_GE(program.uniformLocation("iTime"), 0);
    EXPECT_GE(program.uniformLocation("viewportWidth"), 0);
    EXPECT_EQ(program.uniformLocation("viewportHeight"), -1);
    for (const char* matrix : {"model_world", "world_projection", "model_projection"}) {
        EXPECT_EQ(program.uniformLocation(matrix), -1) << matrix;
    }
}

TEST_F(ShaderProgramTest, LocationCacheAsksOpenGlOncePerNameWhateverTheKind) {
    ShaderProgram program(137, 136);
    SlotOverride<PFNGLGETUNIFORMLOCATIONPROC> uniforms(glEntryPoints.glGetUniformLocation,
                                                       countUniformLookup);
    SlotOverride<PFNGLGETATTRIBLOCATIONPROC> attributes(glEntryPoints.glGetAttribLocation, countAttribLookup);

    const GLint position = program.attribLocation("position");
    EXPECT_EQ(attribLookups, 1);
    // The key is the name alone: a uniform lookup of the same name answers
    // with the attribute's location and asks nobody.
    EXPECT_EQ(program.uniformLocation("position"), position);
    EXPECT_EQ(uniformLookups, 0);

    // A name the program does not use is cached as -1 like any other.
    EXPECT_EQ(program.uniformLocation("viewportHeight"), -1);
    EXPECT_EQ(program.uniformLocation("viewportHeight"), -1);
    EXPECT_EQ(program.attribLocation("viewportHeight"), -1);
    EXPECT_EQ(uniformLookups, 1);
    EXPECT_EQ(attribLookups, 1);

    const GLint time = program.uniformLocation("iTime");
    EXPECT_EQ(program.uniformLocation("iTime"), time);
    EXPECT_EQ(uniformLookups, 2);
    EXPECT_EQ(program.locationCache.size(), 3u);
    EXPECT_EQ(program.locationCache.at("viewportHeight"), -1);
}

TEST_F(ShaderProgramTest, RegistryFilesTheFirstProgramOfAName) {
    ProgramRegistry registry;
    registry.addProgram("BackgroundProgram", 137, 136);
    ShaderProgram* first = registry.find("BackgroundProgram");
    ASSERT_NE(first, nullptr);

    const GLuint before = glCreateProgram();
    registry.addProgram("BackgroundProgram", 137, 136);
    EXPECT_EQ(registry.find("BackgroundProgram"), first);
    EXPECT_EQ(registry.programs.size(), 1u);
    // The second build still compiled and linked a program of its own: the
    // next program name handed out skips it.
    const GLuint after = glCreateProgram();
    EXPECT_GE(after, before + 2);

    // Names compare byte by byte.
    EXPECT_EQ(registry.find("backgroundprogram"), nullptr);
    EXPECT_EQ(registry.find("BackgroundProgram "), nullptr);
    EXPECT_EQ(registry.find(""), nullptr);
}

TEST_F(ShaderProgramTest, UseProgramMakesTheNamedProgramCurrentAndIgnoresUnknownNames) {
    ProgramRegistry registry;
    registry.addProgram("BackgroundProgram", 137, 136);
    SlotOverride<PFNGLUSEPROGRAMPROC> use(glEntryPoints.glUseProgram, countUseProgram);

    realUseProgram(0);
    registry.useProgram("BackgroundProgram");
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), registry.find("BackgroundProgram")->program);
    EXPECT_EQ(useProgramCalls, 1);

    registry.useProgram("NoSuchProgram");
    EXPECT_EQ(useProgramCalls, 1);
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), registry.find("BackgroundProgram")->program);
    realUseProgram(0);
}

GLuint compile(GLenum type, const char* text) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    return shader;
}

TEST_F(ShaderProgramTest, ShowShaderLogShowsTheDriversLogAndAnEmptyOne) {
    const GLuint broken =
        compile(GL_FRAGMENT_SHADER, "#version 120\nvoid main() { gl_FragColor = nothing; }\n");
    GLint length = 0;
    glGetShaderiv(broken, GL_INFO_LOG_LENGTH, &length);
    ASSERT_GT(length, 1);
    std::vector<char> log(static_cast<std::size_t>(length));
    glGetShaderInfoLog(broken, length, nullptr, log.data());

    showShaderLog(broken);
    ASSERT_EQ(nativeMessages().size(), 1u);
    EXPECT_EQ(nativeMessages()[0].caption, "Debug");
    EXPECT_EQ(nativeMessages()[0].text, std::string(log.data()));

    // A shader that compiled cleanly has a log of length 0.
    const GLuint clean =
        compile(GL_FRAGMENT_SHADER, "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n");
    glGetShaderiv(clean, GL_INFO_LOG_LENGTH, &length);
    ASSERT_EQ(length, 0) << "precondition: Mesa reports no log for a clean compile";
    showShaderLog(clean);
    ASSERT_EQ(nativeMessages().size(), 2u);
    EXPECT_EQ(nativeMessages()[1].caption, "Debug");
    EXPECT_EQ(nativeMessages()[1].text, "");
    glDeleteShader(broken);
    glDeleteShader(clean);
}

// ---------------------------------------------------------------------------
// A stage that does not compile ends the process with exit code 0.
//
// The child of a death test checks its own story at exit, because the parent
// sees only its exit code and stderr: which stages were created, which
// shader was deleted, and the two messages in order. Anything unexpected
// turns into a different exit code.

constexpr int brokenVertexId = 9101;
constexpr int brokenFragmentId = 9102;

const char* const brokenVertexText =
    "#version 140\r\nin vec4 position;\r\nvoid main() { gl_Position = posit; }\r\n//~";
const char* const brokenFragmentText = "#version 120\r\nvoid main() { gl_FragColor = vec4(1.0) }\r\n//~";

PFNGLCREATESHADERPROC realCreateShader = nullptr;
PFNGLDELETESHADERPROC realDeleteShader = nullptr;
std::vector<GLenum> createdStages;
std::vector<GLuint> createdShaders;
std::vector<GLuint> deletedShaders;
GLenum expectedFailingStage = 0;
const char* expectedFailureText = nullptr;

GLuint APIENTRY recordCreateShader(GLenum type) {
    const GLuint shader = realCreateShader(type);
    createdStages.push_back(type);
    createdShaders.push_back(shader);
    return shader;
}

void APIENTRY recordDeleteShader(GLuint shader) {
    deletedShaders.push_back(shader);
    realDeleteShader(shader);
}

void checkStoryAtExit() {
    const auto fail = [](const char* why) {
        std::fprintf(stderr, "unexpected: %s\n", why);
        std::fflush(stderr);
        std::_Exit(7);
    };
    const std::size_t stages = expectedFailingStage == GL_VERTEX_SHADER ? 1 : 2;
    if (createdStages.size() != stages || createdStages.back() != expectedFailingStage) {
        fail("the stages created");
    }
    if (deletedShaders.size() != 1 || deletedShaders[0] != createdShaders.back()) {
        fail("the failing shader was not the one deleted");
    }
    const auto& messages = nativeMessages();
    if (messages.size() != 2) {
        fail("not exactly two messages");
    }
    if (messages[0].caption != "Debug" || messages[0].text.find("error") == std::string::npos) {
        fail("the first message is not the compiler's log");
    }
    if (messages[1].caption != "Debug" || messages[1].text != expectedFailureText) {
        fail("the second message");
    }
}

void buildWithStoryCheck(int vertexId, int fragmentId, GLenum failingStage, const char* failureText) {
    realCreateShader = glEntryPoints.glCreateShader;
    realDeleteShader = glEntryPoints.glDeleteShader;
    glEntryPoints.glCreateShader = recordCreateShader;
    glEntryPoints.glDeleteShader = recordDeleteShader;
    expectedFailingStage = failingStage;
    expectedFailureText = failureText;
    std::atexit(checkStoryAtExit);
    ShaderProgram program(vertexId, fragmentId);
    // Reaching this line is the failure: the constructor must not return.
    std::_Exit(8);
}

class ShaderProgramDeathTest : public ShaderProgramTest {};

TEST_F(ShaderProgramDeathTest, VertexStageThatDoesNotCompileEndsTheRunBeforeTheFragmentStage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    nativeSetTextResource(brokenVertexId, brokenVertexText);
    EXPECT_EXIT(buildWithStoryCheck(brokenVertexId, 136, GL_VERTEX_SHADER, "Vertex shader compilation error"),
                ::testing::ExitedWithCode(0),
                "\\[Debug\\] [^\n]*error[^\n]*\n.*\\[Debug\\] Vertex shader compilation error\n");
}

TEST_F(ShaderProgramDeathTest, FragmentStageThatDoesNotCompileEndsTheRun) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    nativeSetTextResource(brokenFragmentId, brokenFragmentText);
    EXPECT_EXIT(
        buildWithStoryCheck(137, brokenFragmentId, GL_FRAGMENT_SHADER, "Fragment shader compilation error"),
        ::testing::ExitedWithCode(0),
        "\\[Debug\\] [^\n]*error[^\n]*\n.*\\[Debug\\] Fragment shader compilation error\n");
}

TEST_F(ShaderProgramDeathTest, MissingVertexResourceIsAStageThatDoesNotCompile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    nativeRemoveTextResource(brokenVertexId);
    EXPECT_EXIT(buildWithStoryCheck(brokenVertexId, 136, GL_VERTEX_SHADER, "Vertex shader compilation error"),
                ::testing::ExitedWithCode(0), "\\[Debug\\] Vertex shader compilation error\n");
}

}  // namespace
