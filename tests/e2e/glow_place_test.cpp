// Placing a glow with the mouse: a click on a glow's centre picks it, a drag
// of the glow being edited moves its centre and writes its twelve bytes when
// the button is let go; Escape, a right click and a mere click write nothing;
// an axis lock keeps the other coordinates' bits, Ctrl and Shift snap; a size
// handle changes one component of the main vector.

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <bit>
#include <cmath>
#include <iterator>

#include "glow_panel.h"
#include "view_panel.h"
#include "main_window.h"
#include "app_fixture.h"
#include "open_document.h"
#include "byte_order.h"
#include "conversions.h"
#include "face_centre.h"
#include "glow_preview.h"
#include "user_support.h"
#include "view_projection.h"

using namespace optbuild;

namespace {

GlowRecord GlowAt(float x, float y, float z, int n)
{
    GlowRecord g = NumberedGlow(n);
    g.Center = {x, y, z};
    return g;
}

// Coordinates span -30..30, so the view spans -40..40. Mesh 0's glow 1 and
// mesh 1's glow lie on one line of sight at rest, at z -20 and 20.
const TVertex OddVertex{13.37f, -7.3f, 12.7f};
const TVertex NearVertex{-12.5f, 3.3f, 6.1f};  // near glow 0 of mesh 0, in no face
std::vector<TUserMesh> Craft()
{
    return {
        {{{-30, -30, 0}, {30, -30, 0}, {30, 30, 0}, {-30, 30, 0}, {20, -10, 0}, {20, -5, 0}, OddVertex, NearVertex},
         {Quad(0, 1, 2, 3), Tri(4, 5, 6)},
         {GlowAt(-10, 10, 5, 0), GlowAt(10, 10, -20, 1)}},
        {{{0, -25, 0}, {5, -25, 0}, {0, -20, 0}}, {Tri(0, 1, 2)}, {GlowAt(10, 10, 20, 2)}},
    };
}

// The logical pixel of P1 over a model point as the camera shows it now.
QPoint Shown(const TFloat3& p)
{
    const TViewPoint at = MainWindow()->View()->Projection(MainWindow()->ViewState().Camera).Project(p);
    const double ratio = MainWindow()->View()->devicePixelRatioF();
    return {int(std::lround(at.X / ratio)), int(std::lround(at.Y / ratio))};
}

TFloat3 CentreIn(const std::vector<uint8_t>& bytes, int32_t block)
{
    const uint8_t* c = bytes.data() + block + 24;
    return {GetFloat32LE(c), GetFloat32LE(c + 4), GetFloat32LE(c + 8)};
}

bool SameBits(float a, float b)
{
    return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

}  // namespace

class TGlowPlaceTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        MakeFresh(App);
        QVERIFY(App->StartWithSampleColors());
        DecimalSeparator = '.';
        Model = WriteUserModel(App->Folder.File("craft.opt"), Craft());
        QVERIFY(OpenThroughMenu(App->Dialogs, App->Folder.File("craft.opt")));
        Copy = App->ProjectFolder() + "craft.opt";
        QCOMPARE(MainWindow()->ViewState().Camera.ViewMax, 40);
        QCOMPARE(MainWindow()->ViewState().Camera.ViewMin, -40);
    }
    void cleanup()
    {
        QVERIFY(App->Dialogs.Messages.empty());
        App.reset();
    }

    void ClickOnAGlowPicksTheNearest()
    {
        QTest::mouseClick(GlowPanel()->AllGlowsButton, Qt::LeftButton);  // every glow drawn
        ClickView(-10, 10);
        QCOMPARE(Document().Selection.CurMesh, 0);
        QCOMPARE(Document().Selection.EditGlow, 0);
        QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(2, 0));
        QCOMPARE(GlowPanel()->EditingLabel->text(), QString("Editing Glow 0"));
        QCOMPARE(GlowPanel()->PointLine->text(), QString("Point = -10.00 ,10.00 , 5.00 "));

        // Two glows under the pointer: the nearer wins, whichever is drawn
        // first; turned half round, the other one is the nearer.
        ClickView(10, 10);
        QCOMPARE(Document().Selection.CurMesh, 0);
        QCOMPARE(Document().Selection.EditGlow, 1);
        QCOMPARE(GlowPanel()->PointLine->text(), QString("Point = 10.00 ,10.00 ,-20.00 "));
        MainWindow()->ViewState().Camera.RotY = 180;
        MainWindow()->Redraw();
        // But the glow being edited wins over any other.
        ClickView(-10, 10);
        QCOMPARE(Document().Selection.CurMesh, 0);
        QCOMPARE(Document().Selection.EditGlow, 1);
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);  // glow 0 of mesh 0
        ClickView(-10, 10);
        QCOMPARE(Document().Selection.CurMesh, 1);
        QCOMPARE(Document().Selection.EditGlow, 0);
        QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(1, 1));
        QCOMPARE(ReadBytes(Copy), Model.Bytes);
    }

    void DragWritesTheCentreAloneAndUndoPutsItBack()
    {
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);  // glow 0 of mesh 0
        // Turned a quarter round and zoomed: the screen's x is the model's z
        // and its y the model's y, each unit twice as wide.
        MainWindow()->ViewState().Camera.RotY = 90;
        MainWindow()->ViewState().Camera.Zoom = 2;
        MainWindow()->Redraw();
        const QPoint from = ViewPoint(2 * 5, 2 * 10);
        const int away = QApplication::startDragDistance() + 30;
        const QPoint to = from + QPoint(away, -away / 2);
        QTest::mousePress(MainWindow()->View(), Qt::LeftButton, {}, from);
        QTest::mouseMove(MainWindow()->View(), from + (to - from) / 3);
        const int frames = MainWindow()->View()->FramesShown();
        QTest::mouseMove(MainWindow()->View(), to);
        QCOMPARE(MainWindow()->View()->FramesShown(), frames + 1);  // one step, one frame
        QCOMPARE(ReadBytes(Copy), Model.Bytes);  // nothing written while dragging
        const QString point = GlowPanel()->PointLine->text();
        const QString status = MainWindow()->Items().MessageLabel->text();
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, {}, to);

        const std::vector<uint8_t> written = ReadBytes(Copy);
        const int32_t block = Model.GlowPos[0][0];
        QCOMPARE(written.size(), Model.Bytes.size());
        for (size_t i = 0; i < written.size(); ++i)
            if (written[i] != Model.Bytes[i])
                QVERIFY2(i >= size_t(block + 24) && i < size_t(block + 36), qPrintable(QString("byte %1").arg(i)));
        const TFloat3 c = CentreIn(written, block);
        const double ratio = MainWindow()->View()->devicePixelRatioF();
        const double span = MainWindow()->ViewState().Camera.ViewMax - MainWindow()->ViewState().Camera.ViewMin;
        const double right = (to - from).x() * ratio * span / MainWindow()->View()->DeviceSize().width() / MainWindow()->ViewState().Camera.Zoom;
        const double up = -(to - from).y() * ratio * span / MainWindow()->View()->DeviceSize().height() / MainWindow()->ViewState().Camera.Zoom;
        QVERIFY(SameBits(c.X, -10));
        QVERIFY2(std::fabs(c.Y - (10 + up)) < 1e-4, qPrintable(QString::number(c.Y)));
        QVERIFY2(std::fabs(c.Z - (5 + right)) < 1e-4, qPrintable(QString::number(c.Z)));
        // The panel and the status bar followed the centre.
        QCOMPARE(point, QString::fromStdString(FormatFloats("Point = %5.2f ,%5.2f ,%5.2f ", {c.X, c.Y, c.Z})));
        QCOMPARE(status, QString::fromStdString(FormatFloats("Center %.2f, %.2f, %.2f", {c.X, c.Y, c.Z})));
        QCOMPARE(MainWindow()->Items().UndoAction->text(), QString("Undo Center of glow 0 in mesh 0"));
        QCOMPARE(Document().History.Stack().count(), 1);

        // Undo waits for the gesture from the press on: Ctrl+Z while the glow
        // is held takes nothing back, and the drag that follows is a step of
        // its own.
        QTest::mousePress(MainWindow()->View(), Qt::LeftButton, {}, to);
        CHECKED(PressOn(MainWindow(), Qt::Key_Z, Qt::ControlModifier));
        QCOMPARE(ReadBytes(Copy), written);
        QTest::mouseMove(MainWindow()->View(), to + QPoint(away, 0));
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, {}, to + QPoint(away, 0));
        QCOMPARE(Document().History.Stack().count(), 2);
        CHECKED(PressOn(MainWindow(), Qt::Key_Z, Qt::ControlModifier));
        QCOMPARE(ReadBytes(Copy), written);

        CHECKED(PressOn(MainWindow(), Qt::Key_Z, Qt::ControlModifier));
        QCOMPARE(ReadBytes(Copy), Model.Bytes);
        QCOMPARE(GlowPanel()->PointLine->text(), QString("Point = -10.00 ,10.00 , 5.00 "));
    }

    void EscapeRightClickAndAClickWriteNothing()
    {
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);
        const QString stored = GlowPanel()->PointLine->text();
        const QPoint from = ViewPoint(-10, 10);
        const QPoint away(QApplication::startDragDistance() + 20, 0);
        const auto dragged = [&] {
            QTest::mousePress(MainWindow()->View(), Qt::LeftButton, {}, from);
            QTest::mouseMove(MainWindow()->View(), from + away);
            QVERIFY(GlowPanel()->PointLine->text() != stored);
        };

        CHECKED(dragged());
        CHECKED(PressOn(MainWindow(), Qt::Key_Escape, {}));
        QCOMPARE(GlowPanel()->PointLine->text(), stored);
        QVERIFY(MainWindow()->Items().MessageLabel->text().isEmpty());
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, {}, from + away);

        CHECKED(dragged());
        QTest::mousePress(MainWindow()->View(), Qt::RightButton, {}, from + away);
        QCOMPARE(GlowPanel()->PointLine->text(), stored);
        QTest::mouseRelease(MainWindow()->View(), Qt::RightButton, {}, from + away);
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, {}, from + away);

        // Under the drag distance a press and release is a click.
        QTest::mousePress(MainWindow()->View(), Qt::LeftButton, {}, from);
        QTest::mouseMove(MainWindow()->View(), from + QPoint(QApplication::startDragDistance() - 1, 0));
        QCOMPARE(GlowPanel()->PointLine->text(), stored);
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, {}, from + QPoint(QApplication::startDragDistance() - 1, 0));

        QCOMPARE(ReadBytes(Copy), Model.Bytes);
        QCOMPARE(Document().History.Stack().count(), 0);
        QCOMPARE(Document().Selection.EditGlow, 0);
        QCOMPARE(Document().Model.Meshes.Get(0).Glows.Get(0).Center.X, -10.0f);
    }

    // An open edit dialog previews another centre: the drag takes the glow
    // from where it is shown, and a drag put back shows the preview again.
    void DragStartsWhereAPreviewShowsTheGlow()
    {
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);
        TEngineGlow previewed = Document().Model.Meshes.Get(0).Glows.Get(0);
        previewed.Center.X = 0;
        Document().Preview = {{0, 0}, previewed};
        const QPoint from = Shown(previewed.Center);
        const QPoint to = from + QPoint(QApplication::startDragDistance() + 20, 0);
        QTest::mousePress(MainWindow()->View(), Qt::LeftButton, {}, from);
        QTest::mouseMove(MainWindow()->View(), to);
        CHECKED(PressOn(MainWindow(), Qt::Key_Escape, {}));
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, {}, to);
        QCOMPARE(Document().ShownValues({0, 0}).Center.X, 0.0f);

        QTest::mousePress(MainWindow()->View(), Qt::LeftButton, {}, from);
        QTest::mouseMove(MainWindow()->View(), to);
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, {}, to);
        Document().Preview = {};
        const QPoint landed = Shown(CentreIn(ReadBytes(Copy), Model.GlowPos[0][0]));
        QVERIFY2((landed - to).manhattanLength() <= 2, qPrintable(QString("landed %1,%2").arg(landed.x()).arg(landed.y())));
    }

    void LockedToAnAxisOrSnappedTheCentreKeepsExactBits()
    {
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);
        // Seen at a slant, a free drag would change every coordinate.
        MainWindow()->ViewState().Camera.RotX = 30;
        MainWindow()->ViewState().Camera.RotY = 40;
        MainWindow()->Redraw();
        const TFloat3 start{-10, 10, 5};
        const QPoint from = Shown(start);
        const int away = QApplication::startDragDistance() + 30;
        QTest::mousePress(MainWindow()->View(), Qt::LeftButton, {}, from);
        QTest::mouseMove(MainWindow()->View(), from + QPoint(away, away));
        CHECKED(PressOn(MainWindow(), Qt::Key_Z, {}));
        QVERIFY(MainWindow()->Items().MessageLabel->text().endsWith("locked to Z"));
        QTest::mouseMove(MainWindow()->View(), from + QPoint(away, 2 * away));
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, {}, from + QPoint(away, 2 * away));
        const int32_t block = Model.GlowPos[0][0];
        const TFloat3 locked = CentreIn(ReadBytes(Copy), block);
        QVERIFY(SameBits(locked.X, start.X) && SameBits(locked.Y, start.Y));
        QVERIFY(!SameBits(locked.Z, start.Z));

        // Shift: onto the middle of the face's box, as Center puts it; Ctrl:
        // onto the vertex, bit for bit.
        const TOMesh& mesh = Document().Model.Meshes.Get(0);
        const TFloat3 faceCentre = FaceBoxCentre(mesh, mesh.Faces[0].Get(1));
        const TFloat3 odd{OddVertex.X, OddVertex.Y, OddVertex.Z};
        QTest::mousePress(MainWindow()->View(), Qt::LeftButton, {}, Shown(locked));
        QTest::mouseMove(MainWindow()->View(), Shown(locked) + QPoint(away, 0));
        QTest::mouseEvent(QTest::MouseMove, MainWindow()->View(), Qt::NoButton, Qt::ShiftModifier, Shown(faceCentre));
        const TFloat3 onFace = Document().Preview.Values.Center;
        QVERIFY(SameBits(onFace.X, faceCentre.X) && SameBits(onFace.Y, faceCentre.Y) &&
                SameBits(onFace.Z, faceCentre.Z));
        QTest::mouseEvent(QTest::MouseMove, MainWindow()->View(), Qt::NoButton, Qt::ControlModifier, Shown(odd));
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, Qt::ControlModifier, Shown(odd));
        const TFloat3 snapped = CentreIn(ReadBytes(Copy), block);
        QVERIFY(SameBits(snapped.X, odd.X) && SameBits(snapped.Y, odd.Y) && SameBits(snapped.Z, odd.Z));
        QCOMPARE(Document().History.Stack().count(), 2);
    }

    // The y handle sits at the cone's apex, the centre + y/2. Dragged across
    // a slanted view, the end follows the pointer's move as far as it goes
    // along the y axis on screen, and only the main vector's y changes, by
    // twice the end's move; with Ctrl the end lands on a vertex's y.
    void ASizeHandleChangesOneComponentOfTheVector()
    {
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);  // glow 0 of mesh 0
        // Turned about the glow and zoomed in, so that the handle lies clear
        // of the centre.
        CHECKED(PressOn(MainWindow(), Qt::Key_F));
        MainWindow()->ViewState().Camera.RotX = 30;
        MainWindow()->ViewState().Camera.RotY = 40;
        MainWindow()->ViewState().Camera.Zoom = 4;
        MainWindow()->Redraw();
        const TFloat3 c{-10, 10, 5};
        const float y = NumberedGlow(0).MainVec.Y;
        const QPoint from = Shown({c.X, c.Y + y / 2, c.Z});
        const QPoint to = from + QPoint(QApplication::startDragDistance() + 30, 25);
        QTest::mousePress(MainWindow()->View(), Qt::LeftButton, {}, from);
        QTest::mouseMove(MainWindow()->View(), from + (to - from) / 2);
        QTest::mouseMove(MainWindow()->View(), to);
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, {}, to);

        const int32_t block = Model.GlowPos[0][0];
        const std::vector<uint8_t> written = ReadBytes(Copy);
        QCOMPARE(written.size(), Model.Bytes.size());
        for (size_t i = 0; i < written.size(); ++i)
            if (written[i] != Model.Bytes[i])
                QVERIFY2(i >= size_t(block + 16) && i < size_t(block + 20), qPrintable(QString("byte %1").arg(i)));
        // The end's move: the pointer's, laid onto the y axis as the screen
        // shows it.
        const auto axis = MainWindow()->View()->Projection(MainWindow()->ViewState().Camera).AxisImage(1);
        const QPointF moved = QPointF(to - from) * MainWindow()->View()->devicePixelRatioF();
        const double along = (moved.x() * axis[0] + moved.y() * axis[1]) / (axis[0] * axis[0] + axis[1] * axis[1]);
        const float sized = GetFloat32LE(&written[size_t(block + 16)]);
        QVERIFY2(std::fabs(sized - (y + 2 * along)) < 1e-4 && std::fabs(along) > 0.1,
                 qPrintable(QString("%1 for %2").arg(sized).arg(along)));
        QCOMPARE(MainWindow()->Items().UndoAction->text(), QString("Undo Main vector of glow 0 in mesh 0"));

        const TFloat3 onto{NearVertex.X, NearVertex.Y, NearVertex.Z};
        const QPoint end = Shown({c.X, c.Y + sized / 2, c.Z});
        QTest::mousePress(MainWindow()->View(), Qt::LeftButton, {}, end);
        QTest::mouseMove(MainWindow()->View(), end + QPoint(QApplication::startDragDistance() + 20, 0));
        QTest::mouseEvent(QTest::MouseMove, MainWindow()->View(), Qt::NoButton, Qt::ControlModifier, Shown(onto));
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, Qt::ControlModifier, Shown(onto));
        const std::vector<uint8_t> snapped = ReadBytes(Copy);
        QVERIFY(SameBits(GetFloat32LE(&snapped[size_t(block + 16)]), float(2 * (double(onto.Y) - c.Y))));
        QVERIFY(std::equal(snapped.begin(), snapped.begin() + block + 16, written.begin()));
        QVERIFY(std::equal(snapped.begin() + block + 20, snapped.end(), written.begin() + block + 20));
        QCOMPARE(Document().History.Stack().count(), 2);
    }

    // A glow held under a lock follows a turn of the view at once, in one
    // frame: what the panel shows is what the release writes there.
    void AHeldGlowFollowsATurnedView()
    {
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);
        MainWindow()->ViewState().Camera.RotX = 30;
        MainWindow()->ViewState().Camera.RotY = 40;
        MainWindow()->Redraw();
        const QPoint to = Shown({-10, 10, 5}) + QPoint(QApplication::startDragDistance() + 30, 20);
        QTest::mousePress(MainWindow()->View(), Qt::LeftButton, {}, Shown({-10, 10, 5}));
        QTest::mouseMove(MainWindow()->View(), to);
        CHECKED(PressOn(MainWindow(), Qt::Key_Z, {}));
        const float before = Document().Preview.Values.Center.Z;
        const int frames = MainWindow()->View()->FramesShown();
        CHECKED(PressOn(MainWindow(), Qt::Key_Left, {}));
        QCOMPARE(MainWindow()->View()->FramesShown(), frames + 1);
        const QString point = GlowPanel()->PointLine->text();
        QVERIFY(!SameBits(Document().Preview.Values.Center.Z, before));
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, {}, to);
        QCOMPARE(GlowPanel()->PointLine->text(), point);
    }

    // A press on a glow that is not being edited picks it and drags it in
    // the same gesture.
    void APressDragsAnyGlowAtOnce()
    {
        QTest::mouseClick(GlowPanel()->AllGlowsButton, Qt::LeftButton);
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);  // glow 0 of mesh 0
        const QPoint from = ViewPoint(10, 10);  // glow 1 of mesh 0, in front of mesh 1's
        const QPoint to = from + QPoint(QApplication::startDragDistance() + 20, 0);
        QTest::mousePress(MainWindow()->View(), Qt::LeftButton, {}, from);
        QTest::mouseMove(MainWindow()->View(), to);
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, {}, to);
        QCOMPARE(Document().Selection.CurMesh, 0);
        QCOMPARE(Document().Selection.EditGlow, 1);
        const std::vector<uint8_t> written = ReadBytes(Copy);
        const int32_t block = Model.GlowPos[0][1];
        for (size_t i = 0; i < written.size(); ++i)
            if (written[i] != Model.Bytes[i])
                QVERIFY2(i >= size_t(block + 24) && i < size_t(block + 28), qPrintable(QString("byte %1").arg(i)));
        QVERIFY(CentreIn(written, block).X > 10);
        QCOMPARE(Document().History.Stack().count(), 1);
    }

    // With Solid on, the snaps take only vertices and face centres that are
    // seen: the triangle's far corner and its centre lie behind the square.
    void SnapsTakeOnlyWhatIsSeen()
    {
        QVERIFY(ChooseMenu(MainWindow()->Items().DisplayMenu, MainWindow()->Items().SolidAction));
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);
        const TOMesh& mesh = Document().Model.Meshes.Get(0);
        const QPoint from = Shown({-10, 10, 5});
        QTest::mousePress(MainWindow()->View(), Qt::LeftButton, {}, from);
        QTest::mouseMove(MainWindow()->View(), from + QPoint(QApplication::startDragDistance() + 20, 0));
        QTest::mouseEvent(QTest::MouseMove, MainWindow()->View(), Qt::NoButton, Qt::ControlModifier,
                          Shown({OddVertex.X, OddVertex.Y, OddVertex.Z}));
        const TFloat3 onVertex = Document().Preview.Values.Center;
        QVERIFY(SameBits(onVertex.X, 20) && SameBits(onVertex.Y, -5) && SameBits(onVertex.Z, 0));
        QVERIFY(MainWindow()->Items().MessageLabel->text().endsWith("on vertex 5"));
        QTest::mouseEvent(QTest::MouseMove, MainWindow()->View(), Qt::NoButton, Qt::ShiftModifier,
                          Shown(FaceBoxCentre(mesh, mesh.Faces[0].Get(1))));
        const TFloat3 onFace = Document().Preview.Values.Center;
        QVERIFY(SameBits(onFace.X, 0) && SameBits(onFace.Y, 0) && SameBits(onFace.Z, 0));
        QVERIFY(MainWindow()->Items().MessageLabel->text().endsWith("on the centre of face 0"));
        CHECKED(PressOn(MainWindow(), Qt::Key_Escape, {}));
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, {}, from);
        QCOMPARE(ReadBytes(Copy), Model.Bytes);
    }

    // The nudge keys move the centre a step at a time, each press written at
    // once; a run on the same glows is one step of the history; under a lock
    // only that coordinate moves.
    void NudgesAreWrittenAndOneUndoTakesTheRunBack()
    {
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);  // glow 0 of mesh 0
        const int32_t block = Model.GlowPos[0][0];
        // At rest the screen's right is the model's x: the view spans 80
        // units, the first step is 0.5.
        for (int i = 0; i < 3; ++i)
            CHECKED(PressOn(MainWindow(), Qt::Key_L));
        QCOMPARE(MainWindow()->Items().MessageLabel->text(), QString("Center -8.50, 10.00, 5.00   along X   step 0.5"));
        std::vector<uint8_t> expected = Model.Bytes;
        PutFloat32LE(&expected[size_t(block + 24)], -8.5f);
        QCOMPARE(ReadBytes(Copy), expected);
        QCOMPARE(Document().History.Stack().count(), 1);
        QCOMPARE(MainWindow()->Items().UndoAction->text(), QString("Undo Center of glow 0 in mesh 0"));

        // A coarser step, away from the viewer: the model's z.
        CHECKED(PressOn(MainWindow(), Qt::Key_BracketRight));
        CHECKED(PressOn(MainWindow(), Qt::Key_U));
        QCOMPARE(CentreIn(ReadBytes(Copy), block).Z, 6.0f);
        // Seen at a slant, up locked to y moves y alone; right has no way
        // along y there, and moves nothing.
        MainWindow()->ViewState().Camera.RotX = 30;
        MainWindow()->ViewState().Camera.RotY = 40;
        MainWindow()->Redraw();
        CHECKED(PressOn(MainWindow(), Qt::Key_Y));
        QCOMPARE(MainWindow()->Items().MessageLabel->text(), QString("Nudge step 1   locked to Y"));
        CHECKED(PressOn(MainWindow(), Qt::Key_I));
        CHECKED(PressOn(MainWindow(), Qt::Key_L));
        const TFloat3 locked = CentreIn(ReadBytes(Copy), block);
        QVERIFY(SameBits(locked.X, -8.5f) && SameBits(locked.Y, 11) && SameBits(locked.Z, 6));
        QCOMPARE(Document().History.Stack().count(), 1);

        CHECKED(PressOn(MainWindow(), Qt::Key_Z, Qt::ControlModifier));
        QCOMPARE(ReadBytes(Copy), Model.Bytes);
        // Another glow's nudge is a step of its own.
        CHECKED(PressOn(MainWindow(), Qt::Key_Y));
        QCOMPARE(MainWindow()->Items().MessageLabel->text(), QString("Nudge step 1"));
        CHECKED(PressOn(MainWindow(), Qt::Key_J));
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);
        CHECKED(PressOn(MainWindow(), Qt::Key_J));
        QCOMPARE(Document().History.Stack().count(), 2);
    }

    // In a turned view a nudge moves along the model axis that lies nearest
    // to the key's direction on the screen, by exactly one step: seen from
    // the left and turned a little further, the screen's right is no longer
    // the model's x.
    void ANudgeInATurnedViewMovesOneCoordinateByOneStep()
    {
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);  // glow 0 of mesh 0
        const int32_t block = Model.GlowPos[0][0];
        CHECKED(PressOn(MainWindow(), Qt::Key_3, Qt::ControlModifier));
        CHECKED(PressOn(MainWindow(), Qt::Key_Left));
        CHECKED(PressOn(MainWindow(), Qt::Key_L));
        const TFloat3 from = CentreIn(Model.Bytes, block), to = CentreIn(ReadBytes(Copy), block);
        const float moved[] = {to.X - from.X, to.Y - from.Y, to.Z - from.Z};
        QCOMPARE(std::count_if(std::begin(moved), std::end(moved), [](float d) { return d != 0; }), 1);
        QCOMPARE(moved[0], 0.0f);  // x lies along the line of sight
        QCOMPARE(std::fabs(moved[1] + moved[2]), 0.5f);
        const QString said = MainWindow()->Items().MessageLabel->text();
        QVERIFY2(said.contains(moved[1] != 0 ? "along Y" : "along Z"), qPrintable(said));
    }

    // Frame Glow makes the glow the point the view turns about: the named
    // views, the keys and the mouse keep it in the middle, and the zoom as
    // it was set. A glow with no finite centre leaves the view; Reset View
    // turns about the model's origin again.
    void FrameGlowTurnsTheViewAboutTheGlow()
    {
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);
        const TCamera& camera = MainWindow()->ViewState().Camera;
        const auto inTheMiddle = [&](const char* after) {
            const TViewPoint at = MainWindow()->View()->Projection(camera).Project(TFloat3{-10, 10, 5});
            const QSize size = MainWindow()->View()->DeviceSize();
            QVERIFY2(std::fabs(at.X - size.width() / 2.0) <= 1 && std::fabs(at.Y - size.height() / 2.0) <= 1,
                     qPrintable(QString("%1: %2, %3").arg(after).arg(at.X).arg(at.Y)));
            const QColor shown = MainWindow()->View()->grabFramebuffer().pixelColor(int(at.X), int(at.Y));
            QVERIFY2(shown != QColor(Qt::black), after);
        };
        CHECKED(PressOn(MainWindow(), Qt::Key_F));
        const double zoom = camera.Zoom;
        CHECKED(inTheMiddle("F"));
        CHECKED(PressOn(MainWindow(), Qt::Key_4, Qt::ControlModifier));
        QCOMPARE(camera.RotX, -90);
        CHECKED(inTheMiddle("Ctrl+4"));
        CHECKED(PressOn(MainWindow(), Qt::Key_Right));
        CHECKED(PressOn(MainWindow(), Qt::Key_PageUp));
        CHECKED(inTheMiddle("Right, Page Up"));
        const QPoint middle = MainWindow()->View()->rect().center();
        QTest::mousePress(MainWindow()->View(), Qt::RightButton, {}, middle);
        QTest::mouseMove(MainWindow()->View(), middle + QPoint(30, 20));
        QTest::mouseRelease(MainWindow()->View(), Qt::RightButton, {}, middle + QPoint(30, 20));
        CHECKED(inTheMiddle("a right drag"));
        QCOMPARE(camera.Zoom, zoom);

        Document().Model.Meshes.Get(0).Glows.Get(1).Center.Y = NAN;  // in memory only
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);
        const TCamera before = camera;
        CHECKED(PressOn(MainWindow(), Qt::Key_F));
        QCOMPARE(MainWindow()->Items().MessageLabel->text(),
                 QString("The glow's centre or main vector is not a finite number: the view stays as it was"));
        QVERIFY(camera.Pivot == before.Pivot && camera.Zoom == before.Zoom && camera.RotY == before.RotY &&
                camera.PanX == before.PanX);

        CHECKED(PressOn(MainWindow(), Qt::Key_0, Qt::ControlModifier));
        QVERIFY(camera.Pivot == (std::array<double, 3>{}) && camera.PanX == 0 && camera.Zoom == 1.0);
        QVERIFY(ViewShows(30, 0, ColSelected));  // the square's right edge, at rest
    }

private:
    std::unique_ptr<TAppFixture> App;
    TUserModel Model;
    std::string Copy;
};

int RunGlowPlaceTests(int argc, char** argv)
{
    TGlowPlaceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "glow_place_test.moc"
