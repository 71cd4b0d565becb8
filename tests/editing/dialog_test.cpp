// The value edit dialog: opening it from the panel's list, Man Ok, Color,
// Center and Close with valid and invalid cells, and what each leaves in the
// working copy.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <bit>
#include <limits>

#include "open_document.h"
#include "click_list.h"
#include "conversions.h"
#include "glow_fixture.h"
#include "keyboard_focus.h"
#include "model.h"

class DialogTest : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheClickedItem();
    void opensEachItemWithItsTitleAndButtons();
    void manOkStoresPointAndVector();
    void manOkKeepsUntouchedCellsAndEveryTypedKey();
    void dialogStaysOnTheGlowThePanelShows();
    void manOkWithBadCellStoresNothing();
    void densityRange();
    void manOkTakesTextBeingTyped();
    void relativeValueWorksOnEachGlowsOwn();
    void keysTypedAsItOpensGoIntoTheFirstCell();
    void returnConfirmsUnlessItEndsACellsEdit();
    void colorWithAlpha();
    void typedColorShowsAndIsWhereTheChooserOpens();
    void colorErrorsStoreNothing();
    void titleDecidesCoreOrOuter();
    void reverseCol();
    void centerOfSelectedFace();
    void centerNeedsAFace();
    void centerLeavesGlowsThatWouldNotBeFinite();
    void closeRewritesTheSameBytes();
    void titleBarCloseWritesNothing();
    void forgetModelDropsTheGlow();
    void failedWriteKeepsTheDialogOpen();
};

namespace {

// Opens the dialog on LB item `row` for glow `glow` of mesh `mesh`.
void Open(TGlowEditing& e, int mesh, int glow, int row)
{
    e.SelectMesh(mesh);
    e.Doc.Selection.EditGlow = glow;
    e.Panel->ItemList->setCurrentRow(row);
    e.Panel->OpenSelectedItem();
}

void SetRow1(TGlowEditing& e, const QStringList& cells)
{
    for (int col = 0; col < cells.size(); ++col)
        e.Dialog->SetCell(col, 1, cells[col]);
}

QStringList Row(TGlowEditing& e, int row)
{
    QStringList cells;
    for (int col = 0; col < 4; ++col)
        cells << e.Dialog->Cell(col, row);
    return cells;
}

bool Visible(QWidget* w)
{
    return w->isVisibleTo(w->window());
}

}  // namespace

void DialogTest::opensOnTheClickedItem()
{
    TGlowEditing e({SampleMesh(2)});
    e.SelectMesh(0);
    e.Panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(e.Panel.get()));
    e.Doc.Selection.EditGlow = 1;
    TClickList* lb = e.Panel->ItemList;
    lb->scrollToItem(lb->item(0));
    QTest::mouseClick(lb->viewport(), Qt::LeftButton, {}, lb->visualItemRect(lb->item(0)).center());

    QVERIFY(e.Dialog->isVisible());
    QCOMPARE(e.Dialog->Glow(), (TGlowIndex{0, 1}));
    QCOMPARE(e.Dialog->windowTitle(), QString("EDIT"));
    QCOMPARE(e.Dialog->TitleLabel->text(), QString("Core Color"));
    // Core 80FF8001 of sample glow 1.
    QCOMPARE(Row(e, 0), QStringList({"Alpha", "Red", "Green", "Blue"}));
    QCOMPARE(Row(e, 1), QStringList({"128", "255", "128", "1"}));
    QVERIFY(!(e.Dialog->Grid->item(0, 0)->flags() & Qt::ItemIsEditable));
    QVERIFY(e.Dialog->Grid->item(1, 0)->flags() & Qt::ItemIsEditable);
    QVERIFY(Visible(e.Dialog->ColorButton) && Visible(e.Dialog->CloseButton));
    QVERIFY(!Visible(e.Dialog->StoreButton) && !Visible(e.Dialog->CenterButton));
    QVERIFY(!e.Dialog->Pending(TGlowValue::Center) && !e.Dialog->Pending(TGlowValue::MainVec) && !e.Dialog->Pending(TGlowValue::Density0));

    // Clicking the same item again opens it afresh.
    e.Dialog->SetCell(0, 1, "7");
    QTest::mouseClick(lb->viewport(), Qt::LeftButton, {}, lb->visualItemRect(lb->item(0)).center());
    QCOMPARE(e.Dialog->Cell(0, 1), QString("128"));

    // Moving the selection with the keyboard opens the item it moves to.
    QTest::keyClick(lb, Qt::Key_Down);
    QCOMPARE(e.Dialog->TitleLabel->text(), QString("Outer Color"));
    QCOMPARE(e.Dialog->Cell(0, 1), QString("18"));

    const struct {
        QPushButton* Button;
        const char* Caption;
        int Left;
        const char* Hint;
    } buttons[] = {{e.Dialog->StoreButton, "Man Ok", 10, "Make change sin Boxes then click to confirm"},
                   {e.Dialog->CenterButton, "Center", 90, "centers POint in selected Face"},
                   {e.Dialog->ColorButton, "Color", 170, "Set Alpha then click to change color"},
                   {e.Dialog->CloseButton, "&Close", 250, "Hides this window"}};
    for (const auto& b : buttons) {
        QCOMPARE(b.Button->text(), QString(b.Caption));
        QCOMPARE(b.Button->geometry(), QRect(b.Left, 15, 75, 25));
        QCOMPARE(b.Button->toolTip(), QString(b.Hint));
    }
}

