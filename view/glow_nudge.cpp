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

namespace {

// The model's direction of a key's move, as view shows the model.
TVec3 Along(TNudge direction, const TViewProjection& view)
{
    static constexpr TVec3 Eye[] = {{-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    return view.Direction(Eye[int(direction)]);
}

}  // namespace

int NudgeAxis(TNudge direction, const TViewProjection& view)
{
    const TVec3 along = Along(direction, view);
    int nearest = 0;
    for (int axis = 1; axis < 3; ++axis)
        if (std::fabs(along[size_t(axis)]) > std::fabs(along[size_t(nearest)]))
            nearest = axis;
    return nearest;
}

std::optional<TFloat3> Nudged(const TFloat3& c, TNudge direction, double step, int lock,
                              const TViewProjection& view)
{
    const int axis = lock >= 0 && lock < 3 ? lock : NudgeAxis(direction, view);
    const double slope = Along(direction, view)[size_t(axis)];
    if (std::fabs(slope) < Steepest)
        return std::nullopt;
    TFloat3 moved = c;
    float* const coordinates[3] = {&moved.X, &moved.Y, &moved.Z};
    float& value = *coordinates[axis];
    if (std::isfinite(value)) {
        constexpr double largest = std::numeric_limits<float>::max();
        value = float(std::clamp(double(value) + (slope > 0 ? step : -step), -largest, largest));
    }
    return moved;
}
