#pragma once
// The content of each frame: mesh wireframes, the selection highlight and the
// engine glows, in OpenGL immediate mode.

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

// The whole normal frame content; sets ViewReady at its end.
void DrawScene();
// The face pass (also the pick pass): decodes the selection, then draws every
// face of every mesh that has glows, each under its pick name.
void DrawMeshes();
// The face pass's calls for one mesh, colours aside: per face of LOD 0 its
// pick name (the face's packed selection with faceNames, else the mesh's
// index) and its glBegin/glEnd. A bad vertex index raises its list error.
void DrawMeshFaces(int32_t meshIndex, const TOMesh& mesh, bool faceNames);
void DrawAllGlows();
// One glow; glowIndex -1 draws nothing.
void DrawGlow(int meshIndex, int glowIndex);
