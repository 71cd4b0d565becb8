#pragma once
// Private to file_util: what its shared half (file_util.cpp) and its halves
// for one platform (file_util_posix.cpp, file_util_win32.cpp; the build takes
// one) need from each other.

#include <cstddef>
#include <filesystem>
#include <string>

#include "file_util.h"

namespace file_platform {

// One read or write call moves at most this much; the loops go on from there.
inline constexpr size_t MaxTransfer = size_t{1} << 30;

// Shared: throws what a failed TOpenFile says, kind being what the opened
// descriptor turned out to be (Missing when nothing was opened).
[[noreturn]] void ThrowOpenFailure(const std::string& path, TOpenFile::TAccess access, TLinks links, TFileKind kind);

// Per platform:
// The characters that end a folder name in a path: '/'; on Windows '\\', '/'
// and a drive's ':'.
extern const char NameSeparators[];

// This process's id, as the names of temporary files carry it.
unsigned long ThisProcess();

// Whether no process of this id runs (any more).
bool ProcessIsGone(unsigned long id);

// Moves the file from into the place of to: over an existing file with
// Replace; with Keep only while the name is free. Returns false when Keep
// found the name taken; throws EFCreateError naming to when the move failed.
bool MoveIntoPlace(const std::string& from, const std::string& to, TExisting existing);

// Whether a file is at path that may not be written: made read-only by its
// owner, or one this process may not write (another's, on a read-only file
// system).
bool ReadOnly(const std::string& path);

// A system path as the program spells paths (the reverse of SystemPath).
std::string ProgramPath(const std::filesystem::path& path);

}  // namespace file_platform
