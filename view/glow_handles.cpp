#include "glow_handles.h"

#include <algorithm>
#include <cmath>

#include "glow_drag.h"
#include "scene_drawing.h"
#include "view_panel.h"

TFloat3 HandleEnd(const TEngineGlow& glow, int axis)
{
    // The same float arithmetic as the lines drawn, so the mark sits on the
    // line's end.
    TFloat3 end = glow.Center;
    Coordinate(end, axis) += float(Coordinate(glow.MainVec, axis) / HandleFactor[axis]);
    return end;
}

TGlowIndex HandledGlow(const TScene& scene)
{
    const TSelection& s = scene.Selection;
    if (!scene.Glows.Showing || s.CurMesh < 0 || s.CurMesh >= scene.Model.Meshes.Count())
        return {};
    // Every glow drawn holds the glow being edited: the selected glows, or all.
    return s.EditedGlow(scene.Model);
}

bool HandleShown(const TEngineGlow& glow, int axis, const TViewProjection& view)
{
    const TViewPoint end = view.Project(HandleEnd(glow, axis));
    const TViewPoint centre = view.Project(glow.Center);
    constexpr double clear = LargestGlowPoint / 2 + HandleRadius + 1;
    return !end.Clipped() && std::max(std::fabs(end.X - centre.X), std::fabs(end.Y - centre.Y)) >= clear;
}

int PickHandle(const TScene& scene, const TViewProjection& view, double x, double y)
{
    const TGlowIndex at = HandledGlow(scene);
    if (!at)
        return NoHandle;
    const TEngineGlow& glow = scene.Shown(at);
    constexpr double half = PickSquare / 2;
    int picked = NoHandle;
    double nearest = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const TViewPoint p = view.Project(HandleEnd(glow, axis));
        const double dx = p.X - x, dy = p.Y - y;
        if (!HandleShown(glow, axis, view) || std::fabs(dx) > half || std::fabs(dy) > half)
            continue;
        if (picked == NoHandle || dx * dx + dy * dy < nearest) {
            picked = axis;
            nearest = dx * dx + dy * dy;
        }
    }
    return picked;
}

TFloat3 SizedVector(const TEngineGlow& glow, int axis, float end, bool onto)
{
    TFloat3 vector = glow.MainVec;
    float& component = Coordinate(vector, axis);
    const double factor = HandleFactor[axis];
    if (onto) {
        component = ToFloat(factor * (double(end) - Coordinate(glow.Center, axis)));
    } else {
        const double from = Coordinate(HandleEnd(glow, axis), axis);
        if (end != from)
            component = ToFloat(component + factor * (double(end) - from));
    }
    return vector;
}
