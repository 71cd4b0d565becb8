#pragma once
// The content of each frame, drawn from a scene with the frame's matrices
// loaded: mesh wireframes, the selection highlight and the engine glows. The
// faces go one by one in immediate mode where each must be told apart
// (picking, feedback); the picture on screen draws the same outlines from
// each mesh's kept array of edges, and fills the faces from kept arrays. Drawing reads the scene and changes
// nothing outside OpenGL.

#include <cstdint>

#include "mesh_arrays.h"
#include "mesh_plan.h"
#include "scene.h"
#include "view_projection.h"

// The whole normal frame content, face by face: DrawMeshes, then
// DrawSceneGlows.
void DrawScene(const TScene& scene, const TViewProjection& view);

// The face pass (also the pick pass): every face of every mesh that has
// glows, each under its pick name. With pickRegion, a face whose corners' box
// lies wholly outside the clip square through that matrix (the pick square,
// once the pick projection is on it) cannot be hit and is not sent; the names
// loaded and the hits recorded stay those of the whole pass. Throws
// EListError.
void DrawMeshes(const TScene& scene, const TGLMatrix* pickRegion = nullptr);
// The same picture as DrawMeshes in GL_RENDER mode, each mesh's outlines
// drawn from its kept edges, no names, but the selected mesh's over all the
// others'; under Solid the lit faces first, from each mesh's kept faces.
// Throws EListError where DrawMeshes would (under Solid: at the first bad
// vertex index of the meshes filled).
void DrawMeshPicture(const TScene& scene, const TViewProjection& view, TMeshArrays& arrays);
// The meshes' picture planned (TMeshPlan) and cut into parts of about equal
// numbers of vertices: PlanMeshPicture(..., 1) is DrawMeshPicture's plan.
// Builds the arrays missing and throws EListError where DrawMeshPicture
// would; nothing is drawn.
TMeshPlan PlanMeshPicture(const TScene& scene, TMeshArrays& arrays, int parts);
// Part `part` of the plan over model's meshes, with its state set and put
// back. The faces' light is found at each mesh's first draw, and kept in
// arrays for the parts after it. Throws EListError for the current face.
void DrawMeshPart(const TModel& model, const TMeshPlan& plan, size_t part, const TViewProjection& view,
                  TMeshArrays& arrays);
// The face pass's calls for one mesh, colours aside: per face of LOD 0 its
// pick name (the face's packed selection with faceNames, else the mesh's
// index) and its glBegin/glEnd. A bad vertex index raises its list error.
void DrawMeshFaces(int32_t meshIndex, const TOMesh& mesh, bool faceNames);

// The glows the scene's display asks for: none while the glow panel is
// hidden, the selected glows, or every glow.
void DrawSceneGlows(const TScene& scene, const TViewProjection& view);
void DrawAllGlows(const TScene& scene, const TViewProjection& view);
// One glow: its halo under Glow Colors, then its point, lines and cones;
// glowIndex -1 draws nothing.
void DrawGlow(const TScene& scene, const TViewProjection& view, int meshIndex, int glowIndex);
// The point of the glow being edited, the largest a glow draws, of the other
// glows selected with it, and of every other glow, in pixels.
inline constexpr float LargestGlowPoint = 8.0f;
inline constexpr float SelectedGlowPoint = 6.0f;
inline constexpr float GlowPoint = 4.0f;
inline constexpr float TwinGlowPoint = 2.0f;
