#include <QApplication>

#include "Main.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("NEG");
    TMe me;
    me.showMaximized();
    return QApplication::exec();
}
