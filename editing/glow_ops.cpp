#include "glow_ops.h"

int CurMeshGlowCount(const TOpenModel& open)
{
    return open.Model.Meshes.Get(open.Selection.CurMesh).Glows.Count();
}

TGlowIndex ShownGlowIndex(const TOpenModel& open)
{
    const TSelection& s = open.Selection;
    // No glow selected: CurMesh need not name a mesh then.
    if (s.EditGlow == -1)
        return {};
    const TEngineGlowL& glows = open.Model.Meshes.Get(s.CurMesh).Glows;
    if (s.EditGlow < 0 || s.EditGlow >= glows.Count())
        return {};
    return {s.CurMesh, s.EditGlow};
}

const TEngineGlow* ShownGlow(const TOpenModel& open)
{
    const TGlowIndex shown = ShownGlowIndex(open);
    return shown ? &open.GlowAt(shown) : nullptr;
}

std::vector<TGlowIndex> EditedGlows(const TOpenModel& open)
{
    const int32_t mesh = open.Selection.CurMesh;
    if (mesh < 0 || mesh >= open.Model.Meshes.Count())
        return {};
    if (const TGlowIndex shown = ShownGlowIndex(open))
        return {shown};
    return {};
}

TGlowEdit CopyToAllEdit(const TModel& model, const char* name, const std::function<void(TEngineGlow&)>& change)
{
    TGlowEdit edit{name, {}};
    for (int32_t m = 0; m < model.Meshes.Count(); ++m) {
        const TEngineGlowL& glows = model.Meshes.Get(m).Glows;
        for (int32_t g = 0; g < glows.Count(); ++g) {
            TEngineGlow glow = glows.Get(g);
            change(glow);
            edit.Changes.push_back({{m, g}, {}, EncodeGlowWriteBack(glow)});
        }
    }
    return edit;
}

TGlowEdit GlowEdit(TGlowIndex at, const TEngineGlow& glow)
{
    return {{}, {{at, {}, EncodeGlowWriteBack(glow)}}};
}
