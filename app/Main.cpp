#include "Main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QShowEvent>
#include <QStandardPaths>
#include <QStatusBar>
#include <algorithm>
#include <iterator>

#include "Ed_EGlow.h"
#include "M_Change.h"
#include "M_Color.h"
#include "M_Glunit.h"
#include "app_state.h"
#include "dialog_seam.h"
#include "error_display.h"
#include "file_util.h"
#include "messages.h"
#include "model.h"
#include "opt_file_io.h"
#include "path_names.h"
#include "recent_files.h"
#include "selection.h"
#include "startup.h"
#include "view_colors.h"
#include "view_state.h"
#include "working_copy.h"

TMe* Me = nullptr;
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

TMe::TMe(QWidget* parent) : QMainWindow(parent)
{
    Me = this;
    setGeometry(DesignLeft, DesignTop, DesignWidth, DesignHeight);
    QFont font("MS Sans Serif");  // the nearest available font stands in
    font.setPixelSize(11);
    setFont(font);

    auto* client = new QWidget(this);
    P1 = new TGLPanel(client);
    P1->setGeometry(0, 0, P1DesignWidth, DesignHeight);
    P2 = new QWidget(client);
    setCentralWidget(client);
    client->installEventFilter(this);

    Bar = statusBar();
    Bar->setSizeGripEnabled(false);
    BarPanel0 = new QLabel(Bar);
    BarPanel0->setTextFormat(Qt::PlainText);  // a path is shown as it is, never as markup
    BarPanel0->setFixedWidth(Panel0Width);
    BarPanel1 = new QLabel(Bar);
    BarPanel1->setFixedWidth(Panel1Width);
    BarMessage = new QLabel(Bar);
    BarMessage->setTextFormat(Qt::PlainText);
    Bar->addWidget(BarPanel0);
    Bar->addWidget(BarPanel1);
    Bar->addWidget(BarMessage, 1);
    MessageTimer.setSingleShot(true);
    connect(&MessageTimer, &QTimer::timeout, BarMessage, &QLabel::clear);

    BuildMenu();
    connect(P1, &TGLPanel::MouseDown, this, &TMe::P1MouseDown);
    connect(P1, &TGLPanel::WheelTurned, this, &TMe::P1Wheel);
    connect(P1, &TGLPanel::Dragged, this, &TMe::P1Drag);
    connect(P1, &TGLPanel::PointerMoved, this, &TMe::P1PointerMoved);
    connect(P1, &TGLPanel::MouseUp, this, &TMe::P1MouseUp);
    connect(P1, &TGLPanel::FramebufferResized, this, &TMe::P1FramebufferResized);
    connect(&History, &TGlowHistory::Changed, this, &TMe::GlowsChanged);
    // Key preview: every key press reaches FormKeyDown before the controls.
    qApp->installEventFilter(this);

    Guarded([&] { FormCreate(); });
}

void TMe::BuildMenu()
{
    QMenuBar* MainMenu1 = menuBar();
    File1 = MainMenu1->addMenu("File");
    OpenOpt = File1->addAction("Open Opt");
    BuildFileItems();
    N2 = File1->addSeparator();
    Exit1 = File1->addAction("E&xit");
    BuildEditMenu();
    BuildPictureItems();
    Map1 = MainMenu1->addMenu("Display");
    Mesh1 = Map1->addAction("Mesh");
    Mesh1->setCheckable(true);
    Face1 = Map1->addAction("Face");
    Face1->setCheckable(true);
    Map1->addSeparator();
    ResetView1 = Map1->addAction("Reset View");
    // A key the key table leaves free.
    ResetView1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    BuildDisplayItems();
    Colors2 = MainMenu1->addMenu("Colors");
    Colors1 = Colors2->addAction("Set Colors");
    About1 = MainMenu1->addAction("About");

    Handle(OpenOpt, &TMe::OpenOptClick);
    Handle(Exit1, &TMe::Exit1Click);
    Handle(Mesh1, &TMe::Mesh1Click);
    Handle(Face1, &TMe::Face1Click);
    Handle(ResetView1, &TMe::ResetView1Click);
    Handle(Colors1, &TMe::Colors1Click);
    Handle(About1, &TMe::About1Click);
}

