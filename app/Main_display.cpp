// The main window's Display items beyond the selection mode (the views along
// the model's axes, Frame Glow, Glow Colors, Solid, Whole Model) and the
// picture of the view: Export Picture and Copy Picture.

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>

#include "M_Glunit.h"
#include "Main.h"
#include "app_state.h"
#include "dialog_seam.h"
#include "error_display.h"
#include "file_util.h"
#include "errors.h"
#include "glow_frame.h"
#include "glow_ops.h"
#include "glow_preview.h"
#include "messages.h"
#include "model.h"
#include "path_names.h"
#include "user_settings.h"
#include "view_state.h"

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

void TMe::BuildDisplayItems()
{
    // Keys the key table leaves free: Ctrl with a digit, and F.
    struct TViewItem {
        QAction*& Item;
        const char* Caption;
        Qt::Key Digit;
        TAxisView View;
    };
    const TViewItem views[] = {
        {Front1, "Front", Qt::Key_1, TAxisView::Front}, {Back1, "Back", Qt::Key_2, TAxisView::Back},
        {Left1, "Left", Qt::Key_3, TAxisView::Left},    {Right1, "Right", Qt::Key_4, TAxisView::Right},
        {Top1, "Top", Qt::Key_5, TAxisView::Top},       {Bottom1, "Bottom", Qt::Key_6, TAxisView::Bottom},
    };
    for (const TViewItem& v : views) {
        v.Item = Map1->addAction(v.Caption);
        v.Item->setShortcut(QKeySequence(Qt::CTRL | v.Digit));
        connect(v.Item, &QAction::triggered, this, [this, view = v.View] {
            Guarded([&] {
                LookFrom(view);
                NewTr();
            });
        });
    }
    FrameGlow1 = Map1->addAction("Frame Glow");
    FrameGlow1->setShortcut(QKeySequence(Qt::Key_F));
    Handle(FrameGlow1, &TMe::FrameGlow1Click);
    Map1->addSeparator();
    ViewOptions.GlowColors = user_settings::Read(GlowColorsKey).toBool();
    GlowColors1 = Checkable(Map1, "Glow Colors", ViewOptions.GlowColors);
    Solid1 = Checkable(Map1, "Solid", ViewOptions.Solid);
    WholeModel1 = Checkable(Map1, "Whole Model", ViewOptions.WholeModel);
    Handle(GlowColors1, &TMe::GlowColors1Click);
    Handle(Solid1, &TMe::Solid1Click);
    Handle(WholeModel1, &TMe::WholeModel1Click);
}

void TMe::BuildPictureItems()
{
    ExportPicture1 = new QAction("Export Picture...", File1);
    File1->insertAction(N2, ExportPicture1);
    CopyPicture1 = Edit1->addAction("Copy Picture");
    // There is a picture once a model is shown.
    ExportPicture1->setEnabled(false);
    CopyPicture1->setEnabled(false);
    Handle(ExportPicture1, &TMe::ExportPicture1Click);
    Handle(CopyPicture1, &TMe::CopyPicture1Click);
}

void TMe::FrameGlow1Click()
{
    // Before a model is open the start values name no glow to ask for.
    const bool open = ViewReady && CurMesh >= 0 && CurMesh < TheModel.Meshes.Count();
    const TGlowIndex shown = open ? ShownGlowIndex() : TGlowIndex{};
    if (!shown) {
        ShowBriefly("No glow is being edited: step to one first");
        return;
    }
    FrameGlow(ShownValues(shown));
    NewTr();
}

void TMe::GlowColors1Click()
{
    ViewOptions.GlowColors = GlowColors1->isChecked();
    user_settings::Write(GlowColorsKey, ViewOptions.GlowColors);
    NewTr();
}

void TMe::Solid1Click()
{
    ViewOptions.Solid = Solid1->isChecked();
    NewTr();
}

void TMe::WholeModel1Click()
{
    ViewOptions.WholeModel = WholeModel1->isChecked();
    NewTr();
}

void TMe::ExportPicture1Click()
{
    const QImage picture = P1->grabFramebuffer();
    const QString start = ChosenFile.isEmpty() ? QDir::homePath() + "/view.png"
                                               : QFileInfo(ChosenFile).absolutePath() + '/' +
                                                     QFileInfo(ChosenFile).completeBaseName() + ".png";
    const QString target = QDir::toNativeSeparators(
        Dialogs().SaveFile(this, "Export Picture", "PNG Images (*.png)", QDir::toNativeSeparators(start)));
    if (target.isEmpty())
        return;
    // A picture never takes the place of what the user made: the working
    // copy (every edit would be lost), another working copy beside it, or
    // the model the copy was made from. A link is written through, as saving
    // through a link does, so where it leads is what counts.
    const std::string path = ThroughLinks(PathBytes(target));
    const std::string folder = FolderPart(path);
    if (SameFile(folder.empty() ? "." : folder, ProjectDir)) {
        ShowMsg("The picture cannot be exported into the working copies' folder " + ProjectDir);
        return;
    }
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

void TMe::CopyPicture1Click()
{
    QGuiApplication::clipboard()->setImage(P1->grabFramebuffer());
    ShowBriefly("Picture copied");
}
