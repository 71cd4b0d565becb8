// Undo and redo as a user reaches them: edits made in the glow panel and the
// edit dialog, then Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z; the working copy's bytes
// after each, the panel's labels, and a refused write.

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "Ed_EGlow.h"
#include "M_Change.h"
#include "Main.h"
#include "app_fixture.h"
#include "app_state.h"
#include "click_list.h"
#include "conversions.h"
#include "user_support.h"

using namespace optbuild;

namespace {

// Mesh 0 has one glow, mesh 1 two.
std::vector<TUserMesh> Fleet()
{
    const std::vector<TVertex> corners = {{-20, -20, 0}, {20, -20, 0}, {20, 20, 0}};
    return {{corners, {Tri(0, 1, 2)}, {NumberedGlow(0)}}, {corners, {Tri(0, 1, 2)}, {NumberedGlow(1), NumberedGlow(2)}}};
}

}  // namespace

class TUndoTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        MakeFresh(App);
        QVERIFY(App->StartWithSampleColors());
        DecimalSeparator = '.';
        Original = WriteUserModel(App->Folder.File("fleet.opt"), Fleet()).Bytes;
        QVERIFY(OpenThroughMenu(App->Dialogs, App->Folder.File("fleet.opt")));
        Copy = App->ProjectFolder() + "fleet.opt";
    }
    void cleanup() { App.reset(); }

    void UndoAndRedoPutBackEveryByte()
    {
        QVERIFY(!Me->Undo1->isEnabled() && !Me->Redo1->isEnabled());
        ClickView(20, 0);  // mesh 0
        QCOMPARE(CurMesh, 0);
        CHECKED(EditVector("7.25"));
        QCOMPARE(Me->BarMessage->text(), QString("Mesh 0, glow 0: Main vector written"));
        QVERIFY(!Me->BarPanel0->text().isEmpty());  // the path stays in sight
        const std::vector<uint8_t> afterVector = ReadBytes(Copy);
        QVERIFY(afterVector != Original);

        // Close without a change writes the same bytes and makes no step.
        ClickListItem(EGlow->LB, 0);
        QTest::mouseClick(MCh->BitBtn1, Qt::LeftButton);
        QCOMPARE(Me->BarMessage->text(), QString("Mesh 0, glow 0: written, nothing changed"));
        QCOMPARE(Me->History.Stack.count(), 1);

        QTest::mouseClick(EGlow->SBCopyColor, Qt::LeftButton);
        QCOMPARE(Me->BarMessage->text(), QString("Copy color to all: 3 glows written"));
        QCOMPARE(Me->Undo1->text(), QString("Undo Copy color to all"));
        const std::vector<uint8_t> afterCopy = ReadBytes(Copy);
        const QString copiedCore = EGlow->L1->palette().color(QPalette::Window).name();

        CHECKED(PressOn(Me, Qt::Key_Z, Qt::ControlModifier));
        QVERIFY(ReadBytes(Copy) == afterVector);
        QCOMPARE(Me->BarMessage->text(), QString("Undone: Copy color to all"));
        QCOMPARE(Me->Undo1->text(), QString("Undo Main vector of glow 0 in mesh 0"));
        QCOMPARE(Me->Redo1->text(), QString("Redo Copy color to all"));
        // The panel is the undo's too: from there the keys work as well.
        CHECKED(PressOn(EGlow, Qt::Key_Z, Qt::ControlModifier));
        QVERIFY(ReadBytes(Copy) == Original);
        QCOMPARE(EGlow->Lv->text(), QString("Vector =  0.50 ,-1.25 , 2.00 "));
        QVERIFY(!Me->Undo1->isEnabled());

        CHECKED(PressOn(Me, Qt::Key_Y, Qt::ControlModifier));
        QVERIFY(ReadBytes(Copy) == afterVector);
        QCOMPARE(EGlow->Lv->text(), QString("Vector =  7.25 ,-1.25 , 2.00 "));
        CHECKED(PressOn(Me, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier));
        QVERIFY(ReadBytes(Copy) == afterCopy);
        QCOMPARE(EGlow->L1->palette().color(QPalette::Window).name(), copiedCore);
        QCOMPARE(TheModel.Meshes.Get(1).Glows.Get(1).CoreColor, TheModel.Meshes.Get(0).Glows.Get(0).CoreColor);
        QVERIFY(App->Dialogs.Messages.empty());

        // Another model ends the history.
        QVERIFY(OpenThroughMenu(App->Dialogs, App->Folder.File("fleet.opt")));
        QCOMPARE(Me->History.Stack.count(), 0);
        QVERIFY(!Me->Undo1->isEnabled());
    }

    void OpenDialogOnAnUndoneGlowGoesWithoutWriting()
    {
        ClickView(20, 0);
        CHECKED(EditVector("3"));
        ClickListItem(EGlow->LB, 3);  // the same glow's vector, open again
        QVERIFY(MCh->isVisible());
        CHECKED(PressOn(MCh, Qt::Key_Z, Qt::ControlModifier));
        QVERIFY(!MCh->isVisible());
        QVERIFY(ReadBytes(Copy) == Original);
        // A late press of its button stores nothing: the dialog is gone.
        QVERIFY(!MCh->BBMan1->isVisible());
    }

    void RefusedWriteLeavesTheHistory()
    {
        ClickView(20, 0);
        CHECKED(EditVector("3"));
        const std::vector<uint8_t> edited = ReadBytes(Copy);
        // Another program cut the working copy short: nothing is written.
        std::filesystem::resize_file(Copy, 100);
        CHECKED(PressOn(Me, Qt::Key_Z, Qt::ControlModifier));
        QCOMPARE(App->Dialogs.Messages.size(), size_t(1));
        QVERIFY(App->Dialogs.Messages[0].Error);
        QCOMPARE(App->Dialogs.Messages[0].Text,
                 QString::fromStdString("The working copy " + Copy +
                                        " changed on disk since it was opened; nothing was written. Open it again "
                                        "to edit it."));
        QCOMPARE(Me->History.Stack.index(), 1);
        QCOMPARE(Me->Undo1->text(), QString("Undo Main vector of glow 0 in mesh 0"));
        QCOMPARE(TheModel.Meshes.Get(0).Glows.Get(0).MainVec.X, 3.0f);
        QCOMPARE(EGlow->Lv->text(), QString("Vector =  3.00 ,-1.25 , 2.00 "));
        QVERIFY(ReadBytes(Copy) == std::vector<uint8_t>(edited.begin(), edited.begin() + 100));
    }

    // A write that failed (the copy's folder moved elsewhere for a moment),
    // then Man Ok again: one step, undone to the bytes before the first press.
    void WriteThatWorksOnRetryIsUndoneWhole()
    {
        ClickView(20, 0);
        CHECKED(TypeVector("3"));
        MoveProjectFolder(true);
        QTest::mouseClick(MCh->BBMan1, Qt::LeftButton);
        QCOMPARE(App->Dialogs.TakeMessages().size(), qsizetype(1));
        MoveProjectFolder(false);
        QTest::mouseClick(MCh->BBMan1, Qt::LeftButton);
        QCOMPARE(Me->BarMessage->text(), QString("Mesh 0, glow 0: Main vector written"));
        CHECKED(PressOn(Me, Qt::Key_Z, Qt::ControlModifier));
        QVERIFY(ReadBytes(Copy) == Original);
    }

    // A write that failed, the dialog opened anew on what the file holds, a
    // write of another value: undo puts back the bytes before either, never
    // the value that was not written.
    void UndoAfterAFailedWriteAndAReopenedDialogPutsBackTheFile()
    {
        ClickView(20, 0);
        CHECKED(TypeVector("5"));
        MoveProjectFolder(true);
        QTest::mouseClick(MCh->BBMan1, Qt::LeftButton);
        QCOMPARE(App->Dialogs.TakeMessages().size(), qsizetype(1));
        MoveProjectFolder(false);
        QCOMPARE(EGlow->Lv->text(), QString("Vector =  0.50 ,-1.25 , 2.00 "));
        CHECKED(EditVector("7"));
        CHECKED(PressOn(Me, Qt::Key_Z, Qt::ControlModifier));
        QVERIFY(ReadBytes(Copy) == Original);
        QCOMPARE(EGlow->Lv->text(), QString("Vector =  0.50 ,-1.25 , 2.00 "));
    }

    // A redo that stops part-way (the third glow's write fails): the status
    // bar says what it wrote, and Undo takes back exactly those glows.
    void ARedoThatStopsPartWaySaysWhatItWroteAndUndoTakesItBack()
    {
        QTest::mouseClick(EGlow->SBUp, Qt::LeftButton);
        QTest::mouseClick(EGlow->SBCopyColor, Qt::LeftButton);
        QCOMPARE(Me->BarMessage->text(), QString("Copy color to all: 3 glows written"));
        CHECKED(PressOn(Me, Qt::Key_Z, Qt::ControlModifier));
        QVERIFY(ReadBytes(Copy) == Original);
        // The last glow's block now lies outside the file: its write fails.
        TheModel.Meshes.Get(1).Glows.Get(1).FilePos = int32_t(Original.size()) + 100;
        CHECKED(PressOn(Me, Qt::Key_Y, Qt::ControlModifier));
        QCOMPARE(App->Dialogs.TakeMessages(), QStringList({QString::fromStdString("Cannot write file " + Copy + ".")}));
        QCOMPARE(Me->BarMessage->text(), QString("Redo Copy color to all: 2 of 3 glows written"));
        QVERIFY(ReadBytes(Copy) != Original);
        QVERIFY(Me->Undo1->isEnabled() && !Me->Redo1->isEnabled());
        QCOMPARE(Me->Undo1->text(), QString("Undo Copy color to all"));
        CHECKED(PressOn(Me, Qt::Key_Z, Qt::ControlModifier));
        QVERIFY(ReadBytes(Copy) == Original);
        QVERIFY(App->Dialogs.Messages.empty());
    }

