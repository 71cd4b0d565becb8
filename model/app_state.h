#pragma once
// The shared application state: one instance of each, zeroed at program start.
// The windows read and write these directly; nothing here knows of Qt.

#include <cstdint>
#include <string>

struct TEngineGlow;

// Folders, each with a trailing path separator, and the file being edited.
extern std::string AppDir;
extern std::string ProjectDir;
extern std::string DataDir;
extern std::string OptFileName;  // file name only; the working copy is ProjectDir + OptFileName

// Selection. SelectedId packs mesh index + face index * 65536 (face mode) or
// the bare mesh index (mesh mode); DecodeSelection unpacks it.
extern int32_t SelectMode;  // 0 meshes, 1 faces
extern int32_t SelectedId;
extern int32_t CurMesh;
extern int32_t CurFace;

// Glow editing: EditGlow indexes the glows of CurMesh (-1 none); DialogGlow is
// the glow the edit dialog stores into and writes back (not owned).
extern int32_t EditGlow;
extern TEngineGlow* DialogGlow;
extern bool PendingPoint, PendingVector, PendingDensity0, PendingDensity1, PendingDensity2;

// View flags.
extern bool ViewReady;  // keys and view clicks are ignored while false
extern bool Closing;
extern bool Picking;

// Camera and view volume.
extern int32_t RotX, RotY, RotZ;
extern double Zoom;
extern int32_t PanX, PanY;
extern int32_t RotStep;
extern int32_t ViewMax, ViewMin;
extern int32_t GLMade;

// Sets CurMesh and CurFace from SelectedId according to SelectMode.
void DecodeSelection();

// The start values the main window sets when it is created.
void SetStartValues();

// Rotation, zoom and shift back to 0, 1.0 and 0 (the movement rate stays).
void ResetCamera();

// Puts every global of the shared state back to its zeroed program start:
// the above, TheModel emptied and ViewColors black. For tests.
void ResetSharedState();

// Clears the five pending marks.
void ClearPendingMarks();

// 32-bit sums that wrap around as the machine's integers do, without the
// signed overflow C++ leaves undefined.
constexpr int32_t WrapAdd(int32_t a, int32_t b) { return static_cast<int32_t>(uint32_t(a) + uint32_t(b)); }
constexpr int32_t WrapSub(int32_t a, int32_t b) { return static_cast<int32_t>(uint32_t(a) - uint32_t(b)); }

// Packs a mesh and face index into a selection id / pick name.
constexpr int32_t PackSelection(int32_t mesh, int32_t face)
{
    return static_cast<int32_t>(uint32_t(mesh) + uint32_t(face) * 65536u);
}

// The platform's path separator, used after folder names.
#ifdef _WIN32
inline constexpr char PathDelim = '\\';
#else
inline constexpr char PathDelim = '/';
#endif
