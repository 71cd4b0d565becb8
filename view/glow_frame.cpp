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

}  // namespace

void FrameGlow(TCamera& camera, const TEngineGlow& glow)
{
    const TViewVolume volume = ViewVolume(camera.ViewMin, camera.ViewMax);
    const double span = volume.High - volume.Low;
    const TFloat3& v = glow.MainVec;
    // A zero vector still gets a finite zoom.
    const double reach =
        std::max({std::fabs(double(v.X)) / 4, std::fabs(double(v.Y)) / 2, std::fabs(double(v.Z)), span / 1000});
    camera.Zoom = span / (6 * reach);
    TCamera unshifted = camera;
    unshifted.PanX = unshifted.PanY = 0;
    const TVec3 eye = TViewProjection(unshifted, 1, 1).Turned({glow.Center.X, glow.Center.Y, glow.Center.Z});
    const double middle = (volume.Low + volume.High) / 2;
    camera.PanX = NearestInt32(middle - eye[0]);
    camera.PanY = NearestInt32(middle - eye[1]);
}
