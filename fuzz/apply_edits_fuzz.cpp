// Fuzz target: any bytes as apply's edit list, checked against a small model
// in memory. Our own errors (a bad list) are expected; on success every patch
// must name a glow of the model once and carry only values apply may write.
// Anything else is a finding.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

#include "edit_list.h"
#include "errors.h"
#include "glow_values.h"
#include "model.h"

namespace {

// Three meshes: two glows, none, and one whose stored values apply itself
// would refuse (a NaN centre, a density above 1), as a damaged model may hold.
TModel SampleModel()
{
    TModel model;
    TOMesh first;
    TEngineGlow glow;
    glow.FilePos = 100;
    glow.CoreColor = 0xFF8040C0;
    glow.Density0 = {0.5f, 0.5f, 1};
    first.Glows.Add(glow);
    glow.FilePos = 200;
    first.Glows.Add(glow);
    model.Meshes.Add(std::move(first));
    model.Meshes.Add(TOMesh());
    TOMesh odd;
    glow.FilePos = 300;
    glow.Center.Y = std::nanf("");
    glow.Density2 = {1.5f, 0, 0};
    odd.Glows.Add(glow);
    model.Meshes.Add(std::move(odd));
    return model;
}

bool SameBits(float a, float b)
{
    return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

// A value the edit list set is finite, and a density lies in 0..1; a value
// the list left alone keeps its bits.
void CheckField(const optglow::GlowField& field, const optglow::GlowPatch& patch)
{
    if (field.Color || optglow::SameValue(field, patch.Before, patch.After))
        return;
    const TFloat3& v = patch.After.*field.Vector;
    for (float c : {v.X, v.Y, v.Z})
        if (!std::isfinite(c) || (field.Density && !(c >= 0 && c <= 1)))
            std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const TModel model = SampleModel();
    try {
        const auto patches = optglow::ParseEditList(std::string(reinterpret_cast<const char*>(data), size), model);
        for (size_t i = 0; i < patches.size(); ++i) {
            const optglow::GlowPatch& p = patches[i];
            // Ordered by mesh and glow, each glow once, and the glow's own.
            if (i > 0 && !(std::pair(patches[i - 1].Mesh, patches[i - 1].Glow) < std::pair(p.Mesh, p.Glow)))
                std::abort();
            const TEngineGlow& stored = model.Meshes.Get(p.Mesh).Glows.Get(p.Glow);
            if (p.After.FilePos != stored.FilePos || !SameBits(p.Before.Center.Y, stored.Center.Y))
                std::abort();
            for (const optglow::GlowField& field : optglow::GlowFields)
                CheckField(field, p);
        }
    } catch (const Exception&) {
    }
    return 0;
}
