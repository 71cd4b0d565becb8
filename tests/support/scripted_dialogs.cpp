#include "scripted_dialogs.h"

#include <QDialog>


TScriptedDialogs::TScriptedDialogs()
{
    SetDialogs(this);
    PreviousShowMsg = SetShowMsgHandler([this](const std::string& text) { Message(QString::fromStdString(text), false); });
}

TScriptedDialogs::~TScriptedDialogs()
{
    SetDialogs(nullptr);
    SetShowMsgHandler(PreviousShowMsg);
}

void TScriptedDialogs::Message(const QString& text, bool error)
{
    Messages.push_back({text, error});
}

QString TScriptedDialogs::OpenFile(QWidget*, const QString& title, const QString& filter, const QString& folder)
{
    OpenRequests.push_back({title, filter, folder});
    if (OpenAnswers.empty())
        return {};
    QString answer = OpenAnswers.front();
    OpenAnswers.pop_front();
    return answer;
}

std::optional<QColor> TScriptedDialogs::ChooseColor(QWidget*, const QColor& initial)
{
    ColorRequests.push_back(initial);
    if (ColorAnswers.empty())
        return std::nullopt;
    auto answer = ColorAnswers.front();
    ColorAnswers.pop_front();
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
    if (AskAnswers.empty())
        return int(choices.size()) - 1;
    const int answer = AskAnswers.front();
    AskAnswers.pop_front();
    return answer;
}

QStringList TScriptedDialogs::TakeMessages()
{
    QStringList texts;
    for (const auto& m : Messages)
        texts << m.Text;
    Messages.clear();
    return texts;
}
