#pragma once
// The box around a model's vertices, from which its size and the view's fit
// are taken.

#include "model.h"

// Lowest and highest coordinate on each axis. A vertex with a coordinate that
// is no finite number is left out: it has no place, and one infinity would
// make every model endless. Empty (Low above High) when no vertex is left.
struct TModelBox {
    TFloat3 Low, High;
    bool Empty() const { return !(Low.X <= High.X); }
};
TModelBox ModelBox(const TModel& model);
