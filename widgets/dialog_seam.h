#pragma once
// The one seam through which the program opens modal things (message boxes,
// the open and save dialogs, the colour chooser, modal windows) and hands
// things to the desktop. Tests install a scripted stand-in
// (tests/support/scripted_dialogs.h) so they run unattended.

#include <QColor>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QDialog;
class QUrl;
class QWidget;

class TDialogs {
public:
    virtual ~TDialogs() = default;
    // A modal box with one OK button, captioned with the application title;
    // error adds the error icon.
    virtual void Message(const QString& text, bool error) = 0;
    // The open-file dialog; an empty string when cancelled. A typed name of a
    // file that does not exist is accepted.
    virtual QString OpenFile(QWidget* parent, const QString& title, const QString& filter, const QString& folder) = 0;
    // The save-file dialog opened on path (folder and name); an empty string
    // when cancelled. It asks before an existing file is replaced.
    virtual QString SaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& path) = 0;
    // The desktop opens url (a folder in its file manager); false when
    // nothing took it.
    virtual bool OpenUrl(const QUrl& url) = 0;
    // The colour chooser opened on initial; nullopt when cancelled. browsing,
    // when set, is told each colour the user moves to before choosing.
    virtual std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial,
                                              const std::function<void(const QColor&)>& browsing) = 0;
    // Runs a modal window to its end and returns its result code.
    virtual int ExecModal(QDialog* dialog) = 0;
    // A modal question with one button per choice, captioned with the
    // application title; returns the index of the choice taken. The first
    // choice is the default, the last is taken by Escape and the close box.
    virtual int Ask(QWidget* parent, const QString& text, const QStringList& choices) = 0;
};

// The dialogs in use: the real ones unless a stand-in was installed.
TDialogs& Dialogs();

// Installs a stand-in (nullptr restores the real dialogs); not owned.
void SetDialogs(TDialogs* dialogs);
