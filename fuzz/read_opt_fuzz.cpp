// Fuzz target: any bytes, written to a file, read as an OPT model. Our own
// errors (damaged file) are expected; anything else is a finding.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "errors.h"
#include "file_util.h"
#include "model.h"
#include "opt_file_io.h"

namespace {

// One scratch file per process, removed at exit.
struct ScratchFile {
    std::string Path = (std::filesystem::temp_directory_path() / ("neg-fuzz-" + std::to_string(getpid()) + ".opt")).string();
    ~ScratchFile() { std::filesystem::remove(Path); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const ScratchFile file;
    WriteWholeFile(file.Path, data, size);
    try {
        TheReader.ReadOpt(file.Path);
    } catch (const Exception&) {
    }
    TheModel.Clear();
    return 0;
}
