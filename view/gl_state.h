#pragma once
// Internals shared by the view's source files: the surface format, the fixed
// GL state every frame starts from, the camera loaded, and the small drawing
// helpers.

#include <GL/gl.h>

#include <QSurfaceFormat>

#include "view_colors.h"
#include "view_projection.h"

// RGBA, 24-bit colour, double-buffered, compatibility profile (immediate
// mode), a 32-bit depth request that Qt lowers when the driver has none.
QSurfaceFormat ViewFormat();

// Brings the current context back to a known start: matrix stacks emptied to
// identity, render mode GL_RENDER, the switches this program relies on off,
// outline polygons with counter-clockwise front faces.
void ResetContextState();

// Pops the current matrix stack (queried through depthQuery) down to depth.
void PopMatrixTo(GLenum depthQuery, int depth);

// The viewport over view's width and height, projection and view's
// model-view matrix loaded, model-view mode current.
void LoadCamera(const TGLMatrix& projection, const TViewProjection& view);

// One glBegin/glEnd pair. The end also runs when a list error leaves the
// primitive half sent, so the context is never left inside glBegin.
class TPrimitive {
public:
    explicit TPrimitive(GLenum mode) { glBegin(mode); }
    ~TPrimitive() { glEnd(); }
    TPrimitive(const TPrimitive&) = delete;
    TPrimitive& operator=(const TPrimitive&) = delete;
};

// The drawing colour of entry.
inline void SetColor(const TColorTable& colors, TViewColor entry)
{
    const TColorF& c = colors[entry];
    glColor3f(c.Red, c.Green, c.Blue);
}
