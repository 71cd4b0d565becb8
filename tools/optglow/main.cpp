// optglow: the command-line companion of the editor (see optglow --help).

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "file_util.h"
#include "optglow_commands.h"

#ifdef _WIN32
// The arguments from the wide command line, as UTF-8 like every path of the
// program: a narrow argv would hold them in the ANSI code page.
int wmain(int argc, wchar_t** argv)
{
    FailWritesPastTheFileSizeLimit();
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::u8string arg = std::filesystem::path(argv[i]).u8string();
        args.emplace_back(arg.begin(), arg.end());
    }
    return optglow::Run(args, std::cout, std::cerr);
}
#else
int main(int argc, char** argv)
{
    FailWritesPastTheFileSizeLimit();
    return optglow::Run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
#endif
