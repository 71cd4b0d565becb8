#include "glow_preview.h"

const TEngineGlow& TGlowPreview::Shown(const TModel& model, TGlowIndex at) const
{
    const TEngineGlow& stored = model.Meshes.Get(at.Mesh).Glows.Get(at.Glow);
    return At && At == at ? Values : stored;
}
