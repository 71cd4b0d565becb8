#pragma once
// The content of each frame: mesh wireframes, the selection highlight and the
// engine glows. The faces go one by one in immediate mode where each must be
// told apart (picking, feedback); the picture on screen draws the same
// outlines from each mesh's kept array of edges.

#include <array>
#include <cstdint>
#include <functional>

struct TOMesh;

// What the glow panel's display buttons say at drawing time.
struct TGlowDisplay {
    bool Showing = false;       // the glow panel is on screen; no glow is drawn otherwise
    bool SelectedOnly = true;   // SB1 down: only glow EditGlow of CurMesh
    bool Cones = false;         // SBCone down: cones too
};

// Installed by the glow panel; asked at every frame. Unset means "panel hidden".
extern std::function<TGlowDisplay()> GlowDisplay;

// The whole normal frame content, face by face: DrawMeshes, then
// DrawSceneGlows.
void DrawScene();
// The glows the panel's buttons ask for; ends a scene by setting ViewReady.
void DrawSceneGlows();

// Column-major, model coordinates to clip coordinates.
using TClipMatrix = std::array<double, 16>;

// The face pass (also the pick pass): decodes the selection, then draws every
// face of every mesh that has glows, each under its pick name. With
// pickRegion, a face whose corners' box lies wholly outside the clip square
// through that matrix (the pick square, once the pick matrix is on it)
// cannot be hit and is not sent; the names loaded and the hits recorded stay
// those of the whole pass. Throws EListError.
void DrawMeshes(const TClipMatrix* pickRegion = nullptr);
// The same picture as DrawMeshes in GL_RENDER mode, each mesh's outlines
// drawn from its kept edges (mesh_lines.h), no names. Throws EListError where
// DrawMeshes would.
void DrawMeshPicture();
// The face pass's calls for one mesh, colours aside: per face of LOD 0 its
// pick name (the face's packed selection with faceNames, else the mesh's
// index) and its glBegin/glEnd. A bad vertex index raises its list error.
void DrawMeshFaces(int32_t meshIndex, const TOMesh& mesh, bool faceNames);
void DrawAllGlows();
// One glow: its halo under Glow Colors, then its point, lines and cones;
// glowIndex -1 draws nothing.
void DrawGlow(int meshIndex, int glowIndex);
// The point of the glow being edited, the largest a glow draws, in pixels.
inline constexpr float LargestGlowPoint = 8.0f;
// The point, lines and cones of one glow (a valid index).
void DrawGlowLines(int meshIndex, int glowIndex);
