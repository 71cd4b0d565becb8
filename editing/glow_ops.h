#pragma once
// The model-side work of the glow panel and the edit dialog, free of widgets.

#include <functional>
#include <vector>

#include "glow_write.h"
#include "open_model.h"

// Number of glows of mesh CurMesh (the list error when CurMesh names no mesh).
int CurMeshGlowCount(const TOpenModel& open);

// Glow EditGlow of mesh CurMesh, or nothing when EditGlow names none of its
// glows: -1, or an index left over from another mesh or model.
TGlowIndex ShownGlowIndex(const TOpenModel& open);
const TEngineGlow* ShownGlow(const TOpenModel& open);

// The glows an edit of the glow being edited reaches: that glow, or none
// when no glow of a mesh of the model is being edited (before a model is
// open among them). The one place to widen once several glows can be
// selected.
std::vector<TGlowIndex> EditedGlows(const TOpenModel& open);

// A copy to all glows, named name: every glow of every mesh in list order,
// each with change() applied to its values. Nothing is written.
TGlowEdit CopyToAllEdit(const TModel& model, const char* name, const std::function<void(TEngineGlow&)>& change);

// The change that gives the glow at `at` the values of glow.
TGlowEdit GlowEdit(TGlowIndex at, const TEngineGlow& glow);
