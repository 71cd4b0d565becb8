#include "selection.h"

#include <algorithm>

#include "model.h"

namespace {

bool HoldsGlow(const TModel& model, TGlowIndex at)
{
    return at && at.Mesh < model.Meshes.Count() && at.Glow < model.Meshes.Get(at.Mesh).Glows.Count();
}

bool Contains(const std::vector<TGlowIndex>& glows, TGlowIndex at)
{
    return std::find(glows.begin(), glows.end(), at) != glows.end();
}

// The selected glows in the order they were selected, the glow being edited
// last; none while no glow is being edited.
std::vector<TGlowIndex> InOrder(const TSelection& selection, const TModel& model)
{
    const TGlowIndex edited = selection.EditedGlow(model);
    if (!edited)
        return {};
    if (selection.Glows.empty() || selection.Glows.back() != edited)
        return {edited};
    std::vector<TGlowIndex> glows;
    for (const TGlowIndex& at : selection.Glows)
        if (HoldsGlow(model, at) && !Contains(glows, at))
            glows.push_back(at);
    return glows;
}

}  // namespace

void TSelection::Decode(const TModel& model)
{
    if (SelectMode == MeshMode) {
        const int32_t last = model.Meshes.Count() - 1;
        if (SelectedId <= last) {
            CurMesh = SelectedId;
            CurFace = 0;
        } else {
            CurMesh = last;
        }
    } else {
        // C++ division truncates toward zero and the remainder takes the
        // dividend's sign, as the packing expects.
        CurMesh = SelectedId % 65536;
        CurFace = SelectedId / 65536;
    }
}

void TSelection::SetMode(int32_t mode, const TModel& model)
{
    const int32_t mesh = CurMesh;
    SelectMode = mode;
    Decode(model);
    if (CurMesh != mesh)
        Glows.clear();
}

void TSelection::Select(int32_t id, const TModel& model)
{
    const int32_t mesh = CurMesh;
    SelectedId = id;
    Decode(model);
    if (CurMesh != mesh)
        Glows.clear();
}

bool TSelection::Step(TSelStep step, const TModel& model)
{
    const auto move = [step](int32_t cur, int32_t n) {
        return step == TSelStep::Next ? NextIndex(cur, n) : PrevIndex(cur, n);
    };
    if (SelectMode == MeshMode) {
        CurMesh = move(CurMesh, model.Meshes.Count());
        SelectedId = CurMesh;
        Glows.clear();
        return true;
    }
    const int32_t faces = model.Meshes.Get(CurMesh).Faces[0].Count();
    if (faces == 0)
        return false;  // stepping would produce index 0 or -1, neither a face
    CurFace = move(CurFace, faces);
    SelectedId = PackSelection(CurMesh, CurFace);
    return true;
}

TGlowIndex TSelection::EditedGlow(const TModel& model) const
{
    // No glow selected: CurMesh need not name a mesh then.
    if (EditGlow == -1)
        return {};
    const int32_t glows = model.Meshes.Get(CurMesh).Glows.Count();
    if (EditGlow < 0 || EditGlow >= glows)
        return {};
    return {CurMesh, EditGlow};
}

std::vector<TGlowIndex> TSelection::SelectedGlows(const TModel& model) const
{
    std::vector<TGlowIndex> glows = InOrder(*this, model);
    if (glows.size() > 1)
        std::rotate(glows.begin(), glows.end() - 1, glows.end());
    return glows;
}

void TSelection::EditGlowAt(TGlowIndex at, const TModel& model)
{
    if (at.Mesh != CurMesh) {
        SelectedId = SelectMode == FaceMode ? PackSelection(at.Mesh, 0) : at.Mesh;
        Decode(model);
    }
    EditGlow = at.Glow;
}

bool TSelection::ToggleGlow(TGlowIndex at, const TModel& model)
{
    std::vector<TGlowIndex> glows = InOrder(*this, model);
    if (!Contains(glows, at)) {
        glows.push_back(at);
        EditGlowAt(at, model);
    } else if (glows.size() == 1) {
        return false;
    } else {
        std::erase(glows, at);
        EditGlowAt(glows.back(), model);
    }
    Glows = std::move(glows);
    return true;
}

void TSelection::AddGlows(const std::vector<TGlowIndex>& glows, const TModel& model)
{
    std::vector<TGlowIndex> selected = InOrder(*this, model);
    if (selected.empty())
        return;
    // Before the glow being edited, which stays the last.
    for (const TGlowIndex& at : glows)
        if (HoldsGlow(model, at) && !Contains(selected, at))
            selected.insert(selected.end() - 1, at);
    Glows = std::move(selected);
}
