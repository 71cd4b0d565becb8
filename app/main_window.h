#pragma once
// The main window: menus, status bar, the view on the left and the area on
// the right that the glow panel lies over; the keys, the mouse in the view,
// the open flow, the camera and the display options. It shows the document it
// is given, and asks the view for one frame per action (Redraw).

#include <QMainWindow>
#include <QPointF>
#include <QTimer>
#include <optional>
#include <string>
#include <vector>

#include "camera_control.h"
#include "glow_drag.h"
#include "glow_history.h"
#include "glow_nudge.h"
#include "glow_mirror.h"
#include "main_window_items.h"
#include "scene.h"

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QStatusBar;
class TColorSettings;
class TGlowPanel;
class TOpenDocument;
class TViewPanel;

// The window caption, also the first line of the About box; NEG_VERSION is
// the changelog's newest version.
inline constexpr const char* ProgramCaption = "Nimbra_Engine_Glow ver " NEG_VERSION " ";
// The OPT files the open and export dialogs offer.
inline constexpr const char* OptFilter = "OPT Files (*.opt *.op1)";

class TMainWindow : public QMainWindow {
    Q_OBJECT
public:
    // document: what the windows show and change. programFolder: where
    // Project/ and Data/ are looked for first, with its trailing separator;
    // empty for the executable's folder (tests give a folder of their own).
    // Makes the folders and reads the colours; when Colors.dat is missing it
    // says so and makes no other window (Created is false).
    explicit TMainWindow(TOpenDocument& document, const std::string& programFolder = {});

    // False when no Colors.dat was found: the program must end without
    // showing the window.
    bool Created() const { return CreateOk; }

    // Draws one frame of the document with the camera: the one redraw.
    void Redraw();
    // What the view shows now.
    TScene Scene() const;

    TViewPanel* View() const { return ViewPanel; }
    TViewState& ViewState() { return State; }
    const TViewState& ViewState() const { return State; }
    const TMainWindowItems& Items() const { return WindowItems; }
    TGlowPanel* GlowPanel() const { return Panel; }
    TColorSettings* ColorSettings() const { return ColorWindow; }

    // Opens the OPT file at path as Open Opt does once a file is chosen: the
    // glow panel hidden, the edit dialog forgotten, the model cleared, the
    // working copy made and read, its path in the status bar, the first mesh
    // with glows selected, the view and the panel shown. The command line,
    // a drop and Recent Files open files through it. Throws what CopyOpt and
    // ReadOpt throw.
    void OpenModel(const QString& path);

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
    // The path line of the status bar.
    void SetStatus(const std::string& text);
    // Says text in the status bar for a few seconds, beside the path.
    void ShowBriefly(const QString& text);

    // Keys (main_window_input.cpp): the key table, while a model is shown.
    void KeyPressed(int key, Qt::KeyboardModifiers shift);
    // A button went down in the view (main_window_input.cpp): a camera drag
    // starts, and a left click selects the mesh or face under it. The
    // camera control takes the wheel and the drags.
    void ViewPressed(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                     bool doubleClick, int x, int y);
    // The camera, the view's size or a Display option changed: one frame.
    void ViewMoved();