void DialogTest::opensEachItemWithItsTitleAndButtons()
{
    std::vector<TMeshSpec> meshes = {SampleMesh(1)};
    meshes[0].Glows[0].Center = {1.0f, -2.5f, 0.3f};
    TGlowEditing e(meshes);
    DecimalSeparator = ',';
    const QStringList header = {"X width", "Y height", "Z length", "Not Used"};

    Open(e, 0, 0, 2);
    QVERIFY(e.Dialog->Pending(TGlowValue::Center) && !e.Dialog->Pending(TGlowValue::MainVec));
    QCOMPARE(e.Dialog->TitleLabel->text(), QString("Center Point"));
    QCOMPARE(Row(e, 0), header);
    QCOMPARE(Row(e, 1), QStringList({"1,00", "-2,50", "0,30", "0"}));
    QVERIFY(Visible(e.Dialog->StoreButton) && Visible(e.Dialog->CenterButton) && !Visible(e.Dialog->ColorButton));

    const struct {
        int Row;
        const char* Title;
        TGlowValue Mark;
    } items[] = {{3, "Main Vector", TGlowValue::MainVec},
                 {4, "Denisty 0", TGlowValue::Density0},
                 {5, "Denisty 1", TGlowValue::Density1},
                 {6, "Denisty 2", TGlowValue::Density2}};
    for (const auto& item : items) {
        Open(e, 0, 0, item.Row);
        QCOMPARE(e.Dialog->TitleLabel->text(), QString(item.Title));
        QCOMPARE(Row(e, 0), header);
        QVERIFY(e.Dialog->Pending(item.Mark));
        QVERIFY(!e.Dialog->Pending(TGlowValue::Center));  // marks of the item opened before are gone
        QVERIFY(Visible(e.Dialog->StoreButton) && !Visible(e.Dialog->CenterButton) && !Visible(e.Dialog->ColorButton));
    }
    QCOMPARE(Row(e, 1), QStringList({"0,00", "0,38", "0,62", "0"}));

    Open(e, 0, 0, 1);
    QCOMPARE(e.Dialog->TitleLabel->text(), QString("Outer Color"));
    QCOMPARE(Row(e, 1), QStringList({"17", "34", "51", "68"}));
    QVERIFY(!e.Dialog->Pending(TGlowValue::Density2));
    QVERIFY(Visible(e.Dialog->ColorButton) && !Visible(e.Dialog->StoreButton));
    QCOMPARE(e.FileBytes(), e.Original);  // opening writes nothing
}

void DialogTest::manOkStoresPointAndVector()
{
    TGlowEditing e({SampleMesh(3)});
    TEngineGlow* g = e.AllGlows()[2];
    const TEngineGlow before = *g;
    DecimalSeparator = ',';
    Open(e, 0, 2, 3);
    SetRow1(e, {"-3,5", "2", "100", "junk"});  // the fourth cell is not read
    QTest::mouseClick(e.Dialog->StoreButton, Qt::LeftButton);

    QVERIFY(e.Dialogs.Messages.empty());
    QCOMPARE(g->MainVec.X, -3.5f);
    QCOMPARE(g->MainVec.Y, 2.0f);
    QCOMPARE(g->MainVec.Z, 100.0f);
    QCOMPARE(g->Center.X, before.Center.X);
    QVERIFY(!e.Dialog->Pending(TGlowValue::MainVec));
    QVERIFY(!e.Dialog->isVisible());
    QVERIFY(!Visible(e.Dialog->StoreButton));
    std::vector<uint8_t> expected = e.Original;
    PutField(expected, *g, VectorField, {-3.5f, 2, 100});
    QCOMPARE(e.FileBytes(), expected);
    QCOMPARE(e.Panel->VectorLine->text(), QString("Vector = -3,50 , 2,00 ,100,00 "));
}

