#pragma once
// A glow's drag in the view: readied by a press on its centre, the centre
// following the pointer in the plane of the screen, locked to an axis or
// snapped to what is seen of the model (glow_gesture: the press, the keys,
// the glows selected with it, the hold on Undo).

#include "glow_gesture.h"

class TGlowDragging : public TGlowGesture {
public:
    // A press at `at`, device pixels, on the centre of the glow at picked.
    TGlowDragging(TOpenDocument& document, TGlowIndex picked, QPointF at);

    bool ClickSelectsAlone() const override { return true; }

private:
    // X, Y and Z lock the centre to that axis or free it.
    bool AxisKey(int axis) override;
    TFloat3 Placed(const TDragSpot& spot) const override { return spot.Centre; }
    // "Center 12.50, -31.00, 4.25", then the lock and the snap.
    QString Text(const TDragSpot& spot, const TFloat3& centre) const override;
    std::string Refusal(const std::vector<TGlowIndex>& refused) const override;
};
