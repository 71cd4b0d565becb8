// The main window's files in and out: Recent Files, a dropped file, the
// export of the working copy and its folder shown on the desktop.

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <utility>

#include "dialog_seam.h"
#include "error_display.h"
#include "file_util.h"
#include "main_window.h"
#include "messages.h"
#include "open_document.h"
#include "path_names.h"
#include "recent_files.h"
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

void TMainWindow::ConnectFileItems()
{
    Handle(WindowItems.OpenAction, &TMainWindow::ChooseAndOpen);
    FillRecentFiles();
    Handle(WindowItems.ExportCopyAction, &TMainWindow::ExportCopy);
    Handle(WindowItems.ShowCopyAction, &TMainWindow::ShowCopyFolder);
    connect(WindowItems.ExitAction, &QAction::triggered, this, &QWidget::close);
}

void TMainWindow::FillRecentFiles()
{
    WindowItems.RecentFilesMenu->clear();
    const QStringList files = recent_files::Load();
    for (int i = 0; i < files.size(); ++i) {
        QString shown = files[i];
        shown.replace('&', "&&");  // a path's & is no mnemonic
        QAction* item = WindowItems.RecentFilesMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        connect(item, &QAction::triggered, this, [this, file = files[i]] { Guarded([&] { OpenRecent(file); }); });
    }
    WindowItems.RecentFilesMenu->setEnabled(!files.isEmpty());
}

void TMainWindow::OpenRecent(const QString& path)
{
    if (KindOf(PathBytes(path), TLinks::Follow) == TFileKind::Missing) {
        recent_files::Remove(path);
        FillRecentFiles();
        ShowMsg((path + " is gone; it is taken off Recent Files.").toStdString());
        return;
    }
    OpenModel(path);
}

void TMainWindow::ExportCopy()
{
    const QString copy = PathText(Document.WorkingCopyPath());
    const QString start = ChosenFile.isEmpty() ? copy : QDir::toNativeSeparators(AbsolutePath(ChosenFile));
    const QString target = QDir::toNativeSeparators(Dialogs().SaveFile(this, "Export Working Copy", OptFilter, start));
    if (target.isEmpty())
        return;
    if (SameFile(PathBytes(target), Document.WorkingCopyPath())) {
        ShowMsg("The working copy cannot be exported onto itself");
        return;
    }
    const std::optional<std::string> file = ExportFile(target, "The working copy");
    if (!file)
        return;
    ExportWorkingCopy(Document, *file);
    ShowBriefly("Working copy exported to " + target);
}

std::optional<std::string> TMainWindow::ExportFile(const QString& target, const std::string& what)
{
    const std::string file = ThroughLinks(PathBytes(target));
    const std::string folder = FolderPart(file);
    const std::pair<const std::string&, const char*> own[] = {{Document.ProjectDir, "the working copies' folder"},
                                                               {Document.DataDir, "the editor's Data folder"}};
    for (const auto& [dir, name] : own)
        if (SameFile(folder.empty() ? "." : folder, dir)) {
            ShowMsg(what + " cannot be exported into " + name + ": " + file);
            return std::nullopt;
        }
    return file;
}

void TMainWindow::ShowCopyFolder()
{
    const QString folder = QString::fromStdString(Document.ProjectDir);
    if (!Dialogs().OpenUrl(QUrl::fromLocalFile(folder)))
        ShowMsg(("No file manager could show " + folder).toStdString());
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
