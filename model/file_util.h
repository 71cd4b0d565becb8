#pragma once
// Whole-file reads and writes with every byte count checked. A file is open
// only for the length of one call.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// All bytes of path, read at once.
// Throws EFOpenError (cannot open, or not a regular file), EInOutError (read
// failed).
std::vector<uint8_t> ReadWholeFile(const std::string& path);

// The bytes of a regular file, for the object's life. Where the platform maps
// files they are mapped read-only: no copy is made and the pages are the
// system's file cache, shared, not the program's own memory. Elsewhere (or
// when mapping fails) they are read into memory. Another program cutting the
// file short while it is mapped would end this one (SIGBUS): map only for
// the length of one read. Throws as ReadWholeFile.
class TFileBytes {
public:
    explicit TFileBytes(const std::string& path);
    ~TFileBytes();
    TFileBytes(const TFileBytes&) = delete;
    TFileBytes& operator=(const TFileBytes&) = delete;
    std::span<const uint8_t> Bytes() const { return {Data, Size}; }

private:
    const uint8_t* Data = nullptr;
    size_t Size = 0;
    void* Mapping = nullptr;
    std::vector<uint8_t> Copy;
};

// Creates path (an existing file is emptied) and writes size bytes.
// Throws EFCreateError (cannot create), EInOutError (short or failed write).
void WriteWholeFile(const std::string& path, const void* data, size_t size);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// Creates one folder level; the outcome is not reported.
void CreateDirQuietly(const std::string& path);
