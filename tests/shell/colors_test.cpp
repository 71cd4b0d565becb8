// The "Set Colors" dialog: what it shows, what a double click stores and
// writes, and the colour chooser's starting colour.

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cstring>

#include "color_settings.h"
#include "main_window.h"
#include "app_fixture.h"
#include "test_models.h"
#include "view_panel.h"
#include "view_colors.h"

namespace {

QColor Preview()
{
    return ColorSettings()->Preview->palette().color(QPalette::Window);
}

// A double click as the window system delivers it: press, release, double
// click, release.
void DoubleClickAt(QPoint pos)
{
    QWidget* viewport = ColorSettings()->EntryList->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, pos);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, pos);
}

void DoubleClickRow(int row)
{
    DoubleClickAt(ColorSettings()->EntryList->visualItemRect(ColorSettings()->EntryList->item(row)).center());
}

// A double click below the last item, where no entry is.
void DoubleClickEmptyPart()
{
    DoubleClickAt(QPoint(20, ColorSettings()->EntryList->viewport()->height() - 3));
}

}  // namespace

class TColorTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        MakeFresh(App);
        QVERIFY(App->StartWithSampleColors());
        Path = App->DataFolder() + "Colors.dat";
    }
    void cleanup() { App.reset(); }

    void Layout()
    {
        QCOMPARE(ColorSettings()->windowTitle(), QString("Set Colors"));
        QCOMPARE(ColorSettings()->size(), QSize(348, 228));
        QStringList items;
        for (int i = 0; i < ColorSettings()->EntryList->count(); ++i)
            items << ColorSettings()->EntryList->item(i)->text();
        QCOMPARE(items, QStringList({"Mesh Lines", "Selected", "Point", "X Vector", "Y Vector", "Z Vector", "Cone"}));
        QCOMPARE(ColorSettings()->HintLabel->text(), QString("Click to view color , double click to set"));
        QCOMPARE(ColorSettings()->OkButton->text(), QString("OK"));
        QCOMPARE(ColorSettings()->CancelButton->text(), QString("Cancel"));
        QVERIFY(ColorSettings()->OkButton->isDefault());
    }

    void PureRedForSelected()
    {
        const std::vector<uint8_t> before = ReadBytes(Path);
        App->Dialogs.ColorAnswers.push_back(QColor(255, 0, 0));
        RunDialog([] { DoubleClickRow(1); });
        QCOMPARE(App->Dialogs.ColorRequests.size(), size_t(1));
        QVERIFY(Colors()[1].Red == 1.0f && Colors()[1].Green == 0.0f && Colors()[1].Blue == 0.0f);
        QCOMPARE(Preview(), QColor(255, 0, 0));
        std::vector<uint8_t> expected = before;
        const uint8_t red[12] = {0, 0, 0x80, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0};
        std::memcpy(expected.data() + 12, red, 12);
        QVERIFY(ReadBytes(Path) == expected);
        QVERIFY(App->Dialogs.Messages.empty());
    }

    // The chooser opens on the colour of the entry in hand, so accepting it
    // unchanged keeps the entry; with no entry, on the colour it returned last.
    void ChooserOpensOnTheEntrysColour()
    {
        const std::vector<uint8_t> before = ReadBytes(Path);
        App->Dialogs.ColorAnswers.push_back(QColor());
        App->Dialogs.ColorAnswers.push_back(QColor(0, 128, 0));
        App->Dialogs.ColorAnswers.push_back(std::nullopt);
        RunDialog([] {
            DoubleClickRow(5);  // accepted as it opens
            DoubleClickRow(4);
            ColorSettings()->EntryList->clearSelection();
            DoubleClickEmptyPart();  // cancelled
        });
        // The sample entries 5 and 4 as the screen shows them.
        const std::vector<QColor> opened = {QColor(183, 195, 207), QColor(147, 159, 171), QColor(0, 128, 0)};
        QVERIFY(App->Dialogs.ColorRequests == opened);
        // 128 is stored as 128 / 255 and shown again as 128.
        std::vector<uint8_t> expected = before;
        const uint8_t green[12] = {0, 0, 0, 0, 0x81, 0x80, 0x00, 0x3F, 0, 0, 0, 0};
        std::memcpy(expected.data() + 48, green, 12);
        QVERIFY(ReadBytes(Path) == expected);
        ColorSettings()->EntryList->setCurrentRow(4);
        QCOMPARE(Preview(), QColor(0, 128, 0));
    }

    void CancelledChooserWritesNothing()
    {
        const std::vector<uint8_t> before = ReadBytes(Path);
        Colors()[3] = {0.25f, 0.5f, 0.75f};  // differs from the file: a write would show
        App->Dialogs.ColorAnswers.push_back(std::nullopt);
        RunDialog([] { DoubleClickRow(2); });
        QCOMPARE(App->Dialogs.ColorRequests.size(), size_t(1));
        QVERIFY(ReadBytes(Path) == before);
        QVERIFY(Colors()[2].Red == GetRecord(before, 2).Red);
    }

    void NoEntrySelectedStillRewrites()
    {
        Colors()[3] = {0.25f, 0.5f, 0.75f};
        App->Dialogs.ColorAnswers.push_back(QColor(1, 2, 3));
        RunDialog([] {
            ColorSettings()->EntryList->clearSelection();
            DoubleClickEmptyPart();
        });
        QCOMPARE(App->Dialogs.ColorRequests.size(), size_t(1));
        const std::vector<uint8_t> bytes = ReadBytes(Path);
        QCOMPARE(bytes.size(), size_t(84));
        QCOMPARE(std::memcmp(bytes.data(), Colors().data(), 84), 0);  // the table as it is now
        QVERIFY(GetRecord(bytes, 3).Red == 0.25f);
        for (int i = 0; i < ViewColorCount; ++i)
            QVERIFY(Colors()[i].Red != 1 / 255.0f);  // the chosen colour went nowhere
    }

    // A click on blank space, or with Ctrl on the entry, keeps the entry
    // selected, as a list box does, so a double click there stores the
    // colour into that entry.
    void BlankSpaceKeepsTheSelection()
    {
        App->Dialogs.ColorAnswers.push_back(QColor(0, 0, 255));
        RunDialog([] {
            QTest::mouseClick(ColorSettings()->EntryList->viewport(), Qt::LeftButton, {}, ColorSettings()->EntryList->visualItemRect(ColorSettings()->EntryList->item(3)).center());
            QTest::mouseClick(ColorSettings()->EntryList->viewport(), Qt::LeftButton, {}, QPoint(20, ColorSettings()->EntryList->viewport()->height() - 3));
            QVERIFY(ColorSettings()->EntryList->item(3)->isSelected());
            // Nor does a click with Ctrl on the selected entry clear it.
            QTest::mouseClick(ColorSettings()->EntryList->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              ColorSettings()->EntryList->visualItemRect(ColorSettings()->EntryList->item(3)).center());
            QVERIFY(ColorSettings()->EntryList->item(3)->isSelected());
            DoubleClickEmptyPart();
        });
        QCOMPARE(App->Dialogs.ColorRequests.size(), size_t(1));
        QVERIFY(Colors()[3].Red == 0.0f && Colors()[3].Green == 0.0f && Colors()[3].Blue == 1.0f);
        QVERIFY(GetRecord(ReadBytes(Path), 3).Blue == 1.0f);
        QVERIFY(ColorSettings()->EntryList->item(3)->isSelected());
    }

    void ClickShowsAndReopeningKeepsTheEntry()
    {
        const QColor face = Preview();
        RunDialog([] { QTest::mouseClick(ColorSettings()->EntryList->viewport(), Qt::LeftButton, {}, ColorSettings()->EntryList->visualItemRect(ColorSettings()->EntryList->item(2)).center()); });
        const QColor expected(75, 87, 99);  // sample entry 2
        QCOMPARE(Preview(), expected);
        QVERIFY(expected != face);
        RunDialog([] {});
        QCOMPARE(ColorSettings()->EntryList->currentRow(), 2);
        QCOMPARE(Preview(), expected);
    }

    void EnterAcceptsEscapeCancelsAndTheViewIsRedrawn()
    {
        int result = -1;
        App->Dialogs.ModalScript = [&](QDialog* dialog) {
            QTest::keyClick(dialog, Qt::Key_Return);
            result = dialog->result();
            return result;
        };
        // A model on show: the view draws only once a model is open.
        const std::string model = App->Folder.File("ship.opt");
        WriteModel(model, {{1, 1}});
        App->Dialogs.OpenAnswers.push_back(QString::fromStdString(model));
        MainWindow()->Items().OpenAction->trigger();
        const int frames = MainWindow()->View()->FramesShown();
        MainWindow()->Items().SetColorsAction->trigger();
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(MainWindow()->View()->FramesShown() > frames);  // redrawn after the dialog
        App->Dialogs.ModalScript = [&](QDialog* dialog) {
            QTest::keyClick(dialog, Qt::Key_Escape);
            result = dialog->result();
            return result;
        };
        MainWindow()->Items().SetColorsAction->trigger();
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(App->Dialogs.ModalCount, 2);
    }

private:
    static TColorF GetRecord(const std::vector<uint8_t>& bytes, int entry)
    {
        TColorF c;
        std::memcpy(&c, bytes.data() + 12 * entry, 12);
        return c;
    }

    // Opens "Set Colors" from the menu and runs actions in it.
    template <typename F>
    void RunDialog(F actions)
    {
        App->Dialogs.ModalScript = [&](QDialog*) {
            actions();
            return int(QDialog::Accepted);
        };
        MainWindow()->Items().SetColorsAction->trigger();
        App->Dialogs.ModalScript = nullptr;
    }

    std::unique_ptr<TAppFixture> App;
    std::string Path;
};

int RunColorTests(int argc, char** argv)
{
    TColorTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "colors_test.moc"
