#pragma once
// Edit lists: the JSON that optglow's diff writes and its apply reads, and
// that the editor's Copy Glow puts on the clipboard,
//   {"edits": [{"mesh": 0, "glow": 1, "core": "FF8040C0", "center": [0, 1.5, -2]}, ...]}
// Each edit selects glows ("mesh" and "glow": an index from 0 or "*" for all)
// and sets fields (glow_fields.h): colours as "AARRGGBB", vectors as three
// numbers. A number is the float32 nearest to the JSON number, so the numbers
// written here read back bit for bit. Checked here without a model; which
// glows exist is the caller's to check.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "glow_fields.h"
#include "model.h"

namespace edit_list {

// One edit as the list holds it.
struct TListedEdit {
    int64_t Mesh = -1;  // an index from 0, or -1 for "*"
    int64_t Glow = -1;
    // The fields the edit sets, in the order they were read, with their
    // values in Values; the other values of Values are zero.
    std::vector<const GlowField*> Fields;
    TEngineGlow Values;
};

// The edits of an edit list, each still as JSON: valid JSON without a key
// given twice, an object {"edits": [...]} with nothing else. Throws
// Exception with a message for the user.
nlohmann::json ListedEdits(const std::string& jsonText);

// Edit number index (from 0) of a list: an object whose every field is known
// and holds a value apply takes, with "mesh" and "glow" each an index or
// "*". Throws Exception naming the edit and the field.
TListedEdit ParseEdit(const nlohmann::json& edit, size_t index);

// Throws the error of edit number index for one that sets no field.
void RequireFields(const TListedEdit& edit, size_t index);

// Throws Exception: "edit 2, field "glow": message" (no field: "edit 2:
// message").
[[noreturn]] void FailEdit(size_t index, const std::string& field, const std::string& message);

// An edit list as text, one edit a line, ending in a newline.
std::string EditListText(const nlohmann::ordered_json& edits);

// The edit list that gives glow `glow` of mesh `mesh` every value of values,
// exact. Throws Exception for a value that an edit list cannot carry (see
// ListedValue).
std::string GlowListText(int mesh, int glow, const TEngineGlow& values);

// The values of one glow that an edit list holds: its edits (at least one)
// all select the same glows, and the later edits' fields stand over the
// earlier ones'. Throws Exception for a list of another form or that holds
// several glows' values.
TListedEdit ParseGlowList(const std::string& jsonText);

}  // namespace edit_list
