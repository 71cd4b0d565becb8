#pragma once
// "Set Colors": the modal dialog in which a click on a list entry shows its
// drawing colour and a double click picks a new one, stored at once in the
// colour table it is given and in Colors.dat.

#include <QColor>
#include <QDialog>
#include <cstdint>
#include <string>

#include "view_colors.h"

class QLabel;
class QListWidget;
class QPushButton;

class TColorSettings : public QDialog {
    Q_OBJECT
public:
    // dataDir: the folder whose Colors.dat keeps the colours; colors: the
    // table the view draws with, which the dialog changes.
    TColorSettings(std::string dataDir, TColorTable& colors, QWidget* parent = nullptr);

    QListWidget* EntryList = nullptr;
    QWidget* Preview = nullptr;
    QWidget* ButtonArea = nullptr;
    QLabel* HintLabel = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

    void ShowSelectedEntry();
    void ChooseEntryColor();
    // Stores a screen colour 0x00BBGGRR into the table's entry.
    void SetEntryColor(uint32_t colour, int entry);
    // Shows the table's entry on Preview.
    void ShowEntryColor(int entry);

    // The colour the chooser returned last. The chooser opens on the entry
    // in hand, or on this one (black at first) when no entry is selected.
    QColor LastChosen = Qt::black;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The first selected entry from the top, or ViewColorCount for none.
    int EntryInHand() const;

    const std::string DataDir;
    TColorTable& Colors;
};
