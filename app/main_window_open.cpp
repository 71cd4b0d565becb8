// Opening a model: the open dialog, Recent Files or a dropped file, the
// working copy made (or the user asked about the one already there), the copy
// read, and the view and the glow panel started on it.

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <algorithm>
#include <iterator>

#include "camera_control.h"
#include "dialog_seam.h"
#include "error_display.h"
#include "file_util.h"
#include "frame_folding.h"
#include "glow_panel.h"
#include "glow_pick.h"
#include "glow_placer.h"
#include "main_window.h"
#include "open_document.h"
#include "path_names.h"
#include "recent_files.h"
#include "value_dialog.h"
#include "view_panel.h"
#include "working_copy.h"

namespace {

// The one local OPT file a drop carries; empty for anything else.
QString DroppedOptFile(const QMimeData* data)
{
    if (!data->hasUrls() || data->urls().size() != 1)
        return {};
    const QString file = LocalFileOf(data->urls().front());
    const QString suffix = QFileInfo(file).suffix().toLower();
    return suffix == "opt" || suffix == "op1" ? file : QString();
}

// Takes a drop as a copy: a move would have the program it comes from delete
// the user's file once it is opened. False when the source offers no copy.
bool AcceptAsCopy(QDropEvent* event)
{
    if (!(event->possibleActions() & Qt::CopyAction))
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

}  // namespace

bool TMainWindow::MakeWorkingCopy()
{
    const std::string chosen = PathBytes(ChosenFile);
    const TExistingCopy existing = LookAtExistingCopy(Document, chosen);
    if (existing.Kind != TExistingCopy::Fits) {
        // Reused silently, it would have the user edit another model, or
        // keep failing on a damaged copy; replaced silently, it would lose
        // the edits made to it.
        const QString copy = PathText(Document.ProjectDir + FileNamePart(chosen));
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
            ReplaceWorkingCopy(chosen, PathBytes(copy));
            break;
        default:
            return false;
        }
    }
    CopyOpt(Document, chosen);
    return true;
}

void TMainWindow::CloseModel()
{
    Placer->Stop();
    Document.History.Clear();
    WindowItems.MessageLabel->clear();
    // No working copy is open: an export now would put the previous one
    // where the user takes it for the file being opened.
    WindowItems.ExportCopyAction->setEnabled(false);
    WindowItems.ExportPictureAction->setEnabled(false);
    WindowItems.CopyPictureAction->setEnabled(false);
    Panel->hide();
    // The edit dialog must not keep a glow of the model about to be freed.
    Panel->Dialog->ForgetModel();
    Document.Model.Clear();
    // The view keeps nothing of it either.
    ViewPanel->ForgetMeshes();
    State.Ready = false;
    ShowSelectedCount();
    // Nothing is open now; a failed or cancelled open leaves it so.
    SetStatus({});
}

void TMainWindow::ChooseAndOpen()
{
    // The previous model goes before the dialog is shown.
    CloseModel();
    const QString chosen = Dialogs().OpenFile(this, " Locate an opt to read", OptFilter,
                                              PathText(Document.ProjectDir));
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
    WindowItems.ShowCopyAction->setEnabled(true);
    // A write of several glows that a crash cut short is taken back before
    // the copy is read.
    const TTakeBack takeBack = TakeBackWorkingCopy(Document);
    ReadWorkingCopy(Document);
    WindowItems.ExportCopyAction->setEnabled(true);
    recent_files::Add(path);
    FillRecentFiles();
    SetStatus(Document.WorkingCopyPath());
    // A write taken back is said until the next message: it may be the only
    // sign of the crash. What the reader could not take is not shown: say so.
    const std::string leftOut = LeftOutText(Document.Reader.LeftOut);
    if (takeBack.Text.empty() && !leftOut.empty()) {
        ShowBriefly(QString::fromStdString(leftOut));
    } else {
        MessageTimer.stop();
        WindowItems.MessageLabel->setText(QString::fromStdString(takeBack.Text + (leftOut.empty() ? "" : "; " + leftOut)));
    }
    const auto& meshes = Document.Model.Meshes;
    const auto withGlows = std::find_if(meshes.begin(), meshes.end(), [](const TOMesh& m) { return m.Glows.Count() > 0; });
    if (withGlows == meshes.end()) {
        ShowMsg("No engine glows in this model");
        return;
    }
    Document.Selection.Select(static_cast<int32_t>(std::distance(meshes.begin(), withGlows)), Document.Model);
    Cameras->FitToModel();
    Placer->Start();
    ViewPanel->Restart();
    Panel->ShowForNewModel();
    // The first frame without glows: the panel is shown once the model is
    // (a frame that fails leaves it hidden). Keys and clicks act once the
    // model is on screen.
    Frames->Now();
    State.Ready = true;
    ShowSelectedCount();
    Panel->show();
    // The view draws glows only while the panel shows: those it shows now
    // (every glow, after Show All Glows) join the picture at once.
    if (!DrawnGlows(Scene()).empty())
        Redraw();
    WindowItems.ExportPictureAction->setEnabled(true);
    WindowItems.CopyPictureAction->setEnabled(true);
}

void TMainWindow::FillRecentFiles()
{
    WindowItems.RecentFilesMenu->clear();
    const QStringList files = recent_files::Load();
    for (int i = 0; i < files.size(); ++i) {
        QString shown = files[i];
        shown.replace('&', "&&");  // a path's & is no mnemonic
        QAction* item = WindowItems.RecentFilesMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        connect(item, &QAction::triggered, this, [this, file = files[i]] {
            Guarded([&] {
                if (KindOf(PathBytes(file), TLinks::Follow) == TFileKind::Missing) {
                    recent_files::Remove(file);
                    FillRecentFiles();
                    ShowMsg((file + " is gone; it is taken off Recent Files.").toStdString());
                    return;
                }
                OpenModel(file);
            });
        });
    }
    WindowItems.RecentFilesMenu->setEnabled(!files.isEmpty());
}

void TMainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedOptFile(event->mimeData()).isEmpty())
        AcceptAsCopy(event);
}

void TMainWindow::dropEvent(QDropEvent* event)
{
    const QString path = DroppedOptFile(event->mimeData());
    if (path.isEmpty() || !AcceptAsCopy(event))
        return;
    // Once the drop is done: the program it came from waits for its end.
    QMetaObject::invokeMethod(this, [this, path] { Guarded([&] { OpenModel(path); }); }, Qt::QueuedConnection);
}
