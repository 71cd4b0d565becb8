#include "glow_preview.h"

const TEngineGlow& TGlowPreview::Shown(const TModel& model, TGlowIndex at) const
{
    const TEngineGlow& stored = model.Meshes.Get(at.Mesh).Glows.Get(at.Glow);
    if (!At)
        return stored;
    if (At == at)
        return Values;
    for (const TGlowValues& other : Others)
        if (other.At == at)
            return other.Values;
    return stored;
}
