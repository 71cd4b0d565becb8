#include "face_centre.h"

TFloat3 FaceBoxCentre(const TOMesh& mesh, const TOFace& face)
{
    float lo[3] = {999999.0f, 999999.0f, 999999.0f};
    float hi[3] = {-999999.0f, -999999.0f, -999999.0f};
    for (int k = 0; k < face.CornerCount(); ++k) {
        const TVertex& v = mesh.Vertices.Get(face.VertIdx.Index[k]);
        const float c[3] = {v.X, v.Y, v.Z};
        for (int axis = 0; axis < 3; ++axis) {
            if (c[axis] > hi[axis])
                hi[axis] = c[axis];
            if (c[axis] < lo[axis])
                lo[axis] = c[axis];
        }
    }
    float mid[3];
    for (int axis = 0; axis < 3; ++axis) {
        const float d = hi[axis] - lo[axis];
        mid[axis] = hi[axis] + d / -2.0f;
    }
    return {mid[0], mid[1], mid[2]};
}

bool FaceCornersValid(const TOMesh& mesh, const TOFace& face)
{
    for (int k = 0; k < face.CornerCount(); ++k) {
        const int32_t index = face.VertIdx.Index[k];
        if (index < 0 || index >= mesh.Vertices.Count())
            return false;
    }
    return true;
}
