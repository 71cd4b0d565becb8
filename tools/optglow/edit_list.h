#pragma once
// Edit lists (their format: model/edit_list_format.h) against a model: the
// glows an edit list patches, and the edit list diff writes.

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "edit_list_format.h"
#include "model.h"

namespace optglow {

using edit_list::EditListText;

// The new values of one glow of the model.
struct GlowPatch {
    int Mesh = 0;
    int Glow = 0;
    TEngineGlow Before;  // as in the model
    TEngineGlow After;   // with every edit that selects it applied, in list order
};

// Checks every edit of the list against model and returns one patch per
// selected glow, ordered by mesh and glow. Glows at one block (a node listed
// more than once) are patched alike: each field as the latest edit of any of
// them sets it. Throws Exception naming the edit (counted from 0) and the
// field; modelName names the model in messages.
std::vector<GlowPatch> ParseEditList(const std::string& jsonText, const TModel& model,
                                     const std::string& modelName = "the model");

// Says how oldModel and newModel differ in their meshes and glow counts, one
// clause per difference; empty when they hold the same glows.
std::string GlowLayoutDifference(const TModel& oldModel, const std::string& oldName, const TModel& newModel,
                                 const std::string& newName);

// The edits that turn oldModel's glows into newModel's: one per glow that
// differs, with only the fields that differ. The models must hold the same
// glows (see GlowLayoutDifference). Throws Exception, naming newName, for a
// changed value that apply would refuse (not finite, a density outside
// 0.0..1.0).
nlohmann::ordered_json DiffEdits(const TModel& oldModel, const TModel& newModel, const std::string& newName);

// One line per field that differs between before and after:
// "mesh 0 glow 1 core: FF000000 -> FF8040C0".
std::string DescribeChanges(int mesh, int glow, const TEngineGlow& before, const TEngineGlow& after);

}  // namespace optglow
