#include "main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QShowEvent>
#include <QStandardPaths>
#include <QStatusBar>
#include <algorithm>
#include <functional>
#include <iterator>

#include "camera_control.h"
#include "color_settings.h"
#include "dialog_seam.h"
#include "error_display.h"
#include "file_util.h"
#include "frame_folding.h"
#include "glow_panel.h"
#include "glow_edit.h"
#include "glow_placer.h"
#include "messages.h"
#include "open_document.h"
#include "path_names.h"
#include "startup.h"
#include "value_dialog.h"
#include "view_colors.h"
#include "user_settings.h"
#include "view_panel.h"

namespace {

// Design sizes of the window and its panels.
constexpr int DesignLeft = 230, DesignTop = 213, DesignWidth = 696, DesignHeight = 480;
constexpr int ViewDesignWidth = 376;

std::string ExecutableDir()
{
    // Qt's own paths take '/' everywhere: shown to the user (the status bar,
    // the messages) the folder is spelt as the system spells it.
    return PathBytes(QDir::toNativeSeparators(QCoreApplication::applicationDirPath())) + PathDelim;
}

// The user's own data folder, for an installed program whose folder cannot be
// written.
std::string UserDataDir()
{
    return PathBytes(QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))) +
           PathDelim;
}

// The Colors.dat installed with the program, copied into the user's Data/ on
// the first start there.
std::string InstalledColorsFile(const std::string& exeDir)
{
    return exeDir + NEG_SHARE_FROM_BIN + PathDelim + "Colors.dat";
}

}  // namespace

TMainWindow::TMainWindow(TOpenDocument& document, const std::string& programFolder) : Document(document)
{
    setGeometry(DesignLeft, DesignTop, DesignWidth, DesignHeight);
    QFont font("MS Sans Serif");  // the nearest available font stands in
    font.setPixelSize(11);
    setFont(font);

    auto* client = new QWidget(this);
    ViewPanel = new TViewPanel(client);
    ViewPanel->setGeometry(0, 0, ViewDesignWidth, DesignHeight);
    Cameras = new TCameraControl(*ViewPanel, State, Document, this);
    Frames = new TFrameFolder([this] { ViewPanel->Draw(Scene(), State.Camera); },
                              [this] { return ViewPanel->DrawPart(Scene(), State.Camera); }, this);
    State.Options.GlowColors = user_settings::Read(user_settings::GlowColorsKey).toBool();
    WindowItems = MakeMainWindowItems(*this, *client, Document.History, State.Options);
    setCentralWidget(client);
    client->installEventFilter(this);
    MessageTimer.setSingleShot(true);
    connect(&MessageTimer, &QTimer::timeout, WindowItems.MessageLabel, &QLabel::clear);

    ConnectFileItems();
    ConnectEditItems();
    ConnectDisplayItems();
    connect(WindowItems.SetColorsAction, &QAction::triggered, this, [this] {
        Guarded([&] {
            Dialogs().ExecModal(ColorWindow);
            Redraw();
        });
    });
    connect(WindowItems.AboutAction, &QAction::triggered, this, [] { Guarded([] { ShowMsg(AboutText()); }); });
    setAcceptDrops(true);
    connect(ViewPanel, &TViewPanel::MouseDown, this, &TMainWindow::ViewPressed);
    connect(ViewPanel, &TViewPanel::WheelTurned, Cameras, &TCameraControl::Wheel);
    connect(ViewPanel, &TViewPanel::Dragged, Cameras, &TCameraControl::Drag);
    connect(Cameras, &TCameraControl::Moved, this, [this] { Guarded([&] { ViewMoved(); }); });
    connect(Cameras, &TCameraControl::Said, this, &TMainWindow::ShowBriefly);
    connect(ViewPanel, &TViewPanel::FramebufferResized, this, [this] {
        // Draw the picture anew at the view's new size while frames complete.
        // After a frame that stopped on an error the last complete one stays
        // shown: drawing again would only raise the same error, box and all.
        if (!Closing && State.Ready && Panel && Panel->isVisible() && ViewPanel->LastFrameComplete())
            Guarded([&] { ViewMoved(); });
    });
    // Direct connections, as the glow panel's: a frame drawn inside the
    // handler that asks for it, and an error it raises ends that handler.
    Placer = new TGlowPlacer(Document, *ViewPanel, State, [this] { return Scene(); }, this);
    connect(ViewPanel, &TViewPanel::PointerMoved, Placer, &TGlowPlacer::PointerMoved);
    connect(ViewPanel, &TViewPanel::MouseUp, Placer, &TGlowPlacer::Released);
    connect(Placer, &TGlowPlacer::SelectionChanged, this, &TMainWindow::ShowSelection, Qt::DirectConnection);
    connect(Placer, &TGlowPlacer::RedrawRequested, this, &TMainWindow::Redraw, Qt::DirectConnection);
    connect(Placer, &TGlowPlacer::Said, this, &TMainWindow::ShowBriefly, Qt::DirectConnection);
    connect(Placer, &TGlowPlacer::BoxChanged, ViewPanel, &TViewPanel::ShowBox, Qt::DirectConnection);
    // Where a glow held goes is said until the drag ends.
    connect(
        Placer, &TGlowPlacer::PreviewMoved, this,
        [this](const QString& status) {
            Panel->ShowGlowValues();
            MessageTimer.stop();
            WindowItems.MessageLabel->setText(status);
        },
        Qt::DirectConnection);
    // Key preview: every key press reaches KeyPressed before the controls.
    qApp->installEventFilter(this);

    Guarded([&] {
        LayoutPanels();
        CreateOk = PrepareStart(programFolder);
    });
    if (CreateOk)
        BuildToolWindows();
}

