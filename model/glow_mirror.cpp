#include "glow_mirror.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "model_box.h"

namespace {

float& Coordinate(TFloat3& p, TMirrorAxis axis)
{
    return axis == TMirrorAxis::X ? p.X : axis == TMirrorAxis::Y ? p.Y : p.Z;
}

}  // namespace

TFloat3 Mirrored(const TFloat3& p, TMirrorAxis axis)
{
    TFloat3 image = p;
    float& c = Coordinate(image, axis);
    c = std::bit_cast<float>(std::bit_cast<uint32_t>(c) ^ 0x80000000u);
    return image;
}

TEngineGlow MirrorImage(const TEngineGlow& source, TMirrorAxis axis)
{
    TEngineGlow image = source;
    image.Center = Mirrored(source.Center, axis);
    image.MainVec = Mirrored(source.MainVec, axis);
    return image;
}

double ModelSize(const TModel& model)
{
    const TModelBox box = ModelBox(model);
    if (box.Empty())
        return 0;
    return std::max({double(box.High.X) - box.Low.X, double(box.High.Y) - box.Low.Y, double(box.High.Z) - box.Low.Z});
}

double TwinReach(const TModel& model)
{
    return TwinShare * ModelSize(model);
}

TMirrorTwin NearestToMirrorImage(const TModel& model, TGlowIndex at, TMirrorAxis axis,
                                 const std::function<bool(TGlowIndex)>& passOver)
{
    const TFloat3 image = Mirrored(model.Meshes.Get(at.Mesh).Glows.Get(at.Glow).Center, axis);
    TMirrorTwin nearest{{}, std::numeric_limits<double>::infinity()};
    for (int32_t m = 0; m < model.Meshes.Count(); ++m) {
        const TEngineGlowL& glows = model.Meshes.Get(m).Glows;
        for (int32_t g = 0; g < glows.Count(); ++g) {
            if (passOver && passOver({m, g}))
                continue;
            const TFloat3& c = glows.Get(g).Center;
            const double distance = std::hypot(double(c.X) - image.X, double(c.Y) - image.Y, double(c.Z) - image.Z);
            if (distance < nearest.Distance)
                nearest = {{m, g}, distance};
        }
    }
    return nearest;
}

TTwinImages MirrorOntoTwins(const TModel& model, const std::vector<TGlowIndex>& glows, TMirrorAxis axis)
{
    const double reach = TwinReach(model);
    TTwinImages result;
    // Each mesh's glows, true for those passed over: the glows given, and a
    // twin once taken (two glows written onto one would leave only the last
    // one's image). Looked up once per glow of the model per glow given.
    std::vector<std::vector<bool>> passed(size_t(model.Meshes.Count()));
    for (int32_t m = 0; m < model.Meshes.Count(); ++m)
        passed[size_t(m)].resize(size_t(model.Meshes.Get(m).Glows.Count()));
    const auto pass = [&](TGlowIndex at) { passed[size_t(at.Mesh)][size_t(at.Glow)] = true; };
    for (const TGlowIndex& at : glows) {
        (void)model.Meshes.Get(at.Mesh).Glows.Get(at.Glow);  // the list error for a glow the model lacks
        pass(at);
    }
    const std::function<bool(TGlowIndex)> passOver = [&](TGlowIndex at) {
        return passed[size_t(at.Mesh)][size_t(at.Glow)];
    };
    for (const TGlowIndex& at : glows) {
        const TMirrorTwin twin = NearestToMirrorImage(model, at, axis, passOver);
        // A glow on the mirror plane lies nearer its own image than any
        // other glow does: it is its own twin, as Select Mirror Twin says.
        TFloat3 centre = model.Meshes.Get(at.Mesh).Glows.Get(at.Glow).Center;
        const double own = 2 * std::fabs(double(Coordinate(centre, axis)));
        if (!twin.At || !(twin.Distance <= reach) || own <= twin.Distance) {
            result.Untwinned.push_back(at);
            continue;
        }
        TEngineGlow image = MirrorImage(model.Meshes.Get(at.Mesh).Glows.Get(at.Glow), axis);
        image.FilePos = model.Meshes.Get(twin.At.Mesh).Glows.Get(twin.At.Glow).FilePos;
        result.Images.push_back({twin.At, image});
        pass(twin.At);
    }
    return result;
}
