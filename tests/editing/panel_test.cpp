// The engine glow panel: texts and formats, stepping, copy to all, movement
// rate, the display choices and the placement over P2.

#include <QButtonGroup>
#include <QLabel>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <chrono>
#include <filesystem>

#include "scene_drawing.h"
#include "open_document.h"
#include "click_list.h"
#include "conversions.h"
#include "glow_fixture.h"
#include "keyboard_focus.h"
#include "model.h"

class PanelTest : public QObject {
    Q_OBJECT

private slots:
    void displayFormFillsTextsWithLocaleSeparator();
    void buttonsListsAndHints();
    void stepsThroughGlowsAndWraps();
    void meshWithoutGlowsKeepsTextsAndSelectsNothing();
    void indexLeftFromAnotherMeshCountsAsNoGlow();
    void copyColorWritesEveryGlowBlock();
    void copyVectorWritesEveryGlowBlock();
    void aFailedWriteCopiesToNoGlow();
    void copyChangesNothingWhenTheWorkingCopyChangedOnDisk();
    void copyToAllDismissesADialogOpenOnAGlowItWrites();
    void aGlowListedTwiceIsOneGlow();
    void nothingToCopyWhileNoGlowIsSelected();
    void movementRateByClick();
    void displayChoicesReachTheDrawing();
    void setSizeCoversP2();
    void valueLinesOpenTheirItems();
};

