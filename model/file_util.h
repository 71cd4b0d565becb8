#pragma once
// Whole-file reads and writes with every byte count checked. A file is open
// only for the length of one call.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// All bytes of path, read at once.
// Throws EFOpenError (cannot open), EInOutError (read failed).
std::vector<uint8_t> ReadWholeFile(const std::string& path);

// Creates path (an existing file is emptied) and writes size bytes.
// Throws EFCreateError (cannot create), EInOutError (short or failed write).
void WriteWholeFile(const std::string& path, const void* data, size_t size);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// Creates one folder level; the outcome is not reported.
void CreateDirQuietly(const std::string& path);
