#pragma once
// The edit dialog's grid: a header row and one row of four cells, edited in
// place. It keeps the texts it showed, so that a cell the user left as shown
// keeps each glow's stored value, and it tells every key typed into a cell.

#include <QStringList>
#include <QTableWidget>
#include <array>
#include <optional>
#include <string>

class TValueGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TValueGrid(QWidget* parent);

    // The text of cell (col, row); a cell being edited in place gives what
    // has been typed into it, and ends the edit.
    QString Cell(int col, int row);
    void SetCell(int col, int row, const QString& text);
    // What row 1's cell col shows now, the text being typed into it
    // included; the edit goes on.
    QString Text(int col) const;
    std::array<std::string, 4> Texts() const;
    // The text of row 1's cell col when the user changed it from the text
    // shown; nothing when it is still that text. Typing goes on unless
    // ending is set, which ends the edit first (a button reads the text).
    std::optional<std::string> Typed(int col, bool ending);

    // Fills the header row and puts the keyboard into the first value.
    void ShowHeader(const QStringList& header);
    // Row 1 as the grid shows three numbers ("%4.2f"), and "0".
    void ShowNumbers(const std::array<float, 3>& values);
    // Row 1 as a colour word's alpha, red, green and blue; the alpha shown
    // is kept as shown.
    void ShowColor(uint32_t word);
    // No text counts as shown any more.
    void ForgetShown();

    // A cell's in-place editor has the keyboard.
    bool EditingCell() const;
    // The in-place editor hands its text to the grid.
    void EndCellEdit();

signals:
    // A key changed the text being typed, or a cell's edit ended.
    void Edited();

private:
    friend class TTypingDelegate;
    // The texts the Show functions put into row 1.
    std::array<std::optional<QString>, 4> Shown;
    // The cell being typed into and its text so far.
    int TypingCol = -1;
    QString TypingText;
};
