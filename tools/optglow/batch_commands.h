#pragma once
// The commands for work across models: glows, diff and apply. Each takes its
// command line (the command name first) and returns its exit code; errors are
// thrown (UsageError for a malformed command line).

#include <iosfwd>
#include <string>
#include <vector>

namespace optglow {

int GlowsCommand(const std::vector<std::string>& args, std::ostream& out);
int DiffCommand(const std::vector<std::string>& args, std::ostream& out);
int ApplyCommand(const std::vector<std::string>& args, std::ostream& out);

}  // namespace optglow
