#pragma once
// The working copy in ProjectDir and the in-place write-back of one glow.

#include <cstdint>
#include <span>
#include <string>

struct TEngineGlow;
struct TModel;

// The file name part of a path as the platform defines it: on POSIX what
// follows the last '/'; on Windows what follows the last '\\', '/' or drive ':'.
std::string FileNamePart(const std::string& path);

// Makes the working copy of the chosen file: sets OptFileName to its file name
// and copies it to ProjectDir + OptFileName unless a file of that name exists.
// On Windows also clears every attribute of the chosen file but archive.
// Throws what CopyFileStream throws.
void CopyOpt(const std::string& chosenPath);

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
TExistingCopy LookAtExistingCopy(const std::string& chosenPath);

// Whether a working copy holds the model of the chosen file, edits aside:
// both are the same size and every byte is equal except within the
// written-back bytes of the glows read from the copy (copyModel).
bool HoldsSameModel(std::span<const uint8_t> copy, std::span<const uint8_t> chosen, const TModel& copyModel);

// Copies source to target whole. On any failure the partial target is removed.
// Throws EFOpenError (source), EFCreateError (target), EInOutError.
void CopyFileStream(const std::string& source, const std::string& target);

// Writes the 68 bytes FilePos + 4 .. FilePos + 71 of glow into the file at
// path, in place. Never changes the file's size and never writes outside the
// glow's block. Throws EFOpenError, EInOutError "Cannot write file <path>"
// (the block does not lie inside the file, or the write failed).
void WriteGlow(const std::string& path, const TEngineGlow& glow);

// WriteGlow of DialogGlow into ProjectDir + OptFileName; nothing when
// DialogGlow is not set.
void WriteDialogGlow();