void TMe::Handle(QAction* item, void (TMe::*handler)())
{
    connect(item, &QAction::triggered, this, [this, handler] { Guarded([&] { (this->*handler)(); }); });
}

void TMe::BuildEditMenu()
{
    Edit1 = new QMenu("Edit", this);
    menuBar()->addMenu(Edit1);
    // Named after the step they take back or again, as Qt's own undo
    // actions are.
    const auto item = [this](const char* verb, const QList<QKeySequence>& keys, void (TMe::*handler)()) {
        QAction* action = Edit1->addAction(verb);
        action->setShortcuts(keys);
        // Also while the glow panel or the edit dialog is the active window.
        action->setShortcutContext(Qt::ApplicationShortcut);
        action->setEnabled(false);
        Handle(action, handler);
        return action;
    };
    Undo1 = item("Undo", {QKeySequence(Qt::CTRL | Qt::Key_Z)}, &TMe::Undo1Click);
    Redo1 = item("Redo", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
                 &TMe::Redo1Click);
    const auto follow = [](QAction* action, const QString& verb) {
        return [action, verb](const QString& step) { action->setText(step.isEmpty() ? verb : verb + ' ' + step); };
    };
    connect(&History.Stack, &QUndoStack::undoTextChanged, Undo1, follow(Undo1, "Undo"));
    connect(&History.Stack, &QUndoStack::redoTextChanged, Redo1, follow(Redo1, "Redo"));
    connect(&History.Stack, &QUndoStack::canUndoChanged, Undo1, &QAction::setEnabled);
    connect(&History.Stack, &QUndoStack::canRedoChanged, Redo1, &QAction::setEnabled);
}

void TMe::FormCreate()
{
    LayoutPanels();
    const std::string exeDir = ExecutableDir();
    const std::string installedColors = InstalledColorsFile(exeDir);
    const std::string appDir = ChooseAppDir(exeDir, UserDataDir(), FileExists(installedColors));
    if (!PrepareFolders(appDir, appDir == exeDir ? std::string() : ColorsSource(exeDir, installedColors)))
        return;  // CreateOk stays false: the program ends
    CreateOk = true;
    try {
        if (const TColorFile found = ReadColorFile(); found != TColorFile::Whole)
            ShowMsg(DamagedColorsText(found));
    } catch (const std::exception& e) {
        ShowError(e);
        // Start with black rather than with whatever part was read.
        std::fill(std::begin(ViewColors), std::end(ViewColors), TColorF{});
    }
    SetStartValues();
}

void TMe::FormShow()
{
    setWindowTitle(ProgramCaption);
    ClearStatus();
    Mesh1->trigger();
    // The redraw inside the click set ViewReady; no model is shown yet.
    ViewReady = false;
}

void TMe::LayoutPanels()
{
    const QWidget* client = centralWidget();
    if (!client)
        return;
    const int side = client->height();
    P1->setGeometry(0, 0, side, side);
    P2->setGeometry(side, 0, std::max(0, client->width() - side), side);
}

void TMe::FormResize()
{
    LayoutPanels();
    if (!Closing && ViewReady && EGlow && EGlow->isVisible())
        EGlow->SetSize();
}

void TMe::P1FramebufferResized()
{
    // Draw the picture anew at the panel's new size while frames complete.
    // After a frame that stopped on an error the last complete one stays
    // shown: drawing again would only raise the same error, box and all.
    if (!Closing && ViewReady && EGlow && EGlow->isVisible() && LastFrameComplete())
        Guarded([&] { NewTr(); });
}

void TMe::FormClose()
{
    Closing = true;
}

void TMe::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        Guarded([&] { FormShow(); });
}