void DialogTest::manOkKeepsUntouchedCellsAndEveryTypedKey()
{
    // Values that "%4.2f" cannot show.
    std::vector<TMeshSpec> meshes = {SampleMesh(1)};
    meshes[0].Glows[0].Center = {1.2345f, 0.0625f, 3.14159f};
    meshes[0].Glows[0].Density2 = {0.0625f, 0.3337f, 0.999f};
    TGlowEditing e(meshes);
    TEngineGlow* g = e.AllGlows()[0];
    DecimalSeparator = ',';
    Open(e, 0, 0, 2);
    QTableWidget* sg = e.Dialog->Grid;
    QCOMPARE(Row(e, 1), QStringList({"1,23", "0,06", "3,14", "0"}));
    QTRY_VERIFY(HasKeyboard(sg));

    // A click on the current cell (X) and typing at once: the first key
    // starts editing and replaces the text, no key is lost. (An edit start
    // delayed after the click would drop the keys typed before it.)
    QCOMPARE(sg->currentRow(), 1);
    QCOMPARE(sg->currentColumn(), 0);
    QTest::mouseClick(sg->viewport(), Qt::LeftButton, {}, sg->visualItemRect(sg->item(1, 0)).center());
    for (const char c : std::string("11,25"))
        QTest::keyClick(QApplication::focusWidget(), c);
    QCOMPARE(e.Dialog->Cell(0, 1), QString("11,25"));
    QTest::mouseClick(e.Dialog->StoreButton, Qt::LeftButton);
    QVERIFY(e.Dialogs.Messages.empty());
    std::vector<uint8_t> expected = e.Original;
    PutField(expected, *g, CenterField, {11.25f, 0.0625f, 3.14159f});
    QCOMPARE(e.FileBytes(), expected);

    // Confirmed without a change, the densities keep their stored bits.
    Open(e, 0, 0, 6);
    QCOMPARE(Row(e, 1), QStringList({"0,06", "0,33", "1,00", "0"}));
    e.Dialog->StoreTyped();
    QVERIFY(!e.Dialog->Pending(TGlowValue::Density2) && !e.Dialog->isVisible());
    QCOMPARE(e.FileBytes(), expected);
}

void DialogTest::dialogStaysOnTheGlowThePanelShows()
{
    TGlowEditing e({SampleMesh(3), SampleMesh(1, 3)});
    const auto glows = e.AllGlows();
    int redraws = 0;
    QObject::connect(e.Panel.get(), &TGlowPanel::RedrawRequested, [&] { ++redraws; });
    QObject::connect(e.Dialog, &TValueDialog::RedrawRequested, [&] { ++redraws; });

    // Select Next Glow moves the panel off the dialog's glow: the dialog
    // hides unwritten, so nothing confirmed in it can land on glow 0.
    Open(e, 0, 0, 3);
    SetRow1(e, {"7", "8", "9"});
    redraws = 0;
    QTest::mouseClick(e.Panel->NextGlowButton, Qt::LeftButton);
    QCOMPARE(e.Doc.Selection.EditGlow, 1);
    QVERIFY(!e.Dialog->isVisible());
    QVERIFY(!e.Dialog->Pending(TGlowValue::MainVec));
    QCOMPARE(redraws, 1);  // the panel's own
    QCOMPARE(e.FileBytes(), e.Original);

    // A refresh that stays on the glow keeps the dialog and its mark.
    Open(e, 0, 1, 4);
    e.Panel->ShowGlow();
    QVERIFY(e.Dialog->isVisible() && e.Dialog->Pending(TGlowValue::Density0));
    SetRow1(e, {"0", "0.5", "1"});
    QTest::mouseClick(e.Dialog->StoreButton, Qt::LeftButton);
    std::vector<uint8_t> expected = e.Original;
    PutField(expected, *glows[1], Density0Field, {0, 0.5f, 1});
    QCOMPARE(e.FileBytes(), expected);

    // A refresh onto another mesh hides it as well.
    Open(e, 0, 1, 1);
    e.SelectMesh(1);
    e.Panel->ShowGlow();
    QVERIFY(!e.Dialog->isVisible());
    QCOMPARE(e.FileBytes(), expected);
    QVERIFY(e.Dialogs.Messages.empty());
}

void DialogTest::manOkWithBadCellStoresNothing()
{
    TGlowEditing e({SampleMesh(1)});
    TEngineGlow* g = e.AllGlows()[0];
    Open(e, 0, 0, 2);
    SetRow1(e, {"1", "abc", "2"});
    e.Dialog->StoreTyped();
    QCOMPARE(e.Dialogs.TakeMessages(), QStringList({"EConvertError\n'abc' is not a valid floating point value"}));
    QVERIFY(!e.Dialogs.Messages.size());
    QCOMPARE(g->Center.X, SampleGlow(0).Center.X);
    QVERIFY(e.Dialog->Pending(TGlowValue::Center));
    QVERIFY(e.Dialog->isVisible() && Visible(e.Dialog->StoreButton));
    QCOMPARE(e.FileBytes(), e.Original);

    // With a comma locale a point is not a decimal separator.
    DecimalSeparator = ',';
    SetRow1(e, {"1.5", "0", "0"});
    e.Dialog->StoreTyped();
    QCOMPARE(e.Dialogs.TakeMessages(), QStringList({"EConvertError\n'1.5' is not a valid floating point value"}));
    QCOMPARE(e.FileBytes(), e.Original);
}

