#include "working_copy.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "errors.h"
#include "file_bytes.h"
#include "glow_record.h"
#include "model.h"
#include "open_model.h"
#include "opt_file_io.h"

namespace {

#ifdef _WIN32
// Clears every attribute of the chosen file but archive (read-only, hidden and
// system would get in the way of later opens); failures do not matter.
void KeepArchiveAttributeOnly(const std::string& path)
{
    const std::filesystem::path name = SystemPath(path);
    DWORD attributes = GetFileAttributesW(name.c_str());
    // An unreadable attribute set leaves archive alone: ~0 masked is 0x20.
    SetFileAttributesW(name.c_str(), attributes & FILE_ATTRIBUTE_ARCHIVE);
}
#endif

// Runs an operation on the working copy, saying in its own words what is
// wrong with it.
template <typename Operation>
auto OnWorkingCopy(const TOpenModel& open, const Operation& operation)
{
    try {
        return operation();
    } catch (const ENotAFile& e) {
        throw EWorkingCopyRefused(open.WorkingCopyPath(), e.Kind);
    }
}

[[noreturn]] void ChangedOnDisk(const TOpenModel& open)
{
    throw EFileChanged("The working copy " + open.WorkingCopyPath() +
                       " changed on disk since it was opened; nothing was written. Open it again to edit it");
}

// The written-back bytes of the glow block at filePos as the working copy
// holds them, once it is found to be the file the editor knows; nothing when
// the block does not lie inside it.
std::optional<TGlowBytes> HeldGlowBytes(const TOpenModel& open, int64_t filePos)
{
    return OnWorkingCopy(open, [&]() -> std::optional<TGlowBytes> {
        TOpenFile file(open.WorkingCopyPath(), TOpenFile::Reading, TLinks::Refuse);
        const TFileIdentity identity = file.Identity();
        if (!(identity == *open.KnownCopy))
            ChangedOnDisk(open);
        TGlowBytes held{};
        if (filePos < 0 || filePos + GlowRecordSize > identity.Size ||
            file.ReadAt(filePos + GlowWriteBackOffset, held.data(), held.size()) != held.size())
            return std::nullopt;
        return held;
    });
}

}  // namespace

void CopyOpt(TOpenModel& open, const std::string& chosenPath)
{
    // A path that ends in a separator names a folder, no file: the working
    // copy's name would be the project folder itself.
    if (FileNamePart(chosenPath).empty())
        throw EFOpenError(chosenPath);
#ifdef _WIN32
    KeepArchiveAttributeOnly(chosenPath);
#endif
    open.OptFileName = FileNamePart(chosenPath);
    open.KnownCopy.reset();
    RemoveOrphanedTemporaryFiles(open.ProjectDir);
    const std::string workingCopy = open.WorkingCopyPath();
    // An existing copy of that name keeps every edit made to it earlier; a
    // link or anything else there is no copy of ours.
    const TFileKind kind = KindOf(workingCopy, TLinks::Refuse);
    if (kind == TFileKind::Regular)
        return;
    if (kind != TFileKind::Missing)
        throw EWorkingCopyRefused(workingCopy, KindText(kind));
    // A copy that another program made meanwhile is used as an existing one.
    CopyFileStream(chosenPath, workingCopy, TExisting::Keep);
}

