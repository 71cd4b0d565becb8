// The main window's keys: every key press is previewed before the controls
// get it. The placing tool takes its keys first (a drag's, the nudges); the
// key table turns, shifts and zooms the view and steps the selection.

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>

#include "error_display.h"
#include "glow_panel.h"
#include "glow_placer.h"
#include "main_window.h"
#include "open_document.h"
#include "value_dialog.h"

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
    if (!State.Ready)
        return;
    const bool shiftOnly = (shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == Qt::ShiftModifier;
    // The zoom keys are those of the main keyboard; the keypad's + and - are
    // other keys. Its arrows and page keys (NumLock off) are the same keys
    // as the main block's; on macOS every arrow key carries the keypad mark.
    const bool keypad = shift.testFlag(Qt::KeypadModifier);
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
            return;
        c.RotZ = WrapAdd(c.RotZ, c.RotStep);
        break;
    case Qt::Key_PageDown:
        if (shiftOnly)
            return;
        c.RotZ = WrapSub(c.RotZ, c.RotStep);
        break;
    case Qt::Key_N:
        if (!shiftOnly)
            SelectNext();
        return;
    case Qt::Key_P:
        if (!shiftOnly)
            SelectPrevious();
        return;
    case Qt::Key_Escape:
        // A drag takes it first (the placer's keys), an edit dialog's own
        // Escape closes it: with neither, it ends a selection of several glows.
        if (shift == Qt::NoModifier && !Panel->Dialog->isVisible())
            Placer->SelectEditedGlowAlone();
        return;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        // "=" and "-" count whatever Shift makes of them.
        if (shiftOnly || keypad)
            return;
        c.Zoom += 0.05;
        break;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        if (shiftOnly || keypad)
            return;
        c.Zoom -= 0.05;
        break;
    default:
        return;
    }
    ViewMoved();
}

void TMainWindow::SelectNext()
{
    if (Document.Selection.Step(TSelStep::Next, Document.Model))
        ShowSelection();
}

void TMainWindow::SelectPrevious()
{
    if (Document.Selection.Step(TSelStep::Prev, Document.Model))
        ShowSelection();
}
