#pragma once
// The commands of optglow, the command-line companion of the editor: dump a
// model as JSON, and patch one glow in place through the same write-back the
// editor uses. main() only hands its arguments and streams to Run.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "model.h"

namespace optglow {

// Exit codes.
inline constexpr int ExitOk = 0;
inline constexpr int ExitError = 1;
inline constexpr int ExitUsage = 2;

// Runs one command line (without the program name). Results go to out,
// messages to err; returns the exit code.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The model as JSON: meshes with lodCount, lodDist, vertices, faces per LOD
// 0..2 and glows, keys in that order.
nlohmann::ordered_json ModelToJson(const TModel& model);

// A float32 as JSON: a number that parses back to the same float32, or
// "nan", "inf", "-inf".
nlohmann::ordered_json FloatToJson(float value);

// A colour word as 8 uppercase hexadecimal digits AARRGGBB.
std::string ColorText(uint32_t color);

// Parsers of set's values. Each throws Exception with a message for the user.
uint32_t ParseColor(const std::string& text);     // exactly 8 hex digits
TFloat3 ParseVector(const std::string& text);     // "x,y,z", '.' as decimal point, finite
TFloat3 ParseDensity(const std::string& text);    // as ParseVector, each in 0.0..1.0
int ParseIndex(const std::string& text, const char* what);  // a mesh or glow index: decimal digits, from 0 up

// Sets one field of glow ("core", "outer", "center", "vector", "density0",
// "density1", "density2") from its text. Throws Exception for an unknown
// field or a bad value.
void SetField(TEngineGlow& glow, const std::string& field, const std::string& value);

}  // namespace optglow
