// The half of file_util that is the same everywhere; file_util_posix.cpp and
// file_util_win32.cpp hold what each system does its own way.
#include "file_util.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <limits>
#include <string_view>
#include <system_error>

#include "errors.h"
#include "file_platform.h"

using namespace file_platform;

namespace {

// A temporary file's name: "." + the start of the name it becomes + Mark +
// "<process>-<clock>-<counter>" + Suffix.
constexpr std::string_view TemporaryMark = ".neg-", TemporarySuffix = ".tmp";

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

void RemoveQuietly(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove(SystemPath(path), ignored);
}

}  // namespace

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

void file_platform::ThrowOpenFailure(const std::string& path, TOpenFile::TAccess access, TLinks links, TFileKind kind)
{
    if (access == TOpenFile::Creating)
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
    const auto cut = path.find_last_of(NameSeparators);
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FolderPart(const std::string& path)
{
    return path.substr(0, path.size() - FileNamePart(path).size());
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