void PanelTest::displayFormFillsTextsWithLocaleSeparator()
{
    std::vector<TMeshSpec> meshes = {SampleMesh(3)};
    meshes[0].Glows[0].Center = {1.0f, -2.5f, 0.3f};
    TGlowEditing e(meshes);
    DecimalSeparator = ',';
    e.SelectMesh(0);

    e.Panel->ShowForNewModel();
    QCOMPARE(e.Panel->windowTitle(), QString("Engine Glow Editor   3 Glows in Mesh 0"));
    QCOMPARE(e.Panel->EditingLabel->text(), QString("Editing Glow 0"));
    QCOMPARE(e.Doc.Selection.EditGlow, -1);
    QCOMPARE(e.Panel->PointLine->text(), QString("Point =  1,00 ,-2,50 , 0,30 "));
    QCOMPARE(e.Panel->VectorLine->text(), QString("Vector =  1,00 ,-2,00 , 0,50 "));
    QCOMPARE(e.Panel->Density0Line->text(), QString("Density 0 = 0,500 ,0,250 ,1,000 "));
    QCOMPARE(e.Panel->Density1Line->text(), QString("Density 1 = 0,125 ,0,750 ,0,000 "));
    QCOMPARE(e.Panel->Density2Line->text(), QString("Density 2 = 0,000 ,0,375 ,0,625 "));
    // Core 80FF8000: red 255, green 128, blue 0; the word on the bar in black,
    // on the dark outer colour in white.
    QCOMPARE(e.Panel->CoreColorBar->palette().color(QPalette::Window), QColor(255, 128, 0));
    QCOMPARE(e.Panel->OuterColorBar->palette().color(QPalette::Window), QColor(0x22, 0x33, 0x44));
    QCOMPARE(e.Panel->CoreColorBar->text(), QString("Core Color 80FF8000"));
    QCOMPARE(e.Panel->OuterColorBar->text(), QString("Outer Color 11223344"));
    QCOMPARE(e.Panel->CoreColorBar->palette().color(QPalette::WindowText), QColor(Qt::black));
    QCOMPARE(e.Panel->OuterColorBar->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(e.Panel->RateLabel->text(), QString("Movement Rate = 4"));
    QCOMPARE(e.Panel->RateList->currentRow(), 3);

    // The panel shows the glow EditGlow named before the open; glow 1 here.
    e.Doc.Selection.EditGlow = 1;
    e.Panel->ShowForNewModel();
    QCOMPARE(e.Panel->EditingLabel->text(), QString("Editing Glow 1"));
    QCOMPARE(e.Panel->VectorLine->text(), QString("Vector =  2,00 ,-3,00 , 1,50 "));
    QCOMPARE(e.Doc.Selection.EditGlow, -1);
}

void PanelTest::buttonsListsAndHints()
{
    TGlowEditing e({SampleMesh(1)});
    TGlowPanel& p = *e.Panel;
    const Qt::WindowFlags flags = p.windowFlags();
    // Above the window it lies over, not above every window.
    QVERIFY(!(flags & Qt::WindowStaysOnTopHint));
    QCOMPARE(p.parentWidget(), e.Main.get());
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);

    const struct {
        QToolButton* Button;
        int Left;
        const char* Hint;
    } buttons[] = {{p.NextGlowButton, 5, "Select Next  Glow"},          {p.SelectedGlowButton, 35, "Show Selected Glow"},
                   {p.AllGlowsButton, 65, "Show All Glows"},              {p.CopyColorButton, 95, "Copy color to all "},
                   {p.CopyVectorButton, 125, "Copy This vector to all "}, {p.ConesButton, 160, "Show vectors as cones"},
                   {p.NoConesButton, 190, "Don`t show cones"}};
    for (const auto& b : buttons) {
        QCOMPARE(b.Button->geometry(), QRect(b.Left, 1, 25, 25));
        QCOMPARE(b.Button->toolTip(), QString(b.Hint));
        QVERIFY(!b.Button->icon().pixmap(16, 16, QIcon::Normal).isNull());
        QVERIFY(b.Button->icon().pixmap(16, 16, QIcon::Disabled).toImage() !=
                b.Button->icon().pixmap(16, 16, QIcon::Normal).toImage());
    }
    QVERIFY(p.SelectedGlowButton->isChecked() && !p.AllGlowsButton->isChecked());
    QVERIFY(p.NoConesButton->isChecked() && !p.ConesButton->isChecked());
    QVERIFY(p.SelectedGlowButton->group() && p.SelectedGlowButton->group() == p.AllGlowsButton->group() && p.SelectedGlowButton->group()->exclusive());
    QVERIFY(p.ConesButton->group() && p.ConesButton->group() == p.NoConesButton->group() && p.ConesButton->group() != p.SelectedGlowButton->group());
    QVERIFY(!p.NextGlowButton->group() && !p.NextGlowButton->isCheckable());

    QStringList items;
    for (int i = 0; i < p.ItemList->count(); ++i)
        items << p.ItemList->item(i)->text();
    QCOMPARE(items, QStringList({"Core Color", "Outer Color", "Point", "Vector", "Density0", "Density1", "Density2"}));
    QCOMPARE(p.ItemList->toolTip(), QString("Click to Edit"));
    QCOMPARE(p.RateList->count(), 10);
    QCOMPARE(p.RateList->item(9)->text(), QString("10"));
    QCOMPARE(p.CoreColorBar->toolTip(), QString("Core Color"));
    QCOMPARE(p.OuterColorBar->toolTip(), QString("Outer Color"));
    QCOMPARE(p.Density0Line->text(), QString("lxv"));
    QCOMPARE(p.Density2Line->text(), QString("lzv"));
    QCOMPARE(p.RateLabel->text(), QString("Movement Rate"));
}

void PanelTest::stepsThroughGlowsAndWraps()
{
    TGlowEditing e({SampleMesh(3)});
    e.SelectMesh(0);
    e.Panel->ShowForNewModel();
    QCOMPARE(e.Doc.Selection.EditGlow, -1);

    QTest::mouseClick(e.Panel->NextGlowButton, Qt::LeftButton);  // -1 gives 0
    QCOMPARE(e.Doc.Selection.EditGlow, 0);
    QCOMPARE(e.Panel->EditingLabel->text(), QString("Editing Glow 0"));
    e.Panel->StepToNextGlow();
    e.Panel->StepToNextGlow();
    QCOMPARE(e.Doc.Selection.EditGlow, 2);
    QCOMPARE(e.Panel->EditingLabel->text(), QString("Editing Glow 2"));
    QCOMPARE(e.Panel->VectorLine->text(), QString("Vector =  3.00 ,-4.00 , 2.50 "));
    e.Panel->StepToNextGlow();  // the last glow wraps to the first
    QCOMPARE(e.Doc.Selection.EditGlow, 0);
    QCOMPARE(e.Panel->EditingLabel->text(), QString("Editing Glow 0"));
    QCOMPARE(e.Panel->VectorLine->text(), QString("Vector =  1.00 ,-2.00 , 0.50 "));
}

