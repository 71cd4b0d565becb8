#include "main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QShowEvent>
#include <QStandardPaths>
#include <QStatusBar>
#include <algorithm>
#include <iterator>

#include "glow_panel.h"
#include "value_dialog.h"
#include "color_settings.h"
#include "view_panel.h"
#include "app_state.h"
#include "dialog_seam.h"
#include "error_display.h"
#include "file_util.h"
#include "messages.h"
#include "model.h"
#include "opt_file_io.h"
#include "recent_files.h"
#include "selection.h"
#include "startup.h"
#include "view_colors.h"
#include "view_state.h"
#include "working_copy.h"

TMainWindow* Me = nullptr;
std::string AppDirOverride;

namespace {

// Design sizes of the window and its panels.
constexpr int DesignLeft = 230, DesignTop = 213, DesignWidth = 696, DesignHeight = 480;
constexpr int P1DesignWidth = 376;
constexpr int Panel0Width = 400, Panel1Width = 50;

std::string ExecutableDir()
{
    if (!AppDirOverride.empty())
        return AppDirOverride;
    // Qt's own paths take '/' everywhere: shown to the user (the status bar,
    // the messages) the folder is spelt as the system spells it.
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString() + PathDelim;
}

// The user's own data folder, for an installed program whose folder cannot be
// written.
std::string UserDataDir()
{
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).toStdString() +
           PathDelim;
}

// The Colors.dat installed with the program, copied into the user's Data/ on
// the first start there.
std::string InstalledColorsFile(const std::string& exeDir)
{
    return exeDir + NEG_SHARE_FROM_BIN + PathDelim + "Colors.dat";
}

}  // namespace

TMainWindow::TMainWindow(QWidget* parent) : QMainWindow(parent)
{
    Me = this;
    setGeometry(DesignLeft, DesignTop, DesignWidth, DesignHeight);
    QFont font("MS Sans Serif");  // the nearest available font stands in
    font.setPixelSize(11);
    setFont(font);

    auto* client = new QWidget(this);
    View = new TViewPanel(client);
    View->setGeometry(0, 0, P1DesignWidth, DesignHeight);
    GlowPanelArea = new QWidget(client);
    setCentralWidget(client);
    client->installEventFilter(this);

    Status = statusBar();
    Status->setSizeGripEnabled(false);
    PathLabel = new QLabel(Status);
    PathLabel->setTextFormat(Qt::PlainText);  // a path is shown as it is, never as markup
    PathLabel->setFixedWidth(Panel0Width);
    StatusSpacer = new QLabel(Status);
    StatusSpacer->setFixedWidth(Panel1Width);
    MessageLabel = new QLabel(Status);
    MessageLabel->setTextFormat(Qt::PlainText);
    Status->addWidget(PathLabel);
    Status->addWidget(StatusSpacer);
    Status->addWidget(MessageLabel, 1);
    MessageTimer.setSingleShot(true);
    connect(&MessageTimer, &QTimer::timeout, MessageLabel, &QLabel::clear);

    BuildMenu();
    connect(View, &TViewPanel::MouseDown, this, &TMainWindow::ViewPressed);
    connect(View, &TViewPanel::WheelTurned, this, &TMainWindow::ViewWheel);
    connect(View, &TViewPanel::Dragged, this, &TMainWindow::ViewDragged);
    connect(View, &TViewPanel::PointerMoved, this, &TMainWindow::ViewPointerMoved);
    connect(View, &TViewPanel::MouseUp, this, &TMainWindow::ViewReleased);
    connect(View, &TViewPanel::FramebufferResized, this, &TMainWindow::ViewResized);
    connect(&History, &TGlowHistory::Changed, this, &TMainWindow::GlowsChanged);
    // Key preview: every key press reaches KeyPressed before the controls.
    qApp->installEventFilter(this);

    Guarded([&] { SetUp(); });
}

