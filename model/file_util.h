#pragma once
// The program's file access: every file it reads or writes is opened here
// (TOpenFile), without waiting (a named pipe never blocks), and checked to be
// a regular file on the opened descriptor. A file is open only for the length
// of one call. Whole files are read by TFileBytes (file_bytes.h).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

// A path as the system's file calls take it. The program's paths are UTF-8
// (as Qt gives them); Windows' narrow calls would read them in the ANSI code
// page and miss every name outside it, so there it is UTF-16 (c_str() is what
// the ...W calls take). Elsewhere the bytes as they are.
std::filesystem::path SystemPath(const std::string& path);

// What a file is as the system reports it: another program that replaces,
// cuts, grows or writes it gives it another identity (as far as the file
// system's timestamps tell writes apart; on Linux they do to the nanosecond
// for a file whose time was looked at). The status-change time counts too: a
// program that writes the file and sets its modification time back (touch -r,
// cp -p) cannot set that one. On Windows: volume, file index, size, last
// write and change time in 100 ns.
struct TFileIdentity {
    uint64_t Device = 0;
    uint64_t Inode = 0;
    int64_t Size = 0;
    int64_t ModifiedSeconds = 0;
    int64_t ModifiedNanoseconds = 0;
    int64_t ChangedSeconds = 0;
    int64_t ChangedNanoseconds = 0;
    bool operator==(const TFileIdentity&) const = default;
};

// Whether a symbolic link (on Windows a reparse point) as the last component
// of a path is followed. Folders on the way are always followed.
enum class TLinks { Follow, Refuse };

// What a path names, its last component followed or not. LinkLoop: links
// that lead round to themselves, which name no file though the path is there.
enum class TFileKind { Missing, Regular, Link, LinkLoop, Pipe, Device, Folder, Socket, Other };
TFileKind KindOf(const std::string& path, TLinks links);

// "a symbolic link", "a loop of symbolic links", "a named pipe", "a device",
// "a folder", "a socket", "not a regular file" (Regular and Missing: "a
// file", "missing").
std::string KindText(TFileKind kind);

// An open regular file; the one place that opens a file by its name.
class TOpenFile {
public:
    // Patching: an existing file, read and written in place. Creating: a
    // file made here, for writing; a file or link already at path is an error.
    enum TAccess { Reading, Patching, Creating };
    // Throws EFOpenError, ENotAFile; when Creating, EFCreateError.
    TOpenFile(const std::string& path, TAccess access, TLinks links);
    ~TOpenFile();
    TOpenFile(const TOpenFile&) = delete;
    TOpenFile& operator=(const TOpenFile&) = delete;

    // The file's identity now. Throws EInOutError "Cannot read file <path>".
    TFileIdentity Identity() const;
    // Reads up to size bytes at the current position; fewer only at the end
    // of the file. Throws EInOutError "Cannot read file <path>".
    size_t Read(uint8_t* buffer, size_t size);
    // Reads up to size bytes at pos, leaving the current position; fewer only
    // at the end of the file. Throws EInOutError "Cannot read file <path>".
    size_t ReadAt(int64_t pos, uint8_t* buffer, size_t size);
    // Writes all size bytes at pos; false when the write failed or was short.
    bool WriteAt(int64_t pos, const uint8_t* data, size_t size);
    // Writes what the system still holds for the file to the disk; false
    // when that failed.
    bool Sync();
    // Gives the file the permission bits of the regular file at other, when
    // there is one (POSIX; on Windows nothing).
    void TakePermissionsOf(const std::string& other);
    // Closes the file; false when closing reported an error. With after, the
    // identity the file has once closed goes there (on Windows looked at
    // after the close: NTFS sets the last write time again when a file that
    // was written is closed).
    bool Close(TFileIdentity* after = nullptr);

private:
    std::string Path;
#ifdef _WIN32
    void* Handle;
#else
    int Fd;
#endif
};

// What WriteWholeFile does with a file already at the path.
enum class TExisting { Replace, Keep };

// Writes bytes as the whole file at path through a temporary file created
// beside it and moved into place whole, so path never holds a partial file:
// a failed write leaves what was there before. With Replace the new file takes
// the place of an existing one and keeps its permissions (a read-only one is
// left alone: Cannot create);
// with Keep, a file that is at path when the move comes is left as it is and
// the result is false. Throws EFCreateError "Cannot create file <path>" (the
// temporary file or the move), EInOutError "Cannot write file <path>".
bool WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes, TExisting existing);

// Writes the folder dir's entries (a file made, moved or removed there) to
// the disk, where the system offers that; false when it failed. On Windows
// a move written through (as WriteWholeFile's) needs nothing more, and the
// folder's flush is only tried.
bool SyncFolder(const std::string& dir);

// The file that a write to path reaches: path itself, or, where path is a
// symbolic link, the end of its chain of links, which need not exist yet (a
// write through a link replaces its target, not the link). Throws
// EFCreateError naming path for a chain that goes round.
std::string ThroughLinks(const std::string& path);

// Removes from the folder dir the temporary files of WriteWholeFile whose
// process is gone (killed while it wrote one); those of a running process
// stay. Failures are ignored.
void RemoveOrphanedTemporaryFiles(const std::string& dir);

// The platform's path separator, used after folder names.
#ifdef _WIN32
inline constexpr char PathDelim = '\\';
#else
inline constexpr char PathDelim = '/';
#endif

// Writes bytes as the file target that the user chose for an export: through
// a link there (ThroughLinks), whole, an earlier file replaced (WriteWholeFile
// with Replace). First removes from that folder the temporary files of
// exports killed there. Throws as ThroughLinks and WriteWholeFile.
void WriteExport(const std::string& target, std::span<const uint8_t> bytes);

// The file name part of a path as the platform defines it: on POSIX what
// follows the last '/'; on Windows what follows the last '\\', '/' or drive ':'.
std::string FileNamePart(const std::string& path);

// What precedes the file name part of a path, its last separator included;
// empty for a bare name.
std::string FolderPart(const std::string& path);

// Whether a and b name the same file or folder, links followed; false when
// either names nothing.
bool SameFile(const std::string& a, const std::string& b);

// Whether path names a regular file or a folder, links followed.
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// True when a new file can be made in the folder dir (trailing separator):
// one with a name of its own is created, without following a link, and
// removed again. Trying is the one test that holds everywhere (permission
// bits, ACLs, read-only mounts).
bool CanCreateFileIn(const std::string& dir);

// Has a write past the process's file-size limit (ulimit -f) fail as any
// failed write does (EFBIG, "File too large"), where the system would end the
// program at once with SIGXFSZ. Each program calls it first thing.
void FailWritesPastTheFileSizeLimit();

// Creates one folder level; the outcome is not reported.
void CreateDirQuietly(const std::string& path);
