#pragma once
// The OPT reader: turns one OPT file into the content of TheModel and remembers
// where each engine glow's data block lies, for the in-place write-back.

#include <cstdint>
#include <string>
#include <vector>

class OPTInFile {
public:
    // Empties TheModel and fills it from the OPT file at path.
    // Throws EFOpenError "Cannot open file <path>" when the file cannot be
    // opened (TheModel stays empty), and EOptDamaged naming the path when a
    // read would leave the file (what was read before stays in TheModel).
    void ReadOpt(const std::string& path);

    // Capacities of the node tables; entries beyond them are ignored.
    static constexpr int MaxTopLevel = 70;
    static constexpr int MaxMeshChildren = 50;
    static constexpr int MaxGroupChildren = 50;
    static constexpr int MaxLods = 4;
    static constexpr int MaxFaceNodes = 100;
};

// The one reader of the program.
extern OPTInFile TheReader;
