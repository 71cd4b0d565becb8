#pragma once
// Where the view puts a model point: the camera's zoom and turns about its
// pivot, then its shift, then the fitted volume spread over the viewport. One projection for
// everything: the frame loads its matrices into OpenGL, and picking, the
// halos, a glow's drag and Frame Glow do the same arithmetic on it.

#include <array>
#include <cstdint>

#include "camera.h"
#include "model.h"

// The orthographic volume of every frame, in eye coordinates: Low..High
// across and up, -Depth..Depth deep.
struct TViewVolume {
    double Low = 0, High = 0, Depth = 0;
};
TViewVolume ViewVolume(int32_t viewMin, int32_t viewMax);

using TVec3 = std::array<double, 3>;
// Column-major, as OpenGL loads it.
using TGLMatrix = std::array<double, 16>;
TGLMatrix operator*(const TGLMatrix& a, const TGLMatrix& b);

// A model point as the view shows it: device pixels from the viewport's
// top-left corner, and its depth from -1 (nearest the viewer, as the depth
// range runs) to 1; beyond those it is clipped away.
struct TViewPoint {
    double X = 0, Y = 0, Depth = 0;
    bool Clipped() const { return Depth < -1 || Depth > 1; }
};

class TViewProjection {
public:
    // The camera over a viewport of width x height device pixels.
    TViewProjection(const TCamera& camera, int32_t width, int32_t height);

    int32_t Width() const { return ViewportWidth; }
    int32_t Height() const { return ViewportHeight; }
    const TViewVolume& Volume() const { return VolumeBox; }

    TViewPoint Project(const TVec3& p) const;
    TViewPoint Project(const TFloat3& p) const;
    // The model displacement in the plane of the screen that moves a point's
    // picture by (dx, dy) device pixels; none when the zoom is 0.
    TVec3 Unproject(double dx, double dy) const;
    // The device pixels (x, y) by which one model unit along axis (0 x, 1 y,
    // 2 z) moves a point's picture.
    std::array<double, 2> AxisImage(int axis) const;
    // Device pixels per model unit along a line that lies in the screen.
    double Scale() const;
    // A model displacement turned and zoomed into eye coordinates.
    TVec3 Turned(const TVec3& p) const;
    // Where the frame puts a model point in eye coordinates: turned and
    // zoomed about the pivot, which lands on the shift.
    TVec3 Eye(const TVec3& p) const;
    // The model direction of unit length that the view shows as the eye
    // direction eye (x right, y up, z away from the viewer; of unit length);
    // none when the zoom is 0.
    TVec3 Direction(const TVec3& eye) const;

    // Model to eye coordinates, as the frame's model-view matrix.
    TGLMatrix ModelView() const;
    // The fitted volume over the viewport, as the frame's projection matrix;
    // mirrored turns it upside down, so that window y counts down from the
    // top as the mouse's does.
    TGLMatrix Projection(bool mirrored = false) const;
    // The mirrored projection narrowed to the square of side device pixels
    // around (x, y), device pixels from the top-left corner: what a click
    // there can hit.
    TGLMatrix PickProjection(double x, double y, double side) const;

private:
    double Model[3][3] = {};  // model to eye, zoom included
    double PanX = 0, PanY = 0;
    TVec3 Pivot{};
    TViewVolume VolumeBox;
    int32_t ViewportWidth = 0, ViewportHeight = 0;
    double PixelsX = 0, PixelsY = 0;  // device pixels per eye unit
    double Zoom = 0;
};
