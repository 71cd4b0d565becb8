// A user's whole edit: open a model from the File menu, switch to face mode,
// click a face in the view, step to a glow, open its point, press Center; and
// opening another model while the edit dialog is open.

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QTest>

#include "glow_panel.h"
#include "value_dialog.h"
#include "main_window.h"
#include "app_fixture.h"
#include "open_document.h"
#include "byte_order.h"
#include "click_list.h"
#include "conversions.h"
#include "keyboard_focus.h"
#include "model.h"
#include "user_support.h"

using namespace optbuild;

namespace {

// Mesh 0 has no glows. Mesh 1 has two glows and two faces: a small triangle
// at the lower left and a triangle whose bounding box middle (16, 11, 4)
// differs from the mean of its corners.
std::vector<TUserMesh> Craft(int firstGlow)
{
    return {
        {{{-30, 20, 0}, {-22, 20, 0}, {-22, 28, 0}, {-30, 28, 0}}, {Quad(0, 1, 2, 3)}, {}},
        {{{-20, -20, 0}, {-10, -20, 0}, {-20, -10, 0}, {4, 2, 0}, {28, 8, 10}, {10, 20, -2}},
         {Tri(0, 1, 2), Tri(3, 4, 5)},
         {NumberedGlow(firstGlow), NumberedGlow(firstGlow + 1)}},
    };
}

// The middle of the edge from (4, 2) to (28, 8): only face 1 of mesh 1 passes.
constexpr float FaceEdgeX = 16, FaceEdgeY = 5;

}  // namespace

class TEditFlowTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        MakeFresh(App);
        QVERIFY(App->StartWithSampleColors());
        DecimalSeparator = '.';
    }
    void cleanup() { App.reset(); }

    void CenterOfAClickedFaceIsWrittenIntoTheWorkingCopy()
    {
        const TUserModel model = WriteUserModel(App->Folder.File("models/craft.opt"), Craft(0));
        QVERIFY(OpenThroughMenu(App->Dialogs, App->Folder.File("models/craft.opt")));
        const std::string copy = App->ProjectFolder() + "craft.opt";
        QVERIFY(ReadBytes(copy) == model.Bytes);
        QVERIFY(GlowPanel()->isVisible());
        QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(2, 1));
        QCOMPARE(Document().Selection.EditGlow, -1);

        QVERIFY(ChooseMenu(MainWindow()->Items().DisplayMenu, MainWindow()->Items().FaceModeAction));
        QCOMPARE(Document().Selection.SelectMode, 1);
        QVERIFY(MainWindow()->Items().FaceModeAction->isChecked() && !MainWindow()->Items().MeshModeAction->isChecked());

        ClickView(FaceEdgeX, FaceEdgeY);
        QCOMPARE(Document().Selection.SelectedId, PackSelection(1, 1));
        QCOMPARE(Document().Selection.CurMesh, 1);
        QCOMPARE(Document().Selection.CurFace, 1);
        QCOMPARE(Document().Selection.EditGlow, 0);  // the pick's refresh of the panel chose glow 0

        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);
        QCOMPARE(Document().Selection.EditGlow, 1);
        QCOMPARE(GlowPanel()->EditingLabel->text(), QString("Editing Glow 1"));
        QCOMPARE(GlowPanel()->PointLine->text(), QString("Point = -7.00 ,26.00 , 1.50 "));

        ClickListItem(GlowPanel()->ItemList, 2);
        QCOMPARE(GlowPanel()->ItemList->item(2)->text(), QString("Point"));
        QVERIFY(ValueDialog()->isVisible());
        QCOMPARE(ValueDialog()->TitleLabel->text(), QString("Center Point"));
        QCOMPARE(ValueDialog()->Glow(), (TGlowIndex{1, 1}));
        QVERIFY(ValueDialog()->CenterButton->isVisible());
        QVERIFY(ReadBytes(copy) == model.Bytes);  // opening an item writes nothing

        QTest::mouseClick(ValueDialog()->CenterButton, Qt::LeftButton);
        QVERIFY(App->Dialogs.Messages.empty());
        QVERIFY(!ValueDialog()->isVisible());
        QCOMPARE(GlowPanel()->PointLine->text(), QString("Point = 16.00 ,11.00 , 4.00 "));

        // Only the centre's twelve bytes of glow 1's block differ; the rest of
        // its 68 bytes were written back with the same values.
        std::vector<uint8_t> expected = model.Bytes;
        const int32_t centre = model.GlowPos[1][1] + 24;
        PutFloat32LE(&expected[size_t(centre)], 16);
        PutFloat32LE(&expected[size_t(centre) + 4], 11);
        PutFloat32LE(&expected[size_t(centre) + 8], 4);
        const std::vector<uint8_t> written = ReadBytes(copy);
        QCOMPARE(written.size(), model.Bytes.size());
        for (size_t i = 0; i < written.size(); ++i)
            if (written[i] != model.Bytes[i])
                QVERIFY2(i >= size_t(centre) && i < size_t(centre + 12), qPrintable(QString("byte %1").arg(i)));
        QVERIFY(written == expected);
    }

    void OpeningAnotherModelDropsTheOpenDialog()
    {
        const std::string first = App->Folder.File("first.opt"), second = App->Folder.File("second.opt");
        const TUserModel a = WriteUserModel(first, Craft(0));
        const TUserModel b = WriteUserModel(second, Craft(5));
        QCOMPARE(a.GlowPos, b.GlowPos);  // a stale write would land on a glow of the second copy
        QVERIFY(OpenThroughMenu(App->Dialogs, first));
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);
        ClickListItem(GlowPanel()->ItemList, 3);
        QVERIFY(ValueDialog()->isVisible());
        QCOMPARE(ValueDialog()->TitleLabel->text(), QString("Main Vector"));
        ValueDialog()->SetCell(0, 1, "9.5");

        QVERIFY(OpenThroughMenu(App->Dialogs, second));
        QVERIFY(!ValueDialog()->isVisible());
        QVERIFY(!ValueDialog()->Glow());
        QVERIFY(GlowPanel()->isVisible());
        QCOMPARE(GlowPanel()->windowTitle(), GlowTitle(2, 1));

        // A press that reached the dialog late finds no glow to store into.
        ValueDialog()->StoreButton->click();
        ValueDialog()->CloseButton->click();
        QVERIFY(App->Dialogs.Messages.empty());
        QVERIFY(ReadBytes(App->ProjectFolder() + "first.opt") == a.Bytes);
        QVERIFY(ReadBytes(App->ProjectFolder() + "second.opt") == b.Bytes);
        QCOMPARE(Document().Model.Meshes.Get(1).Glows.Get(0).MainVec.X, 5.5f);
    }

    // When EDIT closes (a button or its title bar) the main window has the
    // keyboard again: the arrows turn the view at once.
    void KeysActAtOnceAfterTheEditDialogCloses()
    {
        WriteUserModel(App->Folder.File("craft.opt"), Craft(0));
        QVERIFY(OpenThroughMenu(App->Dialogs, App->Folder.File("craft.opt")));
        QTest::mouseClick(GlowPanel()->NextGlowButton, Qt::LeftButton);
        const auto turnsTheView = [] {
            QTRY_COMPARE(QApplication::activeWindow(), MainWindow());
            const int32_t rotY = MainWindow()->ViewState().Camera.RotY;
            QTest::keyClick(MainWindow()->windowHandle(), Qt::Key_Right);
            QCOMPARE(MainWindow()->ViewState().Camera.RotY, rotY + MainWindow()->ViewState().Camera.RotStep);
        };
        for (const auto close : {+[] { QTest::mouseClick(ValueDialog()->CloseButton, Qt::LeftButton); }, +[] { ValueDialog()->close(); }}) {
            ClickListItem(GlowPanel()->ItemList, 3);
            // As a user closes it: once it has the keyboard.
            QTRY_VERIFY(HasKeyboard(ValueDialog()->Grid));
            close();
            QVERIFY(!ValueDialog()->isVisible());
            CHECKED(turnsTheView());
        }
    }

private:
    std::unique_ptr<TAppFixture> App;
};

int RunEditFlowTests(int argc, char** argv)
{
    TEditFlowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "edit_flow_test.moc"
