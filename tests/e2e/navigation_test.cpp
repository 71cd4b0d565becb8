// The view driven with the mouse: the wheel zooms, a right drag turns the
// model, a middle (or Shift and right) drag shifts it, and Display > Reset
// View puts the camera back; each checked in the picture.

#include <QMenu>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

#include "view_panel.h"
#include "main_window.h"
#include "app_fixture.h"
#include "open_document.h"
#include "user_support.h"

using namespace optbuild;

class TNavigationTest : public QObject {
    Q_OBJECT
private slots:
    void WheelDragsAndResetView()
    {
        TAppFixture app;
        QVERIFY(app.StartWithSampleColors());
        // A square from -20 to 20 in x and y: the view spans -26..26.
        WriteUserModel(app.Folder.File("square.opt"),
                       {{{{-20, -20, 0}, {20, -20, 0}, {20, 20, 0}, {-20, 20, 0}}, {Quad(0, 1, 2, 3)}, {NumberedGlow(0)}}});
        QVERIFY(OpenThroughMenu(app.Dialogs, app.Folder.File("square.opt")));
        QCOMPARE(MainWindow()->ViewState().Camera.ViewMax, 26);
        QVERIFY(ViewShows(20, 0, ColSelected));  // the right edge, the camera at rest
        const QPoint middle = ViewPoint(0, 0);

        // One notch away from the user: the square grows by the wheel's factor.
        Wheel(120);
        QCOMPARE(MainWindow()->ViewState().Camera.Zoom, 1.1);
        QVERIFY(ViewShows(22, 0, ColSelected));
        QVERIFY(!ViewShows(20, 0, ColSelected));
        // Half a notch back (a touchpad's step), then many: never through zero.
        Wheel(-60);
        QVERIFY(std::abs(MainWindow()->ViewState().Camera.Zoom - std::sqrt(1.1)) < 1e-12);
        for (int i = 0; i < 100; ++i)
            Wheel(-120);
        QVERIFY(MainWindow()->ViewState().Camera.Zoom > 0);

        // Display > Reset View.
        QVERIFY(ChooseMenu(MainWindow()->Items().DisplayMenu, MainWindow()->Items().ResetViewAction));
        QCOMPARE(MainWindow()->ViewState().Camera.Zoom, 1.0);
        QVERIFY(ViewShows(20, 0, ColSelected));

        // A slow drag with the right button, one pixel at a time: 120 pixels
        // to the right turn the model by 60 degrees about the vertical axis.
        QTest::mousePress(MainWindow()->View(), Qt::RightButton, {}, middle);
        for (int dx = 1; dx <= 120; ++dx)
            QTest::mouseMove(MainWindow()->View(), middle + QPoint(dx, 0));
        QTest::mouseRelease(MainWindow()->View(), Qt::RightButton, {}, middle + QPoint(120, 0));
        QCOMPARE(MainWindow()->ViewState().Camera.RotY, int(120 * DragDegreesPerPixel));
        QCOMPARE(MainWindow()->ViewState().Camera.RotX, 0);
        QVERIFY(ViewShows(20 * 0.5f, 0, ColSelected));  // cos 60 degrees
        QVERIFY(!ViewShows(20, 0, ColSelected));
        QCOMPARE(Document().Selection.SelectedId, 0);  // a right press does not pick

        // The key: Ctrl+0 on the main window.
        CHECKED(PressOn(MainWindow(), Qt::Key_0, Qt::ControlModifier));
        QCOMPARE(MainWindow()->ViewState().Camera.RotY, 0);
        QVERIFY(ViewShows(20, 0, ColSelected));

        // The middle button shifts the drawing with the pointer: right and
        // down by 10 units' worth of pixels.
        const QPoint by = ViewPoint(10, -10) - middle;
        QTest::mousePress(MainWindow()->View(), Qt::MiddleButton, {}, middle);
        QTest::mouseMove(MainWindow()->View(), middle + by);
        QTest::mouseRelease(MainWindow()->View(), Qt::MiddleButton, {}, middle + by);
        QVERIFY2(std::abs(MainWindow()->ViewState().Camera.PanX - 10) <= 1 && std::abs(MainWindow()->ViewState().Camera.PanY + 10) <= 1, qPrintable(QString("%1 %2").arg(MainWindow()->ViewState().Camera.PanX).arg(MainWindow()->ViewState().Camera.PanY)));
        QVERIFY(ViewShows(-20 + float(MainWindow()->ViewState().Camera.PanX), float(MainWindow()->ViewState().Camera.PanY), ColSelected));  // the left edge
        QVERIFY(!ViewShows(-20, 0, ColSelected));
        QVERIFY(MainWindow()->ViewState().Camera.RotX == 0 && MainWindow()->ViewState().Camera.RotY == 0 && MainWindow()->ViewState().Camera.Zoom == 1.0);
        // Shift and the right button shift it too.
        QTest::mousePress(MainWindow()->View(), Qt::RightButton, Qt::ShiftModifier, middle);
        QTest::mouseMove(MainWindow()->View(), middle - by);
        QTest::mouseRelease(MainWindow()->View(), Qt::RightButton, Qt::ShiftModifier, middle - by);
        QVERIFY(std::abs(MainWindow()->ViewState().Camera.PanX) <= 1 && std::abs(MainWindow()->ViewState().Camera.PanY) <= 1 && MainWindow()->ViewState().Camera.RotY == 0);
        QVERIFY(app.Dialogs.Messages.empty());
    }

private:
    // A wheel turn of angle (120ths of a notch) over the middle of the view.
    static void Wheel(int angle)
    {
        const QPointF at = ViewPoint(0, 0);
        QWheelEvent event(at, MainWindow()->View()->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(MainWindow()->View(), &event);
    }
};

int RunNavigationTests(int argc, char** argv)
{
    TNavigationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "navigation_test.moc"
