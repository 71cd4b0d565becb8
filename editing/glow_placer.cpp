#include "glow_placer.h"

#include "conversions.h"
#include "error_display.h"
#include "glow_clipboard.h"
#include "glow_edit.h"
#include "glow_handles.h"
#include "glow_selecting.h"
#include "glow_sizing.h"
#include "messages.h"
#include "open_document.h"
#include "view_panel.h"

TGlowPlacer::TGlowPlacer(TOpenDocument& document, TViewPanel& panel, const TViewState& state,
                         std::function<TScene()> scene, QObject* parent)
    : QObject(parent), Document(document), Panel(panel), State(state), Scene(std::move(scene))
{
}

TViewProjection TGlowPlacer::Projection() const
{
    return Panel.Projection(State.Camera);
}

void TGlowPlacer::Press(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                        bool doubleClick, int x, int y)
{
    if (BoxPressed(button))
        return;
    if (Held) {
        // Another button while a glow is held: the right one puts it back.
        if (button == Qt::RightButton)
            Cancel();
        return;
    }
    if (!State.Ready)
        return;
    const Qt::KeyboardModifiers held = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool left = buttons == Qt::LeftButton && !doubleClick;
    if (left && held == Qt::ControlModifier) {
        const TGlowIndex picked = GlowAtPointer(Document, Scene(), Projection(), x, y);
        if (!picked)
            StartBox(x, y, true);
        else if (Document.Selection.ToggleGlow(picked, Document.Model))
            emit SelectionChanged();
        return;
    }
    if (!left || held || Pick(x, y))
        return;
    StartBox(x, y, false);
    if (const std::optional<int32_t> hit = Panel.PickFace(Scene(), State.Camera, x, y))
        Document.Selection.Select(*hit, Document.Model);
    emit SelectionChanged();
}

bool TGlowPlacer::Pick(int x, int y)
{
    // A handle shown wins over any other glow's centre there.
    const TScene scene = Scene();
    if (const int axis = PickHandle(scene, Projection(), x, y); axis != NoHandle) {
        Held = std::make_unique<TGlowSizing>(Document, HandledGlow(scene), axis, Panel.Pointer());
        return true;
    }
    const TGlowIndex picked = GlowAtPointer(Document, Scene(), Projection(), x, y);
    if (!picked)
        return false;
    TSelection& selection = Document.Selection;
    if (picked != ShownGlowIndex(Document))
        selection.SelectEditedGlowAlone();
    // The face selected in the glow's own mesh stays selected.
    selection.EditGlowAt(picked, Document.Model);
    emit SelectionChanged();
    // The same press drags it once the pointer moves, and the glows selected
    // with it move with it; a click without a move leaves it selected alone
    // (Released). From where the glows are shown now that the panel is on
    // them (an edit dialog open on another glow has gone).
    Held = std::make_unique<TGlowDragging>(Document, picked, Panel.Pointer());
    return true;
}

void TGlowPlacer::PointerMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF at)
{
    Guarded([&] {
        if (BoxMoved(buttons, at) || !Held || !buttons.testFlag(Qt::LeftButton))
            return;
        if (!Held->MoveTo(at, modifiers, Projection(), Panel.devicePixelRatioF()))
            return;
        Follow();
        emit RedrawRequested();
    });
}

void TGlowPlacer::Released(Qt::MouseButton button, Qt::KeyboardModifiers, QPointF at)
{
    Guarded([&] {
        if (BoxReleased(button, at) || !Held || button != Qt::LeftButton)
            return;
        if (!Held->Moving()) {
            // A click: the press picked the glow, which is now selected alone
            // (on a glow's centre).
            const bool alone = Held->ClickSelectsAlone();
            End();
            if (alone && Document.Selection.SelectedGlows(Document.Model).size() > 1) {
                Document.Selection.SelectEditedGlowAlone();
                emit SelectionChanged();
            }
            return;
        }
        Held->MoveLast(at, Projection());
        Follow();
        Finish();
    });
}

bool TGlowPlacer::Key(const QKeyEvent& key)
{
    if ((Held && DragKey(key)) || BoxKey(key))
        return true;
    if (key.type() != QEvent::KeyPress || !State.Ready)
        return false;
    const TGlowNudging::TKey nudge = Nudging.Key(key.key(), key.modifiers());
    if (nudge.Direction)
        Nudge(*nudge.Direction);
    else if (nudge.Taken)
        emit Said("Nudge " + Nudging.Text());
    return nudge.Taken;
}

bool TGlowPlacer::DragKey(const QKeyEvent& key)
{
    switch (Held->Key(key)) {
    case TGlowDragging::TKey::NotTaken:
        return false;
    case TGlowDragging::TKey::Taken:
        break;
    case TGlowDragging::TKey::Changed:
        Follow();
        emit RedrawRequested();
        break;
    case TGlowDragging::TKey::Cancel:
        Cancel();
        break;
    }
    return true;
}