bool TMainWindow::PrepareStart(const std::string& programFolder)
{
    const std::string exeDir = programFolder.empty() ? ExecutableDir() : programFolder;
    const std::string installedColors = InstalledColorsFile(exeDir);
    const std::string appDir = ChooseAppDir(exeDir, UserDataDir(), FileExists(installedColors));
    if (!PrepareFolders(Document, ShowMsg, appDir,
                        appDir == exeDir ? std::string() : ColorsSource(exeDir, installedColors)))
        return false;
    try {
        const TColorRead read = ReadColorFile(Document.DataDir);
        State.Colors = read.Colors;
        if (read.Found != TColorFile::Whole)
            ShowMsg(DamagedColorsText(Document.DataDir, read.Found));
    } catch (const std::exception& e) {
        // The colours stay black: nothing of a file that failed is taken.
        ShowError(e);
    }
    return true;
}

void TMainWindow::BuildToolWindows()
{
    // Each window above the one it is opened from: the panel above the main
    // window, its edit dialog above the panel, Set Colors above the main
    // window. Direct connections: the frame is drawn inside the handler that
    // asks for it, and an error it raises ends that handler.
    Panel = new TGlowPanel(WindowItems.GlowPanelArea, Document);
    TValueDialog* dialog = Panel->Dialog;
    ColorWindow = new TColorSettings(Document.DataDir, State.Colors, this);
    // The panel's Next Glow and the dialog's writes may change the selection.
    const auto redraw = [this] {
        Redraw();
        ShowSelectedCount();
    };
    connect(Panel, &TGlowPanel::RedrawRequested, this, redraw, Qt::DirectConnection);
    connect(Panel, &TGlowPanel::MovementRateChosen, Cameras, &TCameraControl::SetRate);
    connect(dialog, &TValueDialog::RedrawRequested, this, redraw, Qt::DirectConnection);
    // The values being edited show in the panel and the view, over the kept
    // picture of the meshes.
    connect(
        dialog, &TValueDialog::PreviewChanged, this,
        [this] {
            Guarded([&] {
                Panel->ShowGlowValues();
                Redraw();
            });
        },
        Qt::DirectConnection);
    connect(dialog, &TValueDialog::KeyboardReleased, this, [this] { activateWindow(); });
    // After the panel's and the dialog's: a dialog open on glows written goes
    // first, so the frame shows what the file holds.
    connect(&Document.History, &TGlowHistory::Changed, this, &TMainWindow::GlowsChanged);
    // The glow items' keys, Open Opt's and Exit's act from the panel too, not
    // from the edit dialog.
    Panel->addActions({WindowItems.SelectAllGlowsAction, WindowItems.SelectMeshGlowsAction, WindowItems.CopyGlowAction,
                       WindowItems.PasteStyleAction, WindowItems.OpenAction, WindowItems.ExitAction});
}

