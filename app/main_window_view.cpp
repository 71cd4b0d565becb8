// The mouse in the main window's view: the left button is the placing
// tool's (it picks and drags glows, selects meshes and faces), the wheel
// zooms, a drag with the right or middle button turns or shifts the model.

#include <QLabel>

#include "error_display.h"
#include "glow_panel.h"
#include "glow_placer.h"
#include "main_window.h"
#include "open_document.h"
#include "view_panel.h"

void TMainWindow::ViewPressed(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                              bool doubleClick, int x, int y)
{
    Guarded([&] {
        // A press while a glow is held is the placer's alone.
        if (!Placer->Dragging()) {
            CameraDrag.Start();
            DragWithShift = modifiers.testFlag(Qt::ShiftModifier);
        }
        Placer->Press(button, buttons, modifiers, doubleClick, x, y);
    });
}

void TMainWindow::ViewWheel(double notches)
{
    Guarded([&] {
        if (!State.Ready)
            return;
        WheelZoom(State.Camera, notches);
        ViewMoved();
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
        ViewMoved();
    });
}

void TMainWindow::ViewResized()
{
    // Draw the picture anew at the view's new size while frames complete.
    // After a frame that stopped on an error the last complete one stays
    // shown: drawing again would only raise the same error, box and all.
    if (!Closing && State.Ready && Panel && Panel->isVisible() && ViewPanel->LastFrameComplete())
        Guarded([&] { ViewMoved(); });
}

void TMainWindow::ShowSelection()
{
    Panel->ShowGlow();
    Redraw();
    ShowSelectedCount();
}

void TMainWindow::ShowSelectedCount()
{
    // Also while no model is open, or the selection names no mesh.
    const TSelection& s = Document.Selection;
    size_t selected = 0;
    if (State.Ready && s.CurMesh >= 0 && s.CurMesh < Document.Model.Meshes.Count())
        selected = s.SelectedGlows(Document.Model).size();
    WindowItems.SelectionLabel->setText(selected > 1 ? QStringLiteral("%1 glows selected").arg(selected) : QString());
}