void PanelTest::meshWithoutGlowsKeepsTextsAndSelectsNothing()
{
    TGlowEditing e({SampleMesh(2), SampleMesh(0)});
    e.SelectMesh(0);
    e.Doc.Selection.EditGlow = 1;
    e.Panel->ShowGlow();
    const QString lp = e.Panel->PointLine->text();
    const QColor core = e.Panel->CoreColorBar->palette().color(QPalette::Window);
    e.Dialog->Open({{0, 1}}, TGlowValue::MainVec);

    e.SelectMesh(1);
    e.Panel->ShowGlow();
    QCOMPARE(e.Panel->windowTitle(), QString("Engine Glow Editor   "));
    QCOMPARE(e.Doc.Selection.EditGlow, -1);
    QVERIFY(!e.Dialog->Pending(TGlowValue::MainVec));
    QCOMPARE(e.Panel->EditingLabel->text(), QString("Editing Glow 1"));
    QCOMPARE(e.Panel->PointLine->text(), lp);
    QCOMPARE(e.Panel->CoreColorBar->palette().color(QPalette::Window), core);

    e.Panel->StepToNextGlow();  // nothing to select here
    QCOMPARE(e.Doc.Selection.EditGlow, -1);
    QCOMPARE(e.Panel->EditingLabel->text(), QString("Editing Glow 1"));
}

void PanelTest::indexLeftFromAnotherMeshCountsAsNoGlow()
{
    TGlowEditing e({SampleMesh(3), SampleMesh(2, 10)});
    e.SelectMesh(1);
    e.Doc.Selection.EditGlow = 2;  // left over from mesh 0: mesh 1 has glows 0 and 1 only
    e.Panel->ShowGlowValues();
    QCOMPARE(e.Panel->PointLine->text(), QString("Point"));

    e.Panel->ItemList->setCurrentRow(3);
    e.Panel->OpenSelectedItem();
    QVERIFY(!e.Dialog->Glow());
    QVERIFY(!e.Dialog->isVisible());

    e.Panel->StepToNextGlow();
    QCOMPARE(e.Doc.Selection.EditGlow, 0);
    QCOMPARE(e.Panel->VectorLine->text(), QString("Vector = 11.00 ,-12.00 ,10.50 "));

    e.Doc.Selection.EditGlow = 5;
    e.Panel->ShowGlow();
    QCOMPARE(e.Doc.Selection.EditGlow, 0);
    QCOMPARE(e.Panel->EditingLabel->text(), QString("Editing Glow 0"));
    QVERIFY(e.Dialogs.Messages.empty());
}

void PanelTest::copyColorWritesEveryGlowBlock()
{
    // Meshes of 2, 0 and 3 glows: five glow records.
    TGlowEditing e({SampleMesh(2), SampleMesh(0, 2), SampleMesh(3, 2)});
    const auto glows = e.AllGlows();
    QCOMPARE(int(glows.size()), 5);
    e.SelectMesh(2);
    e.Doc.Selection.EditGlow = 1;
    const uint32_t core = glows[3]->CoreColor;
    const uint32_t outer = glows[3]->OuterColor;
    const TEngineGlow before = *glows[0];
    e.Dialog->Open({{2, 0}}, TGlowValue::CoreColor);

    QTest::mouseClick(e.Panel->CopyColorButton, Qt::LeftButton);
    QVERIFY(e.Dialogs.Messages.empty());
    QCOMPARE(e.Dialog->Glow(), (TGlowIndex{2, 0}));
    for (const TEngineGlow* g : glows) {
        QCOMPARE(g->CoreColor, core);
        QCOMPARE(g->OuterColor, outer);
    }
    QCOMPARE(glows[0]->MainVec.X, before.MainVec.X);
    QCOMPARE(glows[0]->Density2.Z, before.Density2.Z);
    // Every block holds both words at +4 and +8, the rest of the file as it was.
    std::vector<uint8_t> expected = e.Original;
    for (const TEngineGlow* g : glows) {
        PutField(expected, *g, CoreField, core);
        PutField(expected, *g, OuterField, outer);
    }
    QCOMPARE(e.FileBytes(), expected);
}

