#include "dialog_seam.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace {

// Runs a modal dialog to its end, then gives the keyboard back to the window
// that had it: without a window manager no window would have it, and a window
// manager may hand it to another window of the program.
int RunModal(QDialog& dialog)
{
    const QPointer<QWidget> owner = QApplication::activeWindow();
    const int result = dialog.exec();
    if (owner && owner->isVisible())
        owner->activateWindow();
    return result;
}

class TRealDialogs final : public TDialogs {
public:
    void Message(const QString& text, bool error) override
    {
        QMessageBox box(error ? QMessageBox::Critical : QMessageBox::NoIcon, QApplication::applicationDisplayName(),
                        text, QMessageBox::Ok, QApplication::activeWindow());
        // Messages quote paths and typed values: show them as they are.
        box.setTextFormat(Qt::PlainText);
        RunModal(box);
    }

    QString OpenFile(QWidget* parent, const QString& title, const QString& filter, const QString& folder) override
    {
        QFileDialog dialog(parent, title, folder, filter);
        dialog.setFileMode(QFileDialog::AnyFile);  // a typed name need not exist
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().first();
    }

    QString SaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& path) override
    {
        QFileDialog dialog(parent, title, path, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().first();
    }

    bool OpenUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }

    std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial,
                                      const std::function<void(const QColor&)>& browsing) override
    {
        QColorDialog dialog(initial, parent);
        if (browsing)
            QObject::connect(&dialog, &QColorDialog::currentColorChanged, &dialog, browsing);
        if (RunModal(dialog) != QDialog::Accepted)
            return std::nullopt;
        return dialog.selectedColor();
    }

    int ExecModal(QDialog* dialog) override { return RunModal(*dialog); }

    int Ask(QWidget* parent, const QString& text, const QStringList& choices) override
    {
        QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), text, QMessageBox::NoButton,
                        parent);
        box.setTextFormat(Qt::PlainText);
        QList<QAbstractButton*> buttons;
        for (const QString& choice : choices)
            buttons << box.addButton(choice, QMessageBox::ActionRole);
        box.setDefaultButton(qobject_cast<QPushButton*>(buttons.front()));
        box.setEscapeButton(buttons.back());
        RunModal(box);
        const qsizetype taken = buttons.indexOf(box.clickedButton());
        return int(taken < 0 ? buttons.size() - 1 : taken);
    }
};

// A test's stand-in, when one is installed.
TDialogs* StandIn = nullptr;

}  // namespace

TDialogs& Dialogs()
{
    static TRealDialogs real;
    return StandIn ? *StandIn : real;
}

void SetDialogs(TDialogs* dialogs)
{
    StandIn = dialogs;
}
