#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <cstdint>
#include <string>
#include <vector>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, with a trailing separator.
    const std::string& Path() const { return Dir; }
    // Path() + name.
    std::string File(const std::string& name) const { return Dir + name; }

private:
    std::string Dir;
};

std::vector<uint8_t> ReadBytes(const std::string& path);
