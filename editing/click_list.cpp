#include "click_list.h"

#include <QKeyEvent>
#include <QMouseEvent>

int TClickList::SelectedRow() const
{
    const auto selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.first());
}

void TClickList::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()))
        emit Clicked();
}

void TClickList::keyPressEvent(QKeyEvent* event)
{
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before)
        emit Clicked();
}
