#include "view_state.h"

#include "scene_drawing.h"
#include "app_state.h"

TCamera Camera;
TViewState ViewState;
TViewOptions ViewOptions;

namespace {

[[maybe_unused]] const bool ResetRegistered = RegisterStateReset([] {
    Camera = TCamera{};
    ViewState = TViewState{};
    ViewOptions = TViewOptions{};
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

void LookFrom(TAxisView view)
{
    // The frame turns z first, then y, then x, and the viewer is on the side
    // of the least depth (view_projection.h). The model's x is right, y
    // forward, z up: the named side faces the viewer, z up, or for top and
    // bottom the nose (+y) up.
    struct TTurns {
        int32_t X, Y, Z;
    };
    TTurns turns{};
    switch (view) {
    case TAxisView::Front:
        turns = {-90, 0, 0};  // +y towards the viewer
        break;
    case TAxisView::Back:
        turns = {-90, 0, 180};  // -y
        break;
    case TAxisView::Left:
        turns = {-90, 0, -90};  // -x
        break;
    case TAxisView::Right:
        turns = {-90, 0, 90};  // +x
        break;
    case TAxisView::Top:
        turns = {180, 0, 180};  // +z
        break;
    case TAxisView::Bottom:
        turns = {0, 0, 0};  // -z
        break;
    }
    RotX = turns.X;
    RotY = turns.Y;
    RotZ = turns.Z;
}
