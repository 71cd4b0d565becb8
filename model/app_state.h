#pragma once
// The shared application state, gathered into the objects that own it: the
// open model with its working copy, and the selection with the glow being
// edited. The view's camera lies in view/. Each object's default is its value
// at program start, and ResetSharedState puts every one back. The short
// names below (TheModel, CurMesh, EditGlow, ...) are how the windows reach
// the members. Nothing here knows of Qt.

#include <cstdint>
#include <optional>
#include <string>

#include "file_util.h"
#include "model.h"
#include "opt_file_io.h"

// Which glow of the model: a mesh index and an index in that mesh's glows.
struct TGlowIndex {
    int32_t Mesh = -1;
    int32_t Glow = -1;
    // False for no glow.
    explicit operator bool() const { return Mesh >= 0 && Glow >= 0; }
    bool operator==(const TGlowIndex&) const = default;
};

// The model being edited and where it lives.
struct TOpenModel {
    TModel Model;
    // The one reader, with its bounds.
    OPTInFile Reader;
    // Folders, each with a trailing path separator, and the file being edited.
    std::string AppDir;
    std::string ProjectDir;
    std::string DataDir;
    std::string OptFileName;  // file name only; the working copy is ProjectDir + OptFileName
    // The working copy as the editor last read or wrote it; empty before the
    // first read after a CopyOpt. Every write checks against it.
    std::optional<TFileIdentity> KnownCopy;
};

// What is selected, and the glow being edited.
struct TSelection {
    // SelectedId packs mesh index + face index * 65536 (face mode) or the bare
    // mesh index (mesh mode); DecodeSelection unpacks it into CurMesh, CurFace.
    int32_t SelectMode = 0;  // 0 meshes, 1 faces
    int32_t SelectedId = 0;
    int32_t CurMesh = 0;
    int32_t CurFace = 0;
    // EditGlow indexes the glows of CurMesh (-1 none); DialogGlow is the glow
    // the edit dialog works on, kept while the panel moves on.
    int32_t EditGlow = 0;
    TGlowIndex DialogGlow;
    // Which value of DialogGlow the dialog's Man Ok stores the grid into.
    bool PendingPoint = false, PendingVector = false, PendingDensity0 = false, PendingDensity1 = false,
         PendingDensity2 = false;
};

extern TOpenModel OpenModel;
extern TSelection Selection;

inline std::string& AppDir = OpenModel.AppDir;
inline std::string& ProjectDir = OpenModel.ProjectDir;
inline std::string& DataDir = OpenModel.DataDir;
inline std::string& OptFileName = OpenModel.OptFileName;

inline int32_t& SelectMode = Selection.SelectMode;
inline int32_t& SelectedId = Selection.SelectedId;
inline int32_t& CurMesh = Selection.CurMesh;
inline int32_t& CurFace = Selection.CurFace;
inline int32_t& EditGlow = Selection.EditGlow;
inline TGlowIndex& DialogGlow = Selection.DialogGlow;
inline bool& PendingPoint = Selection.PendingPoint;
inline bool& PendingVector = Selection.PendingVector;
inline bool& PendingDensity0 = Selection.PendingDensity0;
inline bool& PendingDensity1 = Selection.PendingDensity1;
inline bool& PendingDensity2 = Selection.PendingDensity2;

// Sets CurMesh and CurFace from SelectedId according to SelectMode.
void DecodeSelection();

// Clears the five pending marks.
void ClearPendingMarks();

// Puts every piece of shared state back as at program start: the open model
// and its working copy, the selection, the drawing colours, the decimal
// separator, and what the layers above registered. Test fixtures call it.
void ResetSharedState();
// A layer above this one registers the reset of the state it owns (the view
// its camera); done once, at static initialization.
bool RegisterStateReset(void (*reset)());

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