void TMe::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Guarded([&] { FormResize(); });
}

void TMe::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    // A maximized window moves only by being maximized, and some platforms
    // (Windows, wine) report its new place after its new size: the panel
    // laid over it at the resize must follow.
    if (isMaximized())
        Guarded([&] { FormResize(); });
}

void TMe::closeEvent(QCloseEvent* event)
{
    Guarded([&] { FormClose(); });
    event->accept();
    // The main window ends the program, whatever other windows are open.
    // exit(), not quit(): quit() first asks every window to close, and the
    // glow panel refuses, which would keep the program running unseen.
    QCoreApplication::exit(0);
}

bool TMe::IsPreviewedKey(QObject* watched) const
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
    QWidget* first = focus && focus->window() == this ? focus : const_cast<TMe*>(this);
    return watched == first;
}

bool TMe::eventFilter(QObject* watched, QEvent* event)
{
    const bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (keyEvent && IsPreviewedKey(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // N and P redraw through the panel and then again themselves.
        Guarded([&] {
            InOneFrame([&] {
                if (!GlowDragKey(*key) && event->type() == QEvent::KeyPress)
                    FormKeyDown(key->key(), key->modifiers());
            });
        });
    } else if (watched == centralWidget() && event->type() == QEvent::Resize) {
        LayoutPanels();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMe::FormKeyDown(int key, Qt::KeyboardModifiers shift)
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
            SelNext();
        return;
    case Qt::Key_P:
        if (!shiftOnly)
            SelPrev();
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
    NewTr();
}

void TMe::P1MouseDown(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                      bool doubleClick, int x, int y)
{
    Guarded([&] {
        if (GlowDragging) {
            // Another button while a glow is held: the right one puts it back.
            if (button == Qt::RightButton)
                CancelGlowDrag();
            return;
        }
        Drag.Start();
        DragWithShift = modifiers.testFlag(Qt::ShiftModifier);
        const bool leftAlone = buttons == Qt::LeftButton &&
                               !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) &&
                               !doubleClick;
        if (!ViewReady || !leftAlone || PickGlowAt(x, y))
            return;
        // EndPick and ShoGlow both ask for the frame that shows the pick.
        InOneFrame([&] {
            Picking = true;
            StartPick(x, y);
            EndPick();
            EGlow->ShoGlow();
        });
    });
}

void TMe::P1Wheel(double notches)
{
    Guarded([&] {
        if (!ViewReady)
            return;
        WheelZoom(notches);
        NewTr();
    });
}

void TMe::P1Drag(Qt::MouseButtons buttons, double dx, double dy)
{
    Guarded([&] {
        if (!ViewReady)
            return;
        if (buttons == Qt::MiddleButton || (buttons == Qt::RightButton && DragWithShift)) {
            Drag.Shift(dx, dy);
        } else if (buttons == Qt::RightButton) {
            const double ratio = P1->devicePixelRatioF();
            Drag.Turn(dx / ratio, dy / ratio);
        } else {
            return;
        }
        NewTr();
    });
}

void TMe::SetODOPT()
{
    OD1.Title = " Locate an opt to read";
    OD1.Filter = "OPT Files (*.opt *.op1)";
    OD1.Folder = PathText(ProjectDir);
}

bool TMe::CopyOpt()
{
    const std::string chosen = PathBytes(ChosenFile);
    const TExistingCopy existing = LookAtExistingCopy(chosen);
    if (existing.Kind != TExistingCopy::Fits) {
        // Reused silently, it would have the user edit another model, or
        // keep failing on a damaged copy; replaced silently, it would lose
        // the edits made to it.
        const QString copy = PathText(ProjectDir + FileNamePart(chosen));
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
            CopyFileStream(chosen, PathBytes(copy));
            break;
        default:
            return false;
        }
    }
    ::CopyOpt(chosen);
    return true;
}

