#include "glow_mirror.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

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
    constexpr double none = std::numeric_limits<double>::infinity();
    double low[3] = {none, none, none}, high[3] = {-none, -none, -none};
    for (const TOMesh& mesh : model.Meshes)
        for (const TVertex& v : mesh.Vertices) {
            const float c[3] = {v.X, v.Y, v.Z};
            for (int i = 0; i < 3; ++i) {
                low[i] = std::min<double>(low[i], c[i]);
                high[i] = std::max<double>(high[i], c[i]);
            }
        }
    double size = 0;
    for (int i = 0; i < 3; ++i)
        if (low[i] <= high[i])
            size = std::max(size, high[i] - low[i]);
    return size;
}

TMirrorTwin NearestToMirrorImage(const TModel& model, TGlowIndex at, TMirrorAxis axis)
{
    const TFloat3 image = Mirrored(model.Meshes.Get(at.Mesh).Glows.Get(at.Glow).Center, axis);
    TMirrorTwin nearest{{}, std::numeric_limits<double>::infinity()};
    for (int32_t m = 0; m < model.Meshes.Count(); ++m) {
        const TEngineGlowL& glows = model.Meshes.Get(m).Glows;
        for (int32_t g = 0; g < glows.Count(); ++g) {
            const TFloat3& c = glows.Get(g).Center;
            const double distance = std::hypot(double(c.X) - image.X, double(c.Y) - image.Y, double(c.Z) - image.Z);
            if (distance < nearest.Distance)
                nearest = {{m, g}, distance};
        }
    }
    return nearest;
}
