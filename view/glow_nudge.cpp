#include "glow_nudge.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "conversions.h"

namespace {

constexpr int StepsPerDecade = 3;
constexpr double Mantissas[StepsPerDecade] = {1, 2, 5};
// From 1e-9 to 5e9: beyond them a float centre would not move, or fly off.
constexpr int FinestIndex = -9 * StepsPerDecade, CoarsestIndex = 9 * StepsPerDecade + 2;

int Decade(int index)
{
    return index >= 0 ? index / StepsPerDecade : -((-index + StepsPerDecade - 1) / StepsPerDecade);
}

// An axis that lies closer than this to across the key's direction has no
// way to go there (the drag's locks give up at the same slope).
constexpr double Steepest = 0.05;

}  // namespace

TNudgeStep TNudgeStep::For(double span)
{
    TNudgeStep step;
    const double wanted = std::fabs(span) / 100;
    if (!std::isfinite(wanted) || wanted <= 0)
        return step;
    step.Index = FinestIndex;
    while (step.Index < CoarsestIndex) {
        TNudgeStep next = step;
        next.Coarser();
        if (next.Units() > wanted)
            break;
        step = next;
    }
    return step;
}

double TNudgeStep::Units() const
{
    const int decade = Decade(Index);
    return Mantissas[Index - decade * StepsPerDecade] * std::pow(10.0, decade);
}

void TNudgeStep::Finer()
{
    Index = std::max(FinestIndex, Index - 1);
}

void TNudgeStep::Coarser()
{
    Index = std::min(CoarsestIndex, Index + 1);
}

std::string TNudgeStep::Text() const
{
    const std::string format = "%." + std::to_string(std::max(0, -Decade(Index))) + "f";
    return FormatFloats(format.c_str(), {Units()});
}

std::optional<TFloat3> Nudged(const TFloat3& c, TNudge direction, double step, int lock,
                              const TViewProjection& view)
{
    static constexpr TVec3 Eye[] = {{-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    const TVec3 along = view.Direction(Eye[int(direction)]);
    TFloat3 moved = c;
    float* coordinate[3] = {&moved.X, &moved.Y, &moved.Z};
    const auto move = [&](int axis, double by) {
        float& value = *coordinate[axis];
        if (by != 0 && std::isfinite(value)) {
            constexpr double largest = std::numeric_limits<float>::max();
            value = float(std::clamp(double(value) + by, -largest, largest));
        }
    };
    if (lock >= 0 && lock < 3) {
        const double slope = along[size_t(lock)];
        if (std::fabs(slope) < Steepest)
            return std::nullopt;
        move(lock, slope > 0 ? step : -step);
        return moved;
    }
    for (int axis = 0; axis < 3; ++axis)
        move(axis, step * along[size_t(axis)]);
    return moved;
}
