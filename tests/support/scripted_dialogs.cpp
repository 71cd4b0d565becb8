#include "scripted_dialogs.h"

#include <QDialog>
#include <QDir>
#include <utility>

namespace {

// The next scripted answer; with none left, the answer of a cancel.
template <typename T>
T NextAnswer(std::deque<T>& answers)
{
    if (answers.empty())
        return {};
    T answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace

TScriptedDialogs::TScriptedDialogs()
{
    SetDialogs(this);
}

TScriptedDialogs::~TScriptedDialogs()
{
    SetDialogs(nullptr);
}

void TScriptedDialogs::Message(const QString& text, bool error)
{
    Messages.push_back({text, error});
}

QString TScriptedDialogs::OpenFile(QWidget*, const QString& title, const QString& filter, const QString& folder)
{
    OpenRequests.push_back({title, filter, folder});
    // Qt's file dialogs answer with '/' on every system.
    return QDir::fromNativeSeparators(NextAnswer(OpenAnswers));
}

QString TScriptedDialogs::SaveFile(QWidget*, const QString& title, const QString& filter, const QString& path)
{
    SaveRequests.push_back({title, filter, path});
    return QDir::fromNativeSeparators(NextAnswer(SaveAnswers));
}

bool TScriptedDialogs::OpenUrl(const QUrl& url)
{
    OpenedUrls.push_back(url);
    return DesktopOpensUrls;
}

std::optional<QColor> TScriptedDialogs::ChooseColor(QWidget*, const QColor& initial,
                                                    const std::function<void(const QColor&)>& browsing)
{
    ColorRequests.push_back(initial);
    for (const QColor& c : std::exchange(ColorBrowse, {}))
        if (browsing)
            browsing(c);
    if (WhileChoosing)
        std::exchange(WhileChoosing, {})();
    const auto answer = NextAnswer(ColorAnswers);
    if (answer && !answer->isValid())
        return initial;
    return answer;
}

int TScriptedDialogs::ExecModal(QDialog* dialog)
{
    ++ModalCount;
    dialog->show();
    const int result = ModalScript ? ModalScript(dialog) : int(QDialog::Rejected);
    dialog->hide();
    return result;
}

int TScriptedDialogs::Ask(QWidget*, const QString& text, const QStringList& choices)
{
    Questions.push_back(QStringList{text} + choices);
    return NextAnswer(AskAnswers).value_or(int(choices.size()) - 1);
}

QStringList TScriptedDialogs::TakeMessages()
{
    QStringList texts;
    for (const auto& m : Messages)
        texts << m.Text;
    Messages.clear();
    return texts;
}
