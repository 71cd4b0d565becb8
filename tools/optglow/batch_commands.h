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

}  // namespace optglow