void DialogTest::densityRange()
{
    std::vector<TMeshSpec> meshes = {SampleMesh(1)};
    meshes[0].Glows[0].Density1.Z = 1.004f;
    TGlowEditing e(meshes);
    TEngineGlow* g = e.AllGlows()[0];
    const QString range = "Value not 0.0 to 1.0 ! Exiting ";

    // Only the cells the user changed are checked: the stored 1.004, shown as
    // "1.00", stays as it is.
    Open(e, 0, 0, 5);
    QCOMPARE(e.Dialog->Cell(2, 1), QString("1.00"));
    e.Dialog->SetCell(0, 1, "0.5");
    e.Dialog->StoreTyped();
    QVERIFY(e.Dialogs.Messages.empty());
    std::vector<uint8_t> expected = e.Original;
    PutField(expected, *g, Density1Field, {0.5f, 0.75f, 1.004f});
    QCOMPARE(e.FileBytes(), expected);

    Open(e, 0, 0, 5);
    for (const QStringList& bad : {QStringList{"0", "1", "1.01"}, QStringList{"2", "3", "0.5"},
                                   QStringList{"-0.01", "0", "0"}}) {
        SetRow1(e, bad);
        e.Dialog->StoreTyped();
        QCOMPARE(e.Dialogs.TakeMessages(), QStringList({range}));
        QVERIFY(e.Dialog->Pending(TGlowValue::Density1));
        QVERIFY(e.Dialog->isVisible());
        QCOMPARE(g->Density1.X, 0.5f);
        QCOMPARE(e.FileBytes(), expected);
    }
    SetRow1(e, {"0", "1", "0.5"});
    e.Dialog->StoreTyped();
    QVERIFY(e.Dialogs.Messages.empty());
    QCOMPARE(g->Density1.X, 0.0f);
    QCOMPARE(g->Density1.Y, 1.0f);
    QCOMPARE(g->Density1.Z, 0.5f);
    QVERIFY(!e.Dialog->Pending(TGlowValue::Density1) && !e.Dialog->isVisible());
    PutField(expected, *g, Density1Field, {0, 1, 0.5f});
    QCOMPARE(e.FileBytes(), expected);

    // The centre point takes values outside 0..1.
    Open(e, 0, 0, 2);
    SetRow1(e, {"-5", "2", "1e3"});
    e.Dialog->StoreTyped();
    QVERIFY(e.Dialogs.Messages.empty());
    QCOMPARE(g->Center.Z, 1000.0f);
}

void DialogTest::manOkTakesTextBeingTyped()
{
    TGlowEditing e({SampleMesh(1)});
    TEngineGlow* g = e.AllGlows()[0];
    Open(e, 0, 0, 3);
    QTRY_VERIFY(HasKeyboard(e.Dialog->Grid));
    e.Dialog->Grid->setCurrentCell(1, 1);
    e.Dialog->Grid->editItem(e.Dialog->Grid->item(1, 1));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, "42.5");
    e.Dialog->StoreButton->click();  // no focus change
    QCOMPARE(g->MainVec.Y, 42.5f);
    std::vector<uint8_t> expected = e.Original;
    PutField(expected, *g, VectorField, {SampleGlow(0).MainVec.X, 42.5f, SampleGlow(0).MainVec.Z});
    QCOMPARE(e.FileBytes(), expected);
}

// "+=2" typed into Y with three glows selected: the cell keeps the text, the
// view shows and Man Ok writes each glow's own Y plus 2; "/=0" is refused.
void DialogTest::relativeValueWorksOnEachGlowsOwn()
{
    TGlowEditing e({SampleMesh(3)});
    const auto glows = e.AllGlows();
    const auto openCenter = [&] {
        Open(e, 0, 2, 2);
        QVERIFY(e.Dialog->Glow() == (TGlowIndex{0, 2}));
        QTRY_VERIFY(HasKeyboard(e.Dialog->Grid));
    };
    e.SelectMesh(0);
    e.Doc.Selection.Glows = {{0, 0}, {0, 1}, {0, 2}};
    openCenter();
    const auto type = [&](const char* text) {
        e.Dialog->Grid->setCurrentCell(1, 1);
        e.Dialog->Grid->editItem(e.Dialog->Grid->item(1, 1));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, text);
    };
    const auto ownY = [](int n) { return SampleGlow(n).Center.Y; };

    type("+=2");
    QCOMPARE(e.Doc.Preview.At, (TGlowIndex{0, 2}));
    QCOMPARE(e.Doc.Preview.Values.Center.Y, ownY(2) + 2);
    QCOMPARE(e.Doc.Preview.Others.size(), size_t(2));
    for (const TGlowValues& other : e.Doc.Preview.Others)
        QCOMPARE(other.Values.Center.Y, ownY(other.At.Glow) + 2);
    QTest::keyClick(e.Dialog->windowHandle(), Qt::Key_Tab);
    QCOMPARE(e.Dialog->Cell(1, 1), QString("+=2"));
    QTest::mouseClick(e.Dialog->StoreButton, Qt::LeftButton);
    QVERIFY(e.Dialogs.Messages.empty());
    std::vector<uint8_t> expected = e.Original;
    for (int n = 0; n < 3; ++n) {
        const TFloat3 centre = SampleGlow(n).Center;
        PutField(expected, *glows[size_t(n)], CenterField, {centre.X, centre.Y + 2, centre.Z});
    }
    QCOMPARE(e.FileBytes(), expected);

    // While typed, the view shows the glows as stored; Man Ok says why it
    // writes nothing and stays open.
    openCenter();
    type("/=0");
    QCOMPARE(e.Doc.Preview.Values.Center.Y, ownY(2) + 2);
    e.Dialog->StoreTyped();
    QCOMPARE(e.Dialogs.TakeMessages(),
             QStringList({"Nothing was written: Y of glow 2 of mesh 0 would not be a finite number"}));
    QVERIFY(e.Dialog->isVisible() && e.Dialog->Pending(TGlowValue::Center));
    QCOMPARE(e.FileBytes(), expected);
}

