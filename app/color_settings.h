#pragma once
// "Set Colors": the modal dialog in which a click on a list entry shows its
// drawing colour and a double click picks a new one, stored at once in
// ViewColors and Colors.dat.

#include <QColor>
#include <QDialog>
#include <cstdint>

class QLabel;
class QListWidget;
class QPushButton;

class TColorSettings : public QDialog {
    Q_OBJECT
public:
    explicit TColorSettings(QWidget* parent = nullptr);

    QListWidget* EntryList = nullptr;
    QWidget* Preview = nullptr;  // the preview
    QWidget* ButtonArea = nullptr;
    QLabel* HintLabel = nullptr;
    QPushButton* OkButton = nullptr;  // "OK"
    QPushButton* CancelButton = nullptr;  // "Cancel"

    void ShowSelectedEntry();
    void ChooseEntryColor();
    // Stores a screen colour 0x00BBGGRR into ViewColors[entry].
    void SetEntryColor(uint32_t colour, int entry);
    // Shows ViewColors[entry] on Preview.
    void ShowEntryColor(int entry);

    // The colour the chooser returned last. The chooser opens on the entry
    // in hand, or on this one (black at first) when no entry is selected.
    QColor LastChosen = Qt::black;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The first selected entry from the top, or ViewColorCount for none.
    int EntryInHand() const;
};

// The one colour settings dialog; created after the edit dialog.
extern TColorSettings* Col;
