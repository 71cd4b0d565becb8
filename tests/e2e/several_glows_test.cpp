// Several glows at once, as a user reaches them: Ctrl+click, Select Glows of
// Mesh and Escape; one Man Ok, one colour and one drag for all selected
// glows; Mirror Glow and Select Mirror Twin; Copy Glow and Paste Glow. Each
// checks the working copy's bytes: only the values the item names change,
// in every selected glow, bit for bit.

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <bit>
#include <cmath>
#include <filesystem>

#include "app_fixture.h"
#include "byte_order.h"
#include "click_list.h"
#include "conversions.h"
#include "edit_list.h"
#include "glow_mirror.h"
#include "glow_panel.h"
#include "glow_record.h"
#include "main_window.h"
#include "open_document.h"
#include "user_support.h"
#include "value_dialog.h"
#include "view_panel.h"
#include "view_projection.h"

using namespace optbuild;

namespace {

GlowRecord Glow(TFloat3 centre, TFloat3 vector, uint32_t core, float density)
{
    GlowRecord g;
    g.Center = centre;
    g.MainVec = vector;
    g.CoreColor = core;
    g.OuterColor = 0xFF00FF00 ^ (core & 0xFF);
    g.Density0 = {density, 0.5f, 1};
    g.Density1 = {0.25f, density, 0.75f};
    g.Density2 = {0.125f, 0.0625f, density};
    return g;
}

// Mesh 0: a square with three glows, no two alike in any coordinate; mesh 1
// one more. Glow 0 of mesh 0 has a twin across x = 0, off by less than a
// hundredth of the model's size (60), and a main vector whose x is 0.
const TFloat3 FirstCentre{12.3456789f, -19.25f, 3.0f};
std::vector<TUserMesh> Craft()
{
    const std::vector<TVertex> square = {{-30, -30, 0}, {30, -30, 0}, {30, 30, 0}, {-30, 30, 0}};
    return {
        {square,
         {Quad(0, 1, 2, 3)},
         {Glow(FirstCentre, {0.0f, -8.5f, 2.125f}, 0x80FF2010, 0.375f),
          Glow({-12.4f, -19.2f, 2.95f}, {2.5f, -5.75f, 0.625f}, 0x40FF3020, 0.4375f),
          Glow({0.5f, 20.75f, -0.0f}, {1.125f, -3.5f, 2.25f}, 0xC0FF4030, 0.5625f)}},
        {{{-25, 5, 0}, {-20, 5, 0}, {-25, 10, 0}}, {Tri(0, 1, 2)}, {Glow({-20, 12.5f, 7.375f}, {3.25f, -6.5f, 1.75f}, 0xF0FF5040, 0.6875f)}},
    };
}

const TGlowIndex G00{0, 0}, G01{0, 1}, G02{0, 2}, G10{1, 0};

bool SameBits(float a, float b)
{
    return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

// The logical pixel of the view over a model point as the camera shows it now.
QPoint Shown(const TFloat3& p)
{
    const TViewPoint at = MainWindow()->View()->Projection(MainWindow()->ViewState().Camera).Project(p);
    const double ratio = MainWindow()->View()->devicePixelRatioF();
    return {int(std::lround(at.X / ratio)), int(std::lround(at.Y / ratio))};
}

// A click on the glow's centre as the view shows it, with modifiers.
void ClickGlow(TGlowIndex at, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseClick(MainWindow()->View(), Qt::LeftButton, modifiers, Shown(Document().GlowAt(at).Center));
}

// How wide the glow's point is drawn in the view's last frame, in pixels:
// the most pixels of the point colour in one row around its centre (its
// lines are of other colours).
int PointWidth(TGlowIndex at)
{
    const QImage frame = MainWindow()->View()->grabFramebuffer();
    const TViewPoint centre = MainWindow()->View()->Projection(MainWindow()->ViewState().Camera).Project(Document().GlowAt(at).Center);
    const TColorF& c = Colors()[ColPoint];
    const auto near = [](int channel, float wanted) { return std::abs(channel - int(std::lround(wanted * 255))) <= 2; };
    int widest = 0;
    for (int y = int(centre.Y) - 8; y <= int(centre.Y) + 8; ++y) {
        int count = 0;
        for (int x = int(centre.X) - 8; x <= int(centre.X) + 8; ++x) {
            const QColor p = frame.pixelColor(x, y);
            count += near(p.red(), c.Red) && near(p.green(), c.Green) && near(p.blue(), c.Blue) ? 1 : 0;
        }
        widest = std::max(widest, count);
    }
    return widest;
}

// Edit > menu > item, where menu is a menu of the Edit menu.
bool ChooseEditSubmenu(QMenu* menu, QAction* item)
{
    return ChooseMenu(MainWindow()->Items().EditMenu, item, menu);
}

}  // namespace

class TSeveralGlowsTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        MakeFresh(App);
        QVERIFY(App->StartWithSampleColors());
        DecimalSeparator = '.';
        Model = WriteUserModel(App->Folder.File("twins.opt"), Craft());
        QVERIFY(OpenThroughMenu(App->Dialogs, App->Folder.File("twins.opt")));
        Copy = App->ProjectFolder() + "twins.opt";
        QTest::mouseClick(GlowPanel()->AllGlowsButton, Qt::LeftButton);  // every glow drawn, and so clickable
    }
    void cleanup()
    {
        QVERIFY(App->Dialogs.Messages.empty());
        App.reset();
    }

    // Ctrl+click builds a selection across meshes, drawn marked; Man Ok and
    // Color then reach every selected glow with the cells the user changed
    // alone, as one step each.
    void OneEditReachesEverySelectedGlow()
    {
        ClickGlow(G00);
        ClickGlow(G01, Qt::ControlModifier);
        ClickGlow(G10, Qt::ControlModifier);
        QCOMPARE(Document().Selection.SelectedGlows(Document().Model), (std::vector<TGlowIndex>{G10, G00, G01}));
        QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(1, 1));  // the last one clicked is edited
        QCOMPARE(MainWindow()->Items().SelectionLabel->text(), QString("3 glows selected"));
        // Marked one step less than the glow being edited, with and without
        // Glow Colors.
        for (int pass = 0; pass < 2; ++pass) {
            QVERIFY2(PointWidth(G10) > PointWidth(G00) && PointWidth(G00) > PointWidth(G02),
                     qPrintable(QString("%1 %2 %3").arg(PointWidth(G10)).arg(PointWidth(G00)).arg(PointWidth(G02))));
            QCOMPARE(PointWidth(G01), PointWidth(G00));
            QVERIFY(ChooseMenu(MainWindow()->Items().DisplayMenu, MainWindow()->Items().GlowColorsAction));
        }

        // The vector's x typed, y and z left as shown: while the dialog is
        // open every selected glow shows it, and Man Ok writes it alone.
        const std::vector<TEngineGlow> stored = Glows();
        ClickListItem(GlowPanel()->ItemList, 3);
        QTRY_VERIFY(ValueDialog()->isActiveWindow());
        CHECKED(TypeIntoFirstCell("7.5"));
        QCOMPARE(Document().ShownValues(G01).MainVec.X, 7.5f);
        QVERIFY(SameBits(Document().ShownValues(G01).MainVec.Y, stored[1].MainVec.Y));
        QTest::mouseClick(ValueDialog()->StoreButton, Qt::LeftButton);
        std::vector<uint8_t> expected = Model.Bytes;
        for (TGlowIndex at : {G00, G01, G10}) {
            TEngineGlow g = Stored(stored, at);
            g.MainVec.X = 7.5f;
            Put(expected, at, g);
        }
        QCOMPARE(ReadBytes(Copy), expected);
        QCOMPARE(MainWindow()->Items().MessageLabel->text(), QString("Main Vector of 3 glows written"));
        QCOMPARE(MainWindow()->Items().UndoAction->text(), QString("Undo Main Vector of 3 glows"));
        CHECKED(PressOn(MainWindow(), Qt::Key_Z, Qt::ControlModifier));
        QCOMPARE(ReadBytes(Copy), Model.Bytes);
        CHECKED(PressOn(MainWindow(), Qt::Key_Y, Qt::ControlModifier));
        QCOMPARE(ReadBytes(Copy), expected);

        // A colour chosen, the alpha left: each glow keeps its own alpha.
        App->Dialogs.ColorAnswers.push_back(QColor(0x12, 0x34, 0x56));
        ClickListItem(GlowPanel()->ItemList, 0);
        QTest::mouseClick(ValueDialog()->ColorButton, Qt::LeftButton);
        for (TGlowIndex at : {G00, G01, G10}) {
            TEngineGlow g = Stored(stored, at);
            g.MainVec.X = 7.5f;
            g.CoreColor = (g.CoreColor & 0xFF000000u) | 0x123456u;
            Put(expected, at, g);
        }
        QCOMPARE(ReadBytes(Copy), expected);
        QCOMPARE(MainWindow()->Items().UndoAction->text(), QString("Undo Core Color of 3 glows"));
        QCOMPARE(Document().History.Stack().count(), 2);
    }

    // A drag of the glow being edited moves the others selected by as much:
    // under a lock only that coordinate, every other bit kept; a click
    // without a move leaves it selected alone.
    void DragMovesEverySelectedGlowByTheSameOffset()
    {
        ClickGlow(G02);
        ClickGlow(G00, Qt::ControlModifier);
        // Seen at a slant, a free drag would change every coordinate.
        MainWindow()->ViewState().Camera.RotX = 30;
        MainWindow()->ViewState().Camera.RotY = 40;
        MainWindow()->Redraw();
        const std::vector<TEngineGlow> stored = Glows();
        const QPoint from = Shown(FirstCentre);
        const int away = QApplication::startDragDistance() + 30;
        QTest::mousePress(MainWindow()->View(), Qt::LeftButton, {}, from);
        QTest::mouseMove(MainWindow()->View(), from + QPoint(away, away));
        CHECKED(PressOn(MainWindow(), Qt::Key_X, {}));
        QTest::mouseMove(MainWindow()->View(), from + QPoint(2 * away, away));
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, {}, from + QPoint(2 * away, away));

        const float movedX = Document().GlowAt(G00).Center.X;
        QVERIFY(!SameBits(movedX, FirstCentre.X));
        std::vector<uint8_t> expected = Model.Bytes;
        TEngineGlow first = Stored(stored, G00);
        first.Center.X = movedX;
        Put(expected, G00, first);
        TEngineGlow other = Stored(stored, G02);
        other.Center.X = float(double(other.Center.X) + (double(movedX) - double(FirstCentre.X)));
        Put(expected, G02, other);  // its z, -0, stays -0
        QCOMPARE(ReadBytes(Copy), expected);
        QCOMPARE(MainWindow()->Items().UndoAction->text(), QString("Undo Center of 2 glows"));
        CHECKED(PressOn(MainWindow(), Qt::Key_Z, Qt::ControlModifier));
        QCOMPARE(ReadBytes(Copy), Model.Bytes);

        QTest::mouseClick(MainWindow()->View(), Qt::LeftButton, {}, from);
        QCOMPARE(Document().Selection.SelectedGlows(Document().Model), std::vector<TGlowIndex>{G00});
        QVERIFY(MainWindow()->Items().SelectionLabel->text().isEmpty());
    }

    // Mirror Glow copies the glow being edited onto its twin with the sign
    // bits of the centre's and the main vector's x flipped and nothing else;
    // Select Mirror Twin finds the twin; a refused write changes nothing.
    void MirrorFlipsOneSignBitOnTheTwin()
    {
        ClickGlow(G00);
        QVERIFY(ChooseEditSubmenu(MainWindow()->Items().MirrorMenu, MainWindow()->Items().MirrorActions[0]));
        QVERIFY(MainWindow()->Items().MessageLabel->text().startsWith("Mirror Glow: select its twin as well"));
        QVERIFY(ChooseEditSubmenu(MainWindow()->Items().SelectTwinMenu, MainWindow()->Items().SelectTwinActions[2]));
        QCOMPARE(MainWindow()->Items().MessageLabel->text(),
                 QString("No glow lies within 0.60 of the mirror image of glow 0 of mesh 0 across Z"));
        QVERIFY(ChooseEditSubmenu(MainWindow()->Items().SelectTwinMenu, MainWindow()->Items().SelectTwinActions[0]));
        QCOMPARE(Document().Selection.SelectedGlows(Document().Model), (std::vector<TGlowIndex>{G00, G01}));
        QCOMPARE(ReadBytes(Copy), Model.Bytes);
        QCOMPARE(Document().History.Stack().count(), 0);

        QVERIFY(ChooseEditSubmenu(MainWindow()->Items().MirrorMenu, MainWindow()->Items().MirrorActions[0]));
        std::vector<uint8_t> expected = Model.Bytes;
        const size_t first = size_t(Model.GlowPos[0][0] + GlowWriteBackOffset);
        const size_t twin = size_t(Model.GlowPos[0][1] + GlowWriteBackOffset);
        std::copy_n(expected.begin() + ptrdiff_t(first), GlowWriteBackSize, expected.begin() + ptrdiff_t(twin));
        expected[twin + glow_layout::Center + 3] ^= 0x80;   // 12.3456789 to -12.3456789
        expected[twin + glow_layout::MainVec + 3] ^= 0x80;  // 0 to -0
        QCOMPARE(ReadBytes(Copy), expected);
        QCOMPARE(MainWindow()->Items().UndoAction->text(), QString("Undo Mirror across X"));
        CHECKED(PressOn(MainWindow(), Qt::Key_Z, Qt::ControlModifier));
        QCOMPARE(ReadBytes(Copy), Model.Bytes);
        CHECKED(PressOn(MainWindow(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier));
        QCOMPARE(ReadBytes(Copy), expected);

        // Three selected: each onto its own twin among the glows not
        // selected, one step; the glows without one are named.
        CHECKED(PressOn(MainWindow(), Qt::Key_Z, Qt::ControlModifier));
        ClickGlow(G02);
        ClickGlow(G10, Qt::ControlModifier);
        ClickGlow(G00, Qt::ControlModifier);
        QVERIFY(ChooseEditSubmenu(MainWindow()->Items().MirrorMenu, MainWindow()->Items().MirrorActions[0]));
        QCOMPARE(ReadBytes(Copy), expected);
        QCOMPARE(MainWindow()->Items().MessageLabel->text(),
                 QString("Mirror across X: 1 glow written; no twin across X for glow 2 of mesh 0, glow 0 of mesh 1"));
        QCOMPARE(Document().History.Stack().count(), 1);
        ClickGlow(G01);
        ClickGlow(G00, Qt::ControlModifier);

        // Another program changed the working copy: nothing is written, the
        // model, the panel and the history stay as the file holds them.
        std::filesystem::resize_file(Copy, expected.size() - 1);
        const std::vector<uint8_t> changed(expected.begin(), expected.end() - 1);
        const QString vector = GlowPanel()->VectorLine->text();
        QVERIFY(ChooseEditSubmenu(MainWindow()->Items().MirrorMenu, MainWindow()->Items().MirrorActions[1]));
        QCOMPARE(App->Dialogs.TakeMessages().size(), qsizetype(1));
        QCOMPARE(ReadBytes(Copy), changed);
        QCOMPARE(Document().History.Stack().count(), 1);
        QVERIFY(SameBits(Document().GlowAt(G01).Center.Y, Document().GlowAt(G00).Center.Y));
        QCOMPARE(GlowPanel()->VectorLine->text(), vector);
    }

    // Symmetry X: a nudge of one glow gives its twin the mirror image of the
    // result, sign bits only, in the same step; one Undo takes both back.
    // The twin is drawn apart, with a thinner point than any other glow.
    void SymmetryWritesTheTwinInTheSameStep()
    {
        ClickGlow(G00);
        QVERIFY(ChooseEditSubmenu(MainWindow()->Items().SymmetryMenu, MainWindow()->Items().SymmetryActions[1]));
        QCOMPARE(MainWindow()->Items().SymmetryLabel->text(), QString("Symmetry X"));
        QVERIFY(QTest::qWaitFor([] { return PointWidth(G01) > 0 && PointWidth(G01) < PointWidth(G02); }));

        CHECKED(PressOn(MainWindow(), Qt::Key_L));
        const TEngineGlow moved = Document().GlowAt(G00);
        QVERIFY(!SameBits(moved.Center.X, FirstCentre.X) || !SameBits(moved.Center.Y, FirstCentre.Y) ||
                !SameBits(moved.Center.Z, FirstCentre.Z));
        const TGlowBytes image = EncodeGlowWriteBack(MirrorImage(moved, TMirrorAxis::X));
        const std::vector<uint8_t> bytes = ReadBytes(Copy);
        const auto twin = bytes.begin() + ptrdiff_t(Model.GlowPos[0][1] + GlowWriteBackOffset);
        QVERIFY(std::equal(image.begin(), image.end(), twin));
        QCOMPARE(Document().History.Stack().count(), 1);
        CHECKED(PressOn(MainWindow(), Qt::Key_Z, Qt::ControlModifier));
        QCOMPARE(ReadBytes(Copy), Model.Bytes);

        // While the hand drags, the twin is shown where the release would
        // write it.
        const QPoint from = Shown(FirstCentre);
        const QPoint to = from + QPoint(QApplication::startDragDistance() + 30, 20);
        QTest::mousePress(MainWindow()->View(), Qt::LeftButton, {}, from);
        QTest::mouseMove(MainWindow()->View(), to);
        const TEngineGlow dragged = Document().ShownValues(G00);
        QVERIFY(!SameBits(dragged.Center.X, FirstCentre.X));
        QVERIFY(EncodeGlowWriteBack(Document().ShownValues(G01)) ==
                EncodeGlowWriteBack(MirrorImage(dragged, TMirrorAxis::X)));
        CHECKED(PressOn(MainWindow(), Qt::Key_Escape, {}));
        QTest::mouseRelease(MainWindow()->View(), Qt::LeftButton, {}, to);
        QCOMPARE(ReadBytes(Copy), Model.Bytes);

        // So does a number typed into the edit dialog, before Man Ok.
        ClickListItem(GlowPanel()->ItemList, 3);
        QTRY_VERIFY(ValueDialog()->isActiveWindow());
        CHECKED(TypeIntoFirstCell("7.5"));
        QCOMPARE(Document().ShownValues(G00).MainVec.X, 7.5f);
        QVERIFY(EncodeGlowWriteBack(Document().ShownValues(G01)) ==
                EncodeGlowWriteBack(MirrorImage(Document().ShownValues(G00), TMirrorAxis::X)));
        ValueDialog()->close();
        QCOMPARE(ReadBytes(Copy), Model.Bytes);
    }

    // A left drag from empty space draws a box, in the view's device pixels
    // wherever the view lies in the window and whatever the screen's scale:
    // the glows drawn inside it are selected, with Ctrl added; Escape
    // cancels it. Ctrl+A selects every glow of every mesh.
    void BoxSelectsTheGlowsDrawnInside()
    {
        TViewPanel* view = MainWindow()->View();
        const double ratio = view->devicePixelRatioF();
        const TViewProjection projection = view->Projection(MainWindow()->ViewState().Camera);
        const auto device = [&](TGlowIndex at) {
            const TViewPoint p = projection.Project(Document().GlowAt(at).Center);
            return QPointF(p.X, p.Y);
        };
        // Six logical pixels around the glows' centres, from corner to
        // corner: far less than the menu bar above the view.
        const auto drag = [&](const std::vector<TGlowIndex>& glows, Qt::KeyboardModifiers modifiers, bool escape) {
            QPointF low = device(glows.front()), high = low;
            for (TGlowIndex at : glows) {
                low = {std::min(low.x(), device(at).x()), std::min(low.y(), device(at).y())};
                high = {std::max(high.x(), device(at).x()), std::max(high.y(), device(at).y())};
            }
            const QRectF box = QRectF(low, high).adjusted(-6 * ratio, -6 * ratio, 6 * ratio, 6 * ratio);
            for (TGlowIndex at : {G00, G01, G02, G10})
                if (std::find(glows.begin(), glows.end(), at) == glows.end())
                    QVERIFY(!box.adjusted(-ratio, -ratio, ratio, ratio).contains(device(at)));
            const QPoint from = (box.topLeft() / ratio).toPoint(), to = (box.bottomRight() / ratio).toPoint();
            QTest::mousePress(view, Qt::LeftButton, modifiers, from);
            QTest::mouseMove(view, (from + to) / 2);
            QTest::mouseMove(view, to);
            QVERIFY(view->Box().has_value());
            if (escape)
                CHECKED(PressOn(MainWindow(), Qt::Key_Escape, {}));
            QTest::mouseRelease(view, Qt::LeftButton, modifiers, to);
            QVERIFY(!view->Box().has_value());
        };
        ClickGlow(G00);
        CHECKED(drag({G00, G01}, {}, false));
        QCOMPARE(Document().Selection.SelectedGlows(Document().Model), (std::vector<TGlowIndex>{G00, G01}));
        CHECKED(drag({G10}, Qt::ControlModifier, false));
        QCOMPARE(Document().Selection.SelectedGlows(Document().Model), (std::vector<TGlowIndex>{G00, G01, G10}));
        QCOMPARE(MainWindow()->Items().SelectionLabel->text(), QString("3 glows selected"));
        CHECKED(drag({G02}, {}, true));
        QCOMPARE(Document().Selection.SelectedGlows(Document().Model), (std::vector<TGlowIndex>{G00, G01, G10}));

        // Every glow, the one being edited first; Man Ok of one number
        // writes it into each at its own place.
        ClickGlow(G01);
        CHECKED(PressOn(MainWindow(), Qt::Key_A, Qt::ControlModifier));
        QCOMPARE(Document().Selection.SelectedGlows(Document().Model), (std::vector<TGlowIndex>{G01, G00, G02, G10}));
        QCOMPARE(MainWindow()->Items().SelectionLabel->text(), QString("4 glows selected"));
        const std::vector<TEngineGlow> stored = Glows();
        ClickListItem(GlowPanel()->ItemList, 3);
        QTRY_VERIFY(ValueDialog()->isActiveWindow());
        CHECKED(TypeIntoFirstCell("7.5"));
        QTest::mouseClick(ValueDialog()->StoreButton, Qt::LeftButton);
        std::vector<uint8_t> expected = Model.Bytes;
        for (TGlowIndex at : {G00, G01, G02, G10}) {
            TEngineGlow g = Stored(stored, at);
            g.MainVec.X = 7.5f;
            Put(expected, at, g);
        }
        QCOMPARE(ReadBytes(Copy), expected);
    }

    // Copy Glow puts an edit list optglow reads; Paste Glow Style gives every
    // selected glow its colours, vector and densities but not its centre,
    // Paste Glow its centre too; any other clipboard writes nothing.
    void PasteGlowStyleLeavesTheCentres()
    {
        ClickGlow(G00);
        CHECKED(PressOn(MainWindow(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier));
        const QString copied = QApplication::clipboard()->text();
        const auto patches = optglow::ParseEditList(copied.toStdString(), Document().Model);
        QCOMPARE(patches.size(), size_t(1));
        QCOMPARE(EncodeGlowWriteBack(patches[0].After), EncodeGlowWriteBack(Document().GlowAt(G00)));

        ClickGlow(G01);
        CHECKED(PressOn(MainWindow(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier));
        QCOMPARE(MainWindow()->Items().SelectionLabel->text(), QString("3 glows selected"));
        const std::vector<TEngineGlow> stored = Glows();
        CHECKED(PressOn(MainWindow(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier));
        std::vector<uint8_t> style = Model.Bytes;
        for (TGlowIndex at : {G01, G02}) {
            TEngineGlow g = stored[0];
            g.Center = Stored(stored, at).Center;
            Put(style, at, g);
        }
        QCOMPARE(ReadBytes(Copy), style);
        QCOMPARE(MainWindow()->Items().MessageLabel->text(), QString("Paste glow style: 3 glows written"));
        CHECKED(PressOn(MainWindow(), Qt::Key_Z, Qt::ControlModifier));

        QVERIFY(ChooseMenu(MainWindow()->Items().EditMenu, MainWindow()->Items().PasteGlowAction));
        std::vector<uint8_t> whole = Model.Bytes;
        for (TGlowIndex at : {G01, G02})
            Put(whole, at, stored[0]);
        QCOMPARE(ReadBytes(Copy), whole);
        CHECKED(PressOn(MainWindow(), Qt::Key_Z, Qt::ControlModifier));

        // An edit list from elsewhere, with one field: that field alone.
        QApplication::clipboard()->setText(R"({"edits": [{"mesh": 7, "glow": "*", "outer": "11223344"}]})");
        CHECKED(PressOn(MainWindow(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier));
        std::vector<uint8_t> outer = Model.Bytes;
        for (TGlowIndex at : {G00, G01, G02}) {
            TEngineGlow g = Stored(stored, at);
            g.OuterColor = 0x11223344;
            Put(outer, at, g);
        }
        QCOMPARE(ReadBytes(Copy), outer);

        // Anything else: a message, and nothing written.
        QApplication::clipboard()->setText("core=FF000000");
        CHECKED(PressOn(MainWindow(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier));
        QVERIFY2(MainWindow()->Items().MessageLabel->text().startsWith(
                     "Paste Glow Style: the clipboard holds no glow's edit list: not valid JSON"),
                 qPrintable(MainWindow()->Items().MessageLabel->text()));
        QCOMPARE(ReadBytes(Copy), outer);
        // A text far longer than any edit list of the model is refused
        // unread: a glow's own list padded to a megabyte.
        const QString padded = copied + QString(1 << 20, ' ');
        QApplication::clipboard()->setText(padded);
        CHECKED(PressOn(MainWindow(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier));
        QCOMPARE(MainWindow()->Items().MessageLabel->text(),
                 QString("Paste Glow Style: the clipboard's text (%L1 characters) is far longer than any edit list "
                         "of this model's glows")
                     .arg(padded.size()));
        QCOMPARE(ReadBytes(Copy), outer);
        QCOMPARE(Document().History.Stack().count(), 1);
        QCOMPARE(Document().History.Stack().index(), 1);

        CHECKED(PressOn(MainWindow(), Qt::Key_Escape, {}));
        QCOMPARE(Document().Selection.SelectedGlows(Document().Model), std::vector<TGlowIndex>{G01});
    }

private:
    std::unique_ptr<TAppFixture> App;
    TUserModel Model;
    std::string Copy;

    // Every glow as the model holds it, in file order: G00, G01, G02, G10.
    static std::vector<TEngineGlow> Glows()
    {
        return {Document().GlowAt(G00), Document().GlowAt(G01), Document().GlowAt(G02), Document().GlowAt(G10)};
    }
    static const TEngineGlow& Stored(const std::vector<TEngineGlow>& glows, TGlowIndex at)
    {
        return glows[size_t(at.Mesh == 1 ? 3 : at.Glow)];
    }
    // bytes with the glow at `at` holding the values of glow.
    void Put(std::vector<uint8_t>& bytes, TGlowIndex at, const TEngineGlow& glow) const
    {
        const TGlowBytes written = EncodeGlowWriteBack(glow);
        std::copy(written.begin(), written.end(),
                  bytes.begin() + ptrdiff_t(Model.GlowPos[size_t(at.Mesh)][size_t(at.Glow)] + GlowWriteBackOffset));
    }
    // Types text over the first cell of the open edit dialog.
    static void TypeIntoFirstCell(const char* text)
    {
        QTableWidget* grid = ValueDialog()->Grid;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(1, 0)).center());
        for (const char* c = text; *c; ++c)
            QTest::keyClick(QApplication::focusWidget(), *c);
    }
};

int RunSeveralGlowsTests(int argc, char** argv)
{
    TSeveralGlowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "several_glows_test.moc"
