// Runs every end-to-end test class under the program's own application
// object.

#include <QTest>

#include "app_start.h"

int RunEditFlowTests(int argc, char** argv);
int RunPickTests(int argc, char** argv);
int RunKeyWalkTests(int argc, char** argv);
int RunUndoTests(int argc, char** argv);
int RunNavigationTests(int argc, char** argv);
int RunGlowPlaceTests(int argc, char** argv);
int RunGlowLookTests(int argc, char** argv);
int RunSeveralGlowsTests(int argc, char** argv);

int main(int argc, char** argv)
{
    TNegApplication app(argc, argv);
    InstallAppBasics();
    int failed = 0;
    failed += RunEditFlowTests(argc, argv);
    failed += RunPickTests(argc, argv);
    failed += RunKeyWalkTests(argc, argv);
    failed += RunUndoTests(argc, argv);
    failed += RunNavigationTests(argc, argv);
    failed += RunGlowPlaceTests(argc, argv);
    failed += RunGlowLookTests(argc, argv);
    failed += RunSeveralGlowsTests(argc, argv);
    return failed;
}