void PanelTest::copyVectorWritesEveryGlowBlock()
{
    TGlowEditing e({SampleMesh(2), SampleMesh(3, 2)});
    const auto glows = e.AllGlows();
    e.SelectMesh(0);
    e.Doc.Selection.EditGlow = 0;
    const TFloat3 v = glows[0]->MainVec;
    const uint32_t otherCore = glows[4]->CoreColor;

    e.Panel->CopyVectorToAll();
    QVERIFY(!e.Dialog->Glow());
    for (const TEngineGlow* g : glows) {
        QCOMPARE(g->MainVec.X, v.X);
        QCOMPARE(g->MainVec.Y, v.Y);
        QCOMPARE(g->MainVec.Z, v.Z);
    }
    QCOMPARE(glows[4]->CoreColor, otherCore);
    std::vector<uint8_t> expected = e.Original;
    for (const TEngineGlow* g : glows)
        PutField(expected, *g, VectorField, SampleGlow(0).MainVec);
    QCOMPARE(e.FileBytes(), expected);
}

void PanelTest::aFailedWriteCopiesToNoGlow()
{
    TGlowEditing e({SampleMesh(2), SampleMesh(2, 2)});
    const auto glows = e.AllGlows();
    e.SelectMesh(0);
    e.Doc.Selection.EditGlow = 0;
    e.Dialog->Open({{0, 1}}, TGlowValue::CoreColor);
    // The third glow's block lies outside the file: its write fails.
    glows[2]->FilePos = int32_t(e.Original.size()) + 100;

    e.Panel->CopyColorToAll();
    const QStringList messages = e.Dialogs.TakeMessages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0], QString::fromStdString("Cannot write file " + e.Path + "."));
    QVERIFY(e.Dialogs.Messages.empty());
    // All or nothing: no glow is written, in the file or in memory, and the
    // history has no step.
    QCOMPARE(e.FileBytes(), e.Original);
    for (size_t i = 0; i < glows.size(); ++i)
        QCOMPARE(glows[i]->CoreColor, SampleGlow(int(i)).CoreColor);
    QCOMPARE(e.Dialog->Glow(), (TGlowIndex{0, 1}));  // the open dialog still writes its own glow
    QCOMPARE(e.Doc.History.Stack().count(), 0);
}

void PanelTest::copyChangesNothingWhenTheWorkingCopyChangedOnDisk()
{
    TGlowEditing e({SampleMesh(2), SampleMesh(2, 2)});
    const auto glows = e.AllGlows();
    e.SelectMesh(0);
    e.Doc.Selection.EditGlow = 1;  // glow 1 to all: the first one written would be glow 0
    // Another program writes the working copy, a second after the editor read it.
    std::vector<uint8_t> theirs = e.Original;
    PutField(theirs, *glows[3], CoreField, 0xFF000000u);
    optbuild::WriteFileBytes(e.Path, theirs);
    std::filesystem::last_write_time(e.Path, std::filesystem::last_write_time(e.Path) + std::chrono::seconds(1));

    e.Panel->CopyColorToAll();
    QCOMPARE(e.Dialogs.TakeMessages(),
             QStringList{QString::fromStdString("The working copy " + e.Path +
                                                " changed on disk since it was opened; nothing was written. Open it "
                                                "again to edit it.")});
    for (int i = 0; i < 4; ++i)
        QCOMPARE(glows[size_t(i)]->CoreColor, SampleGlow(i).CoreColor);
    QCOMPARE(e.FileBytes(), theirs);
}

