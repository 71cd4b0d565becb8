#include "view_state.h"

#include "M_draw.h"
#include "app_state.h"

TCamera Camera;
TViewState ViewState;

namespace {

[[maybe_unused]] const bool ResetRegistered = RegisterStateReset([] {
    Camera = TCamera{};
    ViewState = TViewState{};
    GlowDisplay = nullptr;
});

}  // namespace

void SetStartValues()
{
    Closing = false;
    GLMade = 0;
    Picking = false;
    RotX = RotY = RotZ = 0;
    Zoom = 1.0;
    RotStep = 4;
    ViewReady = false;
    CurMesh = 0;
    CurFace = 0;
    SelectedId = 0;
}

void ResetCamera()
{
    RotX = RotY = RotZ = 0;
    Zoom = 1.0;
    PanX = PanY = 0;
}