// Whatever had the keyboard in the dialog before (here the Color button, a
// colour confirmed through it), keys typed as the point opens go into X.
void DialogTest::keysTypedAsItOpensGoIntoTheFirstCell()
{
    TGlowEditing e({SampleMesh(1)});
    e.SelectMesh(0);
    e.Doc.Selection.EditGlow = 0;
    e.Panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(e.Panel.get()));
    TClickList* lb = e.Panel->ItemList;
    const auto clickItem = [lb](int row) {
        lb->scrollToItem(lb->item(row));
        QTest::mouseClick(lb->viewport(), Qt::LeftButton, {}, lb->visualItemRect(lb->item(row)).center());
    };
    clickItem(0);
    QTRY_VERIFY(HasKeyboard(e.Dialog->Grid));
    e.Dialogs.ColorAnswers.push_back(QColor());
    QTest::mouseClick(e.Dialog->ColorButton, Qt::LeftButton);
    QVERIFY(!e.Dialog->isVisible());
    // Qt names the closed dialog as the focus window until the window system
    // has moved the keyboard on; opened again before that, it would seem to
    // have the keyboard at once, and the activation coming later would select
    // what the first key typed.
    QTRY_VERIFY_WITH_TIMEOUT(QGuiApplication::focusWindow() != e.Dialog->windowHandle(), 60000);

    clickItem(2);
    // Keys go where the window system has put the keyboard: once it has
    // given it to the dialog again, they reach the grid.
    QTRY_VERIFY(HasKeyboard(e.Dialog->Grid));
    for (const char c : std::string("5.5"))
        QTest::keyClick(e.Dialog->windowHandle(), c);
    QCOMPARE(e.Dialog->Cell(0, 1), QString("5.5"));
}

void DialogTest::returnConfirmsUnlessItEndsACellsEdit()
{
    TGlowEditing e({SampleMesh(1)});
    TEngineGlow* g = e.AllGlows()[0];
    Open(e, 0, 0, 3);
    QTRY_COMPARE(QGuiApplication::focusWindow(), e.Dialog->windowHandle());
    for (const char c : std::string("4.5"))
        QTest::keyClick(e.Dialog->windowHandle(), c);
    QTest::keyClick(e.Dialog->windowHandle(), Qt::Key_Return);
    // The first Return ends the cell's edit only.
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.Dialog->Grid));
    QVERIFY(e.Dialog->isVisible());
    QCOMPARE(e.FileBytes(), e.Original);
    QTest::keyClick(e.Dialog->windowHandle(), Qt::Key_Return);
    QVERIFY(!e.Dialog->isVisible());
    std::vector<uint8_t> expected = e.Original;
    PutField(expected, *g, VectorField, {4.5f, SampleGlow(0).MainVec.Y, SampleGlow(0).MainVec.Z});
    QCOMPARE(e.FileBytes(), expected);

    // On a colour, Return is the Color button.
    Open(e, 0, 0, 0);
    QTRY_COMPARE(QGuiApplication::focusWindow(), e.Dialog->windowHandle());
    e.Dialogs.ColorAnswers.push_back(QColor(255, 0, 0));
    QTest::keyClick(e.Dialog->windowHandle(), Qt::Key_Return);
    QVERIFY(!e.Dialog->isVisible());
    QCOMPARE(g->CoreColor & 0xFFFFFFu, 0xFF0000u);
}

