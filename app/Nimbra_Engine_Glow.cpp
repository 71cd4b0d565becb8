#include "Main.h"
#include "app_start.h"

int main(int argc, char** argv)
{
    TNegApplication app(argc, argv);
    InstallAppBasics();
    const bool started = CreateForms();
    int result = 0;
    if (started) {
        Me->showMaximized();  // runs FormShow
        result = QApplication::exec();
    }
    DestroyForms();
    return result;
}
