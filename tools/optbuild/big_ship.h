#pragma once
// The benchmarks' big ship: a hull of 40,000 faces without glows and six
// nacelles of 6,000 faces with three glows each, 76,000 faces in all. Each
// part is a bumpy body of revolution along y (rings of quads, a fan of
// triangles at each end); the nacelles sit around the hull's rear half and
// cut into it.

#include <cstdint>
#include <vector>

namespace optbuild {

// The ship as an OPT file: mesh 0 the hull, meshes 1 to 6 the nacelles.
std::vector<uint8_t> BigShip();

}  // namespace optbuild
