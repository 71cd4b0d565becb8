#include "glow_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "edit_list_format.h"
#include "errors.h"
#include "glow_edit.h"

namespace {

// Clipboard text far longer than any edit list of the open model could be is
// refused before it is parsed: a stray 100 MB text would hold the window for
// seconds and take a gigabyte. One glow's edit with every field takes at
// most about 350 characters as Copy Glow and optglow diff write it, and
// under 1,000 pretty-printed with one number a line; 4,096 a glow leaves
// room for any layout a person or a tool gives it.
constexpr qsizetype TextPerGlow = 4096;

qsizetype LongestEditList(const TModel& model)
{
    qsizetype glows = 1;  // room for the list around the edits
    for (const TOMesh& mesh : model.Meshes)
        glows += mesh.Glows.Count();
    return glows * TextPerGlow;
}

}  // namespace

QString CopyGlowToClipboard(const TOpenModel& open)
{
    const TGlowIndex at = ShownGlowIndex(open);
    if (!at)
        return QStringLiteral("Copy Glow: select a glow first");
    std::string text;
    try {
        text = edit_list::GlowListText(at.Mesh, at.Glow, open.GlowAt(at));
    } catch (const Exception& e) {
        return QStringLiteral("Copy Glow: ") + QString::fromStdString(e.what());
    }
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    return QStringLiteral("Glow %1 of mesh %2 copied").arg(at.Glow).arg(at.Mesh);
}

TPaste PasteWrite(const TOpenModel& open, bool withCentre)
{
    const std::vector<TGlowIndex> glows = open.Selection.SelectedGlows(open.Model);
    const QString item = withCentre ? QStringLiteral("Paste Glow") : QStringLiteral("Paste Glow Style");
    if (glows.empty())
        return {{}, item + QStringLiteral(": select a glow first")};
    const QString text = QGuiApplication::clipboard()->text();
    if (text.size() > LongestEditList(open.Model))
        return {{},
                item + QStringLiteral(": the clipboard's text (%L1 characters) is far longer than any edit list of "
                                      "this model's glows")
                           .arg(text.size())};
    edit_list::TListedEdit pasted;
    try {
        if (text.trimmed().isEmpty())
            throw Exception("it holds no text");
        pasted = edit_list::ParseGlowList(text.toStdString());
    } catch (const Exception& e) {
        return {{}, item + QStringLiteral(": the clipboard holds no glow's edit list: ") +
                        QString::fromStdString(e.what())};
    }
    std::erase_if(pasted.Fields, [&](const edit_list::GlowField* field) {
        return !withCentre && field->Vector == &TEngineGlow::Center;
    });
    if (pasted.Fields.empty())
        return {{}, item + QStringLiteral(": the clipboard's glow holds a centre only")};
    return {WithChange(open.Model, withCentre ? "Paste glow" : "Paste glow style", glows,
                       [&](TEngineGlow& g) {
                           for (const edit_list::GlowField* field : pasted.Fields)
                               edit_list::CopyField(*field, pasted.Values, g);
                       }),
            {}};
}
