#include "file_util.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "errors.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::vector<uint8_t> ReadWholeFile(const std::string& path)
{
    std::error_code ec;
    // A directory or a device may open for reading but is no file to read,
    // and opening a named pipe would wait for a writer: look first.
    if (!std::filesystem::is_regular_file(path, ec))
        throw EFOpenError(path);
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw EFOpenError(path);
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        throw EInOutError::Read(path);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        throw EInOutError::Read(path);
    return bytes;
}

TFileBytes::TFileBytes(const std::string& path)
{
#ifndef _WIN32
    // Without O_NONBLOCK, opening a named pipe would wait for a writer.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0)
            close(fd);
        throw EFOpenError(path);
    }
    Size = static_cast<size_t>(info.st_size);
    if (Size > 0) {
        int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
        flags |= MAP_POPULATE;  // one call maps every page instead of a fault per page
#endif
        void* const mapping = mmap(nullptr, Size, PROT_READ, flags, fd, 0);
        if (mapping != MAP_FAILED) {
            Mapping = mapping;
            Data = static_cast<const uint8_t*>(mapping);
        }
    }
    close(fd);
    if (Mapping || Size == 0)
        return;
#endif
    Copy = ReadWholeFile(path);
    Data = Copy.data();
    Size = Copy.size();
}

TFileBytes::~TFileBytes()
{
#ifndef _WIN32
    if (Mapping)
        munmap(Mapping, Size);
#endif
}

void WriteWholeFile(const std::string& path, const void* data, size_t size)
{
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file)
        throw EFCreateError(path);
    const bool written = size == 0 || std::fwrite(data, 1, size, file.get()) == size;
    // fclose flushes: a full disk shows up here.
    if (std::fclose(file.release()) != 0 || !written)
        throw EInOutError::Write(path);
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool DirectoryExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

void CreateDirQuietly(const std::string& path)
{
    std::error_code ec;
    std::filesystem::create_directory(path, ec);
}
