#include "glow_ops.h"

#include "app_state.h"

int CurMeshGlowCount()
{
    return TheModel.Meshes.Get(CurMesh).Glows.Count();
}

TGlowIndex ShownGlowIndex()
{
    // No glow selected: CurMesh need not name a mesh then.
    if (EditGlow == -1)
        return {};
    const TEngineGlowL& glows = TheModel.Meshes.Get(CurMesh).Glows;
    if (EditGlow < 0 || EditGlow >= glows.Count())
        return {};
    return {CurMesh, EditGlow};
}

const TEngineGlow* ShownGlow()
{
    const TGlowIndex shown = ShownGlowIndex();
    return shown ? &GlowAt(shown) : nullptr;
}

TGlowEdit CopyToAllEdit(const char* name, const std::function<void(TEngineGlow&)>& change)
{
    TGlowEdit edit{name, {}};
    for (int32_t m = 0; m < TheModel.Meshes.Count(); ++m) {
        const TEngineGlowL& glows = TheModel.Meshes.Get(m).Glows;
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