void TGlowPlacer::FollowView()
{
    // A glow held under a turned, zoomed or shifted view: its lock and snap
    // follow the picture.
    if (Held && Held->Moving())
        Follow();
}

void TGlowPlacer::Nudge(TNudge direction)
{
    // The glow held by a drag goes where the pointer takes it.
    if (Held)
        return;
    const std::vector<TGlowIndex> glows = EditedGlows(Document);
    if (glows.empty()) {
        emit Said(NoGlowEditedText);
        return;
    }
    const TViewProjection view = Projection();
    const std::optional<TGlowWrite> write = Nudging.Write(Document, glows, direction, view);
    if (!write) {
        emit Said(Nudging.LockRefusal());
        return;
    }
    const TStepRun run = Document.History.Make(*write, TGlowHistory::Nudges);
    if (!run.Written.Changes.empty()) {
        const TFloat3& c = Document.GlowAt(run.Written.Changes.front().At).Center;
        emit Said(QString::fromStdString(FormatFloats("Center %.2f, %.2f, %.2f   ", {c.X, c.Y, c.Z})) +
                  Nudging.AxisText(direction, view) + Nudging.Text() + run.Alone);
    }
    run.ThrowFailure();
}

void TGlowPlacer::Follow()
{
    // A snap takes only what the user sees: under Solid, nothing hidden
    // behind faces.
    const std::shared_ptr<const TSeenDepth> seen =
        Held->Snap() == TSnap::None ? nullptr : Panel.SeenDepth(Scene(), State.Camera);
    emit PreviewMoved(Held->Follow(Projection(), seen.get()));
}

void TGlowPlacer::Cancel()
{
    const bool moving = Held->Moving();
    End();
    if (moving)
        ShowStored();
}

void TGlowPlacer::Finish()
{
    const TGlowDragging::TWrite written = Held->Written();
    // Undo and Redo act again before the step is made, so that they name it.
    End();
    if (!written.Refusal.empty())
        ShowMsg(written.Refusal);
    if (written.Unmoved) {
        ShowStored();
        return;
    }
    const TStepRun run = Document.History.Make(written.Write);
    if (run.Written.Changes.empty())
        ShowStored();
    run.ThrowFailure();
}

void TGlowPlacer::End()
{
    Document.Preview = Held ? Held->Underneath() : TGlowPreview{};
    Held.reset();
}

void TGlowPlacer::ShowStored()
{
    emit PreviewMoved({});
    emit RedrawRequested();
}

void TGlowPlacer::Start()
{
    Nudging.Start(double(State.Camera.ViewMax) - State.Camera.ViewMin);
}

void TGlowPlacer::Stop()
{
    EndBox();
    End();
}

void TGlowPlacer::SelectMeshGlows()
{
    if (Acts() && SelectGlowsOfMesh(Document))
        emit SelectionChanged();
}

void TGlowPlacer::SelectAll()
{
    if (Acts() && SelectAllGlows(Document))
        emit SelectionChanged();
}

void TGlowPlacer::SelectEditedGlowAlone()
{
    if (Acts() && SelectGlowAlone(Document))
        emit SelectionChanged();
}

void TGlowPlacer::SelectMirrorTwin(TMirrorAxis axis)
{
    if (!Acts())
        return;
    const TTwinChoice twin = SelectTwin(Document, axis);
    if (twin.Selected)
        emit SelectionChanged();
    emit Said(twin.Said);
}

void TGlowPlacer::MirrorGlows(TMirrorAxis axis)
{
    if (!Acts())
        return;
    const TMirror mirror = MirrorWrite(Document, axis);
    if (!mirror.Refusal.isEmpty()) {
        emit Said(mirror.Refusal);
        return;
    }
    const TStepRun run = Document.History.Make(mirror.Write);
    // What was written, and which glows were left without their twin.
    if (const size_t n = run.Written.Changes.size(); !mirror.Untwinned.isEmpty() && !run.Failure)
        emit Said(QStringLiteral("%1: %2 %3 written; %4")
                      .arg(QString::fromStdString(mirror.Write.Name))
                      .arg(n)
                      .arg(n == 1 ? "glow" : "glows", mirror.Untwinned));
    run.ThrowFailure();
}

void TGlowPlacer::CopyGlow()
{
    // Also while a glow is dragged: it reads only what is stored.
    if (State.Ready)
        emit Said(CopyGlowToClipboard(Document));
}

void TGlowPlacer::PasteGlow(bool withCentre)
{
    if (!Acts())
        return;
    const TPaste paste = PasteWrite(Document, withCentre);
    if (!paste.Refusal.isEmpty()) {
        emit Said(paste.Refusal);
        return;
    }
    Document.History.Make(paste.Write).ThrowFailure();
}
