#include "working_copy.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "copy_content.h"
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

// Takes the open working copy for the file the editor last read or wrote,
// or throws EFileChanged: by its identity, or, where only that changed, by
// its bytes, whose identity it then remembers.
void Recognise(TOpenModel& open, TOpenFile& file)
{
    const TFileIdentity identity = file.Identity();
    if (identity == open.KnownCopy->Identity)
        return;
    // The same once more after the read: a write meanwhile is a change.
    if (!HoldsModel(file, open.KnownCopy->Frame, open.Model) || !(file.Identity() == identity))
        ChangedOnDisk(open);
    open.KnownCopy->Identity = identity;
}

// Removes the record of an unfinished write into the working copy at path,
// which a fresh copy in its place makes meaningless.
void RemoveRecordOf(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove(SystemPath(RecordPath(path, TLinks::Refuse)), ignored);
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
    // The record of a write into a copy that is gone is nothing of the new one's.
    if (CopyFileStream(chosenPath, workingCopy, TExisting::Keep))
        RemoveRecordOf(workingCopy);
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

TFileIdentity WriteGlowPatches(const std::string& path, std::span<const TGlowPatch> patches,
                               const TFileIdentity* expected, TLinks links)
{
    TOpenFile file(path, TOpenFile::Patching, links);
    const TFileIdentity identity = file.Identity();
    if (expected && !(identity == *expected))
        throw EFileChanged::SinceRead(path);
    const std::vector<TGlowBytes> held = HeldGlowBytes(file, path, identity.Size, patches);
    PatchGlowBlocks(file, path, RecordPath(path, links), patches, held);
    // Closing may report a failed write that the write call did not.
    TFileIdentity after;
    if (!file.Close(&after))
        throw EInOutError::Write(path);
    return after;
}

TFileIdentity WriteGlow(const std::string& path, const TEngineGlow& glow, const TFileIdentity* expected, TLinks links)
{
    const TGlowPatch patch{glow.FilePos, EncodeGlowWriteBack(glow)};
    return WriteGlowPatches(path, {&patch, 1}, expected, links);
}

void ReadWorkingCopy(TOpenModel& open)
{
    open.KnownCopy.reset();
    TCopyFrame frame;
    const TFileIdentity identity = OnWorkingCopy(open, [&] {
        return open.Reader.ReadOpt(open.WorkingCopyPath(), open.Model, TLinks::Refuse,
                                   [&](std::span<const uint8_t> bytes) { frame = FrameOf(bytes, open.Model); });
    });
    open.KnownCopy = TKnownCopy{identity, frame};
}

TTakeBack TakeBackWorkingCopy(const TOpenModel& open)
{
    return OnWorkingCopy(open, [&] { return TakeBackUnfinishedWrite(open.WorkingCopyPath(), TLinks::Refuse); });
}

void ReplaceWorkingCopy(const std::string& chosenPath, const std::string& copyPath)
{
    CopyFileStream(chosenPath, copyPath);
    RemoveRecordOf(copyPath);
}

void ExportWorkingCopy(const TOpenModel& open, const std::string& target)
{
    std::optional<TFileBytes> copy;
    OnWorkingCopy(open, [&] { copy.emplace(open.WorkingCopyPath(), TLinks::Refuse); });
    // Another editor may have put another model there since: exported, it
    // would take the place of the user's file.
    if (!open.KnownCopy || (!(copy->Identity() == open.KnownCopy->Identity) &&
                            !HoldsModel(copy->Bytes(), open.KnownCopy->Frame, open.Model)))
        ChangedOnDisk(open);
    WriteExport(target, copy->Bytes());
}

std::vector<TGlowBytes> PatchWorkingCopyGlows(TOpenModel& open, std::span<const TGlowPatch> patches)
{
    if (!open.KnownCopy)
        ChangedOnDisk(open);
    return OnWorkingCopy(open, [&] {
        const std::string path = open.WorkingCopyPath();
        // One open serves the check, the bytes held and the write. A copy
        // that cannot be written is looked at all the same: bytes it holds
        // already are not written again (Close on a glow left as it was).
        std::optional<TOpenFile> file;
        std::exception_ptr unwritable;
        try {
            file.emplace(path, TOpenFile::Patching, TLinks::Refuse);
        } catch (const ENotAFile&) {
            throw;
        } catch (const EFOpenError&) {
            unwritable = std::current_exception();
            file.emplace(path, TOpenFile::Reading, TLinks::Refuse);
        }
        Recognise(open, *file);
        const std::vector<TGlowBytes> held = HeldGlowBytes(*file, path, open.KnownCopy->Frame.Size, patches);
        if (!WritesAnything(patches, held))
            return held;
        if (unwritable)
            std::rethrow_exception(unwritable);
        PatchGlowBlocks(*file, path, RecordPath(path, TLinks::Refuse), patches, held);
        TFileIdentity after;
        if (!file->Close(&after))
            throw EInOutError::Write(path);
        open.KnownCopy->Identity = after;
        return held;
    });
}
