// The records' operations, reading resource texts into lines, and cutting
// lines into words and pieces.

#include <cstring>
#include <new>

#include "mesh/objl.h"
#include "window/platform.h"

namespace objl {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

Vector3 operator-(const Vector3& a, const Vector3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

bool operator==(const Vector3& a, const Vector3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

bool operator!=(const Vector3& a, const Vector3& b) {
    return !(a == b);
}

Mesh::Mesh(const std::vector<Vertex>& meshVertices, const std::vector<std::uint32_t>& meshIndices)
    : vertices(meshVertices), indices(meshIndices) {}

bool readResourceLines(int resourceId, std::vector<std::string>& lines) {
    // Resource ids are 16-bit on Windows; the native table gets the same id.
    const ResourceBytes bytes = platformTextResource(resourceId & 0xFFFF);
    try {
        // The text is the resource's bytes exactly: no end marker, no zero.
        // A last line without an LF counts when it is not empty.
        const char* next = bytes.data;
        const char* const end = bytes.size != 0 ? bytes.data + bytes.size : bytes.data;
        while (next != end) {
            const auto* lf =
                static_cast<const char*>(std::memchr(next, '\n', static_cast<std::size_t>(end - next)));
            const char* const lineEnd = lf != nullptr ? lf : end;
            lines.emplace_back(next, lineEnd);
            next = lf != nullptr ? lf + 1 : end;
        }
    } catch (const std::bad_alloc&) {
        lines.clear();
        return false;
    }
    return true;
}

std::string lineKeyword(const std::string& line) {
    std::size_t start = 0;
    while (start < line.size() && isBlank(line[start])) {
        ++start;
    }
    std::size_t end = start;
    while (end < line.size() && !isBlank(line[end])) {
        ++end;
    }
    return line.substr(start, end - start);
}

std::string lineArguments(const std::string& line) {
    std::size_t start = 0;
    while (start < line.size() && isBlank(line[start])) {
        ++start;
    }
    while (start < line.size() && !isBlank(line[start])) {
        ++start;
    }
    while (start < line.size() && isBlank(line[start])) {
        ++start;
    }
    if (start == line.size()) {
        // A line of a single word, or none, has no arguments.
        return std::string();
    }
    // Something that is not a blank exists at start, so this stops there at
    // the latest.
    std::size_t last = line.size() - 1;
    while (isBlank(line[last])) {
        --last;
    }
    return line.substr(start, last - start + 1);
}

std::vector<std::string> splitByDelimiter(const std::string& text, const std::string& delimiter) {
    std::vector<std::string> pieces;
    if (delimiter.empty()) {
        return pieces;
    }
    const std::size_t length = delimiter.size();
    std::string piece;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, length, delimiter) == 0) {
            if (piece.empty()) {
                pieces.push_back(std::string());
            } else {
                pieces.push_back(piece);
                piece.clear();
                i += length - 1;
            }
        } else if (i + length >= text.size()) {
            // The last piece, which no delimiter ends.
            piece += text.substr(i, length);
            pieces.push_back(piece);
            break;
        } else {
            piece += text[i];
        }
    }
    return pieces;
}

std::string trimTrailingNewlines(const std::string& text) {
    const std::size_t last = text.find_last_not_of("\r\n");
    if (last == std::string::npos) {
        return text;
    }
    return text.substr(0, last + 1);
}

}  // namespace objl
