#pragma once
// A scripted stand-in for every modal thing the program opens, so GUI tests
// run unattended. Install it for the length of a test:
//     TScriptedDialogs dialogs;   // installs itself, restores on destruction
//     dialogs.OpenAnswers.push_back("/path/model.opt");

#include <QColor>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "dialog_seam.h"

class TScriptedDialogs : public TDialogs {
public:
    struct TShownMessage {
        QString Text;
        bool Error = false;
    };

    TScriptedDialogs();
    ~TScriptedDialogs() override;

    // Every message box (ShowMsg and error boxes), in order.
    std::vector<TShownMessage> Messages;
    // Answers of the open-file dialog; an empty string is a cancel. With no
    // answer left the dialog is cancelled.
    std::deque<QString> OpenAnswers;
    // What each open-file dialog was asked: title, filter, folder.
    std::vector<QStringList> OpenRequests;
    // Answers of the save dialog, as of the open dialog; what each was asked:
    // title, filter, path.
    std::deque<QString> SaveAnswers;
    std::vector<QStringList> SaveRequests;
    // Every URL handed to the desktop, and whether the desktop takes them.
    std::vector<QUrl> OpenedUrls;
    bool DesktopOpensUrls = true;
    // Answers of the colour chooser; nullopt is a cancel, an invalid QColor
    // accepts the colour it opened on. With no answer left the chooser is
    // cancelled.
    std::deque<std::optional<QColor>> ColorAnswers;
    // The colour each chooser was opened on.
    std::vector<QColor> ColorRequests;
    // The colours the user moves through in the next chooser before its
    // answer, and what runs while it is still open, after them.
    std::vector<QColor> ColorBrowse;
    std::function<void()> WhileChoosing;
    // Runs each modal window: shown, the script called with it, then closed.
    // The script's return value is the window's result. Without a script the
    // window is rejected at once.
    std::function<int(QDialog*)> ModalScript;
    int ModalCount = 0;
    // Answers of the questions: the index of the choice taken. With no
    // answer left the last choice (the cancel) is taken.
    std::deque<std::optional<int>> AskAnswers;
    // Each question asked: its text, then its choices.
    std::vector<QStringList> Questions;

    void Message(const QString& text, bool error) override;
    QString OpenFile(QWidget* parent, const QString& title, const QString& filter, const QString& folder) override;
    QString SaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& path) override;
    bool OpenUrl(const QUrl& url) override;
    std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial,
                                      const std::function<void(const QColor&)>& browsing) override;
    int ExecModal(QDialog* dialog) override;
    int Ask(QWidget* parent, const QString& text, const QStringList& choices) override;

    // Texts of all messages so far, and forget them.
    QStringList TakeMessages();
};
