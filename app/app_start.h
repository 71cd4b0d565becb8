#pragma once
// Start-up of the program, shared by the entry point and the GUI tests.

#include <QApplication>
#include <string>

#include "main_window.h"
#include "open_document.h"

// The application object. Every handler guards its own body; this is the
// backstop for an error that escapes one anyway, so that none crosses Qt's
// event loop.
class TNegApplication : public QApplication {
public:
    TNegApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The application title "NEG" and the locale's decimal separator. Needs the
// application object.
void InstallAppBasics();

// The program's windows over one open document: what the program's start
// makes, and every GUI test of the windows. The main window makes the glow
// panel with its edit dialog and Set Colors, once Project/, Data/ and the
// colours are there.
class TEditor {
public:
    // programFolder: as TMainWindow takes it.
    explicit TEditor(const std::string& programFolder = {});

    // False when the program must end (no Colors.dat): nothing is shown.
    bool Created() const { return Main.Created(); }
    // Shows the main window maximized, then, when file is not empty, opens it
    // as File > Open Opt would once the event loop runs.
    void Show(const QString& file);

    TOpenDocument Document;
    TMainWindow Main;
};
