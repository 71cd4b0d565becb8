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

QString TScriptedDialogs::SaveFile(QWidget*, const QString& title, const QString& filter, const QString& path)
{
    SaveRequests.push_back({title, filter, path});
    if (SaveAnswers.empty())
        return {};
    QString answer = SaveAnswers.front();
    SaveAnswers.pop_front();
    return answer;
}

bool TScriptedDialogs::OpenUrl(const QUrl& url)
{
    OpenedUrls.push_back(url);
    return DesktopOpensUrls;
}

std::optional<QColor> TScriptedDialogs::ChooseColor(QWidget*, const QColor& initial)
{
    ColorRequests.push_back(initial);
    if (ColorAnswers.empty())
        return std::nullopt;
    auto answer = ColorAnswers.front();
    ColorAnswers.pop_front();
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

QStringList TScriptedDialogs::TakeMessages()
{
    QStringList texts;
    for (const auto& m : Messages)
        texts << m.Text;
    Messages.clear();
    return texts;
}
