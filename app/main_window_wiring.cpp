// What the main window's File and Display items do: the open flow's items,
// the exports (files_out.cpp), the selection mode, the camera's items (the
// camera control) and the Display options.

#include <QAction>
#include <QMenu>
#include <utility>

#include "camera_control.h"
#include "error_display.h"
#include "files_out.h"
#include "glow_panel.h"
#include "main_window.h"
#include "open_document.h"
#include "user_settings.h"
#include "view_panel.h"

void TMainWindow::ConnectFileItems()
{
    connect(WindowItems.OpenAction, &QAction::triggered, this, [this] { Guarded([&] { ChooseAndOpen(); }); });
    FillRecentFiles();
    // Each export says in the status bar what it did, nothing when it did
    // nothing. The picture is the view's as it was shown when asked for.
    const auto says = [this](QAction* item, const auto& act) {
        connect(item, &QAction::triggered, this, [this, act] {
            Guarded([&] {
                if (const QString said = act(); !said.isEmpty())
                    ShowBriefly(said);
            });
        });
    };
    says(WindowItems.ExportCopyAction, [this] { return files_out::ExportWorkingCopy(this, Document, ChosenFile); });
    says(WindowItems.ExportPictureAction, [this] {
        return files_out::ExportPicture(this, Document, ChosenFile, ViewPanel->grabFramebuffer());
    });
    says(WindowItems.CopyPictureAction, [this] { return files_out::CopyPicture(ViewPanel->grabFramebuffer()); });
    connect(WindowItems.ShowCopyAction, &QAction::triggered, this,
            [this] { Guarded([&] { files_out::ShowWorkingCopy(Document); }); });
    connect(WindowItems.ExitAction, &QAction::triggered, this, &QWidget::close);
}

void TMainWindow::ConnectDisplayItems()
{
    // Mesh and Face choose what a click and N and P select.
    for (const auto& [item, mode] :
         {std::pair{WindowItems.MeshModeAction, MeshMode}, std::pair{WindowItems.FaceModeAction, FaceMode}})
        connect(item, &QAction::triggered, this, [this, mode] {
            Guarded([&] {
                Document.Selection.SetMode(mode, Document.Model);
                WindowItems.MeshModeAction->setChecked(mode == MeshMode);
                WindowItems.FaceModeAction->setChecked(mode == FaceMode);
                // Back to meshes the packed face may name no mesh: the panel
                // follows.
                if (Panel)
                    Panel->FollowCurMesh();
                Redraw();
                // The glows selected may have gone with the mesh.
                ShowSelectedCount();
            });
        });
    connect(WindowItems.ResetViewAction, &QAction::triggered, Cameras, &TCameraControl::Reset);
    for (int v = 0; v < 6; ++v)
        connect(WindowItems.AxisViewActions[v], &QAction::triggered, Cameras,
                [this, view = TAxisView(v)] { Cameras->LookFrom(view); });
    // Frame Glow reads the glow's values, which throws where a list names
    // nothing; the camera's own moves cannot fail.
    connect(WindowItems.FrameGlowAction, &QAction::triggered, this, [this] { Guarded([&] { Cameras->FrameGlow(); }); });
    // Glow Colors, Solid and Whole Model follow their check marks; Glow
    // Colors is remembered between starts.
    const std::pair<QAction*, bool TViewOptions::*> options[] = {{WindowItems.GlowColorsAction, &TViewOptions::GlowColors},
                                                                 {WindowItems.SolidAction, &TViewOptions::Solid},
                                                                 {WindowItems.WholeModelAction, &TViewOptions::WholeModel}};
    for (const auto& [item, option] : options)
        connect(item, &QAction::triggered, this, [this, option](bool on) {
            Guarded([&] {
                State.Options.*option = on;
                if (option == &TViewOptions::GlowColors)
                    user_settings::Write(user_settings::GlowColorsKey, on);
                ViewMoved();
            });
        });
}
