// The glows in the main window's view: a press picks one, and a drag from it
// moves its centre in the plane of the screen, locked to an axis or snapped
// to what is seen of the model, and writes it as one edit when it ends.

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <vector>

#include "glow_panel.h"
#include "main_window.h"
#include "open_document.h"
#include "view_panel.h"
#include "conversions.h"
#include "error_display.h"
#include "glow_edit.h"
#include "glow_pick.h"
#include "glow_record.h"

namespace {

TSnap SnapOf(Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::ControlModifier))
        return TSnap::Vertex;
    if (modifiers.testFlag(Qt::ShiftModifier))
        return TSnap::FaceCentre;
    return TSnap::None;
}

// "Center 12.50, -31.00, 4.25", then the lock and the snap.
QString DragText(const TDragSpot& spot, int lock)
{
    const TFloat3& c = spot.Centre;
    QString text = QString::fromStdString(FormatFloats("Center %.2f, %.2f, %.2f", {c.X, c.Y, c.Z}));
    if (lock != TGlowDrag::NoAxis)
        text += QStringLiteral("   locked to %1").arg(QLatin1Char("XYZ"[lock]));
    if (spot.SnappedTo == TSnap::Vertex)
        text += QStringLiteral("   on vertex %1").arg(spot.Index);
    else if (spot.SnappedTo == TSnap::FaceCentre)
        text += QStringLiteral("   on the centre of face %1").arg(spot.Index);
    return text;
}

}  // namespace

TGlowIndex TMainWindow::GlowAtPointer(int x, int y)
{
    const TScene scene = Scene();
    const TModel& model = Document.Model;
    std::vector<TGlowIndex> glows = DrawnGlows(scene);
    // In face mode the picked glow's mesh becomes current with a face
    // selected; a mesh without faces has none to select.
    if (Document.Selection.SelectMode == 1)
        std::erase_if(glows, [&](TGlowIndex at) { return model.Meshes.Get(at.Mesh).Faces[0].Count() == 0; });
    return PickGlow(scene, glows, ViewPanel->Projection(State.Camera), x, y, ShownGlowIndex(Document));
}

bool TMainWindow::PickGlowAt(int x, int y)
{
    const TGlowIndex picked = GlowAtPointer(x, y);
    if (!picked)
        return false;
    TSelection& selection = Document.Selection;
    if (picked != ShownGlowIndex(Document))
        selection.SelectEditedGlowAlone();
    // The face selected in the glow's own mesh stays selected.
    selection.EditGlowAt(picked, Document.Model);
    ShowSelection();
    // The same press drags it once the pointer moves, and the glows selected
    // with it move with it; a click without a move leaves it selected alone
    // (ViewReleased). From where the glows are shown now that the panel is on
    // them: an edit dialog open on them may preview other centres than the
    // stored ones (one open on another glow has gone).
    const QPointF at = ViewPanel->Pointer();
    std::vector<TGlowValues> followers;
    for (const TGlowIndex& other : selection.SelectedGlows(Document.Model))
        if (other != picked)
            followers.push_back({other, Document.ShownValues(other)});
    // Undo and Redo wait for the gesture's end from the press on (the hold):
    // the drag would write the centres it started from over what they took
    // back. And Ctrl with Z or Y locks an axis once the glow moves.
    GlowDragging.emplace(TGlowDragging{TGlowDrag(picked, Document.ShownValues(picked).Center, at.x(), at.y()), at,
                                       false, {}, Document.Preview, std::move(followers), Document.History.Hold()});
    return true;
}

void TMainWindow::ViewPointerMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF at)
{
    Guarded([&] {
        if (!GlowDragging || !buttons.testFlag(Qt::LeftButton))
            return;
        TGlowDragging& d = *GlowDragging;
        if (!d.Moving) {
            // Under the drag distance a press and release stays a click.
            const double moved = (at - d.PressedAt).manhattanLength() / ViewPanel->devicePixelRatioF();
            if (moved < QApplication::startDragDistance())
                return;
            d.Moving = true;
        }
        d.Drag.MoveTo(at.x(), at.y(), ViewPanel->Projection(State.Camera));
        d.Modifiers = modifiers;
        Redraw();
    });
}

void TMainWindow::ViewReleased(Qt::MouseButton button, Qt::KeyboardModifiers, QPointF at)
{
    Guarded([&] {
        if (!GlowDragging || button != Qt::LeftButton)
            return;
        if (!GlowDragging->Moving) {
            // A click: the press picked the glow, which is now selected alone.
            EndGlowDrag();
            if (Document.Selection.SelectedGlows(Document.Model).size() > 1) {
                Document.Selection.SelectEditedGlowAlone();
                ShowSelection();
            }
            return;
        }
        GlowDragging->Drag.MoveTo(at.x(), at.y(), ViewPanel->Projection(State.Camera));
        FollowGlowDrag();
        FinishGlowDrag();
    });
}

