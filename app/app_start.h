#pragma once
// Start-up of the program, shared by the entry point and the GUI tests.

#include <QApplication>

// The application object. Every handler guards its own body; this is the
// backstop for an error that escapes one anyway, so that none crosses Qt's
// event loop.
class TNegApplication : public QApplication {
public:
    TNegApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The application title "NEG", ShowMsg as a message box, and the locale's
// decimal separator. Needs the application object.
void InstallAppBasics();

// Creates the four windows in order: Me, EGlow (laid over Me's P2), MCh, Col,
// and has the panel's and the dialog's redraw requests draw through Me's
// Redraw. Me's creation runs SetUp; when that ends the program (no
// Colors.dat) the other windows are not created and the result is false.
bool CreateForms();

// Shows the main window maximized (ShowFirstTime runs), then, when file is not
// empty, opens it as File > Open Opt would once the event loop runs.
void ShowMainWindow(const QString& file);

// Deletes the windows in reverse order and clears their globals.
void DestroyForms();
