// optglow: the command-line companion of the editor (see optglow --help).

#include <iostream>
#include <string>
#include <vector>

#include "optglow_commands.h"

int main(int argc, char** argv)
{
    return optglow::Run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
