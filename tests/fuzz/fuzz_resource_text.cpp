// Arbitrary resource bytes go through loadResourceText, the reader of the
// shader texts. The first input byte chooses the capacity (255: the shader
// builder's own, otherwise that many characters); the rest is the resource,
// held in a buffer of exactly its size. An input of one byte is an empty
// resource, an empty input a missing one.
//
// The destination must receive exactly the bytes before the first "~", no
// more than the resource holds and no more than the capacity, followed by
// four zero bytes, and nothing may be written after them. The sanitizers
// catch any read past the resource or write past the destination.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "render/shader_program.h"
#include "window/platform.h"

namespace {

constexpr int TextId = 137;
constexpr unsigned char Untouched = 0xA5;

const char* resourceData = nullptr;
std::size_t resourceSize = 0;

}  // namespace

// This target's platform: the resource of the current input. The reader
// shows no message and shuts nothing down, so reaching either is a fault.
ResourceBytes platformTextResource(int id) {
    if (id != TextId) {
        return {nullptr, 0};
    }
    return {resourceData, resourceSize};
}

void platformShowMessage(const char*, const char*) {
    std::abort();
}

void platformShutdownWindowing() {
    std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t capacity = size == 0 || data[0] == 255 ? shaderTextCapacity : data[0];
    const std::size_t bytes = size > 1 ? size - 1 : 0;
    std::unique_ptr<char[]> resource;
    if (size > 0) {
        // A fresh buffer of exactly the resource's size, so that reading one
        // byte past it is caught.
        resource.reset(new char[bytes]);
        std::memcpy(resource.get(), data + 1, bytes);
    }
    resourceData = resource.get();
    resourceSize = bytes;

    const std::unique_ptr<unsigned char[]> destination(new unsigned char[capacity + 4]);
    std::memset(destination.get(), Untouched, capacity + 4);
    loadResourceText(TextId, reinterpret_cast<char*>(destination.get()), capacity);

    const char* text = resourceData;
    const char* marker = bytes > 0 ? static_cast<const char*>(std::memchr(text, '~', bytes)) : nullptr;
    const std::size_t before = marker != nullptr ? static_cast<std::size_t>(marker - text) : bytes;
    const std::size_t length = std::min(before, capacity);
    if (length > 0 && std::memcmp(destination.get(), text, length) != 0) {
        std::abort();
    }
    for (std::size_t i = length; i < length + 4; ++i) {
        if (destination[i] != 0) {
            std::abort();
        }
    }
    for (std::size_t i = length + 4; i < capacity + 4; ++i) {
        if (destination[i] != Untouched) {
            std::abort();
        }
    }
    resourceData = nullptr;
    resourceSize = 0;
    return 0;
}