void DialogTest::colorWithAlpha()
{
    TGlowEditing e({SampleMesh(1)});
    TEngineGlow* g = e.AllGlows()[0];
    const uint32_t outer = g->OuterColor;

    Open(e, 0, 0, 0);
    e.Dialog->SetCell(0, 1, "255");
    e.Dialog->SetCell(1, 1, "1");  // the chooser opens on it, and its answer is written
    e.Dialogs.ColorAnswers.push_back(QColor(255, 0, 0));
    QTest::mouseClick(e.Dialog->ColorButton, Qt::LeftButton);
    QCOMPARE(g->CoreColor, 0xFFFF0000u);
    QCOMPARE(g->OuterColor, outer);
    QVERIFY(!e.Dialog->isVisible());
    std::vector<uint8_t> expected = e.Original;
    PutField(expected, *g, CoreField, 0xFFFF0000u);
    QCOMPARE(e.FileBytes(), expected);
    QCOMPARE(e.Panel->CoreColorBar->palette().color(QPalette::Window), QColor(255, 0, 0));

    Open(e, 0, 0, 0);
    e.Dialog->SetCell(0, 1, "0");
    e.Dialogs.ColorAnswers.push_back(QColor(0x99, 0x66, 0x33));
    e.Dialog->ColorClicked();
    QCOMPARE(g->CoreColor, 0x00996633u);
    PutField(expected, *g, CoreField, 0x00996633u);
    QCOMPARE(e.FileBytes(), expected);

    // The chooser opens on the red, green and blue being edited.
    QCOMPARE(e.Dialogs.ColorRequests.size(), size_t(2));
    QCOMPARE(e.Dialogs.ColorRequests[0], QColor(1, 0x80, 0x00));
    QCOMPARE(e.Dialogs.ColorRequests[1], QColor(255, 0, 0));

    // Alpha alone changed, the chooser accepted as it opens: red, green and
    // blue stay as they were.
    Open(e, 0, 0, 1);
    e.Dialog->SetCell(0, 1, "100");
    e.Dialogs.ColorAnswers.push_back(QColor());
    QTest::mouseClick(e.Dialog->ColorButton, Qt::LeftButton);
    QCOMPARE(e.Dialogs.ColorRequests[2], QColor(0x22, 0x33, 0x44));
    PutField(expected, *g, OuterField, 0x64223344u);
    QCOMPARE(e.FileBytes(), expected);

    // Cancelled: nothing changes, the dialog stays open.
    Open(e, 0, 0, 1);
    e.Dialog->ColorClicked();
    QCOMPARE(g->OuterColor, 0x64223344u);
    QVERIFY(e.Dialog->isVisible());
    QVERIFY(e.Dialogs.Messages.empty());
}

// Green typed as 0: the view shows it at once, and the chooser opens on it.
void DialogTest::typedColorShowsAndIsWhereTheChooserOpens()
{
    TGlowEditing e({SampleMesh(1)});
    TEngineGlow* g = e.AllGlows()[0];
    Open(e, 0, 0, 0);
    QTRY_VERIFY(HasKeyboard(e.Dialog->Grid));
    e.Dialog->Grid->setCurrentCell(1, 2);
    QTest::keyClick(e.Dialog->windowHandle(), '0');
    QTest::keyClick(e.Dialog->windowHandle(), Qt::Key_Tab);
    QCOMPARE(e.Doc.Preview.At, (TGlowIndex{0, 0}));
    QCOMPARE(e.Doc.Preview.Values.CoreColor, 0x80FF0000u);
    QCOMPARE(e.FileBytes(), e.Original);
    e.Dialogs.ColorAnswers.push_back(QColor());  // accepted as it opens
    QTest::mouseClick(e.Dialog->ColorButton, Qt::LeftButton);
    QCOMPARE(e.Dialogs.ColorRequests, std::vector<QColor>{QColor(0xFF, 0, 0)});
    QCOMPARE(g->CoreColor, 0x80FF0000u);
}

void DialogTest::colorErrorsStoreNothing()
{
    TGlowEditing e({SampleMesh(1)});
    TEngineGlow* g = e.AllGlows()[0];
    const uint32_t core = g->CoreColor;
    Open(e, 0, 0, 0);
    for (const char* alpha : {"256", "-1"}) {
        e.Dialog->SetCell(0, 1, alpha);
        e.Dialogs.ColorAnswers.push_back(QColor(1, 2, 3));
        e.Dialog->ColorClicked();
        QCOMPARE(e.Dialogs.TakeMessages(), QStringList({"Alpha value not in range of 0 to 255"}));
    }
    e.Dialog->SetCell(0, 1, "x1");
    e.Dialogs.ColorAnswers.push_back(QColor(1, 2, 3));
    e.Dialog->ColorClicked();
    QCOMPARE(e.Dialogs.Messages.size(), size_t(1));
    QVERIFY(e.Dialogs.Messages[0].Error);
    QCOMPARE(e.Dialogs.Messages[0].Text, QString("'x1' is not a valid integer value."));
    QCOMPARE(g->CoreColor, core);
    QVERIFY(e.Dialog->isVisible() && Visible(e.Dialog->ColorButton));
    QCOMPARE(e.FileBytes(), e.Original);
}

void DialogTest::titleDecidesCoreOrOuter()
{
    TGlowEditing e({SampleMesh(1)});
    TEngineGlow* g = e.AllGlows()[0];
    const uint32_t core = g->CoreColor;
    Open(e, 0, 0, 0);
    Open(e, 0, 0, 1);  // the same dialog, now titled "Outer Color"
    e.Dialog->SetCell(0, 1, "16");
    e.Dialogs.ColorAnswers.push_back(QColor(0x33, 0x66, 0x99));
    e.Dialog->ColorClicked();
    QCOMPARE(g->CoreColor, core);
    QCOMPARE(g->OuterColor, 0x10336699u);
    std::vector<uint8_t> expected = e.Original;
    PutField(expected, *g, OuterField, 0x10336699u);
    QCOMPARE(e.FileBytes(), expected);
}

