#pragma once
// Symmetry mode: while it is on across an axis, an edit of glows also gives
// each edited glow's twin the mirror image of what the glow became, in the
// same write, as Mirror Glow would right after the edit. A glow's twin is
// found as Select Mirror Twin finds it, among the glows as they are stored
// before each edit.

#include <optional>
#include <vector>

#include "glow_mirror.h"
#include "glow_write.h"

// The twin of the glow at `at` across axis: the glow nearest its mirror
// image when that lies within `within`; none when none does or when the glow
// is its own (it lies on the mirror plane). Throws the list errors.
TGlowIndex TwinOf(const TModel& model, TGlowIndex at, TMirrorAxis axis, double within);

// A write with its twins added, and the glows of the write that have none.
struct TTwinnedWrite {
    TGlowWrite Write;
    std::vector<TGlowIndex> Alone;
};

class TSymmetry {
public:
    std::optional<TMirrorAxis> Axis() const { return Across; }
    // Symmetry across axis, or off.
    void Set(std::optional<TMirrorAxis> axis);
    // Glows of the model changed: the twins are found anew.
    void Forget();
    // Another model is open: its size is measured anew too.
    void Reset();

    // write, and after its glows the mirror image of each onto its twin in
    // model, unless the twin is written itself (an edit of both sides keeps
    // what was given to each) or another glow's image went there already.
    // Unchanged while off. Throws the list errors.
    TTwinnedWrite With(const TGlowWrite& write, const TModel& model) const;
    // The twins of glows, for the view to draw apart; none while off.
    // Throws the list errors.
    const std::vector<TGlowIndex>& Twins(const TModel& model, const std::vector<TGlowIndex>& glows) const;

private:
    std::optional<TMirrorAxis> Across;
    // The twin search's reach, for the model it was measured on: the
    // model's size does not change while it is open.
    mutable std::optional<double> Within;
    mutable std::vector<TGlowIndex> TwinsOf, FoundTwins;
    mutable bool TwinsFound = false;

    double Reach(const TModel& model) const;
};
