#pragma once
// The value edit dialog "EDIT": changes one value of the glow DialogGlow,
// and of the glows selected with it, and writes the glows into the working
// copy, through the document's edit history, when it closes through a
// button.

#include <QColor>
#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "glow_history.h"
#include "model.h"
#include "selection.h"

class QLabel;
class QPushButton;
class QTableWidget;
class QWidget;
class TOpenDocument;

// The colour chooser: opens on Color, which the caller sets to the colour
// being edited, so that accepting it unchanged keeps that colour.
class TColorChooser {
public:
    QColor Color = Qt::black;
    // True when the user chose a colour; it is then in Color. browsing is
    // told each colour the user moves to while the chooser is open.
    bool Execute(QWidget* parent, const std::function<void(const QColor&)>& browsing = {});
};

class TValueDialog : public QDialog {
    Q_OBJECT
public:
    // parent: the glow panel, so that the dialog stays above it; document:
    // the glows it edits, and the history its writes go through.
    TValueDialog(QWidget* parent, TOpenDocument& document);

    // The glow the dialog works on, kept while the panel moves on, and the
    // other glows selected with it as it opened: Man Ok, Color and Center
    // reach them all.
    TGlowIndex DialogGlow;
    std::vector<TGlowIndex> OtherGlows;
    // Which value of DialogGlow Man Ok stores the grid into.
    bool PendingPoint = false, PendingVector = false, PendingDensity0 = false, PendingDensity1 = false,
         PendingDensity2 = false;
    void ClearPendingMarks();

    // Gives each glow of glows its stored values changed by change, as one
    // edit through the edit history (which refreshes the panel and the
    // view); then hides the buttons and the dialog. A write that fails
    // throws, and the dialog stays open.
    void WriteFile(const std::vector<TGlowIndex>& glows, const std::function<void(TEngineGlow&)>& change);
    void WriteAndClose(const std::vector<TGlowIndex>& glows, const std::function<void(TEngineGlow&)>& change);
    // DialogGlow and OtherGlows.
    std::vector<TGlowIndex> DialogGlows() const;
    // Hide the buttons and the dialog, redraw; nothing is written.
    void CloseUnwritten();
    // The panel moved off DialogGlow: hide the buttons and the dialog without
    // writing; the panel's own redraw follows.
    void Dismiss();
    // Another model is being opened: hide the dialog and drop DialogGlow so
    // nothing is stored into or written from a glow of the previous model.
    void ForgetModel();

    // Button handlers.
    void ManOkClicked();
    void ColorClicked();
    void CenterClicked();
    void CloseClicked();

    // A colour as the chooser gives it (0x00BBGGRR) as a colour word
    // (0x00RRGGBB, alpha 0).
    static uint32_t ReverseCol(uint32_t p);

    // The text of grid cell (col, row); a cell being edited in place gives
    // what has been typed into it.
    QString Cell(int col, int row);
    void SetCell(int col, int row, const QString& text);
    // Fills row 1 with the three values as the grid shows them, and "0".
    void ShowValues(const std::array<float, 3>& values);

    // Shows the dialog on a colour word, the core colour or the outer one
    // (its four bytes, alpha first, and the Color button), or on three
    // numbers titled title (and Man Ok), with the keyboard in the first
    // value.
    void ShowColor(uint32_t w, bool core);
    void ShowPoint(const std::array<float, 3>& values, const QString& title);

    QLabel* TitleLabel = nullptr;
    QTableWidget* Grid = nullptr;
    QWidget* ButtonArea = nullptr;
    QPushButton* ManOkButton = nullptr;
    QPushButton* CenterButton = nullptr;
    QPushButton* ColorButton = nullptr;
    QPushButton* CloseButton = nullptr;
    TColorChooser ColorChooser;

    void setVisible(bool visible) override;

signals:
    // The view must be drawn anew; connected as the glow panel's is.
    void RedrawRequested();
    // The glow being edited is shown with other values than before
    // (the document's Preview): the values typed or chosen, or again those it holds.
    // Only the glows need drawing anew.
    void PreviewChanged();
    // The dialog closed while it had the keyboard (a button or its title
    // bar): the window whose keys move the camera and selection takes it
    // back. Without this no window would have it without a window manager,
    // and a window manager would give it to the glow panel.
    void KeyboardReleased();

protected:
    // Return confirms as the main button does (Man Ok or Color), unless it
    // ends the editing of a cell.
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class TTypingDelegate;
    // Shows the glow with the values the dialog would write now (the cells'
    // texts, typingText in cell typingCol while it is being typed, the
    // chooser's current colour); a text that is no number leaves its value
    // as stored. Nothing is written.
    void UpdatePreview(int typingCol = -1, const QString& typingText = {});
    // The glow shown as stored again; true when it was previewed.
    bool DropPreview();
    // word, a colour word, with the alpha, red, green and blue typed into
    // text(0) to text(3) where each is a number from 0 to 255.
    static uint32_t TypedColor(uint32_t word, const std::function<QString(int)>& text);
    // The dialog's values are on show in place of the stored ones.
    bool Previewing = false;
    // The colour the open chooser is on.
    std::optional<QColor> ChooserColor;
    // What the dialog is open on.
    enum TEditing { Nothing, CoreColor, OuterColor, Numbers } Editing = Nothing;

    // The texts ShowValues put into row 1. The grid shows few decimals: a
    // cell whose text is still the text shown keeps each glow's stored value,
    // so Man Ok changes only what was typed.
    std::array<std::optional<QString>, 3> Shown;
    // The alpha a colour was shown with: left so, each glow keeps its own.
    QString ShownAlpha;
    TOpenDocument& Document;

    void Open(const QString& title, const QStringList& header);
    // Glows were written, by another writer than the dialog (a drag, a copy
    // to all glows, an undo): a dialog open on one of them would show and
    // write values from before, so it goes, without writing.
    void FollowChange(const TGlowEdit& written);
    // The dialog's own write is under way.
    bool OwnWrite = false;
    void HideButtons();
    void CommitCellEdit();
    // A cell's in-place editor has the keyboard.
    bool EditingCell() const;
    // Whether the user changed the text of row 1's cell col from what
    // ShowValues put there.
    bool CellTouched(int col);
    // The value that the pending marks name takes each typed number, in its
    // column; a column without one keeps glow's own.
    void ApplyToPending(TEngineGlow& glow, const std::array<std::optional<float>, 3>& typed) const;
    // The colour being edited takes rgb (0x00RRGGBB) when set, and alpha.
    void ApplyToColor(TEngineGlow& glow, std::optional<uint32_t> rgb, std::optional<uint32_t> alpha) const;
};
