#pragma once
// The demo model shipped as Samples/demo.opt: a small craft, a fuselage and
// two engine pods, with an engine glow at the back of each.

#include <cstdint>
#include <vector>

namespace demo {

// The OPT file's bytes.
std::vector<uint8_t> BuildDemoOpt();

}  // namespace demo
