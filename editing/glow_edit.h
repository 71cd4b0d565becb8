#pragma once
// The glows an edit reaches and the writes that change them, as every writer
// (the glow panel, the edit dialog, the view's tools) makes them, free of
// widgets.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "glow_write.h"
#include "open_model.h"

// Number of glows of mesh CurMesh (the list error when CurMesh names no mesh).
int CurMeshGlowCount(const TOpenModel& open);

// Glow EditGlow of mesh CurMesh, or nothing when EditGlow names none of its
// glows: -1, or an index left over from another mesh or model.
TGlowIndex ShownGlowIndex(const TOpenModel& open);
const TEngineGlow* ShownGlow(const TOpenModel& open);

// The glows an edit of the glow being edited reaches: every selected glow,
// the glow being edited first; none when no glow of a mesh of the model is
// being edited (before a model is open among them).
std::vector<TGlowIndex> EditedGlows(const TOpenModel& open);

// Every glow of every mesh of model, in list order.
std::vector<TGlowIndex> EveryGlow(const TModel& model);

// The write named name (empty for an edit of the glows selected) that gives
// each glow of glows, in that order, its values in model with change()
// applied. Nothing is written. Throws the list errors.
TGlowWrite WithChange(const TModel& model, std::string name, const std::vector<TGlowIndex>& glows,
                      const std::function<void(TEngineGlow&)>& change);

// p moved by as much as from moved to reach to, coordinate by coordinate: a
// coordinate that from and to hold with the same bits keeps p's bits, where
// p holds from's bits it takes to's, and one that is no finite number keeps
// its bits. Several glows move together so. Nothing where p cannot move so:
// the offset of a coordinate is no finite number (from or to is none), a
// finite coordinate would leave the range of a float, or p would take a to
// that is no finite number.
std::optional<TFloat3> MovedAlong(const TFloat3& p, const TFloat3& from, const TFloat3& to);

// Glows named for a message: "glow 2 of mesh 0", several up to ten and how
// many more ("glow 2 of mesh 0, glow 0 of mesh 1 and 5 more").
std::string GlowsNamed(const std::vector<TGlowIndex>& glows);

// The message for glows left where they were because MovedAlong refused
// them: "Glow 2 of mesh 0 was not moved: ...", several named up to ten.
std::string NotMovedText(const std::vector<TGlowIndex>& glows);
// The same for glows whose main vector was left as it was: "Glow 2 of mesh 0
// was not sized: its main vector would not be a finite number".
std::string NotSizedText(const std::vector<TGlowIndex>& glows);
