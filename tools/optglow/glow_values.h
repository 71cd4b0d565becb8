#pragma once
// A glow's values as optglow reads and writes them: the fields that set and
// edit lists name, colours and vectors as text, floats as JSON that reads back
// to the same float32.

#include <array>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "glow_fields.h"
#include "model.h"

namespace optglow {

// The fields and their values as text, shared with the editor's Copy Glow
// and Paste Glow.
using edit_list::CheckDensity;
using edit_list::ColorText;
using edit_list::FieldNames;
using edit_list::FindField;
using edit_list::FloatText;
using edit_list::FloatToJson;
using edit_list::GlowField;
using edit_list::GlowFields;
using edit_list::ParseColor;
using edit_list::SameValue;
using edit_list::ValueText;
using edit_list::VectorJson;

// One glow as dump shows it: filePos, coreColor, outerColor, center, mainVec,
// density0..2.
nlohmann::ordered_json GlowToJson(const TEngineGlow& glow);

// Parsers of set's values. Each throws Exception with a message for the user.
TFloat3 ParseVector(const std::string& text);     // "x,y,z", '.' as decimal point, finite
TFloat3 ParseDensity(const std::string& text);    // as ParseVector, each in 0.0..1.0
int ParseIndex(const std::string& text, const char* what);  // a mesh or glow index: decimal digits, from 0 up

// Sets one field of glow ("core", "outer", "center", "vector", "density0",
// "density1", "density2") from its text. Throws Exception for an unknown
// field or a bad value.
void SetField(TEngineGlow& glow, const std::string& field, const std::string& value);

}  // namespace optglow
