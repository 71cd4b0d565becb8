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
#include <iterator>

#include "color_settings.h"
#include "dialog_seam.h"
#include "error_display.h"
#include "file_util.h"
#include "glow_panel.h"
#include "keys_window.h"
#include "messages.h"
#include "open_document.h"
#include "path_names.h"
#include "startup.h"
#include "value_dialog.h"
#include "view_colors.h"
#include "view_panel.h"

namespace {

// Design sizes of the window and its panels.
constexpr int DesignLeft = 230, DesignTop = 213, DesignWidth = 696, DesignHeight = 480;
constexpr int ViewDesignWidth = 376;
constexpr int PathWidth = 400, SpacerWidth = 50;

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

// The platform's keys for a standard action, or key where it has none
// (Windows has no Quit key). The key table does not use either.
QList<QKeySequence> StandardKeys(QKeySequence::StandardKey standard, QKeyCombination key)
{
    const QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    return keys.isEmpty() ? QList<QKeySequence>{key} : keys;
}

}  // namespace

TMainWindow::TMainWindow(TOpenDocument& document, const std::string& programFolder) : Document(document)
{
    setGeometry(DesignLeft, DesignTop, DesignWidth, DesignHeight);
    QFont font("MS Sans Serif");  // the nearest available font stands in
    font.setPixelSize(11);
    setFont(font);

    auto* client = new QWidget(this);
    View = new TViewPanel(client);
    View->setGeometry(0, 0, ViewDesignWidth, DesignHeight);
    GlowPanelArea = new QWidget(client);
    setCentralWidget(client);
    client->installEventFilter(this);

    BuildStatusBar();
    BuildMenu();
    connect(View, &TViewPanel::MouseDown, this, &TMainWindow::ViewPressed);
    connect(View, &TViewPanel::WheelTurned, this, &TMainWindow::ViewWheel);
    connect(View, &TViewPanel::Dragged, this, &TMainWindow::ViewDragged);
    connect(View, &TViewPanel::PointerMoved, this, &TMainWindow::ViewPointerMoved);
    connect(View, &TViewPanel::MouseUp, this, &TMainWindow::ViewReleased);
    connect(View, &TViewPanel::FramebufferResized, this, &TMainWindow::ViewResized);
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
        Colors = read.Colors;
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
    GlowPanel = new TGlowPanel(GlowPanelArea, Document);
    TValueDialog* dialog = GlowPanel->Dialog;
    ColorSettings = new TColorSettings(Document.DataDir, Colors, this);
    connect(GlowPanel, &TGlowPanel::RedrawRequested, this, &TMainWindow::Redraw, Qt::DirectConnection);
    connect(GlowPanel, &TGlowPanel::MovementRateChosen, this, [this](int degrees) {
        Camera.RotStep = degrees;
        Guarded([&] { Redraw(); });
    });
    connect(dialog, &TValueDialog::RedrawRequested, this, &TMainWindow::Redraw, Qt::DirectConnection);
    // The values being edited show in the panel and the view, over the kept
    // picture of the meshes.
    connect(
        dialog, &TValueDialog::PreviewChanged, this,
        [this] {
            Guarded([&] {
                GlowPanel->ShowGlowValues();
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
    GlowPanel->addActions({SelectMeshGlowsAction, CopyGlowAction, PasteStyleAction, OpenAction, ExitAction});
}

void TMainWindow::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(false);
    PathLabel = new QLabel(bar);
    PathLabel->setTextFormat(Qt::PlainText);  // a path is shown as it is, never as markup
    PathLabel->setFixedWidth(PathWidth);
    StatusSpacer = new QLabel(bar);
    StatusSpacer->setFixedWidth(SpacerWidth);
    MessageLabel = new QLabel(bar);
    MessageLabel->setTextFormat(Qt::PlainText);
    SelectionLabel = new QLabel(bar);
    bar->addWidget(PathLabel);
    bar->addWidget(StatusSpacer);
    bar->addWidget(MessageLabel, 1);
    bar->addPermanentWidget(SelectionLabel);
    MessageTimer.setSingleShot(true);
    connect(&MessageTimer, &QTimer::timeout, MessageLabel, &QLabel::clear);
}

void TMainWindow::BuildMenu()
{
    QMenuBar* bar = menuBar();
    FileMenu = bar->addMenu("File");
    OpenAction = FileMenu->addAction("Open Opt");
    OpenAction->setShortcuts(StandardKeys(QKeySequence::Open, Qt::CTRL | Qt::Key_O));
    BuildFileItems();
    ExitSeparator = FileMenu->addSeparator();
    ExitAction = FileMenu->addAction("E&xit");
    ExitAction->setShortcuts(StandardKeys(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q));
    BuildEditMenu();
    BuildPictureItems();
    DisplayMenu = bar->addMenu("Display");
    MeshModeAction = DisplayMenu->addAction("Mesh");
    MeshModeAction->setCheckable(true);
    FaceModeAction = DisplayMenu->addAction("Face");
    FaceModeAction->setCheckable(true);
    DisplayMenu->addSeparator();
    ResetViewAction = DisplayMenu->addAction("Reset View");
    // A key the key table leaves free.
    ResetViewAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    BuildDisplayItems();
    ColorsMenu = bar->addMenu("Colors");
    SetColorsAction = ColorsMenu->addAction("Set Colors");
    AddHelpMenu(*this);
    AboutAction = bar->addAction("About");

    Handle(OpenAction, &TMainWindow::ChooseAndOpen);
    connect(ExitAction, &QAction::triggered, this, &QWidget::close);
    Handle(MeshModeAction, &TMainWindow::SelectMeshes);
    Handle(FaceModeAction, &TMainWindow::SelectFaces);
    Handle(ResetViewAction, &TMainWindow::ResetView);
    Handle(SetColorsAction, &TMainWindow::SetColors);
    Handle(AboutAction, &TMainWindow::ShowAbout);
}

void TMainWindow::Handle(QAction* item, void (TMainWindow::*handler)())
{
    connect(item, &QAction::triggered, this, [this, handler] { Guarded([&] { (this->*handler)(); }); });
}

void TMainWindow::BuildEditMenu()
{
    EditMenu = new QMenu("Edit", this);
    menuBar()->addMenu(EditMenu);
    // The history's own actions: named after the step they take back or
    // again, on while there is one and no gesture holds the history.
    const auto item = [this](QAction* action, const QList<QKeySequence>& keys, TGlowHistory::TMove move) {
        action->setShortcuts(keys);
        // Also while the glow panel or the edit dialog is the active window.
        action->setShortcutContext(Qt::ApplicationShortcut);
        EditMenu->addAction(action);
        connect(action, &QAction::triggered, this, [this, move] { Guarded([&] { Rewrite(move); }); });
        return action;
    };
    TGlowHistory& history = Document.History;
    UndoAction = item(history.MakeUndoAction(this), {QKeySequence(Qt::CTRL | Qt::Key_Z)}, TGlowHistory::Undone);
    RedoAction = item(history.MakeRedoAction(this),
                      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
                      TGlowHistory::Redone);
    BuildGlowItems();
}

void TMainWindow::ShowFirstTime()
{
    setWindowTitle(ProgramCaption);
    SetStatus({});
    MeshModeAction->trigger();
}

void TMainWindow::LayoutPanels()
{
    const QWidget* client = centralWidget();
    if (!client)
        return;
    const int side = client->height();
    View->setGeometry(0, 0, side, side);
    GlowPanelArea->setGeometry(side, 0, std::max(0, client->width() - side), side);
}

void TMainWindow::FollowResize()
{
    LayoutPanels();
    if (!Closing && ViewReady && GlowPanel && GlowPanel->isVisible())
        GlowPanel->FitOverAnchor();
}

void TMainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        Guarded([&] { ShowFirstTime(); });
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
    return {Document.Model, Document.Selection, GlowPanel ? GlowPanel->Display() : TGlowDisplay{}, Document.Preview,
            Options, Colors};
}

void TMainWindow::Redraw()
{
    // A glow held under a turned, zoomed or shifted view: its lock and snap
    // follow the picture.
    if (GlowDragging && GlowDragging->Moving)
        FollowGlowDrag();
    View->Draw(Scene(), Camera);
    // Keys and clicks act once the open model is on screen.
    ViewReady = ModelShown;
    ShowSelectedCount();
}

void TMainWindow::SetStatus(const std::string& text)
{
    PathLabel->setText(QString::fromStdString(text));
}

void TMainWindow::ShowBriefly(const QString& text)
{
    MessageLabel->setText(text);
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

void TMainWindow::SetColors()
{
    Dialogs().ExecModal(ColorSettings);
    Redraw();
}

void TMainWindow::ShowAbout()
{
    ShowMsg(AboutText());
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
