#pragma once

// The OBJ parse written the plain way, line by line with string pieces and
// the standard conversions, exactly as the loader did before its parse was
// made fast. It is the yardstick of the fast parse: the tests, the mesh
// loader's fuzz target and the loader benchmark run both and expect the
// same outcome, bit for bit.

#include <string>

#include "mesh/objl.h"

// Fills loader as ModelLoader::loadObjResource does, with the same result,
// the same errors and the same progress report on standard output.
bool referenceLoadObjResource(objl::ModelLoader& loader, int objResourceId, int mtlResourceId);

// What one parse gave: its result or the error it raised, the loader's
// lists and the progress report.
struct ObjParseOutcome {
    bool result = false;
    // Empty when the parse returned; otherwise the error's kind and text.
    std::string error;
    objl::ModelLoader loader;
    std::string report;
};

// Runs the fast parse (ModelLoader::loadObjResource) or the reference on a
// fresh loader, with standard output caught.
ObjParseOutcome runObjParse(bool reference, int objResourceId, int mtlResourceId);

// Empty when both outcomes are the same bit for bit; otherwise what first
// differs.
std::string describeDifference(const ObjParseOutcome& fast, const ObjParseOutcome& reference);
