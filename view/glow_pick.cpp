#include "glow_pick.h"

#include <cmath>

#include "view_panel.h"

std::vector<TGlowIndex> DrawnGlows(const TScene& scene)
{
    std::vector<TGlowIndex> glows;
    if (!scene.Glows.Showing)
        return glows;
    const TModel& model = scene.Model;
    const TSelection& s = scene.Selection;
    const int32_t meshes = model.Meshes.Count();
    if (scene.Glows.SelectedOnly) {
        if (s.CurMesh >= 0 && s.CurMesh < meshes)
            glows = s.SelectedGlows(model);
        glows.insert(glows.end(), scene.Twins.begin(), scene.Twins.end());
        return glows;
    }
    for (int32_t m = 0; m < meshes; ++m)
        for (int32_t g = 0; g < model.Meshes.Get(m).Glows.Count(); ++g)
            glows.push_back({m, g});
    return glows;
}

TGlowIndex PickGlow(const TScene& scene, const std::vector<TGlowIndex>& glows, const TViewProjection& view, double x,
                    double y, TGlowIndex edited)
{
    constexpr double half = PickSquare / 2;
    TGlowIndex picked;
    double nearest = 0;
    for (const TGlowIndex& at : glows) {
        const TViewPoint p = view.Project(scene.Shown(at).Center);
        if (p.Clipped() || std::fabs(p.X - x) > half || std::fabs(p.Y - y) > half)
            continue;
        // The glow being edited is the one the user works on: it wins the
        // press, so that a glow in front of it never takes its drag.
        if (at == edited)
            return at;
        if (!picked || p.Depth < nearest) {
            picked = at;
            nearest = p.Depth;
        }
    }
    return picked;
}

std::vector<TGlowIndex> GlowsInBox(const TScene& scene, const std::vector<TGlowIndex>& glows,
                                   const TViewProjection& view, double left, double top, double right, double bottom)
{
    std::vector<TGlowIndex> inside;
    for (const TGlowIndex& at : glows) {
        const TViewPoint p = view.Project(scene.Shown(at).Center);
        if (!p.Clipped() && p.X >= left && p.X <= right && p.Y >= top && p.Y <= bottom)
            inside.push_back(at);
    }
    return inside;
}
