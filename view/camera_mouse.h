#pragma once
// The camera moved with the mouse: the wheel zooms, a drag turns or shifts
// the model. Works on the camera it is given, as the keys do.

#include "camera.h"

// Zoom is multiplied by this per wheel notch away from the user (divided by
// it per notch towards the user), so the wheel never takes it through zero.
inline constexpr double WheelZoomFactor = 1.1;
// Degrees per logical pixel of a turning drag.
inline constexpr double DragDegreesPerPixel = 0.5;

// Zoom by notches of the wheel (fractions from a touchpad scale smoothly).
void WheelZoom(TCamera& camera, double notches);

// The angles and the shift are whole numbers: a drag moves them by the whole
// units its pixels make and keeps the rest for its next move, so that a slow
// drag moves the model too.
class TCameraDrag {
public:
    // A button went down: a new drag, nothing left over from the last.
    void Start();
    // A move of (dx, dy) logical pixels turns the model about the view's
    // vertical axis (RotY) and its horizontal one (RotX), the way the arrow
    // keys turn it.
    void Turn(TCamera& camera, double dx, double dy);
    // A move of (dx, dy) device pixels over a viewport of width x height
    // shifts the drawing (PanX, PanY) by as much of the view volume, so that
    // it follows the pointer.
    void Shift(TCamera& camera, double dx, double dy, int width, int height);

private:
    double TurnRest[2] = {0, 0};
    double ShiftRest[2] = {0, 0};
};
