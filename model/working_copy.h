#pragma once
// The working copy in ProjectDir and the in-place write-back of one glow.

#include <string>

struct TEngineGlow;

// The file name part of a path as the platform defines it: on POSIX what
// follows the last '/'; on Windows what follows the last '\\', '/' or drive ':'.
std::string FileNamePart(const std::string& path);

// Makes the working copy of the chosen file: sets OptFileName to its file name
// and copies it to ProjectDir + OptFileName unless a file of that name exists.
// On Windows also clears every attribute of the chosen file but archive.
// Throws what CopyFileStream throws.
void CopyOpt(const std::string& chosenPath);

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
