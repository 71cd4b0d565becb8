#include "file_util.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <limits>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "errors.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#endif

namespace {

// One read or write call moves at most this much; the loops go on from there.
constexpr size_t MaxTransfer = size_t{1} << 30;


#ifdef _WIN32
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
#else
TFileKind KindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return TFileKind::Regular;
    if (S_ISLNK(mode))
        return TFileKind::Link;
    if (S_ISFIFO(mode))
        return TFileKind::Pipe;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return TFileKind::Device;
    if (S_ISDIR(mode))
        return TFileKind::Folder;
    if (S_ISSOCK(mode))
        return TFileKind::Socket;
    return TFileKind::Other;
}
#endif

// A temporary file's name: "." + the start of the name it becomes + Mark +
// "<process>-<clock>-<counter>" + Suffix.
constexpr std::string_view TemporaryMark = ".neg-", TemporarySuffix = ".tmp";

unsigned long ThisProcess()
{
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<unsigned long>(getpid());
#endif
}

// A name beside path for a file that becomes path when it is whole: hidden,
// and unique to this process and call, so two editors never share one.
std::string TemporaryNameFor(const std::string& path)
{
    static std::atomic<unsigned> counter{0};
    const std::string name = FileNamePart(path);
    // Of a long name only the start, cut where a UTF-8 character begins, so
    // that a name within the file system's limit (255 bytes) stays within it.
    size_t kept = std::min<size_t>(name.size(), 64);
    while (kept < name.size() && (static_cast<unsigned char>(name[kept]) & 0xC0) == 0x80)
        --kept;
    const auto clock = std::chrono::steady_clock::now().time_since_epoch().count();
    return path.substr(0, path.size() - name.size()) + "." + name.substr(0, kept) + std::string(TemporaryMark) +
           std::to_string(ThisProcess()) + "-" + std::to_string(clock) + "-" + std::to_string(counter++) +
           std::string(TemporarySuffix);
}

// The process that made the temporary file of this name; 0 for a name that
// TemporaryNameFor does not make.
unsigned long MakerOfTemporary(const std::string& name)
{
    const size_t mark = name.rfind(TemporaryMark);
    if (!name.starts_with('.') || !name.ends_with(TemporarySuffix) || mark == std::string::npos)
        return 0;
    // Three decimal numbers joined by '-'.
    const char* at = name.data() + mark + TemporaryMark.size();
    const char* const end = name.data() + name.size() - TemporarySuffix.size();
    unsigned long long numbers[3] = {};
    for (int i = 0; i < 3; ++i) {
        if (i > 0 && (at == end || *at++ != '-'))
            return 0;
        const auto [next, error] = std::from_chars(at, end, numbers[i]);
        if (error != std::errc())
            return 0;
        at = next;
    }
    return at == end && numbers[0] <= std::numeric_limits<unsigned long>::max() ? static_cast<unsigned long>(numbers[0])
                                                                                  : 0;
}

// Whether no process of this id runs (any more).
bool ProcessIsGone(unsigned long id)
{
#ifdef _WIN32
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
    if (!process)
        return GetLastError() == ERROR_INVALID_PARAMETER;
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
#else
    if (id > static_cast<unsigned long>(std::numeric_limits<pid_t>::max()))
        return true;
    return kill(static_cast<pid_t>(id), 0) != 0 && errno == ESRCH;
#endif
}

// Moves the file from into the place of to: over an existing file with
// Replace; with Keep only while the name is free. Returns false when Keep
// found the name taken; throws EFCreateError naming to when the move failed.
bool MoveIntoPlace(const std::string& from, const std::string& to, TExisting existing)
{
#ifdef _WIN32
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (existing == TExisting::Replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (MoveFileExW(SystemPath(from).c_str(), SystemPath(to).c_str(), flags))
        return true;
    const DWORD error = GetLastError();
    if (existing == TExisting::Keep && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS))
        return false;
#else
    if (existing == TExisting::Replace) {
        if (std::rename(from.c_str(), to.c_str()) == 0)
            return true;
    } else {
        if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return true;
        // A file system without the no-replace rename: a hard link is
        // made only while the name is free, too. Without links either (FAT,
        // some network file systems) the name is looked at just before an
        // ordinary rename, which leaves a moment for another program.
        if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
            if (link(from.c_str(), to.c_str()) == 0) {
                unlink(from.c_str());
                return true;
            }
            if (errno != EEXIST && KindOf(to, TLinks::Refuse) == TFileKind::Missing &&
                std::rename(from.c_str(), to.c_str()) == 0)
                return true;
        }
        if (errno == EEXIST || KindOf(to, TLinks::Refuse) != TFileKind::Missing)
            return false;
    }
#endif
    throw EFCreateError(to);
}

#ifndef _WIN32
// Whether a file's permission bits say that its owner made it read-only:
// root, who may write it all the same, leaves it alone too.
bool MadeReadOnly(mode_t mode)
{
    return !(mode & S_IWUSR);
}
#endif

