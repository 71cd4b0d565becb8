#include "model_box.h"

#include <algorithm>
#include <cmath>
#include <limits>

TModelBox ModelBox(const TModel& model)
{
    constexpr float none = std::numeric_limits<float>::infinity();
    TModelBox box{{none, none, none}, {-none, -none, -none}};
    for (const TOMesh& mesh : model.Meshes)
        for (const TVertex& v : mesh.Vertices) {
            if (!std::isfinite(v.X) || !std::isfinite(v.Y) || !std::isfinite(v.Z))
                continue;
            box.Low = {std::min(box.Low.X, v.X), std::min(box.Low.Y, v.Y), std::min(box.Low.Z, v.Z)};
            box.High = {std::max(box.High.X, v.X), std::max(box.High.Y, v.Y), std::max(box.High.Z, v.Z)};
        }
    return box;
}
