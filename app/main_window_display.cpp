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

const QString GlowColorsKey = QStringLiteral("GlowColors");

QAction* Checkable(QMenu* menu, const char* caption, bool checked)
{
    QAction* item = menu->addAction(caption);
    item->setCheckable(true);
    item->setChecked(checked);
    return item;
}

}  // namespace

void TMainWindow::BuildDisplayItems()
{
    // Keys the key table leaves free: Ctrl with a digit, and F.
    struct TViewItem {
        QAction*& Item;
        const char* Caption;
        Qt::Key Digit;
        TAxisView View;
    };
    const TViewItem views[] = {
        {FrontAction, "Front", Qt::Key_1, TAxisView::Front}, {BackAction, "Back", Qt::Key_2, TAxisView::Back},
        {LeftAction, "Left", Qt::Key_3, TAxisView::Left},    {RightAction, "Right", Qt::Key_4, TAxisView::Right},
        {TopAction, "Top", Qt::Key_5, TAxisView::Top},       {BottomAction, "Bottom", Qt::Key_6, TAxisView::Bottom},
    };
    for (const TViewItem& v : views) {
        v.Item = DisplayMenu->addAction(v.Caption);
        v.Item->setShortcut(QKeySequence(Qt::CTRL | v.Digit));
        connect(v.Item, &QAction::triggered, this, [this, view = v.View] {
            Guarded([&] {
                LookFrom(Camera, view);
                Redraw();
            });
        });
    }
    FrameGlowAction = DisplayMenu->addAction("Frame Glow");
    FrameGlowAction->setShortcut(QKeySequence(Qt::Key_F));
    Handle(FrameGlowAction, &TMainWindow::FrameEditedGlow);
    DisplayMenu->addSeparator();
    Options.GlowColors = user_settings::Read(GlowColorsKey).toBool();
    GlowColorsAction = Checkable(DisplayMenu, "Glow Colors", Options.GlowColors);
    SolidAction = Checkable(DisplayMenu, "Solid", Options.Solid);
    WholeModelAction = Checkable(DisplayMenu, "Whole Model", Options.WholeModel);
    Handle(GlowColorsAction, &TMainWindow::GlowColorsToggled);
    Handle(SolidAction, &TMainWindow::SolidToggled);
    Handle(WholeModelAction, &TMainWindow::WholeModelToggled);
}

void TMainWindow::BuildPictureItems()
{
    ExportPictureAction = new QAction("Export Picture...", FileMenu);
    FileMenu->insertAction(ExitSeparator, ExportPictureAction);
    CopyPictureAction = EditMenu->addAction("Copy Picture");
    // There is a picture once a model is shown.
    ExportPictureAction->setEnabled(false);
    CopyPictureAction->setEnabled(false);
    Handle(ExportPictureAction, &TMainWindow::ExportPicture);
    Handle(CopyPictureAction, &TMainWindow::CopyPicture);
}

void TMainWindow::SelectMeshes()
{
    Document.Selection.SetMode(0, Document.Model);
    MeshModeAction->setChecked(true);
    FaceModeAction->setChecked(false);
    // Back to meshes the packed face may name no mesh: the panel follows.
    if (GlowPanel)
        GlowPanel->FollowCurMesh();
    Redraw();
}

void TMainWindow::SelectFaces()
{
    Document.Selection.SetMode(1, Document.Model);
    FaceModeAction->setChecked(true);
    MeshModeAction->setChecked(false);
    if (GlowPanel)
        GlowPanel->FollowCurMesh();
    Redraw();
}

void TMainWindow::ResetView()
{
    ResetCamera(Camera);
    Redraw();
}

void TMainWindow::FrameEditedGlow()
{
    // Before a model is open the start values name no glow to ask for.
    const int32_t mesh = Document.Selection.CurMesh;
    const bool open = ViewReady && mesh >= 0 && mesh < Document.Model.Meshes.Count();
    const TGlowIndex shown = open ? ShownGlowIndex(Document) : TGlowIndex{};
    if (!shown) {
        ShowBriefly(NoGlowEditedText);
        return;
    }
    if (!FrameGlow(Camera, Document.ShownValues(shown))) {
        ShowBriefly("The glow's centre or main vector is not a finite number: the view stays as it was");
        return;
    }
    Redraw();
}

void TMainWindow::GlowColorsToggled()
{
    Options.GlowColors = GlowColorsAction->isChecked();
    user_settings::Write(GlowColorsKey, Options.GlowColors);
    Redraw();
}

void TMainWindow::SolidToggled()
{
    Options.Solid = SolidAction->isChecked();
    Redraw();
}

void TMainWindow::WholeModelToggled()
{
    Options.WholeModel = WholeModelAction->isChecked();
    Redraw();
}

void TMainWindow::ExportPicture()
{
    const QImage picture = View->grabFramebuffer();
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
    QGuiApplication::clipboard()->setImage(View->grabFramebuffer());
    ShowBriefly("Picture copied");
}
