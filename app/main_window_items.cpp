#include "main_window_items.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "glow_history.h"
#include "keys_window.h"
#include "scene.h"

namespace {

constexpr int PathWidth = 400, SpacerWidth = 50;

// The platform's keys for a standard action, or key where it has none
// (Windows has no Quit key). The key table does not use either.
QList<QKeySequence> StandardKeys(QKeySequence::StandardKey standard, QKeyCombination key)
{
    const QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    return keys.isEmpty() ? QList<QKeySequence>{key} : keys;
}

QAction* Checkable(QMenu* menu, const char* caption, bool checked)
{
    QAction* item = menu->addAction(caption);
    item->setCheckable(true);
    item->setChecked(checked);
    return item;
}

void MakeStatusBar(QMainWindow& window, TMainWindowItems& items)
{
    QStatusBar* bar = window.statusBar();
    bar->setSizeGripEnabled(false);
    items.PathLabel = new QLabel(bar);
    items.PathLabel->setTextFormat(Qt::PlainText);  // a path is shown as it is, never as markup
    items.PathLabel->setFixedWidth(PathWidth);
    items.StatusSpacer = new QLabel(bar);
    items.StatusSpacer->setFixedWidth(SpacerWidth);
    items.MessageLabel = new QLabel(bar);
    items.MessageLabel->setTextFormat(Qt::PlainText);
    items.SelectionLabel = new QLabel(bar);
    items.SymmetryLabel = new QLabel(bar);
    bar->addWidget(items.PathLabel);
    bar->addWidget(items.StatusSpacer);
    bar->addWidget(items.MessageLabel, 1);
    bar->addPermanentWidget(items.SelectionLabel);
    bar->addPermanentWidget(items.SymmetryLabel);
}

void MakeFileMenu(QMenuBar& bar, TMainWindowItems& items)
{
    QMenu* file = items.FileMenu = bar.addMenu("File");
    items.OpenAction = file->addAction("Open Opt");
    items.OpenAction->setShortcuts(StandardKeys(QKeySequence::Open, Qt::CTRL | Qt::Key_O));
    items.RecentFilesMenu = file->addMenu("Recent Files");
    file->addSeparator();
    items.ExportCopyAction = file->addAction("Export Working Copy...");
    items.ShowCopyAction = file->addAction("Show Working Copy");
    items.ExportPictureAction = file->addAction("Export Picture...");
    items.ExitSeparator = file->addSeparator();
    items.ExitAction = file->addAction("E&xit");
    items.ExitAction->setShortcuts(StandardKeys(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q));
    // There is a working copy once a file was opened, a picture once a
    // model is shown.
    items.ExportCopyAction->setEnabled(false);
    items.ShowCopyAction->setEnabled(false);
    items.ExportPictureAction->setEnabled(false);
}

void MakeEditMenu(QMainWindow& window, TMainWindowItems& items, TGlowHistory& history)
{
    QMenu* edit = items.EditMenu = new QMenu("Edit", &window);
    window.menuBar()->addMenu(edit);
    // The history's own actions: named after the step they take back or
    // again, on while there is one and no gesture holds the history. Also
    // while the glow panel or the edit dialog is the active window.
    items.UndoAction = history.MakeUndoAction(&window);
    items.UndoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    items.RedoAction = history.MakeRedoAction(&window);
    items.RedoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* item : {items.UndoAction, items.RedoAction}) {
        item->setShortcutContext(Qt::ApplicationShortcut);
        edit->addAction(item);
    }
    edit->addSeparator();
    items.SelectAllGlowsAction = edit->addAction("Select All Glows");
    items.SelectAllGlowsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    items.SelectMeshGlowsAction = edit->addAction("Select Glows of Mesh");
    items.SelectMeshGlowsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    items.SelectTwinMenu = edit->addMenu("Select Mirror Twin");
    items.MirrorMenu = edit->addMenu("Mirror Glow");
    for (int axis = 0; axis < 3; ++axis) {
        const QString caption = QStringLiteral("Across %1").arg(QLatin1Char("XYZ"[axis]));
        items.SelectTwinActions[axis] = items.SelectTwinMenu->addAction(caption);
        items.MirrorActions[axis] = items.MirrorMenu->addAction(caption);
    }
    items.SymmetryMenu = edit->addMenu("Symmetry");
    auto* symmetry = new QActionGroup(items.SymmetryMenu);
    const char* const symmetries[] = {"Off", "X", "Y", "Z"};
    for (int s = 0; s < 4; ++s)
        symmetry->addAction(items.SymmetryActions[s] = Checkable(items.SymmetryMenu, symmetries[s], s == 0));
    edit->addSeparator();
    items.CopyGlowAction = edit->addAction("Copy Glow");
    items.CopyGlowAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    items.PasteStyleAction = edit->addAction("Paste Glow Style");
    items.PasteStyleAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    items.PasteGlowAction = edit->addAction("Paste Glow");
    edit->addSeparator();
    items.CopyPictureAction = edit->addAction("Copy Picture");
    items.CopyPictureAction->setEnabled(false);
}

void MakeDisplayMenu(QMenuBar& bar, TMainWindowItems& items, const TViewOptions& options)
{
    QMenu* display = items.DisplayMenu = bar.addMenu("Display");
    items.MeshModeAction = Checkable(display, "Mesh", false);
    items.FaceModeAction = Checkable(display, "Face", false);
    display->addSeparator();
    items.ResetViewAction = display->addAction("Reset View");
    // Keys the key table leaves free: Ctrl with 0 to 6, and F.
    items.ResetViewAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    const char* const views[] = {"Front", "Back", "Left", "Right", "Top", "Bottom"};
    for (int v = 0; v < 6; ++v) {
        items.AxisViewActions[v] = display->addAction(views[v]);
        items.AxisViewActions[v]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + v)));
    }
    items.FrameGlowAction = display->addAction("Frame Glow");
    items.FrameGlowAction->setShortcut(QKeySequence(Qt::Key_F));
    display->addSeparator();
    items.GlowColorsAction = Checkable(display, "Glow Colors", options.GlowColors);
    items.SolidAction = Checkable(display, "Solid", options.Solid);
    items.WholeModelAction = Checkable(display, "Whole Model", options.WholeModel);
}

}  // namespace

TMainWindowItems MakeMainWindowItems(QMainWindow& window, QWidget& client, TGlowHistory& history,
                                     const TViewOptions& options)
{
    TMainWindowItems items;
    items.GlowPanelArea = new QWidget(&client);
    MakeStatusBar(window, items);
    QMenuBar& bar = *window.menuBar();
    MakeFileMenu(bar, items);
    MakeEditMenu(window, items, history);
    MakeDisplayMenu(bar, items, options);
    items.ColorsMenu = bar.addMenu("Colors");
    items.SetColorsAction = items.ColorsMenu->addAction("Set Colors");
    AddHelpMenu(window);
    items.AboutAction = bar.addAction("About");
    return items;
}
