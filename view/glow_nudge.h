#pragma once
// Nudging a glow: its centre moved by a key, one step at a time, across the
// screen or along the line of sight as the view shows the model, or along
// one model axis under a lock. Arithmetic on the camera only: nothing is
// drawn or written here.

#include <optional>
#include <string>

#include "model.h"
#include "view_projection.h"

// Where a key sends the centre, as the screen shows it.
enum class TNudge { Left, Right, Up, Down, Away, Towards };

// The length of a nudge in model units: 1, 2 or 5 times a power of ten.
class TNudgeStep {
public:
    // The step for a model that the view's volume spans span units of: the
    // largest at most a hundredth of it.
    static TNudgeStep For(double span);

    double Units() const;
    // The next shorter or longer step.
    void Finer();
    void Coarser();
    // Its value with as many decimals as it has ("0.05", "20"), with the
    // user's decimal separator.
    std::string Text() const;

private:
    // 0 is 1, 1 is 2, 2 is 5, 3 is 10, -1 is 0.5, ...
    int Index = 0;
};

// The model axis (0 x, 1 y, 2 z) that lies nearest to direction as view
// shows the model: the one a nudge that way moves along when no axis is
// locked.
int NudgeAxis(TNudge direction, const TViewProjection& view);

// The centre c moved one step of step model units in direction, as view
// shows the model: along the locked axis (0 x, 1 y, 2 z), or with none
// (lock -1) along the axis nearest to that direction, by a whole step, the
// way the key points along the axis on screen, so that the other
// coordinates keep their values. Nothing when the locked axis lies across
// that direction (there the key has no way to move it). A coordinate that
// does not move, or is no finite number, keeps its float bits.
std::optional<TFloat3> Nudged(const TFloat3& c, TNudge direction, double step, int lock,
                              const TViewProjection& view);
