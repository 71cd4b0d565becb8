#pragma once
// The main window: menus, status bar, the view panel P1 and the panel P2 that
// the glow panel lies over; the key table, the open flow and the selection.

#include <QMainWindow>

class TGLPanel;
class QStatusBar;

class TMe : public QMainWindow {
    Q_OBJECT
public:
    explicit TMe(QWidget* parent = nullptr);

    // Redraws the view with the current camera: the one redraw entry.
    void NewTr();

    TGLPanel* P1 = nullptr;  // the OpenGL view, kept square
    QWidget* P2 = nullptr;   // the rest; the glow panel is laid over it
    QStatusBar* Bar = nullptr;
};

// The one main window.
extern TMe* Me;
