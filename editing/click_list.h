#pragma once
// A list box whose Clicked signal fires the way the user expects a list's
// click to: when an item is clicked with the left button (also the one that is
// already selected) and when the keyboard moves the selection. Setting the
// current row from code does not fire it.

#include <QListWidget>

class TClickList : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;

    // Row of the selected item; -1 when nothing is selected.
    int SelectedRow() const;

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