    // Glows in the view (main_window_glows.cpp). A plain left press at
    // (x, y), device pixels, on a drawn glow's centre picks that glow (the
    // glow being edited where several are): its mesh is made current and the
    // panel shows it; a glow other than the one being edited is selected
    // alone. It also readies a drag of it and the glows selected with it,
    // which starts once the pointer has moved the system's drag distance; let
    // go before, it leaves that glow selected alone. False when no glow is
    // there.
    bool PickGlowAt(int x, int y);
    // The left button held: moves the dragged glow's centre with the
    // pointer (Ctrl snaps it to a vertex, Shift to a face centre).
    void ViewPointerMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF at);
    // The left button let go: the dragged centre is written, one edit.
    void ViewReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at);
    // A key pressed or let go while a glow is dragged: Escape puts the glow
    // back, X, Y and Z lock it to an axis or free it, Ctrl and Shift snap at
    // once, N and P wait for the drag's end. False for the keys that act as
    // ever, and always while no glow is dragged.
    bool GlowDragKey(const QKeyEvent& key);

    // Nudging (main_window_nudge.cpp), while no glow is dragged: J, L, I
    // and K move the centre of the glows an edit reaches one step left,
    // right, up or down on screen, U and O away from the viewer or towards
    // them; [ and ] make the step finer or coarser; X, Y and Z lock the
    // nudges to that model axis or free them. Each nudge is written at once,
    // and a run of them on the same glows is one step of the history. False
    // for the other keys.
    bool NudgeKey(int key, Qt::KeyboardModifiers modifiers);
    void Nudge(TNudge direction);
    TNudgeStep NudgeStep;
    int NudgeLock = TGlowDrag::NoAxis;

    // Several glows (main_window_selection.cpp). Ctrl+click at (x, y), device
    // pixels, on a drawn glow's centre: the glow joins the selection and is
    // edited, or leaves it.
    void ToggleGlowAt(int x, int y);
    // Edit > Select Glows of Mesh: every glow of the current mesh.
    void SelectMeshGlows();
    // Escape: the glow being edited selected alone.
    void SelectEditedGlowAlone();
    // Edit > Select Mirror Twin: the glow being edited and the glow nearest
    // its mirror image across axis.
    void SelectMirrorTwin(TMirrorAxis axis);
    // Edit > Mirror Glow: every selected glow but the one being edited
    // becomes its mirror image across axis, one edit.
    void MirrorGlows(TMirrorAxis axis);
    // Copying (main_window_glow_copy.cpp). Edit > Copy Glow: the glow being
    // edited onto the clipboard as an edit list. Edit > Paste Glow Style and
    // Paste Glow: the clipboard's edit list of one glow into every selected
    // glow, without or with the centre, one edit.
    void CopyGlow();
    void PasteGlowStyle();
    void PasteGlow();

    // Opening (main_window_open.cpp). The open dialog, then OpenModel on the
    // chosen file.
    void ChooseAndOpen();
    // Recent Files: each entry opens its file, or says it is gone and takes
    // it off.
    void FillRecentFiles();

    // Glows changed through the edit history: the status bar says what was
    // written, and the view shows it.
    void GlowsChanged(const TGlowEdit& written, TGlowHistory::TMove move, const QString& said);

    // Project/, Data/ and the colours: false when the program cannot run.
    bool PrepareStart(const std::string& programFolder);
    // Connects the items to what they do (File and Display:
    // main_window_wiring.cpp).
    void ConnectFileItems();
    void ConnectEditItems();
    void ConnectDisplayItems();
    // Runs handler, guarded, when item is chosen.
    void Handle(QAction* item, void (TMainWindow::*handler)());
    // The glow panel with its edit dialog, and Set Colors, once the main
    // window can run.
    void BuildToolWindows();
    // The first showing: caption, empty status, mesh mode.
    void ShowFirstTime();
    // The main window changed its size or place: the panels follow.
    void FollowResize();
    // Edit > Undo (move Undone) or Redo: the step the history offers, through
    // it.
    void Rewrite(TGlowHistory::TMove move);
    // Keeps the view square at the left of the client area and gives the
    // glow panel's area the rest.
    void LayoutPanels();
    bool IsPreviewedKey(QObject* watched) const;
    // The selection moved: the panel shows its mesh, and the view the frame.
    void ShowSelection();
    // The status bar says how many glows are selected, when more than one.
    void ShowSelectedCount();
    // The glow whose drawn centre the pointer at (x, y) is on, or none.
    TGlowIndex GlowAtPointer(int x, int y);
    // Paste Glow Style (withCentre false) and Paste Glow.
    void PasteGlowValues(bool withCentre);
    // Makes the working copy of the file being opened. When a copy of that
    // name holds another model or cannot be read, the user continues with
    // it, replaces it with the file, or cancels: false. Throws what CopyOpt
    // and CopyFileStream throw.
    bool MakeWorkingCopy();
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
        // The other glows selected, as shown when the drag began: each moves
        // by as much as the dragged one.
        std::vector<TGlowValues> Followers;
        // Undo and Redo are off until the gesture ends.
        TGlowHistory::THold Hold;
    };
    std::optional<TGlowDragging> GlowDragging;
    // Shows where the dragged centre is now: the view, the panel's Point,
    // the status bar. Draws nothing.
    void FollowGlowDrag();
    // Puts the glow back where it was shown; nothing is written.
    void CancelGlowDrag();
    // Writes the dragged centre through the edit history.
    void FinishGlowDrag();
    // The drag and what it shows are gone; Undo and Redo act again (the
    // hold ends with it).
    void EndGlowDrag();
    // The status bar's word on the nudges: the step and the lock.
    QString NudgeText() const;

    TOpenDocument& Document;
    TViewState State;
    TMainWindowItems WindowItems;
    TViewPanel* ViewPanel = nullptr;      // the OpenGL view, kept square
    TGlowPanel* Panel = nullptr;          // with its edit dialog
    TColorSettings* ColorWindow = nullptr;
    bool CreateOk = false;
    bool Closing = false;     // the window is closing: no more frames
    bool ModelShown = false;  // the open model is in the view
    QTimer MessageTimer;
    TCameraControl* Cameras = nullptr;
    QString ChosenFile;  // the file being opened: the open dialog's answer or a path given otherwise
};

// The About box text: seven lines.
std::string AboutText();
