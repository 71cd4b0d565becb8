// The main window's Display items (the selection mode, the views along the
// model's axes, Frame Glow, Glow Colors, Solid, Whole Model) and the picture
// of the view: Export Picture and Copy Picture.

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>

#include "glow_panel.h"
#include "main_window.h"
#include "open_document.h"
#include "view_panel.h"
#include "dialog_seam.h"
#include "error_display.h"
#include "file_util.h"
#include "errors.h"
#include "glow_frame.h"
#include "glow_edit.h"
#include "messages.h"
#include "model.h"
#include "path_names.h"
#include "user_settings.h"

namespace {

}  // namespace

void TMainWindow::ConnectDisplayItems()
{
    Handle(WindowItems.MeshModeAction, &TMainWindow::SelectMeshes);
    Handle(WindowItems.FaceModeAction, &TMainWindow::SelectFaces);
    Handle(WindowItems.ResetViewAction, &TMainWindow::ResetView);
    for (int v = 0; v < 6; ++v)
        connect(WindowItems.AxisViewActions[v], &QAction::triggered, this, [this, view = TAxisView(v)] {
            Guarded([&] {
                LookFrom(State.Camera, view);
                ViewMoved();
            });
        });
    Handle(WindowItems.FrameGlowAction, &TMainWindow::FrameEditedGlow);
    Handle(WindowItems.GlowColorsAction, &TMainWindow::GlowColorsToggled);
    Handle(WindowItems.SolidAction, &TMainWindow::SolidToggled);
    Handle(WindowItems.WholeModelAction, &TMainWindow::WholeModelToggled);
    Handle(WindowItems.ExportPictureAction, &TMainWindow::ExportPicture);
}

void TMainWindow::SelectMeshes()
{
    Document.Selection.SetMode(0, Document.Model);
    WindowItems.MeshModeAction->setChecked(true);
    WindowItems.FaceModeAction->setChecked(false);
    // Back to meshes the packed face may name no mesh: the panel follows.
    if (Panel)
        Panel->FollowCurMesh();
    Redraw();
    // The glows selected may have gone with the mesh.
    ShowSelectedCount();
}

void TMainWindow::SelectFaces()
{
    Document.Selection.SetMode(1, Document.Model);
    WindowItems.FaceModeAction->setChecked(true);
    WindowItems.MeshModeAction->setChecked(false);
    if (Panel)
        Panel->FollowCurMesh();
    Redraw();
    // The glows selected may have gone with the mesh.
    ShowSelectedCount();
}

void TMainWindow::ResetView()
{
    ResetCamera(State.Camera);
    ViewMoved();
}

void TMainWindow::FrameEditedGlow()
{
    // Before a model is open the start values name no glow to ask for.
    const int32_t mesh = Document.Selection.CurMesh;
    const bool open = State.Ready && mesh >= 0 && mesh < Document.Model.Meshes.Count();
    const TGlowIndex shown = open ? ShownGlowIndex(Document) : TGlowIndex{};
    if (!shown) {
        ShowBriefly(NoGlowEditedText);
        return;
    }
    if (!FrameGlow(State.Camera, Document.ShownValues(shown))) {
        ShowBriefly("The glow's centre or main vector is not a finite number: the view stays as it was");
        return;
    }
    ViewMoved();
}

void TMainWindow::GlowColorsToggled()
{
    State.Options.GlowColors = WindowItems.GlowColorsAction->isChecked();
    user_settings::Write(user_settings::GlowColorsKey, State.Options.GlowColors);
    ViewMoved();
}

void TMainWindow::SolidToggled()
{
    State.Options.Solid = WindowItems.SolidAction->isChecked();
    ViewMoved();
}

void TMainWindow::WholeModelToggled()
{
    State.Options.WholeModel = WindowItems.WholeModelAction->isChecked();
    ViewMoved();
}

void TMainWindow::ExportPicture()
{
    const QImage picture = ViewPanel->grabFramebuffer();
    const QFileInfo model(AbsolutePath(ChosenFile));
    const QString start = ChosenFile.isEmpty() ? QDir::homePath() + "/view.png"
                                               : model.absolutePath() + '/' + model.completeBaseName() + ".png";
    const QString target = QDir::toNativeSeparators(
        Dialogs().SaveFile(this, "Export Picture", "PNG Images (*.png)", QDir::toNativeSeparators(start)));
    if (target.isEmpty())
        return;
    // A picture never takes the place of what the user made: the working
    // copy (every edit would be lost), another working copy beside it, the
    // colours in Data/, or the model the copy was made from. A link is
    // written through, as saving through a link does, so where it leads is
    // what counts.
    const std::optional<std::string> file = ExportFile(target, "The picture");
    if (!file)
        return;
    const std::string& path = *file;
    if (SameFile(path, PathBytes(ChosenFile))) {
        ShowMsg("The picture cannot be exported onto the model " + PathBytes(ChosenFile));
        return;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG"))
        throw EInOutError::Write(target.toStdString());
    // Whole or not at all, each write checked: an earlier file there stays
    // until the new one is complete on the disk.
    WriteExport(path, std::span(reinterpret_cast<const uint8_t*>(png.constData()), size_t(png.size())));
    ShowBriefly("Picture exported to " + target);
}

void TMainWindow::CopyPicture()
{
    QGuiApplication::clipboard()->setImage(ViewPanel->grabFramebuffer());
    ShowBriefly("Picture copied");
}
