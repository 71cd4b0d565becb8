// The mouse in the main window's view: a click selects a mesh or a face (or
// picks a glow, main_window_glows.cpp; Ctrl+click selects several,
// main_window_selection.cpp), the wheel zooms, a drag turns or shifts the
// model.

#include "error_display.h"
#include "glow_panel.h"
#include "main_window.h"
#include "open_document.h"
#include "view_panel.h"

void TMainWindow::ViewPressed(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                              bool doubleClick, int x, int y)
{
    Guarded([&] {
        if (GlowDragging) {
            // Another button while a glow is held: the right one puts it back.
            if (button == Qt::RightButton)
                CancelGlowDrag();
            return;
        }
        CameraDrag.Start();
        DragWithShift = modifiers.testFlag(Qt::ShiftModifier);
        const Qt::KeyboardModifiers held = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        const bool left = buttons == Qt::LeftButton && !doubleClick;
        if (State.Ready && left && held == Qt::ControlModifier) {
            ToggleGlowAt(x, y);
            return;
        }
        if (!State.Ready || !left || held || PickGlowAt(x, y))
            return;
        if (const std::optional<int32_t> hit = ViewPanel->PickFace(Scene(), State.Camera, x, y))
            Document.Selection.Select(*hit, Document.Model);
        ShowSelection();
    });
}

void TMainWindow::ViewWheel(double notches)
{
    Guarded([&] {
        if (!State.Ready)
            return;
        WheelZoom(State.Camera, notches);
        Redraw();
    });
}

void TMainWindow::ViewDragged(Qt::MouseButtons buttons, double dx, double dy)
{
    Guarded([&] {
        if (!State.Ready)
            return;
        if (buttons == Qt::MiddleButton || (buttons == Qt::RightButton && DragWithShift)) {
            CameraDrag.Shift(State.Camera, dx, dy, ViewPanel->DeviceSize().width(), ViewPanel->DeviceSize().height());
        } else if (buttons == Qt::RightButton) {
            const double ratio = ViewPanel->devicePixelRatioF();
            CameraDrag.Turn(State.Camera, dx / ratio, dy / ratio);
        } else {
            return;
        }
        Redraw();
    });
}

void TMainWindow::ViewResized()
{
    // Draw the picture anew at the view's new size while frames complete.
    // After a frame that stopped on an error the last complete one stays
    // shown: drawing again would only raise the same error, box and all.
    if (!Closing && State.Ready && Panel && Panel->isVisible() && ViewPanel->LastFrameComplete())
        Guarded([&] { Redraw(); });
}

void TMainWindow::ShowSelection()
{
    Panel->ShowGlow();
    Redraw();
}
