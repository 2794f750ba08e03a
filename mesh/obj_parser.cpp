// The OBJ parse: positions, texture coordinates, normals and faces grouped
// into meshes, with a progress report on standard output.

#include <iostream>
#include <string>

#include "mesh/objl.h"

namespace objl {

namespace {

// Components that a short "v", "vt" or "vn" line leaves out stay 0.
Vector3 readVector3(const std::string& line) {
    const std::vector<std::string> pieces = splitByDelimiter(lineArguments(line), " ");
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
    const std::vector<std::string> pieces = splitByDelimiter(lineArguments(line), " ");
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

}  // namespace

std::vector<Vertex> ModelLoader::buildFaceVertices(const std::vector<Vector3>& positions,
                                                   const std::vector<Vector2>& texCoords,
                                                   const std::vector<Vector3>& normals, std::string line) {
    std::vector<Vertex> corners;
    bool lacksNormals = false;
    for (const std::string& piece : splitByDelimiter(lineArguments(line), " ")) {
        const std::vector<std::string> parts = splitByDelimiter(piece, "/");
        // An empty piece (two blanks in a row) is no corner at all. Parts
        // after the third are ignored.
        if (parts.empty()) {
            continue;
        }
        Vertex corner;
        corner.position = resolveObjIndex(positions, parts[0]);
        if (parts.size() == 1) {
            lacksNormals = true;
        } else if (parts.size() == 2) {
            corner.texCoord = resolveObjIndex(texCoords, parts[1]);
            lacksNormals = true;
        } else if (parts[1].empty()) {
            corner.normal = resolveObjIndex(normals, parts[2]);
        } else {
            corner.texCoord = resolveObjIndex(texCoords, parts[1]);
            corner.normal = resolveObjIndex(normals, parts[2]);
        }
        corners.push_back(corner);
    }

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
    return corners;
}

bool ModelLoader::loadObjResource(int objResourceId, int mtlResourceId) {
    std::vector<std::string> lines;
    if (!readResourceLines(objResourceId, lines)) {
        return false;
    }

    meshes.clear();
    vertices.clear();
    indices.clear();

    std::vector<Vector3> positions;
    std::vector<Vector2> texCoords;
    std::vector<Vector3> normals;
    std::vector<Vertex> meshVertices;
    std::vector<std::uint32_t> meshIndices;
    std::vector<std::string> materialNames;
    bool objectSeen = false;
    std::string meshName;
    unsigned progress = ProgressInterval;

    auto closeMesh = [&](const std::string& name) {
        Mesh mesh(meshVertices, meshIndices);
        mesh.name = name;
        meshes.push_back(mesh);
        meshVertices.clear();
        meshIndices.clear();
    };

    for (std::string line : lines) {
        // Each CR goes together with the character after it; at the end of a
        // CR LF line that is the CR alone.
        for (std::size_t cr = line.find('\r'); cr != std::string::npos; cr = line.find('\r', cr)) {
            line.erase(cr, 2);
        }

        progress = (progress + 1) % ProgressInterval;
        if (progress == 1 && !meshName.empty()) {
            std::cout << "\r- " << meshName << "\t| vertices > " << positions.size() << "\t| texcoords > "
                      << texCoords.size() << "\t| normals > " << normals.size() << "\t| triangles > "
                      << meshVertices.size() / 3;
            if (!materialNames.empty()) {
                std::cout << "\t| material: " << materialNames.back();
            }
        }

        const std::string keyword = lineKeyword(line);

        // Any line that starts with "g" counts as a group line too.
        const bool namesObject = keyword == "o" || keyword == "g";
        if (namesObject || (!line.empty() && line[0] == 'g')) {
            if (!objectSeen) {
                // Geometry read before the first object line becomes part of
                // its mesh.
                objectSeen = true;
                meshName = namesObject ? lineArguments(line) : "unnamed";
            } else if (hasGeometry(meshVertices, meshIndices)) {
                closeMesh(meshName);
                meshName = lineArguments(line);
            } else {
                meshName = namesObject ? lineArguments(line) : "unnamed";
            }
            std::cout << "\n";
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
                vertices.push_back(corner);
            }
            const auto cornerCount = static_cast<std::uint32_t>(corners.size());
            const auto meshBase = static_cast<std::uint32_t>(meshVertices.size()) - cornerCount;
            const auto loaderBase = static_cast<std::uint32_t>(vertices.size()) - cornerCount;
            for (std::uint32_t corner : triangulateFace(corners)) {
                meshIndices.push_back(meshBase + corner);
                indices.push_back(loaderBase + corner);
            }
        } else if (keyword == "usemtl") {
            materialNames.push_back(lineArguments(line));
            // A material change inside an object closes the geometry so far
            // under the object's name with "_2" added; the name stays.
            if (hasGeometry(meshVertices, meshIndices)) {
                closeMesh(meshName + "_2");
            }
            progress = 0;
        } else if (keyword == "mtllib") {
            // Whatever file the line names, the model's one material text is
            // parsed, again for every such line.
            loadMtlResource(mtlResourceId);
        }
    }

    std::cout << "\n";
    if (hasGeometry(meshVertices, meshIndices)) {
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
