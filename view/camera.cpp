#include "camera.h"

#include <algorithm>
#include <cmath>

#include "model.h"
#include "model_box.h"

namespace {

// Nearest integer, ties to the even one (the default rounding mode).
int64_t RoundHalfEven(float value)
{
    const double r = std::nearbyint(double(value));
    return int64_t(std::clamp(r, double(INT32_MIN), double(INT32_MAX)));
}

// The bound a third further from zero than r (r div 3 truncates), as far as
// the integers go.
int32_t PushedOut(int64_t r)
{
    return static_cast<int32_t>(std::clamp<int64_t>(r + r / 3, INT32_MIN, INT32_MAX));
}

}  // namespace

void ResetCamera(TCamera& camera)
{
    camera.RotX = camera.RotY = camera.RotZ = 0;
    camera.Zoom = 1.0;
    camera.PanX = camera.PanY = 0;
    camera.Pivot = {};
}

void FitToModel(TCamera& camera, const TModel& model)
{
    // Every axis pooled, from the start values on.
    float max = -999999.0f;
    float min = 999999.0f;
    if (const TModelBox box = ModelBox(model); !box.Empty()) {
        max = std::max({max, box.High.X, box.High.Y, box.High.Z});
        min = std::min({min, box.Low.X, box.Low.Y, box.Low.Z});
    }
    camera.ViewMax = PushedOut(RoundHalfEven(max));
    camera.ViewMin = PushedOut(RoundHalfEven(min));
}

void LookFrom(TCamera& camera, TAxisView view)
{
    // The frame turns z first, then y, then x, and the viewer is on the side
    // of the least depth (view_projection.h). The model's x is right, y
    // forward, z up: the named side faces the viewer, z up, or for top and
    // bottom the nose (+y) up.
    struct TTurns {
        int32_t X, Y, Z;
    };
    TTurns turns{};
    switch (view) {
    case TAxisView::Front:
        turns = {-90, 0, 0};  // +y towards the viewer
        break;
    case TAxisView::Back:
        turns = {-90, 0, 180};  // -y
        break;
    case TAxisView::Left:
        turns = {-90, 0, -90};  // -x
        break;
    case TAxisView::Right:
        turns = {-90, 0, 90};  // +x
        break;
    case TAxisView::Top:
        turns = {180, 0, 180};  // +z
        break;
    case TAxisView::Bottom:
        turns = {0, 0, 0};  // -z
        break;
    }
    camera.RotX = turns.X;
    camera.RotY = turns.Y;
    camera.RotZ = turns.Z;
}
