// Several glows at once in the main window: Ctrl+click, Select Glows of
// Mesh, Escape, and the mirror items of the Edit menu. An edit of the glow
// being edited reaches every selected glow (the edit dialog, a drag); the
// status bar counts them.

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>

#include "conversions.h"
#include "error_display.h"
#include "glow_edit.h"
#include "glow_panel.h"
#include "main_window.h"
#include "open_document.h"

namespace {

constexpr char AxisNames[] = "XYZ";

QString GlowName(TGlowIndex at)
{
    return QStringLiteral("glow %1 of mesh %2").arg(at.Glow).arg(at.Mesh);
}

}  // namespace

void TMainWindow::ToggleGlowAt(int x, int y)
{
    const TGlowIndex picked = GlowAtPointer(x, y);
    if (picked && Document.Selection.ToggleGlow(picked, Document.Model))
        ShowSelection();
}

void TMainWindow::SelectMeshGlows()
{
    if (!State.Ready || GlowDragging)
        return;
    TSelection& selection = Document.Selection;
    const int glows = CurMeshGlowCount(Document);
    if (glows == 0)
        return;
    // Right after a model is opened no glow is edited yet: the first one is.
    if (!ShownGlowIndex(Document))
        selection.EditGlow = 0;
    selection.SelectEditedGlowAlone();
    std::vector<TGlowIndex> mesh;
    for (int32_t g = 0; g < glows; ++g)
        mesh.push_back({selection.CurMesh, g});
    selection.AddGlows(mesh, Document.Model);
    ShowSelection();
}

void TMainWindow::SelectEditedGlowAlone()
{
    if (Document.Selection.Glows.empty())
        return;
    Document.Selection.SelectEditedGlowAlone();
    ShowSelection();
}

void TMainWindow::SelectMirrorTwin(TMirrorAxis axis)
{
    if (!State.Ready || GlowDragging)
        return;
    const TGlowIndex edited = ShownGlowIndex(Document);
    if (!edited) {
        ShowBriefly(QStringLiteral("Select Mirror Twin: select a glow first"));
        return;
    }
    const TMirrorTwin twin = NearestToMirrorImage(Document.Model, edited, axis);
    const double within = TwinShare * ModelSize(Document.Model);
    const QChar axisName = QLatin1Char(AxisNames[int(axis)]);
    if (!twin.At || !(twin.Distance <= within)) {
        ShowBriefly(QString::fromStdString(FormatFloats("No glow lies within %.2f of the mirror image", {float(within)})) +
                    QStringLiteral(" of %1 across %2").arg(GlowName(edited), axisName));
        return;
    }
    if (twin.At == edited) {
        ShowBriefly(QStringLiteral("Glow %1 of mesh %2 lies on the mirror plane across %3: it is its own twin")
                        .arg(edited.Glow)
                        .arg(edited.Mesh)
                        .arg(axisName));
        return;
    }
    Document.Selection.SelectEditedGlowAlone();
    Document.Selection.AddGlows({twin.At}, Document.Model);
    ShowSelection();
    ShowBriefly(QStringLiteral("Mirror twin across %1: %2").arg(axisName).arg(GlowName(twin.At)));
}

void TMainWindow::MirrorGlows(TMirrorAxis axis)
{
    if (!State.Ready || GlowDragging)
        return;
    std::vector<TGlowIndex> glows = Document.Selection.SelectedGlows(Document.Model);
    if (glows.size() < 2) {
        ShowBriefly(QStringLiteral("Mirror Glow: select its twin as well (Ctrl+click it, or Edit > Select Mirror Twin)"));
        return;
    }
    const TEngineGlow image = MirrorImage(Document.GlowAt(glows.front()), axis);
    glows.erase(glows.begin());
    const std::string name = "Mirror across " + std::string(1, AxisNames[int(axis)]);
    Document.History
        .Make(WithChange(Document.Model, name, glows,
                         [&](TEngineGlow& g) {
                             const int32_t place = g.FilePos;
                             g = image;
                             g.FilePos = place;
                         }))
        .ThrowFailure();
}

void TMainWindow::ShowSelectedCount()
{
    // Also while no model is open, or the selection names no mesh.
    const TSelection& s = Document.Selection;
    size_t selected = 0;
    if (ModelShown && s.CurMesh >= 0 && s.CurMesh < Document.Model.Meshes.Count())
        selected = s.SelectedGlows(Document.Model).size();
    WindowItems.SelectionLabel->setText(selected > 1 ? QStringLiteral("%1 glows selected").arg(selected) : QString());
}
