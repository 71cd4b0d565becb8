#pragma once
// The working copy in the open model's ProjectDir and the in-place write-back
// of glows.
//
// The working copy is a regular file of its own inside ProjectDir: a
// symbolic link, a named pipe, a device or a folder in its place is refused
// (EWorkingCopyRefused names the path and what is there), so that nothing is
// read or written outside ProjectDir and nothing waits. The editor remembers
// the working copy (its identity and what it holds, copy_content.h) after it
// read it and after each of its writes; a write finds the file the same or
// writes nothing.

#include <cstdint>
#include <span>
#include <string>

#include "file_util.h"
#include "glow_patch.h"
#include "glow_record.h"

struct TEngineGlow;
struct TModel;
struct TOpenModel;

// Makes the working copy of the chosen file: sets open's OptFileName to its file name
// and copies it to ProjectDir + OptFileName unless a file of that name exists.
// First removes from ProjectDir the temporary files of editors killed while
// they wrote there.
// The copy appears there whole or not at all; a file that another program
// puts there meanwhile is kept and used, as an existing copy is. On Windows
// also clears every attribute of the chosen file but archive. Throws
// EFOpenError for a path that names no file (it ends in a separator),
// EWorkingCopyRefused, and what CopyFileStream throws.
void CopyOpt(TOpenModel& open, const std::string& chosenPath);

// What a working copy that is already in ProjectDir under the chosen file's
// name holds, looked at before CopyOpt. Fits: nothing to ask (no copy yet,
// the chosen file itself, the same model as the chosen file, something that
// is not a regular file, which CopyOpt deals with, or a chosen file that
// cannot be read, whose copy is used as it always was). OtherModel: the copy
// holds another model. Unreadable: the copy cannot be read; Problem says why.
struct TExistingCopy {
    enum TKind { Fits, OtherModel, Unreadable } Kind = Fits;
    std::string Problem;
};
TExistingCopy LookAtExistingCopy(const TOpenModel& open, const std::string& chosenPath);

// Whether a working copy holds the model of the chosen file, edits aside:
// both are the same size and every byte is equal except within the
// written-back bytes of the glows read from the copy (copyModel).
bool HoldsSameModel(std::span<const uint8_t> copy, std::span<const uint8_t> chosen, const TModel& copyModel);

// Copies source to target whole, through a temporary file beside target, so
// target never holds a partial copy. With TExisting::Keep a target that
// exists when the copy is done is left alone (the result is false).
// Throws EFOpenError (source), EFCreateError (target), EInOutError,
// EFileChanged (source).
bool CopyFileStream(const std::string& source, const std::string& target,
                    TExisting existing = TExisting::Replace);

// Writes the patches into the file at path in place, all or nothing
// (glow_patch.h: several blocks through a record beside the file), and
// returns the file's identity after the write. Never changes the file's size
// and never writes outside the blocks; bytes the file holds already are not
// written again. With expected, the file must still be the one it describes.
// Throws EFOpenError, ENotAFile, EFileChanged (not as expected: nothing
// written), what HeldGlowBytes and PatchGlowBlocks throw.
TFileIdentity WriteGlowPatches(const std::string& path, std::span<const TGlowPatch> patches,
                               const TFileIdentity* expected = nullptr, TLinks links = TLinks::Follow);

// WriteGlowPatches of glow's values at its FilePos.
TFileIdentity WriteGlow(const std::string& path, const TEngineGlow& glow, const TFileIdentity* expected = nullptr,
                        TLinks links = TLinks::Follow);

// Reads the working copy ProjectDir + OptFileName into open's Model (with its
// Reader) and remembers it (its identity and frame). Throws what ReadOpt
// throws, EWorkingCopyRefused.
void ReadWorkingCopy(TOpenModel& open);

// Puts back what an unfinished write into the working copy changed
// (TakeBackUnfinishedWrite), before it is read. Throws as that,
// EWorkingCopyRefused.
TTakeBack TakeBackWorkingCopy(const TOpenModel& open);

// Replaces the working copy at copyPath with a copy of the chosen file
// (CopyFileStream); the record of an unfinished write into the old copy goes
// with it.
void ReplaceWorkingCopy(const std::string& chosenPath, const std::string& copyPath);

// Writes the working copy whole as the file target (WriteExport: a link there
// written through, an earlier file replaced), provided it still holds what
// the editor last read or wrote. Throws EFileChanged ("The working copy <path>
// changed on disk since it was opened; ...": nothing written),
// EWorkingCopyRefused, what TFileBytes and WriteExport throw.
void ExportWorkingCopy(const TOpenModel& open, const std::string& target);

// Writes the patches into the working copy (PatchGlowBlocks: all or nothing)
// and returns the bytes the file held at each patch's block before. The copy
// is opened once, and must be the file the editor last read or wrote: its
// identity then, or, where that changed without a change of its bytes (a
// chmod to the same mode, a hard link), its bytes then, whose identity is
// taken from now on; otherwise EFileChanged ("The working copy <path> changed
// on disk since it was opened; ...") and nothing written. Remembers the
// identity after the write. A copy that cannot be written fails only where a
// block would change. Throws as WriteGlowPatches, EWorkingCopyRefused.
std::vector<TGlowBytes> PatchWorkingCopyGlows(TOpenModel& open, std::span<const TGlowPatch> patches);
