#pragma once
// The benchmarks' model, also drawn and picked by the view's tests: four
// bumpy grids of 100 x 33 cells side by side (meshes 0 and 1 overlap, as do
// 2 and 3), every other cell a quad and the rest split into two triangles,
// 4,950 faces and one glow per mesh; about 20,000 faces in all.

#include <cstdint>
#include <vector>

namespace optbuild {

// The model as an OPT file. Mesh m's vertex (row r, column c) lies at
// x = c - 50 + 2 (m % 2), y = r - 50 + 52 (m / 2), z from -5 to 5; its glow
// at (0, 10 m, 0) with main vector (8, 6, 3).
std::vector<uint8_t> GridCraft();

}  // namespace optbuild