// Whether a file is at path that may not be written: made read-only by its
// owner, or one this process may not write (another's, on a read-only file
// system).
bool ReadOnly(const std::string& path)
{
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
#else
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return false;
    return MadeReadOnly(info.st_mode) || faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
#endif
}

void RemoveQuietly(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove(SystemPath(path), ignored);
}

// A system path as the program spells paths (the reverse of SystemPath).
std::string ProgramPath(const std::filesystem::path& path)
{
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
#else
    return path.native();
#endif
}

}  // namespace

std::filesystem::path SystemPath(const std::string& path)
{
#ifdef _WIN32
    return std::u8string(path.begin(), path.end());
#else
    return path;
#endif
}

bool CanCreateFileIn(const std::string& dir)
{
    const std::string probe = TemporaryNameFor(dir + "write-probe");
    try {
        TOpenFile(probe, TOpenFile::Creating, TLinks::Refuse).Close();
    } catch (const Exception&) {
        return false;
    }
    RemoveQuietly(probe);
    return true;
}

TFileKind KindOf(const std::string& path, TLinks links)
{
#ifdef _WIN32
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
#else
    struct stat info {};
    const int result = links == TLinks::Follow ? stat(path.c_str(), &info) : lstat(path.c_str(), &info);
    if (result == 0)
        return KindOfMode(info.st_mode);
    return errno == ELOOP ? TFileKind::LinkLoop : TFileKind::Missing;
#endif
}

std::string KindText(TFileKind kind)
{
    switch (kind) {
    case TFileKind::Missing: return "missing";
    case TFileKind::Regular: return "a file";
    case TFileKind::Link: return "a symbolic link";
    case TFileKind::LinkLoop: return "a loop of symbolic links";
    case TFileKind::Pipe: return "a named pipe";
    case TFileKind::Device: return "a device";
    case TFileKind::Folder: return "a folder";
    case TFileKind::Socket: return "a socket";
    case TFileKind::Other: break;
    }
    return "not a regular file";
}

TOpenFile::TOpenFile(const std::string& path, TAccess access, TLinks links) : Path(path)
{
    TFileKind kind = TFileKind::Missing;
#ifdef _WIN32
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
#else
    // Without O_NONBLOCK, opening a named pipe would wait for a writer.
    const int modes[] = {O_RDONLY, O_RDWR, O_WRONLY | O_CREAT | O_EXCL};
    const int flags = modes[access] | O_CLOEXEC | O_NONBLOCK | (links == TLinks::Refuse ? O_NOFOLLOW : 0);
    Fd = open(path.c_str(), flags, 0666);
    if (Fd >= 0) {
        struct stat info {};
        kind = fstat(Fd, &info) == 0 ? KindOfMode(info.st_mode) : TFileKind::Other;
        // A file made read-only is not patched, by root either (Windows
        // refuses such an open to everyone).
        if (kind == TFileKind::Regular && !(access == Patching && MadeReadOnly(info.st_mode)))
            return;
        close(Fd);
        Fd = -1;
    }
#endif
    if (access == Creating)
        throw EFCreateError(path);
    // Why the open failed, when the path names no file at all.
    if (kind == TFileKind::Missing)
        kind = KindOf(path, links);
    if (kind == TFileKind::Missing || kind == TFileKind::Regular)
        throw EFOpenError(path);
    throw ENotAFile(path, KindText(kind));
}

TOpenFile::~TOpenFile()
{
    Close();
}

#ifdef _WIN32
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
#else
TFileIdentity TOpenFile::Identity() const
{
    struct stat info {};
    if (fstat(Fd, &info) != 0)
        throw EInOutError::Read(Path);
    return {static_cast<uint64_t>(info.st_dev),       static_cast<uint64_t>(info.st_ino),
            static_cast<int64_t>(info.st_size),       static_cast<int64_t>(info.st_mtim.tv_sec),
            static_cast<int64_t>(info.st_mtim.tv_nsec), static_cast<int64_t>(info.st_ctim.tv_sec),
            static_cast<int64_t>(info.st_ctim.tv_nsec)};
}

