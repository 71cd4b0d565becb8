// make_demo FILE: writes the demo model to FILE (the build places it as
// Samples/demo.opt beside the editor).

#include <exception>
#include <iostream>

#include "demo_model.h"
#include "opt_builder.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "Usage: make_demo FILE\n";
        return 2;
    }
    try {
        optbuild::WriteFileBytes(argv[1], demo::BuildDemoOpt());
    } catch (const std::exception& e) {
        std::cerr << "make_demo: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