TExistingCopy LookAtExistingCopy(const TOpenModel& open, const std::string& chosenPath)
{
    const std::string copyPath = open.ProjectDir + FileNamePart(chosenPath);
    std::error_code ec;
    if (KindOf(copyPath, TLinks::Refuse) != TFileKind::Regular || std::filesystem::equivalent(SystemPath(chosenPath), SystemPath(copyPath), ec))
        return {};
    std::optional<TFileBytes> chosen;
    try {
        chosen.emplace(chosenPath);
    } catch (const std::exception&) {
        return {};  // a typed name of a file that is not there opens the copy of that name
    }
    try {
        const TFileBytes copy(copyPath, TLinks::Refuse);
        TModel copyModel;
        OPTInFile reader = open.Reader;  // the open model's bounds
        reader.ReadOpt(copy.Bytes(), copyPath, copyModel);
        const bool same = HoldsSameModel(copy.Bytes(), chosen->Bytes(), copyModel);
        return {same ? TExistingCopy::Fits : TExistingCopy::OtherModel, {}};
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

bool CopyFileStream(const std::string& source, const std::string& target, TExisting existing)
{
    // The source is read whole before the target is made, so a source that
    // cannot be opened or read leaves nothing behind.
    const TFileBytes bytes(source);
    return WriteWholeFile(target, bytes.Bytes(), existing);
}

TFileIdentity WriteGlowBytes(const std::string& path, int64_t filePos, const TGlowBytes& bytes,
                             const TFileIdentity* expected, TLinks links, TGlowBytes* before)
{
    TOpenFile file(path, TOpenFile::Patching, links);
    const TFileIdentity identity = file.Identity();
    if (expected && !(identity == *expected))
        throw EFileChanged::SinceRead(path);
    // The block must lie wholly inside the file: a position from another file
    // or a stale model must neither damage other data nor grow the file.
    if (filePos < 0 || filePos + GlowRecordSize > identity.Size)
        throw EInOutError::Write(path);
    const int64_t at = filePos + GlowWriteBackOffset;
    if (before && file.ReadAt(at, before->data(), before->size()) != before->size())
        throw EInOutError::Read(path);
    const bool written = file.WriteAt(at, bytes.data(), bytes.size());
    // Closing may report a failed write that the write call did not.
    TFileIdentity after;
    if (!file.Close(written ? &after : nullptr) || !written)
        throw EInOutError::Write(path);
    return after;
}

TFileIdentity WriteGlow(const std::string& path, const TEngineGlow& glow, const TFileIdentity* expected, TLinks links)
{
    return WriteGlowBytes(path, glow.FilePos, EncodeGlowWriteBack(glow), expected, links);
}

void ReadWorkingCopy(TOpenModel& open)
{
    open.KnownCopy.reset();
    open.KnownCopy =
        OnWorkingCopy(open, [&] { return open.Reader.ReadOpt(open.WorkingCopyPath(), open.Model, TLinks::Refuse); });
}

void CheckWorkingCopy(const TOpenModel& open)
{
    OnWorkingCopy(open, [&] {
        if (!open.KnownCopy ||
            !(TOpenFile(open.WorkingCopyPath(), TOpenFile::Patching, TLinks::Refuse).Identity() == *open.KnownCopy))
            ChangedOnDisk(open);
    });
}

void ExportWorkingCopy(const TOpenModel& open, const std::string& target)
{
    std::optional<TFileBytes> copy;
    OnWorkingCopy(open, [&] { copy.emplace(open.WorkingCopyPath(), TLinks::Refuse); });
    // Another editor may have put another model there since: exported, it
    // would take the place of the user's file.
    if (!open.KnownCopy || !(copy->Identity() == *open.KnownCopy))
        ChangedOnDisk(open);
    WriteExport(target, copy->Bytes());
}

TGlowBytes PatchWorkingCopyGlow(TOpenModel& open, int64_t filePos, const TGlowBytes& bytes)
{
    if (!open.KnownCopy)
        ChangedOnDisk(open);
    // Bytes the file holds already are not written again: the same bytes
    // would move the file's time (another editor would take the file for
    // changed) and fail on a working copy that cannot be written.
    if (const std::optional<TGlowBytes> held = HeldGlowBytes(open, filePos); held && *held == bytes)
        return *held;
    TGlowBytes before{};
    try {
        open.KnownCopy = OnWorkingCopy(open, [&] {
            return WriteGlowBytes(open.WorkingCopyPath(), filePos, bytes, &*open.KnownCopy, TLinks::Refuse, &before);
        });
    } catch (const EFileChanged&) {
        ChangedOnDisk(open);
    }
    return before;
}
