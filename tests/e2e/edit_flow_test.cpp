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

#include "Ed_EGlow.h"
#include "M_Change.h"
#include "Main.h"
#include "app_fixture.h"
#include "app_state.h"
#include "byte_order.h"
#include "click_list.h"
#include "conversions.h"
#include "keyboard_focus.h"
#include "model.h"
#include "user_support.h"
#include "view_state.h"

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
        QVERIFY(EGlow->isVisible());
        QCOMPARE(EGlow->windowTitle(), GlowTitle(2, 1));
        QCOMPARE(EditGlow, -1);

        QVERIFY(ChooseMenu(Me->Map1, Me->Face1));
        QCOMPARE(SelectMode, 1);
        QVERIFY(Me->Face1->isChecked() && !Me->Mesh1->isChecked());

        ClickView(FaceEdgeX, FaceEdgeY);
        QCOMPARE(SelectedId, PackSelection(1, 1));
        QCOMPARE(CurMesh, 1);
        QCOMPARE(CurFace, 1);
        QCOMPARE(EditGlow, 0);  // the pick's refresh of the panel chose glow 0

        QTest::mouseClick(EGlow->SBUp, Qt::LeftButton);
        QCOMPARE(EditGlow, 1);
        QCOMPARE(EGlow->P3->text(), QString("Editing Glow 1"));
        QCOMPARE(EGlow->Lp->text(), QString("Point = -7.00 ,26.00 , 1.50 "));

        ClickListItem(EGlow->LB, 2);
        QCOMPARE(EGlow->LB->item(2)->text(), QString("Point"));
        QVERIFY(MCh->isVisible());
        QCOMPARE(MCh->L1->text(), QString("Center Point"));
        QCOMPARE(DialogGlow, (TGlowIndex{1, 1}));
        QVERIFY(MCh->BBCenter->isVisible());
        QVERIFY(ReadBytes(copy) == model.Bytes);  // opening an item writes nothing

        QTest::mouseClick(MCh->BBCenter, Qt::LeftButton);
        QVERIFY(App->Dialogs.Messages.empty());
        QVERIFY(!MCh->isVisible());
        QCOMPARE(EGlow->Lp->text(), QString("Point = 16.00 ,11.00 , 4.00 "));

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
        QTest::mouseClick(EGlow->SBUp, Qt::LeftButton);
        ClickListItem(EGlow->LB, 3);
        QVERIFY(MCh->isVisible());
        QCOMPARE(MCh->L1->text(), QString("Main Vector"));
        MCh->SetCell(0, 1, "9.5");

        QVERIFY(OpenThroughMenu(App->Dialogs, second));
        QVERIFY(!MCh->isVisible());
        QVERIFY(!DialogGlow);
        QVERIFY(EGlow->isVisible());
        QCOMPARE(EGlow->windowTitle(), GlowTitle(2, 1));

        // A press that reached the dialog late finds no glow to store into.
        MCh->BBMan1->click();
        MCh->BitBtn1->click();
        QVERIFY(App->Dialogs.Messages.empty());
        QVERIFY(ReadBytes(App->ProjectFolder() + "first.opt") == a.Bytes);
        QVERIFY(ReadBytes(App->ProjectFolder() + "second.opt") == b.Bytes);
        QCOMPARE(TheModel.Meshes.Get(1).Glows.Get(0).MainVec.X, 5.5f);
    }

    // When EDIT closes (a button or its title bar) the main window has the
    // keyboard again: the arrows turn the view at once.
    void KeysActAtOnceAfterTheEditDialogCloses()
    {
        WriteUserModel(App->Folder.File("craft.opt"), Craft(0));
        QVERIFY(OpenThroughMenu(App->Dialogs, App->Folder.File("craft.opt")));
        QTest::mouseClick(EGlow->SBUp, Qt::LeftButton);
        const auto turnsTheView = [] {
            QTRY_COMPARE(QApplication::activeWindow(), Me);
            const int32_t rotY = RotY;
            QTest::keyClick(Me->windowHandle(), Qt::Key_Right);
            QCOMPARE(RotY, rotY + RotStep);
        };
        for (const auto close : {+[] { QTest::mouseClick(MCh->BitBtn1, Qt::LeftButton); }, +[] { MCh->close(); }}) {
            ClickListItem(EGlow->LB, 3);
            // As a user closes it: once it has the keyboard.
            QTRY_VERIFY(HasKeyboard(MCh->SG));
            close();
            QVERIFY(!MCh->isVisible());
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
