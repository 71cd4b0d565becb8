// Nudging the glows an edit reaches with keys, one step at a time, as the
// screen shows the model: each press is written at once, and a run of
// presses on the same glows is one step of the history.

#include <optional>

#include "conversions.h"
#include "glow_edit.h"
#include "glow_panel.h"
#include "main_window.h"
#include "messages.h"
#include "open_document.h"
#include "view_panel.h"

namespace {

// Where each nudge key sends the centre: J, L, I and K lie as the arrows
// do, U and O beside I.
std::optional<TNudge> NudgeOf(int key)
{
    switch (key) {
    case Qt::Key_J:
        return TNudge::Left;
    case Qt::Key_L:
        return TNudge::Right;
    case Qt::Key_I:
        return TNudge::Up;
    case Qt::Key_K:
        return TNudge::Down;
    case Qt::Key_U:
        return TNudge::Away;
    case Qt::Key_O:
        return TNudge::Towards;
    default:
        return std::nullopt;
    }
}

}  // namespace

bool TMainWindow::NudgeKey(int key, Qt::KeyboardModifiers modifiers)
{
    // The letters are free in every other use only alone (Ctrl+Z and Ctrl+Y
    // are Undo and Redo).
    const bool plain = !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (const std::optional<TNudge> direction = NudgeOf(key)) {
        if (plain)
            Nudge(*direction);
        return plain;
    }
    switch (key) {
    // With whatever a keyboard layout needs to type them (AltGr among others).
    case Qt::Key_BracketLeft:
        NudgeStep.Finer();
        break;
    case Qt::Key_BracketRight:
        NudgeStep.Coarser();
        break;
    case Qt::Key_X:
    case Qt::Key_Y:
    case Qt::Key_Z:
        if (!plain)
            return false;
        NudgeLock = NudgeLock == key - Qt::Key_X ? TGlowDrag::NoAxis : key - Qt::Key_X;
        break;
    default:
        return false;
    }
    ShowBriefly("Nudge " + NudgeText());
    return true;
}

QString TMainWindow::NudgeText() const
{
    QString text = QStringLiteral("step %1").arg(QString::fromStdString(NudgeStep.Text()));
    if (NudgeLock != TGlowDrag::NoAxis)
        text += QStringLiteral("   locked to %1").arg(QLatin1Char("XYZ"[NudgeLock]));
    return text;
}

void TMainWindow::Nudge(TNudge direction)
{
    // The glow held by a drag goes where the pointer takes it.
    if (GlowDragging)
        return;
    const std::vector<TGlowIndex> glows = EditedGlows(Document);
    if (glows.empty()) {
        ShowBriefly(NoGlowEditedText);
        return;
    }
    const TViewProjection view = ViewPanel->Projection(State.Camera);
    TGlowWrite write;
    for (const TGlowIndex& at : glows) {
        // From where the glow is shown, as a drag starts.
        const std::optional<TFloat3> centre =
            Nudged(Document.ShownValues(at).Center, direction, NudgeStep.Units(), NudgeLock, view);
        if (!centre) {
            ShowBriefly(QStringLiteral("Locked to %1: that key does not move along %1 in this view")
                            .arg(QLatin1Char("XYZ"[NudgeLock])));
            return;
        }
        write.Glows.push_back({at, Document.GlowAt(at)});
        write.Glows.back().Values.Center = *centre;
    }
    const TStepRun run = Document.History.Make(write, TGlowHistory::Nudges);
    if (!run.Written.Changes.empty()) {
        const TFloat3& c = Document.GlowAt(run.Written.Changes.front().At).Center;
        ShowBriefly(QString::fromStdString(FormatFloats("Center %.2f, %.2f, %.2f   ", {c.X, c.Y, c.Z})) + NudgeText());
    }
    run.ThrowFailure();
}
