#pragma once
// The centre a glow is put at on a face: the middle of the face's box.

#include "model.h"

// The middle of the axis-aligned bounding box of a face's corners, computed
// in float32 from the start bounds 999999 / -999999. Raises the vertex list's
// error when a corner names no vertex.
TFloat3 FaceBoxCentre(const TOMesh& mesh, const TOFace& face);

// Whether every corner of face names a vertex of mesh.
bool FaceCornersValid(const TOMesh& mesh, const TOFace& face);
