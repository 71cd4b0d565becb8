#include "error_display.h"

#include "dialog_seam.h"

QString ErrorBoxText(const std::string& message)
{
    QString text = QString::fromStdString(message);
    if (!text.isEmpty() && text.back().unicode() > u'.')
        text += u'.';
    return text;
}

void ShowError(const std::exception& e)
{
    try {
        Dialogs().Message(ErrorBoxText(e.what()), true);
    } catch (...) {
        // Showing the error must not raise a second one.
    }
}

void ShowMsg(const std::string& text)
{
    Dialogs().Message(QString::fromStdString(text), false);
}
