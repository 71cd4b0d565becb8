#include "glow_dragging.h"

#include <QApplication>

#include "conversions.h"
#include "glow_edit.h"
#include "glow_record.h"
#include "open_document.h"

namespace {

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

std::vector<TGlowValues> FollowersOf(const TOpenDocument& document, TGlowIndex picked)
{
    std::vector<TGlowValues> followers;
    for (const TGlowIndex& other : document.Selection.SelectedGlows(document.Model))
        if (other != picked)
            followers.push_back({other, document.ShownValues(other)});
    return followers;
}

}  // namespace

// The hold from the press on: a drag would write the centres it started from
// over what Undo took back. And Ctrl with Z or Y locks an axis once the glow
// moves.
TGlowDragging::TGlowDragging(TOpenDocument& document, TGlowIndex picked, QPointF at)
    : Document(document), Drag(picked, document.ShownValues(picked).Center, at.x(), at.y()), PressedAt(at),
      Before(document.Preview), Followers(FollowersOf(document, picked)), Hold(document.History.Hold())
{
}

bool TGlowDragging::MoveTo(QPointF at, Qt::KeyboardModifiers modifiers, const TViewProjection& view, double ratio)
{
    if (!Moved) {
        if ((at - PressedAt).manhattanLength() / ratio < QApplication::startDragDistance())
            return false;
        Moved = true;
    }
    Drag.MoveTo(at.x(), at.y(), view);
    Modifiers = modifiers;
    return true;
}

void TGlowDragging::MoveLast(QPointF at, const TViewProjection& view)
{
    Drag.MoveTo(at.x(), at.y(), view);
}

TGlowDragging::TKey TGlowDragging::Key(const QKeyEvent& key)
{
    const bool press = key.type() == QEvent::KeyPress;
    switch (key.key()) {
    case Qt::Key_Escape:
        return press ? TKey::Cancel : TKey::Taken;
    case Qt::Key_X:
    case Qt::Key_Y:
    case Qt::Key_Z:
        // A key held down repeats: the lock changes once per press.
        if (!press || key.isAutoRepeat() || !Moved)
            return TKey::Taken;
        Drag.ToggleLock(key.key() - Qt::Key_X);
        return TKey::Changed;
    case Qt::Key_Control:
    case Qt::Key_Shift:
        Modifiers.setFlag(key.key() == Qt::Key_Control ? Qt::ControlModifier : Qt::ShiftModifier, press);
        return Moved ? TKey::Changed : TKey::Taken;
    case Qt::Key_N:
    case Qt::Key_P:
        return TKey::Taken;
    default:
        return TKey::NotTaken;
    }
}

TSnap TGlowDragging::Snap() const
{
    if (Modifiers.testFlag(Qt::ControlModifier))
        return TSnap::Vertex;
    if (Modifiers.testFlag(Qt::ShiftModifier))
        return TSnap::FaceCentre;
    return TSnap::None;
}

QString TGlowDragging::Follow(const TViewProjection& view, const TSeenDepth* seen)
{
    const TGlowIndex at = Drag.Glow();
    const TDragSpot spot = Drag.Spot(Snap(), view, Document.Model.Meshes.Get(at.Mesh), seen);
    TGlowPreview& preview = Document.Preview;
    preview.At = at;
    preview.Values = Before.At == at ? Before.Values : Document.GlowAt(at);
    preview.Values.Center = spot.Centre;
    // Under a lock only that coordinate moves; snapped, the others go by as
    // much as the dragged glow (those that cannot, MovedAlong, stay put).
    preview.Others = Followers;
    for (TGlowValues& other : preview.Others)
        other.Values.Center = MovedAlong(other.Values.Center, Drag.Start(), spot.Centre).value_or(other.Values.Center);
    return DragText(spot, Drag.Lock());
}

TGlowDragging::TWrite TGlowDragging::Written() const
{
    const TGlowIndex at = Drag.Glow();
    TWrite written{{{}, {{at, Document.GlowAt(at)}}}, {}, false};
    const TFloat3 centre = Document.Preview.Values.Center;
    written.Write.Glows.front().Values.Center = centre;
    for (const TGlowValues& other : Followers) {
        const std::optional<TFloat3> moved = MovedAlong(other.Values.Center, Drag.Start(), centre);
        if (!moved) {
            written.Refused.push_back(other.At);
            continue;
        }
        written.Write.Glows.push_back({other.At, Document.GlowAt(other.At)});
        written.Write.Glows.back().Values.Center = *moved;
    }
    written.Unmoved = EncodeGlowWriteBack(written.Write.Glows.front().Values) == EncodeGlowWriteBack(Document.GlowAt(at));
    return written;
}
