#pragma once
// A size handle's drag in the view: readied by a press on a handle of the
// glow being edited (view/glow_handles), the end of that schematic line
// following the pointer along its own axis as the screen shows it, and that
// component of the main vector with it; Ctrl puts the end onto the nearest
// seen vertex's coordinate on that axis (glow_gesture: the press, the keys,
// the glows selected with it, the hold on Undo).

#include "glow_gesture.h"

class TGlowSizing : public TGlowGesture {
public:
    // A press at `at`, device pixels, on the handle on axis (0 x, 1 y, 2 z)
    // of the glow at picked.
    TGlowSizing(TOpenDocument& document, TGlowIndex picked, int axis, QPointF at);

    // A click on a handle changes nothing, the selection included.
    bool ClickSelectsAlone() const override { return false; }
    // Ctrl alone: a face's centre is no size.
    TSnap Snap() const override;

private:
    // The end keeps to its own axis.
    bool AxisKey(int) override { return false; }
    TFloat3 Placed(const TDragSpot& spot) const override;
    // "Vector 12.50, -31.00, 4.25", then the snap.
    QString Text(const TDragSpot& spot, const TFloat3& vector) const override;
    std::string Refusal(const std::vector<TGlowIndex>& refused) const override;

    int Axis;
};
