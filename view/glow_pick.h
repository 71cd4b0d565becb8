#pragma once
// Picking a glow with a click: of the glows the view draws, the one whose
// centre lies within the pick square around the pointer, as faces are picked.

#include <vector>

#include "scene.h"
#include "view_projection.h"

// The glows the scene draws, as the glow panel's buttons say: none while the
// panel is hidden, the selected glows (and their twins under symmetry) with
// "Show Selected Glow", every glow of every mesh with "Show All Glows".
std::vector<TGlowIndex> DrawnGlows(const TScene& scene);

// Of glows, the one whose centre the view shows within the pick square around
// (x, y), device pixels from the view's top-left corner, and does not clip
// away; where several are, the glow being edited (edited) if it is one of
// them, else the nearest the viewer (the first listed of equals). No glow
// when none is there. Throws the list errors.
TGlowIndex PickGlow(const TScene& scene, const std::vector<TGlowIndex>& glows, const TViewProjection& view, double x,
                    double y, TGlowIndex edited = {});

// Of glows, those whose centres the view shows inside the box from (left,
// top) to (right, bottom), device pixels from the view's top-left corner, and
// does not clip away, in the order of glows. Throws the list errors.
std::vector<TGlowIndex> GlowsInBox(const TScene& scene, const std::vector<TGlowIndex>& glows,
                                   const TViewProjection& view, double left, double top, double right, double bottom);
