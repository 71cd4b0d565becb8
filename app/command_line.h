#pragma once
// The editor's command line: one OPT file to open once the main window
// shows, --help and --version.

#include <QString>
#include <QStringList>
#include <optional>

struct TCommandLine {
    // Set when the command line was answered on the standard streams (help,
    // version, a fault in it): the program ends with this code, no window.
    std::optional<int> ExitCode;
    // The file to open after start-up; empty for none.
    QString File;
};

// Reads the arguments (the program's path first) and answers --help,
// --version and faults on stdout or stderr. Needs the application object,
// whose arguments lack the toolkit's own options.
TCommandLine ReadCommandLine(const QStringList& arguments);

// The program's arguments once the application object took the toolkit's
// own options out of argc and argv: on Linux as the bytes they are (a file
// name need not be UTF-8, see path_names.h), on Windows from the wide
// command line.
QStringList CommandLineArguments(int argc, char** argv);

// Answers --help and --version before a display is needed, with an
// application object that needs none; nullopt when the program is to start.
std::optional<int> AnswerWithoutDisplay(int& argc, char** argv);
