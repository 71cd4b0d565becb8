#include "app_start.h"

#include <QLocale>
#include <QTimer>

#include "glow_panel.h"
#include "value_dialog.h"
#include "color_settings.h"
#include "view_panel.h"
#include "main_window.h"
#include "conversions.h"
#include "dialog_seam.h"
#include "error_display.h"
#include "messages.h"

TNegApplication::TNegApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TNegApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowError(e);
        return false;
    }
}

void InstallAppBasics()
{
    // The application name, not a display name: Qt appends a display name
    // to every window caption, and the main window's caption is fixed.
    // applicationDisplayName() still answers "NEG" for the message boxes.
    QApplication::setApplicationName("NEG");
    SetShowMsgHandler([](const std::string& text) { Dialogs().Message(QString::fromStdString(text), false); });
    const QString point = QLocale::system().decimalPoint();
    DecimalSeparator = point.size() == 1 && point[0].unicode() < 128 ? char(point[0].unicode()) : '.';
}

bool CreateForms()
{
    auto* me = new TMainWindow;
    if (!me->Created())
        return false;
    // Each window above the one it is opened from: the panel above the main
    // window, the edit dialog above the panel, Set Colors above the main
    // window.
    auto* panel = new TGlowPanel(me->GlowPanelArea, me->History);
    TValueDialog* dialog = panel->Dialog;
    new TColorSettings(me);
    // Direct connections: the frame is drawn inside the handler that asks for
    // it, in order, and an error it raises ends that handler.
    QObject::connect(panel, &TGlowPanel::RedrawRequested, me, &TMainWindow::Redraw, Qt::DirectConnection);
    QObject::connect(dialog, &TValueDialog::RedrawRequested, me, &TMainWindow::Redraw, Qt::DirectConnection);
    // The values being edited show in the panel and the view, over the kept
    // picture of the meshes.
    QObject::connect(
        dialog, &TValueDialog::PreviewChanged, me,
        [panel] {
            Guarded([&] {
                panel->ShowGlowValues();
                RenderGlowsChanged();
            });
        },
        Qt::DirectConnection);
    QObject::connect(dialog, &TValueDialog::KeyboardReleased, me, [me] { me->activateWindow(); });
    return true;
}

void ShowMainWindow(const QString& file)
{
    Me->showMaximized();
    // Without a window manager nobody else gives the new window the
    // keyboard; with one this asks for what it would do anyway.
    Me->activateWindow();
    if (file.isEmpty())
        return;
    // After start-up, as a user's open would come: the window is shown and
    // the view has its context.
    QTimer::singleShot(0, Me, [file] { Guarded([&] { Me->OpenModel(file); }); });
}

void DestroyForms()
{
    delete Col;
    Col = nullptr;
    // The panel's edit dialog goes with it.
    delete EGlow;
    EGlow = nullptr;
    delete Me;
    Me = nullptr;
}
