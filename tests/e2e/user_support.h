#pragma once
// What a user does with the program's windows (menu choices, mouse clicks on
// the view and on lists), and small models made by the OPT builder for it.

#include <QPoint>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "model.h"
#include "opt_builder.h"
#include "view_colors.h"

class QAction;
class QMenu;
class QWidget;
class TClickList;
class TScriptedDialogs;

struct TUserMesh {
    std::vector<TVertex> Vertices;
    std::vector<optbuild::FaceRecord> Faces;
    std::vector<optbuild::GlowRecord> Glows;
};

// A file written by WriteUserModel and where its glow blocks lie.
struct TUserModel {
    std::vector<uint8_t> Bytes;
    std::vector<std::vector<int32_t>> GlowPos;  // per mesh, per glow: file position of the block
};

// Writes one top-level mesh per entry (vertices, one LOD of faces, glows).
TUserModel WriteUserModel(const std::string& path, const std::vector<TUserMesh>& meshes);

// A glow whose fields differ from glow to glow; every value is exact in 32
// bits, so a rewrite of unchanged fields gives the same bytes.
optbuild::GlowRecord NumberedGlow(int n);

// Opens the menu of the main window's menu bar and clicks the item, in the
// submenu `within` when given; true when the item was triggered.
bool ChooseMenu(QMenu* menu, QAction* item, QMenu* within = nullptr);
// File > Open Opt, the scripted open dialog answering path.
bool OpenThroughMenu(TScriptedDialogs& dialogs, const std::string& path);

// Pixel of P1 (logical, from its top-left corner) over the model point
// (x, y), for the camera at rest: the fitted projection maps ViewMin..ViewMax
// onto the viewport in both directions.
QPoint ViewPoint(float x, float y);
// A mouse click on P1 over the model point (x, y).
void ClickView(float x, float y, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {});
// Whether the view's last frame shows colour `entry` within two pixels of
// the model point (x, y).
bool ViewShows(float x, float y, TViewColor entry);
// A left click on the item in row `row` of the list, scrolled into sight first.
void ClickListItem(TClickList* list, int row);
// A key pressed as a user presses it on window: once window is the active
// window and has the keyboard (under a window manager a newly shown window
// may have taken it). Checks with QVERIFY: call it through CHECKED.
void PressOn(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = {});

// The glow panel's title for n glows in mesh `mesh`.
QString GlowTitle(int n, int mesh);

// Runs a helper that checks with QCOMPARE/QVERIFY; a failure inside it ends
// the calling test function as a failure in the test function itself would.
#define CHECKED(call)                        \
    do {                                     \
        call;                                \
        if (QTest::currentTestFailed())      \
            return;                          \
    } while (false)
