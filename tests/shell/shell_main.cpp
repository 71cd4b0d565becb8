// Runs every GUI test class of the shell under the program's own
// application object.

#include <QTest>

#include "app_start.h"

int RunStartupTests(int argc, char** argv);
int RunOpenFlowTests(int argc, char** argv);
int RunKeyTests(int argc, char** argv);
int RunColorTests(int argc, char** argv);
int RunFilesTests(int argc, char** argv);

int main(int argc, char** argv)
{
    TNegApplication app(argc, argv);
    InstallAppBasics();
    int failed = 0;
    failed += RunStartupTests(argc, argv);
    failed += RunOpenFlowTests(argc, argv);
    failed += RunKeyTests(argc, argv);
    failed += RunColorTests(argc, argv);
    failed += RunFilesTests(argc, argv);
    return failed;
}
