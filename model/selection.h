#pragma once
// Stepping the selection with N and P: through the meshes of TheModel in mesh
// mode, through the faces of the current mesh's first face list in face mode.

#include <cstdint>

// The index after cur in a list of n items, wrapping from the last to 0.
constexpr int32_t NextIndex(int32_t cur, int32_t n) { return cur < n - 1 ? cur + 1 : 0; }
// The index before cur in a list of n items, wrapping from 0 to the last.
constexpr int32_t PrevIndex(int32_t cur, int32_t n) { return cur > 0 ? cur - 1 : n - 1; }

enum class TSelStep { Next, Prev };

// Moves CurMesh (mesh mode) or CurFace (face mode) one step from the values
// the last redraw decoded and packs the result into SelectedId. Returns false
// and changes nothing when the current mesh has no faces in face mode: there
// is no face to step to. Throws EListError when CurMesh is not a mesh in face
// mode.
bool StepSelection(TSelStep step);
