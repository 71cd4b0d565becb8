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

TFloat3 FaceBoxCentre(const TOMesh& mesh, const TOFace& face)
{
    float lo[3] = {999999.0f, 999999.0f, 999999.0f};
    float hi[3] = {-999999.0f, -999999.0f, -999999.0f};
    for (int k = 0; k < face.CornerCount(); ++k) {
        const TVertex& v = mesh.Vertices.Get(face.VertIdx.Index[k]);
        const float c[3] = {v.X, v.Y, v.Z};
        for (int axis = 0; axis < 3; ++axis) {
            if (c[axis] > hi[axis])
                hi[axis] = c[axis];
            if (c[axis] < lo[axis])
                lo[axis] = c[axis];
        }
    }
    float mid[3];
    for (int axis = 0; axis < 3; ++axis) {
        const float d = hi[axis] - lo[axis];
        mid[axis] = hi[axis] + d / -2.0f;
    }
    return {mid[0], mid[1], mid[2]};
}
