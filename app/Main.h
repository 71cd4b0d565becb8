#pragma once
// The main window: menus, status bar, the view panel P1 and the panel P2 that
// the glow panel lies over; the key table, the open flow and the selection.

#include <QMainWindow>
#include <QPointF>
#include <QTimer>
#include <optional>
#include <string>

#include "camera_mouse.h"
#include "glow_drag.h"
#include "glow_history.h"
#include "glow_preview.h"

class TGLPanel;
class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QStatusBar;

// The window caption, also the first line of the About box; NEG_VERSION is
// the changelog's newest version.
inline constexpr const char* ProgramCaption = "Nimbra_Engine_Glow ver " NEG_VERSION " ";

// What SetODOPT prepares for the open dialog OD1.
struct TOpenDialogSetup {
    QString Title;
    QString Filter;
    QString Folder;
};

class TMe : public QMainWindow {
    Q_OBJECT
public:
    explicit TMe(QWidget* parent = nullptr);

    // Redraws the view with the current camera: the one redraw entry.
    void NewTr();

    TGLPanel* P1 = nullptr;  // the OpenGL view, kept square
    QWidget* P2 = nullptr;   // the rest; the glow panel is laid over it
    QStatusBar* Bar = nullptr;
    QLabel* BarPanel0 = nullptr;  // width 400: the working copy's path
    QLabel* BarPanel1 = nullptr;  // width 50: never written
    QLabel* BarMessage = nullptr;  // what was written last, for a few seconds

    QMenu* File1 = nullptr;
    QAction* OpenOpt = nullptr;
    QMenu* RecentFiles1 = nullptr;
    QAction* ExportCopy1 = nullptr;
    QAction* ExportPicture1 = nullptr;
    QAction* ShowCopy1 = nullptr;
    QAction* N2 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Edit1 = nullptr;
    QAction* Undo1 = nullptr;
    QAction* Redo1 = nullptr;
    QAction* CopyPicture1 = nullptr;
    QMenu* Map1 = nullptr;
    QAction* Mesh1 = nullptr;
    QAction* Face1 = nullptr;
    QAction* ResetView1 = nullptr;
    QAction* Front1 = nullptr;
    QAction* Back1 = nullptr;
    QAction* Left1 = nullptr;
    QAction* Right1 = nullptr;
    QAction* Top1 = nullptr;
    QAction* Bottom1 = nullptr;
    QAction* FrameGlow1 = nullptr;
    QAction* GlowColors1 = nullptr;
    QAction* Solid1 = nullptr;
    QAction* WholeModel1 = nullptr;
    QMenu* Colors2 = nullptr;
    QAction* Colors1 = nullptr;
    QAction* About1 = nullptr;

    TOpenDialogSetup OD1;
    // The edits of the open model.
    TGlowHistory History;

    // False when FormCreate found no Colors.dat: the program must end
    // without showing the window.
    bool Created() const { return CreateOk; }

    // Handlers, named after component and event.
    void FormCreate();
    void FormShow();
    void FormResize();
    void FormClose();
    void FormKeyDown(int key, Qt::KeyboardModifiers shift);
    void P1MouseDown(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                     bool doubleClick, int x, int y);
    // The wheel over P1 zooms; a drag with the right button turns the model,
    // with the middle one (or Shift held at the right one's press) shifts it.
    void P1Wheel(double notches);
    void P1Drag(Qt::MouseButtons buttons, double dx, double dy);
    // P1's framebuffer changed size: a resize or a change of scale.
    void P1FramebufferResized();

