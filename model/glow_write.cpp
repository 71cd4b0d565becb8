#include "glow_write.h"

#include <algorithm>
#include <iterator>

#include "app_state.h"
#include "glow_record.h"
#include "working_copy.h"

namespace {

// The values in the order of the written block, with the names users see.
constexpr struct {
    size_t At;
    const char* Name;
} Values[] = {
    {glow_layout::CoreColor, "Core color"}, {glow_layout::OuterColor, "Outer color"},
    {glow_layout::MainVec, "Main vector"},  {glow_layout::Center, "Center"},
    {glow_layout::Density0, "Density 0"},   {glow_layout::Density1, "Density 1"},
    {glow_layout::Density2, "Density 2"},
};

}  // namespace

bool ChangesBytes(const TGlowEdit& edit)
{
    return std::any_of(edit.Writes.begin(), edit.Writes.end(),
                       [](const TGlowWrite& w) { return EncodeGlowWriteBack(w.Before) != EncodeGlowWriteBack(w.After); });
}

std::string ChangedValueName(const TGlowWrite& write)
{
    const auto before = EncodeGlowWriteBack(write.Before);
    const auto after = EncodeGlowWriteBack(write.After);
    const auto differ = std::mismatch(before.begin(), before.end(), after.begin());
    if (differ.first == before.end())
        return {};
    const size_t at = size_t(std::distance(before.begin(), differ.first));
    // The last value that starts at or before the first differing byte.
    const auto value = std::find_if(std::rbegin(Values), std::rend(Values), [&](const auto& v) { return v.At <= at; });
    return value->Name;
}

bool FindGlow(const TEngineGlow* glow, int32_t& mesh, int32_t& index)
{
    for (int32_t m = 0; m < TheModel.Meshes.Count(); ++m) {
        const TEngineGlowL& glows = TheModel.Meshes.Get(m).Glows;
        for (int32_t g = 0; g < glows.Count(); ++g)
            if (&glows.Get(g) == glow) {
                mesh = m;
                index = g;
                return true;
            }
    }
    return false;
}

void PutGlowValues(int32_t mesh, int32_t index, const TEngineGlow& values)
{
    TEngineGlow& glow = TheModel.Meshes.Get(mesh).Glows.Get(index);
    TEngineGlow next = values;
    next.FilePos = glow.FilePos;
    WriteWorkingCopyGlow(next);
    glow = next;
}
