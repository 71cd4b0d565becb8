#include "working_copy.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "app_state.h"
#include "errors.h"
#include "file_util.h"
#include "glow_record.h"
#include "model.h"
#include "opt_file_io.h"

namespace {

#ifdef _WIN32
// Clears every attribute of the chosen file but archive (read-only, hidden and
// system would get in the way of later opens); failures do not matter.
void KeepArchiveAttributeOnly(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    // An unreadable attribute set leaves archive alone: ~0 masked is 0x20.
    SetFileAttributesA(path.c_str(), attributes & FILE_ATTRIBUTE_ARCHIVE);
}
#endif

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// A 64-bit seek: a glow near the 2 GB mark lies past what long holds on Windows.
bool SeekTo(std::FILE* file, int64_t position)
{
#ifdef _WIN32
    return _fseeki64(file, position, SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(position), SEEK_SET) == 0;
#endif
}

}  // namespace

std::string FileNamePart(const std::string& path)
{
#ifdef _WIN32
    const auto cut = path.find_last_of("\\/:");
#else
    const auto cut = path.find_last_of('/');
#endif
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

void CopyOpt(const std::string& chosenPath)
{
#ifdef _WIN32
    KeepArchiveAttributeOnly(chosenPath);
#endif
    OptFileName = FileNamePart(chosenPath);
    const std::string workingCopy = ProjectDir + OptFileName;
    // An existing copy of that name keeps every edit made to it earlier.
    if (FileExists(workingCopy))
        return;
    CopyFileStream(chosenPath, workingCopy);
}

TExistingCopy LookAtExistingCopy(const std::string& chosenPath)
{
    namespace fs = std::filesystem;
    const std::string copyPath = ProjectDir + FileNamePart(chosenPath);
    std::error_code ec;
    if (fs::symlink_status(copyPath, ec).type() != fs::file_type::regular || fs::equivalent(chosenPath, copyPath, ec))
        return {};
    std::vector<uint8_t> chosen;
    try {
        chosen = ReadWholeFile(chosenPath);
    } catch (const std::exception&) {
        return {};  // a typed name of a file that is not there opens the copy of that name
    }
    try {
        const std::vector<uint8_t> copy = ReadWholeFile(copyPath);
        TModel copyModel;
        TheReader.ReadOpt(copy, copyPath, copyModel);
        return {HoldsSameModel(copy, chosen, copyModel) ? TExistingCopy::Fits : TExistingCopy::OtherModel, {}};
    } catch (const std::exception& e) {
        return {TExistingCopy::Unreadable, e.what()};
    }
}

bool HoldsSameModel(std::span<const uint8_t> copy, std::span<const uint8_t> chosen, const TModel& copyModel)
{
    if (copy.size() != chosen.size())
        return false;
    // The glows' write-back bytes, in file order; everything between them
    // must be equal.
    std::vector<std::pair<size_t, size_t>> edited;
    for (const TOMesh& mesh : copyModel.Meshes)
        for (const TEngineGlow& glow : mesh.Glows) {
            const size_t from = std::min(size_t(std::max<int64_t>(0, glow.FilePos + GlowWriteBackOffset)), copy.size());
            edited.emplace_back(from, std::min(from + GlowWriteBackSize, copy.size()));
        }
    std::sort(edited.begin(), edited.end());
    size_t at = 0;
    const auto equalUpTo = [&](size_t end) {
        return end <= at || std::ranges::equal(copy.subspan(at, end - at), chosen.subspan(at, end - at));
    };
    for (const auto& [from, to] : edited) {
        if (!equalUpTo(from))
            return false;
        at = std::max(at, to);
    }
    return equalUpTo(copy.size());
}

void CopyFileStream(const std::string& source, const std::string& target)
{
    // The source is read whole before the target is created, so a source that
    // cannot be opened or read leaves no target behind.
    const std::vector<uint8_t> bytes = ReadWholeFile(source);
    try {
        WriteWholeFile(target, bytes.data(), bytes.size());
    } catch (const EFCreateError&) {
        throw;  // nothing was created
    } catch (...) {
        // A half-written copy would be taken for a good one by the next open.
        // Only a plain file is ours to remove, never a device or a folder.
        std::error_code ec;
        if (std::filesystem::is_regular_file(target, ec))
            std::filesystem::remove(target, ec);
        throw;
    }
}

void WriteGlow(const std::string& path, const TEngineGlow& glow)
{
    FilePtr file(std::fopen(path.c_str(), "r+b"));
    if (!file)
        throw EFOpenError(path);
    // The block must lie wholly inside the file: a position from another file
    // or a stale model must neither damage other data nor grow the file.
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    const int64_t start = glow.FilePos;
    if (ec || start < 0 || start + GlowRecordSize > static_cast<int64_t>(size))
        throw EInOutError::Write(path);

    const auto block = EncodeGlowWriteBack(glow);
    // fclose flushes the stream: a failed or short write may show up only there.
    const bool written = SeekTo(file.get(), start + GlowWriteBackOffset) &&
                         std::fwrite(block.data(), 1, block.size(), file.get()) == block.size();
    if (std::fclose(file.release()) != 0 || !written)
        throw EInOutError::Write(path);
}

void WriteDialogGlow()
{
    if (DialogGlow)
        WriteGlow(ProjectDir + OptFileName, *DialogGlow);
}
