#include "glow_dragging.h"

#include "conversions.h"
#include "glow_edit.h"
#include "open_document.h"

TGlowDragging::TGlowDragging(TOpenDocument& document, TGlowIndex picked, QPointF at)
    : TGlowGesture(document, picked, &TEngineGlow::Center, document.ShownValues(picked).Center, at)
{
}

bool TGlowDragging::AxisKey(int axis)
{
    Drag.ToggleLock(axis);
    return true;
}

QString TGlowDragging::Text(const TDragSpot& spot, const TFloat3& c) const
{
    QString text = QString::fromStdString(FormatFloats("Center %.2f, %.2f, %.2f", {c.X, c.Y, c.Z}));
    if (Drag.Lock() != TGlowDrag::NoAxis)
        text += QStringLiteral("   locked to %1").arg(QLatin1Char("XYZ"[Drag.Lock()]));
    return text + SnapText(spot);
}

std::string TGlowDragging::Refusal(const std::vector<TGlowIndex>& refused) const
{
    return NotMovedText(refused);
}
