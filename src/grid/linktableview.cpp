#include "grid/linktableview.h"

#include "grid/linktablemodel.h"
#include "grid/tickmenu.h"

#include <QContextMenuEvent>
#include <QKeyEvent>

namespace quillon {

LinkTableView::LinkTableView(LinkTableModel &model, QWidget *parent)
    : QTableView(parent)
    , m_model(model)
    , m_menu(new TickMenu(model, this))
{
    setModel(&model);
    connect(m_menu, &TickMenu::tickAsInListRequested, this, &LinkTableView::tickAsInListRequested);
    // A screen reader loses its place in a table without a current cell, and some crash.
    connect(&model, &QAbstractItemModel::modelReset, this, &LinkTableView::keepCurrentRow);
    connect(&model, &QAbstractItemModel::rowsInserted, this, &LinkTableView::keepCurrentRow);
}

void LinkTableView::keepCurrentRow()
{
    if (!currentIndex().isValid() && m_model.rowCount() > 0)
        selectionModel()->setCurrentIndex(m_model.index(0, 0), QItemSelectionModel::NoUpdate);
}

QList<int> LinkTableView::chosenRows() const
{
    QList<int> rows;
    // Whole ranges rather than single indexes, so that Ctrl+A over many rows stays cheap.
    if (const QItemSelectionModel *selection = selectionModel()) {
        for (const QItemSelectionRange &range : selection->selection()) {
            for (int row = range.top(); row <= range.bottom(); ++row)
                rows.append(row);
        }
    }
    if (rows.isEmpty() && currentIndex().isValid())
        rows.append(currentIndex().row());
    return rows;
}

void LinkTableView::toggleChosenRows()
{
    m_model.toggleSelected(chosenRows());
}

void LinkTableView::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    // Handled here entirely: the item delegate would otherwise tick the current cell a
    // second time.
    if ((key == Qt::Key_Space || key == Qt::Key_Select) && modifiers == Qt::NoModifier) {
        toggleChosenRows();
        event->accept();
        return;
    }
    if ((key == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
        (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        openMenuAtCurrentRow();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void LinkTableView::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        openMenuAtCurrentRow();
        return;
    }
    m_menu->setRow(indexAt(event->pos()).row());
    m_menu->popup(event->globalPos());
}

void LinkTableView::openMenuAtCurrentRow()
{
    const QModelIndex current = currentIndex();
    QPoint at;
    if (current.isValid()) {
        scrollTo(current);
        at = visualRect(current).bottomLeft();
    }
    m_menu->setRow(current.isValid() ? current.row() : -1);
    m_menu->popup(viewport()->mapToGlobal(at));
}

} // namespace quillon