// An edit dialog open on a glow that Copy color to all writes goes, unwritten:
// the view shows the colours the file now holds, not the green typed before,
// and the dialog's button cannot write that back over the copy.
void PanelTest::copyToAllDismissesADialogOpenOnAGlowItWrites()
{
    TGlowEditing e({SampleMesh(2)});
    const auto glows = e.AllGlows();
    e.SelectMesh(0);
    e.Doc.Selection.EditGlow = 1;
    e.Panel->ShowGlow();
    e.Panel->ItemList->setCurrentRow(0);
    e.Panel->OpenSelectedItem();
    QTRY_VERIFY(HasKeyboard(e.Dialog->Grid));
    e.Dialog->Grid->setCurrentCell(1, 2);
    QTest::keyClick(e.Dialog->windowHandle(), '0');
    QTest::keyClick(e.Dialog->windowHandle(), Qt::Key_Tab);
    QCOMPARE(e.Doc.Preview.At, (TGlowIndex{0, 1}));

    e.Panel->CopyColorToAll();
    QVERIFY(e.Dialogs.Messages.empty());
    QVERIFY(!e.Dialog->isVisible());
    QVERIFY(!e.Doc.Preview.At);
    QCOMPARE(e.Doc.Preview.Shown(e.Doc.Model, {0, 1}).CoreColor, SampleGlow(1).CoreColor);
    QCOMPARE(glows[0]->CoreColor, SampleGlow(1).CoreColor);
}

// A glow node the mesh lists twice is one glow. An edit that gives the two
// listings other values writes one block: the later's, which both glows then
// hold, as the panel shows; undo and redo put back each block whole.
void PanelTest::aGlowListedTwiceIsOneGlow()
{
    std::vector<TMeshSpec> meshes = {SampleMesh(2)};
    meshes[0].Listed = {0, 1, 0};
    TGlowEditing e(meshes);
    const auto glows = e.AllGlows();
    QCOMPARE(glows.size(), size_t(3));
    QCOMPARE(glows[2]->FilePos, glows[0]->FilePos);
    const TEngineGlow original = *glows[0];
    e.SelectMesh(0);
    e.Panel->ShowForNewModel();
    e.Doc.Selection.EditGlow = 0;
    e.Panel->ShowGlow();
    TEngineGlow first = original, second = original;
    first.Center = {1, 2, 3};
    second.CoreColor = 0xFF00FF00;
    e.Doc.History.Make({"", {{{0, 0}, first}, {{0, 2}, second}}});
    std::vector<uint8_t> later = e.Original;
    PutField(later, original, CoreField, 0xFF00FF00u);
    QCOMPARE(e.FileBytes(), later);
    for (const TEngineGlow* g : {glows[0], glows[2]})
        QCOMPARE(EncodeGlowWriteBack(*g), EncodeGlowWriteBack(second));
    QCOMPARE(e.Panel->CoreColorBar->text(), QString("Core Color FF00FF00"));

    e.Doc.History.Undo();
    QCOMPARE(e.FileBytes(), e.Original);
    for (const TEngineGlow* g : {glows[0], glows[2]})
        QCOMPARE(EncodeGlowWriteBack(*g), EncodeGlowWriteBack(original));
    e.Doc.History.Redo();
    QCOMPARE(e.FileBytes(), later);
    QCOMPARE(glows[0]->CoreColor, 0xFF00FF00u);
}

void PanelTest::nothingToCopyWhileNoGlowIsSelected()
{
    TGlowEditing e({SampleMesh(2)});
    e.SelectMesh(0);
    e.Panel->ShowForNewModel();  // EditGlow -1
    e.Panel->CopyColorToAll();
    e.Panel->CopyVectorToAll();
    e.Panel->ItemList->setCurrentRow(0);
    e.Panel->OpenSelectedItem();
    QVERIFY(!e.Dialog->Glow());
    QVERIFY(!e.Dialog->isVisible());
    QCOMPARE(e.FileBytes(), e.Original);
    QCOMPARE(e.AllGlows()[1]->CoreColor, SampleGlow(1).CoreColor);

    // With no glow selected nothing looks at CurMesh, which may name no mesh.
    e.Doc.Selection.CurMesh = 5;
    e.Panel->ShowGlowValues();
    e.Panel->CopyColorToAll();
    e.Panel->OpenSelectedItem();
    QVERIFY(e.Dialogs.Messages.empty());
    QVERIFY(!e.Dialog->Glow());
}

