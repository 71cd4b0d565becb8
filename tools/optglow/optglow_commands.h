#pragma once
// The commands of optglow, the command-line companion of the editor: dump a
// model as JSON, list, diff and apply glows, patch one glow in place, always
// through the same write-back the editor uses. main() only hands its arguments
// and streams to Run.

#include <iosfwd>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "errors.h"
#include "glow_values.h"
#include "model.h"

namespace optglow {

// Exit codes. diff answers as diff tools do: 0 same, 1 different, 2 usage,
// 3 trouble; every other command: 0 success, 1 error, 2 usage.
inline constexpr int ExitOk = 0;
inline constexpr int ExitError = 1;
inline constexpr int ExitUsage = 2;
inline constexpr int ExitDifferent = 1;
inline constexpr int ExitDiffError = 3;

// A command line that does not have the shape of a command.
class UsageError : public Exception {
public:
    using Exception::Exception;
};

// Runs one command line (without the program name). Results go to out,
// messages to err; returns the exit code. Output that cannot be written is an
// error, never a success.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace optglow
