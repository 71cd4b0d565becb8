#pragma once
// Glows shown with values the model does not hold: the glows being dragged,
// or the values typed into an open edit dialog for the glows it edits, until
// they are written or put back. The view draws them and the glow panel shows
// them; the model keeps what the working copy holds.

#include <vector>

#include "model.h"
#include "selection.h"

// One glow with values of its own: shown so, or to be written so.
struct TGlowValues {
    TGlowIndex At;
    TEngineGlow Values;
};

struct TGlowPreview {
    TGlowIndex At;  // the glow dragged or edited; no glow: nothing is previewed
    TEngineGlow Values;
    // The glows selected with it, previewed with it.
    std::vector<TGlowValues> Others{};

    // The values shown for the glow at `at` of model: the preview's when it
    // previews that glow, the model's otherwise. Throws the list errors.
    const TEngineGlow& Shown(const TModel& model, TGlowIndex at) const;
};
