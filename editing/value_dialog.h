#pragma once
// The value edit dialog "EDIT": changes one value of the glows it is opened
// on and writes them into the working copy, through the document's edit
// history, when it closes through a button. What it keeps is its own: one
// call opens it.

#include <QColor>
#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "glow_history.h"
#include "model.h"
#include "selection.h"
#include "value_change.h"
#include "value_grid.h"

class QLabel;
class QPushButton;
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

    // Opens the dialog afresh on value of glows (the glow edited first, then
    // the glows selected with it): it shows the first glow's value, and its
    // buttons write them all. No glows: it only closes, unwritten. Throws
    // the list errors for a glow the model does not hold.
    void Open(std::vector<TGlowIndex> glows, TGlowValue value);
    // The glow the dialog works on, kept while the panel moves on; none
    // before it opens and once the model is forgotten.
    TGlowIndex Glow() const;
    // True when Store would store the grid into value: opened on it, and
    // neither stored nor left since.
    bool Pending(TGlowValue value) const;
    // The selection may have moved: a dialog open on other glows than those
    // an edit now reaches hides unwritten, and nothing is pending any more;
    // on the same glows it stays as it is. A value confirmed on glows left
    // behind would land where the user no longer looks.
    void FollowSelection();
    // Another model is being opened: hide the dialog and drop its glows so
    // nothing is stored into or written from a glow of the previous model.
    void ForgetModel();

    // Button handlers.
    void StoreTyped();
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

    QLabel* TitleLabel = nullptr;
    TValueGrid* Grid = nullptr;
    QWidget* ButtonArea = nullptr;
    QPushButton* StoreButton = nullptr;
    QPushButton* CenterButton = nullptr;
    QPushButton* ColorButton = nullptr;
    QPushButton* CloseButton = nullptr;

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
    // Return confirms as the main button does (Store or Color), unless it
    // ends the editing of a cell.
    void keyPressEvent(QKeyEvent* event) override;

private:
    TOpenDocument& Document;
    // The glows the dialog works on, the one shown first, and the value it
    // was opened on.
    std::vector<TGlowIndex> Glows;
    TGlowValue Value = TGlowValue::CoreColor;
    // The value Store stores the grid into; served once written.
    std::optional<TGlowValue> Mark;
    // The dialog's values are on show in place of the stored ones.
    bool Previewing = false;
    // The colour the open chooser is on.
    std::optional<QColor> ChooserColor;
    // The dialog's own write is under way.
    bool OwnWrite = false;
    TColorChooser ColorChooser;

    void BuildButtons();
    // The first glow's colour word the dialog is open on.
    uint32_t ShownColor() const;
    // Shows the glows with the values the dialog would write now (the cells'
    // texts, a text being typed included, the chooser's current colour); a
    // text that is no number leaves its value as stored. Nothing is written.
    void UpdatePreview();
    // The change the cells ask for as they are being typed.
    TValueChange TypedChange();
    // The glows shown as stored again; true when they were previewed.
    bool DropPreview();
    // Writes write, as one edit through the edit history (which refreshes
    // the panel and the view); then hides the buttons and the dialog. A write that fails
    // throws, and the dialog stays open.
    void WriteAndClose(const TGlowWrite& write);
    // Hide the buttons and the dialog, redraw; nothing is written.
    void CloseUnwritten();
    // Hide the buttons and the dialog without writing and without a frame.
    void Dismiss();
    void HideButtons();
    // Glows were written, by another writer than the dialog (a drag, a copy
    // to all glows, an undo): a dialog open on one of them would show and
    // write values from before, so it goes, without writing.
    void FollowChange(const TGlowEdit& written);
};
