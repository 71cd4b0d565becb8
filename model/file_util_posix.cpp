// file_util on POSIX systems: descriptors, stat and rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <system_error>

#include "errors.h"
#include "file_platform.h"
#include "file_util.h"

using namespace file_platform;

namespace {

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

// Whether a file's permission bits say that its owner made it read-only:
// root, who may write it all the same, leaves it alone too.
bool MadeReadOnly(mode_t mode)
{
    return !(mode & S_IWUSR);
}

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

const char file_platform::NameSeparators[] = "/";

unsigned long file_platform::ThisProcess()
{
    return static_cast<unsigned long>(getpid());
}

bool file_platform::ProcessIsGone(unsigned long id)
{
    if (id > static_cast<unsigned long>(std::numeric_limits<pid_t>::max()))
        return true;
    return kill(static_cast<pid_t>(id), 0) != 0 && errno == ESRCH;
}

bool file_platform::MoveIntoPlace(const std::string& from, const std::string& to, TExisting existing)
{
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
    throw EFCreateError(to);
}

bool file_platform::ReadOnly(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return false;
    return MadeReadOnly(info.st_mode) || faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

std::string file_platform::ProgramPath(const std::filesystem::path& path)
{
    return path.native();
}

std::filesystem::path SystemPath(const std::string& path)
{
    return path;
}

TFileKind KindOf(const std::string& path, TLinks links)
{
    struct stat info {};
    const int result = links == TLinks::Follow ? stat(path.c_str(), &info) : lstat(path.c_str(), &info);
    if (result == 0)
        return KindOfMode(info.st_mode);
    return errno == ELOOP ? TFileKind::LinkLoop : TFileKind::Missing;
}

TOpenFile::TOpenFile(const std::string& path, TAccess access, TLinks links) : Path(path)
{
    TFileKind kind = TFileKind::Missing;
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
    ThrowOpenFailure(path, access, links, kind);
}

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

bool SyncFolder(const std::string& dir)
{
    const int fd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // A file system that cannot sync a folder says so with EINVAL: its
    // entries are as safe as it makes them.
    const bool synced = fsync(fd) == 0 || errno == EINVAL;
    close(fd);
    return synced;
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::equivalent(SystemPath(a), SystemPath(b), error);
}