void TMainWindow::BuildMenu()
{
    QMenuBar* MainMenu1 = menuBar();
    FileMenu = MainMenu1->addMenu("File");
    OpenAction = FileMenu->addAction("Open Opt");
    BuildFileItems();
    ExitSeparator = FileMenu->addSeparator();
    ExitAction = FileMenu->addAction("E&xit");
    BuildEditMenu();
    BuildPictureItems();
    DisplayMenu = MainMenu1->addMenu("Display");
    MeshModeAction = DisplayMenu->addAction("Mesh");
    MeshModeAction->setCheckable(true);
    FaceModeAction = DisplayMenu->addAction("Face");
    FaceModeAction->setCheckable(true);
    DisplayMenu->addSeparator();
    ResetViewAction = DisplayMenu->addAction("Reset View");
    // A key the key table leaves free.
    ResetViewAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    BuildDisplayItems();
    ColorsMenu = MainMenu1->addMenu("Colors");
    SetColorsAction = ColorsMenu->addAction("Set Colors");
    AboutAction = MainMenu1->addAction("About");

    Handle(OpenAction, &TMainWindow::ChooseAndOpen);
    Handle(ExitAction, &TMainWindow::Exit);
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
    // Named after the step they take back or again, as Qt's own undo
    // actions are.
    const auto item = [this](const char* verb, const QList<QKeySequence>& keys, void (TMainWindow::*handler)()) {
        QAction* action = EditMenu->addAction(verb);
        action->setShortcuts(keys);
        // Also while the glow panel or the edit dialog is the active window.
        action->setShortcutContext(Qt::ApplicationShortcut);
        action->setEnabled(false);
        Handle(action, handler);
        return action;
    };
    UndoAction = item("Undo", {QKeySequence(Qt::CTRL | Qt::Key_Z)}, &TMainWindow::Undo);
    RedoAction = item("Redo", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
                 &TMainWindow::Redo);
    const auto follow = [](QAction* action, const QString& verb) {
        return [action, verb](const QString& step) { action->setText(step.isEmpty() ? verb : verb + ' ' + step); };
    };
    connect(&History.Stack, &QUndoStack::undoTextChanged, UndoAction, follow(UndoAction, "Undo"));
    connect(&History.Stack, &QUndoStack::redoTextChanged, RedoAction, follow(RedoAction, "Redo"));
    connect(&History.Stack, &QUndoStack::canUndoChanged, UndoAction, &QAction::setEnabled);
    connect(&History.Stack, &QUndoStack::canRedoChanged, RedoAction, &QAction::setEnabled);
}

void TMainWindow::SetUp()
{
    LayoutPanels();
    const std::string exeDir = ExecutableDir();
    const std::string installedColors = InstalledColorsFile(exeDir);
    const std::string appDir = ChooseAppDir(exeDir, UserDataDir(), FileExists(installedColors));
    if (!PrepareFolders(appDir, appDir == exeDir ? std::string() : ColorsSource(exeDir, installedColors)))
        return;  // CreateOk stays false: the program ends
    CreateOk = true;
    try {
        if (!ReadColorFile())
            ShowMsg(DamagedColorsText());
    } catch (const std::exception& e) {
        ShowError(e);
        // Start with black rather than with whatever part was read.
        std::fill(std::begin(ViewColors), std::end(ViewColors), TColorF{});
    }
    SetStartValues();
}

void TMainWindow::ShowFirstTime()
{
    setWindowTitle(ProgramCaption);
    ClearStatus();
    MeshModeAction->trigger();
    // The redraw inside the click set ViewReady; no model is shown yet.
    ViewReady = false;
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
    if (!Closing && ViewReady && EGlow && EGlow->isVisible())
        EGlow->FitOverAnchor();
}

void TMainWindow::ViewResized()
{
    // Draw the picture anew at the panel's new size while frames complete.
    // After a frame that stopped on an error the last complete one stays
    // shown: drawing again would only raise the same error, box and all.
    if (!Closing && ViewReady && EGlow && EGlow->isVisible() && LastFrameComplete())
        Guarded([&] { Redraw(); });
}

