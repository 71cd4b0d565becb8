#pragma once
// The camera every frame is drawn with: its turns, zoom and shift, and the
// view volume fitted to the model. Plain values: the main window owns one and
// hands it to the view with each frame.

#include <array>
#include <cstdint>

struct TModel;

struct TCamera {
    // Rotations about x, y and z in whole degrees, applied in that order.
    int32_t RotX = 0, RotY = 0, RotZ = 0;
    double Zoom = 1.0;
    // The shift of the picture, in model units.
    int32_t PanX = 0, PanY = 0;
    // The model point the turns and the zoom are about, in model units: the
    // view shows it where the shift puts it, however the model is turned or
    // zoomed. The model's origin at start; Frame Glow puts it on a glow.
    std::array<double, 3> Pivot{};
    // Degrees that one key press turns: the glow panel's movement rate.
    int32_t RotStep = 4;
    // The view volume's bounds, fitted to the model when it is opened.
    int32_t ViewMax = 0, ViewMin = 0;
};

// Rotation, zoom and shift back to 0, 1.0 and 0, the turns about the model's
// origin again (the movement rate and the volume stay).
void ResetCamera(TCamera& camera);

// ViewMax and ViewMin from every vertex of model, a third beyond the
// outermost coordinate. A vertex with a coordinate that is no finite number
// is left out: it has no place to fit.
void FitToModel(TCamera& camera, const TModel& model);

// The six views along the model's axes. The camera's turns that look from
// that side; zoom, shift and the point turned about are left as they are.
enum class TAxisView { Front, Back, Left, Right, Top, Bottom };
void LookFrom(TCamera& camera, TAxisView view);
