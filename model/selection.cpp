#include "selection.h"

#include "model.h"

void TSelection::Decode(const TModel& model)
{
    if (SelectMode == 0) {
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
    SelectMode = mode;
    Decode(model);
}

void TSelection::Select(int32_t id, const TModel& model)
{
    SelectedId = id;
    Decode(model);
}

bool TSelection::Step(TSelStep step, const TModel& model)
{
    const auto move = [step](int32_t cur, int32_t n) {
        return step == TSelStep::Next ? NextIndex(cur, n) : PrevIndex(cur, n);
    };
    if (SelectMode == 0) {
        CurMesh = move(CurMesh, model.Meshes.Count());
        SelectedId = CurMesh;
        return true;
    }
    const int32_t faces = model.Meshes.Get(CurMesh).Faces[0].Count();
    if (faces == 0)
        return false;  // stepping would produce index 0 or -1, neither a face
    CurFace = move(CurFace, faces);
    SelectedId = PackSelection(CurMesh, CurFace);
    return true;
}
