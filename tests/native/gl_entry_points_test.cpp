#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "window/egl_context.h"
#include "window/gl_entry_points.h"

namespace {

GlProc slotValue(int index) {
    GlProc value;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(&glEntryPoints) + index * sizeof(GlProc),
                sizeof value);
    return value;
}

int slotIndex(const std::string& name) {
    for (int i = 0; i < GL_ENTRY_POINT_COUNT; ++i) {
        if (name == glEntryPointNames[i]) {
            return i;
        }
    }
    return -1;
}

TEST(GlEntryPointTable, HoldsSevenHundredDistinctNames) {
    ASSERT_EQ(GL_ENTRY_POINT_COUNT, 700);
    std::set<std::string> names(glEntryPointNames, glEntryPointNames + GL_ENTRY_POINT_COUNT);
    EXPECT_EQ(names.size(), 700u);
}

TEST(GlEntryPointTable, BlocksInOrderWithTheirCountsAndEnds) {
    struct Block {
        const char* name;
        int count;
        const char* first;
        const char* last;
    };
    const std::vector<Block> expected = {
        {"GL_VERSION_1_0", 48, "glCullFace", "glViewport"},
        {"GL_VERSION_1_1", 14, "glDrawArrays", "glIsTexture"},
        {"GL_VERSION_1_2", 4, "glDrawRangeElements", "glCopyTexSubImage3D"},
        {"GL_VERSION_1_3", 9, "glActiveTexture", "glGetCompressedTexImage"},
        {"GL_VERSION_1_4", 9, "glBlendFuncSeparate", "glBlendEquation"},
        {"GL_VERSION_1_5", 19, "glGenQueries", "glGetBufferPointerv"},
        {"GL_VERSION_2_0", 93, "glBlendEquationSeparate", "glVertexAttribPointer"},
        {"GL_VERSION_2_1", 6, "glUniformMatrix2x3fv", "glUniformMatrix4x3fv"},
        {"GL_VERSION_3_0", 84, "glColorMaski", "glIsVertexArray"},
        {"GL_VERSION_3_1", 12, "glDrawArraysInstanced", "glUniformBlockBinding"},
        {"GL_VERSION_3_2", 19, "glDrawElementsBaseVertex", "glSampleMaski"},
        {"GL_VERSION_3_3", 28, "glBindFragDataLocationIndexed", "glVertexAttribP4uiv"},
        {"GL_VERSION_4_0", 46, "glMinSampleShading", "glGetQueryIndexediv"},
        {"GL_VERSION_4_1", 88, "glReleaseShaderCompiler", "glGetDoublei_v"},
        {"GL_VERSION_4_2", 12, "glDrawArraysInstancedBaseInstance", "glDrawTransformFeedbackStreamInstanced"},
        {"GL_VERSION_4_3", 43, "glClearBufferData", "glGetObjectPtrLabel"},
        {"GL_VERSION_4_4", 9, "glBufferStorage", "glBindVertexBuffers"},
        {"GL_VERSION_4_5", 110, "glClipControl", "glTextureBarrier"},
        {"GL_ARB_bindless_texture", 16, "glGetTextureHandleARB", "glGetVertexAttribLui64vARB"},
        {"GL_ARB_cl_event", 1, "glCreateSyncFromCLeventARB", "glCreateSyncFromCLeventARB"},
        {"GL_ARB_compute_variable_group_size", 1, "glDispatchComputeGroupSizeARB",
         "glDispatchComputeGroupSizeARB"},
        {"GL_ARB_debug_output", 4, "glDebugMessageControlARB", "glGetDebugMessageLogARB"},
        {"GL_ARB_draw_buffers_blend", 4, "glBlendEquationiARB", "glBlendFuncSeparateiARB"},
        {"GL_ARB_indirect_parameters", 2, "glMultiDrawArraysIndirectCountARB",
         "glMultiDrawElementsIndirectCountARB"},
        {"GL_ARB_robustness", 8, "glGetGraphicsResetStatusARB", "glGetnUniformdvARB"},
        {"GL_ARB_sample_shading", 1, "glMinSampleShadingARB", "glMinSampleShadingARB"},
        {"GL_ARB_shading_language_include", 6, "glNamedStringARB", "glGetNamedStringivARB"},
        {"GL_ARB_sparse_buffer", 3, "glBufferPageCommitmentARB", "glNamedBufferPageCommitmentARB"},
        {"GL_ARB_sparse_texture", 1, "glTexPageCommitmentARB", "glTexPageCommitmentARB"},
    };
    int index = 0;
    for (const Block& block : expected) {
        ASSERT_LT(index + block.count - 1, GL_ENTRY_POINT_COUNT);
        EXPECT_STREQ(glEntryPointBlocks[index], block.name);
        EXPECT_STREQ(glEntryPointNames[index], block.first) << block.name;
        EXPECT_STREQ(glEntryPointNames[index + block.count - 1], block.last) << block.name;
        for (int i = 0; i < block.count; ++i) {
            EXPECT_STREQ(glEntryPointBlocks[index + i], block.name) << glEntryPointNames[index + i];
        }
        index += block.count;
    }
    EXPECT_EQ(index, GL_ENTRY_POINT_COUNT);
    // The sparse-buffer block carries one EXT name between its ARB names.
    EXPECT_STREQ(glEntryPointNames[slotIndex("glBufferPageCommitmentARB") + 1],
                 "glNamedBufferPageCommitmentEXT");
    // Unsuffixed debug output belongs to 4.3, unsuffixed robustness to 4.5.
    EXPECT_STREQ(glEntryPointBlocks[slotIndex("glDebugMessageControl")], "GL_VERSION_4_3");
    EXPECT_STREQ(glEntryPointBlocks[slotIndex("glReadnPixels")], "GL_VERSION_4_5");
}

