// Arbitrary OBJ and MTL texts go through the loader into MeshArrays. The
// input is split at its first zero byte: the OBJ text before it, the MTL
// text after it (none without a zero byte).
//
// The loader either builds a model, reports that it built nothing, or
// raises one of the errors that loading a mesh turns into "Failed to load
// mesh": a number the standard conversions cannot read, or a face index that
// names nothing. Anything else, a crash, an out-of-bounds access, a hang or
// arrays that disagree with their counts, is a fault. So is any difference
// between the fast OBJ parse and the plain reference parse of the tests:
// result, error, lists and progress report must agree bit for bit.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "mesh/mesh_arrays.h"
#include "mesh/objl.h"
#include "tests/native/mesh/reference_obj_parser.h"
#include "window/platform.h"

namespace {

constexpr int ObjId = 141;
constexpr int MtlId = 140;

std::string objText;
std::string mtlText;

// The conversions of the standard library name themselves in their errors.
bool isConversionError(const std::logic_error& error) {
    return std::strncmp(error.what(), "sto", 3) == 0;
}

}  // namespace

// This target's platform: the two texts of the current input. The fatal
// path is never taken here, so reaching it is a fault too.
ResourceBytes platformTextResource(int id) {
    if (id == ObjId) {
        return {objText.data(), objText.size()};
    }
    if (id == MtlId) {
        return {mtlText.data(), mtlText.size()};
    }
    return {nullptr, 0};
}

void platformShowMessage(const char*, const char*) {
    std::abort();
}

void platformShutdownWindowing() {
    std::abort();
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The OBJ parse reports its progress on standard output.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) {
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    const void* zero = std::memchr(text, 0, size);
    const std::size_t objSize =
        zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - text) : size;
    objText.assign(text, objSize);
    mtlText = objSize < size ? std::string(text + objSize + 1, size - objSize - 1) : std::string();

    // The MTL parse on its own, whether or not the OBJ text names it.
    try {
        objl::ModelLoader materials;
        if (!materials.loadMtlResource(MtlId) || materials.materials.empty()) {
            std::abort();
        }
    } catch (const std::logic_error& error) {
        if (!isConversionError(error)) {
            std::abort();
        }
    }

    const ObjParseOutcome fast = runObjParse(false, ObjId, MtlId);
    const ObjParseOutcome reference = runObjParse(true, ObjId, MtlId);
    const std::string difference = describeDifference(fast, reference);
    if (!difference.empty()) {
        std::fprintf(stderr, "fast and reference parse differ: %s\n", difference.c_str());
        std::abort();
    }
    if (!fast.error.empty()) {
        // Only the errors of a bad index or a number the standard
        // conversions cannot read may leave the parse.
        const bool expected = fast.error.rfind("index out of range: ", 0) == 0 ||
                              fast.error.rfind("invalid argument: sto", 0) == 0 ||
                              fast.error.rfind("out of range: sto", 0) == 0;
        if (!expected) {
            std::fprintf(stderr, "unexpected error: %s\n", fast.error.c_str());
            std::abort();
        }
        return 0;
    }
    if (!fast.result) {
        return 0;
    }
    const objl::ModelLoader& loader = fast.loader;

    const MeshArrays arrays(loader, 2.0f);
    const auto vertices = static_cast<std::size_t>(arrays.vertexCount());
    const auto indices = static_cast<std::size_t>(arrays.indexCount());
    if (arrays.positionArray.size() != 3 * vertices || arrays.texCoordArray.size() != 2 * vertices ||
        arrays.normalArray.size() != 3 * vertices || arrays.tangentArray.size() != 3 * vertices ||
        arrays.bitangentArray.size() != 3 * vertices || arrays.ambientArray.size() != 3 * vertices ||
        arrays.diffuseArray.size() != 3 * vertices || arrays.specularArray.size() != 4 * vertices ||
        arrays.indexArray.size() != indices) {
        std::abort();
    }
    for (std::uint32_t index : arrays.indexArray) {
        if (index >= vertices) {
            std::abort();
        }
    }
    return 0;
}
