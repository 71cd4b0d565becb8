#pragma once
// A glow shown with values the model does not hold: the centre of a glow
// being dragged, or the values typed into an open edit dialog, until they are
// written or put back. The view draws it and the glow panel shows it; the
// model keeps what the working copy holds.

#include "model.h"
#include "selection.h"

struct TGlowPreview {
    TGlowIndex At;  // no glow: nothing is previewed
    TEngineGlow Values;

    // The values shown for the glow at `at` of model: the preview's when it
    // previews that glow, the model's otherwise. Throws the list errors.
    const TEngineGlow& Shown(const TModel& model, TGlowIndex at) const;
};
