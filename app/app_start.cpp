#include "app_start.h"

#include <QLocale>
#include <QTimer>

#include "conversions.h"
#include "error_display.h"

TNegApplication::TNegApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TNegApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowError(e);
        return false;
    }
}

void InstallAppBasics()
{
    // The application name, not a display name: Qt appends a display name
    // to every window caption, and the main window's caption is fixed.
    // applicationDisplayName() still answers "NEG" for the message boxes.
    QApplication::setApplicationName("NEG");
    const QString point = QLocale::system().decimalPoint();
    DecimalSeparator = point.size() == 1 && point[0].unicode() < 128 ? char(point[0].unicode()) : '.';
}

TEditor::TEditor(const std::string& programFolder) : Main(Document, programFolder) {}

void TEditor::Show(const QString& file)
{
    Main.showMaximized();
    // Without a window manager nobody else gives the new window the
    // keyboard; with one this asks for what it would do anyway.
    Main.activateWindow();
    if (file.isEmpty())
        return;
    // After start-up, as a user's open would come: the window is shown and
    // the view has its context.
    QTimer::singleShot(0, &Main, [this, file] { Guarded([&] { Main.OpenModel(file); }); });
}
