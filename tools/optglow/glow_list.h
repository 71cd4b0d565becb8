#pragma once
// Every glow of a model at a glance: the glows command's table and its JSON.

#include <string>

#include <nlohmann/json.hpp>

#include "model.h"

namespace optglow {

// One line per glow under a header line, columns aligned: mesh, glow,
// filePos, core, outer, center, vector, density0..2 (values as set takes
// them). A model without glows gives the header alone.
std::string GlowTable(const TModel& model);

// {"glows": [{"mesh": 0, "glow": 0, then the keys of dump's glows}, ...]}.
nlohmann::ordered_json GlowsJson(const TModel& model);

}  // namespace optglow
