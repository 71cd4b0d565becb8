#pragma once
// The commands for work across models: glows, diff and apply. Each takes its
// command line (the command name first) and returns its exit code; errors are
// thrown (UsageError for a malformed command line), warnings go to err.

#include <iosfwd>
#include <string>
#include <vector>

#include "file_util.h"

struct TModel;

namespace optglow {

int GlowsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int DiffCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int ApplyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Reads the OPT file at path into model as every command does, and says on
// err what the reader left out. Returns the file's identity as read.
TFileIdentity ReadModel(const std::string& path, TModel& model, std::ostream& err);

// For a command that only reads path: says on err that the record of an
// unfinished write lies beside it (glow_patch.h), if one does; changes nothing.
void NoteUnfinishedWrite(const std::string& path, std::ostream& err);

// Before a command writes into path: takes back an unfinished write recorded
// beside it and says so on err. Throws when a record is there that the file
// no longer matches or that cannot be read (both are left alone), and what
// TakeBackUnfinishedWrite throws.
void TakeBackBeforeWriting(const std::string& path, std::ostream& err);

}  // namespace optglow
