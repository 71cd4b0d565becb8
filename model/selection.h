#pragma once
// What is selected: a mesh or a face of one, the glow being edited and the
// glows selected with it. Stepping with N and P goes through the meshes of
// the model in mesh mode, through the faces of the current mesh's first face
// list in face mode.

#include <cstdint>
#include <vector>

struct TModel;

// Which glow of the model: a mesh index and an index in that mesh's glows.
struct TGlowIndex {
    int32_t Mesh = -1;
    int32_t Glow = -1;
    // False for no glow.
    explicit operator bool() const { return Mesh >= 0 && Glow >= 0; }
    bool operator==(const TGlowIndex&) const = default;
};

// 32-bit sums that wrap around as the machine's integers do, without the
// signed overflow C++ leaves undefined.
constexpr int32_t WrapAdd(int32_t a, int32_t b) { return static_cast<int32_t>(uint32_t(a) + uint32_t(b)); }
constexpr int32_t WrapSub(int32_t a, int32_t b) { return static_cast<int32_t>(uint32_t(a) - uint32_t(b)); }

// Packs a mesh and face index into a selection id / pick name.
constexpr int32_t PackSelection(int32_t mesh, int32_t face)
{
    return static_cast<int32_t>(uint32_t(mesh) + uint32_t(face) * 65536u);
}

// The index after cur in a list of n items, wrapping from the last to 0.
constexpr int32_t NextIndex(int32_t cur, int32_t n) { return cur < n - 1 ? cur + 1 : 0; }
// The index before cur in a list of n items, wrapping from 0 to the last.
constexpr int32_t PrevIndex(int32_t cur, int32_t n) { return cur > 0 ? cur - 1 : n - 1; }

enum class TSelStep { Next, Prev };

// What a click and N and P select: SelectMode's two values.
inline constexpr int32_t MeshMode = 0, FaceMode = 1;

struct TSelection {
    // SelectedId packs mesh index + face index * 65536 (face mode) or the bare
    // mesh index (mesh mode); Decode unpacks it into CurMesh, CurFace.
    int32_t SelectMode = MeshMode;
    int32_t SelectedId = 0;
    int32_t CurMesh = 0;
    int32_t CurFace = 0;
    // EditGlow indexes the glows of CurMesh (-1 none).
    int32_t EditGlow = 0;
    // The glows selected together, in the order they were selected, the
    // glow being edited last. While the glow being edited is not the last
    // (another glow came to be edited), it is selected alone. A move to
    // another mesh (Select, SetMode, Step) selects the glow edited there
    // alone.
    std::vector<TGlowIndex> Glows{};

    // Sets CurMesh and CurFace from SelectedId according to SelectMode; in
    // mesh mode an id past the last mesh selects the last one.
    void Decode(const TModel& model);
    // SelectMode or SelectedId set, then decoded.
    void SetMode(int32_t mode, const TModel& model);
    void Select(int32_t id, const TModel& model);
    // Moves CurMesh (mesh mode) or CurFace (face mode) one step and packs the
    // result into SelectedId. Returns false and changes nothing when the
    // current mesh has no faces in face mode: there is no face to step to.
    // Throws EListError when CurMesh is not a mesh in face mode.
    bool Step(TSelStep step, const TModel& model);

    // The glow being edited: glow EditGlow of CurMesh, or none when EditGlow
    // names none of its glows (-1, or an index left over from another mesh
    // or model). Throws EListError when EditGlow is set and CurMesh names no
    // mesh.
    TGlowIndex EditedGlow(const TModel& model) const;
    // Every selected glow, the glow being edited first, then the others in
    // the order they were selected; none while no glow is being edited. A
    // glow that model does not hold is left out. Throws as EditedGlow.
    std::vector<TGlowIndex> SelectedGlows(const TModel& model) const;
    // The glow at `at`, of model, becomes the glow being edited, the others
    // selected stay selected: its mesh becomes CurMesh (in face mode with
    // its face 0 selected, unless it is CurMesh already).
    void EditGlowAt(TGlowIndex at, const TModel& model);
    // Ctrl+click: the glow at `at` is added to the selection and edited, or,
    // when selected, taken out of it (the glow selected before it is edited
    // then). The only glow selected stays: false, nothing changed.
    bool ToggleGlow(TGlowIndex at, const TModel& model);
    // Adds the glows of glows to the selection; the glow being edited stays.
    void AddGlows(const std::vector<TGlowIndex>& glows, const TModel& model);
    // Leaves the glow being edited selected alone.
    void SelectEditedGlowAlone() { Glows.clear(); }
};
