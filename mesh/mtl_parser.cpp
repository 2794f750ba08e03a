// The MTL parse: one material per "newmtl" block, appended to the loader.

#include <string>

#include "mesh/objl.h"

namespace objl {

namespace {

// A colour line needs exactly three pieces; any other count leaves the
// colour as it was.
void readColour(const std::string& line, Vector3& colour) {
    const std::vector<std::string> pieces = splitByDelimiter(lineArguments(line), " ");
    if (pieces.size() != 3) {
        return;
    }
    colour.x = std::stof(pieces[0]);
    colour.y = std::stof(pieces[1]);
    colour.z = std::stof(pieces[2]);
}

}  // namespace

bool ModelLoader::loadMtlResource(int mtlResourceId) {
    std::vector<std::string> lines;
    if (!readResourceLines(mtlResourceId, lines)) {
        return false;
    }

    Material material;
    bool named = false;
    // Unlike the OBJ parse, CRs stay in the lines: the conversions stop
    // before them, and the name and map fields trim them off.
    for (const std::string& line : lines) {
        const std::string keyword = lineKeyword(line);
        if (keyword == "newmtl") {
            // Lines before the first "newmtl" set the first material.
            if (named) {
                materials.push_back(material);
                material = Material();
            }
            named = true;
            // The length counts the whole line as read, leading white space
            // and a CR included.
            material.name = line.size() > 7 ? trimTrailingNewlines(lineArguments(line)) : "none";
        } else if (keyword == "Ka") {
            readColour(line, material.ambient);
        } else if (keyword == "Kd") {
            readColour(line, material.diffuse);
        } else if (keyword == "Ks") {
            readColour(line, material.specular);
        } else if (keyword == "Ns") {
            material.specularExponent = std::stof(lineArguments(line));
        } else if (keyword == "Ni") {
            material.opticalDensity = std::stof(lineArguments(line));
        } else if (keyword == "d") {
            material.dissolve = std::stof(lineArguments(line));
        } else if (keyword == "illum") {
            material.illumination = std::stoi(lineArguments(line));
        } else if (keyword == "map_Ka") {
            material.ambientMap = trimTrailingNewlines(lineArguments(line));
        } else if (keyword == "map_Kd") {
            material.diffuseMap = trimTrailingNewlines(lineArguments(line));
        } else if (keyword == "map_Ks") {
            material.specularMap = trimTrailingNewlines(lineArguments(line));
        } else if (keyword == "map_Ns") {
            material.specularExponentMap = trimTrailingNewlines(lineArguments(line));
        } else if (keyword == "map_d") {
            material.alphaMap = trimTrailingNewlines(lineArguments(line));
        } else if (keyword == "map_Bump" || keyword == "map_bump" || keyword == "bump") {
            material.bumpMap = trimTrailingNewlines(lineArguments(line));
        }
    }

    // The material under construction always ends the list, so a text
    // without "newmtl" still gives one (unnamed) material.
    materials.push_back(material);
    return true;
}

}  // namespace objl
