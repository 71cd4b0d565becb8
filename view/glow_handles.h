#pragma once
// The size handles of the glow being edited: one at the outer end of each of
// its three schematic lines (x at the centre + x/4, y at the cone's apex, the
// centre + y/2, z at the centre + z). A handle moved along its own axis
// changes that component of the main vector by as much as the line's end
// moves, times the line's share of it: four times for x, twice for y, once
// for z. Arithmetic on the camera only: nothing is drawn or written here.

#include "model.h"
#include "scene.h"
#include "view_projection.h"

inline constexpr int NoHandle = -1;

// The main vector's component per model unit its line's end moves, by axis.
inline constexpr double HandleFactor[3] = {4, 2, 1};

// The end of glow's schematic line along axis (0 x, 1 y, 2 z) on the side
// the vector points to, where the view draws it and its handle.
TFloat3 HandleEnd(const TEngineGlow& glow, int axis);

// The glow whose handles the view draws and a press takes: the glow being
// edited, while the view draws it; none otherwise. Throws the list errors.
TGlowIndex HandledGlow(const TScene& scene);

// How far a handle's mark reaches from its end, in device pixels: within the
// box the frame keeps around each point a glow draws.
inline constexpr double HandleRadius = 5;

// Whether the view shows glow's handle on axis: only where its mark stays
// clear of the glow's centre point on screen. A line seen end-on, or short
// on screen, would put it over the centre, which the press then drags.
bool HandleShown(const TEngineGlow& glow, int axis, const TViewProjection& view);

// The axis of the handle of HandledGlow that the view shows within the pick
// square around (x, y), device pixels from the view's top-left corner, and
// does not clip away, of those shown: the one nearest (x, y) where several
// are (the first of equals); NoHandle when none is there. Throws the list
// errors.
int PickHandle(const TScene& scene, const TViewProjection& view, double x, double y);

// glow's main vector once the end of its line along axis has moved from
// HandleEnd to the coordinate `end` on that axis. Put onto a point (a snap),
// the end lies on that coordinate: the component is the factor times the
// end's distance from the centre. Otherwise it changes by the factor times
// the end's move, so an end that did not move keeps its float bits. The
// other two components keep theirs.
TFloat3 SizedVector(const TEngineGlow& glow, int axis, float end, bool onto);
