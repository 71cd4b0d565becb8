#include "glow_write.h"

#include <algorithm>
#include <iterator>

#include "open_model.h"
#include "working_copy.h"

namespace {

// A value's place in the written block, with the name users see.
struct TNamedValue {
    size_t At;
    const char* Name;
};

// In the order of the written block.
constexpr TNamedValue Values[] = {
    {glow_layout::CoreColor, "Core color"}, {glow_layout::OuterColor, "Outer color"},
    {glow_layout::MainVec, "Main vector"},  {glow_layout::Center, "Center"},
    {glow_layout::Density0, "Density 0"},   {glow_layout::Density1, "Density 1"},
    {glow_layout::Density2, "Density 2"},
};

}  // namespace

bool ChangesBytes(const TGlowEdit& edit)
{
    return std::any_of(edit.Changes.begin(), edit.Changes.end(),
                       [](const TGlowChange& c) { return c.Before != c.After; });
}

std::string ChangedValueName(const TGlowChange& change)
{
    const auto differ = std::mismatch(change.Before.begin(), change.Before.end(), change.After.begin());
    if (differ.first == change.Before.end())
        return {};
    const size_t at = size_t(std::distance(change.Before.begin(), differ.first));
    // The last value that starts at or before the first differing byte.
    const auto value = std::find_if(std::rbegin(Values), std::rend(Values), [&](const auto& v) { return v.At <= at; });
    return value->Name;
}

namespace {

// The glow at `at` in memory as the file now holds it.
void HoldInMemory(TOpenModel& open, TGlowIndex at, const TGlowBytes& bytes)
{
    open.Reader.SharedBlocks.Decode(open.Model, at, bytes);
}

}  // namespace

std::vector<TGlowBytes> PutGlowBytes(TOpenModel& open, std::span<const TGlowPut> puts)
{
    std::vector<TGlowPatch> patches;
    patches.reserve(puts.size());
    for (const TGlowPut& put : puts)
        patches.push_back({open.GlowAt(put.At).FilePos, put.Bytes});
    std::vector<TGlowBytes> before = PatchWorkingCopyGlows(open, patches);
    for (const TGlowPut& put : puts)
        HoldInMemory(open, put.At, put.Bytes);
    return before;
}
