#pragma once
// A glow shown with values the model does not hold: the centre of a glow
// being dragged, until the drag is written or put back. The view draws it and
// the glow panel shows it; the model keeps what the working copy holds.

#include "app_state.h"
#include "model.h"

struct TGlowPreview {
    TGlowIndex At;  // no glow: nothing is previewed
    TEngineGlow Values;
};

extern TGlowPreview GlowPreview;

// The values shown for the glow at `at`: the preview's when it previews that
// glow, the model's otherwise. Throws the list errors.
const TEngineGlow& ShownValues(TGlowIndex at);
