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

class TCol : public QDialog {
    Q_OBJECT
public:
    explicit TCol(QWidget* parent = nullptr);

    QListWidget* LB = nullptr;
    QWidget* CPC = nullptr;  // the preview
    QWidget* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* BitBtn1 = nullptr;  // "OK"
    QPushButton* BitBtn2 = nullptr;  // "Cancel"

    void LBClick();
    void LBDblClick();
    // Stores a screen colour 0x00BBGGRR into ViewColors[entry].
    void SetAColor(uint32_t colour, int entry);
    // Shows ViewColors[entry] on CPC.
    void DisplayColor(int entry);

    // The colour the chooser returned last. The chooser opens on the entry
    // in hand, or on this one (black at first) when no entry is selected.
    QColor CDColor = Qt::black;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The first selected entry from the top, or ViewColorCount for none.
    int EntryInHand() const;
};

// The one colour settings dialog; created after the edit dialog.
extern TCol* Col;
