// The OBJ parse: positions, texture coordinates, normals and faces grouped
// into meshes, with a progress report on standard output.
//
// The parse works on the resource bytes in place: lines, words and pieces
// are ranges of the text, and the numbers that OBJ exporters write (plain
// decimals of a few digits, small indices) are converted here directly.
// Everything else goes through the standard conversions on a string of the
// piece, so every value and every error is exactly what std::stof and
// std::stoi give for that piece.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "mesh/objl.h"
#include "window/platform.h"

namespace objl {

namespace {

// A range of the text, [begin, end).
struct Span {
    const char* begin;
    const char* end;

    bool empty() const {
        return begin == end;
    }
    std::size_t size() const {
        return static_cast<std::size_t>(end - begin);
    }
    template <std::size_t N>
    bool is(const char (&word)[N]) const {
        return size() == N - 1 && std::memcmp(begin, word, N - 1) == 0;
    }
    std::string str() const {
        return std::string(begin, end);
    }
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// lineKeyword and lineArguments on a range.
Span keywordOf(Span line) {
    const char* start = line.begin;
    while (start != line.end && isBlank(*start)) {
        ++start;
    }
    const char* end = start;
    while (end != line.end && !isBlank(*end)) {
        ++end;
    }
    return {start, end};
}

Span argumentsOf(Span line) {
    const char* start = keywordOf(line).end;
    while (start != line.end && isBlank(*start)) {
        ++start;
    }
    if (start == line.end) {
        return {line.end, line.end};
    }
    // Something that is not a blank exists at start, so this stops there at
    // the latest.
    const char* last = line.end - 1;
    while (isBlank(*last)) {
        --last;
    }
    return {start, last + 1};
}

// Calls piece for every piece of text between delimiters, as
// splitByDelimiter cuts them: a delimiter at the start or two in a row give
// empty pieces, one at the end gives none.
template <typename Piece>
void forEachPiece(Span text, char delimiter, Piece&& piece) {
    const char* start = text.begin;
    for (const char* c = text.begin; c != text.end; ++c) {
        if (*c == delimiter) {
            piece(Span{start, c});
            start = c + 1;
        }
    }
    if (start != text.end) {
        piece(Span{start, text.end});
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Powers of ten that a float holds exactly.
constexpr float exactPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
constexpr std::uint32_t exactFloatIntegers = 1u << 24;

// std::stof of the piece. A piece that is nothing but an optional sign and
// a decimal number whose digits make an integer m of at most 2^24, with at
// most ten digits after the point, has the value m / 10^k with both exact
// in a float; one IEEE division then rounds it to the nearest float, which is
// the correctly rounded result the standard conversion gives too.
float toFloat(Span piece) {
    const char* c = piece.begin;
    bool negative = false;
    if (c != piece.end && (*c == '-' || *c == '+')) {
        negative = *c == '-';
        ++c;
    }
    std::uint32_t mantissa = 0;
    int digits = 0;
    int fractionDigits = 0;
    while (c != piece.end && isDigit(*c) && digits < 9) {
        mantissa = mantissa * 10 + static_cast<std::uint32_t>(*c - '0');
        ++digits;
        ++c;
    }
    if (c != piece.end && *c == '.') {
        ++c;
        while (c != piece.end && isDigit(*c) && digits < 9) {
            mantissa = mantissa * 10 + static_cast<std::uint32_t>(*c - '0');
            ++digits;
            ++fractionDigits;
            ++c;
        }
    }
    if (c == piece.end && digits > 0 && mantissa <= exactFloatIntegers && fractionDigits <= 10) {
        const float value = static_cast<float>(mantissa) / exactPowersOfTen[fractionDigits];
        return negative ? -value : value;
    }
    return std::stof(piece.str());
}

// std::stoi of the piece; an optional sign and up to nine digits fit an int.
long long toIndex(Span piece) {
    const char* c = piece.begin;
    bool negative = false;
    if (c != piece.end && (*c == '-' || *c == '+')) {
        negative = *c == '-';
        ++c;
    }
    long long value = 0;
    int digits = 0;
    while (c != piece.end && isDigit(*c) && digits < 9) {
        value = value * 10 + (*c - '0');
        ++digits;
        ++c;
    }
    if (c == piece.end && digits > 0) {
        return negative ? -value : value;
    }
    return std::stoi(piece.str());
}

// resolveObjIndex on a range.
template <typename Element>
const Element& resolve(const std::vector<Element>& list, Span indexText) {
    long long n = toIndex(indexText);
    const long long size = static_cast<long long>(list.size());
    n = n < 0 ? n + size : n - 1;
    if (n < 0 || n >= size) {
        throw IndexOutOfRange();
    }
    return list[static_cast<std::size_t>(n)];
}

// Components that a short "v", "vt" or "vn" line leaves out stay 0. Only
// the blank separates the numbers.
Vector3 readVector3(Span arguments) {
    Vector3 v;
    int n = 0;
    forEachPiece(arguments, ' ', [&](Span piece) {
        if (n == 0) {
            v.x = toFloat(piece);
        } else if (n == 1) {
            v.y = toFloat(piece);
        } else if (n == 2) {
            v.z = toFloat(piece);
        }
        ++n;
    });
    return v;
}

Vector2 readVector2(Span arguments) {
    Vector2 v;
    int n = 0;
    forEachPiece(arguments, ' ', [&](Span piece) {
        if (n == 0) {
            v.x = toFloat(piece);
        } else if (n == 1) {
            v.y = toFloat(piece);
        }
        ++n;
    });
    return v;
}

// The corners of a face line's arguments, appended to corners.
void readFace(Span arguments, const std::vector<Vector3>& positions, const std::vector<Vector2>& texCoords,
              const std::vector<Vector3>& normals, std::vector<Vertex>& corners) {
    bool lacksNormals = false;
    forEachPiece(arguments, ' ', [&](Span piece) {
        // An empty piece (two blanks in a row) is no corner at all.
        if (piece.empty()) {
            return;
        }
        // The corner's form follows from how many parts "/" cuts it into;
        // parts after the third are ignored.
        Span parts[3] = {};
        std::size_t count = 0;
        forEachPiece(piece, '/', [&](Span part) {
            if (count < 3) {
                parts[count] = part;
            }
            ++count;
        });
        Vertex corner;
        corner.position = resolve(positions, parts[0]);
        if (count == 1) {
            lacksNormals = true;
        } else if (count == 2) {
            corner.texCoord = resolve(texCoords, parts[1]);
            lacksNormals = true;
        } else if (parts[1].empty()) {
            corner.normal = resolve(normals, parts[2]);
        } else {
            corner.texCoord = resolve(texCoords, parts[1]);
            corner.normal = resolve(normals, parts[2]);
        }
        corners.push_back(corner);
    });

    // A face that lacks a normal anywhere gets the normal of its first three
    // corners on every corner. It is left unnormalised; a face of fewer than
    // three corners has none to compute and keeps zero normals.
    if (lacksNormals && corners.size() >= 3) {
        const Vector3 normal = crossProduct(corners[0].position - corners[1].position,
                                            corners[2].position - corners[1].position);
        for (Vertex& corner : corners) {
            corner.normal = normal;
        }
    }
}

// True when the quadrilateral's four positions are distinct numbers, so that
// triangulateFace gives 0, 1, 3 and 1, 2, 3.
bool isPlainQuad(const std::vector<Vertex>& corners) {
    for (std::size_t i = 0; i < 4; ++i) {
        // A NaN component makes a position unequal even to itself.
        if (!(corners[i].position == corners[i].position)) {
            return false;
        }
        for (std::size_t j = i + 1; j < 4; ++j) {
            if (corners[i].position == corners[j].position) {
                return false;
            }
        }
    }
    return true;
}

void write(const char* text) {
    std::fputs(text, stdout);
}

void write(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void write(std::size_t count) {
    char digits[24];
    char* const end = digits + sizeof digits;
    char* first = end;
    do {
        *--first = static_cast<char>('0' + count % 10);
        count /= 10;
    } while (count != 0);
    std::fwrite(first, 1, static_cast<std::size_t>(end - first), stdout);
}

}  // namespace

std::vector<Vertex> ModelLoader::buildFaceVertices(const std::vector<Vector3>& positions,
                                                   const std::vector<Vector2>& texCoords,
                                                   const std::vector<Vector3>& normals, std::string line) {
    std::vector<Vertex> corners;
    readFace(argumentsOf({line.data(), line.data() + line.size()}), positions, texCoords, normals, corners);
    return corners;
}

bool ModelLoader::loadObjResource(int objResourceId, int mtlResourceId) {
    // Resource ids are 16-bit on Windows; the native table gets the same id.
    // The bytes stay where the platform keeps them: nothing is copied.
    const ResourceBytes bytes = platformTextResource(objResourceId & 0xFFFF);
    const char* next = bytes.size != 0 ? bytes.data : nullptr;
    const char* const textEnd = next != nullptr ? next + bytes.size : nullptr;

    meshes.clear();
    vertices.clear();
    indices.clear();

    std::vector<Vector3> positions;
    std::vector<Vector2> texCoords;
    std::vector<Vector3> normals;
    // The current mesh's vertices and indices are the tails of the loader's
    // lists from these positions on; a mesh gets its own copy when it is
    // closed.
    std::size_t meshStart = 0;
    std::size_t meshIndexStart = 0;
    std::vector<std::string> materialNames;
    bool objectSeen = false;
    std::string meshName;
    unsigned progress = ProgressInterval;
    std::vector<Vertex> corners;
    std::vector<std::uint32_t> faceIndices;
    std::string unusualLine;

    // A mesh has geometry when it has both vertices and indices.
    auto hasGeometry = [&] { return vertices.size() > meshStart && indices.size() > meshIndexStart; };
    auto closeMesh = [&](std::string name) {
        meshes.emplace_back();
        Mesh& mesh = meshes.back();
        mesh.name = std::move(name);
        mesh.vertices.assign(vertices.begin() + static_cast<std::ptrdiff_t>(meshStart), vertices.end());
        // The mesh's indices count from its own first vertex.
        const auto offset = static_cast<std::uint32_t>(meshStart);
        mesh.indices.assign(indices.begin() + static_cast<std::ptrdiff_t>(meshIndexStart), indices.end());
        for (std::uint32_t& index : mesh.indices) {
            index -= offset;
        }
        meshStart = vertices.size();
        meshIndexStart = indices.size();
    };

    // Lines up to each LF, without it; a last line without an LF counts
    // when it is not empty.
    while (next != textEnd) {
        const auto* lf =
            static_cast<const char*>(std::memchr(next, '\n', static_cast<std::size_t>(textEnd - next)));
        Span line = {next, lf != nullptr ? lf : textEnd};
        next = lf != nullptr ? lf + 1 : textEnd;

        // Each CR goes together with the character after it; at the end of a
        // CR LF line that is the CR alone. A line with a CR anywhere else is
        // cut on a copy of its own.
        const auto* cr = static_cast<const char*>(std::memchr(line.begin, '\r', line.size()));
        if (cr != nullptr) {
            if (cr + 1 == line.end) {
                line.end = cr;
            } else {
                unusualLine.assign(line.begin, line.end);
                for (std::size_t at = unusualLine.find('\r'); at != std::string::npos;
                     at = unusualLine.find('\r', at)) {
                    unusualLine.erase(at, 2);
                }
                line = {unusualLine.data(), unusualLine.data() + unusualLine.size()};
            }
        }

        progress = (progress + 1) % ProgressInterval;
        if (progress == 1 && !meshName.empty()) {
            write("\r- ");
            write(meshName);
            write("\t| vertices > ");
            write(positions.size());
            write("\t| texcoords > ");
            write(texCoords.size());
            write("\t| normals > ");
            write(normals.size());
            write("\t| triangles > ");
            write((vertices.size() - meshStart) / 3);
            if (!materialNames.empty()) {
                write("\t| material: ");
                write(materialNames.back());
            }
        }

        const Span keyword = keywordOf(line);

        // Any line that starts with "g" counts as a group line too.
        const bool namesObject = keyword.is("o") || keyword.is("g");
        if (namesObject || (!line.empty() && line.begin[0] == 'g')) {
            if (!objectSeen) {
                // Geometry read before the first object line becomes part of
                // its mesh.
                objectSeen = true;
                meshName = namesObject ? argumentsOf(line).str() : "unnamed";
            } else if (hasGeometry()) {
                closeMesh(meshName);
                meshName = argumentsOf(line).str();
            } else {
                meshName = namesObject ? argumentsOf(line).str() : "unnamed";
            }
            write("\n");
            progress = 0;
        }

        if (keyword.is("v")) {
            positions.push_back(readVector3(argumentsOf(line)));
        } else if (keyword.is("vt")) {
            texCoords.push_back(readVector2(argumentsOf(line)));
        } else if (keyword.is("vn")) {
            normals.push_back(readVector3(argumentsOf(line)));
        } else if (keyword.is("f")) {
            corners.clear();
            readFace(argumentsOf(line), positions, texCoords, normals, corners);
            vertices.insert(vertices.end(), corners.begin(), corners.end());
            const auto cornerCount = static_cast<std::uint32_t>(corners.size());
            const auto base = static_cast<std::uint32_t>(vertices.size()) - cornerCount;
            // Triangles and plain quadrilaterals, the faces of nearly every
            // model, need no ear clipping.
            if (cornerCount == 3) {
                faceIndices.assign({0, 1, 2});
            } else if (cornerCount == 4 && isPlainQuad(corners)) {
                faceIndices.assign({0, 1, 3, 1, 2, 3});
            } else {
                faceIndices = triangulateFace(corners);
            }
            for (std::uint32_t corner : faceIndices) {
                indices.push_back(base + corner);
            }
        } else if (keyword.is("usemtl")) {
            materialNames.push_back(argumentsOf(line).str());
            // A material change inside an object closes the geometry so far
            // under the object's name with "_2" added; the name stays.
            if (hasGeometry()) {
                closeMesh(meshName + "_2");
            }
            progress = 0;
        } else if (keyword.is("mtllib")) {
            // Whatever file the line names, the model's one material text is
            // parsed, again for every such line.
            loadMtlResource(mtlResourceId);
        }
    }

    write("\n");
    if (hasGeometry()) {
        closeMesh(meshName);
    }

    // The i-th "usemtl" name goes to the i-th mesh closed, whichever mesh
    // followed it; names without a mesh of their position bind nothing.
    for (std::size_t i = 0; i < materialNames.size() && i < meshes.size(); ++i) {
        for (const Material& material : materials) {
            if (material.name == materialNames[i]) {
                meshes[i].material = material;
                break;
            }
        }
    }

    return !(meshes.empty() && vertices.empty() && indices.empty());
}

}  // namespace objl
