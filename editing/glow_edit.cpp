#include "glow_edit.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <utility>

int CurMeshGlowCount(const TOpenModel& open)
{
    return open.Model.Meshes.Get(open.Selection.CurMesh).Glows.Count();
}

TGlowIndex ShownGlowIndex(const TOpenModel& open)
{
    return open.Selection.EditedGlow(open.Model);
}

const TEngineGlow* ShownGlow(const TOpenModel& open)
{
    const TGlowIndex shown = ShownGlowIndex(open);
    return shown ? &open.GlowAt(shown) : nullptr;
}

std::vector<TGlowIndex> EditedGlows(const TOpenModel& open)
{
    const int32_t mesh = open.Selection.CurMesh;
    if (mesh < 0 || mesh >= open.Model.Meshes.Count())
        return {};
    return open.Selection.SelectedGlows(open.Model);
}

std::vector<TGlowIndex> EveryGlow(const TModel& model)
{
    std::vector<TGlowIndex> all;
    for (int32_t m = 0; m < model.Meshes.Count(); ++m)
        for (int32_t g = 0; g < model.Meshes.Get(m).Glows.Count(); ++g)
            all.push_back({m, g});
    return all;
}

TGlowWrite WithChange(const TModel& model, std::string name, const std::vector<TGlowIndex>& glows,
                      const std::function<void(TEngineGlow&)>& change)
{
    TGlowWrite write{std::move(name), {}};
    write.Glows.reserve(glows.size());
    for (const TGlowIndex& at : glows) {
        write.Glows.push_back({at, model.Meshes.Get(at.Mesh).Glows.Get(at.Glow)});
        change(write.Glows.back().Values);
    }
    return write;
}

std::optional<TFloat3> MovedAlong(const TFloat3& p, const TFloat3& from, const TFloat3& to)
{
    bool finite = true;
    const auto moved = [&](float c, float start, float end) {
        const uint32_t bits = std::bit_cast<uint32_t>(c);
        if (std::bit_cast<uint32_t>(start) == std::bit_cast<uint32_t>(end))
            return c;
        if (bits == std::bit_cast<uint32_t>(start)) {
            // A face centre made of an infinite vertex is no place to go.
            finite = finite && std::isfinite(end);
            return end;
        }
        // In double the offset is exact and the sum rounds once.
        const double offset = double(end) - double(start);
        if (!std::isfinite(c) && std::isfinite(offset))
            return c;
        const float sum = static_cast<float>(double(c) + offset);
        finite = finite && std::isfinite(sum);
        return sum;
    };
    const TFloat3 result{moved(p.X, from.X, to.X), moved(p.Y, from.Y, to.Y), moved(p.Z, from.Z, to.Z)};
    return finite ? std::optional(result) : std::nullopt;
}

std::string GlowsNamed(const std::vector<TGlowIndex>& glows)
{
    // A selection of thousands would fill the screen: the first ones stand
    // for the rest.
    constexpr size_t Named = 10;
    std::string text;
    for (size_t i = 0; i < std::min(glows.size(), Named); ++i)
        text += (i > 0 ? ", glow " : "glow ") + std::to_string(glows[i].Glow) + " of mesh " + std::to_string(glows[i].Mesh);
    if (glows.size() > Named)
        text += " and " + std::to_string(glows.size() - Named) + " more";
    return text;
}

namespace {

// "Glow 2 of mesh 0 was not moved: its centre would not be a finite number",
// several named up to ten: verb what happened to them not, value (its, one)
// and values (their, several) what would not be finite.
std::string NotChangedText(const std::vector<TGlowIndex>& glows, const std::string& verb, const std::string& value,
                           const std::string& values)
{
    if (glows.size() == 1) {
        std::string text = GlowsNamed(glows) + " was not " + verb + ": its " + value + " would not be a finite number";
        text.front() = 'G';
        return text;
    }
    return std::to_string(glows.size()) + " glows were not " + verb + ", their " + values +
           " would not be finite numbers: " + GlowsNamed(glows);
}

}  // namespace

std::string NotMovedText(const std::vector<TGlowIndex>& glows)
{
    return NotChangedText(glows, "moved", "centre", "centres");
}

std::string NotSizedText(const std::vector<TGlowIndex>& glows)
{
    return NotChangedText(glows, "sized", "main vector", "main vectors");
}
