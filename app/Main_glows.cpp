// The glows in the main window's view: a click picks one, a drag moves the
// centre of the glow being edited in the plane of the screen, locked to an
// axis or snapped to the model, and writes it as one edit when it ends.

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <vector>

#include "Ed_EGlow.h"
#include "M_Change.h"
#include "M_Glunit.h"
#include "Main.h"
#include "app_state.h"
#include "conversions.h"
#include "error_display.h"
#include "glow_ops.h"
#include "glow_pick.h"
#include "glow_preview.h"
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

bool TMe::PickGlowAt(int x, int y)
{
    std::vector<TGlowIndex> glows = DrawnGlows();
    // In face mode the picked glow's mesh becomes current with a face
    // selected; a mesh without faces has none to select.
    if (SelectMode == 1)
        std::erase_if(glows, [](TGlowIndex at) { return TheModel.Meshes.Get(at.Mesh).Faces[0].Count() == 0; });
    const TGlowIndex picked = PickGlow(glows, TViewProjection::Current(), x, y);
    if (!picked)
        return false;
    const bool edited = picked == ShownGlowIndex();
    // The face selected in the glow's own mesh stays selected.
    if (picked.Mesh != CurMesh)
        SelectedId = SelectMode == 1 ? PackSelection(picked.Mesh, 0) : picked.Mesh;
    DecodeSelection();
    EditGlow = picked.Glow;
    EGlow->ShoGlow();
    if (edited) {
        const QPointF at = P1->Pointer();
        // From where the glow is shown: an open edit dialog may preview
        // another centre than the stored one.
        GlowDragging.emplace(
            TGlowDragging{TGlowDrag(picked, ShownValues(picked).Center, at.x(), at.y()), at, false, {}, GlowPreview});
    }
    return true;
}

void TMe::P1PointerMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF at)
{
    Guarded([&] {
        if (!GlowDragging || !buttons.testFlag(Qt::LeftButton))
            return;
        TGlowDragging& d = *GlowDragging;
        if (!d.Moving) {
            // Under the drag distance a press and release stays a click.
            const double moved = (at - d.PressedAt).manhattanLength() / P1->devicePixelRatioF();
            if (moved < QApplication::startDragDistance())
                return;
            d.Moving = true;
            // Ctrl with Z or Y locks an axis while the glow moves: no undo
            // or redo takes those keys meanwhile.
            Undo1->setEnabled(false);
            Redo1->setEnabled(false);
        }
        d.Drag.MoveTo(at.x(), at.y(), TViewProjection::Current());
        d.Modifiers = modifiers;
        FollowGlowDrag();
        RenderGlowsChanged();
    });
}

void TMe::P1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, QPointF at)
{
    Guarded([&] {
        if (!GlowDragging || button != Qt::LeftButton)
            return;
        if (!GlowDragging->Moving) {
            EndGlowDrag();  // a click: the press picked the glow
            return;
        }
        GlowDragging->Drag.MoveTo(at.x(), at.y(), TViewProjection::Current());
        FollowGlowDrag();
        FinishGlowDrag();
    });
}

bool TMe::GlowDragKey(const QKeyEvent& key)
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
    FollowGlowDrag();
    RenderGlowsChanged();
    return true;
}

void TMe::FollowGlowDrag()
{
    const TGlowDragging& d = *GlowDragging;
    const TGlowIndex at = d.Drag.Glow();
    const TDragSpot spot =
        d.Drag.Spot(SnapOf(d.Modifiers), TViewProjection::Current(), TheModel.Meshes.Get(at.Mesh));
    GlowPreview.At = at;
    GlowPreview.Values = d.Underneath.At == at ? d.Underneath.Values : GlowAt(at);
    GlowPreview.Values.Center = spot.Centre;
    EGlow->displayinfo();
    MessageTimer.stop();
    BarMessage->setText(DragText(spot, d.Drag.Lock()));
}

void TMe::EndGlowDrag()
{
    GlowPreview = GlowDragging ? GlowDragging->Underneath : TGlowPreview{};
    GlowDragging.reset();
    Undo1->setEnabled(History.Stack.canUndo());
    Redo1->setEnabled(History.Stack.canRedo());
}

void TMe::CancelGlowDrag()
{
    const bool moving = GlowDragging->Moving;
    EndGlowDrag();
    if (!moving)
        return;
    EGlow->displayinfo();
    BarMessage->clear();
    RenderGlowsChanged();
}

void TMe::FinishGlowDrag()
{
    const TGlowIndex at = GlowDragging->Drag.Glow();
    TEngineGlow moved = GlowAt(at);
    moved.Center = GlowPreview.Values.Center;
    EndGlowDrag();
    if (EncodeGlowWriteBack(moved) == EncodeGlowWriteBack(GlowAt(at))) {
        // Back where it started: nothing to write.
        EGlow->displayinfo();
        BarMessage->clear();
        RenderGlowsChanged();
        return;
    }
    // An edit dialog open on the glow would write the old centre back.
    if (MCh->isVisible() && DialogGlow == at) {
        MCh->Dismiss();
        ClearPendingMarks();
    }
    try {
        History.Make(GlowEdit(at, moved));
    } catch (...) {
        // Nothing written: the glow shows where it is stored.
        EGlow->displayinfo();
        BarMessage->clear();
        RenderGlowsChanged();
        throw;
    }
}
