#include "reference_obj_parser.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "window/platform.h"

namespace {

using objl::Material;
using objl::Mesh;
using objl::Vector2;
using objl::Vector3;
using objl::Vertex;

// Components that a short "v", "vt" or "vn" line leaves out stay 0.
Vector3 readVector3(const std::string& line) {
    const std::vector<std::string> pieces = objl::splitByDelimiter(objl::lineArguments(line), " ");
    Vector3 v;
    if (pieces.size() > 0) {
        v.x = std::stof(pieces[0]);
    }
    if (pieces.size() > 1) {
        v.y = std::stof(pieces[1]);
    }
    if (pieces.size() > 2) {
        v.z = std::stof(pieces[2]);
    }
    return v;
}

Vector2 readVector2(const std::string& line) {
    const std::vector<std::string> pieces = objl::splitByDelimiter(objl::lineArguments(line), " ");
    Vector2 v;
    if (pieces.size() > 0) {
        v.x = std::stof(pieces[0]);
    }
    if (pieces.size() > 1) {
        v.y = std::stof(pieces[1]);
    }
    return v;
}

bool hasGeometry(const std::vector<Vertex>& vertices, const std::vector<std::uint32_t>& indices) {
    return !vertices.empty() && !indices.empty();
}

std::vector<Vertex> buildFaceVertices(const std::vector<Vector3>& positions,
                                      const std::vector<Vector2>& texCoords,
                                      const std::vector<Vector3>& normals, const std::string& line) {
    std::vector<Vertex> corners;
    bool lacksNormals = false;
    for (const std::string& piece : objl::splitByDelimiter(objl::lineArguments(line), " ")) {
        const std::vector<std::string> parts = objl::splitByDelimiter(piece, "/");
        if (parts.empty()) {
            continue;
        }
        Vertex corner;
        corner.position = objl::resolveObjIndex(positions, parts[0]);
        if (parts.size() == 1) {
            lacksNormals = true;
        } else if (parts.size() == 2) {
            corner.texCoord = objl::resolveObjIndex(texCoords, parts[1]);
            lacksNormals = true;
        } else if (parts[1].empty()) {
            corner.normal = objl::resolveObjIndex(normals, parts[2]);
        } else {
            corner.texCoord = objl::resolveObjIndex(texCoords, parts[1]);
            corner.normal = objl::resolveObjIndex(normals, parts[2]);
        }
        corners.push_back(corner);
    }
    if (lacksNormals && corners.size() >= 3) {
        const Vector3 normal = objl::crossProduct(corners[0].position - corners[1].position,
                                                  corners[2].position - corners[1].position);
        for (Vertex& corner : corners) {
            corner.normal = normal;
        }
    }
    return corners;
}

// The resource text through a string stream, one line up to each LF.
bool readLines(int resourceId, std::vector<std::string>& lines) {
    const ResourceBytes bytes = platformTextResource(resourceId & 0xFFFF);
    try {
        std::istringstream stream(bytes.size != 0 ? std::string(bytes.data, bytes.size) : std::string());
        std::string line;
        while (std::getline(stream, line)) {
            lines.push_back(line);
        }
    } catch (const std::bad_alloc&) {
        lines.clear();
        return false;
    }
    return true;
}

void write(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace

bool referenceLoadObjResource(objl::ModelLoader& loader, int objResourceId, int mtlResourceId) {
    std::vector<std::string> lines;
    if (!readLines(objResourceId, lines)) {
        return false;
    }

    loader.meshes.clear();
    loader.vertices.clear();
    loader.indices.clear();

    std::vector<Vector3> positions;
    std::vector<Vector2> texCoords;
    std::vector<Vector3> normals;
    std::vector<Vertex> meshVertices;
    std::vector<std::uint32_t> meshIndices;
    std::vector<std::string> materialNames;
    bool objectSeen = false;
    std::string meshName;
    unsigned progress = objl::ProgressInterval;

    auto closeMesh = [&](const std::string& name) {
        Mesh mesh(meshVertices, meshIndices);
        mesh.name = name;
        loader.meshes.push_back(mesh);
        meshVertices.clear();
        meshIndices.clear();
    };

    for (std::string line : lines) {
        for (std::size_t cr = line.find('\r'); cr != std::string::npos; cr = line.find('\r', cr)) {
            line.erase(cr, 2);
        }

        progress = (progress + 1) % objl::ProgressInterval;
        if (progress == 1 && !meshName.empty()) {
            write("\r- " + meshName + "\t| vertices > " + std::to_string(positions.size()) +
                  "\t| texcoords > " + std::to_string(texCoords.size()) + "\t| normals > " +
                  std::to_string(normals.size()) + "\t| triangles > " +
                  std::to_string(meshVertices.size() / 3));
            if (!materialNames.empty()) {
                write("\t| material: " + materialNames.back());
            }
        }

        const std::string keyword = objl::lineKeyword(line);
        const bool namesObject = keyword == "o" || keyword == "g";
        if (namesObject || (!line.empty() && line[0] == 'g')) {
            if (!objectSeen) {
                objectSeen = true;
                meshName = namesObject ? objl::lineArguments(line) : "unnamed";
            } else if (hasGeometry(meshVertices, meshIndices)) {
                closeMesh(meshName);
                meshName = objl::lineArguments(line);
            } else {
                meshName = namesObject ? objl::lineArguments(line) : "unnamed";
            }
            write("\n");
            progress = 0;
        }

        if (keyword == "v") {
            positions.push_back(readVector3(line));
        } else if (keyword == "vt") {
            texCoords.push_back(readVector2(line));
        } else if (keyword == "vn") {
            normals.push_back(readVector3(line));
        } else if (keyword == "f") {
            const std::vector<Vertex> corners = buildFaceVertices(positions, texCoords, normals, line);
            for (const Vertex& corner : corners) {
                meshVertices.push_back(corner);
                loader.vertices.push_back(corner);
            }
            const auto cornerCount = static_cast<std::uint32_t>(corners.size());
            const auto meshBase = static_cast<std::uint32_t>(meshVertices.size()) - cornerCount;
            const auto loaderBase = static_cast<std::uint32_t>(loader.vertices.size()) - cornerCount;
            for (std::uint32_t corner : objl::ModelLoader::triangulateFace(corners)) {
                meshIndices.push_back(meshBase + corner);
                loader.indices.push_back(loaderBase + corner);
            }
        } else if (keyword == "usemtl") {
            materialNames.push_back(objl::lineArguments(line));
            if (hasGeometry(meshVertices, meshIndices)) {
                closeMesh(meshName + "_2");
            }
            progress = 0;
        } else if (keyword == "mtllib") {
            loader.loadMtlResource(mtlResourceId);
        }
    }

    write("\n");
    if (hasGeometry(meshVertices, meshIndices)) {
        closeMesh(meshName);
    }

    for (std::size_t i = 0; i < materialNames.size() && i < loader.meshes.size(); ++i) {
        for (const Material& material : loader.materials) {
            if (material.name == materialNames[i]) {
                loader.meshes[i].material = material;
                break;
            }
        }
    }

    return !(loader.meshes.empty() && loader.vertices.empty() && loader.indices.empty());
}

namespace {

std::string errorText(const char* kind, const std::exception& error) {
    return std::string(kind) + ": " + error.what();
}

bool sameBits(const void* a, const void* b, std::size_t size) {
    return std::memcmp(a, b, size) == 0;
}

bool sameVertices(const std::vector<Vertex>& a, const std::vector<Vertex>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const float fa[] = {a[i].position.x, a[i].position.y, a[i].position.z, a[i].normal.x,
                            a[i].normal.y,   a[i].normal.z,   a[i].texCoord.x, a[i].texCoord.y};
        const float fb[] = {b[i].position.x, b[i].position.y, b[i].position.z, b[i].normal.x,
                            b[i].normal.y,   b[i].normal.z,   b[i].texCoord.x, b[i].texCoord.y};
        if (!sameBits(fa, fb, sizeof fa)) {
            return false;
        }
    }
    return true;
}

bool sameMaterial(const Material& a, const Material& b) {
    const float fa[] = {a.ambient.x,  a.ambient.y,        a.ambient.z,  a.diffuse.x,
                        a.diffuse.y,  a.diffuse.z,        a.specular.x, a.specular.y,
                        a.specular.z, a.specularExponent, a.dissolve,   a.opticalDensity};
    const float fb[] = {b.ambient.x,  b.ambient.y,        b.ambient.z,  b.diffuse.x,
                        b.diffuse.y,  b.diffuse.z,        b.specular.x, b.specular.y,
                        b.specular.z, b.specularExponent, b.dissolve,   b.opticalDensity};
    return sameBits(fa, fb, sizeof fa) && a.name == b.name && a.illumination == b.illumination &&
           a.ambientMap == b.ambientMap && a.diffuseMap == b.diffuseMap && a.specularMap == b.specularMap &&
           a.specularExponentMap == b.specularExponentMap && a.alphaMap == b.alphaMap &&
           a.bumpMap == b.bumpMap;
}

}  // namespace

ObjParseOutcome runObjParse(bool reference, int objResourceId, int mtlResourceId) {
    ObjParseOutcome outcome;
    std::fflush(stdout);
    FILE* const saved = stdout;
    char* buffer = nullptr;
    std::size_t size = 0;
    FILE* const caught = open_memstream(&buffer, &size);
    if (caught == nullptr) {
        std::abort();
    }
    stdout = caught;
    try {
        outcome.result = reference ? referenceLoadObjResource(outcome.loader, objResourceId, mtlResourceId)
                                   : outcome.loader.loadObjResource(objResourceId, mtlResourceId);
    } catch (const objl::IndexOutOfRange& error) {
        outcome.error = errorText("index out of range", error);
    } catch (const std::invalid_argument& error) {
        outcome.error = errorText("invalid argument", error);
    } catch (const std::out_of_range& error) {
        outcome.error = errorText("out of range", error);
    } catch (const std::exception& error) {
        outcome.error = errorText("other error", error);
    }
    stdout = saved;
    std::fclose(caught);
    outcome.report.assign(buffer, size);
    std::free(buffer);
    return outcome;
}

std::string describeDifference(const ObjParseOutcome& fast, const ObjParseOutcome& reference) {
    if (fast.error != reference.error) {
        return "error: fast '" + fast.error + "', reference '" + reference.error + "'";
    }
    if (fast.result != reference.result) {
        return "result";
    }
    if (fast.report != reference.report) {
        return "progress report";
    }
    const objl::ModelLoader& a = fast.loader;
    const objl::ModelLoader& b = reference.loader;
    if (!sameVertices(a.vertices, b.vertices)) {
        return "loader vertices";
    }
    if (a.indices != b.indices) {
        return "loader indices";
    }
    if (a.materials.size() != b.materials.size()) {
        return "material count";
    }
    for (std::size_t i = 0; i < a.materials.size(); ++i) {
        if (!sameMaterial(a.materials[i], b.materials[i])) {
            return "material " + std::to_string(i);
        }
    }
    if (a.meshes.size() != b.meshes.size()) {
        return "mesh count: fast " + std::to_string(a.meshes.size()) + ", reference " +
               std::to_string(b.meshes.size());
    }
    for (std::size_t i = 0; i < a.meshes.size(); ++i) {
        const Mesh& ma = a.meshes[i];
        const Mesh& mb = b.meshes[i];
        if (ma.name != mb.name) {
            return "name of mesh " + std::to_string(i);
        }
        if (!sameVertices(ma.vertices, mb.vertices)) {
            return "vertices of mesh " + std::to_string(i);
        }
        if (ma.indices != mb.indices) {
            return "indices of mesh " + std::to_string(i);
        }
        if (!sameMaterial(ma.material, mb.material)) {
            return "material of mesh " + std::to_string(i);
        }
    }
    return std::string();
}
