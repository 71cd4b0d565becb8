#include "camera_control.h"

#include "glow_frame.h"
#include "messages.h"
#include "open_model.h"
#include "view_panel.h"

TCameraControl::TCameraControl(const TViewPanel& view, TViewState& state, const TOpenModel& open, QObject* parent)
    : QObject(parent), View(view), State(state), Open(open)
{
}

bool TCameraControl::Key(int key, Qt::KeyboardModifiers modifiers)
{
    if (!State.Ready)
        return false;
    const bool shiftOnly = ShiftOnly(modifiers);
    // The zoom keys are those of the main keyboard; the keypad's + and - are
    // other keys. Its arrows and page keys (NumLock off) are the same keys
    // as the main block's; on macOS every arrow key carries the keypad mark.
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    TCamera& c = State.Camera;
    const int32_t panStep = c.ViewMax / 10;
    switch (key) {
    case Qt::Key_Left:
        shiftOnly ? c.PanX = WrapSub(c.PanX, panStep) : c.RotY = WrapSub(c.RotY, c.RotStep);
        break;
    case Qt::Key_Right:
        shiftOnly ? c.PanX = WrapAdd(c.PanX, panStep) : c.RotY = WrapAdd(c.RotY, c.RotStep);
        break;
    case Qt::Key_Up:
        shiftOnly ? c.PanY = WrapAdd(c.PanY, panStep) : c.RotX = WrapSub(c.RotX, c.RotStep);
        break;
    case Qt::Key_Down:
        shiftOnly ? c.PanY = WrapSub(c.PanY, panStep) : c.RotX = WrapAdd(c.RotX, c.RotStep);
        break;
    case Qt::Key_PageUp:
        if (shiftOnly)
            return false;
        c.RotZ = WrapAdd(c.RotZ, c.RotStep);
        break;
    case Qt::Key_PageDown:
        if (shiftOnly)
            return false;
        c.RotZ = WrapSub(c.RotZ, c.RotStep);
        break;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        // "=" and "-" count whatever Shift makes of them.
        if (shiftOnly || keypad)
            return false;
        c.Zoom += 0.05;
        break;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        if (shiftOnly || keypad)
            return false;
        c.Zoom -= 0.05;
        break;
    default:
        return false;
    }
    emit Moved();
    return true;
}

void TCameraControl::StartDrag(Qt::KeyboardModifiers modifiers)
{
    Dragging.Start();
    DragWithShift = modifiers.testFlag(Qt::ShiftModifier);
}

void TCameraControl::Drag(Qt::MouseButtons buttons, double dx, double dy)
{
    if (!State.Ready)
        return;
    if (buttons == Qt::MiddleButton || (buttons == Qt::RightButton && DragWithShift)) {
        Dragging.Shift(State.Camera, dx, dy, View.DeviceSize().width(), View.DeviceSize().height());
    } else if (buttons == Qt::RightButton) {
        const double ratio = View.devicePixelRatioF();
        Dragging.Turn(State.Camera, dx / ratio, dy / ratio);
    } else {
        return;
    }
    emit Moved();
}

void TCameraControl::Wheel(double notches)
{
    if (!State.Ready)
        return;
    WheelZoom(State.Camera, notches);
    emit Moved();
}

void TCameraControl::LookFrom(TAxisView view)
{
    ::LookFrom(State.Camera, view);
    emit Moved();
}

void TCameraControl::Reset()
{
    ResetCamera(State.Camera);
    emit Moved();
}

void TCameraControl::FrameGlow()
{
    // Before a model is open the start values name no glow to ask for.
    const int32_t mesh = Open.Selection.CurMesh;
    const bool open = State.Ready && mesh >= 0 && mesh < Open.Model.Meshes.Count();
    const TGlowIndex shown = open ? Open.Selection.EditedGlow(Open.Model) : TGlowIndex{};
    if (!shown) {
        emit Said(NoGlowEditedText);
        return;
    }
    if (!::FrameGlow(State.Camera, Open.ShownValues(shown))) {
        emit Said("The glow's centre or main vector is not a finite number: the view stays as it was");
        return;
    }
    emit Moved();
}

void TCameraControl::FitToModel()
{
    ::FitToModel(State.Camera, Open.Model);
    // A glow of the last model is no point to turn about: the new one turns
    // about its origin, as at start (turns, zoom and shift carry over).
    State.Camera.Pivot = {};
}

void TCameraControl::SetRate(int degrees)
{
    State.Camera.RotStep = degrees;
    emit Moved();
}

bool ShiftOnly(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == Qt::ShiftModifier;
}
