#include "dialog_seam.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace {

class TRealDialogs final : public TDialogs {
public:
    void Message(const QString& text, bool error) override
    {
        QMessageBox box(error ? QMessageBox::Critical : QMessageBox::NoIcon, QApplication::applicationDisplayName(),
                        text, QMessageBox::Ok, QApplication::activeWindow());
        // Messages quote paths and typed values: show them as they are.
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }

    QString OpenFile(QWidget* parent, const QString& title, const QString& filter, const QString& folder) override
    {
        QFileDialog dialog(parent, title, folder, filter);
        dialog.setFileMode(QFileDialog::AnyFile);  // a typed name need not exist
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().first();
    }

    QString SaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& path) override
    {
        return QFileDialog::getSaveFileName(parent, title, path, filter);
    }

    bool OpenUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }

    std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) override
    {
        const QColor chosen = QColorDialog::getColor(initial, parent);
        if (!chosen.isValid())
            return std::nullopt;
        return chosen;
    }

    int ExecModal(QDialog* dialog) override { return dialog->exec(); }
};

TRealDialogs RealDialogs;
TDialogs* Current = &RealDialogs;

}  // namespace

TDialogs& Dialogs()
{
    return *Current;
}

void SetDialogs(TDialogs* dialogs)
{
    Current = dialogs ? dialogs : &RealDialogs;
}
