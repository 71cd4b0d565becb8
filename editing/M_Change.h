#pragma once
// The value edit dialog "EDIT": changes one value of the glow DialogGlow and
// writes the glow into the working copy when it closes through a button.

#include <QColor>
#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>

#include "glow_write.h"

class QLabel;
class QPushButton;
class QTableWidget;
class QWidget;

// The colour chooser: opens on Color, which the caller sets to the colour
// being edited, so that accepting it unchanged keeps that colour.
class TColorDialog {
public:
    QColor Color = Qt::black;
    // True when the user chose a colour; it is then in Color.
    bool Execute(QWidget* parent);
};

class TMCh : public QDialog {
    Q_OBJECT
public:
    // parent: the glow panel, so that the dialog stays above it.
    explicit TMCh(QWidget* parent = nullptr);
    ~TMCh() override;

    // Writes DialogGlow into the working copy.
    void WriteFile();
    // Write, refresh the panel, hide the buttons and the dialog, redraw.
    // before: DialogGlow as it was before the button changed it.
    void HideAll(const TEngineGlow& before);
    // Hide the buttons and the dialog, redraw; nothing is written.
    void HideMost();
    // The panel moved off DialogGlow: hide the buttons and the dialog without
    // writing; the panel's own redraw follows.
    void Dismiss();
    // Another model is being opened: hide the dialog and drop DialogGlow so
    // nothing is stored into or written from a glow of the previous model.
    void ForgetModel();

    // Button handlers.
    void BBMan1Click();
    void BBColorClick();
    void BBCenterClick();
    void BitBtn1Click();

    // A colour as the chooser gives it (0x00BBGGRR) as a colour word
    // (0x00RRGGBB, alpha 0).
    static uint32_t ReverseCol(uint32_t p);

    // The text of grid cell (col, row); a cell being edited in place gives
    // what has been typed into it.
    QString Cell(int col, int row);
    void SetCell(int col, int row, const QString& text);
    // Fills row 1 with the three values as the grid shows them, and "0".
    void ShowValues(const std::array<float, 3>& values);

    QLabel* L1 = nullptr;
    QTableWidget* SG = nullptr;
    QWidget* Panel1 = nullptr;
    QPushButton* BBMan1 = nullptr;
    QPushButton* BBCenter = nullptr;
    QPushButton* BBColor = nullptr;
    QPushButton* BitBtn1 = nullptr;
    TColorDialog CD1;

    void setVisible(bool visible) override;

signals:
    // The view must be drawn anew; connected as the glow panel's is.
    void RedrawRequested();
    // A button wrote DialogGlow into the working copy.
    void GlowsWritten(const TGlowEdit& edit);
    // The dialog closed while it had the keyboard (a button or its title
    // bar): the window whose keys move the camera and selection takes it
    // back. Without this no window would have it without a window manager,
    // and a window manager would give it to the glow panel.
    void KeyboardReleased();

private:
    // A value that ShowValues put into row 1, and the text it showed there.
    struct TShownValue {
        QString Text;
        float Value;
    };
    // The grid shows few decimals: a cell whose text is still the text shown
    // gives back the stored value, so Man Ok changes only what was typed.
    std::array<std::optional<TShownValue>, 3> Shown;
    // DialogGlow as the working copy holds it, while a write of it has failed.
    std::optional<TEngineGlow> InWorkingCopy;

    void HideButtons();
    void CommitCellEdit();
    // Whether the user changed the text of row 1's cell col from what
    // ShowValues put there.
    bool CellTouched(int col);
    float CellValue(int col);
};

// The one edit dialog; created after the glow panel.
extern TMCh* MCh;
