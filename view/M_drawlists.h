#pragma once
// The face pass from OpenGL 1.1 display lists: per GL context, per mesh and
// per kind of pick name, one list that records exactly the calls
// DrawMeshFaces makes. A list is recorded at its first use and again whenever
// the faces or the vertices of its mesh are no longer those it was recorded
// from; a new context starts with none.

#include <cstdint>

struct TOMesh;

// Replays DrawMeshFaces(meshIndex, mesh, faceNames) from its list. When
// recording met a list error, the replay draws what came before it and then
// raises the same error, as drawing the faces would.
void CallMeshFaces(int32_t meshIndex, const TOMesh& mesh, bool faceNames);
