#pragma once
// The model-side work of the glow panel and the edit dialog, free of widgets.

#include <functional>

#include "glow_write.h"
#include "model.h"

// Number of glows of mesh CurMesh (the list error when CurMesh names no mesh).
int CurMeshGlowCount();

// Glow EditGlow of mesh CurMesh, or nullptr when EditGlow names none of its
// glows: -1, or an index left over from another mesh or model.
TEngineGlow* ShownGlow();

// For every glow of every mesh in list order: change it in memory and write
// it back into the working copy. A working copy that changed on disk since
// the editor read or wrote it is found before the first glow changes
// (CheckWorkingCopy: nothing changes); a failing write ends the copy at that
// glow (throws what WriteWorkingCopyGlow throws). DialogGlow is left alone,
// so an open edit dialog keeps writing the glow it was opened for. Each glow
// written is added to written, also when a later write fails.
void CopyToAllGlows(const std::function<void(TEngineGlow&)>& change, std::vector<TGlowWrite>& written);

// The middle of the axis-aligned bounding box of a face's corners, computed
// in float32 from the start bounds 999999 / -999999. Raises the vertex list's
// error when a corner names no vertex.
TFloat3 FaceBoxCentre(const TOMesh& mesh, const TOFace& face);