private:
    std::unique_ptr<TAppFixture> App;
    std::vector<uint8_t> Original;
    std::string Copy;

    // Steps to the current mesh's first glow if none is shown, opens its
    // vector and types x over the first cell.
    static void TypeVector(const char* x)
    {
        if (EditGlow == -1)
            QTest::mouseClick(EGlow->SBUp, Qt::LeftButton);
        ClickListItem(EGlow->LB, 3);
        // Not qWaitForWindowActive: it counts the dialog active while the main
        // window, the owner of its owner, still is, and the keys would go there.
        QTRY_VERIFY(MCh->isActiveWindow());
        QTest::mouseClick(MCh->SG->viewport(), Qt::LeftButton, {}, MCh->SG->visualItemRect(MCh->SG->item(1, 0)).center());
        for (const char* c = x; *c; ++c)
            QTest::keyClick(QApplication::focusWidget(), *c);
    }

    // Moves the working copies' folder away or back. The working copy itself
    // stays as it was, its status included: moved itself, it would count as
    // changed on disk.
    void MoveProjectFolder(bool away) const
    {
        const std::string folder = App->Folder.File("Project");
        std::filesystem::rename(away ? folder : folder + ".away", away ? folder + ".away" : folder);
    }

    // TypeVector, then confirms with Man Ok.
    static void EditVector(const char* x)
    {
        CHECKED(TypeVector(x));
        QTest::mouseClick(MCh->BBMan1, Qt::LeftButton);
        QVERIFY(!MCh->isVisible());
    }

};

int RunUndoTests(int argc, char** argv)
{
    TUndoTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "undo_test.moc"
