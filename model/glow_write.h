#pragma once
// A change to glows: which glows, and the 68 written-back bytes of each one
// before and after. Every change to glows of the open model is put through
// PutGlowBytes, which writes the working copy first and changes the model
// once the file took the change, so the model always holds what the file
// holds.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "glow_preview.h"
#include "glow_record.h"
#include "selection.h"

struct TOpenModel;

struct TGlowChange {
    TGlowIndex At;
    TGlowBytes Before{};  // as the file held them before the change was first made
    TGlowBytes After{};
};

// A change to glows as every writer makes it (the edit dialog, a drag, a
// nudge, a mirror, a paste, a copy to all glows): each glow with all the
// values it is to have, the first one the glow the change is named for.
// Name names a copy, a mirror or a paste; it is empty for an edit of the
// glows selected.
struct TGlowWrite {
    std::string Name;
    std::vector<TGlowValues> Glows;
    // Under symmetry each glow's twin takes its mirror image in the same
    // step; false for a write that names every glow it means (a copy to
    // every glow, a mirror).
    bool ReachesTwins = true;
};

// What a change wrote: its name, and each glow's bytes before and after.
struct TGlowEdit {
    std::string Name;
    std::vector<TGlowChange> Changes;
};

// True when some glow's bytes differ before and after.
bool ChangesBytes(const TGlowEdit& edit);

// What one glow's change changed: "Center", "Core color", ... for the first
// value whose bytes differ; empty when none does.
std::string ChangedValueName(const TGlowChange& change);

// A glow of the open model and the written-back bytes it is to get.
struct TGlowPut {
    TGlowIndex At;
    TGlowBytes Bytes{};
};

// Gives each glow of open's model its written-back bytes: into the working
// copy first, all or nothing, then, once the file took them, in memory (to
// every glow that shares them, shared_blocks.h).
// Returns the bytes the file held at each glow before, in the order of puts.
// Throws the list errors (nothing written) and what PatchWorkingCopyGlows
// throws (a working copy changed on disk among them); the glows in memory are
// then unchanged.
std::vector<TGlowBytes> PutGlowBytes(TOpenModel& open, std::span<const TGlowPut> puts);