void DialogTest::reverseCol()
{
    QCOMPARE(TValueDialog::ReverseCol(0x00336699u), 0x00996633u);
    QCOMPARE(TValueDialog::ReverseCol(0xFF336699u), 0x00996633u);
    QCOMPARE(TValueDialog::ReverseCol(0x000000FFu), 0x00FF0000u);
    QCOMPARE(TValueDialog::ReverseCol(0x00FF0000u), 0x000000FFu);
}

void DialogTest::centerOfSelectedFace()
{
    std::vector<TMeshSpec> meshes = {SampleMesh(1), SampleMesh(1, 1)};
    meshes[1].Vertices.push_back({-6, 10, 3});
    meshes[1].Vertices.push_back({5, 1, -1});
    meshes[1].Faces.push_back(optbuild::Quad(1, 3, 4, 2));
    TGlowEditing e(meshes);
    TEngineGlow* g = e.AllGlows()[0];

    Open(e, 0, 0, 2);
    e.SelectFace(0, 0);  // the triangle (0,0,0) (2,0,0) (0,4,0)
    SetRow1(e, {"not", "read", "at all"});
    QTest::mouseClick(e.Dialog->CenterButton, Qt::LeftButton);
    QVERIFY(e.Dialogs.Messages.empty());
    QCOMPARE(g->Center.X, 1.0f);
    QCOMPARE(g->Center.Y, 2.0f);
    QCOMPARE(g->Center.Z, 0.0f);
    QVERIFY(e.Dialog->Pending(TGlowValue::Center));  // Center leaves the marks alone
    QVERIFY(!e.Dialog->isVisible());
    std::vector<uint8_t> expected = e.Original;
    PutField(expected, *g, CenterField, {1, 2, 0});
    QCOMPARE(e.FileBytes(), expected);

    // A face of another mesh; all four corners of a quad count.
    Open(e, 0, 0, 2);
    e.SelectFace(1, 1);
    e.Dialog->CenterClicked();
    QCOMPARE(g->Center.X, -0.5f);
    QCOMPARE(g->Center.Y, 5.0f);
    QCOMPARE(g->Center.Z, 1.0f);
    PutField(expected, *g, CenterField, {-0.5f, 5, 1});
    QCOMPARE(e.FileBytes(), expected);
}

void DialogTest::centerNeedsAFace()
{
    TGlowEditing e({SampleMesh(1)});
    TEngineGlow* g = e.AllGlows()[0];
    Open(e, 0, 0, 2);
    e.Dialog->CenterClicked();
    QCOMPARE(e.Dialogs.TakeMessages(), QStringList({"Select a Face"}));
    QVERIFY(e.Dialog->isVisible());

    e.SelectFace(0, 3);  // no such face
    e.Dialog->CenterClicked();
    QCOMPARE(e.Dialogs.Messages.size(), size_t(1));
    QCOMPARE(e.Dialogs.Messages[0].Text, QString("^TFaceL Index not valid: 3."));
    QVERIFY(e.Dialog->isVisible());
    QCOMPARE(g->Center.X, SampleGlow(0).Center.X);
    QCOMPARE(e.FileBytes(), e.Original);
}

// Center on several glows moves the others by as much as the glow edited:
// one whose centre would become infinite or no number is named and left as
// it is, the others are written. From a glow with no x, no glow has an
// offset along x; 3e38 more overflows; an x that is no number keeps its
// bits under a finite offset.
void DialogTest::centerLeavesGlowsThatWouldNotBeFinite()
{
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    // Another NaN than the edited glow's: one with its very bits would go
    // where it goes.
    const float otherNan = std::bit_cast<float>(std::bit_cast<uint32_t>(nan) | 1);
    TMeshSpec noX = SampleMesh(6), far = SampleMesh(4, 6);
    const float noXs[] = {nan, inf, 1e-45f, -0.0f, 5, otherNan};
    const float farXs[] = {-3e38f, 3e38f, 1, -inf};
    for (size_t i = 0; i < 6; ++i)
        noX.Glows[i].Center.X = noXs[i];
    noX.Glows[0].Center = {nan, -31, 0};
    for (size_t i = 0; i < 4; ++i)
        far.Glows[i].Center.X = farXs[i];
    TGlowEditing e({noX, far});
    const std::vector<TEngineGlow*> glows = e.AllGlows();
    std::vector<uint8_t> expected = e.Original;
    const auto centerAll = [&](int mesh, int count) {
        e.SelectMesh(mesh);
        e.Doc.Selection.EditGlow = 0;
        for (int g = 1; g < count; ++g)
            e.Doc.Selection.AddGlows({{mesh, g}}, e.Doc.Model);
        e.Panel->ItemList->setCurrentRow(2);
        e.Panel->OpenSelectedItem();
        e.SelectFace(mesh, 0);  // the triangle (0,0,0) (2,0,0) (0,4,0): centre (1, 2, 0)
        e.Dialog->CenterClicked();
    };

    centerAll(0, 6);
    QCOMPARE(e.Dialogs.TakeMessages(),
             QStringList({"5 glows were not moved, their centres would not be finite numbers: glow 1 of mesh 0, "
                          "glow 2 of mesh 0, glow 3 of mesh 0, glow 4 of mesh 0, glow 5 of mesh 0"}));
    PutField(expected, *glows[0], CenterField, {1, 2, 0});
    QCOMPARE(e.FileBytes(), expected);

    centerAll(1, 4);
    QCOMPARE(e.Dialogs.TakeMessages(),
             QStringList({"Glow 1 of mesh 1 was not moved: its centre would not be a finite number"}));
    // x goes from -3e38 to 1, y and z from 26 and -36 to 2 and 0.
    const double dx = 1 - double(-3e38f);
    const float dy = 2 - 26, dz = 0 + 36;
    PutField(expected, *glows[6], CenterField, {1, 2, 0});
    PutField(expected, *glows[8], CenterField, {float(1 + dx), 28 + dy, -38 + dz});
    PutField(expected, *glows[9], CenterField, {-inf, 29 + dy, -39 + dz});
    QCOMPARE(e.FileBytes(), expected);
    QCOMPARE(glows[7]->Center.X, 3e38f);
    QVERIFY(!e.Dialog->isVisible());
}

