#include "selection.h"

#include "app_state.h"
#include "model.h"

bool StepSelection(TSelStep step)
{
    const auto move = [step](int32_t cur, int32_t n) {
        return step == TSelStep::Next ? NextIndex(cur, n) : PrevIndex(cur, n);
    };
    if (SelectMode == 0) {
        CurMesh = move(CurMesh, TheModel.Meshes.Count());
        SelectedId = CurMesh;
        return true;
    }
    const int32_t faces = TheModel.Meshes.Get(CurMesh).Faces[0].Count();
    if (faces == 0)
        return false;  // stepping would produce index 0 or -1, neither a face
    CurFace = move(CurFace, faces);
    SelectedId = PackSelection(CurMesh, CurFace);
    return true;
}
