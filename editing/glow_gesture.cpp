#include "glow_gesture.h"

#include <QApplication>

#include "glow_edit.h"
#include "glow_record.h"
#include "open_document.h"

namespace {

std::vector<TGlowValues> FollowersOf(const TOpenDocument& document, TGlowIndex picked)
{
    std::vector<TGlowValues> followers;
    for (const TGlowIndex& other : document.Selection.SelectedGlows(document.Model))
        if (other != picked)
            followers.push_back({other, document.ShownValues(other)});
    return followers;
}

}  // namespace

QString SnapText(const TDragSpot& spot)
{
    if (spot.SnappedTo == TSnap::Vertex)
        return QStringLiteral("   on vertex %1").arg(spot.Index);
    if (spot.SnappedTo == TSnap::FaceCentre)
        return QStringLiteral("   on the centre of face %1").arg(spot.Index);
    return {};
}

// The hold from the press on: a gesture would write the values it started
// from over what Undo took back. And Ctrl with Z or Y is an axis key once the
// glow moves.
TGlowGesture::TGlowGesture(TOpenDocument& document, TGlowIndex picked, TFloat3 TEngineGlow::*value,
                           const TFloat3& start, QPointF at)
    : Drag(picked, start, at.x(), at.y()), Document(document), Value(value), Started(document.ShownValues(picked)),
      PressedAt(at), Before(document.Preview), Followers(FollowersOf(document, picked)),
      Hold(document.History.Hold())
{
}

bool PastDragDistance(QPointF pressed, QPointF at, double ratio)
{
    return (at - pressed).manhattanLength() / ratio >= QApplication::startDragDistance();
}

bool TGlowGesture::MoveTo(QPointF at, Qt::KeyboardModifiers modifiers, const TViewProjection& view, double ratio)
{
    if (!Moved) {
        if (!PastDragDistance(PressedAt, at, ratio))
            return false;
        Moved = true;
    }
    Drag.MoveTo(at.x(), at.y(), view);
    Modifiers = modifiers;
    return true;
}

void TGlowGesture::MoveLast(QPointF at, const TViewProjection& view)
{
    Drag.MoveTo(at.x(), at.y(), view);
}

TGlowGesture::TKey TGlowGesture::Key(const QKeyEvent& key)
{
    const bool press = key.type() == QEvent::KeyPress;
    switch (key.key()) {
    case Qt::Key_Escape:
        return press ? TKey::Cancel : TKey::Taken;
    case Qt::Key_X:
    case Qt::Key_Y:
    case Qt::Key_Z:
        // A key held down repeats: an axis key acts once per press.
        if (!press || key.isAutoRepeat() || !Moved)
            return TKey::Taken;
        return AxisKey(key.key() - Qt::Key_X) ? TKey::Changed : TKey::Taken;
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

TSnap TGlowGesture::Snap() const
{
    if (Modifiers.testFlag(Qt::ControlModifier))
        return TSnap::Vertex;
    if (Modifiers.testFlag(Qt::ShiftModifier))
        return TSnap::FaceCentre;
    return TSnap::None;
}

QString TGlowGesture::Follow(const TViewProjection& view, const TSeenDepth* seen)
{
    const TGlowIndex at = Drag.Glow();
    const TDragSpot spot = Drag.Spot(Snap(), view, Document.Model.Meshes.Get(at.Mesh), seen);
    const TFloat3 placed = Placed(spot);
    TGlowWrite shown{{}, {{at, Before.At == at ? Before.Values : Document.GlowAt(at)}}};
    shown.Glows.front().Values.*Value = placed;
    // The others go by as much as the glow held (those that cannot,
    // MovedAlong, stay as they are). Under symmetry the twins are shown
    // where the write at release puts them, as the hand moves.
    for (TGlowValues other : Followers) {
        other.Values.*Value = MovedAlong(other.Values.*Value, Started.*Value, placed).value_or(other.Values.*Value);
        shown.Glows.push_back(other);
    }
    Document.Preview = Document.History.Previewed(shown);
    return Text(spot, placed);
}

TGlowGesture::TWrite TGlowGesture::Written() const
{
    const TGlowIndex at = Drag.Glow();
    TWrite written{{{}, {{at, Document.GlowAt(at)}}}, {}, false};
    const TFloat3 placed = Document.Preview.Values.*Value;
    written.Write.Glows.front().Values.*Value = placed;
    std::vector<TGlowIndex> refused;
    for (const TGlowValues& other : Followers) {
        const std::optional<TFloat3> moved = MovedAlong(other.Values.*Value, Started.*Value, placed);
        if (!moved) {
            refused.push_back(other.At);
            continue;
        }
        written.Write.Glows.push_back({other.At, Document.GlowAt(other.At)});
        written.Write.Glows.back().Values.*Value = *moved;
    }
    if (!refused.empty())
        written.Refusal = Refusal(refused);
    written.Unmoved = EncodeGlowWriteBack(written.Write.Glows.front().Values) == EncodeGlowWriteBack(Document.GlowAt(at));
    return written;
}
