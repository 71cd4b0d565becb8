#include "camera_mouse.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "view_panel.h"
#include "app_state.h"
#include "view_state.h"

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

void WheelZoom(double notches)
{
    Zoom *= std::pow(WheelZoomFactor, notches);
}

void TCameraDrag::Start()
{
    *this = {};
}

void TCameraDrag::Turn(double dx, double dy)
{
    AddWhole(RotY, TurnRest[0], dx * DragDegreesPerPixel);
    AddWhole(RotX, TurnRest[1], dy * DragDegreesPerPixel);
}

void TCameraDrag::Shift(double dx, double dy)
{
    // The volume's span covers the viewport; window y runs downwards.
    const double span = double(ViewMax) - double(ViewMin);
    if (ViewWidth > 0)
        AddWhole(PanX, ShiftRest[0], dx * span / ViewWidth);
    if (ViewHeight > 0)
        AddWhole(PanY, ShiftRest[1], -dy * span / ViewHeight);
}