void TMe::CloseModel()
{
    EndGlowDrag();
    History.Stack.clear();
    BarMessage->clear();
    // No working copy is open: an export now would put the previous one
    // where the user takes it for the file being opened.
    ExportCopy1->setEnabled(false);
    ExportPicture1->setEnabled(false);
    CopyPicture1->setEnabled(false);
    EGlow->hide();
    // The edit dialog must not keep a glow of the model about to be freed.
    MCh->ForgetModel();
    TheModel.Clear();
    ViewReady = false;
    // Nothing is open now; a failed or cancelled open leaves it so.
    ClearStatus();
}

void TMe::OpenOptClick()
{
    SetODOPT();
    // The previous model goes before the dialog is shown.
    CloseModel();
    const QString chosen = Dialogs().OpenFile(this, OD1.Title, OD1.Filter, OD1.Folder);
    if (chosen.isEmpty())
        return;
    OpenModel(chosen);
}

void TMe::OpenModel(const QString& path)
{
    CloseModel();
    // Qt's dialogs and a dropped file's URL spell it with '/': messages show it
    // as the system does.
    ChosenFile = QDir::toNativeSeparators(path);
    if (!CopyOpt())
        return;
    ShowCopy1->setEnabled(true);
    ReadWorkingCopy();
    ExportCopy1->setEnabled(true);
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
    EGlow->DisplayForm();
    EGlow->show();
    ExportPicture1->setEnabled(true);
    CopyPicture1->setEnabled(true);
}

void TMe::Mesh1Click()
{
    SelectMode = 0;
    Mesh1->setChecked(true);
    Face1->setChecked(false);
    NewTr();
}

void TMe::Face1Click()
{
    SelectMode = 1;
    Face1->setChecked(true);
    Mesh1->setChecked(false);
    NewTr();
}

void TMe::ResetView1Click()
{
    ResetCamera();
    NewTr();
}

void TMe::Colors1Click()
{
    Dialogs().ExecModal(Col);
    NewTr();
}

void TMe::About1Click()
{
    ShowMsg(AboutText());
}

void TMe::Exit1Click()
{
    close();
}

void TMe::Undo1Click()
{
    Rewrite(History.UndoStep(), &TGlowHistory::Undo, "Undo", "Undone: ");
}

void TMe::Redo1Click()
{
    Rewrite(History.RedoStep(), &TGlowHistory::Redo, "Redo", "Redone: ");
}

void TMe::Rewrite(const TGlowStep* step, void (TGlowHistory::*move)(), const QString& verb, const QString& done)
{
    if (!step)
        return;
    const QString text = step->text();
    const size_t glows = step->Edit().Changes.size();
    // A write that fails stops the move: what it wrote before is said, as a
    // copy to all that stops says it.
    size_t written = 0;
    const auto count = [&written](const TGlowEdit& edit) { written = edit.Changes.size(); };
    const QMetaObject::Connection counting = connect(&History, &TGlowHistory::Changed, this, count);
    const auto stopCounting = qScopeGuard([&] { disconnect(counting); });
    try {
        (History.*move)();
    } catch (...) {
        if (written > 0)
            ShowBriefly(QStringLiteral("%1 %2: %L3 of %L4 glows written").arg(verb, text).arg(written).arg(glows));
        throw;
    }
    ShowBriefly(done + text);
}

void TMe::GlowsChanged(const TGlowEdit& written, TGlowHistory::TMove move)
{
    if (move == TGlowHistory::Made)
        ShowBriefly(WrittenText(written));
    NewTr();
}

void TMe::ShowBriefly(const QString& text)
{
    BarMessage->setText(text);
    MessageTimer.start(6000);
}

void TMe::SelNext()
{
    if (!StepSelection(TSelStep::Next))
        return;
    EGlow->ShoGlow();
    NewTr();
}

void TMe::SelPrev()
{
    if (!StepSelection(TSelStep::Prev))
        return;
    EGlow->ShoGlow();
    NewTr();
}

void TMe::NewTr()
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
    Me->BarPanel0->setText(QString::fromStdString(text));
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
