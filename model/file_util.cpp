#include "file_util.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "errors.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::vector<uint8_t> ReadWholeFile(const std::string& path)
{
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw EFOpenError(path);
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        throw EInOutError::Read(path);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        throw EInOutError::Read(path);
    return bytes;
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
