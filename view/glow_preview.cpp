#include "glow_preview.h"

#include "glow_write.h"

TGlowPreview GlowPreview;

namespace {

[[maybe_unused]] const bool ResetRegistered = RegisterStateReset([] { GlowPreview = TGlowPreview{}; });

}  // namespace

const TEngineGlow& ShownValues(TGlowIndex at)
{
    const TEngineGlow& stored = GlowAt(at);
    return GlowPreview.At && GlowPreview.At == at ? GlowPreview.Values : stored;
}
