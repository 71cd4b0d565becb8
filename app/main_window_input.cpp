// The main window's keys and presses: every key press is previewed before the
// controls get it. The placing tool takes its keys first (a drag's, the
// nudges), the camera control those that move the view, the window those
// that step the selection. A press in the view starts a camera drag, unless
// a glow is held, and goes to the placing tool (a glow, a mesh or a face).

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>

#include "camera_control.h"
#include "error_display.h"
#include "glow_panel.h"
#include "glow_placer.h"
#include "main_window.h"
#include "open_document.h"
#include "value_dialog.h"
#include "view_panel.h"

bool TMainWindow::IsPreviewedKey(QObject* watched) const
{
    if (QApplication::activeWindow() != this)
        return false;
    // While a menu is open or the menu bar has the keyboard (after Alt), the
    // keys move the menu highlight and nothing else. A title highlighted only
    // because the pointer rests on it takes no keys.
    if (QApplication::activePopupWidget() || (menuBar()->hasFocus() && menuBar()->activeAction()))
        return false;
    // A key goes first to the focus widget (or the window itself) and only
    // then, if ignored, to its parents: preview it at its first receiver.
    QWidget* focus = QApplication::focusWidget();
    const QWidget* first = focus && focus->window() == this ? focus : this;
    return watched == first;
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event)
{
    const bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (keyEvent && IsPreviewedKey(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        Guarded([&] {
            if (!Placer->Key(*key) && event->type() == QEvent::KeyPress)
                KeyPressed(key->key(), key->modifiers());
        });
    } else if (watched == centralWidget() && event->type() == QEvent::Resize) {
        LayoutPanels();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainWindow::KeyPressed(int key, Qt::KeyboardModifiers shift)
{
    if (!State.Ready || Cameras->Key(key, shift))
        return;
    switch (key) {
    case Qt::Key_N:
    case Qt::Key_P: {
        const TSelStep step = key == Qt::Key_N ? TSelStep::Next : TSelStep::Prev;
        if (!ShiftOnly(shift) && Document.Selection.Step(step, Document.Model))
            ShowSelection();
        return;
    }
    case Qt::Key_Escape:
        // A drag takes it first (the placer's keys), an edit dialog's own
        // Escape closes it: with neither, it ends a selection of several glows.
        if (shift == Qt::NoModifier && !Panel->Dialog->isVisible())
            Placer->SelectEditedGlowAlone();
        return;
    default:
        return;
    }
}

void TMainWindow::ViewPressed(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                              bool doubleClick, int x, int y)
{
    Guarded([&] {
        // A press while a glow is held is the placer's alone.
        if (!Placer->Dragging())
            Cameras->StartDrag(modifiers);
        Placer->Press(button, buttons, modifiers, doubleClick, x, y);
    });
}