    // Glows in the view (Main_glows.cpp). A plain left click at (x, y),
    // device pixels, on a drawn glow's centre picks that glow: its mesh is
    // made current and the panel shows it. On the glow being edited it also
    // readies a drag, which starts once the pointer has moved the system's
    // drag distance. False when no glow is there.
    bool PickGlowAt(int x, int y);
    // The left button held: moves the dragged glow's centre with the
    // pointer (Ctrl snaps it to a vertex, Shift to a face centre).
    void P1PointerMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF at);
    // The left button let go: the dragged centre is written, one edit.
    void P1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at);
    // A key pressed or let go while a glow is dragged: Escape puts the glow
    // back, X, Y and Z lock it to an axis or free it, Ctrl and Shift snap at
    // once, N and P wait for the drag's end. False for the keys that act as
    // ever, and always while no glow is dragged.
    bool GlowDragKey(const QKeyEvent& key);
    // The open dialog, then OpenModel on the chosen file.
    void OpenOptClick();
    // Opens the OPT file at path as Open Opt does once a file is chosen: the
    // glow panel hidden, the edit dialog forgotten, the model cleared, the
    // working copy made and read, its path in the status bar, the first mesh
    // with glows selected, the view and the panel shown. The command line,
    // a drop and Recent Files open files through it. Throws what CopyOpt and
    // ReadOpt throw.
    void OpenModel(const QString& path);
    // A Recent Files entry: opens it, or says it is gone and takes it off.
    void OpenRecent(const QString& path);
    // Saves a copy of the working copy where the user chooses.
    void ExportCopy1Click();
    // Opens the working copies' folder in the desktop's file manager.
    void ShowCopy1Click();
    void Mesh1Click();
    void Face1Click();
    void ResetView1Click();
    // Display items of the view (Main_display.cpp). The six views turn the
    // camera to look along an axis of the model; Frame Glow centres and
    // zooms on the glow being edited.
    void FrameGlow1Click();
    // Glow Colors (remembered between starts), Solid and Whole Model follow
    // their check marks.
    void GlowColors1Click();
    void Solid1Click();
    void WholeModel1Click();
    // The view as shown, in device pixels: saved as a PNG file where the
    // user chooses (whole or not at all), or put on the clipboard.
    void ExportPicture1Click();
    void CopyPicture1Click();
    void Colors1Click();
    void About1Click();
    void Exit1Click();
    void Undo1Click();
    void Redo1Click();
    // Glows changed through the edit history: the status bar says what a new
    // edit wrote, and the view shows it.
    void GlowsChanged(const TGlowEdit& written, TGlowHistory::TMove move);
    // Says text in the status bar for a few seconds, beside the path.
    void ShowBriefly(const QString& text);

    void SetODOPT();
    // Makes the working copy of the file being opened. When a copy of that
    // name holds another model or cannot be read, the user continues with
    // it, replaces it with the file, or cancels: false. Throws what CopyOpt
    // and CopyFileStream throw.
    bool CopyOpt();
    void SelNext();
    void SelPrev();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // An OPT file dropped onto the window opens as Open Opt would open it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenu();
    // Runs handler, guarded, when item is chosen.
    void Handle(QAction* item, void (TMe::*handler)());
    void BuildEditMenu();
    // The Display menu's view items and options, Export Picture and Copy
    // Picture.
    void BuildDisplayItems();
    void BuildPictureItems();
    // Recent Files, Export Working Copy..., Show Working Copy.
    void BuildFileItems();
    void FillRecentFiles();
    // Undo or redo of step through move; done names it in the status bar,
    // verb ("Undo") what stopped part-way.
    void Rewrite(const TGlowStep* step, void (TGlowHistory::*move)(), const QString& verb, const QString& done);
    // Keeps P1 square at the left of the client area and gives P2 the rest.
    void LayoutPanels();
    bool IsPreviewedKey(QObject* watched) const;
    // Ends the work on the open model: panel hidden, dialog forgotten, model
    // freed, keys and clicks off.
    void CloseModel();

    // A glow's drag: readied by a press on its centre, moving once the
    // pointer passed the drag distance. Nothing is written until it ends.
    struct TGlowDragging {
        TGlowDrag Drag;
        QPointF PressedAt;  // device pixels
        bool Moving = false;
        Qt::KeyboardModifiers Modifiers;
        // What was previewed when the drag began (an edit dialog's values
        // being typed): the drag starts from it and a drag that writes
        // nothing puts it back.
        TGlowPreview Underneath;
    };
    std::optional<TGlowDragging> GlowDragging;
    // Shows where the dragged centre is now: the view, the panel's Point,
    // the status bar. Draws nothing.
    void FollowGlowDrag();
    // Puts the glow back where it was shown; nothing is written.
    void CancelGlowDrag();
    // Writes the dragged centre through the edit history.
    void FinishGlowDrag();
    // The drag and what it shows are gone; Undo and Redo act again.
    void EndGlowDrag();

    bool CreateOk = false;
    QTimer MessageTimer;
    TCameraDrag Drag;
    bool DragWithShift = false;  // Shift was held when the drag's button went down
    QString ChosenFile;  // the file being opened: OD1's answer or a path given otherwise
};

// The one main window.
extern TMe* Me;

// The folder FormCreate takes as AppDir; empty means the executable's folder.
// Tests point it at a temporary application folder.
extern std::string AppDirOverride;

// The first panel of the status bar.
void SetStatus(const std::string& text);
void ClearStatus();

// The About box text: seven lines.
std::string AboutText();