bool TMainWindow::GlowDragKey(const QKeyEvent& key)
{
    if (!GlowDragging)
        return false;
    TGlowDragging& d = *GlowDragging;
    const bool press = key.type() == QEvent::KeyPress;
    switch (key.key()) {
    case Qt::Key_Escape:
        if (press)
            CancelGlowDrag();
        return true;
    case Qt::Key_X:
    case Qt::Key_Y:
    case Qt::Key_Z:
        // A key held down repeats: the lock changes once per press.
        if (!press || key.isAutoRepeat() || !d.Moving)
            return true;
        d.Drag.ToggleLock(key.key() - Qt::Key_X);
        break;
    case Qt::Key_Control:
    case Qt::Key_Shift: {
        const Qt::KeyboardModifier modifier =
            key.key() == Qt::Key_Control ? Qt::ControlModifier : Qt::ShiftModifier;
        d.Modifiers.setFlag(modifier, press);
        if (!d.Moving)
            return true;
        break;
    }
    case Qt::Key_N:
    case Qt::Key_P:
        // The glow being dragged stays the panel's.
        return true;
    default:
        return false;
    }
    Redraw();
    return true;
}

void TMainWindow::FollowGlowDrag()
{
    const TGlowDragging& d = *GlowDragging;
    const TGlowIndex at = d.Drag.Glow();
    const TSnap snap = SnapOf(d.Modifiers);
    // A snap takes only what the user sees: under Solid, nothing hidden
    // behind faces.
    const std::shared_ptr<const TSeenDepth> seen =
        snap == TSnap::None ? nullptr : ViewPanel->SeenDepth(Scene(), State.Camera);
    const TDragSpot spot =
        d.Drag.Spot(snap, ViewPanel->Projection(State.Camera), Document.Model.Meshes.Get(at.Mesh), seen.get());
    TGlowPreview& preview = Document.Preview;
    preview.At = at;
    preview.Values = d.Underneath.At == at ? d.Underneath.Values : Document.GlowAt(at);
    preview.Values.Center = spot.Centre;
    // Under a lock only that coordinate moves; snapped, the others go by as
    // much as the dragged glow (those that cannot, MovedAlong, stay put).
    preview.Others = d.Followers;
    for (TGlowValues& other : preview.Others)
        other.Values.Center =
            MovedAlong(other.Values.Center, d.Drag.Start(), spot.Centre).value_or(other.Values.Center);
    Panel->ShowGlowValues();
    MessageTimer.stop();
    WindowItems.MessageLabel->setText(DragText(spot, d.Drag.Lock()));
}

void TMainWindow::EndGlowDrag()
{
    Document.Preview = GlowDragging ? GlowDragging->Underneath : TGlowPreview{};
    GlowDragging.reset();
}

void TMainWindow::CancelGlowDrag()
{
    const bool moving = GlowDragging->Moving;
    EndGlowDrag();
    if (!moving)
        return;
    Panel->ShowGlowValues();
    WindowItems.MessageLabel->clear();
    Redraw();
}

void TMainWindow::FinishGlowDrag()
{
    const TGlowIndex at = GlowDragging->Drag.Glow();
    // The stored values with the centres shown, the dragged glow first: the
    // step is named for it. A glow whose centre would become infinite or no
    // number stays where it is.
    TGlowWrite write{{}, {{at, Document.GlowAt(at)}}};
    const TFloat3 centre = Document.Preview.Values.Center;
    write.Glows.front().Values.Center = centre;
    std::vector<TGlowIndex> refused;
    for (const TGlowValues& other : GlowDragging->Followers) {
        const std::optional<TFloat3> moved = MovedAlong(other.Values.Center, GlowDragging->Drag.Start(), centre);
        if (!moved) {
            refused.push_back(other.At);
            continue;
        }
        write.Glows.push_back({other.At, Document.GlowAt(other.At)});
        write.Glows.back().Values.Center = *moved;
    }
    EndGlowDrag();
    if (!refused.empty())
        ShowMsg(NotMovedText(refused));
    if (EncodeGlowWriteBack(write.Glows.front().Values) == EncodeGlowWriteBack(Document.GlowAt(at))) {
        // Back where it started: nothing to write.
        Panel->ShowGlowValues();
        WindowItems.MessageLabel->clear();
        Redraw();
        return;
    }
    const TStepRun run = Document.History.Make(write);
    if (run.Written.Changes.empty()) {
        // Nothing written: the glows show where they are stored.
        Panel->ShowGlowValues();
        WindowItems.MessageLabel->clear();
        Redraw();
    }
    run.ThrowFailure();
}
