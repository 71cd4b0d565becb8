#pragma once
// The camera moved by the user: the arrow, page and zoom keys, the wheel, a
// drag with the right or middle button, the views along the model's axes,
// Reset View, Frame Glow, the fit to a model just opened and the movement
// rate. It changes the camera it is given and asks for a frame (Moved); it
// draws nothing, and what it has to say goes out as Said.

#include <QObject>
#include <QString>

#include "camera.h"
#include "camera_mouse.h"
#include "scene.h"

struct TOpenModel;
class TViewPanel;

// Shift without Ctrl or Alt: the arrows shift the model instead of turning
// it, and the key table's other keys are left alone.
bool ShiftOnly(Qt::KeyboardModifiers modifiers);

class TCameraControl : public QObject {
    Q_OBJECT
public:
    // view: its size and scale measure a drag. state: the camera changed,
    // and Ready, without which keys, the wheel, drags and Frame Glow do
    // nothing. open: the model fitted and the glow framed.
    TCameraControl(const TViewPanel& view, TViewState& state, const TOpenModel& open, QObject* parent);

    // A key of the key table that moves the camera: the arrows turn (shift
    // with Shift alone), Page Up and Page Down roll, = and - zoom. False for
    // any other key, and for one the modifiers leave to something else.
    bool Key(int key, Qt::KeyboardModifiers modifiers);
    // A button went down in the view: a drag starts afresh, shifting the
    // model where Shift is held now.
    void StartDrag(Qt::KeyboardModifiers modifiers);
    // The view's Dragged: the right button turns, the middle one (or the
    // right one with Shift at the press) shifts.
    void Drag(Qt::MouseButtons buttons, double dx, double dy);
    // The view's WheelTurned: zoom by notches.
    void Wheel(double notches);

    // Display > Front ... Bottom, and Reset View.
    void LookFrom(TAxisView view);
    void Reset();
    // Display > Frame Glow: on the glow being edited; otherwise says why
    // and leaves the view.
    void FrameGlow();
    // A model was opened: the volume fitted to it, turned about its origin.
    // Asks for no frame: opening draws its own.
    void FitToModel();
    // The glow panel's movement rate: degrees per key press.
    void SetRate(int degrees);

signals:
    // The camera changed: one frame is wanted.
    void Moved();
    // A word for the status bar.
    void Said(const QString& text);

private:
    const TViewPanel& View;
    TViewState& State;
    const TOpenModel& Open;
    TCameraDrag Dragging;
    bool DragWithShift = false;  // Shift was held when the drag's button went down
};
