#pragma once
// The working copy in ProjectDir and the in-place write-back of one glow.
//
// The working copy is a regular file of its own inside ProjectDir: a
// symbolic link, a named pipe, a device or a folder in its place is refused
// (EWorkingCopyRefused names the path and what is there), so that nothing is
// read or written outside ProjectDir and nothing waits. The editor remembers
// the working copy's identity after it read it and after each of its writes;
// a write finds the file the same or writes nothing.

#include <string>

#include "file_util.h"

struct TEngineGlow;

// Makes the working copy of the chosen file: sets OptFileName to its file name
// and copies it to ProjectDir + OptFileName unless a file of that name exists.
// The copy appears there whole or not at all; a file that another program
// puts there meanwhile is kept and used, as an existing copy is. On Windows
// also clears every attribute of the chosen file but archive. Throws
// EWorkingCopyRefused, and what CopyFileStream throws.
void CopyOpt(const std::string& chosenPath);

// Copies source to target whole, through a temporary file beside target, so
// target never holds a partial copy. With TExisting::Keep a target that
// exists when the copy is done is left alone (the result is false).
// Throws EFOpenError (source), EFCreateError (target), EInOutError,
// EFileChanged (source).
bool CopyFileStream(const std::string& source, const std::string& target,
                    TExisting existing = TExisting::Replace);

// Writes the 68 bytes FilePos + 4 .. FilePos + 71 of glow into the file at
// path, in place, and returns the file's identity after the write. Never
// changes the file's size and never writes outside the glow's block. With
// expected, the file must still be the one it describes. Throws EFOpenError,
// ENotAFile, EFileChanged (not as expected: nothing written), EInOutError
// "Cannot write file <path>" (the block does not lie inside the file, or the
// write failed).
TFileIdentity WriteGlow(const std::string& path, const TEngineGlow& glow, const TFileIdentity* expected = nullptr,
                        TLinks links = TLinks::Follow);

// Reads the working copy ProjectDir + OptFileName into TheModel (as
// TheReader.ReadOpt) and remembers its identity. Throws what ReadOpt throws,
// EWorkingCopyRefused.
void ReadWorkingCopy();

// Throws EFileChanged ("The working copy <path> changed on disk since it was
// opened; ...") unless the working copy is still the file that the editor
// last read or wrote, and when nothing was read since the last CopyOpt.
void CheckWorkingCopy();

// WriteGlow of glow into the working copy, after CheckWorkingCopy (on the
// opened file); remembers the identity after the write. Throws as WriteGlow
// and CheckWorkingCopy, EWorkingCopyRefused.
void WriteWorkingCopyGlow(const TEngineGlow& glow);

// WriteWorkingCopyGlow of DialogGlow; nothing when DialogGlow is not set.
void WriteDialogGlow();
