#pragma once

// Shared by the mesh tests: fixture texts are handed to the loader as
// "TEXTFILE" resources under ids of their own, and every test starts from
// the embedded resources again.

#include <gtest/gtest.h>

#include <string>

#include "window/native_platform.h"

// Ids that the embedded resources do not use.
constexpr int FixtureObjId = 9001;
constexpr int FixtureMtlId = 9002;

// Fixture texts are written with LF line ends; this gives the CR LF form.
inline std::string withCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

class MeshResources : public ::testing::Test {
protected:
    void SetUp() override {
        nativeResetTextResources();
        nativeClearMessages();
    }
    void TearDown() override {
        nativeResetTextResources();
    }

    static void setObj(const std::string& text) {
        nativeSetTextResource(FixtureObjId, text);
    }
    static void setMtl(const std::string& text) {
        nativeSetTextResource(FixtureMtlId, text);
    }
};
