// Copy Glow and Paste Glow: a glow's values on the clipboard as an edit list,
// the text optglow's diff writes and its apply reads, so that styles kept as
// files, or another editor's glow, paste alike.

#include <QClipboard>
#include <QGuiApplication>

#include "edit_list_format.h"
#include "errors.h"
#include "glow_ops.h"
#include "main_window.h"
#include "open_document.h"

void TMainWindow::CopyGlow()
{
    if (!ViewReady)
        return;
    const TGlowIndex at = ShownGlowIndex(Document);
    if (!at) {
        ShowBriefly(QStringLiteral("Copy Glow: select a glow first"));
        return;
    }
    std::string text;
    try {
        text = edit_list::GlowListText(at.Mesh, at.Glow, Document.GlowAt(at));
    } catch (const Exception& e) {
        ShowBriefly(QStringLiteral("Copy Glow: ") + QString::fromStdString(e.what()));
        return;
    }
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    ShowBriefly(QStringLiteral("Glow %1 of mesh %2 copied").arg(at.Glow).arg(at.Mesh));
}

void TMainWindow::PasteGlowStyle()
{
    PasteGlowValues(false);
}

void TMainWindow::PasteGlow()
{
    PasteGlowValues(true);
}

void TMainWindow::PasteGlowValues(bool withCentre)
{
    if (!ViewReady || GlowDragging)
        return;
    const std::vector<TGlowIndex> glows = Document.Selection.SelectedGlows(Document.Model);
    const QString item = withCentre ? QStringLiteral("Paste Glow") : QStringLiteral("Paste Glow Style");
    if (glows.empty()) {
        ShowBriefly(item + QStringLiteral(": select a glow first"));
        return;
    }
    const QString text = QGuiApplication::clipboard()->text();
    edit_list::TListedEdit pasted;
    try {
        if (text.trimmed().isEmpty())
            throw Exception("it holds no text");
        pasted = edit_list::ParseGlowList(text.toStdString());
    } catch (const Exception& e) {
        ShowBriefly(item + QStringLiteral(": the clipboard holds no glow's edit list: ") +
                    QString::fromStdString(e.what()));
        return;
    }
    std::erase_if(pasted.Fields, [&](const edit_list::GlowField* field) {
        return !withCentre && field->Vector == &TEngineGlow::Center;
    });
    if (pasted.Fields.empty()) {
        ShowBriefly(item + QStringLiteral(": the clipboard's glow holds a centre only"));
        return;
    }
    WriteGlows(GlowsEdit(Document.Model, withCentre ? "Paste glow" : "Paste glow style", glows, [&](TEngineGlow& g) {
        for (const edit_list::GlowField* field : pasted.Fields)
            edit_list::CopyField(*field, pasted.Values, g);
    }));
}
