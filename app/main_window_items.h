#pragma once
// Every menu, item and status bar label of the main window, as the user
// reads them: captions, keys, check marks, what is on at the start. What the
// items do is wired by the window.

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QWidget;
class TGlowHistory;
struct TViewOptions;

struct TMainWindowItems {
    QWidget* GlowPanelArea = nullptr;  // right of the view; the glow panel is laid over it
    QLabel* PathLabel = nullptr;       // width 400: the working copy's path
    QLabel* StatusSpacer = nullptr;    // width 50, blank: the path keeps its place
    QLabel* MessageLabel = nullptr;    // what was written last, for a few seconds
    QLabel* SelectionLabel = nullptr;  // at the right: "3 glows selected", while more than one is
    QLabel* SymmetryLabel = nullptr;   // at the far right: "Symmetry X", while symmetry is on

    QMenu* FileMenu = nullptr;
    QAction* OpenAction = nullptr;
    QMenu* RecentFilesMenu = nullptr;
    QAction* ExportCopyAction = nullptr;
    QAction* ShowCopyAction = nullptr;
    QAction* ExportPictureAction = nullptr;
    QAction* ExitSeparator = nullptr;
    QAction* ExitAction = nullptr;
    QMenu* EditMenu = nullptr;
    QAction* UndoAction = nullptr;  // the history's own, named after its step
    QAction* RedoAction = nullptr;
    QAction* SelectAllGlowsAction = nullptr;
    QAction* SelectMeshGlowsAction = nullptr;
    QMenu* SelectTwinMenu = nullptr;
    QMenu* MirrorMenu = nullptr;
    QAction* SelectTwinActions[3] = {};  // across X, Y, Z
    QAction* MirrorActions[3] = {};
    QMenu* SymmetryMenu = nullptr;
    QAction* SymmetryActions[4] = {};  // Off, X, Y, Z: one checked, Off at the start
    QAction* CopyGlowAction = nullptr;
    QAction* PasteStyleAction = nullptr;
    QAction* PasteGlowAction = nullptr;
    QAction* CopyPictureAction = nullptr;
    QMenu* DisplayMenu = nullptr;
    QAction* MeshModeAction = nullptr;
    QAction* FaceModeAction = nullptr;
    QAction* ResetViewAction = nullptr;
    // Front, Back, Left, Right, Top, Bottom: in the order of TAxisView.
    QAction* AxisViewActions[6] = {};
    QAction* FrameGlowAction = nullptr;
    QAction* GlowColorsAction = nullptr;
    QAction* SolidAction = nullptr;
    QAction* WholeModelAction = nullptr;
    QMenu* ColorsMenu = nullptr;
    QAction* SetColorsAction = nullptr;
    QAction* AboutAction = nullptr;
};

// Builds window's menu bar and status bar, and the glow panel's area in
// client; Undo and Redo are history's actions. The Display options are
// checked as options has them. Nothing is connected but Help's own item.
TMainWindowItems MakeMainWindowItems(QMainWindow& window, QWidget& client, TGlowHistory& history,
                                     const TViewOptions& options);