void TMainWindow::BeginClosing()
{
    Closing = true;
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
    Guarded([&] { BeginClosing(); });
    event->accept();
    // The main window ends the program, whatever other windows are open.
    // exit(), not quit(): quit() first asks every window to close, and the
    // glow panel refuses, which would keep the program running unseen.
    QCoreApplication::exit(0);
}

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
    QWidget* first = focus && focus->window() == this ? focus : const_cast<TMainWindow*>(this);
    return watched == first;
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event)
{
    const bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (keyEvent && IsPreviewedKey(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // N and P redraw through the panel and then again themselves.
        Guarded([&] {
            InOneFrame([&] {
                if (!GlowDragKey(*key) && event->type() == QEvent::KeyPress)
                    KeyPressed(key->key(), key->modifiers());
            });
        });
    } else if (watched == centralWidget() && event->type() == QEvent::Resize) {
        LayoutPanels();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainWindow::KeyPressed(int key, Qt::KeyboardModifiers shift)
{
    if (!ViewReady)
        return;
    const bool shiftOnly = (shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == Qt::ShiftModifier;
    // The zoom keys are those of the main keyboard; the keypad's + and - are
    // other keys. Its arrows and page keys (NumLock off) are the same keys
    // as the main block's; on macOS every arrow key carries the keypad mark.
    const bool keypad = shift.testFlag(Qt::KeypadModifier);
    const int32_t panStep = ViewMax / 10;
    switch (key) {
    case Qt::Key_Left:
        shiftOnly ? PanX = WrapSub(PanX, panStep) : RotY = WrapSub(RotY, RotStep);
        break;
    case Qt::Key_Right:
        shiftOnly ? PanX = WrapAdd(PanX, panStep) : RotY = WrapAdd(RotY, RotStep);
        break;
    case Qt::Key_Up:
        shiftOnly ? PanY = WrapAdd(PanY, panStep) : RotX = WrapSub(RotX, RotStep);
        break;
    case Qt::Key_Down:
        shiftOnly ? PanY = WrapSub(PanY, panStep) : RotX = WrapAdd(RotX, RotStep);
        break;
    case Qt::Key_PageUp:
        if (shiftOnly)
            return;
        RotZ = WrapAdd(RotZ, RotStep);
        break;
    case Qt::Key_PageDown:
        if (shiftOnly)
            return;
        RotZ = WrapSub(RotZ, RotStep);
        break;
    case Qt::Key_N:
        if (!shiftOnly)
            SelectNext();
        return;
    case Qt::Key_P:
        if (!shiftOnly)
            SelectPrevious();
        return;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        // "=" and "-" count whatever Shift makes of them.
        if (shiftOnly || keypad)
            return;
        Zoom += 0.05;
        break;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        if (shiftOnly || keypad)
            return;
        Zoom -= 0.05;
        break;
    default:
        return;
    }
    Redraw();
}

void TMainWindow::ViewPressed(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                      bool doubleClick, int x, int y)
{
    Guarded([&] {
        if (GlowDragging) {
            // Another button while a glow is held: the right one puts it back.
            if (button == Qt::RightButton)
                CancelGlowDrag();
            return;
        }
        CameraDrag.Start();
        DragWithShift = modifiers.testFlag(Qt::ShiftModifier);
        const bool leftAlone = buttons == Qt::LeftButton &&
                               !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) &&
                               !doubleClick;
        if (!ViewReady || !leftAlone || PickGlowAt(x, y))
            return;
        // EndPick and ShowGlow both ask for the frame that shows the pick.
        InOneFrame([&] {
            Picking = true;
            StartPick(x, y);
            EndPick();
            EGlow->ShowGlow();
        });
    });
}

void TMainWindow::ViewWheel(double notches)
{
    Guarded([&] {
        if (!ViewReady)
            return;
        WheelZoom(notches);
        Redraw();
    });
}

void TMainWindow::ViewDragged(Qt::MouseButtons buttons, double dx, double dy)
{
    Guarded([&] {
        if (!ViewReady)
            return;
        if (buttons == Qt::MiddleButton || (buttons == Qt::RightButton && DragWithShift)) {
            CameraDrag.Shift(dx, dy);
        } else if (buttons == Qt::RightButton) {
            const double ratio = View->devicePixelRatioF();
            CameraDrag.Turn(dx / ratio, dy / ratio);
        } else {
            return;
        }
        Redraw();
    });
}

void TMainWindow::SetODOPT()
{
    OD1.Title = " Locate an opt to read";
    OD1.Filter = "OPT Files (*.opt *.op1)";
    OD1.Folder = QString::fromStdString(ProjectDir);
}

bool TMainWindow::MakeWorkingCopy()
{
    const std::string chosen = ChosenFile.toStdString();
    const TExistingCopy existing = LookAtExistingCopy(chosen);
    if (existing.Kind != TExistingCopy::Fits) {
        // Reused silently, it would have the user edit another model, or
        // keep failing on a damaged copy; replaced silently, it would lose
        // the edits made to it.
        const QString copy = QString::fromStdString(ProjectDir + FileNamePart(chosen));
        const QString what = existing.Kind == TExistingCopy::OtherModel
                                 ? QStringLiteral("holds another model than\n%1.").arg(ChosenFile)
                                 : QStringLiteral("cannot be read: %1").arg(QString::fromStdString(existing.Problem));
        const QString text = QStringLiteral("The working copy\n%1\n%2\n\nContinue with the working copy and the edits "
                                            "made to it, or replace it with the chosen file (its edits are lost)?")
                                 .arg(copy, what);
        switch (Dialogs().Ask(this, text, {"Continue with Working Copy", "Replace Working Copy", "Cancel"})) {
        case 0:
            break;
        case 1:
            CopyFileStream(chosen, copy.toStdString());
            break;
        default:
            return false;
        }
    }
    ::CopyOpt(chosen);
    return true;
}

void TMainWindow::CloseModel()
{
    EndGlowDrag();
    History.Stack.clear();
    MessageLabel->clear();
    // No working copy is open: an export now would put the previous one
    // where the user takes it for the file being opened.
    ExportCopyAction->setEnabled(false);
    EGlow->hide();
    // The edit dialog must not keep a glow of the model about to be freed.
    MCh->ForgetModel();
    TheModel.Clear();
    ViewReady = false;
    // Nothing is open now; a failed or cancelled open leaves it so.
    ClearStatus();
}

void TMainWindow::ChooseAndOpen()
{
    SetODOPT();
    // The previous model goes before the dialog is shown.
    CloseModel();
    const QString chosen = Dialogs().OpenFile(this, OD1.Title, OD1.Filter, OD1.Folder);
    if (chosen.isEmpty())
        return;
    OpenModel(chosen);
}

void TMainWindow::OpenModel(const QString& path)
{
    CloseModel();
    // Qt's dialogs and a dropped file's URL spell it with '/': messages show it
    // as the system does.
    ChosenFile = QDir::toNativeSeparators(path);
    if (!MakeWorkingCopy())
        return;
    ShowCopyAction->setEnabled(true);
    ReadWorkingCopy();
    ExportCopyAction->setEnabled(true);
    recent_files::Add(path);
    FillRecentFiles();
    SetStatus(ProjectDir + OptFileName);
    const auto& meshes = TheModel.Meshes;
    const auto withGlows = std::find_if(meshes.begin(), meshes.end(), [](const TOMesh& m) { return m.Glows.Count() > 0; });
    if (withGlows == meshes.end()) {
        ShowMsg("No engine glows in this model");
        return;
    }
    SelectedId = static_cast<int32_t>(std::distance(meshes.begin(), withGlows));
    GLRestart();
    GLMade = 1;
    EGlow->ShowForNewModel();
    EGlow->show();
}

void TMainWindow::SelectMeshes()
{
    SelectMode = 0;
    MeshModeAction->setChecked(true);
    FaceModeAction->setChecked(false);
    Redraw();
}

void TMainWindow::SelectFaces()
{
    SelectMode = 1;
    FaceModeAction->setChecked(true);
    MeshModeAction->setChecked(false);
    Redraw();
}

void TMainWindow::ResetView()
{
    ResetCamera();
    Redraw();
}

void TMainWindow::SetColors()
{
    Dialogs().ExecModal(Col);
    Redraw();
}

void TMainWindow::ShowAbout()
{
    ShowMsg(AboutText());
}

void TMainWindow::Exit()
{
    close();
}

void TMainWindow::Undo()
{
    Rewrite(History.UndoStep(), &TGlowHistory::Undo, "Undone: ");
}

void TMainWindow::Redo()
{
    Rewrite(History.RedoStep(), &TGlowHistory::Redo, "Redone: ");
}

void TMainWindow::Rewrite(const TGlowStep* step, void (TGlowHistory::*move)(), const QString& done)
{
    if (!step)
        return;
    const QString text = step->text();
    (History.*move)();
    ShowBriefly(done + text);
}

void TMainWindow::GlowsChanged(const TGlowEdit& written, TGlowHistory::TMove move)
{
    if (move == TGlowHistory::Made)
        ShowBriefly(WrittenText(written));
    Redraw();
}

void TMainWindow::ShowBriefly(const QString& text)
{
    MessageLabel->setText(text);
    MessageTimer.start(6000);
}

void TMainWindow::SelectNext()
{
    if (!StepSelection(TSelStep::Next))
        return;
    EGlow->ShowGlow();
    Redraw();
}

void TMainWindow::SelectPrevious()
{
    if (!StepSelection(TSelStep::Prev))
        return;
    EGlow->ShowGlow();
    Redraw();
}

void TMainWindow::Redraw()
{
    InOneFrame([this] {
        // A glow held under a turned, zoomed or shifted view: its lock and
        // snap follow the picture.
        if (GlowDragging && GlowDragging->Moving)
            FollowGlowDrag();
        RenderView();
        // Drawing decodes the selection: a change of display mode can move
        // CurMesh, and the panel must then describe the new mesh (and asks
        // for the same frame).
        if (EGlow)
            EGlow->FollowCurMesh();
    });
}

void SetStatus(const std::string& text)
{
    Me->PathLabel->setText(QString::fromStdString(text));
}

void ClearStatus()
{
    SetStatus({});
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
