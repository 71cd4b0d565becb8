#include "value_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include "conversions.h"

// The grid's in-place editor: every key typed is told at once, and the end
// of the edit (kept or given up) too.
class TTypingDelegate : public QStyledItemDelegate {
public:
    explicit TTypingDelegate(TValueGrid* grid) : QStyledItemDelegate(grid), Grid(grid)
    {
        connect(this, &QAbstractItemDelegate::closeEditor, grid, [grid] {
            grid->TypingCol = -1;
            emit grid->Edited();
        });
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            TValueGrid* grid = Grid;
            const int col = index.column();
            connect(line, &QLineEdit::textEdited, grid, [grid, col](const QString& text) {
                grid->TypingCol = col;
                grid->TypingText = text;
                emit grid->Edited();
            });
        }
        return editor;
    }

private:
    TValueGrid* Grid;
};

TValueGrid::TValueGrid(QWidget* parent) : QTableWidget(2, 4, parent)
{
    setFixedHeight(55);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setShowGrid(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // No SelectedClicked: its delayed start after a click on the current cell
    // drops the keys typed meanwhile. The first key typed starts editing.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    for (int col = 0; col < 4; ++col) {
        setColumnWidth(col, 80);
        // Row 0 is the fixed header row: shown like a header, never edited.
        auto* header = new QTableWidgetItem;
        header->setFlags(Qt::ItemIsEnabled);
        header->setBackground(parent->palette().button());
        header->setForeground(parent->palette().buttonText());
        setItem(0, col, header);
        setItem(1, col, new QTableWidgetItem);
    }
    for (int row = 0; row < 2; ++row)
        setRowHeight(row, 25);
    setCurrentCell(1, 0);
    setItemDelegate(new TTypingDelegate(this));
}

QString TValueGrid::Cell(int col, int row)
{
    EndCellEdit();
    const QTableWidgetItem* cell = item(row, col);
    return cell ? cell->text() : QString();
}

void TValueGrid::SetCell(int col, int row, const QString& text)
{
    item(row, col)->setText(text);
}

QString TValueGrid::Text(int col) const
{
    return col == TypingCol ? TypingText : item(1, col)->text();
}

std::array<std::string, 4> TValueGrid::Texts() const
{
    std::array<std::string, 4> texts;
    for (int col = 0; col < 4; ++col)
        texts[size_t(col)] = Text(col).toStdString();
    return texts;
}

std::optional<std::string> TValueGrid::Typed(int col, bool ending)
{
    const QString text = ending ? Cell(col, 1) : Text(col);
    if (Shown[size_t(col)] && *Shown[size_t(col)] == text)
        return std::nullopt;
    return text.toStdString();
}

void TValueGrid::ShowHeader(const QStringList& header)
{
    // Keys typed as the dialog opens go into the first value: the button that
    // had the keyboard last time may be hidden now, and then no part of the
    // dialog would take them.
    setCurrentCell(1, 0);
    setFocus();
    TypingCol = -1;
    for (int col = 0; col < 4; ++col)
        SetCell(col, 0, header[col]);
}

void TValueGrid::ShowNumbers(const std::array<float, 3>& values)
{
    for (int col = 0; col < 3; ++col) {
        const QString text = QString::fromStdString(FormatFloats("%4.2f", {values[size_t(col)]}));
        Shown[size_t(col)] = text;
        SetCell(col, 1, text);
    }
    SetCell(3, 1, QStringLiteral("0"));
}

void TValueGrid::ShowColor(uint32_t word)
{
    for (int col = 0; col < 4; ++col)
        SetCell(col, 1, QString::number((word >> (24 - 8 * col)) & 0xFF));
    Shown = {item(1, 0)->text()};
}

void TValueGrid::ForgetShown()
{
    Shown = {};
}

bool TValueGrid::EditingCell() const
{
    const QWidget* focus = QApplication::focusWidget();
    return focus && focus != viewport() && viewport()->isAncestorOf(focus);
}

void TValueGrid::EndCellEdit()
{
    // The in-place editor hands its text to the grid when it loses focus; a
    // button pressed with the keyboard would otherwise read the old text.
    if (EditingCell())
        setFocus();
}