void DialogTest::closeRewritesTheSameBytes()
{
    TGlowEditing e({SampleMesh(2)});
    TEngineGlow* g = e.AllGlows()[1];
    Open(e, 0, 1, 4);
    // Spoil the block on disk: Close must write the glow back whole.
    e.Patch(g->FilePos + 4, std::vector<uint8_t>(68, 0xEE));
    e.Patch(g->FilePos, {0xEE});
    SetRow1(e, {"5", "5", "5"});
    QTRY_VERIFY(HasKeyboard(e.Dialog->Grid));
    // The access key of "&Close"; the button shows its press briefly first.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(!e.Dialog->isVisible());
    std::vector<uint8_t> expected = e.Original;
    expected[size_t(g->FilePos)] = 0xEE;  // byte +0 is never written
    QCOMPARE(e.FileBytes(), expected);
    QVERIFY(e.Dialog->Pending(TGlowValue::Density0));  // Close stores nothing
    QCOMPARE(g->Density0.X, SampleGlow(1).Density0.X);
}

void DialogTest::titleBarCloseWritesNothing()
{
    TGlowEditing e({SampleMesh(1)});
    TEngineGlow* g = e.AllGlows()[0];
    Open(e, 0, 0, 2);
    g->CoreColor = 0x01020304;  // in memory only
    e.Dialog->close();
    QVERIFY(!e.Dialog->isVisible());
    QVERIFY(Visible(e.Dialog->StoreButton) && Visible(e.Dialog->CenterButton));
    QCOMPARE(e.FileBytes(), e.Original);
}

void DialogTest::forgetModelDropsTheGlow()
{
    TGlowEditing e({SampleMesh(1)});
    Open(e, 0, 0, 3);
    e.Dialog->ForgetModel();
    QVERIFY(!e.Dialog->Glow());
    QVERIFY(!e.Dialog->isVisible());
    e.Doc.Model.Clear();
    // Nothing may reach a glow of the previous model any more.
    SetRow1(e, {"1", "2", "3"});
    e.Dialogs.ColorAnswers.push_back(QColor(1, 2, 3));
    e.Doc.Selection.SelectMode = 1;
    e.Dialog->StoreTyped();
    e.Dialog->ColorClicked();
    e.Dialog->CenterClicked();
    e.Dialog->CloseClicked();
    QVERIFY(e.Dialogs.Messages.empty());
    QCOMPARE(e.Dialogs.ColorRequests.size(), size_t(0));
    QCOMPARE(e.FileBytes(), e.Original);
}

void DialogTest::failedWriteKeepsTheDialogOpen()
{
    TGlowEditing e({SampleMesh(1)});
    TEngineGlow* g = e.AllGlows()[0];
    Open(e, 0, 0, 3);
    const QString lv = e.Panel->VectorLine->text();
    std::remove(e.Path.c_str());
    SetRow1(e, {"9", "8", "7"});
    e.Dialog->StoreTyped();
    QCOMPARE(e.Dialogs.Messages.size(), size_t(1));
    QVERIFY(e.Dialogs.Messages[0].Error);
    QCOMPARE(e.Dialogs.Messages[0].Text, QString::fromStdString("Cannot open file " + e.Path + "."));
    QCOMPARE(g->MainVec.X, SampleGlow(0).MainVec.X);  // as the file last held it
    QVERIFY(e.Dialog->isVisible());
    QVERIFY(Visible(e.Dialog->StoreButton));
    QCOMPARE(e.Panel->VectorLine->text(), lv);
}

QTEST_MAIN(DialogTest)
#include "dialog_test.moc"