void TMainWindow::ConnectEditItems()
{
    // The history's own actions go through the history's door, not the
    // stack's: it writes the step, and says what it took back or again.
    for (const auto& [item, move] : {std::pair{WindowItems.UndoAction, TGlowHistory::Undone},
                                     std::pair{WindowItems.RedoAction, TGlowHistory::Redone}})
        connect(item, &QAction::triggered, this, [this, move] { Guarded([&] { Rewrite(move); }); });
    // The items on the selected glows are the placing tool's.
    const auto place = [this](QAction* item, const std::function<void(TGlowPlacer&)>& act) {
        connect(item, &QAction::triggered, this, [this, act] { Guarded([&] { act(*Placer); }); });
    };
    place(WindowItems.SelectAllGlowsAction, &TGlowPlacer::SelectAll);
    place(WindowItems.SelectMeshGlowsAction, &TGlowPlacer::SelectMeshGlows);
    for (int axis = 0; axis < 3; ++axis) {
        const auto mirrorAxis = TMirrorAxis(axis);
        place(WindowItems.SelectTwinActions[axis], [mirrorAxis](TGlowPlacer& p) { p.SelectMirrorTwin(mirrorAxis); });
        place(WindowItems.MirrorActions[axis], [mirrorAxis](TGlowPlacer& p) { p.MirrorGlows(mirrorAxis); });
    }
    // Symmetry changes what later edits write: the twins shown now are
    // those it would write.
    for (int s = 0; s < 4; ++s)
        connect(WindowItems.SymmetryActions[s], &QAction::triggered, this, [this, s] {
            const auto axis = s == 0 ? std::nullopt : std::optional(TMirrorAxis(s - 1));
            Document.History.SetSymmetry(axis);
            WindowItems.SymmetryLabel->setText(axis ? QStringLiteral("Symmetry %1").arg(QLatin1Char("XYZ"[s - 1]))
                                                    : QString());
            Guarded([&] { Redraw(); });
        });
    place(WindowItems.CopyGlowAction, &TGlowPlacer::CopyGlow);
    place(WindowItems.PasteStyleAction, [](TGlowPlacer& p) { p.PasteGlow(false); });
    place(WindowItems.PasteGlowAction, [](TGlowPlacer& p) { p.PasteGlow(true); });
}

void TMainWindow::LayoutPanels()
{
    const QWidget* client = centralWidget();
    if (!client)
        return;
    const int side = client->height();
    ViewPanel->setGeometry(0, 0, side, side);
    WindowItems.GlowPanelArea->setGeometry(side, 0, std::max(0, client->width() - side), side);
}

void TMainWindow::FollowResize()
{
    LayoutPanels();
    if (!Closing && State.Ready && Panel && Panel->isVisible())
        Panel->FitOverAnchor();
}

void TMainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The first showing: caption, empty status, mesh mode.
    if (!event->spontaneous())
        Guarded([&] {
            setWindowTitle(ProgramCaption);
            SetStatus({});
            WindowItems.MeshModeAction->trigger();
        });
}

void TMainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Guarded([&] { FollowResize(); });
}

void TMainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    // A maximized window moves only by being maximized, and some platforms
    // (Windows, wine) report its new place after its new size: the panel
    // laid over it at the resize must follow.
    if (isMaximized())
        Guarded([&] { FollowResize(); });
}

void TMainWindow::closeEvent(QCloseEvent* event)
{
    Closing = true;
    event->accept();
    // The main window ends the program, whatever other windows are open.
    // exit(), not quit(): quit() first asks every window to close, and the
    // glow panel refuses, which would keep the program running unseen.
    QCoreApplication::exit(0);
}

TScene TMainWindow::Scene() const
{
    TScene scene{Document.Model, Document.Selection, Panel ? Panel->Display() : TGlowDisplay{}, Document.Preview,
                 State.Options, State.Colors};
    if (Document.History.Symmetry().Axis() && ShownGlowIndex(Document))
        scene.Twins = Document.History.Symmetry().Twins(Document.Model, Document.Selection.SelectedGlows(Document.Model));
    return scene;
}

void TMainWindow::Redraw()
{
    Frames->Ask();
}

bool TMainWindow::FramePending() const
{
    return Frames->Pending();
}

void TMainWindow::ViewMoved()
{
    Placer->FollowView();
    Redraw();
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

void TMainWindow::SetStatus(const std::string& text)
{
    WindowItems.PathLabel->setText(QString::fromStdString(text));
}

void TMainWindow::ShowBriefly(const QString& text)
{
    WindowItems.MessageLabel->setText(text);
    MessageTimer.start(6000);
}

void TMainWindow::GlowsChanged(const TGlowEdit&, TGlowHistory::TMove, const QString& said)
{
    ShowBriefly(said);
    Redraw();
}

void TMainWindow::Rewrite(TGlowHistory::TMove move)
{
    // A write that fails writes nothing and leaves the history as it was.
    (move == TGlowHistory::Undone ? Document.History.Undo() : Document.History.Redo()).ThrowFailure();
}

std::string AboutText()
{
    const std::string lines[] = {
        ProgramCaption,
        "",
        "Latest Info and updates are at https://nimbra-engine-glow.example.org",
        "",
        "Nimbra_Engine_Glow developers, 2026",
        "",
        "All trademarks are the property of their respective owners.",
    };
    std::string text = lines[0];
    for (size_t i = 1; i < std::size(lines); ++i)
        text += LineBreak + lines[i];
    return text;
}
