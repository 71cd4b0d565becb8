#pragma once
// Small synthetic OPT files for the shell's tests.

#include <string>
#include <vector>

struct TMeshSpec {
    int Glows = 0;
    int Faces = 0;
};

// Writes an OPT file at path with one top-level mesh per entry, each with four
// vertices (coordinates between -30 and 45), its glows and its faces.
void WriteModel(const std::string& path, const std::vector<TMeshSpec>& meshes);
