#pragma once
// A confirmed write of glows into the working copy, as the edit history keeps
// it: which glows, and each one's values before and after.

#include <cstdint>
#include <string>
#include <vector>

#include "model.h"

struct TGlowWrite {
    int32_t Mesh = 0;
    int32_t Glow = 0;  // index in the mesh's glow list
    TEngineGlow Before;
    TEngineGlow After;
};

// One confirmed write: one glow's edit, or a copy to all glows (Name says
// which copy; empty for a glow's edit).
struct TGlowEdit {
    std::string Name;
    std::vector<TGlowWrite> Writes;
};

// True when some glow's written bytes differ before and after.
bool ChangesBytes(const TGlowEdit& edit);

// What one glow's write changed: "Center", "Core color", ... for the first
// value whose written bytes differ; empty when none does.
std::string ChangedValueName(const TGlowWrite& write);

// The mesh and the index of glow in TheModel; false when it is none of its
// glows.
bool FindGlow(const TEngineGlow* glow, int32_t& mesh, int32_t& index);

// Gives glow `index` of mesh `mesh` of TheModel the written values of
// `values`: into the working copy first, then in memory. Throws the list
// errors and what WriteWorkingCopyGlow throws (a working copy changed on
// disk among them); the glow in memory is then unchanged.
void PutGlowValues(int32_t mesh, int32_t index, const TEngineGlow& values);
