#include "files_out.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QUrl>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "dialog_seam.h"
#include "error_display.h"
#include "errors.h"
#include "file_util.h"
#include "main_window.h"
#include "open_model.h"
#include "path_names.h"
#include "working_copy.h"

namespace {

// The file that an export of what (as a message names it: "The picture") to
// target writes: where a link there leads (ThroughLinks). Nothing, after a
// message naming it, where that file lies in the editor's own Project/ or
// Data/, whatever path or link leads there: it would take the place of a
// working copy or of the colours.
std::optional<std::string> ExportFile(const TOpenModel& open, const QString& target, const std::string& what)
{
    const std::string file = ThroughLinks(PathBytes(target));
    const std::string folder = FolderPart(file);
    const std::pair<const std::string&, const char*> own[] = {{open.ProjectDir, "the working copies' folder"},
                                                               {open.DataDir, "the editor's Data folder"}};
    for (const auto& [dir, name] : own)
        if (SameFile(folder.empty() ? "." : folder, dir)) {
            ShowMsg(what + " cannot be exported into " + name + ": " + file);
            return std::nullopt;
        }
    return file;
}

}  // namespace

namespace files_out {

QString ExportWorkingCopy(QWidget* parent, const TOpenModel& open, const QString& chosenFile)
{
    const QString copy = PathText(open.WorkingCopyPath());
    const QString start = chosenFile.isEmpty() ? copy : QDir::toNativeSeparators(AbsolutePath(chosenFile));
    const QString target = QDir::toNativeSeparators(Dialogs().SaveFile(parent, "Export Working Copy", OptFilter, start));
    if (target.isEmpty())
        return {};
    if (SameFile(PathBytes(target), open.WorkingCopyPath())) {
        ShowMsg("The working copy cannot be exported onto itself");
        return {};
    }
    const std::optional<std::string> file = ExportFile(open, target, "The working copy");
    if (!file)
        return {};
    ::ExportWorkingCopy(open, *file);
    return "Working copy exported to " + target;
}

QString ExportPicture(QWidget* parent, const TOpenModel& open, const QString& chosenFile, const QImage& picture)
{
    const QFileInfo model(AbsolutePath(chosenFile));
    const QString start = chosenFile.isEmpty() ? QDir::homePath() + "/view.png"
                                               : model.absolutePath() + '/' + model.completeBaseName() + ".png";
    const QString target = QDir::toNativeSeparators(
        Dialogs().SaveFile(parent, "Export Picture", "PNG Images (*.png)", QDir::toNativeSeparators(start)));
    if (target.isEmpty())
        return {};
    // A picture never takes the place of what the user made: the working
    // copy (every edit would be lost), another working copy beside it, the
    // colours in Data/, or the model the copy was made from. A link is
    // written through, as saving through a link does, so where it leads is
    // what counts.
    const std::optional<std::string> file = ExportFile(open, target, "The picture");
    if (!file)
        return {};
    const std::string& path = *file;
    if (SameFile(path, PathBytes(chosenFile))) {
        ShowMsg("The picture cannot be exported onto the model " + PathBytes(chosenFile));
        return {};
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG"))
        throw EInOutError::Write(target.toStdString());
    // Whole or not at all, each write checked: an earlier file there stays
    // until the new one is complete on the disk.
    WriteExport(path, std::span(reinterpret_cast<const uint8_t*>(png.constData()), size_t(png.size())));
    return "Picture exported to " + target;
}

QString CopyPicture(const QImage& picture)
{
    QGuiApplication::clipboard()->setImage(picture);
    return "Picture copied";
}

void ShowWorkingCopy(const TOpenModel& open)
{
    const QString folder = QString::fromStdString(open.ProjectDir);
    if (!Dialogs().OpenUrl(QUrl::fromLocalFile(folder)))
        ShowMsg(("No file manager could show " + folder).toStdString());
}

}  // namespace files_out
