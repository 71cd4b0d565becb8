#include "glow_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "view_projection.h"

namespace {

int32_t NearestInt32(double value)
{
    return int32_t(std::clamp(std::round(value), double(INT32_MIN), double(INT32_MAX)));
}

bool Finite(const TFloat3& v)
{
    return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z);
}

}  // namespace

bool FrameGlow(TCamera& camera, const TEngineGlow& glow)
{
    if (!Finite(glow.Center) || !Finite(glow.MainVec))
        return false;
    const TViewVolume volume = ViewVolume(camera.ViewMin, camera.ViewMax);
    const double span = volume.High - volume.Low;
    const TFloat3& v = glow.MainVec;
    // A zero vector still gets a finite zoom (a model without vertices has
    // its volume mirrored: a span below zero).
    const double reach = std::max(
        {std::fabs(double(v.X)) / 4, std::fabs(double(v.Y)) / 2, std::fabs(double(v.Z)), std::fabs(span) / 1000});
    camera.Zoom = span / (6 * reach);
    // The pivot lands on the shift: shifted to the middle of the volume, it
    // stays there in every turn (within half a unit: the shift is whole
    // units).
    camera.Pivot = {glow.Center.X, glow.Center.Y, glow.Center.Z};
    camera.PanX = camera.PanY = NearestInt32((volume.Low + volume.High) / 2);
    return true;
}
