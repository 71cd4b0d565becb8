#pragma once
// The main window: menus, status bar, the view on the left and the area on
// the right that the glow panel lies over; the keys, the mouse in the view,
// the open flow, the camera and the display options. It shows the document it
// is given, and asks the view for one frame per action (Redraw). Placing
// glows is a tool of its own (TGlowPlacer): the window hands it the view's
// left button and the keys, and draws when it asks.

#include <QMainWindow>
#include <QTimer>
#include <optional>
#include <string>

#include "camera_control.h"
#include "glow_history.h"
#include "main_window_items.h"
#include "scene.h"

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QStatusBar;
class TColorSettings;
class TFrameFolder;
class TGlowPanel;
class TGlowPlacer;
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

    // Draws one frame of the document with the camera: the one redraw. It
    // only draws; whoever changed what it shows asked for it. Input queued
    // behind the last frame is applied first and shares the frame
    // (TFrameFolder): then it only marks the frame pending.
    void Redraw();
    // A frame was asked for and waits for the input queued behind the last.
    bool FramePending() const;
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
    // starts unless a glow is held, and the placing tool takes the press.
    // The camera control takes the wheel and the drags.
    void ViewPressed(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                     bool doubleClick, int x, int y);
    // The camera, the view's size or a Display option changed: a held glow
    // follows the new picture, and one frame shows it.
    void ViewMoved();

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
    // The glow panel with its edit dialog, and Set Colors, once the main
    // window can run.
    void BuildToolWindows();
    // The main window changed its size or place: the panels follow.
    void FollowResize();
    // Edit > Undo (move Undone) or Redo: the step the history offers, through
    // it.
    void Rewrite(TGlowHistory::TMove move);
    // Keeps the view square at the left of the client area and gives the
    // glow panel's area the rest.
    void LayoutPanels();
    bool IsPreviewedKey(QObject* watched) const;
    // The selection moved: the panel shows its mesh, the view the frame, the
    // status bar the count.
    void ShowSelection();
    // The status bar says how many glows are selected, when more than one.
    void ShowSelectedCount();
    // Makes the working copy of the file being opened. When a copy of that
    // name holds another model or cannot be read, the user continues with
    // it, replaces it with the file, or cancels: false. Throws what CopyOpt
    // and CopyFileStream throw.
    bool MakeWorkingCopy();
    // Ends the work on the open model: panel hidden, dialog forgotten, model
    // freed, keys and clicks off.
    void CloseModel();

    TOpenDocument& Document;
    TViewState State;
    TMainWindowItems WindowItems;
    TViewPanel* ViewPanel = nullptr;      // the OpenGL view, kept square
    TGlowPanel* Panel = nullptr;          // with its edit dialog
    TColorSettings* ColorWindow = nullptr;
    TGlowPlacer* Placer = nullptr;  // the view's left button and the glow keys
    bool CreateOk = false;
    bool Closing = false;     // the window is closing: no more frames
    QTimer MessageTimer;
    TCameraControl* Cameras = nullptr;
    TFrameFolder* Frames = nullptr;
    QString ChosenFile;  // the file being opened: the open dialog's answer or a path given otherwise
};

// The About box text: seven lines.
std::string AboutText();
