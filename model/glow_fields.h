#pragma once
// A glow's values as edit lists and optglow name and write them: the fields
// by name, colours and vectors as text, floats as JSON that reads back to the
// same float32. The editor's Copy Glow and Paste Glow and optglow share them.

#include <array>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "model.h"

namespace edit_list {

// One settable field of a glow: a colour or a vector (densities are vectors
// whose numbers lie in 0.0..1.0). Exactly one of Color and Vector is set.
struct GlowField {
    const char* Name;
    uint32_t TEngineGlow::*Color;
    TFloat3 TEngineGlow::*Vector;
    bool Density;
};

// The fields in the order dump, diff and the glows table show them.
extern const std::array<GlowField, 7> GlowFields;

// The field of that name, or nullptr.
const GlowField* FindField(const std::string& name);

// "core, outer, center, vector, density0, density1, density2".
std::string FieldNames();

// True when the field holds the same bits in both glows.
bool SameValue(const GlowField& field, const TEngineGlow& a, const TEngineGlow& b);

// Gives to the field's value in from, bit for bit.
void CopyField(const GlowField& field, const TEngineGlow& from, TEngineGlow& to);

// A float32 as JSON: a number that parses back to the same float32, or
// "nan", "inf", "-inf".
nlohmann::ordered_json FloatToJson(float value);
nlohmann::ordered_json VectorJson(const TFloat3& v);

// A float32 as the shortest text that reads back to it ("0.8", "-1e-30",
// "nan", "inf"), in every locale.
std::string FloatText(float value);

// A colour word as 8 uppercase hexadecimal digits AARRGGBB.
std::string ColorText(uint32_t color);

// The field's value as text: a colour as AARRGGBB, a vector as "x,y,z".
std::string ValueText(const GlowField& field, const TEngineGlow& glow);

// The field's value of glow as an edit list writes it, exact: a colour as
// "AARRGGBB", a vector as three numbers. Throws Exception, starting with
// where, for a value an edit list cannot carry or apply would refuse (a
// number that is not finite, a density outside 0.0..1.0).
nlohmann::ordered_json ListedValue(const GlowField& field, const TEngineGlow& glow, const std::string& where);

// Exactly 8 hexadecimal digits. Throws Exception with a message for the user.
uint32_t ParseColor(const std::string& text);

// Throws the density error for a vector with a number outside 0.0..1.0;
// text is the vector as the user wrote it.
void CheckDensity(const TFloat3& v, const std::string& text);

}  // namespace edit_list
