// file_util on Windows: handles and the wide-character calls, so that every
// name in UTF-8 reaches the file system as it is.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <utility>

#include "errors.h"
#include "file_platform.h"
#include "file_util.h"

using namespace file_platform;

namespace {

TFileKind KindOfAttributes(DWORD attributes, TLinks links)
{
    if (links == TLinks::Refuse && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return TFileKind::Link;  // every reparse point: the working copy must be a file of its own
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return TFileKind::Folder;
    if (attributes & FILE_ATTRIBUTE_DEVICE)
        return TFileKind::Device;
    return TFileKind::Regular;
}

int64_t Join(DWORD high, DWORD low)
{
    return static_cast<int64_t>((uint64_t(high) << 32) | low);
}

// The volume and the file index of what path names, a folder included;
// nothing when it names nothing.
std::optional<std::pair<DWORD, int64_t>> FileIndex(const std::string& path)
{
    const HANDLE handle = CreateFileW(SystemPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    if (!known)
        return std::nullopt;
    return std::pair{info.dwVolumeSerialNumber, Join(info.nFileIndexHigh, info.nFileIndexLow)};
}

}  // namespace

const char file_platform::NameSeparators[] = "\\/:";

unsigned long file_platform::ThisProcess()
{
    return GetCurrentProcessId();
}

bool file_platform::ProcessIsGone(unsigned long id)
{
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
    if (!process)
        return GetLastError() == ERROR_INVALID_PARAMETER;
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

bool file_platform::MoveIntoPlace(const std::string& from, const std::string& to, TExisting existing)
{
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (existing == TExisting::Replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (MoveFileExW(SystemPath(from).c_str(), SystemPath(to).c_str(), flags))
        return true;
    const DWORD error = GetLastError();
    if (existing == TExisting::Keep && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS))
        return false;
    throw EFCreateError(to);
}

bool file_platform::ReadOnly(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

std::string file_platform::ProgramPath(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::filesystem::path SystemPath(const std::string& path)
{
    return std::u8string(path.begin(), path.end());
}

TFileKind KindOf(const std::string& path, TLinks links)
{
    const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return TFileKind::Missing;
    // The attributes are the link's own: only following it tells a loop.
    if (links == TLinks::Follow && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        const HANDLE target = CreateFileW(SystemPath(path).c_str(), 0, share, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (target == INVALID_HANDLE_VALUE && GetLastError() == ERROR_CANT_RESOLVE_FILENAME)
            return TFileKind::LinkLoop;
        if (target != INVALID_HANDLE_VALUE)
            CloseHandle(target);
    }
    return KindOfAttributes(attributes, links);
}

TOpenFile::TOpenFile(const std::string& path, TAccess access, TLinks links) : Path(path)
{
    TFileKind kind = TFileKind::Missing;
    const DWORD desired = access == Reading    ? GENERIC_READ
                          : access == Patching ? GENERIC_READ | GENERIC_WRITE
                                               : GENERIC_WRITE;
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (links == TLinks::Refuse ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    Handle = CreateFileW(SystemPath(path).c_str(), desired, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         access == Creating ? CREATE_NEW : OPEN_EXISTING, flags, nullptr);
    if (Handle != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION info{};
        const DWORD type = GetFileType(Handle);
        kind = type == FILE_TYPE_PIPE                          ? TFileKind::Pipe
               : type != FILE_TYPE_DISK                        ? TFileKind::Device
               : !GetFileInformationByHandle(Handle, &info) ? TFileKind::Other
                                                               : KindOfAttributes(info.dwFileAttributes, links);
        if (kind == TFileKind::Regular)
            return;
        CloseHandle(Handle);
        Handle = INVALID_HANDLE_VALUE;
    }
    ThrowOpenFailure(path, access, links, kind);
}

TFileIdentity TOpenFile::Identity() const
{
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO times{};
    if (!GetFileInformationByHandle(Handle, &info) ||
        !GetFileInformationByHandleEx(Handle, FileBasicInfo, &times, sizeof times))
        throw EInOutError::Read(Path);
    const int64_t ticks = Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    const int64_t changed = times.ChangeTime.QuadPart;
    return {info.dwVolumeSerialNumber,
            static_cast<uint64_t>(Join(info.nFileIndexHigh, info.nFileIndexLow)),
            Join(info.nFileSizeHigh, info.nFileSizeLow),
            ticks / 10'000'000,
            ticks % 10'000'000 * 100,
            changed / 10'000'000,
            changed % 10'000'000 * 100};
}

size_t TOpenFile::Read(uint8_t* buffer, size_t size)
{
    size_t got = 0;
    while (got < size) {
        DWORD n = 0;
        if (!ReadFile(Handle, buffer + got, static_cast<DWORD>(std::min(size - got, MaxTransfer)), &n, nullptr))
            throw EInOutError::Read(Path);
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

size_t TOpenFile::ReadAt(int64_t pos, uint8_t* buffer, size_t size)
{
    size_t got = 0;
    while (got < size) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(uint64_t(pos) + got);
        at.OffsetHigh = static_cast<DWORD>((uint64_t(pos) + got) >> 32);
        DWORD n = 0;
        if (!ReadFile(Handle, buffer + got, static_cast<DWORD>(std::min(size - got, MaxTransfer)), &n, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                break;
            throw EInOutError::Read(Path);
        }
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

bool TOpenFile::WriteAt(int64_t pos, const uint8_t* data, size_t size)
{
    for (size_t done = 0; done < size;) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(uint64_t(pos) + done);
        at.OffsetHigh = static_cast<DWORD>((uint64_t(pos) + done) >> 32);
        DWORD n = 0;
        if (!WriteFile(Handle, data + done, static_cast<DWORD>(std::min(size - done, MaxTransfer)), &n, &at) || n == 0)
            return false;
        done += n;
    }
    return true;
}

bool TOpenFile::Sync()
{
    return FlushFileBuffers(Handle) != 0;
}

void TOpenFile::TakePermissionsOf(const std::string&) {}

bool TOpenFile::Close(TFileIdentity* after)
{
    if (Handle == INVALID_HANDLE_VALUE)
        return true;
    const bool closed = CloseHandle(Handle) != 0;
    Handle = INVALID_HANDLE_VALUE;
    if (after)
        *after = TOpenFile(Path, Reading, TLinks::Follow).Identity();
    return closed;
}

bool SyncFolder(const std::string& dir)
{
    const HANDLE folder = CreateFileW(SystemPath(dir).c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder != INVALID_HANDLE_VALUE) {
        FlushFileBuffers(folder);
        CloseHandle(folder);
    }
    return true;
}

bool SameFile(const std::string& a, const std::string& b)
{
    // std::filesystem::equivalent asks the C library's stat first, which
    // finds no folder spelt with its trailing separator (as the folders here
    // are): the file system's own index has no such gap.
    const auto first = FileIndex(a);
    return first && first == FileIndex(b);
}
