#pragma once
// Texts the program shows.

// Line break inside message texts.
inline constexpr const char* LineBreak = "\n";