TEST(GlEntryPointTable, SlotsAreNamedAfterTheirFunctions) {
    // A call written glClear(...) goes through the slot of that name.
    GlEntryPoints saved = glEntryPoints;
    static GLbitfield clearedWith = 0;
    glEntryPoints.glClear = [](GLbitfield mask) { clearedWith = mask; };
    glClear(GL_COLOR_BUFFER_BIT);
    glEntryPoints = saved;
    EXPECT_EQ(clearedWith, static_cast<GLbitfield>(GL_COLOR_BUFFER_BIT));
    const auto* base = reinterpret_cast<const unsigned char*>(&glEntryPoints);
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(&glEntryPoints.glClear) - base,
              static_cast<long>(slotIndex("glClear") * sizeof(GlProc)));
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(&glEntryPoints.glTexPageCommitmentARB) - base,
              static_cast<long>(699 * sizeof(GlProc)));
}

// A resolver that hands each name a value of its own, even small integers,
// so the load must store exactly what it was given.
std::vector<std::string> lookups;
GlProc numberingResolver(const char* name) {
    lookups.emplace_back(name);
    const std::size_t n = lookups.size();
    return n % 3 == 0 ? nullptr : reinterpret_cast<GlProc>(n);
}

GlProc nullResolver(const char*) {
    return nullptr;
}

GLint fakeMajor = 0;
void APIENTRY fakeGetIntegerv(GLenum pname, GLint* data) {
    if (pname == GL_MAJOR_VERSION && fakeMajor > 0) {
        *data = fakeMajor;
    } else if (pname == GL_MINOR_VERSION && fakeMajor > 0) {
        *data = 6;
    }
}

class GlEntryPointLoad : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = glEntryPoints;
        savedVersion_ = glContextVersion;
        lookups.clear();
    }
    void TearDown() override {
        glEntryPoints = saved_;
        glContextVersion = savedVersion_;
    }
    GlEntryPoints saved_;
    GlContextVersion savedVersion_;
};

TEST_F(GlEntryPointLoad, StoresEveryLookupInListOrderUnconditionally) {
    storeGlEntryPoints(numberingResolver);
    ASSERT_EQ(lookups.size(), 700u);
    for (int i = 0; i < GL_ENTRY_POINT_COUNT; ++i) {
        ASSERT_EQ(lookups[static_cast<std::size_t>(i)], glEntryPointNames[i]);
        const std::size_t n = static_cast<std::size_t>(i) + 1;
        const GlProc expected = n % 3 == 0 ? nullptr : reinterpret_cast<GlProc>(n);
        ASSERT_EQ(slotValue(i), expected) << glEntryPointNames[i];
    }
}

TEST_F(GlEntryPointLoad, NullGetIntegervGivesMinusOneAndLeavesTheVersion) {
    storeGlEntryPoints(nullResolver);
    glContextVersion = {0, 0};
    EXPECT_EQ(queryGlContextVersion(), -1);
    EXPECT_EQ(glContextVersion.major, 0);
    EXPECT_EQ(glContextVersion.minor, 0);
}

TEST_F(GlEntryPointLoad, ResultFollowsTheMajorVersionOnly) {
    storeGlEntryPoints(nullResolver);
    glEntryPoints.glGetIntegerv = fakeGetIntegerv;
    for (auto [major, result] : std::map<GLint, int>{{0, -1}, {2, -1}, {3, 0}, {4, 0}}) {
        glContextVersion = {0, 0};
        fakeMajor = major;
        EXPECT_EQ(queryGlContextVersion(), result) << "major " << major;
        EXPECT_EQ(glContextVersion.major, major);
    }
}

TEST(GlEntryPointMesa, LoadsOnARealContext) {
    EglContext context;
    std::string error;
    ASSERT_TRUE(context.create(64, 64, &error)) << error;
    EXPECT_EQ(context.loadResult(), 0);
    EXPECT_GE(glContextVersion.major, 3);

    const char* used[] = {"glCullFace",
                          "glFrontFace",
                          "glClear",
                          "glDisable",
                          "glEnable",
                          "glBlendFunc",
                          "glGetIntegerv",
                          "glViewport",
                          "glDrawElements",
                          "glBindBuffer",
                          "glGenBuffers",
                          "glBufferData",
                          "glAttachShader",
                          "glCompileShader",
                          "glCreateProgram",
                          "glCreateShader",
                          "glDeleteShader",
                          "glEnableVertexAttribArray",
                          "glGetAttribLocation",
                          "glGetShaderiv",
                          "glGetShaderInfoLog",
                          "glGetUniformLocation",
                          "glLinkProgram",
                          "glShaderSource",
                          "glUseProgram",
                          "glUniform1f",
                          "glUniformMatrix4fv",
                          "glVertexAttribPointer",
                          "glBindFramebuffer",
                          "glDrawElementsInstanced"};
    for (const char* name : used) {
        const int index = slotIndex(name);
        ASSERT_GE(index, 0) << name;
        EXPECT_NE(slotValue(index), nullptr) << name;
    }

    // The slots reach the driver: a clear through the table shows up when
    // read back through it.
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadPixels(3, 3, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 255);
    EXPECT_EQ(pixel[2], 0);
}

}  // namespace
