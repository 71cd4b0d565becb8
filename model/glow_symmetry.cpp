#include "glow_symmetry.h"

#include <algorithm>

namespace {

bool Holds(const std::vector<TGlowIndex>& glows, TGlowIndex at)
{
    return std::find(glows.begin(), glows.end(), at) != glows.end();
}

}  // namespace

TGlowIndex TwinOf(const TModel& model, TGlowIndex at, TMirrorAxis axis, double within)
{
    const TMirrorTwin twin = NearestToMirrorImage(model, at, axis);
    if (!twin.At || !(twin.Distance <= within) || twin.At == at)
        return {};
    return twin.At;
}

void TSymmetry::Set(std::optional<TMirrorAxis> axis)
{
    Across = axis;
    TwinsFound = false;
}

void TSymmetry::Forget()
{
    TwinsFound = false;
}

void TSymmetry::Reset()
{
    Within.reset();
    TwinsFound = false;
}

double TSymmetry::Reach(const TModel& model) const
{
    if (!Within)
        Within = TwinReach(model);
    return *Within;
}

TTwinnedWrite TSymmetry::With(const TGlowWrite& write, const TModel& model) const
{
    TTwinnedWrite twinned{write, {}};
    if (!Across)
        return twinned;
    std::vector<TGlowIndex> written;
    for (const TGlowValues& glow : write.Glows)
        written.push_back(glow.At);
    for (const TGlowValues& glow : write.Glows) {
        const TGlowIndex twin = TwinOf(model, glow.At, *Across, Reach(model));
        if (!twin) {
            twinned.Alone.push_back(glow.At);
            continue;
        }
        if (Holds(written, twin))
            continue;
        TEngineGlow image = MirrorImage(glow.Values, *Across);
        image.FilePos = model.Meshes.Get(twin.Mesh).Glows.Get(twin.Glow).FilePos;
        twinned.Write.Glows.push_back({twin, image});
        written.push_back(twin);
    }
    return twinned;
}

const std::vector<TGlowIndex>& TSymmetry::Twins(const TModel& model, const std::vector<TGlowIndex>& glows) const
{
    if (!Across) {
        FoundTwins.clear();
        return FoundTwins;
    }
    if (!TwinsFound || TwinsOf != glows) {
        FoundTwins.clear();
        for (TGlowIndex at : glows)
            if (const TGlowIndex twin = TwinOf(model, at, *Across, Reach(model)); twin && !Holds(glows, twin))
                FoundTwins.push_back(twin);
        TwinsOf = glows;
        TwinsFound = true;
    }
    return FoundTwins;
}
