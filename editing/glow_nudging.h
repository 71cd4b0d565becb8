#pragma once
// Nudging glows with keys: J, L, I and K move the centres one step left,
// right, up or down on screen, U and O away from the viewer or towards them;
// [ and ] make the step finer or coarser; X, Y and Z lock the nudges to that
// model axis or free them. What the keys keep (the step, the lock) lives
// here; each nudge becomes a write for the history.

#include <QString>
#include <Qt>
#include <optional>
#include <vector>

#include "glow_drag.h"
#include "glow_nudge.h"
#include "glow_write.h"
#include "open_model.h"

class TGlowNudging {
public:
    // A model was opened whose view spans span units: the step fits it, and
    // no axis is locked.
    void Start(double span);

    // What the key pressed with modifiers does. Taken false: it is no nudge
    // key. A direction: a nudge that way. Taken without one: the step or the
    // lock changed (Text says how they are now).
    struct TKey {
        bool Taken = false;
        std::optional<TNudge> Direction;
    };
    TKey Key(int key, Qt::KeyboardModifiers modifiers);

    // The write that moves each of glows (the glow being edited first) one
    // step in direction from where open shows it, as view shows the model.
    // Nothing when the lock's axis lies across that direction
    // (LockRefusal says so). Throws the list errors.
    std::optional<TGlowWrite> Write(const TOpenModel& open, const std::vector<TGlowIndex>& glows,
                                    TNudge direction, const TViewProjection& view) const;

    // "step 0.5", then the lock: the status bar's word on the nudges.
    QString Text() const;
    // The axis a nudge in direction moves along, without a lock ("along X
    // "); empty under one, which Text names.
    QString AxisText(TNudge direction, const TViewProjection& view) const;
    // Why a nudge under the lock did not move.
    QString LockRefusal() const;

private:
    TNudgeStep Step;
    int Lock = TGlowDrag::NoAxis;
};