void PanelTest::movementRateByClick()
{
    TGlowEditing e({SampleMesh(1)});
    e.SelectMesh(0);
    e.Panel->ShowForNewModel();
    e.Panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(e.Panel.get()));
    TClickList* rate = e.Panel->RateList;
    rate->scrollToItem(rate->item(6));
    QTest::mouseClick(rate->viewport(), Qt::LeftButton, {}, rate->visualItemRect(rate->item(6)).center());
    QCOMPARE(e.Panel->MovementRate(), 7);
    QCOMPARE(e.Panel->RateLabel->text(), QString("Movement Rate = 7"));

    // ShowGlow (after N or P) shows the same choice again.
    rate->setCurrentRow(0);
    QCOMPARE(e.Panel->MovementRate(), 7);  // choosing from code is not a click
    e.Panel->ShowGlow();
    QCOMPARE(rate->currentRow(), 6);
    QCOMPARE(e.Panel->RateLabel->text(), QString("Movement Rate = 7"));
}

void PanelTest::displayChoicesReachTheDrawing()
{
    TGlowEditing e({SampleMesh(1)});
    QVERIFY(!e.Panel->Display().Showing);
    e.Panel->show();
    TGlowDisplay d = e.Panel->Display();
    QVERIFY(d.Showing && d.SelectedOnly && !d.Cones);
    QTest::mouseClick(e.Panel->AllGlowsButton, Qt::LeftButton);
    QTest::mouseClick(e.Panel->ConesButton, Qt::LeftButton);
    d = e.Panel->Display();
    QVERIFY(!d.SelectedOnly && d.Cones);
    QVERIFY(!e.Panel->SelectedGlowButton->isChecked() && !e.Panel->NoConesButton->isChecked());
    QTest::mouseClick(e.Panel->SelectedGlowButton, Qt::LeftButton);
    QVERIFY(e.Panel->Display().SelectedOnly);
    // A close box that a window manager adds anyway does not close it.
    QVERIFY(!e.Panel->close());
    QVERIFY(e.Panel->Display().Showing);
    e.Panel->hide();
    QVERIFY(!e.Panel->Display().Showing);
}

void PanelTest::setSizeCoversP2()
{
    TGlowEditing e({SampleMesh(1)});
    QVERIFY(QTest::qWaitForWindowExposed(e.Main.get()));
    e.SelectMesh(0);
    e.Panel->ShowForNewModel();
    e.Panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(e.Panel.get()));
    e.Panel->FitOverAnchor();
    QWidget* p2 = e.Main->GlowPanelArea;
    const QRect target(p2->mapToGlobal(QPoint(0, 0)), p2->size());
    QTRY_COMPARE(e.Panel->frameGeometry(), target);

    const QSize before = p2->size();
    e.Main->resize(1000, 600);
    QTRY_VERIFY(p2->size() != before);
    e.Panel->FitOverAnchor();
    QTRY_COMPARE(e.Panel->frameGeometry(), QRect(p2->mapToGlobal(QPoint(0, 0)), p2->size()));
}

QTEST_MAIN(PanelTest)
#include "panel_test.moc"

// A colour bar or a value line opens its item as a click on the list does.
void PanelTest::valueLinesOpenTheirItems()
{
    TGlowEditing e({SampleMesh(2)});
    e.SelectMesh(0);
    e.Panel->ShowForNewModel();
    e.Panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(e.Panel.get()));
    QTest::mouseClick(e.Panel->PointLine, Qt::LeftButton);
    QVERIFY(!e.Dialog->isVisible());  // no glow selected

    e.Doc.Selection.EditGlow = 1;
    const struct {
        QLabel* Line;
        const char* Title;
    } lines[] = {{e.Panel->CoreColorBar, "Core Color"}, {e.Panel->OuterColorBar, "Outer Color"}, {e.Panel->PointLine, "Center Point"},
                 {e.Panel->VectorLine, "Main Vector"}, {e.Panel->Density0Line, "Denisty 0"},  {e.Panel->Density1Line, "Denisty 1"},
                 {e.Panel->Density2Line, "Denisty 2"}};
    for (int row = 0; row < int(std::size(lines)); ++row) {
        QTest::mouseClick(lines[row].Line, Qt::LeftButton);
        QVERIFY(e.Dialog->isVisible());
        QCOMPARE(e.Dialog->TitleLabel->text(), QString(lines[row].Title));
        QCOMPARE(e.Panel->ItemList->SelectedRow(), row);
        QCOMPARE(e.Dialog->Glow(), (TGlowIndex{0, 1}));
    }
    QCOMPARE(e.FileBytes(), e.Original);
}
