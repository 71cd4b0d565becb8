#pragma once
// Internals shared by the view's source files: the surface format, the fixed
// GL state every context of the view carries, and the pick unwinding.

#include <QSurfaceFormat>

// RGBA, 24-bit colour, double-buffered, compatibility profile (immediate
// mode), a 32-bit depth request that Qt lowers when the driver has none.
QSurfaceFormat ViewFormat();

// Brings the current context back to a known start: matrix stacks emptied to
// identity, render mode GL_RENDER, the switches this program relies on off.
void ResetContextState();
class TViewPanel;
// glViewport and ViewWidth/ViewHeight from the panel's size in device pixels.
void SetViewport(const TViewPanel& panel);
// glOrtho over ViewMin..ViewMax; mirrored swaps bottom and top (the pick
// volume, where window y counts down from the top as the mouse's does).
void MultViewOrtho(bool mirrored);
// Outline polygons, counter-clockwise front faces.
void SetOutlineMode();

// Pops the current matrix stack (queried through depthQuery) down to depth.
void PopMatrixTo(unsigned depthQuery, int depth);

// Undoes a pick that a list error interrupted, as EndPick would, without
// taking a hit: render mode back to GL_RENDER, the pick projection popped,
// model-view mode, Picking false.
void AbortPick();
