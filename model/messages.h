#pragma once
// Texts the program shows.

#include <cstdint>
#include <string>

// Line break inside message texts.
inline constexpr const char* LineBreak = "\n";
// What a key or item that acts on the glow being edited says without one.
inline constexpr const char* NoGlowEditedText = "No glow is being edited: step to one first";

// A count with the word that fits it: "1 glow", "2 glows".
inline std::string CountText(int64_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

