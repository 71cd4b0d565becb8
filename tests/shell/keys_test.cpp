// The key table, N/P stepping with the decoding that follows, and the view
// click's conditions.

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTextBrowser>
#include <QToolButton>
#include <algorithm>
#include <QTest>
#include <cmath>
#include <memory>
#include <optional>

#include "glow_panel.h"
#include "key_table.h"
#include "keys_window.h"
#include "view_panel.h"
#include "main_window.h"
#include "app_fixture.h"
#include "open_document.h"
#include "test_models.h"

namespace {

// The frames the view has shown: whether an action drew one.
int Frames()
{
    return MainWindow()->View()->FramesShown();
}

struct TCameraValues {
    int32_t RotX, RotY, RotZ, PanX, PanY;
    double Zoom;
    bool operator==(const TCameraValues&) const = default;
};

TCameraValues CameraNow()
{
    const TCamera& camera = MainWindow()->ViewState().Camera;
    return {camera.RotX, camera.RotY, camera.RotZ, camera.PanX, camera.PanY, camera.Zoom};
}

struct TCameraDelta {
    int32_t RotX, RotY, RotZ, PanX, PanY;
    double Zoom;
};

}  // namespace

Q_DECLARE_METATYPE(TCameraDelta)

class TKeyTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        MakeFresh(App);
        QVERIFY(App->StartWithSampleColors());
        const std::string model = App->Folder.File("ship.opt");
        // Mesh 0: 2 glows, 3 faces; mesh 1: no glows; mesh 2: a glow, no faces.
        WriteModel(model, {{2, 3}, {0, 2}, {1, 0}});
        App->Dialogs.OpenAnswers.push_back(QString::fromStdString(model));
        MainWindow()->Items().OpenAction->trigger();
        QVERIFY(MainWindow()->ViewState().Ready);
        QCOMPARE(Document().Selection.CurMesh, 0);
        MainWindow()->ViewState().Camera.ViewMax = 95;  // a pan step of 9
    }
    void cleanup()
    {
        QVERIFY(App->Dialogs.Messages.empty());
        App.reset();
    }

    void CameraKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<TCameraDelta>("delta");
        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
        const int keypad = Qt::KeypadModifier;
        // The keypad's arrows and page keys (NumLock off) act as the main ones.
        QTest::newRow("keypad left") << int(Qt::Key_Left) << keypad << TCameraDelta{0, -4, 0, 0, 0, 0};
        QTest::newRow("keypad page up") << int(Qt::Key_PageUp) << keypad << TCameraDelta{0, 0, 4, 0, 0, 0};
        QTest::newRow("keypad page down") << int(Qt::Key_PageDown) << keypad << TCameraDelta{0, 0, -4, 0, 0, 0};
        QTest::newRow("keypad shift up") << int(Qt::Key_Up) << (keypad | shift) << TCameraDelta{0, 0, 0, 0, 9, 0};
        QTest::newRow("left") << int(Qt::Key_Left) << 0 << TCameraDelta{0, -4, 0, 0, 0, 0};
        QTest::newRow("right") << int(Qt::Key_Right) << 0 << TCameraDelta{0, 4, 0, 0, 0, 0};
        QTest::newRow("up") << int(Qt::Key_Up) << 0 << TCameraDelta{-4, 0, 0, 0, 0, 0};
        QTest::newRow("down") << int(Qt::Key_Down) << 0 << TCameraDelta{4, 0, 0, 0, 0, 0};
        QTest::newRow("page up") << int(Qt::Key_PageUp) << 0 << TCameraDelta{0, 0, 4, 0, 0, 0};
        QTest::newRow("page down") << int(Qt::Key_PageDown) << 0 << TCameraDelta{0, 0, -4, 0, 0, 0};
        QTest::newRow("shift left") << int(Qt::Key_Left) << shift << TCameraDelta{0, 0, 0, -9, 0, 0};
        QTest::newRow("shift right") << int(Qt::Key_Right) << shift << TCameraDelta{0, 0, 0, 9, 0, 0};
        QTest::newRow("shift up") << int(Qt::Key_Up) << shift << TCameraDelta{0, 0, 0, 0, 9, 0};
        QTest::newRow("shift down") << int(Qt::Key_Down) << shift << TCameraDelta{0, 0, 0, 0, -9, 0};
        QTest::newRow("ctrl left") << int(Qt::Key_Left) << ctrl << TCameraDelta{0, -4, 0, 0, 0, 0};
        QTest::newRow("shift ctrl left") << int(Qt::Key_Left) << (shift | ctrl) << TCameraDelta{0, -4, 0, 0, 0, 0};
        QTest::newRow("shift alt up") << int(Qt::Key_Up) << (shift | alt) << TCameraDelta{-4, 0, 0, 0, 0, 0};
        QTest::newRow("ctrl page up") << int(Qt::Key_PageUp) << ctrl << TCameraDelta{0, 0, 4, 0, 0, 0};
        QTest::newRow("=") << int(Qt::Key_Equal) << 0 << TCameraDelta{0, 0, 0, 0, 0, 0.05};
        QTest::newRow("+ unshifted") << int(Qt::Key_Plus) << 0 << TCameraDelta{0, 0, 0, 0, 0, 0.05};
        QTest::newRow("ctrl shift +") << int(Qt::Key_Plus) << (shift | ctrl) << TCameraDelta{0, 0, 0, 0, 0, 0.05};
        QTest::newRow("-") << int(Qt::Key_Minus) << 0 << TCameraDelta{0, 0, 0, 0, 0, -0.05};
        QTest::newRow("ctrl -") << int(Qt::Key_Minus) << ctrl << TCameraDelta{0, 0, 0, 0, 0, -0.05};
        QTest::newRow("ctrl shift _") << int(Qt::Key_Underscore) << (shift | ctrl) << TCameraDelta{0, 0, 0, 0, 0, -0.05};
    }
    void CameraKeys()
    {
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(TCameraDelta, delta);
        const TCameraValues before = CameraNow();
        const int frames = Frames();
        Press(key, mods);
        const TCameraValues expected{before.RotX + delta.RotX, before.RotY + delta.RotY, before.RotZ + delta.RotZ,
                               before.PanX + delta.PanX, before.PanY + delta.PanY, before.Zoom + delta.Zoom};
        QVERIFY(CameraNow() == expected);
        QVERIFY(Frames() > frames);  // redrawn
    }

    void KeysThatDoNothing_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        const int shift = Qt::ShiftModifier, keypad = Qt::KeypadModifier;
        QTest::newRow("shift page up") << int(Qt::Key_PageUp) << shift;
        QTest::newRow("shift page down") << int(Qt::Key_PageDown) << shift;
        QTest::newRow("shift + (the = key)") << int(Qt::Key_Plus) << shift;
        QTest::newRow("shift _ (the - key)") << int(Qt::Key_Underscore) << shift;
        QTest::newRow("keypad +") << int(Qt::Key_Plus) << keypad;
        QTest::newRow("keypad -") << int(Qt::Key_Minus) << keypad;
        QTest::newRow("keypad =") << int(Qt::Key_Equal) << keypad;
        QTest::newRow("keypad home") << int(Qt::Key_Home) << keypad;
        QTest::newRow("keypad end") << int(Qt::Key_End) << keypad;
        QTest::newRow("shift n") << int(Qt::Key_N) << shift;
        QTest::newRow("shift p") << int(Qt::Key_P) << shift;
        QTest::newRow("a") << int(Qt::Key_A) << 0;
        QTest::newRow("home") << int(Qt::Key_Home) << 0;
    }
    void KeysThatDoNothing()
    {
        QFETCH(int, key);
        QFETCH(int, mods);
        const TCameraValues before = CameraNow();
        const int32_t selected = Document().Selection.SelectedId;
        const int frames = Frames();
        Press(key, mods);
        QVERIFY(CameraNow() == before);
        QCOMPARE(Document().Selection.SelectedId, selected);
        QCOMPARE(Frames(), frames);
    }

    // Through the window system the key reaches the focus widget and, if
    // ignored, its parents: the table must act once, focus widget or not.
    void KeyFromTheWindowSystemActsOnce()
    {
        QTest::keyClick(MainWindow()->windowHandle(), Qt::Key_Left);
        QCOMPARE(MainWindow()->ViewState().Camera.RotY, -4);
        MainWindow()->Items().GlowPanelArea->setFocusPolicy(Qt::StrongFocus);
        MainWindow()->Items().GlowPanelArea->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), MainWindow()->Items().GlowPanelArea);
        QTest::keyClick(MainWindow()->windowHandle(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(MainWindow()->ViewState().Camera.RotY, -4);
        QCOMPARE(MainWindow()->ViewState().Camera.PanX, 9);
    }

    // The sums wrap around as 32-bit integers.
    void CameraSumsWrap()
    {
        MainWindow()->ViewState().Camera.RotY = INT32_MAX - 1;
        MainWindow()->ViewState().Camera.RotX = INT32_MIN + 1;
        MainWindow()->ViewState().Camera.PanX = INT32_MIN + 3;
        Press(Qt::Key_Right, 0);
        Press(Qt::Key_Up, 0);
        Press(Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(MainWindow()->ViewState().Camera.RotY, INT32_MIN + 2);
        QCOMPARE(MainWindow()->ViewState().Camera.RotX, INT32_MAX - 2);
        QCOMPARE(MainWindow()->ViewState().Camera.PanX, INT32_MAX - 5);
        static_assert(PackSelection(1, 32768) == INT32_MIN + 1);
        static_assert(PackSelection(0, -1) == -65536);
    }

    // After Alt the menu bar has the keyboard: the arrows move its highlight
    // and turn nothing, until Escape ends the menu bar's turn.
    void NoKeysWhileTheMenuBarHasTheKeyboard()
    {
        // A pointer resting on a menu title highlights it; the keys still act.
        QMenuBar* bar = MainWindow()->menuBar();
        const int32_t rotY = MainWindow()->ViewState().Camera.RotY;
        QTest::mouseMove(bar, bar->actionGeometry(MainWindow()->Items().DisplayMenu->menuAction()).center());
        QTRY_VERIFY(bar->activeAction());
        Press(Qt::Key_Right, 0);
        QCOMPARE(MainWindow()->ViewState().Camera.RotY, rotY + 4);
        QTest::mouseMove(MainWindow()->View(), MainWindow()->View()->rect().center());
        QTRY_VERIFY(!bar->activeAction());

        QTest::keyPress(App->KeyTarget(), Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(App->KeyTarget(), Qt::Key_Alt);
        QTRY_VERIFY(MainWindow()->menuBar()->activeAction());
        const TCameraValues before = CameraNow();
        const int frames = Frames();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_N);
        QVERIFY(CameraNow() == before);
        QCOMPARE(Frames(), frames);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!MainWindow()->menuBar()->activeAction());
        Press(Qt::Key_Right, 0);
        QCOMPARE(MainWindow()->ViewState().Camera.RotY, before.RotY + 4);

        // Nor while a menu is open.
        MainWindow()->Items().DisplayMenu->popup(MainWindow()->mapToGlobal(QPoint(10, 10)));
        QTRY_VERIFY(QApplication::activePopupWidget() == MainWindow()->Items().DisplayMenu);
        QTest::keyClick(MainWindow(), Qt::Key_Left);
        QCOMPARE(MainWindow()->ViewState().Camera.RotY, before.RotY + 4);
        MainWindow()->Items().DisplayMenu->close();
    }

    // Help > Keys and Mouse lists the key table beside the main window and
    // leaves the keyboard to the view; the manual page's section is written
    // from the same table.
    void KeysAndMouseListsTheTableAndLeavesTheKeysToTheView()
    {
        QMenu* help = MainWindow()->menuBar()->actions()[4]->menu();
        QVERIFY(help && help->title() == "Help");
        help->actions()[0]->trigger();
        auto* window = MainWindow()->findChild<TKeysWindow*>();
        QVERIFY(window && window->isVisible() && !window->isModal());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(QApplication::activeWindow(), MainWindow());
        QTest::keyClick(MainWindow()->windowHandle(), Qt::Key_Left);
        QCOMPARE(MainWindow()->ViewState().Camera.RotY, -4);
        // Beside, where the screen leaves room for it.
        const QRect main = MainWindow()->frameGeometry();
        const QRect room = MainWindow()->screen()->availableGeometry();
        if (room.right() - main.right() >= window->frameGeometry().width())
            QCOMPARE(window->frameGeometry().left(), main.right() + 1);
        help->actions()[0]->trigger();  // again: the same window
        QCOMPARE(MainWindow()->findChildren<TKeysWindow*>().size(), qsizetype(1));

        const QString listed = window->List->toPlainText();
#ifdef NEG_KEYS_MAN
        QProcess generator;
        generator.start(NEG_KEYS_MAN);
        QVERIFY(generator.waitForFinished(20000));
        QCOMPARE(generator.exitCode(), 0);
        // The roff text as man sets it, fonts aside.
        QString page = QString::fromUtf8(generator.readAllStandardOutput());
        page.remove(QRegularExpression(R"(\\f[BIR]|\\&)")).replace(R"(\-)", "-").replace(R"(\e)", R"(\)");
        QVERIFY(page.startsWith("[KEYS AND MOUSE]\n"));
#endif
        int rows = 0;
        for (const TKeyGroup& group : KeyTable()) {
            QVERIFY(listed.contains(group.Title));
#ifdef NEG_KEYS_MAN
            QVERIFY(page.contains(QStringLiteral(".SS \"%1\"").arg(group.Title)));
#endif
            for (const TKeyRow& row : group.Rows) {
                const QString does = QString::fromUtf8(row.Does).remove('*');
                QVERIFY2(listed.contains(row.Keys) && listed.contains(does), row.Keys);
#ifdef NEG_KEYS_MAN
                QVERIFY2(page.contains(QStringLiteral("%1\n%2.\n").arg(row.Keys, does)), row.Keys);
#endif
                ++rows;
            }
        }
        QVERIFY(rows > 30);
    }

    void TwentyMinusesNearlyReachZero()
    {
        for (int i = 0; i < 20; ++i)
            Press(Qt::Key_Minus, 0);
        QVERIFY(MainWindow()->ViewState().Camera.Zoom != 0.0 && std::abs(MainWindow()->ViewState().Camera.Zoom) < 1e-15);
        Press(Qt::Key_Minus, 0);
        QVERIFY(MainWindow()->ViewState().Camera.Zoom < 0);
    }

    void NoKeysBeforeViewReady()
    {
        MainWindow()->ViewState().Ready = false;
        const TCameraValues before = CameraNow();
        for (int key : {Qt::Key_Left, Qt::Key_PageUp, Qt::Key_Equal, Qt::Key_N, Qt::Key_P})
            Press(key, 0);
        QVERIFY(CameraNow() == before);
        QCOMPARE(Document().Selection.SelectedId, 0);
        MainWindow()->ViewState().Ready = true;
    }

    void NoKeysWhileAnotherWindowIsActive()
    {
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        const TCameraValues before = CameraNow();
        QTest::keyClick(MainWindow(), Qt::Key_Left);
        QTest::keyClick(&other, Qt::Key_Left);
        QTest::keyClick(MainWindow(), Qt::Key_N);
        QVERIFY(CameraNow() == before);
        QCOMPARE(Document().Selection.SelectedId, 0);
    }

    void FaceSteppingInAMeshWithoutFaces()
    {
        Press(Qt::Key_P, 0);  // mesh 2 has no faces
        QCOMPARE(Document().Selection.CurMesh, 2);
        // The face-mode frame outlines face 0 of a mesh that has none: the
        // list's error, shown once by the error display.
        MainWindow()->Items().FaceModeAction->trigger();
        QCOMPARE(Document().Selection.CurMesh, 2);
        QCOMPARE(App->Dialogs.TakeMessages(), QStringList{"^TFaceL Index not valid: 0."});
        for (int key : {Qt::Key_N, Qt::Key_P}) {
            Document().Selection.CurMesh = 2;
            Press(key, 0);
            QCOMPARE(Document().Selection.SelectedId, 2);
            QCOMPARE(Document().Selection.CurFace, 0);
        }
    }

    // A frame that stops on an error leaves the last complete picture on
    // screen. Resizes and a change of scale keep it there and raise no box;
    // once frames complete again, a resize draws the model at the new size.
    void FailingFrameKeepsTheLastPicture()
    {
        // The picture over the bounds the open fitted (init widened them for
        // the pan step), -40..60.
        FitToModel(MainWindow()->ViewState().Camera, Document().Model);
        GlowPanel()->AllGlowsButton->click();  // every glow: drawn after the faces, so a stopped frame lacks them
        Press(Qt::Key_P, 0);  // mesh 2: a glow and no faces
        QCOMPARE(Document().Selection.CurMesh, 2);
        const QImage whole = MainWindow()->View()->grabFramebuffer();
        QCOMPARE(whole.size(), MainWindow()->View()->size() * MainWindow()->View()->devicePixelRatio());
        // Mesh 2's glow point at (0, 1) in the point colour (sample entry 2);
        // the bounds are -40..60.
        QVERIFY(LitNear(whole, qRound(whole.width() * 0.4), qRound(whole.height() * 0.59), 2, QColor(75, 87, 99)));
        MainWindow()->Items().FaceModeAction->trigger();
        QCOMPARE(App->Dialogs.TakeMessages(), QStringList{"^TFaceL Index not valid: 0."});
        QVERIFY(MainWindow()->View()->grabFramebuffer() == whole);

        MainWindow()->showNormal();
        for (const QSize size : {QSize(700, 500), QSize(900, 640), QSize(640, 420)}) {
            MainWindow()->resize(size);
            QTRY_COMPARE(MainWindow()->View()->DeviceSize().height(), qRound(MainWindow()->View()->height() * MainWindow()->View()->devicePixelRatio()));
            const QImage shown = MainWindow()->View()->grabFramebuffer();
            // The old picture unscaled at the top-left corner, black around it.
            const int common = std::min(shown.height(), whole.height());
            QVERIFY(shown.copy(0, 0, common, common) == whole.copy(0, 0, common, common));
            if (shown.height() > whole.height())
                QCOMPARE(shown.pixelColor(shown.width() - 1, shown.height() - 1), QColor(Qt::black));
        }
        // A move to a screen of another scale changes the size in device
        // pixels without a resize: the sizes are taken anew, the picture
        // stays.
        const QImage beforeScale = MainWindow()->View()->grabFramebuffer();
        QEvent screenChange(QEvent::ScreenChangeInternal);
        QCoreApplication::sendEvent(MainWindow()->View(), &screenChange);
        QVERIFY(App->Dialogs.Messages.empty());
        QCOMPARE(MainWindow()->View()->DeviceSize().width(), qRound(MainWindow()->View()->width() * MainWindow()->View()->devicePixelRatio()));
        QCOMPARE(MainWindow()->View()->DeviceSize().height(), qRound(MainWindow()->View()->height() * MainWindow()->View()->devicePixelRatio()));
        QVERIFY(MainWindow()->View()->grabFramebuffer() == beforeScale);

        // Mesh 0's edge along y = 0 lies at 0.6 of the height (bounds -40..60).
        MainWindow()->Items().MeshModeAction->trigger();
        MainWindow()->resize(760, 560);
        QTRY_COMPARE(MainWindow()->View()->DeviceSize().height(), qRound(MainWindow()->View()->height() * MainWindow()->View()->devicePixelRatio()));
        const QImage larger = MainWindow()->View()->grabFramebuffer();
        QCOMPARE(larger.size(), QSize(MainWindow()->View()->DeviceSize().width(), MainWindow()->View()->DeviceSize().height()));
        QVERIFY(LitNear(larger, MainWindow()->View()->DeviceSize().width() * 4 / 10, MainWindow()->View()->DeviceSize().height() * 6 / 10, 2));
        QVERIFY(App->Dialogs.Messages.empty());
    }

    void ViewClickConditions()
    {
        const auto click = [](Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, bool doubleClick) {
            const int frames = Frames();
            emit MainWindow()->View()->MouseDown(Qt::LeftButton, buttons, mods, doubleClick, 10, 10);
            return Frames() != frames;
        };
        QVERIFY(click(Qt::LeftButton, {}, false));
        QVERIFY(!click(Qt::RightButton, {}, false));
        QVERIFY(!click(Qt::LeftButton | Qt::RightButton, {}, false));
        QVERIFY(!click(Qt::LeftButton, Qt::ShiftModifier, false));
        QVERIFY(!click(Qt::LeftButton, Qt::ControlModifier, false));
        QVERIFY(!click(Qt::LeftButton, Qt::AltModifier, false));
        QVERIFY(!click(Qt::LeftButton, {}, true));
        MainWindow()->ViewState().Ready = false;
        QVERIFY(!click(Qt::LeftButton, {}, false));
        MainWindow()->ViewState().Ready = true;
    }

private:
    // Whether a pixel of `color` (without one: other than black) lies within
    // reach of (x, y).
    static bool LitNear(const QImage& image, int x, int y, int reach, std::optional<QColor> color = {})
    {
        for (int py = std::max(0, y - reach); py <= std::min(image.height() - 1, y + reach); ++py)
            for (int px = std::max(0, x - reach); px <= std::min(image.width() - 1, x + reach); ++px)
                if (color ? image.pixelColor(px, py) == *color : image.pixelColor(px, py) != QColor(Qt::black))
                    return true;
        return false;
    }
    void Press(int key, int mods) { QTest::keyClick(App->KeyTarget(), Qt::Key(key), Qt::KeyboardModifiers(mods)); }

    std::unique_ptr<TAppFixture> App;
};

int RunKeyTests(int argc, char** argv)
{
    TKeyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "keys_test.moc"
