// The main window's files in and out: Recent Files, a dropped file, the
// export of the working copy and its folder shown on the desktop.

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "Main.h"
#include "app_state.h"
#include "dialog_seam.h"
#include "error_display.h"
#include "file_util.h"
#include "messages.h"
#include "path_names.h"
#include "recent_files.h"
#include "working_copy.h"

namespace {

QString WorkingCopy()
{
    return PathText(ProjectDir + OptFileName);
}

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

void TMe::BuildFileItems()
{
    RecentFiles1 = File1->addMenu("Recent Files");
    FillRecentFiles();
    File1->addSeparator();
    ExportCopy1 = File1->addAction("Export Working Copy...");
    ShowCopy1 = File1->addAction("Show Working Copy");
    // There is a working copy once a file was opened.
    ExportCopy1->setEnabled(false);
    ShowCopy1->setEnabled(false);
    Handle(ExportCopy1, &TMe::ExportCopy1Click);
    Handle(ShowCopy1, &TMe::ShowCopy1Click);
    setAcceptDrops(true);
}

void TMe::FillRecentFiles()
{
    RecentFiles1->clear();
    const QStringList files = recent_files::Load();
    for (int i = 0; i < files.size(); ++i) {
        QString shown = files[i];
        shown.replace('&', "&&");  // a path's & is no mnemonic
        QAction* item = RecentFiles1->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        connect(item, &QAction::triggered, this, [this, file = files[i]] { Guarded([&] { OpenRecent(file); }); });
    }
    RecentFiles1->setEnabled(!files.isEmpty());
}

void TMe::OpenRecent(const QString& path)
{
    if (KindOf(PathBytes(path), TLinks::Follow) == TFileKind::Missing) {
        recent_files::Remove(path);
        FillRecentFiles();
        ShowMsg((path + " is gone; it is taken off Recent Files.").toStdString());
        return;
    }
    OpenModel(path);
}

void TMe::ExportCopy1Click()
{
    const QString copy = WorkingCopy();
    const QString start = ChosenFile.isEmpty() ? copy : QDir::toNativeSeparators(QFileInfo(ChosenFile).absoluteFilePath());
    const QString target = QDir::toNativeSeparators(Dialogs().SaveFile(this, "Export Working Copy", OD1.Filter, start));
    if (target.isEmpty())
        return;
    if (SameFile(PathBytes(target), ProjectDir + OptFileName)) {
        ShowMsg("The working copy cannot be exported onto itself");
        return;
    }
    ExportWorkingCopy(PathBytes(target));
    ShowBriefly("Working copy exported to " + target);
}

void TMe::ShowCopy1Click()
{
    const QString folder = QString::fromStdString(ProjectDir);
    if (!Dialogs().OpenUrl(QUrl::fromLocalFile(folder)))
        ShowMsg(("No file manager could show " + folder).toStdString());
}

void TMe::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedOptFile(event->mimeData()).isEmpty())
        AcceptAsCopy(event);
}

void TMe::dropEvent(QDropEvent* event)
{
    const QString path = DroppedOptFile(event->mimeData());
    if (path.isEmpty() || !AcceptAsCopy(event))
        return;
    // Once the drop is done: the program it came from waits for its end.
    QMetaObject::invokeMethod(this, [this, path] { Guarded([&] { OpenModel(path); }); }, Qt::QueuedConnection);
}