namespace {

// Reads until size bytes or the end: readSome(got, count) reads at most count
// bytes after the got already read, as read or pread does.
template <typename ReadSome>
size_t ReadUntilFullOrEnd(size_t size, const std::string& path, const ReadSome& readSome)
{
    size_t got = 0;
    while (got < size) {
        const ssize_t n = readSome(got, std::min(size - got, MaxTransfer));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EInOutError::Read(path);
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    return got;
}

}  // namespace

size_t TOpenFile::Read(uint8_t* buffer, size_t size)
{
    return ReadUntilFullOrEnd(size, Path,
                              [&](size_t got, size_t count) { return read(Fd, buffer + got, count); });
}

size_t TOpenFile::ReadAt(int64_t pos, uint8_t* buffer, size_t size)
{
    return ReadUntilFullOrEnd(size, Path, [&](size_t got, size_t count) {
        return pread(Fd, buffer + got, count, static_cast<off_t>(pos + static_cast<int64_t>(got)));
    });
}

bool TOpenFile::WriteAt(int64_t pos, const uint8_t* data, size_t size)
{
    for (size_t done = 0; done < size;) {
        const off_t at = static_cast<off_t>(pos + static_cast<int64_t>(done));
        const ssize_t n = pwrite(Fd, data + done, std::min(size - done, MaxTransfer), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool TOpenFile::Sync()
{
    return fsync(Fd) == 0;
}

void TOpenFile::TakePermissionsOf(const std::string& other)
{
    struct stat info {};
    if (stat(other.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        fchmod(Fd, info.st_mode & 0777);
}

bool TOpenFile::Close(TFileIdentity* after)
{
    if (Fd < 0)
        return true;
    if (after)
        *after = Identity();
    // close() is not retried: the descriptor is gone whatever it reports.
    const bool closed = close(Fd) == 0;
    Fd = -1;
    return closed;
}
#endif

bool WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes, TExisting existing)
{
    // A file the user made read-only is not replaced behind its back.
    if (existing == TExisting::Replace && ReadOnly(path))
        throw EFCreateError(path);
    const std::string temporary = TemporaryNameFor(path);
    {
        TOpenFile file = [&] {
            try {
                return TOpenFile(temporary, TOpenFile::Creating, TLinks::Refuse);
            } catch (const EFCreateError&) {
                throw EFCreateError(path);
            }
        }();
        if (existing == TExisting::Replace)
            file.TakePermissionsOf(path);
        // Synced before the move, so that after a crash the name holds the
        // whole new file or the old one, never a file still being written.
        const bool written = file.WriteAt(0, bytes.data(), bytes.size()) && file.Sync();
        if (!file.Close() || !written) {
            RemoveQuietly(temporary);
            throw EInOutError::Write(path);
        }
    }
    try {
        if (MoveIntoPlace(temporary, path, existing))
            return true;
    } catch (...) {
        RemoveQuietly(temporary);
        throw;
    }
    RemoveQuietly(temporary);
    return false;
}

bool SyncFolder(const std::string& dir)
{
#ifdef _WIN32
    const HANDLE folder = CreateFileW(SystemPath(dir).c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder != INVALID_HANDLE_VALUE) {
        FlushFileBuffers(folder);
        CloseHandle(folder);
    }
    return true;
#else
    const int fd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // A file system that cannot sync a folder says so with EINVAL: its
    // entries are as safe as it makes them.
    const bool synced = fsync(fd) == 0 || errno == EINVAL;
    close(fd);
    return synced;
#endif
}

std::string ThroughLinks(const std::string& path)
{
    namespace fs = std::filesystem;
    fs::path at = SystemPath(path);
    // As many links as the system itself follows before it gives up.
    for (int links = 0; links <= 40; ++links) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(at, error)))
            return links == 0 ? path : ProgramPath(at);
        const fs::path target = fs::read_symlink(at, error);
        if (error)
            break;
        at = target.is_absolute() ? target : at.parent_path() / target;
    }
    throw EFCreateError(path);
}

void RemoveOrphanedTemporaryFiles(const std::string& dir)
{
    std::error_code error;
    for (std::filesystem::directory_iterator it(SystemPath(dir), error), end; !error && it != end; it.increment(error)) {
        const std::u8string name = it->path().filename().u8string();
        const unsigned long maker = MakerOfTemporary(std::string(name.begin(), name.end()));
        std::error_code ignored;
        if (maker != 0 && maker != ThisProcess() && ProcessIsGone(maker) &&
            it->symlink_status(ignored).type() == std::filesystem::file_type::regular)
            std::filesystem::remove(it->path(), ignored);
    }
}

void WriteExport(const std::string& target, std::span<const uint8_t> bytes)
{
    const std::string path = ThroughLinks(target);
    const std::string folder = FolderPart(path);
    RemoveOrphanedTemporaryFiles(folder.empty() ? "." : folder);
    WriteWholeFile(path, bytes, TExisting::Replace);
}

std::string FileNamePart(const std::string& path)
{
#ifdef _WIN32
    const auto cut = path.find_last_of("\\/:");
#else
    const auto cut = path.find_last_of('/');
#endif
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FolderPart(const std::string& path)
{
    return path.substr(0, path.size() - FileNamePart(path).size());
}

#ifdef _WIN32
namespace {

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
#endif

bool SameFile(const std::string& a, const std::string& b)
{
#ifdef _WIN32
    // std::filesystem::equivalent asks the C library's stat first, which
    // finds no folder spelt with its trailing separator (as the folders here
    // are): the file system's own index has no such gap.
    const auto first = FileIndex(a);
    return first && first == FileIndex(b);
#else
    std::error_code error;
    return std::filesystem::equivalent(SystemPath(a), SystemPath(b), error);
#endif
}

bool FileExists(const std::string& path)
{
    return KindOf(path, TLinks::Follow) == TFileKind::Regular;
}

bool DirectoryExists(const std::string& path)
{
    return KindOf(path, TLinks::Follow) == TFileKind::Folder;
}

void FailWritesPastTheFileSizeLimit()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

void CreateDirQuietly(const std::string& path)
{
    std::error_code ec;
    std::filesystem::create_directory(SystemPath(path), ec);
}
