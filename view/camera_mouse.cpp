#include "camera_mouse.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "selection.h"

namespace {

// Adds the whole part of rest + amount to value, keeping the fraction in rest.
void AddWhole(int32_t& value, double& rest, double amount)
{
    rest += amount;
    const double whole = std::trunc(rest);
    rest -= whole;
    // Turns and shifts wrap as the keys' do; a move beyond the integers' range
    // (a huge model's volume) counts as far as they go.
    value = WrapAdd(value, static_cast<int32_t>(std::clamp(whole, double(INT32_MIN), double(INT32_MAX))));
}

}  // namespace

void WheelZoom(TCamera& camera, double notches)
{
    camera.Zoom *= std::pow(WheelZoomFactor, notches);
}

void TCameraDrag::Start()
{
    *this = {};
}

void TCameraDrag::Turn(TCamera& camera, double dx, double dy)
{
    AddWhole(camera.RotY, TurnRest[0], dx * DragDegreesPerPixel);
    AddWhole(camera.RotX, TurnRest[1], dy * DragDegreesPerPixel);
}

void TCameraDrag::Shift(TCamera& camera, double dx, double dy, int width, int height)
{
    // The volume's span covers the viewport; window y runs downwards.
    const double span = double(camera.ViewMax) - double(camera.ViewMin);
    if (width > 0)
        AddWhole(camera.PanX, ShiftRest[0], dx * span / width);
    if (height > 0)
        AddWhole(camera.PanY, ShiftRest[1], -dy * span / height);
}
