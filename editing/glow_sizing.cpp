#include "glow_sizing.h"

#include "conversions.h"
#include "glow_edit.h"
#include "glow_handles.h"
#include "open_document.h"

TGlowSizing::TGlowSizing(TOpenDocument& document, TGlowIndex picked, int axis, QPointF at)
    : TGlowGesture(document, picked, &TEngineGlow::MainVec, HandleEnd(document.ShownValues(picked), axis), at),
      Axis(axis)
{
    // The end moves along its axis only: the drag's lock, for good.
    Drag.ToggleLock(axis);
}

TSnap TGlowSizing::Snap() const
{
    return Held().testFlag(Qt::ControlModifier) ? TSnap::Vertex : TSnap::None;
}

TFloat3 TGlowSizing::Placed(const TDragSpot& spot) const
{
    return SizedVector(Start(), Axis, float(Coordinate(spot.Centre, Axis)), spot.SnappedTo != TSnap::None);
}

QString TGlowSizing::Text(const TDragSpot& spot, const TFloat3& v) const
{
    return QString::fromStdString(FormatFloats("Vector %.2f, %.2f, %.2f", {v.X, v.Y, v.Z})) + SnapText(spot);
}

std::string TGlowSizing::Refusal(const std::vector<TGlowIndex>& refused) const
{
    return NotSizedText(refused);
}
