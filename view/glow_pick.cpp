#include "glow_pick.h"

#include <cmath>

#include "view_panel.h"
#include "scene_drawing.h"
#include "glow_preview.h"

std::vector<TGlowIndex> DrawnGlows()
{
    const TGlowDisplay display = GlowDisplay ? GlowDisplay() : TGlowDisplay{};
    std::vector<TGlowIndex> glows;
    if (!display.Showing)
        return glows;
    const int32_t meshes = TheModel.Meshes.Count();
    if (display.SelectedOnly) {
        if (CurMesh >= 0 && CurMesh < meshes && EditGlow >= 0 &&
            EditGlow < TheModel.Meshes.Get(CurMesh).Glows.Count())
            glows.push_back({CurMesh, EditGlow});
        return glows;
    }
    for (int32_t m = 0; m < meshes; ++m)
        for (int32_t g = 0; g < TheModel.Meshes.Get(m).Glows.Count(); ++g)
            glows.push_back({m, g});
    return glows;
}

TGlowIndex PickGlow(const std::vector<TGlowIndex>& glows, const TViewProjection& view, double x, double y)
{
    constexpr double half = PickSquare / 2;
    TGlowIndex picked;
    double nearest = 0;
    for (const TGlowIndex& at : glows) {
        const TViewPoint p = view.Project(ShownValues(at).Center);
        if (p.Clipped() || std::fabs(p.X - x) > half || std::fabs(p.Y - y) > half)
            continue;
        if (!picked || p.Depth < nearest) {
            picked = at;
            nearest = p.Depth;
        }
    }
    return picked;
}
